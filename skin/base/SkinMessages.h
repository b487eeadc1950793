// The window messages the engine's components send one another. Their
// numbers are fixed (stored forms and other programs' windows may send
// them); 1225..1428 are WM_USER-based.
#pragma once

#include <cstdint>

#include "host/base/Messages.h"

namespace qz {

// ---- Skin data to the forms and controls bound to it
// wParam = the sending TqzSkinData, lParam = kSkinMessageLParam.
inline constexpr uint32_t MSG_SKIN_BEFORE_CHANGE = WM_USER + 201;        // 1225
inline constexpr uint32_t MSG_SKIN_CHANGED = WM_USER + 202;              // 1226
inline constexpr uint32_t MSG_SKIN_AFTER_CHANGE = WM_USER + 203;         // 1227
inline constexpr uint32_t MSG_RESOURCE_STRINGS_CHANGED = WM_USER + 250;  // 1274
inline constexpr uint32_t MSG_SKINNABLE_FORM_CHANGED = WM_USER + 270;    // 1294
inline constexpr uint32_t MSG_BACK_FROM_TRAY = WM_USER + 402;            // 1426: posted to the main form
inline constexpr uint32_t MSG_LAYERED_BORDERS_CHANGED = WM_USER + 403;   // 1427
inline constexpr uint32_t MSG_AERO_BLUR_CHANGED = WM_USER + 404;         // 1428
inline constexpr LPARAM kSkinMessageLParam = 1000;

// ---- The menu engine
// To the form (and the control that asked for the menu): the menu chain
// closed; a frame menu closes too.
inline constexpr uint32_t WM_CLOSESKINMENU = WM_USER + 204;  // 1228
// To the control that asked for the menu: a command item ran.
inline constexpr uint32_t WM_AFTERDISPATCH = WM_USER + 205;  // 1229

// ---- MDI children and their MDI form's controller
inline constexpr uint32_t kMDIRefit = WM_USER + 206;            // 1230: re-fit a maximised child
inline constexpr uint32_t kMDIChildMaximized = WM_USER + 207;   // 1231
inline constexpr uint32_t kMDIChildRestored = WM_USER + 208;    // 1232 (or closed)
inline constexpr uint32_t kMDIScrollChanged = WM_USER + 209;    // 1233: wParam a child to leave out
inline constexpr uint32_t kMDIRestoreAll = WM_USER + 210;       // 1234
inline constexpr uint32_t kMDIMinimizeChild = WM_USER + 211;    // 1235: wParam the child
inline constexpr uint32_t kMDIQueryMaximized = WM_USER + 212;   // 1236: 1 while maximised

// ---- Controls
// Sent to a control (and by it to its children) when what lies under it may
// have changed: controls that blend over their background repaint.
inline constexpr uint32_t MSG_REFRESH_ALPHABLEND = WM_USER + 260;  // 1284

// ---- Private messages other windows send to a skinned form
inline constexpr uint32_t MSG_SKINNED_FORM_QUERY = 45490;
inline constexpr uint32_t MSG_LAYERED_BORDER_SUSPEND = 45491;
inline constexpr uint32_t MSG_LAYERED_BORDER_RESUME = 45492;
inline constexpr uint32_t MSG_PAINT_FRAME_TO_DC = 45513;
inline constexpr uint32_t MSG_PAINT_FRAME_TO_DC_EX = 48203;
inline constexpr LRESULT kSkinnedFormAnswer = 12853, kNativeFormAnswer = 12852;
inline constexpr LRESULT kFramePaintedAnswer = 12851, kFramePaintedExAnswer = 16802;

}  // namespace qz
