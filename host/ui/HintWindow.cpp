#include "host/ui/HintWindow.h"

#include <limits>

#include "host/ui/Application.h"
#include "host/ui/Windows.h"

namespace qz {

std::string GetShortHint(const std::string& hint) {
  const auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
  const auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

TRect PlaceHintRect(TPoint pos, TSize size, const TRect& workArea) {
  if (pos.X + size.cx > workArea.Right) pos.X -= size.cx + 2;
  if (pos.Y + size.cy > workArea.Bottom) pos.Y -= size.cy + 2;
  return {pos.X, pos.Y, pos.X + size.cx, pos.Y + size.cy};
}

TRect HintWorkArea(TPoint screen) { return WorkAreaNear(screen); }

// ---------------------------------------------------------------- THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  visible_ = false;
  color_ = clInfoBk;
  controlStyle_ = {csOpaque};
}

void THintWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.WindowClassStyle = CS_SAVEBITS | CS_DROPSHADOW;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
  TCanvas measure;
  measure.Font().Assign(Font());
  TRect text{0, 0, maxWidth > 0 ? maxWidth : std::numeric_limits<int>::max() / 2, 0};
  measure.DrawText(hint, text, DT_CALCRECT | kTextFlags);
  return {0, 0, text.Right + 2 * kMargin, text.Bottom + 2 * kMargin};
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
  text_ = hint;
  SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ReleaseHint() {
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

bool THintWindow::IsShowing() const { return HandleAllocated() && IsWindowVisible(HWND(this)); }

void THintWindow::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  canvas.Brush().SetColor(clInfoBk);
  canvas.FillRect(client);
  canvas.Brush().SetColor(clBtnShadow);
  canvas.FrameRect(client);
  canvas.Font().Assign(Font());
  canvas.Font().SetColor(clInfoText);
  canvas.SetBkMode(TRANSPARENT);
  TRect text = client;
  InflateRect(text, -kMargin, -kMargin);
  canvas.DrawText(Caption(), text, kTextFlags);
}

// ---------------------------------------------------------------- THintController

namespace {

bool HasHint(const TControl* control) {
  return control != nullptr && control->ShowHint() && !GetShortHint(control->Hint()).empty();
}

bool IsButtonPress(uint32_t msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

}  // namespace

THintController::~THintController() { StopTimer(); }

void THintController::MouseMessage(TControl* control, uint32_t msg) {
  if (IsButtonPress(msg)) {
    Cancel();
    return;
  }
  if (msg != WM_MOUSEMOVE || control == control_.Get()) return;
  const bool wasShowing = window_ && window_->IsShowing();
  HideWindow();
  StopTimer();
  const uint64_t now = GetTickCount64();
  if (wasShowing) reshowUntil_ = now + static_cast<uint64_t>(Application->HintPause());
  control_ = control;
  if (!Application->ShowHint() || !HasHint(control)) return;
  const bool browsing = now < reshowUntil_;
  StartTimer(static_cast<unsigned>(browsing ? Application->HintShortPause() : Application->HintPause()), true);
}

void THintController::MouseLeft(TControl* control) {
  if (control != control_.Get()) return;
  // Moving straight on from a shown hint opens the next one sooner.
  if (window_ && window_->IsShowing())
    reshowUntil_ = GetTickCount64() + static_cast<uint64_t>(Application->HintPause());
  HideWindow();
  StopTimer();
  control_ = nullptr;
}

void THintController::Cancel() {
  HideWindow();
  StopTimer();
  reshowUntil_ = 0;
}

void THintController::ControlGone(TControl* control) {
  if (control != control_.Get()) return;
  HideWindow();
  StopTimer();
  control_ = nullptr;
}

void THintController::ResetWindow() {
  StopTimer();
  delete window_.Get();
  window_ = nullptr;
}

void THintController::StartTimer(unsigned ms, bool toShow) {
  StopTimer();
  waitingToShow_ = toShow;
  timer_ = SetTimer(nullptr, 0, ms, [this](HWND, UINT, uintptr_t, DWORD) { TimerFired(); });
}

void THintController::StopTimer() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
  waitingToShow_ = false;
}

void THintController::TimerFired() {
  const bool toShow = waitingToShow_;
  StopTimer();
  if (toShow) {
    ShowNow();
    return;
  }
  // The hide pause ran out: closed until the pointer moves on.
  HideWindow();
  reshowUntil_ = 0;
}

THintWindow* THintController::EnsureWindow() {
  if (!window_) {
    const THintWindowFactory& factory = Application->HintWindowClass;
    THintWindow* made = factory ? factory(Application) : nullptr;
    window_ = made ? made : new THintWindow(Application);
  }
  return window_.Get();
}

void THintController::ShowNow() {
  TComponentRef<TControl> control = control_;
  if (!HasHint(control.Get()) || !Application->ShowHint()) return;
  TPoint cursor;
  GetCursorPos(cursor);
  THintInfo info;
  info.HintControl = control.Get();
  info.HintPos = {cursor.X, cursor.Y + kCursorVisibleHeight};
  info.HintStr = GetShortHint(control->Hint());
  bool canShow = true;
  if (Application->OnShowHint) {
    // User code: it may free the control or change the window class.
    TShowHintEvent handler = Application->OnShowHint;
    handler(info.HintStr, canShow, info);
    if (!control || control.Get() != control_.Get()) return;
  }
  if (!canShow || info.HintStr.empty()) return;
  TComponentRef<THintWindow> window = EnsureWindow();
  const TRect size = window->CalcHintRect(info.HintMaxWidth, info.HintStr);
  const TRect placed = PlaceHintRect(info.HintPos, {size.Width(), size.Height()}, HintWorkArea(info.HintPos));
  window->ActivateHint(placed, info.HintStr);
  if (!window) return;
  const int hide = info.HideTimeout > 0 ? info.HideTimeout : Application->HintHidePause();
  StartTimer(static_cast<unsigned>(hide), false);
}

void THintController::HideWindow() {
  if (window_) window_->ReleaseHint();
}

}  // namespace qz

