// Colours. TColor is the framework's colour value: 0x00BBGGRR for plain
// colours, clSystemColor | index for the system colours. TColorRef is the
// resolved 0x00BBGGRR value. System colours are answered by a process-wide
// table that can be redirected in-process (one set of hooks at a time).
#pragma once

#include <cstdint>

namespace qz {

using TColor = int32_t;
using TColorRef = uint32_t;

constexpr TColorRef RGB(int r, int g, int b) {
  return static_cast<TColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColorRef c) { return c & 0xFF; }
constexpr int GetGValue(TColorRef c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColorRef c) { return (c >> 16) & 0xFF; }

// System colour indexes.
enum : int {
  COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
  COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
  COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30,
  COLOR_COUNT = 31
};

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor SysColor(int index) { return clSystemColor | index; }

constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SysColor(COLOR_MENU);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);
constexpr TColor clHotLight = SysColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = SysColor(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = SysColor(COLOR_MENUBAR);

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
                 clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000,
                 clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00,
                 clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF,
                 clAqua = 0xFFFF00, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0,
                 clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The system colour with that index, through the redirection when one is
// installed. Out-of-range indexes answer 0.
TColorRef GetSysColor(int index);
// The platform's own value, never redirected.
TColorRef GetRealSysColor(int index);
// Changes the platform's own value (the platform layer and tests use this).
void SetRealSysColor(int index, TColorRef value);
void ResetRealSysColors();

// A plain colour as is; a system colour resolved through GetSysColor.
TColorRef ColorToRGB(TColor color);

// Brush and pen descriptions as the platform hands them out. Canvases take
// these as they are: the colour is already resolved.
enum class TBrushKind { Solid, Null };
struct TLogBrush {
  TBrushKind kind = TBrushKind::Solid;
  TColorRef color = 0;
  friend bool operator==(const TLogBrush&, const TLogBrush&) = default;
};
enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4,
             PS_NULL = 5, PS_INSIDEFRAME = 6 };
struct TLogPen {
  int style = PS_SOLID;
  int width = 1;
  TColorRef color = 0;
  friend bool operator==(const TLogPen&, const TLogPen&) = default;
};

// A solid brush of the system colour (through the redirection).
TLogBrush GetSysColorBrush(int index);
// A pen; the redirection may replace its colour.
TLogPen CreatePen(int style, int width, TColorRef color);

// The three functions above without their redirection (set in
// host/base/ColorHooks.h).
TLogBrush RealGetSysColorBrush(int index);
TLogPen RealCreatePen(int style, int width, TColorRef color);

}  // namespace qz
