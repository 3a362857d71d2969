#pragma once

#include "output/MidiOutput.h"

#include <memory>

// Passes everything to the output it wraps and notes the due time of every note-on in the
// display trace, so a measurement can tell the output's own delay from the displays'.
class NoteTraceMidiOutput final : public MidiOutput {
public:
    explicit NoteTraceMidiOutput(std::unique_ptr<MidiOutput> target)
        : m_target(std::move(target)) {}

    void PrepareSounds(const std::vector<Program>& programs) override {
        m_target->PrepareSounds(programs);
    }
    int Open() override { return m_target->Open(); }
    int Reset() override { return m_target->Reset(); }
    int ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 MonoTime due) override;
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override {
        return m_target->LongMsg(bytes, length, due);
    }
    int SetVolume(std::uint32_t volume) override { return m_target->SetVolume(volume); }
    int GetVolume(std::uint32_t& volume) override { return m_target->GetVolume(volume); }
    int Close() override { return m_target->Close(); }
    void Flush() noexcept override { m_target->Flush(); }
    std::chrono::microseconds SoundLatency() const noexcept override {
        return m_target->SoundLatency();
    }

private:
    std::unique_ptr<MidiOutput> m_target;
};
