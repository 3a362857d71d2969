#include "core/MidiOutError.h"

const char* MidiOutErrorText(int code) noexcept {
    switch (code) {
    case MIDIOUT_OK:
        return "エラーはありません。";
    case MIDIOUT_ERROR:
        return "不明なエラーが発生しました。";
    case MIDIOUT_BADDEVICEID:
        return "指定されたデバイス ID は範囲外です。";
    case MIDIOUT_NOTENABLED:
        return "ドライバを有効にできませんでした。";
    case MIDIOUT_ALLOCATED:
        return "指定されたデバイスは既に使用されています。";
    case MIDIOUT_INVALHANDLE:
        return "指定されたデバイス ハンドルは無効です。";
    case MIDIOUT_NODRIVER:
        return "デバイス ドライバがインストールされていません。";
    case MIDIOUT_NOMEM:
        return "メモリが不足しています。";
    case MIDIOUT_NOTSUPPORTED:
        return "この機能はサポートされていません。";
    case MIDIOUT_INVALFLAG:
        return "無効なフラグが指定されました。";
    case MIDIOUT_INVALPARAM:
        return "無効なパラメータが指定されました。";
    case MIDIOUT_UNPREPARED:
        return "ヘッダーが準備されていません。";
    case MIDIOUT_STILLPLAYING:
        return "データがまだ再生中です。";
    case MIDIOUT_NOMAP:
        return "MIDI マップが見つかりません。";
    case MIDIOUT_NOTREADY:
        return "MIDI デバイスはまだ使用中です。";
    case MIDIOUT_NODEVICE:
        return "MIDI ポートが接続されていません。";
    case MIDIOUT_INVALIDSETUP:
        return "MIDI の設定が無効です。";
    case MIDIOUT_BADOPENMODE:
        return "このオープン モードではこの操作はできません。";
    case MIDIOUT_NOSOUNDFONT:
        return "サウンドフォントが見つかりません。";
    case MIDIOUT_NOAUDIO:
        return "オーディオ出力を開けません。";
    default:
        return "不明な MIDI エラーです。";
    }
}
