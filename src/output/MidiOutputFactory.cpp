#include "output/MidiOutputFactory.h"

#include "core/MidiOutError.h"

#include <mutex>
#include <utility>

namespace {

std::mutex g_factoryMutex;

MidiOutputFactory& CurrentFactory() {
    static MidiOutputFactory factory;
    return factory;
}

} // namespace

MidiOutputFactory SetSystemMidiOutputFactory(MidiOutputFactory factory) {
    const std::lock_guard lock(g_factoryMutex);
    return std::exchange(CurrentFactory(), std::move(factory));
}

int CreateSystemMidiOutput(int deviceId, std::unique_ptr<MidiOutput>& out) {
    MidiOutputFactory factory;
    {
        const std::lock_guard lock(g_factoryMutex);
        factory = CurrentFactory();
    }
    // Called outside the lock: a factory may take its time enumerating ports.
    return factory ? factory(deviceId, out) : MIDIOUT_NODRIVER;
}
