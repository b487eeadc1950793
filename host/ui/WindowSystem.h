// The window system behind Windows.h: window data, the top-level stacking
// list, update regions and painting, device contexts, the message queue and
// timers, input translation (platform events -> window messages), capture,
// focus and activation. One instance per process (WindowSystem()).
//
// Painting model. Every top-level window owns a back buffer the size of the
// whole window. Its children paint into the same buffer at their offsets,
// clipped to their visible part (own rect minus windowed children and higher
// windowed siblings, within every ancestor's client area and window region).
// Each window has an update region (client coordinates) and a "frame dirty"
// flag. When the queue is empty, windows with something to paint get
// WM_NCPAINT / WM_PAINT, parents before children; then every top-level
// window presents the areas drawn since the last update (Present, once per
// update). Contexts from GetDC/GetWindowDC mark their clip as drawn too.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "host/base/Messages.h"
#include "host/components/Component.h"
#include "host/graphics/Pixmap.h"
#include "host/graphics/Region.h"
#include "host/platform/Platform.h"
#include "host/ui/HandleTable.h"
#include "host/ui/WindowNode.h"
#include "host/ui/Windows.h"

namespace qz {

// What a window handle carries. Created with the handle, freed with it.
struct TWindowData {
  HWND handle;               // this window's entry in the handle table
  uint32_t style = 0;
  uint32_t exStyle = 0;
  uint32_t classStyle = 0;
  intptr_t id = 0;
  intptr_t userData = 0;
  TRect clientRect;          // window coordinates
  TRegion update;            // client coordinates
  bool erase = false;
  bool internalPaint = false;
  bool frameDirty = false;
  bool ncActive = false;     // the frame is drawn active
  std::unique_ptr<TRegion> windowRgn;   // window coordinates
  // Top-level windows only.
  std::unique_ptr<IPlatformWindow> platform;
  TPixmap backBuffer;
  // Back-buffer pixels never written (window coordinates): they count as
  // black, which is written out before anything but a paint of a
  // CS_OPAQUEPAINT window could read them.
  TRegion unwritten;
  TRegion drawn;             // window coordinates, not yet presented
  bool layeredPicture = false;   // UpdateLayeredWindow contents in effect
  uint8_t opacity = 255;
  bool hasColorKey = false;
  TColorRef colorKey = 0;
  TRect normalRect;          // bounds to restore from minimised / maximised
  bool platformVisible = false;
  bool creating = true;
};

struct TTimerRecord {
  HWND hwnd = nullptr;
  uintptr_t id = 0;
  uint32_t interval = 0;
  uint64_t due = 0;
  TTimerProc proc;
};

struct TPostedMessage {
  HWND hwnd = nullptr;
  uint32_t msg = 0;
  WPARAM w = 0;
  LPARAM l = 0;
};

class TWindowSystem {
 public:
  TWindowSystem() = default;
  TWindowSystem(const TWindowSystem&) = delete;
  TWindowSystem& operator=(const TWindowSystem&) = delete;

  // ---- handles
  // Gives w a fresh handle (stored in its window data) and, for a top-level
  // window, a platform window.
  void AttachWindow(TWindowNode* w, std::unique_ptr<TWindowData> data);
  // Frees w's handle: posted messages, timers, tracking, capture, focus and
  // activation that name it are dropped.
  void DetachWindow(TWindowNode* w);
  bool IsLive(HWND h) const { return handles_.Find(h) != nullptr; }
  TWindowNode* Find(HWND h) const { return handles_.Find(h); }
  THandleTable& Handles() { return handles_; }
  // Top-level windows, bottom to top.
  const std::vector<TWindowNode*>& TopLevels() const { return topLevels_; }
  void RaiseTopLevel(TWindowNode* w);
  void LowerTopLevel(TWindowNode* w);
  TWindowNode* TopLevelOf(const TWindowNode* w) const;
  // The top-level window shown by a platform window; null when none is.
  HWND FindByPlatformWindow(const IPlatformWindow* pw) const;

  // ---- geometry
  static TPoint WindowOrigin(const TWindowNode* w);   // screen
  static TPoint ClientOrigin(const TWindowNode* w);   // screen
  static TPoint ScreenToClient(const TWindowNode* w, TPoint screen);
  // Whether the window is w or inside it (false for a dead handle).
  bool Contains(const TWindowNode* w, HWND window) const;
  static TRect WindowRectOf(const TWindowNode* w);     // screen
  // Offset of w's window origin inside its top-level window.
  static TPoint OffsetInTop(const TWindowNode* w);
  // The part of w that may be painted (client or whole window), in its
  // top-level window's coordinates.
  TRegion VisibleRegion(const TWindowNode* w, bool clientOnly) const;
  // The client area recomputed through WM_NCCALCSIZE.
  void RecalcClient(TWindowNode* w);
  // Deepest visible, enabled window at a screen point (regions respected).
  TWindowNode* WindowAtPoint(TPoint screen) const;
  TWindowNode* TopLevelAtPoint(TPoint screen) const;
  static TWindowNode* ChildWindowAt(TWindowNode* w, TPoint screen);

  // ---- invalidation and painting
  void InvalidateClient(TWindowNode* w, const TRegion* clientRgn, bool erase, bool allChildren);
  void InvalidateFrame(TWindowNode* w);
  void InvalidateAll(TWindowNode* w);  // frame, client, all children
  void Validate(TWindowNode* w, const TRegion* clientRgn);
  // An area of a parent's client (parent client coordinates) must be repainted.
  void InvalidateParentArea(TWindowNode* parent, const TRect& r);
  // An area of a parent's client that a child window stopped covering (it
  // moved, shrank, was hidden, reshaped, lowered or removed): the parent and
  // every other child window under it, with all their descendants, repaint
  // there. `leaving` is the window that uncovered it (it repaints itself).
  void InvalidateExposed(TWindowNode* parent, const TRect& r, const TWindowNode* leaving);
  bool NeedsPaint() const;
  void PaintWindowNow(TWindowNode* w, bool children);
  void PaintAll();
  void PresentAll();
  void MarkDrawn(TWindowNode* top, const TRegion& topRgn);
  void MarkDrawn(HWND top, const TRegion& topRgn);

  // ---- contexts
  // `paint`: the context of w's own paint (BeginPaint).
  HDC MakeDC(TWindowNode* w, bool whole, const TRegion* extraClipClient, bool paint = false);
  // A top-level window's back buffer with every pixel defined (the never
  // written ones black): for whatever reads it outside the window's paint.
  const TPixmap& DefinedBackBuffer(TWindowNode* top);
  void ReleaseDCInternal(HDC dc);
  HDC BeginPaintInternal(TWindowNode* w, TPaintStruct& ps);

  // ---- queue and timers
  bool Post(HWND hwnd, uint32_t msg, WPARAM w, LPARAM l);
  uintptr_t SetTimer(HWND hwnd, uintptr_t id, uint32_t ms, TTimerProc proc);
  bool KillTimer(HWND hwnd, uintptr_t id);
  // One unit of work (platform event, posted message, due timer, painting).
  // False when there was nothing to do. WM_QUIT sets QuitRequested.
  bool ProcessMessage();
  // Work that is not input: posted messages, due timers (one each). Used by
  // loops that read input themselves.
  bool ProcessNonInput();
  // Waits for the next platform event or the next due timer.
  void WaitMessage();
  // Next platform event for a loop that reads input itself (waits at most
  // until the next timer is due).
  bool NextPlatformEvent(TPlatformEvent& ev, bool wait);
  bool QuitRequested() const { return quit_; }
  int QuitCode() const { return quitCode_; }
  void ClearQuit() { quit_ = false; }
  void RequestQuit(int code) { quit_ = true; quitCode_ = code; }

  // ---- input
  void HandlePlatformEvent(const TPlatformEvent& ev);
  void HandleMouse(const TPlatformEvent& ev);
  void HandleKey(const TPlatformEvent& ev);
  void HandleText(const TPlatformEvent& ev);
  HWND capture = nullptr;
  HWND focus = nullptr;
  HWND active = nullptr;
  // Kept for the controls: the graphic control holding the capture, and the
  // control under the pointer (enter/leave).
  TWeakRef captureControl;
  TWeakRef mouseControl;
  HCURSOR cursor = nullptr;
  uint32_t keysDown[8] = {};            // bit per VK code
  bool inMoveSizeLoop = false;
  bool shuttingDown = false;   // no activation hand-over while everything goes
  int modalLevel = 0;

  HWND SetCaptureInternal(HWND w);
  void ReleaseCaptureInternal();
  HWND SetFocusInternal(HWND w);
  void Activate(TWindowNode* top, int how);
  void Deactivate(TWindowNode* top, TWindowNode* newActive);
  static bool CanActivate(const TWindowNode* top);
  void ApplyCursor();
  // Tells the controls (WindowSystemHooks().pointerOver) which window the
  // pointer is over.
  void UpdateMouseControl(TPoint screen);
  void SetTracking(const TTrackMouseEvent& tme);
  // Deletes c at the start of the next ProcessMessage.
  void DeferDelete(TComponent* c);
  // Runs fn at the start of a later ProcessMessage (work that may run user
  // code, asked for where that is unsafe: inside a window's destruction).
  void DeferCall(std::function<void()> fn);
  // Forget every reference to a control that goes away.
  void ControlDestroyed(const TComponent* c);

  // ---- watchers of sent messages
  // Told of every message SendMessage delivers, just before the window gets
  // it (popups that close when another window of the application moves).
  // A watcher must not free windows from inside the call: it may post.
  using TSendWatcher = std::function<void(HWND hwnd, uint32_t msg)>;
  int AddSendWatcher(TSendWatcher watcher);
  void RemoveSendWatcher(int id);
  void NotifySend(HWND hwnd, uint32_t msg);

  // Resets everything (tests): no windows may be alive.
  void Reset();

 private:
  struct TTracking {
    HWND hwnd = nullptr;
    bool nonClient = false;
  };
  void CheckTracking(HWND hwnd, bool inClient);
  bool DispatchPosted();
  bool DispatchTimer();
  void DispatchTo(HWND hwnd, uint32_t msg, WPARAM w, LPARAM l);
  bool PreProcessKey(HWND target, uint32_t msg, WPARAM key, LPARAM l);
  bool PreProcessChar(HWND target, uint32_t msg, WPARAM ch, LPARAM l);
  void PaintTree(TWindowNode* w);
  int NextTimerTimeout() const;

  THandleTable handles_;
  std::vector<TWindowNode*> topLevels_;   // bottom to top
  std::deque<TPostedMessage> posted_;
  std::vector<TTimerRecord> timers_;
  uintptr_t nextTimerId_ = 0x7000;
  std::deque<TPlatformEvent> pendingEvents_;
  std::vector<TTracking> tracking_;
  struct TLastClick {
    HWND hwnd = nullptr;
    uint32_t msg = 0;
    uint64_t time = 0;
    TPoint pos;
    bool valid = false;
  } lastClick_;
  struct TDCRecord {
    std::unique_ptr<TCanvas> canvas;
    HWND top;
  };
  std::vector<TDCRecord> dcs_;
  std::vector<TWeakRef> deferred_;
  std::deque<std::function<void()>> deferredCalls_;
  std::vector<std::pair<int, TSendWatcher>> sendWatchers_;
  int nextSendWatcher_ = 1;
  bool quit_ = false;
  int quitCode_ = 0;
};

TWindowSystem& WindowSystem();

// Move and size loops (DefWindowProc's SC_MOVE / SC_SIZE): sizeEdge 0 moves,
// WMSZ_* sizes from that edge.
void RunMoveSizeLoop(TWindowNode* w, int sizeEdge);

// Default frame geometry of a style: the widths of the four non-client sides.
TRect DefaultFrameInsets(uint32_t style, uint32_t exStyle);
// Default minimum and maximum tracking sizes (WM_GETMINMAXINFO before the
// window changes them).
TMinMaxInfo DefaultMinMaxInfo(TWindowNode* w);

}  // namespace qz
