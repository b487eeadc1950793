// Skinned containers whose frame and background come from a panel
// description: TqzSkinPanel, the group box (a panel with a caption band) and
// the status bar (a borderless panel at the bottom of its form).
#pragma once

#include <memory>
#include <string>

#include "host/components/Persistent.h"
#include "host/graphics/Bitmap.h"
#include "host/ui/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinLabel.h"

namespace qz {

class TqzDataSkinPanelControl;

// Where the caption image sits: beside the text, or at the far left.
enum class TqzImagePosition { qzipDefault, qzipLeft };
QZ_ENUM(TqzImagePosition, "qzipDefault", "qzipLeft");

// The size limits of a panel (0: no limit). The roll-up clears them while
// the panel is rolled up and puts them back afterwards.
class TqzSizeConstraints : public TPersistent {
  QZ_CLASS(TqzSizeConstraints, TPersistent)
 public:
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
  bool Empty() const { return MinWidth == 0 && MinHeight == 0 && MaxWidth == 0 && MaxHeight == 0; }
  void Clear() { MinWidth = MinHeight = MaxWidth = MaxHeight = 0; }
  // The size limited by the constraints.
  void Apply(int& width, int& height) const;
  void Assign(const TPersistent& source) override;
  friend bool operator==(const TqzSizeConstraints& a, const TqzSizeConstraints& b) {
    return a.MinWidth == b.MinWidth && a.MinHeight == b.MinHeight && a.MaxWidth == b.MaxWidth &&
           a.MaxHeight == b.MaxHeight;
  }
};

// The pieces of a caption line and their sizes.
struct TqzCaptionParts {
  TSize Check;           // check image (0 x 0: none)
  TSize Marker;          // roll-up marker (0 x 0: none)
  TSize Image;           // caption image or glyph (0 x 0: none)
  TSize Text;            // caption text
  TRect FrameRect;       // caption frame in the picture (empty: none)
  TRect FrameTextRect;   // the frame's text area in the picture
  int Alignment = 0;     // 0 left, 1 right, 2 centre
  bool ImageFarLeft = false;
  int Spacing = 2;
  bool OddFontHeight = false;
};
// Where each piece of a caption goes inside the caption rectangle.
struct TqzCaptionLayout {
  TRect Check, Marker, Frame, Image;
  TPoint Text;
};
// The check image at the left, the marker at the right, both vertically
// centred; the frame (wide enough for image, spacing and text plus its
// margins) placed by the alignment in what is left; image and text in the
// frame's text area or, without a frame, aligned in what is left; the text
// vertically centred by the odd-height rule.
TqzCaptionLayout LayoutCaption(const TRect& caption, const TqzCaptionParts& parts);

class TqzSkinPanel : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinPanel, TqzSkinCustomControl)
 public:
  explicit TqzSkinPanel(TComponent* AOwner);
  ~TqzSkinPanel() override;

  // ---- published
  bool EmptyDrawing() const { return emptyDrawing_; }
  void SetEmptyDrawing(bool v) { SetLook(emptyDrawing_, v); }
  bool RibbonStyle() const { return ribbonStyle_; }
  void SetRibbonStyle(bool v) { SetLook(ribbonStyle_, v); }
  TqzImagePosition ImagePosition() const { return imagePosition_; }
  void SetImagePosition(TqzImagePosition v) { SetLook(imagePosition_, v); }
  bool TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(bool v) { SetLook(transparentMode_, v); }
  TCustomImageList* CaptionImageList() const { return captionImageList_; }
  void SetCaptionImageList(TCustomImageList* v);
  int CaptionImageIndex() const { return captionImageIndex_; }
  void SetCaptionImageIndex(int v) { SetLook(captionImageIndex_, v); }
  // The height to come back to after a roll-up; -1 while not rolled up.
  int RealHeight() const { return realHeight_; }
  void SetRealHeight(int v) { realHeight_ = v; }
  bool AutoEnabledControls() const { return autoEnabledControls_; }
  void SetAutoEnabledControls(bool v);
  bool CheckedMode() const { return checkedMode_; }
  void SetCheckedMode(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  TBitmap& Glyph() { return *glyph_; }
  void SetGlyph(const TBitmap& v);
  // Frames side by side in Glyph; with 2 the second shows while disabled.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v) { SetLook(spacing_, v); }
  TAlignment DefaultAlignment() const { return defaultAlignment_; }
  void SetDefaultAlignment(TAlignment v) { SetLook(defaultAlignment_, v); }
  int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
  void SetDefaultCaptionHeight(int v) { SetLook(defaultCaptionHeight_, v); }
  TqzSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TqzSkinBorderStyle v) { SetLook(borderStyle_, v); }
  bool CaptionMode() const { return captionMode_; }
  void SetCaptionMode(bool v) { SetLook(captionMode_, v); }
  bool RollUpMode() const { return rollUpMode_; }
  void SetRollUpMode(bool v);
  bool RollUpState() const { return rollUpState_; }
  void SetRollUpState(bool v);
  bool UseSkinSize() const { return useSkinSize_; }
  void SetUseSkinSize(bool v) { SetLook(useSkinSize_, v); }
  TqzSizeConstraints& Constraints() { return constraints_; }
  void SetConstraints(const TqzSizeConstraints& v);

  TNotifyEvent OnChecked;
  TNotifyEvent OnChangeRollUpState;

  // ---- operations
  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void CreateControlSkinImage(TBitmap& B) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetText(const std::string& v) override;
  void DefaultFontChanged() override;

  // The area inside which child controls are aligned.
  TRect PanelClientRect();
  // The caption rectangle at the current size (where a release toggles).
  TRect CaptionHitRect();
  // The height of the panel rolled up to its caption.
  int RolledUpHeight();

 protected:
  void Paint() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Loaded() override;
  void CMEnabledChanged(TMessage& m) override;
  // The panel description found by the last lookup (null when none).
  const TqzDataSkinPanelControl* PanelDescription() const;

 private:
  template <class V>
  void SetLook(V& field, V value) {
    if (field == value) return;
    field = value;
    Realign();
    Invalidate();
  }
  bool UsesFrameOnlyPath() const;
  bool TilesClientPieceOnly() const;
  TBitmap* BackgroundPicture() const;
  void PaintBackgroundPicture(TCanvas& canvas, const TBitmap& picture) const;
  void TileClientPiece(TCanvas& canvas) const;
  TRect MappedCaptionRect() const;
  TSize CaptionImageSize() const;
  void DrawCaptionImage(TCanvas& canvas, const TRect& where) const;
  TqzCaptionParts CaptionParts(TCanvas& canvas, const TqzDataSkinPanelControl* d) const;
  void DrawSkinCaption(TCanvas& canvas);
  void DrawTransparentCaption(TCanvas& canvas);
  void DrawPlainCaption(TCanvas& canvas);
  TRect PlainCaptionBand() const;
  int TransparentCaptionHeight();
  void SelectCaptionFont(TFont& font) const;
  void UpdateChildrenEnabled();
  void RollUp();
  void RollDown();

  bool emptyDrawing_ = false;
  bool ribbonStyle_ = false;
  TqzImagePosition imagePosition_ = TqzImagePosition::qzipDefault;
  bool transparentMode_ = false;
  TCustomImageList* captionImageList_ = nullptr;
  int captionImageIndex_ = -1;
  int realHeight_ = -1;
  bool autoEnabledControls_ = false;
  bool checkedMode_ = false;
  bool checked_ = false;
  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
  int spacing_ = 2;
  TAlignment defaultAlignment_ = taLeftJustify;
  int defaultCaptionHeight_ = 22;
  TqzSkinBorderStyle borderStyle_ = TqzSkinBorderStyle::bvFrame;
  bool captionMode_ = false;
  bool rollUpMode_ = false;
  bool rollUpState_ = false;
  bool useSkinSize_ = true;
  TqzSizeConstraints constraints_;
  TqzSizeConstraints savedConstraints_;
  // The caption rectangle of the last paint.
  TRect captionRect_;
};

class TqzSkinGroupBox : public TqzSkinPanel {
  QZ_CLASS(TqzSkinGroupBox, TqzSkinPanel)
 public:
  explicit TqzSkinGroupBox(TComponent* AOwner);
  // A description whose client area lies above its caption cannot paint its
  // border strips alone.
  void GetSkinData() override;
};

class TqzSkinStatusBar : public TqzSkinPanel {
  QZ_CLASS(TqzSkinStatusBar, TqzSkinPanel)
 public:
  explicit TqzSkinStatusBar(TComponent* AOwner);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);
  // Where the size grip is drawn (empty without one).
  TRect GripRect() const;

 protected:
  void Paint() override;

 private:
  void DrawGrip(TCanvas& canvas) const;
  bool sizeGrip_ = false;
};

}  // namespace qz
