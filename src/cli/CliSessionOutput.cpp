#include "cli/CliSessionOutput.h"

#include "core/MidiOutError.h"

class CliSessionOutput::Loan final : public MidiOutput {
public:
    explicit Loan(CliSessionOutput& session) : m_session(session) {}

    void PrepareSounds(const std::vector<Program>& programs) override {
        m_session.m_output->PrepareSounds(programs);
    }
    int Open() override {
        if (m_session.m_open)
            return MIDIOUT_OK;
        const int result = m_session.m_output->Open();
        m_session.m_open = result == MIDIOUT_OK;
        return result;
    }
    int Reset() override { return Target().Reset(); }
    int ShortMsg(std::uint8_t s, std::uint8_t d1, std::uint8_t d2, MonoTime due) override {
        return Target().ShortMsg(s, d1, d2, due);
    }
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override {
        return Target().LongMsg(bytes, length, due);
    }
    int SetVolume(std::uint32_t volume) override { return Target().SetVolume(volume); }
    int GetVolume(std::uint32_t& volume) override { return Target().GetVolume(volume); }
    int Close() override { return m_session.m_open ? Target().Reset() : MIDIOUT_INVALHANDLE; }
    void Flush() noexcept override { m_session.m_output->Flush(); }
    std::chrono::microseconds SoundLatency() const noexcept override {
        return m_session.m_output->SoundLatency();
    }

private:
    MidiOutput& Target() { return *m_session.m_output; }

    CliSessionOutput& m_session;
};

CliSessionOutput::~CliSessionOutput() {
    if (m_open)
        m_output->Close();
}

std::unique_ptr<MidiOutput> CliSessionOutput::Lend() {
    return std::make_unique<Loan>(*this);
}
