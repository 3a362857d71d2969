#pragma once

#include <string>
#include <vector>

// The command line of druvel-cli play.
struct CliPlayOptions {
    std::string device; // "N" or "capture:FILE"; empty: the default device
    int deviceId = -1;  // the number of a numbered device
    int tempo = 100;    // percent
    int key = 0;        // semitones
    int volume = 100;   // percent, both sides
    unsigned startMs = 0;
    std::string encoding;           // of the song texts; empty: decided per song
    std::string soundFont;          // of the embedded synthesizer; empty: the usual choice
    int order = 0;                  // PlayType: normal, repeat one, repeat all, random
    std::vector<std::string> files; // songs, folders, playlist files, archives
};

extern const char* const kPlayUsage; // marked for the catalog under "CliPlay"

// False with `error` set on a bad command line ("help" when help was asked for).
bool ParsePlayOptions(const std::vector<std::string>& args, CliPlayOptions& options,
                      std::string& error);

// A whole decimal integer within [low, high]; false for anything else.
bool ParseCliInt(const std::string& text, long low, long high, int& value);

// What a command does when its options did not parse: the usage on stdout for "help" (status
// 0), else the error and the usage on stderr (status 2).
int ReportOptionError(const char* command, const std::string& error, const std::string& usage);
