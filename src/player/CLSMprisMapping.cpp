#include "player/CLSMprisMapping.h"

#include "core/DisplayText.h"
#include "midi/CLSMIDIData.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

std::string Shown(const CLSTString& bytes, const std::string& encoding) {
    return DisplayText(bytes.Text(), static_cast<std::size_t>(bytes.Length()), encoding);
}

// RFC 3986: everything but the unreserved characters (and the kept separators) as %XX.
std::string PercentEncoded(const std::string& bytes, const char* keep) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                           (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_' || b == '~';
        if (plain || (b != 0 && std::string_view(keep).find(c) != std::string_view::npos)) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

// The last part of a path or of an archive member's name.
std::string LastComponent(const std::string& path) {
    const std::size_t cut = path.find_last_of("/>");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

const char* CLSMprisMapping::StatusText(CLSPlaybackFlow::State state) {
    switch (state) {
    case CLSPlaybackFlow::State::Playing:
        return "Playing";
    case CLSPlaybackFlow::State::Paused:
        return "Paused";
    case CLSPlaybackFlow::State::NoSong:
    case CLSPlaybackFlow::State::Stopped:
        break;
    }
    return "Stopped";
}

std::string CLSMprisMapping::TrackId(unsigned row) {
    return "/org/druvel/track/" + std::to_string(row);
}

MprisTrack CLSMprisMapping::TrackOf(const CLSMIDIData& engine, unsigned row) {
    MprisTrack track;
    if (!engine.IsLoaded()) {
        track.trackId = kNoTrack;
        return track;
    }
    const std::string& encoding = engine.GetTextEncoding();
    const std::string path = engine.GetFileName().Text();
    track.trackId = TrackId(row);
    track.lengthUs = MsToUs(engine.GetLength());
    track.title = Shown(engine.GetTitle(), encoding);
    // Songs without a title would show as nothing at all in the desktop's controls.
    if (track.title.empty())
        track.title = DisplayText(LastComponent(path).c_str());
    if (!engine.GetArtist().IsEmpty())
        track.artists.push_back(Shown(engine.GetArtist(), encoding));
    track.url = FileUrl(path);
    return track;
}

std::string CLSMprisMapping::FileUrl(const std::string& path) {
    if (path.empty())
        return {};
    // A file of that name is itself, even with a ">" in it; otherwise ">" starts the member.
    std::error_code error;
    const std::size_t member =
        std::filesystem::exists(path, error) ? std::string::npos : path.find('>');
    std::string file = path.substr(0, member);
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (!error)
        file = absolute.lexically_normal().string();
    std::string url = "file://" + PercentEncoded(file, "/");
    if (member != std::string::npos)
        url += "#" + PercentEncoded(path.substr(member + 1), "/");
    return url;
}

std::optional<int> CLSMprisMapping::SeekTarget(int positionMs, std::int64_t offsetUs,
                                               unsigned lengthMs) {
    // Offsets come from outside: kept far from overflow before they are added.
    const std::int64_t limit = std::int64_t{1} << 50;
    const std::int64_t target =
        std::int64_t{positionMs} + UsToMs(std::clamp(offsetUs, -limit, limit));
    if (target > std::int64_t{lengthMs})
        return std::nullopt;
    return static_cast<int>(std::max<std::int64_t>(0, target));
}

std::optional<int> CLSMprisMapping::PositionTarget(std::int64_t positionUs, unsigned lengthMs) {
    if (positionUs < 0 || positionUs > MsToUs(lengthMs))
        return std::nullopt;
    return static_cast<int>(UsToMs(positionUs));
}

std::optional<int> CLSMprisMapping::VolumePercent(double volume) {
    if (std::isnan(volume))
        return std::nullopt;
    const double percent = std::clamp(volume, 0.0, 1.0) * 100.0;
    return static_cast<int>(std::lround(percent));
}

std::optional<int> CLSMprisMapping::TempoPercent(double rate) {
    if (std::isnan(rate) || rate <= 0.0)
        return std::nullopt;
    const double percent = std::clamp(rate, kMinimumRate, kMaximumRate) * 100.0;
    return static_cast<int>(std::lround(percent));
}

const char* CLSMprisMapping::LoopStatusOf(int playType) {
    switch (playType) {
    case 1:
        return "Track";
    case 2:
    case 3:
        return "Playlist";
    default:
        return "None";
    }
}

std::optional<int> CLSMprisMapping::PlayTypeForLoop(const std::string& loopStatus) {
    if (loopStatus == "None")
        return 0;
    if (loopStatus == "Track")
        return 1;
    if (loopStatus == "Playlist")
        return 2;
    return std::nullopt;
}

int CLSMprisMapping::PlayTypeForShuffle(bool shuffle, int playType) {
    if (shuffle)
        return 3;
    // Random play goes on for ever: without shuffle it becomes repeat all.
    return playType == 3 ? 2 : playType;
}
