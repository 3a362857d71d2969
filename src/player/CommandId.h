#pragma once

// Every command of the main window: menu items, toolbar buttons and accelerator keys carry one
// of these, and the numbers are those the settings and the help pages know.
enum CommandId : int {
    kCmdNone = 0,
    kCmdOpen = 51,
    kCmdOpenFolder = 52,
    kCmdSavePlayList = 53,
    kCmdExit = 54,
    kCmdPlayPause = 61,
    kCmdStop = 62,
    kCmdPrevious = 63,
    kCmdNext = 64,
    kCmdOrderNormal = 65,
    kCmdOrderRepeatOne = 66,
    kCmdOrderRepeatAll = 67,
    kCmdOrderRandom = 68,
    kCmdTempoUp = 69,
    kCmdTempoDown = 70,
    kCmdVolumeUp = 71,
    kCmdVolumeDown = 72,
    kCmdKeyUp = 73,
    kCmdKeyDown = 74,
    kCmdToolHint = 81,
    kCmdModeNormal = 82,
    kCmdModeCompact = 83,
    kCmdModeNoLyrics = 84,
    kCmdModeNoSpectrum = 85,
    kCmdModeLyricsOnly = 86,
    kCmdCustomize = 87,
    kCmdPlayListPlay = 91,
    kCmdPlayListDelete = 92,
    kCmdMoveUp = 93,
    kCmdMoveDown = 94,
    kCmdHelpContents = 97,
    kCmdAbout = 98,
    kCmdDefaultDevice = 101,
    kCmdFirstDevice = 102, // device k is 102 + k
    kCmdClearRecent = 150,
    kCmdFirstRecent = 151, // recent file i is 151 + i
};
