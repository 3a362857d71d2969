#include "app/NoteTraceMidiOutput.h"

#include "controls/DisplayTrace.h"

int NoteTraceMidiOutput::ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                                  MonoTime due) {
    if ((status & 0xF0) == 0x90 && data2 != 0)
        DisplayTrace::RecordAt(DisplayTrace::Event::NoteDue, data1, due);
    return m_target->ShortMsg(status, data1, data2, due);
}
