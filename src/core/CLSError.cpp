#include "core/CLSError.h"

#include "core/MidiOutError.h"
#include "core/UiText.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_reporterMutex;

void ReportToStderr(const CLSError::Report& report) {
    std::fprintf(stderr, "%s: %s\n", report.caption, report.text.c_str());
    std::fflush(stderr);
}

CLSError::Reporter& CurrentReporter() {
    static CLSError::Reporter reporter = ReportToStderr;
    return reporter;
}

// Cuts a text to fit the fixed message buffer without splitting a UTF-8 sequence.
void CutToBuffer(std::string& text) {
    const std::size_t limit = CLSError::kTextBufferSize - 1;
    if (text.size() <= limit)
        return;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
}

} // namespace

const char* CLSError::CodeText(int code) noexcept {
    switch (code) {
    case 4:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "ダイアログを表示できません。");
    case 5:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "ファイルを開けません。");
    case 6:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "再生できません。");
    case 7:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "ファイルを読み込めません。");
    case 8:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "ウィンドウクラスを登録できません。");
    case 9:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "ファイルに書き込めません。");
    case 10:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "DLL のバージョンが違います。");
    case 11:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "パラメータが不正です。");
    case 12:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "このアーカイブ形式には対応していません。");
    case 13:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "その機能は実装されていません。");
    case 14:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "メモリ不足です。");
    case 15:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "添字が範囲外です。");
    case 16:
        return DRUVEL_TRANSLATE_NOOP("CLSError", "予期しないエラーです。");
    default:
        return "???";
    }
}

std::string CLSError::Message() const {
    std::string text = m_midiSystem ? UiText::Translate("MidiOutError", MidiOutErrorText(m_code))
                                    : UiText::Translate("CLSError", CodeText(m_code));
    text += "\n\n";
    text += m_module ? m_module : "";
    text += UiText::Format(UiText::Translate("CLSError", " : %1行"), {std::to_string(m_line)});
    CutToBuffer(text);
    return text;
}

void CLSError::Show(OwnerWindow owner) const {
    Present({Message(), kCaption, owner, kStyleIconError});
}

void CLSError::Present(const Report& report) {
    Reporter reporter;
    {
        std::lock_guard lock(g_reporterMutex);
        reporter = CurrentReporter();
    }
    if (reporter)
        reporter(report);
}

CLSError::Reporter CLSError::SetReporter(Reporter reporter) {
    std::lock_guard lock(g_reporterMutex);
    Reporter previous = std::move(CurrentReporter());
    CurrentReporter() = reporter ? std::move(reporter) : Reporter(ReportToStderr);
    return previous;
}
