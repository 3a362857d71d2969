#include "midi/CLSWordSchedule.h"

namespace {

using Word = CLSMIDIWordInfo;
using WordIt = CLSWordSchedule::WordIt;

constexpr std::uint32_t kDefaultTempo = 500000;
constexpr int kNoLine = 8;

// Record times are moved in unsigned 32-bit arithmetic, wrapping as the player reads them.
std::uint32_t U(int v) {
    return static_cast<std::uint32_t>(v);
}
int S(std::uint32_t v) {
    return static_cast<int>(v);
}

bool IsPageWord(const Word& w) {
    return w.kind == Word::kPageWord;
}
bool IsSyllable(const Word& w) {
    return w.kind == Word::kSyllable;
}

} // namespace

std::uint32_t CLSWordSchedule::EarlyTicks(std::uint32_t tempo) const noexcept {
    if (tempo == 0)
        return 0xFFFFFFFFu; // no real time passes at all
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(kEarlyMs) * 1000 * m_resolution + tempo / 2) / tempo;
    return ticks > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(ticks);
}

void CLSWordSchedule::Build() {
    std::uint32_t early = EarlyTicks(kDefaultTempo);
    int lastLine = kNoLine;
    WordIt r = m_words.begin();
    while (r != m_words.end()) {
        if (r->part != 0) {
            if (r->kind == Word::kTempo)
                early = EarlyTicks(U(r->duration));
            const WordIt j = std::next(r);
            if (j == m_words.end())
                return;
            if (IsPageWord(*j) && j->part == 0) {
                r = ShowPageEarly(r, j, early);
                continue;
            }
        } else if (IsSyllable(*r) && r->line != lastLine) {
            if (r != m_words.begin() && IsSyllable(*std::prev(r)) && std::prev(r)->part == 0)
                InsertClearLine(r, lastLine, early);
            lastLine = r->line;
        } else if (IsPageWord(*r) && r != m_words.begin() && std::prev(r)->part == 0) {
            r = ShowUpperHalfEarly(r, early);
            continue;
        }
        ++r;
    }
}

// A page follows `r` at once: its page words `j` appear up to `early` ticks before it.
// Returns the record the walk goes on with.
WordIt CLSWordSchedule::ShowPageEarly(WordIt r, WordIt j, std::uint32_t early) {
    const std::uint32_t d = U(j->time);
    std::uint32_t moved;
    if (d / 2 >= early) {
        j->time = S(d - early);
        moved = early;
    } else if (r->kind == Word::kCuePoint) {
        if (U(r->time) / 2 + d >= early) {
            r->time = S(U(r->time) + (d - early));
            moved = early;
        } else {
            const std::uint32_t h = U(r->time) / 2;
            r->time = S(U(r->time) - h);
            moved = h + d;
        }
        j->time = 0;
    } else {
        j->time = S(d - d / 2);
        moved = d / 2;
    }
    WordIt after = j;
    while (after != m_words.end() && IsPageWord(*after))
        ++after;
    if (after != m_words.end())
        after->time = S(U(after->time) + moved); // the sung syllables keep their times
    return after;
}

// Clears the finished line `line` a quarter of `early` after the first syllable `r` of the
// next line, or at the next record that is not a sung syllable if that comes first.
void CLSWordSchedule::InsertClearLine(WordIt r, int line, std::uint32_t early) {
    std::uint32_t limit = early / 4;
    WordIt j = std::next(r);
    while (j != m_words.end() && IsSyllable(*j) && j->part == 0 && limit > U(j->time)) {
        limit -= U(j->time);
        ++j;
    }
    if (j != m_words.end() && limit > U(j->time))
        limit = U(j->time);
    CLSMIDIWordInfo clear;
    clear.kind = Word::kClearLine;
    clear.time = S(limit);
    clear.part = 0;
    clear.line = line;
    m_words.insert(j, clear);
    if (j != m_words.end())
        j->time = S(U(j->time) - limit);
}

// The page words from `r` on: the upper half of the page appears up to `early` ticks before
// the page, but not before the previous page's singing has left those lines. Returns the
// record after the page words.
WordIt CLSWordSchedule::ShowUpperHalfEarly(WordIt r, std::uint32_t early) {
    const int half = r->line / 2 + 1;
    WordIt k = r;
    while (k != m_words.end() && IsPageWord(*k) && k->line >= half)
        ++k;
    WordIt m = k;
    while (m != m_words.end() && IsPageWord(*m))
        ++m;
    if (k == r || k == m_words.end())
        return m;

    std::uint32_t rem = early;
    WordIt j = r;
    while (rem > U(j->time)) {
        rem -= U(j->time);
        if (j == m_words.begin())
            break;
        --j;
        if (!IsSyllable(*j) || j->line >= half) {
            ++j;
            rem = U(j->time);
            break;
        }
    }
    if (j == r) {
        k->time = S(U(k->time) + rem);
        r->time = S(U(r->time) - rem);
    } else {
        k->time = S(U(k->time) + U(r->time));
        r->time = S(U(j->time) - rem);
        j->time = S(rem);
        m_words.splice(j, m_words, r, k);
    }
    return m;
}
