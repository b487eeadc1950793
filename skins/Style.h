// The design language shared by the two demo skins: one accent colour,
// the same corner radii, the same fonts. The main skin is dark, the dialog
// skin light; both take their surfaces from the palettes below.
#pragma once

#include <cstdint>

#include "skins/painter/Paint.h"

namespace qz::skingen::style {

// The one accent colour and its states.
inline constexpr uint32_t kAccent = Hex(0x3D8EF0);
inline constexpr uint32_t kAccentHot = Hex(0x5AA2F5);
inline constexpr uint32_t kAccentDown = Hex(0x2F74C8);

// Corner radii: small controls, buttons and panels, windows.
inline constexpr double kRadiusSmall = 3;
inline constexpr double kRadius = 5;
inline constexpr double kRadiusWindow = 9;

// Fonts as the descriptions name them.
inline constexpr const char* kFont = "Tahoma";
inline constexpr const char* kCaptionFont = "Arial";

struct TPalette {
  uint32_t Background;   // window background
  uint32_t Surface;      // panels, pages
  uint32_t Raised;       // buttons at rest
  uint32_t RaisedHot;    // buttons under the mouse
  uint32_t Sunken;       // edits, lists, tracks
  uint32_t Border;       // 1-pixel outlines
  uint32_t BorderStrong; // focused / hot outlines
  uint32_t Text;
  uint32_t TextDim;
  uint32_t TextDisabled;
  uint32_t Highlight;    // selected list items
  uint32_t HighlightText;
};

// The main window: dark.
inline constexpr TPalette kDark{
    Hex(0x1B1E24), Hex(0x23272F), Hex(0x2D323C), Hex(0x363C48), Hex(0x15181D), Hex(0x3A404B),
    Hex(0x56606F), Hex(0xE6E9EF), Hex(0x9AA3B2), Hex(0x5C6370), kAccent,       Hex(0xFFFFFF)};

// The dialogs and the second window: light and neutral.
inline constexpr TPalette kLight{
    Hex(0xF2F3F5), Hex(0xFFFFFF), Hex(0xFAFBFC), Hex(0xEEF4FD), Hex(0xFFFFFF), Hex(0xC5CBD3),
    Hex(0x8E98A6), Hex(0x1F2329), Hex(0x5F6B7A), Hex(0xA7AFBA), Hex(0xABABAB),  Hex(0x1F2329)};

}  // namespace qz::skingen::style
