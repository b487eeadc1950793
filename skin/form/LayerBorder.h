// The layered border around a skinned form: four per-pixel-alpha windows
// drawn from the skin's layer frame, glued to the form. The glow layer under
// a hovered caption button is skin/controls/LayerManager.h.
#pragma once

#include <cstdint>
#include <memory>

#include "host/base/Types.h"
#include "host/base/WindowHandle.h"

namespace qz {

class TBitmap;
class TCustomForm;
class TqzBitmap;
class TqzSkinData;

// The four windows of a layered border.
enum class TqzBorderSide { Top, Bottom, Left, Right };

// What the layered border needs from the form it decorates.
class TqzLayerBorderOwner {
 public:
  virtual ~TqzLayerBorderOwner() = default;
  virtual TCustomForm& BorderForm() const = 0;
  virtual bool FormActive() const = 0;
  virtual bool RolledUp() const = 0;
  virtual bool Minimized() const = 0;
  virtual bool IsMainForm() const = 0;
  // The form may carry a border at all: skinnable, bordered or in client
  // mode, not an MDI child.
  virtual bool LayeredBorderAllowed() const = 0;

  // ---- Full-border frames: the frame's objects live on the top window ----
  // Object coordinates there are those of the outer window: the form's
  // bounds enlarged by the border's extents, the rectangle a frame with a
  // caption would have.

  // Draws the caption (with its quick buttons and tabs) and the caption
  // buttons with their alpha layers into the top strip before it is shown.
  // The strip is the frame's width, its pixels carry straight (not
  // premultiplied) alpha; `outerOrigin` is where the outer window's (0, 0)
  // lies in it. Nothing by default.
  virtual void DrawFullBorderObjects(TqzBitmap& topStrip, TPoint outerOrigin, bool active) {
    (void)topStrip;
    (void)outerOrigin;
    (void)active;
  }
  // The object at an outer-window point: its index (-1 for none), whether
  // it is a caption object, and whether the point drags the caption (a
  // caption's point not on one of its quick buttons or tabs).
  struct TObjectHit {
    int Index = -1;
    bool Caption = false;
    bool CaptionDrag = false;
  };
  virtual TObjectHit FullBorderObjectAt(TPoint outer) const {
    (void)outer;
    return {};
  }
  // The mouse on the object `index` (outer-window coordinates). Each call
  // may run user code that frees the form, its border and its windows.
  enum class TObjectMouse { Enter, Leave, Move, LeftDown, LeftUp, RightDown, RightUp, DblClick };
  virtual void FullBorderObjectMouse(int index, TObjectMouse event, TPoint outer) {
    (void)index;
    (void)event;
    (void)outer;
  }
  // The form was deactivated: the caption buttons and quick buttons lose
  // their hot and pressed looks (the border has let go of its objects).
  virtual void FullBorderDeactivated() {}
};

class TqzFormLayerBorder {
 public:
  explicit TqzFormLayerBorder(TqzLayerBorderOwner& owner);
  ~TqzFormLayerBorder();
  TqzFormLayerBorder(const TqzFormLayerBorder&) = delete;
  TqzFormLayerBorder& operator=(const TqzFormLayerBorder&) = delete;

  // Takes the skin's layer frame (none for an empty skin or pictureindex -1).
  void SetSkin(TqzSkinData* skin);
  bool Used() const;        // a frame, the skin data allows it, the form allows it, not suspended
  bool Visible() const;
  bool FullBorder() const;  // Used() and the frame draws the caption too
  // Distance from the frame's borderrect to its clientrect on each side.
  TRect Extents() const;    // Left, Top, Right, Bottom as widths

  void Show();
  void Hide();
  void Update();                                       // at the form's position
  void MoveTo(int left, int top, int height, int width);  // during size and move
  void SetPosition(int left, int top);
  void SetAlpha(int value, bool update);               // 0..255 of the frame's opacities
  void SetActive(bool active, bool update);
  void Suspend();
  void Resume();  // shows the border again when the form is visible

  // The rectangle of the whole frame around a form with these bounds
  // (screen coordinates); empty without a layer frame.
  TRect FrameRect(const TRect& formBounds) const;
  // Distance from the frame's hit-test rect (its border rect when it has
  // one) to its client rect on each side: the sizing band around the form.
  TRect HitExtents() const;
  // The opacity the windows show now (active or inactive).
  uint8_t Opacity() const;
  // The window of one side; null while hidden or not created.
  HWND Window(TqzBorderSide side) const;
  // True while a press on the border runs the form's size or move loop.
  bool SizingForm() const;
  // Full-border frames: the object under the mouse on the top window and
  // the one pressed there (indexes of the owner's objects, -1 for none),
  // and whether the 500 ms watch for the mouse leaving the top window runs.
  int HotObject() const;
  int PressedObject() const;
  bool HotWatchRunning() const;
  // Where the outer window's (0, 0) lies on the screen for a form at
  // `formBounds` (the form's top-left less the extents).
  TPoint OuterOrigin(const TRect& formBounds) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qz
