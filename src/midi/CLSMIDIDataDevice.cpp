// The engine's side of the MIDI output device: opening, sending, volume and closing.
#include "midi/CLSMIDIData.h"

#include "core/MidiOutError.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>

namespace {

constexpr int kErrMemory = 14;

std::uint32_t PackVolume(int left, int right) noexcept {
    const auto side = [](int percent) { return static_cast<std::uint32_t>(percent * 65535 / 100); };
    return side(left) | side(right) << 16;
}

} // namespace

bool CLSMIDIData::TakeDevice(int result, std::unique_ptr<MidiOutput> output) {
    if (result != MIDIOUT_OK) {
        CLSError(result, kModule, __LINE__, true).Show(m_owner);
        return false;
    }
    output->Reset();
    try {
        m_exclusive = std::make_unique<std::uint8_t[]>(kExclusiveRing * kExclusiveSize);
    } catch (const std::bad_alloc&) {
        output->Close();
        CLSError(kErrMemory, kModule, __LINE__).Show(m_owner);
        return false;
    }
    m_exclusiveNext = 0;
    m_outputLatency.store(output->SoundLatency().count(), std::memory_order_relaxed);
    m_device = std::move(output);
    ApplyVolume();
    m_playing.store(true, std::memory_order_release);
    return true;
}

void CLSMIDIData::CloseDevice() {
    if (!m_device)
        return;
    // Only where a setup asks for it: it holds up the caller, the GUI thread in the window.
    if (m_setup.closeWait.count() > 0)
        std::this_thread::sleep_for(m_setup.closeWait);
    m_device->Close();
    m_device.reset();
    m_exclusive.reset();
    m_outputLatency.store(0, std::memory_order_relaxed);
    m_playing.store(false, std::memory_order_release);
}

void CLSMIDIData::SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                            MonoTime due) noexcept {
    m_device->ShortMsg(status, data1, data2, due);
}

void CLSMIDIData::SendExclusive(const std::uint8_t* bytes, std::size_t length,
                                MonoTime due) noexcept {
    if (length > kExclusiveSize || bytes == nullptr)
        return;
    // Each message gets the next buffer of the ring, so one the device may still be reading
    // is never overwritten by the message right after it.
    std::uint8_t* buffer = m_exclusive.get() + m_exclusiveNext * kExclusiveSize;
    m_exclusiveNext = (m_exclusiveNext + 1) % kExclusiveRing;
    std::memcpy(buffer, bytes, length);
    m_device->LongMsg(buffer, length, due);
}

void CLSMIDIData::SetVolume(int left, int right) {
    m_volumeLeft = std::clamp(left, 0, 100);
    m_volumeRight = std::clamp(right, 0, 100);
    if (IsPlaying())
        ApplyVolume();
}

void CLSMIDIData::ApplyVolume() noexcept {
    m_device->SetVolume(PackVolume(m_volumeLeft, m_volumeRight));
}
