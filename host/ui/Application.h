// The application object (message loop, main form, idle processing) and the
// screen (forms, monitors, cursors).
//
// Tests start clean with TApplication::ResetForTesting(platform): every form
// is destroyed, the window system forgets its state and the platform is
// replaced (e.g. a fresh THeadlessPlatform). Driving a headless test:
//   auto p = std::make_unique<THeadlessPlatform>(); auto* hp = p.get();
//   TApplication::ResetForTesting(std::move(p));
//   auto* f = new TForm(Application); f->SetBounds(...); f->Show();
//   Application->ProcessMessages();          // paints and presents
//   hp->InjectClick({x, y}); Application->ProcessMessages();
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/platform/Platform.h"
#include "host/ui/Forms.h"
#include "host/ui/HintWindow.h"

namespace qz {

using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
// A help request: the command (kHelpCommandContext for a topic number), its
// data (the topic) and whether the program's own help should run after the
// handler. Answers whether the handler dealt with it.
using THelpEvent = std::function<bool(uint16_t Command, intptr_t Data, bool& CallHelp)>;
inline constexpr uint16_t kHelpCommandContext = 1;

class TApplication : public TComponent {
  QZ_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize() {}
  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& ref) {
    ref = new T(this);
    if (!mainForm_) mainForm_ = ref;
  }
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* f) { mainForm_ = f; }

  // Shows the main form and processes messages until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ResetTerminated() { terminated_ = false; }
  // Processes everything waiting (input, posted messages, due timers, painting).
  void ProcessMessages();
  // One message, or idle processing and a wait when there is none.
  void HandleMessage();
  bool ProcessMessage();

  void Minimize();
  void Restore();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }
  bool ShowHint() const { return showHint_; }
  // Switching hints off drops the hint window; the next hint makes one of
  // the current HintWindowClass.
  void SetShowHint(bool v);
  // Hint timing in ms (see host/ui/HintWindow.h).
  int HintPause() const { return hintPause_; }
  void SetHintPause(int v) { hintPause_ = v; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int v) { hintHidePause_ = v; }
  int HintShortPause() const { return hintShortPause_; }
  void SetHintShortPause(int v) { hintShortPause_ = v; }
  // Makes the hint window (null: the plain THintWindow).
  THintWindowFactory HintWindowClass;
  TShowHintEvent OnShowHint;
  // Closes a shown or pending hint (as a click does).
  void CancelHint() { hints_->Cancel(); }
  THintController& Hints() { return *hints_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool v) { showMainForm_ = v; }
  int ExitCode() const { return exitCode_; }

  TNotifyEvent OnMinimize, OnRestore, OnActivate, OnDeactivate;
  TIdleEvent OnIdle;

  // Asks for the help topic `context`: raises OnHelp. The application has
  // no help viewer of its own, so without a handler nothing happens (no
  // error, no window). True when the handler dealt with the request.
  bool HelpContext(int context);
  THelpEvent OnHelp;

  // Destroys every form and component of the application, resets the window
  // system and installs `platform` (the headless one for tests).
  static void ResetForTesting(std::unique_ptr<IPlatform> platform);

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  void Idle();
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  int hintShortPause_ = 50;
  std::unique_ptr<THintController> hints_ = std::make_unique<THintController>();
  bool showMainForm_ = true;
  int exitCode_ = 0;
  std::string title_;
};

struct TMonitor {
  int MonitorNum = 0;
  TRect BoundsRect;
  TRect WorkareaRect;
  bool Primary = false;
  int Left() const { return BoundsRect.Left; }
  int Top() const { return BoundsRect.Top; }
  int Width() const { return BoundsRect.Width(); }
  int Height() const { return BoundsRect.Height(); }
};

class TScreen : public TComponent {
  QZ_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int i) const { return forms_[i]; }
  TCustomForm* ActiveForm() const;
  TWinControl* ActiveControl() const;
  int MonitorCount() const;
  TMonitor Monitors(int i) const;
  TMonitor PrimaryMonitor() const;
  TMonitor MonitorFromWindow(HWND w) const;
  TMonitor MonitorFromPoint(TPoint p) const;
  TMonitor MonitorFromRect(const TRect& r) const;
  int Width() const { return PrimaryMonitor().Width(); }
  int Height() const { return PrimaryMonitor().Height(); }
  TRect WorkAreaRect() const { return PrimaryMonitor().WorkareaRect; }
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  TRect DesktopRect() const;
  // An override for every window while not crDefault.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  HCURSOR Cursors(TCursor c) const { return CursorHandle(c); }
  TPoint CursorPos() const;

  void AddForm(TCustomForm* f) { forms_.push_back(f); }
  void RemoveForm(TCustomForm* f);

 private:
  std::vector<TCustomForm*> forms_;
  TCursor cursor_ = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;

}  // namespace qz
