#include "core/MidiOutError.h"

#include "core/UiText.h"

const char* MidiOutErrorText(int code) noexcept {
    switch (code) {
    case MIDIOUT_OK:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "エラーはありません。");
    case MIDIOUT_ERROR:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "不明なエラーが発生しました。");
    case MIDIOUT_BADDEVICEID:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "指定されたデバイス ID は範囲外です。");
    case MIDIOUT_NOTENABLED:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "ドライバを有効にできませんでした。");
    case MIDIOUT_ALLOCATED:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "指定されたデバイスは既に使用されています。");
    case MIDIOUT_INVALHANDLE:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "指定されたデバイス ハンドルは無効です。");
    case MIDIOUT_NODRIVER:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError",
                                     "デバイス ドライバがインストールされていません。");
    case MIDIOUT_NOMEM:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "メモリが不足しています。");
    case MIDIOUT_NOTSUPPORTED:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "この機能はサポートされていません。");
    case MIDIOUT_INVALFLAG:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "無効なフラグが指定されました。");
    case MIDIOUT_INVALPARAM:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "無効なパラメータが指定されました。");
    case MIDIOUT_UNPREPARED:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "ヘッダーが準備されていません。");
    case MIDIOUT_STILLPLAYING:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "データがまだ再生中です。");
    case MIDIOUT_NOMAP:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "MIDI マップが見つかりません。");
    case MIDIOUT_NOTREADY:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "MIDI デバイスはまだ使用中です。");
    case MIDIOUT_NODEVICE:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "MIDI ポートが接続されていません。");
    case MIDIOUT_INVALIDSETUP:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "MIDI の設定が無効です。");
    case MIDIOUT_BADOPENMODE:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError",
                                     "このオープン モードではこの操作はできません。");
    case MIDIOUT_NOSOUNDFONT:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "サウンドフォントが見つかりません。");
    case MIDIOUT_NOAUDIO:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "オーディオ出力を開けません。");
    default:
        return DRUVEL_TRANSLATE_NOOP("MidiOutError", "不明な MIDI エラーです。");
    }
}
