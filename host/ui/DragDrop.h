// Drag and drop between the controls of the application.
//
// One drag at a time. A drag begins on its source control (BeginDrag, or a
// left press on a control whose DragMode is dmAutomatic) and either starts
// at once or waits until the pointer has moved more than the threshold in
// x or y with the left button down; released before that, the press stays
// an ordinary click and no drag event fires. The source holds the mouse
// capture from BeginDrag to the end.
//
// Once started:
// - the source gets OnStartDrag, where it may hand over its own drag object
//   (it keeps owning it and must keep it alive until OnEndDrag);
// - the target is the deepest enabled control under the pointer, graphic
//   controls included (none over a window disabled by a modal loop). A new
//   target gets OnDragOver with dsDragEnter, the old one dsDragLeave, the
//   same one dsDragMove on every move. The last Accept decides the cursor:
//   the drag object's cursor (the source's DragCursor) while accepted,
//   crNoDrop otherwise;
// - releasing the left button drops: the target gets dsDragLeave, then
//   OnDragDrop when it accepted; the source then gets OnEndDrag with the
//   target (null when nothing accepted). Escape, EndDrag(false), CancelDrag
//   and the loss of the capture cancel: dsDragLeave to the target, then
//   OnEndDrag with a null target.
// The drag is over before those closing events fire, so their handlers may
// start another drag or run a modal loop. Every handler may free the source,
// the target or their form: a drag whose source (or drag object) is gone
// ends at once, a target that is gone is forgotten. OnEndDrag's X, Y are the
// target's client coordinates, or the source's without a target.
#pragma once

#include <memory>

#include "host/ui/Controls.h"

namespace qz {

struct TPlatformEvent;

// What a drag carries. Derive from it to carry data; the default cursor is
// the dragging control's DragCursor while a target accepts, else crNoDrop.
class TDragObject : public TObject {
  QZ_CLASS(TDragObject, TObject)
 public:
  TDragObject() = default;
  // The control handlers see as Source; null: they see the object itself.
  virtual TControl* Control() const { return nullptr; }
  // The cursor over the target at its client point (X, Y).
  virtual TCursor GetDragCursor(bool Accepted, int X, int Y) const;
  // The control that began the drag (null once it is gone).
  TControl* DragSource() const { return source_.Get(); }

 private:
  friend class TDragEngine;
  TComponentRef<TControl> source_;
  // Lets the engine notice the object's destruction.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// The object of a drag whose source hands over none: it carries the source.
class TDragControlObject : public TDragObject {
  QZ_CLASS(TDragControlObject, TDragObject)
 public:
  explicit TDragControlObject(TControl* Control) : control_(Control) {}
  TControl* Control() const override { return control_.Get(); }

 private:
  TComponentRef<TControl> control_;
};

// The drag in progress. The window system hands it input first.
class TDragEngine {
 public:
  // Pointer input (not the wheel); true when the drag took it.
  static bool HandleMouse(const TPlatformEvent& ev);
  // A key press; true when the drag took it (Escape).
  static bool HandleKey(int vk, bool down);
  // The capture moved: when it left the drag's window the drag is cancelled
  // (from the message loop, as it may happen while a window is destroyed).
  static void CaptureChanged();
  // Forgets any drag without events (tests reset the window system).
  static void Reset();

  // ---- state
  // The control whose drag waits for the threshold or runs (null: none).
  static TControl* Source();
  // Whether the drag has started (past the threshold).
  static bool Running();
  // The control under the pointer that the drag last told of (null: none).
  static TControl* Target();
  static bool Accepted();

  // ---- for TControl
  static void Begin(TControl* source, bool immediate, int threshold);
  static void End(bool drop);
  static void Cancel();

  // The finder of targets: the deepest enabled control at a screen point.
  static TControl* FindTarget(TPoint screen);
  // Ties a drag object to its drag: answers what tells of its destruction.
  static std::weak_ptr<int> Bind(TDragObject& object, TControl* source);
};

// The threshold of BeginDrag(false) with a negative threshold.
inline constexpr int kDefaultDragThreshold = 5;

}  // namespace qz
