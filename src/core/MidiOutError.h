#pragma once

// Result codes of the MIDI output layer. The numbers follow the usual multimedia
// numbering so that stored or reported numbers mean the same everywhere.
enum MidiOutResult : int {
    MIDIOUT_OK = 0,
    MIDIOUT_ERROR = 1,         // unspecified error
    MIDIOUT_BADDEVICEID = 2,   // device id out of range
    MIDIOUT_NOTENABLED = 3,    // driver failed to enable
    MIDIOUT_ALLOCATED = 4,     // device already in use
    MIDIOUT_INVALHANDLE = 5,   // invalid handle
    MIDIOUT_NODRIVER = 6,      // no device driver present
    MIDIOUT_NOMEM = 7,         // memory allocation error
    MIDIOUT_NOTSUPPORTED = 8,  // function not supported
    MIDIOUT_INVALFLAG = 10,    // invalid flag
    MIDIOUT_INVALPARAM = 11,   // invalid parameter
    MIDIOUT_UNPREPARED = 64,   // header not prepared
    MIDIOUT_STILLPLAYING = 65, // still something playing
    MIDIOUT_NOMAP = 66,        // no configured instruments
    MIDIOUT_NOTREADY = 67,     // hardware is still busy
    MIDIOUT_NODEVICE = 68,     // port no longer connected
    MIDIOUT_INVALIDSETUP = 69, // invalid setup
    MIDIOUT_BADOPENMODE = 70,  // operation unsupported with open mode
    MIDIOUT_NOSOUNDFONT = 100, // the embedded synthesizer has no SoundFont
    MIDIOUT_NOAUDIO = 101,     // the embedded synthesizer cannot open audio output
};

// The text shown for a result code of the MIDI output layer (UTF-8).
const char* MidiOutErrorText(int code) noexcept;
