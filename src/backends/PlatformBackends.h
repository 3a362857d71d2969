#pragma once

// Puts the real backends behind the core's hooks: the archive reader for the archive libraries
// and the numbered MIDI output devices (synthesizer and ALSA ports) for the engine. Every
// program calls this once at start-up, before it loads or plays anything.
void InstallPlatformBackends();
