#include "player/CLSStatusTexts.h"

#include <cstdio>

long long CLSStatusTexts::EffectiveBpm(int percent, unsigned microsecondsPerQuarter) {
    if (microsecondsPerQuarter == 0)
        return 0;
    const long long u = microsecondsPerQuarter;
    const long long product = static_cast<long long>(percent) * 600000;
    // Rounded to nearest, halves away from zero, in 64 bits so no tempo overflows.
    return (product >= 0 ? product + u / 2 : product - u / 2) / u;
}

std::string CLSStatusTexts::Tempo(int percent, unsigned microsecondsPerQuarter) {
    char text[64];
    if (microsecondsPerQuarter == 0)
        std::snprintf(text, sizeof text, "テンポ： %d%%", percent);
    else
        std::snprintf(text, sizeof text, "テンポ： %d%% (%lld)", percent,
                      EffectiveBpm(percent, microsecondsPerQuarter));
    return text;
}

std::string CLSStatusTexts::Volume(int percent) {
    char text[32];
    std::snprintf(text, sizeof text, "音量： %d%%", percent);
    return text;
}

std::string CLSStatusTexts::Key(int semitones) {
    char text[32];
    std::snprintf(text, sizeof text, semitones > 0 ? "キー： +%d" : "キー： %d", semitones);
    return text;
}
