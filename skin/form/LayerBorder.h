// Layered windows around a skinned form: the layered border (four
// per-pixel-alpha windows drawn from the skin's layer frame, glued to the
// form) and the glow layer that fades in under a hovered caption button.
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
  // Full-border frames: draws the caption, caption buttons and quick buttons
  // with their alpha layers into the top strip before it is shown. The strip
  // is the frame's width, its origin the frame's top-left, its pixels carry
  // straight (not premultiplied) alpha. Nothing by default.
  virtual void DrawFullBorderObjects(TqzBitmap& topStrip, bool active) {
    (void)topStrip;
    (void)active;
  }
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

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// One glow window at a time, fading in over 25 ms steps.
class TqzLayerManager {
 public:
  TqzLayerManager();
  ~TqzLayerManager();
  TqzLayerManager(const TqzLayerManager&) = delete;
  TqzLayerManager& operator=(const TqzLayerManager&) = delete;

  bool TopMost = true;
  void ShowLayer(int x, int y, uint8_t alpha, const TBitmap* mask, const TBitmap& picture);
  void HideLayer();
  bool Shown() const;
  // The glow window (null when none) and the opacity it shows now.
  HWND Window() const;
  uint8_t Opacity() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qz
