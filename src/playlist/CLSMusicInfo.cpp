#include "playlist/CLSMusicInfo.h"

#include "core/PathText.h"
#include "core/UiText.h"

#include <cstdio>
#include <cstring>

namespace {

void AppendField(CLSTString& text, const char* label, const CLSTString& value) {
    if (value.IsEmpty())
        return;
    text += "\r\n";
    text += UiText::Translate("CLSMusicInfo", label).c_str();
    text += value;
}

} // namespace

CLSMusicInfo::CLSMusicInfo() : m_fields(std::make_unique<Fields>()) {}

CLSMusicInfo::CLSMusicInfo(const CLSTString& path) : m_fields(std::make_unique<Fields>()) {
    m_fields->path = path;
}

CLSMusicInfo::CLSMusicInfo(const CLSMusicInfo& other)
    : m_fields(std::make_unique<Fields>(*other.m_fields)) {}

CLSMusicInfo& CLSMusicInfo::operator=(const CLSMusicInfo& other) {
    if (this == &other)
        return *this;
    if (m_fields)
        *m_fields = *other.m_fields;
    else
        m_fields = std::make_unique<Fields>(*other.m_fields);
    return *this;
}

CLSMusicInfo::~CLSMusicInfo() = default;

CLSTString CLSMusicInfo::DisplayName() const {
    const CLSTString& title = m_fields->title;
    const CLSTString& path = m_fields->path;
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
    const Fields& f = *m_fields;
    CLSTString text(UiText::Translate("CLSMusicInfo", "ファイル名: ").c_str());
    text += f.path;
    AppendField(text, DRUVEL_TRANSLATE_NOOP("CLSMusicInfo", "曲名: "), f.title);
    AppendField(text, DRUVEL_TRANSLATE_NOOP("CLSMusicInfo", "作曲: "), f.composer);
    AppendField(text, DRUVEL_TRANSLATE_NOOP("CLSMusicInfo", "作詞: "), f.lyricist);
    AppendField(text, DRUVEL_TRANSLATE_NOOP("CLSMusicInfo", "編曲: "), f.arranger);
    AppendField(text, DRUVEL_TRANSLATE_NOOP("CLSMusicInfo", "アーティスト: "), f.artist);
    if (f.length != 0) {
        text += "\r\n";
        text += UiText::Translate("CLSMusicInfo", "長さ: ").c_str();
        text += FormatLength(f.length);
    }
    return text;
}
