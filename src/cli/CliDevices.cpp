// druvel-cli devices: the MIDI outputs, numbered as the device menu and MidiDeviceID number them,
// and what the embedded synthesizer would play with.
#include "cli/CliDevices.h"

#include "backends/MidiOutDevices.h"
#include "core/UiText.h"
#include "synth/SoundFontChoice.h"
#include "synth/SynthMidiOutput.h"

#include <cstdio>

int RunDevicesCommand(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fputs(UiText::Translate("CliDevices", "Usage: druvel-cli devices\n").c_str(),
                   args[0] == "--help" ? stdout : stderr);
        return args[0] == "--help" ? 0 : 2;
    }
    const std::vector<std::string> names = MidiOutDevices().Names();
    for (std::size_t id = 0; id < names.size(); ++id)
        std::printf("%3zu  %s\n", id, names[id].c_str());
    std::printf("%3d  %s\n", MidiOutDevices::kDefaultDevice,
                UiText::Format(UiText::Translate("CliDevices", "%1  (default)"),
                               {MidiOutDevices::SynthesizerName()})
                    .c_str());
    const std::string none = UiText::Translate("CliDevices", "(none)");
    const std::string soundFont = SoundFontChoice::Resolve();
    const std::string driver = SynthMidiOutput::ProbeAudioDriver();
    std::printf("%s\n", UiText::Format(UiText::Translate("CliDevices", "SoundFont: %1"),
                                       {soundFont.empty() ? none : soundFont})
                            .c_str());
    std::printf("%s\n", UiText::Format(UiText::Translate("CliDevices", "Audio driver: %1"),
                                       {driver.empty() ? none : driver})
                            .c_str());
    return 0;
}
