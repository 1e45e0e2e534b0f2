#pragma once

// The integer ids by which the program addresses its windows, controls, menus and
// commands through the platform. The numbers are fixed: handlers, menus and tests key on
// them.

namespace tessaly {

enum WindowId : int {
    WindowMain = 0,
    WindowMap = 1,
};

// The controls' ids. Gadget is only their prefix; the code's word is control.
enum ControlId : int {
    GadgetCharsetView = 0,
    GadgetGlyphEditor = 1,
    GadgetMapCanvas = 2,
    GadgetDataField = 3,
    GadgetRangeEnable = 4,
    GadgetRangeBeginSlider = 5,
    GadgetRangeEndSlider = 6,
    GadgetRangeBeginLabel = 7,
    GadgetRangeEndLabel = 8,
    GadgetShiftLeft = 9,
    GadgetShiftRight = 10,
    GadgetShiftUp = 11,
    GadgetShiftDown = 12,
    GadgetMapScrollArea = 13,
};

enum MenuId : int {
    MenuMain = 0,
    MenuCharsetPopup = 2,
    MenuMapPopup = 3,
};

enum CommandId : int {
    CmdOpen = 0,
    CmdQuit = 1,
    CmdSaveCharset768 = 2,
    CmdSaveCharset1024 = 3,
    CmdSaveCharset2048 = 4,
    CmdSaveMap = 5,
    CmdSaveImage = 6,
    CmdInvert = 7,
    CmdMirrorLeftRight = 8,
    CmdMirrorUpDown = 9,
    CmdEraseAll = 10,
    CmdClearChar = 11,
    CmdShiftLeft = 12,
    CmdShiftRight = 13,
    CmdShiftUp = 14,
    CmdShiftDown = 15,
    CmdSetRangeBegin = 16,
    CmdSetRangeEnd = 17,
    CmdDragSwap = 18,
    CmdDragCopy = 19,
    CmdCopyRange = 20,
    CmdMapSize32x24 = 21,
    CmdMapSize40x24 = 22,
    CmdMapSize80x50 = 23,
    CmdMapSize64x30 = 24,
    CmdFillMap = 25,
    CmdGridOnMap = 26,
    CmdCharsetCga = 27,
    CmdCharsetC64 = 28,
    CmdCharsetAtari = 29,
    CmdCharsetPc866 = 30,
    CmdCharsetZxSpectrum = 31,
    CmdCharsetZx80 = 32,
    CmdCharsetMicrosha = 33,
    CmdCharsetJupiterAce = 34,
    CmdCharsetHex = 35,
    CmdInkColour = 36,
    CmdPaperColour = 37,
    CmdMapInsertChar = 38,
    CmdMapDeleteChar = 39,
    CmdMapInsertRow = 40,
    CmdMapDeleteRow = 41,
    CmdMapInsertColumn = 42,
    CmdMapDeleteColumn = 43,
};

constexpr int CommandCount = 44;

} // namespace tessaly
