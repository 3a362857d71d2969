#pragma once

#include "player/CLSPlaybackFlow.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CLSMIDIData;

// The loaded song as the desktop's media-player interface describes a track.
struct MprisTrack {
    std::string trackId; // a D-Bus object path
    std::int64_t lengthUs = 0;
    std::string title;                // UTF-8
    std::vector<std::string> artists; // empty when the song names none
    std::string url;                  // file://; empty when there is no song

    bool operator==(const MprisTrack&) const = default;
};

// How the player's state reads in the media-player interface's terms, and how values written
// through it become the player's: microseconds against milliseconds, the volume and tempo
// sliders against 0..1 volume and playback rate, the play order against loop and shuffle.
class CLSMprisMapping {
public:
    static constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
    static constexpr double kMinimumRate = CLSPlaybackFlow::kTempoMin / 100.0;
    static constexpr double kMaximumRate = CLSPlaybackFlow::kTempoMax / 100.0;

    static const char* StatusText(CLSPlaybackFlow::State state);

    static std::int64_t MsToUs(std::int64_t ms) { return ms * 1000; }
    // Rounded down, so a position never lands past the one asked for.
    static std::int64_t UsToMs(std::int64_t us) { return us / 1000 - (us % 1000 < 0 ? 1 : 0); }

    // The playlist row's track id: stable while the row is current.
    static std::string TrackId(unsigned row);
    // The engine's song in row `row`; the no-track id and nothing else when none is loaded.
    static MprisTrack TrackOf(const CLSMIDIData& engine, unsigned row);
    // A file:// URL of a path (relative paths against the working folder); an archive member
    // ("archive>member", no file of that whole name) is the archive's URL with the member as
    // its fragment.
    static std::string FileUrl(const std::string& path);

    // Where a relative seek lands (ms): before the start is the start; past the end there is
    // no place (the caller goes to the next song).
    static std::optional<int> SeekTarget(int positionMs, std::int64_t offsetUs, unsigned lengthMs);
    // An absolute position: outside the song it is ignored.
    static std::optional<int> PositionTarget(std::int64_t positionUs, unsigned lengthMs);

    static double VolumeOf(int percent) { return percent / 100.0; }
    // Kept in the slider's range; not a number is no volume.
    static std::optional<int> VolumePercent(double volume);
    static double RateOf(int tempoPercent) { return tempoPercent / 100.0; }
    // Kept in the tempo slider's range; 0, below or not a number is no rate.
    static std::optional<int> TempoPercent(double rate);

    // PlayType 0 normal, 1 repeat one, 2 repeat all, 3 random (which never ends).
    static const char* LoopStatusOf(int playType);
    static bool ShuffleOf(int playType) { return playType == 3; }
    // The PlayType a written loop status asks for; none for a text that is no loop status.
    static std::optional<int> PlayTypeForLoop(const std::string& loopStatus);
    static int PlayTypeForShuffle(bool shuffle, int playType);
};
