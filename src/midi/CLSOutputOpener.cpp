#include "midi/CLSOutputOpener.h"

#include "core/MidiOutError.h"

#include <system_error>

CLSOutputOpener::~CLSOutputOpener() {
    Cancel();
}

int CLSOutputOpener::Open(const MidiOutputFactory& factory, int deviceId,
                          const std::vector<MidiOutput::Program>& programs,
                          std::unique_ptr<MidiOutput>& output) {
    int result = factory ? factory(deviceId, output) : CreateSystemMidiOutput(deviceId, output);
    if (result == MIDIOUT_OK && output)
        output->PrepareSounds(programs);
    if (result == MIDIOUT_OK)
        result = output ? output->Open() : MIDIOUT_BADDEVICEID;
    if (result != MIDIOUT_OK)
        output.reset();
    return result;
}

bool CLSOutputOpener::Start(MidiOutputFactory factory, int deviceId,
                            std::vector<MidiOutput::Program> programs, Done done) {
    if (IsPending())
        return false;
    m_finished.store(false, std::memory_order_relaxed);
    try {
        m_thread = std::thread([this, factory = std::move(factory), deviceId,
                                programs = std::move(programs), done = std::move(done)] {
            std::unique_ptr<MidiOutput> output;
            const int result = Open(factory, deviceId, programs, output);
            m_output = std::move(output);
            m_result = result;
            m_finished.store(true, std::memory_order_release);
            if (done)
                done();
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

int CLSOutputOpener::Take(std::unique_ptr<MidiOutput>& output) {
    if (!IsPending())
        return MIDIOUT_ERROR;
    m_thread.join();
    m_finished.store(false, std::memory_order_relaxed);
    output = std::move(m_output);
    return m_result;
}

void CLSOutputOpener::Cancel() {
    std::unique_ptr<MidiOutput> output;
    if (Take(output) == MIDIOUT_OK && output)
        output->Close();
}
