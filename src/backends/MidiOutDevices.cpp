#include "backends/MidiOutDevices.h"

#include "alsa/AlsaSeqMidiOutput.h"
#include "alsa/AlsaSeqPorts.h"
#include "core/MidiOutError.h"
#include "output/CaptureMidiOutput.h"
#include "synth/SynthMidiOutput.h"

#include <charconv>
#include <optional>

MidiOutDevices::MidiOutDevices(std::string sequencerName)
    : m_sequencerName(std::move(sequencerName)) {}

int MidiOutDevices::Count() const {
    return 1 + static_cast<int>(AlsaSeqPorts::List(m_sequencerName.c_str()).size());
}

std::vector<std::string> MidiOutDevices::Names() const {
    std::vector<std::string> names = {SynthesizerName()};
    for (const AlsaSeqPort& port : AlsaSeqPorts::List(m_sequencerName.c_str()))
        names.push_back(port.DisplayName());
    return names;
}

int MidiOutDevices::Create(int deviceId, std::unique_ptr<MidiOutput>& out) const {
    if (deviceId == kDefaultDevice || deviceId == kSynthesizer) {
        out = std::make_unique<SynthMidiOutput>();
        return MIDIOUT_OK;
    }
    if (deviceId < kDefaultDevice)
        return MIDIOUT_BADDEVICEID;
    const std::vector<AlsaSeqPort> ports = AlsaSeqPorts::List(m_sequencerName.c_str());
    if (static_cast<std::size_t>(deviceId) > ports.size())
        return MIDIOUT_BADDEVICEID;
    const AlsaSeqPort& port = ports[static_cast<std::size_t>(deviceId - 1)];
    out = std::make_unique<AlsaSeqMidiOutput>(port.client, port.port, m_sequencerName);
    return MIDIOUT_OK;
}

MidiOutputFactory MidiOutDevices::SystemFactory() {
    return [](int deviceId, std::unique_ptr<MidiOutput>& out) {
        return MidiOutDevices().Create(deviceId, out);
    };
}

int MidiOutDevices::CreateFromArgument(const std::string& argument, const Clock& clock,
                                       std::unique_ptr<MidiOutput>& out) {
    static const std::string capture = "capture:";
    if (argument.compare(0, capture.size(), capture) == 0) {
        if (argument.size() == capture.size())
            return MIDIOUT_BADDEVICEID;
        out = std::make_unique<CaptureMidiOutput>(argument.substr(capture.size()), clock);
        return MIDIOUT_OK;
    }
    int id = 0;
    const char* end = argument.data() + argument.size();
    const auto [rest, error] = std::from_chars(argument.data(), end, id);
    if (argument.empty() || error != std::errc() || rest != end)
        return MIDIOUT_BADDEVICEID;
    return MidiOutDevices().Create(id, out);
}

MidiOutputFactory MidiOutDevices::RunFactory(std::string argument, const Clock& clock) {
    static const std::string capture = "capture:";
    if (argument.compare(0, capture.size(), capture) != 0 || argument.size() == capture.size())
        return [argument, &clock](int, std::unique_ptr<MidiOutput>& out) {
            return CreateFromArgument(argument, clock, out);
        };
    // Plays open one after another on the main thread, so the origin needs no lock.
    auto origin = std::make_shared<std::optional<MonoTime>>();
    return [path = argument.substr(capture.size()), &clock,
            origin](int, std::unique_ptr<MidiOutput>& out) {
        const bool first = !origin->has_value();
        if (first)
            *origin = clock.Now();
        out = std::make_unique<CaptureMidiOutput>(path, clock,
                                                  first ? CaptureMidiOutput::Start::Truncate
                                                        : CaptureMidiOutput::Start::Append,
                                                  **origin);
        return MIDIOUT_OK;
    };
}

const char* MidiOutDevices::SynthesizerName() noexcept {
    return "FluidSynth GM synthesizer";
}
