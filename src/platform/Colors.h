// Colour values as the platform defines them: 0x00BBGGRR, negative values name
// system colours. Depends on nothing.
#pragma once

#include <cstdint>

using TColor = int32_t;

constexpr TColor clNone = 0x1FFFFFFF;    // no colour
constexpr TColor clDefault = 0x20000000; // the owner's default

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// System colours: 0xFF000000 or the index of the system colour.
constexpr TColor SystemColor(int Index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(Index)); }
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

// Resolves a system colour (negative value) to its RGB value from the fixed
// table of default light-theme colours; any other value is returned as is.
TColor ColorToRGB(TColor Color);

constexpr uint8_t GetRValue(TColor C) { return static_cast<uint8_t>(C & 0xFF); }
constexpr uint8_t GetGValue(TColor C) { return static_cast<uint8_t>((C >> 8) & 0xFF); }
constexpr uint8_t GetBValue(TColor C) { return static_cast<uint8_t>((C >> 16) & 0xFF); }
constexpr TColor RGB(int R, int G, int B) { return (R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16); }

// Colours compared as the platform compares transparent colours: on their low
// 24 bits only, so flag bits above them do not matter.
constexpr bool SameColor24(TColor A, TColor B) { return ((A ^ B) & 0xFFFFFF) == 0; }
