#include "output/ShortMessage.h"

std::size_t ShortMessageLength(std::uint8_t status) noexcept {
    if (status < 0x80)
        return 0;
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 2;
    case 0xF0:
        break;
    default:
        return 3;
    }
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 2;
    case 0xF2:
        return 3;
    default:
        return 1;
    }
}
