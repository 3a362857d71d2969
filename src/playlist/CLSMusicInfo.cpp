#include "playlist/CLSMusicInfo.h"

#include "core/PathText.h"

#include <cstdio>
#include <cstring>

namespace {

void AppendField(CLSTString& text, const char* label, const CLSTString& value) {
    if (value.IsEmpty())
        return;
    text += "\r\n";
    text += label;
    text += value;
}

} // namespace

CLSTString CLSMusicInfo::DisplayName() const {
    if (!title.IsEmpty())
        return title;
    const char* member = std::strchr(path.Text(), '>');
    return CLSTString(FindFileName(member ? member + 1 : path.Text()));
}

CLSTString CLSMusicInfo::FormatLength(std::int32_t milliseconds) {
    if (milliseconds == 0)
        return CLSTString();
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", milliseconds / 60000, (milliseconds / 1000) % 60);
    return CLSTString(text);
}

CLSTString CLSMusicInfo::ToolTipText() const {
    CLSTString text("ファイル名: ");
    text += path;
    AppendField(text, "曲名: ", title);
    AppendField(text, "作曲: ", composer);
    AppendField(text, "作詞: ", lyricist);
    AppendField(text, "編曲: ", arranger);
    AppendField(text, "アーティスト: ", artist);
    if (length != 0) {
        text += "\r\n長さ: ";
        text += FormatLength(length);
    }
    return text;
}
