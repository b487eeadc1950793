// Tooltips: the hint window and the timing that shows it.
//
// The pointer resting on a control whose ShowHint is on (set, or inherited
// through ParentShowHint) and whose Hint is not empty opens a hint window
// below the cursor after TApplication::HintPause. It closes on a click, a
// key, when the pointer leaves the control, or after HintHidePause; once
// closed by the user or the timeout it stays closed until the pointer moves
// on to another control. Moving straight from a shown hint to the next
// hinted control opens that one after the shorter HintShortPause.
//
// Only the part of Hint before "|" is shown (the short hint). A skin takes
// over the look through TApplication::HintWindowClass (a factory) and adjusts
// each hint through TApplication::OnShowHint.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/ui/Controls.h"

namespace qz {

class THintWindow;

// The short hint: the text before the first "|" (the whole text without one).
std::string GetShortHint(const std::string& hint);
// The long hint: the text after the first "|" (the whole text without one).
std::string GetLongHint(const std::string& hint);

// Height of the drawn part of the arrow cursor: hints open this far below
// the pointer so the cursor does not cover their first line.
constexpr int kCursorVisibleHeight = 20;

// What the application is about to show; OnShowHint may change any of it.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;           // screen position of the window's top-left corner
  int HintMaxWidth = 0;     // 0: no wrapping
  std::string HintStr;
  int HideTimeout = 0;      // ms; 0 or less: the application's HintHidePause
};

using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using THintWindowFactory = std::function<THintWindow*(TComponent* owner)>;

// The rectangle a hint of `size` takes when its top-left corner is asked
// for at `pos`: moved left by its width + 2 when it would pass the right edge
// of `workArea`, up by its height + 2 when it would pass the bottom.
TRect PlaceHintRect(TPoint pos, TSize size, const TRect& workArea);
// The work area of the monitor holding the point (WorkAreaNear, kept under
// the name the hint code and its callers use).
TRect HintWorkArea(TPoint screen);

// The plain hint window: a top-most popup that is never activated, filled
// with the info background colour inside a 1-pixel frame in the button
// shadow colour, the text in the info text colour 2 pixels in.
class THintWindow : public TCustomControl {
  QZ_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* AOwner);

  static constexpr int kMargin = 2;
  // The window's rectangle for `hint` with its top-left at (0, 0).
  virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
  // Shows the hint at `rect` (screen) without taking the activation.
  virtual void ActivateHint(const TRect& rect, const std::string& hint);
  // Hides the window; it stays for the next hint.
  virtual void ReleaseHint();
  // True while the hint shows.
  bool IsShowing() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  // Text drawing flags of the plain look (measure and paint alike).
  static constexpr uint32_t kTextFlags = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
};

// The application's hint timing, driven by the mouse and key messages of
// every control. Owned by the application; see the file comment.
class THintController {
 public:
  THintController() = default;
  ~THintController();
  THintController(const THintController&) = delete;
  THintController& operator=(const THintController&) = delete;

  // A mouse message reached `control` (WM_MOUSEMOVE or a button press).
  void MouseMessage(TControl* control, uint32_t msg);
  // The pointer left `control`.
  void MouseLeft(TControl* control);
  // A click or key: the hint closes and stays closed on this control.
  void Cancel();
  // `control` goes away: a hint of it closes.
  void ControlGone(TControl* control);
  // Drops the hint window so the next hint makes one of the current class.
  void ResetWindow();

  // The window in use (null until the first hint).
  THintWindow* Window() const { return window_.Get(); }
  // The control the pointer rests on (null when none).
  TControl* HintControl() const { return control_.Get(); }
  bool ShowPending() const { return timer_ != 0 && waitingToShow_; }

 private:
  void StartTimer(unsigned ms, bool toShow);
  void StopTimer();
  void TimerFired();
  void ShowNow();
  void HideWindow();
  THintWindow* EnsureWindow();

  // Under the pointer. A hint closed by a click, a key or the timeout is
  // not armed again until the pointer moves on to another control.
  TComponentRef<TControl> control_;
  TComponentRef<THintWindow> window_;
  uintptr_t timer_ = 0;
  bool waitingToShow_ = false;
  uint64_t reshowUntil_ = 0;  // clock time until which the short pause applies
};

}  // namespace qz
