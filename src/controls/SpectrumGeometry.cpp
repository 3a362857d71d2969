#include "controls/SpectrumGeometry.h"

#include <algorithm>

namespace SpectrumGeometry {

int BandChannel(int t, int start, int end, int from, int to) {
    if (end <= start)
        return from;
    return (to * (t - start) + from * (end - t)) / (end - start);
}

ContinuousMeter Continuous(int level, int gradientHeight) {
    const int lit = level * (gradientHeight - 2) / kMaxLevel + 1;
    return {gradientHeight + kMeterTop - lit, lit, gradientHeight - 1 - lit};
}

DigitalMeter Digital(int level, int gradientHeight) {
    const int count = (gradientHeight + 1) / 3;
    return {count, count * level / kMaxLevel};
}

int HitMuteButton(int x, int y, int pitch, int scroll, int rowCount) {
    if (rowCount <= 0 || pitch <= 0)
        return -1;
    const int column = x / pitch;
    const int offset = x % pitch;
    if (offset < kButtonLeft || offset >= kButtonRight || y < kButtonTop || y >= kButtonBottom)
        return -1;
    const int row = column + scroll - 1;
    return row >= 0 && row < rowCount ? row : -1;
}

int Page(int clientWidth, int pitch) {
    return pitch > 0 ? std::max(clientWidth / pitch, 1) : 1;
}

int ClampScroll(int position, int first, int last, int page) {
    const int highest = std::max(last - page + 1, first);
    return std::clamp(position, first, highest);
}

int StepShown(int shown, int target, int fall) {
    if (shown < target)
        return std::min(shown + kClimb, target);
    return std::max(shown - fall, target);
}

int DecayLevel(int level, int sounding) {
    return sounding == 0 && level > 0 ? std::max(level - kDecay, 0) : level;
}

} // namespace SpectrumGeometry
