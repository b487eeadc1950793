// The platform-style window API of the host window system. A window handle
// (HWND, host/base/WindowHandle.h) is an id from the window system's handle
// table; a window node (host/ui/WindowNode.h, a windowed control) converts to
// its current handle, WindowNodeOf() gives the node of a live handle. Every
// function here fails quietly (false, 0, null) for a handle whose window is
// gone, and works on the window system in host/ui/, never on a display
// directly.
//
// Coordinates follow the platform: screen coordinates for window rectangles,
// client coordinates (relative to the client area's top-left) for client
// rectangles, invalidation and client mouse messages; "window coordinates"
// are relative to the window's outer top-left (non-client painting, regions).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/base/Color.h"
#include "host/base/Messages.h"
#include "host/base/Types.h"
#include "host/graphics/Region.h"

namespace qz {

class TWindowNode;
class TCanvas;
enum class TCursorShape;

using HDC = TCanvas*;
using UINT = uint32_t;
using BOOL = bool;
using DWORD = uint32_t;

// Special insert-after values of SetWindowPos. No window ever has them
// (generation 0 and the last generation are never handed out).
inline constexpr HWND HWND_TOP = nullptr;
inline constexpr HWND HWND_BOTTOM = HWND::FromValue(1);
inline constexpr HWND HWND_TOPMOST = HWND::FromValue(~uint64_t(0));     // -1
inline constexpr HWND HWND_NOTOPMOST = HWND::FromValue(~uint64_t(1));   // -2

// The window node of a live handle; null for null, dead or special handles.
// (WindowControl() in Controls.h gives the control.)
TWindowNode* WindowNodeOf(HWND hwnd);

// ---- messages and the queue -------------------------------------------------
// Sends msg to the window's WindowProc now and answers its result (0 when the
// window does not exist).
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM w = 0, LPARAM l = 0);
// Queues msg for the window; it is dispatched by the message loop. hwnd null
// posts a thread message (WM_QUIT stops the loop). False when hwnd is not a window.
bool PostMessage(HWND hwnd, UINT msg, WPARAM w = 0, LPARAM l = 0);
void PostQuitMessage(int exitCode);
// The platform's default processing of a message (non-client model, move and
// size loops, system commands, cursor, activation defaults).
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);

// ---- window tree and geometry --------------------------------------------------
bool IsWindow(HWND hwnd);
HWND GetParent(HWND hwnd);
bool GetWindowRect(HWND hwnd, TRect& rect);   // screen coordinates
bool GetClientRect(HWND hwnd, TRect& rect);   // (0, 0, client width, client height)
bool ClientToScreen(HWND hwnd, TPoint& p);
bool ScreenToClient(HWND hwnd, TPoint& p);
// Maps points from one window's client coordinates to another's (null: screen).
int MapWindowPoints(HWND from, HWND to, TPoint* points, int count);
inline int MapWindowPoints(HWND from, HWND to, TRect& r) {
  return MapWindowPoints(from, to, reinterpret_cast<TPoint*>(&r), 2);
}
// The deepest visible, enabled window under a screen point (window regions
// respected), or null.
HWND WindowFromPoint(TPoint screen);

enum : int { SWP_ASYNCWINDOWPOS = 0x4000, SWP_NOCOPYBITS = 0x0100, SWP_NOSENDCHANGING = 0x0400 };
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint);
bool ShowWindow(HWND hwnd, int cmd);
bool IsWindowVisible(HWND hwnd);   // the window and all its parents are visible
bool IsWindowEnabled(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);  // answers whether it was disabled before
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);

enum : int { GWL_STYLE = -16, GWL_EXSTYLE = -20, GWL_ID = -12, GWL_USERDATA = -21 };
intptr_t GetWindowLong(HWND hwnd, int index);
// Changing styles sends WM_STYLECHANGING/WM_STYLECHANGED; frame changes take
// effect with SetWindowPos(SWP_FRAMECHANGED) as on the platform.
intptr_t SetWindowLong(HWND hwnd, int index, intptr_t value);

// ---- capture, focus, activation -----------------------------------------------
HWND SetCapture(HWND hwnd);   // answers the previous capture window
bool ReleaseCapture();
HWND GetCapture();
HWND SetFocus(HWND hwnd);     // answers the previous focus window
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hwnd);
HWND GetForegroundWindow();
bool SetForegroundWindow(HWND hwnd);

// ---- painting --------------------------------------------------------------------
// rect null: the whole client area. Client coordinates.
bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase);
bool InvalidateRgn(HWND hwnd, const TRegion* rgn, bool erase);
bool ValidateRect(HWND hwnd, const TRect* rect);
// Paints the window now (WM_NCPAINT / WM_PAINT) when it has something to paint.
bool UpdateWindow(HWND hwnd);
enum : UINT {
  RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004,
  RDW_VALIDATE = 0x0008, RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020,
  RDW_NOCHILDREN = 0x0040, RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100,
  RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400, RDW_NOFRAME = 0x0800,
};
bool RedrawWindow(HWND hwnd, const TRect* rect, const TRegion* rgn, UINT flags);
// Whether the window's frame waits for its WM_NCPAINT (a fresh, resized or
// frame-changed window): painting the frame before then is wasted.
bool FrameUpdatePending(HWND hwnd);

// A device context on the window's client area (GetDC) or whole window
// (GetWindowDC), drawing into the top-level window's back buffer, clipped to
// the window's visible part. Null hwnd: a context on the whole screen that
// draws nowhere. Every context must be given back with ReleaseDC; what was
// drawn is presented at the next update.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);

struct TPaintStruct {
  HDC hdc = nullptr;
  bool fErase = false;   // the background still needs erasing (WM_ERASEBKGND failed)
  TRect rcPaint;         // bounds of the update region, client coordinates
};
// Validates the update region; sends WM_ERASEBKGND first when it was
// invalidated with erase. The context's clip is (update region ∩ visible part).
HDC BeginPaint(HWND hwnd, TPaintStruct& ps);
bool EndPaint(HWND hwnd, const TPaintStruct& ps);

// The window takes the region (window coordinates); null removes it. The
// region clips painting and hit testing; a top-level window's region becomes
// its platform shape.
int SetWindowRgn(HWND hwnd, std::unique_ptr<TRegion> rgn, bool redraw);
inline int SetWindowRgn(HWND hwnd, const TRegion& rgn, bool redraw) {
  return SetWindowRgn(hwnd, std::make_unique<TRegion>(rgn), redraw);
}
// Copies the window region into rgn; ERROR (0) when the window has none.
int GetWindowRgn(HWND hwnd, TRegion& rgn);

enum : DWORD { LWA_COLORKEY = 1, LWA_ALPHA = 2 };
enum : DWORD { ULW_COLORKEY = 1, ULW_ALPHA = 2, ULW_OPAQUE = 4 };
bool SetLayeredWindowAttributes(HWND hwnd, TColorRef key, uint8_t alpha, DWORD flags);
// The window shows `premultiplied` (0xAARRGGBB, the window's size unless
// size says otherwise) at pos (when given); it then takes no WM_PAINT until
// SetLayeredWindowAttributes or WS_EX_LAYERED removal.
struct TBlendFunction {
  uint8_t BlendOp = 0, BlendFlags = 0, SourceConstantAlpha = 255, AlphaFormat = 1;
};
bool UpdateLayeredWindow(HWND hwnd, const TPoint* pos, const TSize* size,
                         const class TPixmap& premultiplied, const TBlendFunction* blend,
                         DWORD flags);
// A window showing a layered picture keeps it and moves to pos (when given)
// at opacity `alpha` (UpdateLayeredWindow without a new picture). False
// when the window shows no layered picture.
bool MoveLayeredWindow(HWND hwnd, const TPoint* pos, uint8_t alpha);

// ---- timers ----------------------------------------------------------------------
using TTimerProc = std::function<void(HWND hwnd, UINT msg, uintptr_t id, DWORD time)>;
// Creates or replaces timer `id` of the window; WM_TIMER (wParam id) is
// dispatched when due on the platform clock, or `proc` is called instead.
// Answers id (or a fresh id when hwnd is null), 0 on failure.
uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT elapseMs, TTimerProc proc = {});
bool KillTimer(HWND hwnd, uintptr_t id);
DWORD GetTickCount();
uint64_t GetTickCount64();

// ---- cursor ------------------------------------------------------------------------
// A cursor handle names a shape; the window system hands the platform the shape.
struct TCursorHandle {
  TCursorShape shape;
};
using HCURSOR = const TCursorHandle*;
enum : int {
  IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515,
  IDC_UPARROW = 32516, IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643, IDC_SIZEWE = 32644,
  IDC_SIZENS = 32645, IDC_SIZEALL = 32646, IDC_NO = 32648, IDC_HAND = 32649,
  IDC_APPSTARTING = 32650, IDC_HELP = 32651,
};
HCURSOR LoadCursor(void* instance, int id);
HCURSOR SetCursor(HCURSOR cursor);   // answers the previous one
HCURSOR GetCursor();
bool GetCursorPos(TPoint& p);
bool SetCursorPos(int x, int y);

struct TTrackMouseEvent {
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = 0;
};
enum : DWORD { TME_HOVER = 1, TME_LEAVE = 2, TME_NONCLIENT = 0x10, TME_CANCEL = 0x80000000 };
// WM_MOUSELEAVE (TME_LEAVE) / WM_NCMOUSELEAVE (TME_LEAVE | TME_NONCLIENT) is
// posted once when the pointer leaves the window's client / non-client area.
bool TrackMouseEvent(TTrackMouseEvent& tme);

// ---- keyboard --------------------------------------------------------------------
// High bit (negative) while the key is down. Mouse buttons VK_LBUTTON... too.
int16_t GetKeyState(int vk);
int16_t GetAsyncKeyState(int vk);

// ---- system information -------------------------------------------------------
enum : int {
  SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
  SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8,
  SM_CYVTHUMB = 9, SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13,
  SM_CYCURSOR = 14, SM_CYMENU = 15, SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17,
  SM_CYVSCROLL = 20, SM_CXHSCROLL = 21, SM_SWAPBUTTON = 23, SM_CXMIN = 28, SM_CYMIN = 29,
  SM_CXSIZE = 30, SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXMINTRACK = 34,
  SM_CYMINTRACK = 35, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXEDGE = 45,
  SM_CYEDGE = 46, SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CYSMCAPTION = 51,
  SM_CXMAXIMIZED = 61, SM_CYMAXIMIZED = 62, SM_CXDRAG = 68, SM_CYDRAG = 69,
  SM_CMONITORS = 80,
};
int GetSystemMetrics(int index);
UINT GetDoubleClickTime();

enum : UINT { SPI_GETWORKAREA = 0x0030, SPI_GETDRAGFULLWINDOWS = 0x0026 };
// SPI_GETWORKAREA: param is a TRect*; SPI_GETDRAGFULLWINDOWS: a bool* (true).
bool SystemParametersInfo(UINT action, UINT uiParam, void* param, UINT winIni);

// A monitor handle is its index + 1 in the platform's monitor list.
using HMONITOR = intptr_t;
enum : DWORD { MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2 };
enum : DWORD { MONITORINFOF_PRIMARY = 1 };
struct TMonitorInfoRec {
  TRect rcMonitor;
  TRect rcWork;
  DWORD dwFlags = 0;
};
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromPoint(TPoint p, DWORD flags);
HMONITOR MonitorFromRect(const TRect& r, DWORD flags);
bool GetMonitorInfo(HMONITOR monitor, TMonitorInfoRec& info);
// The monitor's rectangles, or, when the handle names no monitor, the primary
// work area (SPI_GETWORKAREA) as both: what forms, menus and hints keep to.
TMonitorInfoRec MonitorRectsOrPrimary(HMONITOR monitor);
// The work area of the monitor nearest to a screen point.
TRect WorkAreaNear(TPoint screen);

// Window class styles (TCreateParams::WindowClassStyle).
enum : UINT {
  CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_SAVEBITS = 0x0800,
  CS_DROPSHADOW = 0x00020000,
  // This host's own: the window's paint writes every pixel it is asked to
  // paint before it reads any, so a new window's back buffer is not cleared
  // ahead of its first paint.
  CS_OPAQUEPAINT = 0x00400000,
};

// WM_GETDLGCODE answers.
enum : int {
  DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
  DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010,
  DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080,
  DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000,
};

// WM_NCCALCSIZE answers when wParam is true.
enum : int { WVR_ALIGNTOP = 0x0010, WVR_VALIDRECTS = 0x0400 };

// Defaults of the non-client model.
constexpr int kCaptionHeight = 19;       // with WS_CAPTION
constexpr int kToolCaptionHeight = 15;   // with WS_CAPTION and WS_EX_TOOLWINDOW
constexpr int kFrameWidth = 3;           // WS_THICKFRAME / WS_DLGFRAME
constexpr int kBorderWidth = 1;          // WS_BORDER alone
constexpr int kClientEdgeWidth = 2;      // WS_EX_CLIENTEDGE

}  // namespace qz
