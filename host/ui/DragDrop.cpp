// The drag engine: one session, driven by the window system's input and
// by TControl's drag methods. Every call into user code is followed by a
// check that the drag is still the same one (the generation) and that its
// source and object still live.
#include "host/ui/DragDrop.h"

#include <cstdlib>
#include <memory>

#include "host/platform/Platform.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/WindowSystemHooks.h"
#include "host/ui/Windows.h"

namespace qz {

namespace {

enum class TPhase { Idle, Pending, Running };

struct TSession {
  TPhase phase = TPhase::Idle;
  TComponentRef<TControl> source;
  TDragObject* object = nullptr;             // the source's, or `own`
  std::weak_ptr<int> objectAlive;
  std::unique_ptr<TDragControlObject> own;
  TComponentRef<TControl> target;
  bool accepted = false;
  TPoint start, last;                        // screen
  int threshold = 0;
  HWND captureWindow = nullptr;
  TControl* captureControl = nullptr;        // a graphic source's capture
  bool tookCapture = false;                  // the source held none before
  bool lost = false;                         // capture gone, cancel queued
};

TSession& Session() {
  static TSession session;
  return session;
}
// Bumped whenever a drag begins or ends: user code that returns to an
// older generation finds its drag over.
unsigned generation = 0;
// Set while the engine itself moves the capture.
bool changingCapture = false;

class TOwnCaptureChange {
 public:
  TOwnCaptureChange() : old_(changingCapture) { changingCapture = true; }
  ~TOwnCaptureChange() { changingCapture = old_; }
  TOwnCaptureChange(const TOwnCaptureChange&) = delete;
  TOwnCaptureChange& operator=(const TOwnCaptureChange&) = delete;

 private:
  bool old_;
};

bool Alive(const TDragObject* object, const std::weak_ptr<int>& alive) {
  return object && !alive.expired();
}

// What handlers see as Source: a control drag object whose control is gone
// gives null.
TObject* SourceOf(TDragObject* object, const std::weak_ptr<int>& alive, TControl* source) {
  if (!Alive(object, alive)) return source;
  if (TControl* c = object->Control()) return c;
  return Is<TDragControlObject>(object) ? nullptr : object;
}

TObject* CurrentSource() {
  TSession& s = Session();
  return SourceOf(s.object, s.objectAlive, s.source.Get());
}

void Clear() {
  Session() = TSession{};
  ++generation;
}

bool TakeCapture(TControl* source) {
  TSession& s = Session();
  TWindowSystem& ws = WindowSystem();
  s.tookCapture = !source->MouseCapture();
  {
    TOwnCaptureChange own;
    source->SetMouseCapture(true);
  }
  s.captureWindow = ws.capture;
  s.captureControl = static_cast<TControl*>(ws.captureControl.Get());
  return ws.capture != nullptr;
}

void DropCapture() {
  TSession& s = Session();
  TWindowSystem& ws = WindowSystem();
  if (!s.captureWindow || ws.capture != s.captureWindow) return;
  if (s.captureControl && ws.captureControl.Get() != s.captureControl) return;
  TOwnCaptureChange own;
  ReleaseCapture();
}

bool CaptureHeld() {
  const TSession& s = Session();
  const TWindowSystem& ws = WindowSystem();
  if (!s.captureWindow || ws.capture != s.captureWindow || !ws.IsLive(s.captureWindow)) return false;
  return !s.captureControl || ws.captureControl.Get() == s.captureControl;
}

// After the pointer leaves a drag, the window under it sets the cursor as
// on any move.
void RestoreCursor(TPoint screen) {
  TWinControl* w = As<TWinControl>(WindowSystem().WindowAtPoint(screen));
  if (!w) {
    ::qz::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return;
  }
  const HWND h = w->Handle();
  const LRESULT hit = SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y));
  SendMessage(h, WM_SETCURSOR, static_cast<WPARAM>(h.Value()),
              MAKELPARAM(static_cast<int>(hit), WM_MOUSEMOVE));
}

void Finish(bool drop);

// After user code: whether the running drag of generation `gen` goes on.
// One whose source or object went is cancelled here.
bool Continue(unsigned gen) {
  TSession& s = Session();
  if (generation != gen || s.phase != TPhase::Running) return false;
  if (s.source && (!s.object || Alive(s.object, s.objectAlive))) return true;
  Finish(false);
  return false;
}

void UpdateCursor() {
  TSession& s = Session();
  TCursor cursor = crNoDrop;
  if (Alive(s.object, s.objectAlive)) {
    const bool accepted = s.accepted && s.target;
    const TPoint p = s.target ? s.target->ScreenToClient(s.last) : s.last;
    cursor = s.object->GetDragCursor(accepted, p.X, p.Y);
  }
  ::qz::SetCursor(CursorHandle(cursor));
}

// Tells a target of the drag; answers its Accept.
bool Tell(TControl* target, TDragState state) {
  bool accept = false;
  const TPoint p = target->ScreenToClient(Session().last);
  target->DragOver(CurrentSource(), p.X, p.Y, state, accept);
  return accept;
}

void MoveTo(TPoint screen) {
  TSession& s = Session();
  const unsigned gen = generation;
  s.last = screen;
  TControl* now = TDragEngine::FindTarget(screen);
  if (now == s.target.Get()) {
    if (now) {
      const bool accept = Tell(now, dsDragMove);
      if (!Continue(gen)) return;
      s.accepted = accept && s.target == now;
    }
  } else {
    TComponentRef<TControl> old = s.target.Get();
    s.target = now;
    s.accepted = false;
    if (old) {
      Tell(old.Get(), dsDragLeave);
      if (!Continue(gen)) return;
    }
    if (now && s.target == now) {
      const bool accept = Tell(now, dsDragEnter);
      if (!Continue(gen)) return;
      s.accepted = accept && s.target == now;
    }
  }
  UpdateCursor();
}

void Start() {
  TSession& s = Session();
  const unsigned gen = generation;
  s.phase = TPhase::Running;
  TControl* source = s.source.Get();
  // The press that began the drag is no click any more.
  TControlState state = source->ControlState();
  state.Exclude(csClicked);
  source->SetControlState(state);
  TDragObject* handed = nullptr;
  source->DoStartDrag(handed);
  if (!Continue(gen)) return;
  if (!handed) {
    s.own = std::make_unique<TDragControlObject>(source);
    handed = s.own.get();
  }
  s.object = handed;
  s.objectAlive = TDragEngine::Bind(*handed, source);
  MoveTo(s.last);
}

void EndPending() {
  TSession& s = Session();
  if (s.tookCapture) DropCapture();
  Clear();
}

// Ends the drag, then tells the target and the source.
void Finish(bool drop) {
  TSession& s = Session();
  if (s.phase != TPhase::Running) {
    if (s.phase == TPhase::Pending) EndPending();
    return;
  }
  TComponentRef<TControl> source = s.source.Get();
  TComponentRef<TControl> target = s.target.Get();
  const bool accepted = drop && s.accepted && target;
  const std::unique_ptr<TDragControlObject> own = std::move(s.own);
  TDragObject* const object = s.object;
  const std::weak_ptr<int> objectAlive = s.objectAlive;
  const TPoint pos = s.last;
  DropCapture();
  Clear();
  RestoreCursor(pos);

  auto sourceObject = [&] { return SourceOf(object, objectAlive, source.Get()); };
  if (target) {
    bool ignored = false;
    const TPoint p = target->ScreenToClient(pos);
    target->DragOver(sourceObject(), p.X, p.Y, dsDragLeave, ignored);
  }
  if (accepted && target) {
    const TPoint p = target->ScreenToClient(pos);
    target->DragDrop(sourceObject(), p.X, p.Y);
  }
  if (!source) return;
  TControl* const dropTarget = accepted ? target.Get() : nullptr;
  const TPoint p = dropTarget ? dropTarget->ScreenToClient(pos) : source->ScreenToClient(pos);
  source->DoEndDrag(dropTarget, p.X, p.Y);
}

bool PendingInput(const TPlatformEvent& ev) {
  TSession& s = Session();
  if (ev.kind == TPlatformEventKind::MouseUp && ev.button == TMouseButtonId::Left) {
    EndPending();
    return false;
  }
  if (ev.kind != TPlatformEventKind::MouseMove) return false;
  if (!Platform().MouseButtonDown(TMouseButtonId::Left)) {
    EndPending();
    return false;
  }
  const TPoint d = ev.screenPos - s.start;
  if (std::abs(d.X) <= s.threshold && std::abs(d.Y) <= s.threshold) return false;
  s.last = ev.screenPos;
  Start();
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// TDragObject

TCursor TDragObject::GetDragCursor(bool Accepted, int, int) const {
  if (!Accepted) return crNoDrop;
  const TControl* c = Control() ? Control() : DragSource();
  return c ? c->DragCursor() : crDrag;
}

// ---------------------------------------------------------------------------
// TDragEngine

bool TDragEngine::HandleMouse(const TPlatformEvent& ev) {
  TSession& s = Session();
  if (s.phase == TPhase::Idle || s.lost) return false;
  if (!s.source) {
    Finish(false);
    return false;
  }
  if (s.phase == TPhase::Pending) return PendingInput(ev);
  switch (ev.kind) {
    case TPlatformEventKind::MouseMove:
      MoveTo(ev.screenPos);
      return true;
    case TPlatformEventKind::MouseUp:
      if (ev.button == TMouseButtonId::Left) {
        const unsigned gen = generation;
        if (ev.screenPos != s.last) MoveTo(ev.screenPos);
        if (generation == gen) Finish(true);
      }
      return true;
    case TPlatformEventKind::MouseDown:
      return true;
    default:
      return false;
  }
}

bool TDragEngine::HandleKey(int vk, bool down) {
  const TSession& s = Session();
  if (s.phase != TPhase::Running || s.lost || !down || vk != VK_ESCAPE) return false;
  Finish(false);
  return true;
}

void TDragEngine::CaptureChanged() {
  TSession& s = Session();
  if (s.phase == TPhase::Idle || s.lost || changingCapture || CaptureHeld()) return;
  if (s.phase == TPhase::Pending) {
    Clear();
    return;
  }
  // Possibly inside a window's destruction: the handlers run later.
  s.lost = true;
  const unsigned gen = generation;
  WindowSystem().DeferCall([gen] {
    if (generation == gen) Finish(false);
  });
}

void TDragEngine::Reset() {
  Session() = TSession{};
  ++generation;
  changingCapture = false;
}

TControl* TDragEngine::Source() {
  const TSession& s = Session();
  return s.phase == TPhase::Idle ? nullptr : s.source.Get();
}

bool TDragEngine::Running() { return Session().phase == TPhase::Running; }

TControl* TDragEngine::Target() { return Running() ? Session().target.Get() : nullptr; }

bool TDragEngine::Accepted() { return Running() && Session().accepted && Session().target; }

void TDragEngine::Begin(TControl* source, bool immediate, int threshold) {
  TSession& s = Session();
  if (!source || source->DragKind() == dkDock) return;
  if (s.phase == TPhase::Pending && s.source == source) {
    // The source's own press handler asks for more than the automatic drag.
    if (immediate) Start();
    else if (threshold >= 0) s.threshold = threshold;
    return;
  }
  if (s.phase != TPhase::Idle) return;
  Clear();
  s.phase = TPhase::Pending;
  s.source = source;
  GetCursorPos(s.start);
  s.last = s.start;
  s.threshold = immediate ? 0 : threshold < 0 ? kDefaultDragThreshold : threshold;
  if (!TakeCapture(source)) {
    Clear();
    return;
  }
  if (immediate) Start();
}

void TDragEngine::End(bool drop) { Finish(drop); }

void TDragEngine::Cancel() { Finish(false); }

std::weak_ptr<int> TDragEngine::Bind(TDragObject& object, TControl* source) {
  object.source_ = source;
  return object.alive_;
}

TControl* TDragEngine::FindTarget(TPoint screen) {
  TWinControl* w = As<TWinControl>(WindowSystem().WindowAtPoint(screen));
  if (!w) return nullptr;
  TControl* g = w->ControlAtPos(w->ScreenToClient(screen), false, false);
  return g ? g : w;
}

// ---------------------------------------------------------------------------
// TControl's side

void TControl::BeginDrag(bool Immediate, int Threshold) { TDragEngine::Begin(this, Immediate, Threshold); }

void TControl::EndDrag(bool Drop) {
  if (TDragEngine::Source() == this) TDragEngine::End(Drop);
}

bool TControl::Dragging() const { return TDragEngine::Source() == this; }

void TControl::CancelDrag() { TDragEngine::Cancel(); }

void TControl::DoStartDrag(TDragObject*& DragObject) {
  if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = static_cast<bool>(OnDragOver);
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

// The window system hands the drag engine the mouse and keys first and
// tells it of capture changes and resets.
[[maybe_unused]] const bool kDragHooksInstalled = [] {
  TWindowSystemHooks& hooks = WindowSystemHooks();
  hooks.takesMouse = &TDragEngine::HandleMouse;
  hooks.takesKey = &TDragEngine::HandleKey;
  hooks.captureChanged = &TDragEngine::CaptureChanged;
  hooks.reset = &TDragEngine::Reset;
  return true;
}();

}  // namespace qz
