#pragma once

#include "core/Assert.h"

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

namespace druvel {

// Selects an element's relocating constructor: it takes over the source's resources when the
// array moves its block, and the source's storage is then released without its destructor
// running (no destructor side effect is relied on). A few pointer copies per element keep the
// linear growth cheap for long arrays.
struct RelocateTag {};

// The program's growable array: capacity grows linearly, 16 slots at a time, and never
// shrinks when elements are removed. Element access is checked.
template <class T> class vector {
public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;
    static constexpr unsigned kBlock = 16;

    static unsigned RoundCapacity(unsigned wanted) noexcept {
        const unsigned rounded = (wanted + kBlock - 1) / kBlock * kBlock;
        return rounded < kBlock ? kBlock : rounded;
    }

    vector() : _p(Allocate(kBlock)), _count(0), _capacity(kBlock) {
        DRUV_ASSERT(_p != NULL, "vector");
    }

    vector(const vector& other)
        : _p(Allocate(RoundCapacity(other._count))), _count(0),
          _capacity(RoundCapacity(other._count)) {
        DRUV_ASSERT(_p != NULL, "vector");
        try {
            for (; _count < other._count; ++_count)
                ::new (static_cast<void*>(_p + _count)) T(other._p[_count]);
        } catch (...) {
            DestroyRange(0, _count);
            std::free(_p);
            throw;
        }
    }

    ~vector() {
        DestroyRange(0, _count);
        std::free(_p);
    }

    vector& operator=(const vector& other) {
        if (this == &other)
            return *this;
        if (_count < other._count) {
            Resize(other._capacity);
            for (unsigned i = _count; i < other._count; ++i)
                ::new (static_cast<void*>(_p + i)) T();
        } else {
            DestroyRange(other._count, _count);
            _count = other._count;
            Resize(other._capacity);
        }
        _count = other._count;
        _capacity = other._capacity;
        for (unsigned i = 0; i < _count; ++i)
            _p[i] = other._p[i];
        return *this;
    }

    T& push_back(const T& element) {
        if (_count >= _capacity) {
            T copy(element); // the element may live in this array's storage
            Resize(RoundCapacity(_count + 1));
            ::new (static_cast<void*>(_p + _count)) T(std::move(copy));
        } else {
            ::new (static_cast<void*>(_p + _count)) T(element);
        }
        return _p[_count++];
    }

    T& push_back(T&& element) {
        if (_count >= _capacity) {
            T moved(std::move(element)); // the element may live in this array's storage
            Resize(RoundCapacity(_count + 1));
            ::new (static_cast<void*>(_p + _count)) T(std::move(moved));
        } else {
            ::new (static_cast<void*>(_p + _count)) T(std::move(element));
        }
        return _p[_count++];
    }

    void insert(iterator position, unsigned n, const T& value) {
        if (n == 0)
            return;
        DRUV_ASSERT(position >= begin() && position <= end(), "vector");
        const unsigned index = static_cast<unsigned>(position - _p);
        const T copy(value);
        if (_count + n > _capacity)
            Resize(RoundCapacity(_count + n));
        for (unsigned i = 0; i < n; ++i)
            ::new (static_cast<void*>(_p + _count + i)) T();
        const unsigned oldCount = _count;
        _count += n;
        for (unsigned i = oldCount; i-- > index;)
            _p[i + n] = std::move(_p[i]);
        for (unsigned i = 0; i < n; ++i)
            _p[index + i] = copy;
    }

    iterator erase(iterator first, iterator last) {
        DRUV_ASSERT(begin() <= first && first <= last && last <= end(), "vector");
        if (first == last)
            return first; // nothing to remove, and no element moved onto itself
        iterator out = first;
        for (iterator in = last; in != end(); ++in, ++out)
            *out = std::move(*in);
        const unsigned newCount = static_cast<unsigned>(out - _p);
        DestroyRange(newCount, _count);
        _count = newCount;
        return first;
    }

    iterator erase(iterator position) { return erase(position, position + 1); }

    void pop_back() {
        if (_count > 0)
            erase(end() - 1, end());
    }

    void clear() { erase(begin(), end()); }

    T& operator[](unsigned pos) {
        DRUV_ASSERT(pos < size(), "vector");
        return _p[pos];
    }
    const T& operator[](unsigned pos) const {
        DRUV_ASSERT(pos < size(), "vector");
        return _p[pos];
    }

    unsigned size() const noexcept { return _count; }
    bool empty() const noexcept { return _count == 0; }
    unsigned capacity() const noexcept { return _capacity; }
    T& back() { return (*this)[_count - 1]; }
    const T& back() const { return (*this)[_count - 1]; }

    iterator begin() noexcept { return _p; }
    iterator end() noexcept { return _p + _count; }
    const_iterator begin() const noexcept { return _p; }
    const_iterator end() const noexcept { return _p + _count; }

private:
    static T* Allocate(unsigned slots) noexcept {
        return static_cast<T*>(std::malloc(sizeof(T) * slots));
    }

    void DestroyRange(unsigned from, unsigned to) noexcept {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (unsigned i = from; i < to; ++i)
                _p[i].~T();
        }
    }

    // Relocates the elements into a block of the given capacity.
    void Resize(unsigned slots) {
        if (slots == _capacity)
            return;
        T* tmp;
        if constexpr (std::is_trivially_copyable_v<T>) {
            tmp = static_cast<T*>(std::realloc(_p, sizeof(T) * slots));
            DRUV_ASSERT(tmp != NULL, "vector");
        } else {
            tmp = Allocate(slots);
            DRUV_ASSERT(tmp != NULL, "vector");
            if constexpr (std::is_nothrow_constructible_v<T, RelocateTag, T&>) {
                for (unsigned i = 0; i < _count; ++i)
                    ::new (static_cast<void*>(tmp + i)) T(RelocateTag{}, _p[i]);
            } else {
                for (unsigned i = 0; i < _count; ++i) {
                    ::new (static_cast<void*>(tmp + i)) T(std::move(_p[i]));
                    _p[i].~T();
                }
            }
            std::free(_p);
        }
        _p = tmp;
        _capacity = slots;
    }

    T* _p;
    unsigned _count;
    unsigned _capacity;
};

} // namespace druvel
