#include "host/base/Color.h"
#include "host/base/ColorHooks.h"

#include <array>

namespace qz {

namespace {

// The classic desktop palette, the values a fresh desktop shows.
constexpr std::array<TColorRef, COLOR_COUNT> kDefaultSysColors = {
    RGB(212, 208, 200),  // scroll bar
    RGB(58, 110, 165),   // desktop
    RGB(10, 36, 106),    // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(212, 208, 200),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(212, 208, 200),  // active border
    RGB(212, 208, 200),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(10, 36, 106),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(212, 208, 200),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(212, 208, 200),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(64, 64, 64),     // 3-D dark shadow
    RGB(212, 208, 200),  // 3-D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
    RGB(181, 181, 181),  // (unused slot)
    RGB(0, 0, 128),      // hot light
    RGB(166, 202, 240),  // gradient active caption
    RGB(192, 192, 192),  // gradient inactive caption
    RGB(49, 106, 197),   // menu highlight
    RGB(236, 233, 216),  // menu bar
};

struct SysColorState {
  std::array<TColorRef, COLOR_COUNT> colors = kDefaultSysColors;
  TGetSysColorHook getSysColor;
  TGetSysColorBrushHook getSysColorBrush;
  TCreatePenHook createPen;
};

SysColorState& State() {
  static SysColorState state;
  return state;
}

}  // namespace

TColorRef GetRealSysColor(int index) {
  if (index < 0 || index >= COLOR_COUNT) return 0;
  return State().colors[static_cast<size_t>(index)];
}

void SetRealSysColor(int index, TColorRef value) {
  if (index >= 0 && index < COLOR_COUNT) State().colors[static_cast<size_t>(index)] = value & 0xFFFFFF;
}

void ResetRealSysColors() { State().colors = kDefaultSysColors; }

TColorRef GetSysColor(int index) {
  // Copy the hook: it may remove itself while it runs.
  if (auto hook = State().getSysColor) return hook(index);
  return GetRealSysColor(index);
}

TColorRef ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<TColorRef>(color);
}

TLogBrush RealGetSysColorBrush(int index) {
  if (index < 0 || index >= COLOR_COUNT) return {TBrushKind::Null, 0};
  return {TBrushKind::Solid, GetRealSysColor(index)};
}

TLogBrush GetSysColorBrush(int index) {
  if (auto hook = State().getSysColorBrush) return hook(index);
  return RealGetSysColorBrush(index);
}

TLogPen RealCreatePen(int style, int width, TColorRef color) { return {style, width, color}; }

TLogPen CreatePen(int style, int width, TColorRef color) {
  if (auto hook = State().createPen) return hook(style, width, color);
  return RealCreatePen(style, width, color);
}

void SetGetSysColorHook(TGetSysColorHook hook) { State().getSysColor = std::move(hook); }
void SetGetSysColorBrushHook(TGetSysColorBrushHook hook) {
  State().getSysColorBrush = std::move(hook);
}
void SetCreatePenHook(TCreatePenHook hook) { State().createPen = std::move(hook); }
bool IsGetSysColorHooked() { return static_cast<bool>(State().getSysColor); }
bool IsGetSysColorBrushHooked() { return static_cast<bool>(State().getSysColorBrush); }
bool IsCreatePenHooked() { return static_cast<bool>(State().createPen); }

}  // namespace qz
