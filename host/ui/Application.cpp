#include "host/ui/Application.h"

#include <algorithm>

#include "host/ui/WindowSystem.h"

namespace qz {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
// Created on first use so that forms made without Initialize still work.
struct TGlobals {
  TGlobals() {
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
  }
};
TGlobals& Globals() {
  static TGlobals g;
  return g;
}
[[maybe_unused]] const bool kGlobalsMade = (Globals(), true);
}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
  hints_.reset();  // its timers go before the windows it names
  if (Application == this) Application = nullptr;
}

void TApplication::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == mainForm_) mainForm_ = nullptr;
}

void TApplication::SetShowHint(bool v) {
  if (v == showHint_) return;
  showHint_ = v;
  if (!v) hints_->ResetWindow();
}

void TApplication::Run() {
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

bool TApplication::ProcessMessage() {
  auto& ws = WindowSystem();
  bool did = ws.ProcessMessage();
  if (ws.QuitRequested()) {
    terminated_ = true;
    exitCode_ = ws.QuitCode();
    ws.ClearQuit();
  }
  return did;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::Idle() {
  bool done = true;
  if (OnIdle) OnIdle(this, done);
  UpdateActions();
}

void TApplication::HandleMessage() {
  if (ProcessMessage()) return;
  Idle();
  if (terminated_) return;
  // Idle work may have produced messages; wait only when nothing is left.
  if (ProcessMessage()) return;
  WindowSystem().WaitMessage();
}

bool TApplication::HelpContext(int context) {
  if (!OnHelp) return false;
  bool callHelp = true;
  return OnHelp(kHelpCommandContext, context, callHelp);
}

void TApplication::Minimize() {
  for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->HandleAllocated() && IsWindowVisible(f)) ShowWindow(f, SW_MINIMIZE);
  }
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->HandleAllocated() && IsIconic(f)) ShowWindow(f, SW_RESTORE);
  }
  if (OnRestore) OnRestore(this);
}

void TApplication::ResetForTesting(std::unique_ptr<IPlatform> platform) {
  Globals();
  WindowSystem().shuttingDown = true;
  delete Application;  // owns the forms made with CreateForm / new TForm(Application)
  Application = nullptr;
  // Forms without an owner (and other top-level windows) go too.
  while (Screen && Screen->FormCount() > 0) delete Screen->Forms(Screen->FormCount() - 1);
  for (TWinControl* w : TopLevelControls()) delete w;
  delete Screen;
  WindowSystem().Reset();
  SetPlatform(std::move(platform));
  Screen = new TScreen(nullptr);
  Application = new TApplication(nullptr);
}

// ------------------------------------------------------------------ TScreen

void TScreen::RemoveForm(TCustomForm* f) { forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end()); }

TCustomForm* TScreen::ActiveForm() const {
  return As<TCustomForm>(WindowControl(GetActiveWindow()));
}

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* f = ActiveForm();
  return f ? f->ActiveControl() : nullptr;
}

int TScreen::MonitorCount() const { return static_cast<int>(Platform().Monitors().size()); }

TMonitor TScreen::Monitors(int i) const {
  auto list = Platform().Monitors();
  TMonitor m;
  if (i < 0 || i >= static_cast<int>(list.size())) return m;
  m.MonitorNum = i;
  m.BoundsRect = list[i].bounds;
  m.WorkareaRect = list[i].workArea;
  m.Primary = list[i].primary;
  return m;
}

TMonitor TScreen::PrimaryMonitor() const {
  auto list = Platform().Monitors();
  for (int i = 0; i < static_cast<int>(list.size()); ++i)
    if (list[i].primary) return Monitors(i);
  return Monitors(0);
}

TMonitor TScreen::MonitorFromWindow(HWND w) const {
  return Monitors(static_cast<int>(::qz::MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST)) - 1);
}
TMonitor TScreen::MonitorFromPoint(TPoint p) const {
  return Monitors(static_cast<int>(::qz::MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST)) - 1);
}
TMonitor TScreen::MonitorFromRect(const TRect& r) const {
  return Monitors(static_cast<int>(::qz::MonitorFromRect(r, MONITOR_DEFAULTTONEAREST)) - 1);
}

TRect TScreen::DesktopRect() const {
  TRect r;
  for (auto& m : Platform().Monitors()) r = UnionRect(r, m.bounds);
  return r;
}

void TScreen::SetCursor(TCursor c) {
  cursor_ = c;
  if (c != crDefault) ::qz::SetCursor(CursorHandle(c));
}

TPoint TScreen::CursorPos() const { return Platform().CursorPos(); }

}  // namespace qz
