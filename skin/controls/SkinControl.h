// The four base classes of every skinned control. They find the control's
// description in a skin by name, size the control by the description's
// stretch rules, paint through one off-screen bitmap (optionally blended over
// what lies under the control) and follow skin changes:
//
//   TqzSkinControl              windowed: skin link, paint pipeline, cursor,
//                               hint extras
//   TqzSkinCustomControl        + resizing description, size rules, window
//                               region from a mask, default font and size
//   TqzGraphicSkinControl       the same two layers for window-less controls
//   TqzGraphicSkinCustomControl (no window region)
//
// The two layers are written once, as TqzSkinControlFace and
// TqzSkinCustomFace over either framework base; the four classes add only
// what differs (the window region, erasing, moving).
//
// Subclasses override CreateControlSkinImage / CreateControlDefaultImage to
// draw their look into the bitmap they are given; the base takes care of
// when and where that bitmap reaches the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/base/Types.h"
#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/graphics/Font.h"
#include "host/graphics/Region.h"
#include "host/ui/Controls.h"
#include "skin/base/SkinMessages.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

class TqzSkinData;
class TqzDataSkinControl;
class TqzDataSkinCustomControl;
class TCustomImageList;

// ---------------------------------------------------------------------------
// The plain look's system colours, resolved to RGB.
TColor PlainFaceColor();       // button face: fills
TColor PlainHighlightColor();  // button highlight: lit edges
TColor PlainShadowColor();     // button shadow: frames and dark edges

// The default font of the resizable skinned controls: "Tahoma", height 13.
void SetSkinControlDefaultFont(TFont& font);

// A container that places the skinned controls inside it itself (the skinned
// tool bar centres them vertically while it adjusts its controls). The
// custom bases ask their parent through this on every SetBounds.
class IqzSkinControlPlacer {
 public:
  virtual ~IqzSkinControlPlacer() = default;
  // The top a child of `height` pixels gets when asked for `top`.
  virtual int PlaceChildTop(int top, int height) const = 0;
};

// ---------------------------------------------------------------------------
// What a resizable skinned control keeps of its description, the sizes it
// derives for its current extent, and the arithmetic the windowed and the
// graphic custom controls share.
class TqzSkinResizeState {
 public:
  // The description's geometry (copied by GetSkinData) as the composition
  // functions take it.
  const TqzSkinGeometry& Geometry() const { return Geom; }
  // The geometry carried to the current size as a record for W x H.
  TqzNewGeometry NewGeometry(int W, int H) const;

 protected:
  // Copies geometry, stretch fields and pictures from a description of the
  // skin; ResizeMode follows from the points.
  void CopyGeometry(const TqzDataSkinCustomControl& data, const TqzSkinData& skin);
  // A description of a class without geometry: fixed mode, no pictures.
  void ClearGeometry();
  // What GetSkinData of the custom bases takes from the description found
  // (null: none, no pictures); cursorIndex follows a resizable description.
  void TakeDescription(const TqzDataSkinControl* description, const TqzSkinData* skin,
                       int& cursorIndex);

  // The size rules for W x H (see CalcSize of the controls). `described`:
  // the control has a description.
  void CalcSizeRule(bool described, int& W, int& H);
  // A rectangle in description coordinates placed on a control of W x H.
  TRect CalcNewRectRule(const TRect& Rc, int W, int H) const;
  // Composes Picture into Bitmap (sized W x H) by ResizeMode.
  void ComposeSkinImage(TBitmap& Bitmap, int W, int H) const;
  // The frame-only paint: strips and client piece straight onto canvas.
  void PaintFrameOnly(TCanvas& canvas, int W, int H) const;
  // The region of MaskPicture for W x H by ResizeMode; none without a mask.
  std::optional<TRegion> BuildMaskRegion(int W, int H) const;

 public:
  // The description's geometry: SkinRect, the four corner points, the
  // client rectangle and the stretch fields.
  TqzSkinGeometry Geom;
  // -1 none, 0 fixed size, 1 nine-part, 2 horizontal, 3 vertical.
  int ResizeMode = -1;
  // The geometry carried to the current size (CalcSize); its Width and
  // Height are not kept.
  TqzNewGeometry NewGeom;
  // Pictures of the skin (not owned); null when the index names none.
  TBitmap* Picture = nullptr;
  TBitmap* MaskPicture = nullptr;
  // Paint only the border strips and the client piece (large panels).
  bool FrameOnlyPaint = false;
  // In the frame-only path, draw the client piece.
  bool FillClientArea = true;
};

// ---------------------------------------------------------------------------
// The skin link both windowed and graphic bases carry.
struct TqzSkinLinkState {
  TqzSkinData* skinData = nullptr;
  std::string skinDataName;
  std::string areaName;
  bool drawDefault = true;
  bool alphaBlend = false;
  uint8_t alphaBlendValue = 200;
  bool useSkinCursor = false;
  std::string hintTitle;
  int hintImageIndex = 0;
  TCustomImageList* hintImageList = nullptr;
  // The skin data last linked; only compared, to recognise its removal.
  const void* linkedSkin = nullptr;
};

// ---------------------------------------------------------------------------
// The face of a skinned control, written once for both framework bases
// (TCustomControl for the windowed pair, TGraphicControl for the window-less
// one): the skin link with its published properties, the description
// lookup, the off-screen paint and the skin-change operations.
//
// The virtual operations are listed in the order they were added to the
// class (a subclass overrides any of them by name; the order matters only
// for reading): the paint operation of the framework, then those below.
template <class Framework>
class TqzSkinControlFace : public Framework {
 public:
  explicit TqzSkinControlFace(TComponent* AOwner) : Framework(AOwner) {}

  // ---- published
  const std::string& HintTitle() const { return link_.hintTitle; }
  void SetHintTitle(const std::string& v) { link_.hintTitle = v; }
  int HintImageIndex() const { return link_.hintImageIndex; }
  void SetHintImageIndex(int v) { link_.hintImageIndex = v; }
  TCustomImageList* HintImageList() const { return link_.hintImageList; }
  void SetHintImageList(TCustomImageList* v);
  bool DrawDefault() const { return link_.drawDefault; }
  void SetDrawDefault(bool v) { link_.drawDefault = v; }
  TqzSkinData* SkinData() const { return link_.skinData; }
  const std::string& AreaName() const { return link_.areaName; }
  void SetAreaName(const std::string& v) { link_.areaName = v; }
  const std::string& SkinDataName() const { return link_.skinDataName; }
  bool AlphaBlend() const { return link_.alphaBlend; }
  uint8_t AlphaBlendValue() const { return link_.alphaBlendValue; }
  bool UseSkinCursor() const { return link_.useSkinCursor; }
  void SetUseSkinCursor(bool v) { link_.useSkinCursor = v; }

  // ---- virtual operations, in the order they were added
  // Store and repaint.
  virtual void SetAlphaBlend(bool Value);
  virtual void SetAlphaBlendValue(uint8_t Value);
  // SkinIndex := the description's index in the skin (-1 when none).
  virtual void GetSkinData();
  // Stores the link and follows the skin when one is loaded (not while
  // designing).
  virtual void SetSkinData(TqzSkinData* Value);
  // The plain look; the base draws nothing.
  virtual void CreateControlDefaultImage(TBitmap& B);
  // The skinned look; the base draws nothing.
  virtual void CreateControlSkinImage(TBitmap& B);
  // The lookup again, the cursor rule, a repaint.
  virtual void ChangeSkinData();
  // The skin's descriptions go away: no description until the change.
  virtual void BeforeChangeSkinData();
  // Repaints when blending and passes MSG_REFRESH_ALPHABLEND to the
  // children (a window-less control has none).
  virtual void RefreshAlphaBlend();

  // Index of the description in the skin's control list; -1 for none.
  int SkinIndex = -1;
  // The skin's cursor of the description (-1: the default cursor).
  int CursorIndex = -1;

  // The description found by the last GetSkinData (null when none).
  TqzDataSkinControl* SkinDescription() const;
  // True while a paint message is being handled.
  bool PaintingNow() const { return this->painting_; }

 protected:
  // Nothing at an empty size; else the lookup and PaintThroughBitmap.
  void Paint() override;
  void Dispatch(TMessage& m) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  // The cursor rule after a description lookup.
  void ApplySkinCursor();
  // The off-screen paint after the description lookup: a bitmap of the
  // control's size receives the skinned look (a description was found) or
  // the plain look (DrawDefault), and is drawn once at (0, 0), blended over
  // what lies under the control when AlphaBlend is set.
  void PaintThroughBitmap();

  TqzSkinLinkState link_;
};

// ---------------------------------------------------------------------------
// The resizable layer over either face: the resizing description, the size
// rules, the default font and size. The windowed control adds the window
// region from the mask.
template <class Face>
class TqzSkinCustomFace : public Face, public TqzSkinResizeState {
 public:
  explicit TqzSkinCustomFace(TComponent* AOwner);
  ~TqzSkinCustomFace() override;

  // ---- published
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  // Copies the font.
  void SetDefaultFont(const TFont& Value);
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool v) { useSkinFont_ = v; }
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int Value);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int Value);

  // ---- overrides of the face's operations
  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void CreateControlSkinImage(TBitmap& B) override;

  // ---- virtual operations added, after the face's
  // Called when DefaultFont is assigned or changes; empty here.
  virtual void DefaultFontChanged();
  // The size rules: W x H snap to what the description allows and the New
  // geometry follows.
  virtual void CalcSize(int& W, int& H);

  // A rectangle in description coordinates placed at the current size.
  TRect CalcNewRect(const TRect& SkinRelativeRect) const;

 protected:
  // The frame-only path when it applies, else the off-screen paint.
  void Paint() override;
  // Where a parent may move the control vertically (the skinned tool bar
  // centres its controls); asks an IqzSkinControlPlacer parent, else ATop.
  virtual int AdjustTopForParent(int ATop, int AHeight) const;
  // The frame-only paint: the CreateControlSkinImage hook, then strips and
  // client piece straight onto the canvas.
  void PaintFrameOnlyPath();

 private:
  void OnDefaultFontChange();

  std::unique_ptr<TFont> defaultFont_;
  bool useSkinFont_ = true;
  int defaultWidth_ = 0;
  int defaultHeight_ = 0;
};

extern template class TqzSkinControlFace<TCustomControl>;
extern template class TqzSkinControlFace<TGraphicControl>;

// ---------------------------------------------------------------------------
class TqzSkinControl : public TqzSkinControlFace<TCustomControl> {
  QZ_CLASS(TqzSkinControl, TCustomControl)
 public:
  explicit TqzSkinControl(TComponent* AOwner);
  ~TqzSkinControl() override;

  // Stores the name only; the next skin change or paint picks it up.
  virtual void SetSkinDataName(const std::string& Value);

 protected:
  void WMEraseBkgnd(TMessage& m) override;
  void WMMove(TMessage& m) override;
};

extern template class TqzSkinCustomFace<TqzSkinControl>;

// ---------------------------------------------------------------------------
class TqzSkinCustomControl : public TqzSkinCustomFace<TqzSkinControl> {
  QZ_CLASS(TqzSkinCustomControl, TqzSkinControl)
 public:
  explicit TqzSkinCustomControl(TComponent* AOwner);
  ~TqzSkinCustomControl() override;

  void ChangeSkinData() override;
  // Gives the window the region of MaskPicture at the current size.
  virtual void SetControlRegion();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The window region the control set (none when it has none).
  const std::optional<TRegion>& Region() const { return region_; }

 protected:
  void CreateWnd() override;

 private:
  void ApplyRegion();

  std::optional<TRegion> region_;
};

// ---------------------------------------------------------------------------
class TqzGraphicSkinControl : public TqzSkinControlFace<TGraphicControl> {
  QZ_CLASS(TqzGraphicSkinControl, TGraphicControl)
 public:
  explicit TqzGraphicSkinControl(TComponent* AOwner);
  ~TqzGraphicSkinControl() override;

  // Stores the name only (not virtual for the graphic pair).
  void SetSkinDataName(const std::string& Value) { link_.skinDataName = Value; }
};

extern template class TqzSkinCustomFace<TqzGraphicSkinControl>;

// ---------------------------------------------------------------------------
class TqzGraphicSkinCustomControl : public TqzSkinCustomFace<TqzGraphicSkinControl> {
  QZ_CLASS(TqzGraphicSkinCustomControl, TqzGraphicSkinControl)
 public:
  explicit TqzGraphicSkinCustomControl(TComponent* AOwner);
  ~TqzGraphicSkinCustomControl() override;

  void ChangeSkinData() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
};

// Every skinned control under `root` (depth first, a container before its
// children) whose SkinData is `skin`, or all of them when `skin` is null:
// BeforeChangeSkinData for MSG_SKIN_BEFORE_CHANGE, ChangeSkinData for
// MSG_SKIN_CHANGED. Stops quietly when a control frees `root`.
void NotifySkinControls(TWinControl* root, uint32_t msg, TqzSkinData* skin);

}  // namespace qz
