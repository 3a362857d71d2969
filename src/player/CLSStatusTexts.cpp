#include "player/CLSStatusTexts.h"

#include "core/UiText.h"

long long CLSStatusTexts::EffectiveBpm(int percent, unsigned microsecondsPerQuarter) {
    if (microsecondsPerQuarter == 0)
        return 0;
    const long long u = microsecondsPerQuarter;
    const long long product = static_cast<long long>(percent) * 600000;
    // Rounded to nearest, halves away from zero, in 64 bits so no tempo overflows.
    return (product >= 0 ? product + u / 2 : product - u / 2) / u;
}

std::string CLSStatusTexts::Tempo(int percent, unsigned microsecondsPerQuarter) {
    if (microsecondsPerQuarter == 0)
        return UiText::Format(UiText::Translate("CLSStatusTexts", "テンポ： %1%"),
                              {std::to_string(percent)});
    return UiText::Format(
        UiText::Translate("CLSStatusTexts", "テンポ： %1% (%2)"),
        {std::to_string(percent), std::to_string(EffectiveBpm(percent, microsecondsPerQuarter))});
}

std::string CLSStatusTexts::Volume(int percent) {
    return UiText::Format(UiText::Translate("CLSStatusTexts", "音量： %1%"),
                          {std::to_string(percent)});
}

std::string CLSStatusTexts::Key(int semitones) {
    if (semitones > 0)
        return UiText::Format(UiText::Translate("CLSStatusTexts", "キー： +%1"),
                              {std::to_string(semitones)});
    return UiText::Format(UiText::Translate("CLSStatusTexts", "キー： %1"),
                          {std::to_string(semitones)});
}
