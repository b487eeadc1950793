// The skinned button's looks: what it copies from its description, which
// state image a paint shows, the fade between normal and active, caption and
// glyph, the plain look, the glow frame, and the published properties.
#include <algorithm>

#include "host/ui/ImgList.h"
#include "skin/controls/LayerManager.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/ResourceStrData.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"

namespace qz {

namespace {

constexpr TColor kDisabledGrey = 0x808080;

}  // namespace

// ---------------------------------------------------------------- description

const TqzDataSkinButtonControl* TqzSkinButton::ButtonDescription() const {
  return SkinIndex != -1 ? As<TqzDataSkinButtonControl>(SkinDescription()) : nullptr;
}

void TqzSkinButton::CopySkinValues(const TqzDataSkinButtonControl& d) {
  TqzButtonSkinValues& v = skin_;
  v.FontName = d.FontName;
  v.FontHeight = d.FontHeight;
  v.FontStyle = d.FontStyle;
  v.FontColor = d.FontColor;
  v.ActiveFontColor = d.ActiveFontColor;
  v.DownFontColor = d.DownFontColor;
  // A disabled colour equal to the normal one would not show the state.
  v.DisabledFontColor = d.DisabledFontColor == d.FontColor ? kDisabledGrey : d.DisabledFontColor;
  v.Morphing = d.Morphing;
  v.MorphKind = d.MorphKind;
  v.Looks = ResolveButtonLooks(d);
  v.AnimateSkinRect = d.AnimateSkinRect;
  v.FrameCount = d.FrameCount;
  v.AnimateInterval = d.AnimateInterval;
  v.ShowFocus = d.ShowFocus;
  v.MenuMarkerFlatRect = d.MenuMarkerFlatRect;
  v.MenuMarkerRect = d.MenuMarkerRect;
  v.MenuMarkerActiveRect = d.MenuMarkerActiveRect.IsEmpty() ? d.MenuMarkerRect : d.MenuMarkerActiveRect;
  v.MenuMarkerDownRect = d.MenuMarkerDownRect.IsEmpty() ? v.MenuMarkerActiveRect : d.MenuMarkerDownRect;
  v.MenuMarkerTransparentColor = d.MenuMarkerTransparentColor;
  v.GlowLayerPictureIndex = d.GlowLayerPictureIndex;
  v.GlowLayerMaskPictureIndex = d.GlowLayerMaskPictureIndex;
  v.GlowLayerOffsets = {d.GlowLayerOffsetLeft, d.GlowLayerOffsetTop, d.GlowLayerOffsetRight,
                        d.GlowLayerOffsetBottom};
  v.GlowLayerShowOffset = {d.GlowLayerShowOffsetX, d.GlowLayerShowOffsetY};
  v.GlowLayerAlphaBlendValue = std::clamp(d.GlowLayerAlphaBlendValue, 0, 255);
}

void TqzSkinButton::GetSkinData() {
  TqzSkinCustomControl::GetSkinData();
  hasButtonSkin_ = false;
  const TqzDataSkinButtonControl* d = ButtonDescription();
  if (!d) {
    // A description of another kind is no button's: the plain look.
    SkinIndex = -1;
    return;
  }
  CopySkinValues(*d);
  hasButtonSkin_ = true;
  // A running animation shows its current frame in place of the look it
  // moves to (forward) or from (backward).
  const TRect frame =
      animTimer_ ? AnimationFrameRect(skin_.AnimateSkinRect, Geom.SkinRect, skin_.FrameCount, animFrame_)
                 : TRect{};
  if (!frame.IsEmpty()) (animForward_ ? skin_.Looks.Active : skin_.Looks.Normal) = frame;
  if (!useSkinSize_) MaskPicture = nullptr;
}

void TqzSkinButton::CalcSize(int& W, int& H) {
  if (useSkinSize_ || ResizeMode == int(TqzResizeMode::NinePart) || SkinIndex == -1) {
    TqzSkinCustomControl::CalcSize(W, H);
    return;
  }
  NewGeom.NewClRect = FreeSizeContentRect(Geom.ClientRect, Geom.SkinRect, W, H);
}

void TqzSkinButton::SetControlRegion() {
  // A button scaled freely has no shape of its own.
  if (!useSkinSize_) MaskPicture = nullptr;
  TqzSkinCustomControl::SetControlRegion();
}

TqzButtonState TqzSkinButton::PaintState() const {
  TqzButtonState s;
  s.Enabled = Enabled();
  s.Down = down_;
  s.GroupIndex = groupIndex_;
  s.MouseIn = mouseIn_;
  s.Focused = HasFocusNow();
  s.MouseDownFlag = mouseDownFlag_;
  s.MorphAvailable = MorphAvailable();
  s.FadeStep = fade_.Step();
  s.Animating = animTimer_;
  s.HasDisabledLook = !skin_.Looks.Disabled.IsEmpty();
  s.HasFocusedLook = !skin_.Looks.Focused.IsEmpty();
  return s;
}

// ---------------------------------------------------------------- skinned look

void TqzSkinButton::CreateControlSkinImage(TBitmap& B) {
  if (!hasButtonSkin_ || !Picture) {
    if (DrawDefault()) CreateControlDefaultImage(B);
    return;
  }
  const TqzButtonLookChoice choice = ChooseButtonLook(PaintState());
  const TqzButtonLooks& looks = skin_.Looks;
  switch (choice.Look) {
    case TqzButtonLook::Fade: PaintFadeImage(B); return;
    case TqzButtonLook::Normal: CreateButtonImage(B, looks.Normal, false, false); return;
    case TqzButtonLook::Active: CreateButtonImage(B, looks.Active, true, false); return;
    case TqzButtonLook::Down: CreateButtonImage(B, looks.Down, true, true); return;
    case TqzButtonLook::Focused: CreateButtonImage(B, looks.Focused, true, false); return;
    case TqzButtonLook::Disabled: CreateButtonImage(B, looks.Disabled, false, false); return;
  }
}

// The normal and the active image blended by the description's morph at the
// fade's position.
bool TqzSkinButton::PaintFadeImage(TBitmap& B) {
  TComponentRef<TqzSkinButton> self(this);
  TBitmap normal, active;
  CreateButtonImage(normal, skin_.Looks.Normal, false, false);
  if (!self) return false;
  CreateButtonImage(active, skin_.Looks.Active, true, false);
  if (!self) return false;
  BlendLooks(normal, active, skin_.MorphKind, MorphKf(), B);
  return true;
}

TRect TqzSkinButton::ContentRect(const TRect& stateRect, int width, int height) const {
  const TqzSkinGeometry g = Geometry();
  const TqzResizeMode mode = CalcResizeMode(g);
  if (useSkinSize_ || mode == TqzResizeMode::NinePart)
    return CalcNewGeometry(g, mode, width, height).NewClRect;
  return FreeSizeContentRect(g.ClientRect, stateRect, width, height);
}

void TqzSkinButton::CreateButtonImage(TBitmap& Bitmap, const TRect& StateRect, bool IsActive,
                                      bool IsDown) {
  if (IsDown || IsActive || !transparent_) {
    if (Picture)
      ComposeButtonLook(Geometry(), StateRect, useSkinSize_, Width(), Height(), *Picture, Bitmap);
  } else {
    Bitmap.SetSize(Width(), Height());
    GetParentImage(this, Bitmap.Canvas());
  }
  if (Bitmap.Empty()) return;
  TCanvas& canvas = Bitmap.Canvas();
  SetUpCaptionFont(canvas, IsActive, IsDown);
  const TRect r = ContentRect(StateRect, Bitmap.Width(), Bitmap.Height());
  if (skin_.ShowFocus && HasFocusNow()) DrawSkinFocusRect(canvas, r);
  if (PaintContent(canvas, r, IsActive, IsDown)) Bitmap.Modified();
}

void TqzSkinButton::SetUpCaptionFont(TCanvas& canvas, bool isActive, bool isDown) const {
  TFont& font = canvas.Font();
  const TqzSkinData* skin = SkinData();
  if (UseSkinFont() && hasButtonSkin_) {
    font.SetName(skin_.FontName);
    font.SetHeight(skin_.FontHeight);
    font.SetStyle(skin_.FontStyle);
  } else {
    font.Assign(DefaultFont());
  }
  if (skin && skin->ResourceStrData())
    font.SetCharset(static_cast<TFontCharset>(skin->ResourceStrData()->CharSet()));
  else
    font.SetCharset(DefaultFont().Charset());
  TqzButtonColors colors{skin_.FontColor, skin_.ActiveFontColor, skin_.DownFontColor,
                         skin_.DisabledFontColor, DefaultFont().Color(), 0};
  if (skin) colors.SkinButtonText = skin->SkinColors().cBtnText;
  TqzCaptionColorInput in;
  in.Enabled = Enabled();
  in.UseSkinFontColor = useSkinFontColor_;
  in.Active = isActive;
  in.Down = isDown;
  in.Transparent = transparent_;
  in.HasSkin = skin != nullptr;
  font.SetColor(ButtonCaptionColor(colors, in));
}

// OnPaint first; then, unless it declined, the image or glyph with the caption.
bool TqzSkinButton::PaintContent(TCanvas& canvas, const TRect& content, bool isActive, bool isDown) {
  bool drawDefault = true;
  TRect r = content;
  if (OnPaint) {
    TComponentRef<TqzSkinButton> self(this);
    OnPaint(this, canvas, r, isDown, isActive, drawDefault);
    if (!self) return false;
    // A handler may move the current client rectangle to lay the caption
    // out elsewhere; a skin-sized button lays it out there.
    if (useSkinSize_ && !NewGeom.NewClRect.IsEmpty()) r = NewGeom.NewClRect;
  }
  if (!drawDefault) return true;
  TqzImageAndTextOptions options;
  options.Layout = layout_;
  options.Margin = margin_;
  options.Spacing = spacing_;
  options.Pressed = isDown;
  if (imageList_ && imageIndex_ >= 0 && imageIndex_ < imageList_->Count()) {
    DrawImageAndText(canvas, r, Caption(), imageList_, imageIndex_, Enabled(), options);
    return true;
  }
  const int frame = ButtonGlyphFrame(numGlyphs_, isActive, isDown, Enabled());
  const bool glyphHasFrame = frame <= numGlyphs_;
  DrawImageAndText(canvas, r, Caption(), glyphHasFrame ? glyph_.get() : nullptr,
                   glyphHasFrame ? frame : 1, numGlyphs_, options);
  return true;
}

// ---------------------------------------------------------------- plain look

void TqzSkinButton::CreateControlDefaultImage(TBitmap& B) {
  const int w = std::max(Width(), 1), h = std::max(Height(), 1);
  B.SetSize(w, h);
  TCanvas& canvas = B.Canvas();
  const TRect r{0, 0, w, h};
  const TqzButtonState s = PaintState();
  const bool down = ShowsDownLook(s);
  const bool hot = !down && (mouseIn_ || HasFocusNow());
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(down ? kPlainLookDownFill : hot ? kPlainLookHotFill : clBtnFace);
  canvas.FillRect(r);
  canvas.Brush().SetColor(down || hot ? kPlainLookHotFrame : clBtnShadow);
  canvas.FrameRect(r);
  canvas.Font().Assign(DefaultFont());
  if (!Enabled()) canvas.Font().SetColor(clBtnShadow);
  if (PaintContent(canvas, r, mouseIn_, down_)) B.Modified();
}

// ---------------------------------------------------------------- glow frame

void TqzSkinButton::ShowGlowFrame() {
  TqzSkinData* skin = SkinData();
  if (!hasButtonSkin_ || !skin || skin->Empty() || !HandleAllocated() ||
      !(skin->ShowButtonGlowFrames || alwaysShowLayeredFrame_))
    return;
  const TBitmap* picture = skin->ActivePicture(skin_.GlowLayerPictureIndex);
  if (!picture || picture->Empty()) return;
  const TBitmap* mask = skin->ActivePicture(skin_.GlowLayerMaskPictureIndex);
  const bool fixedSize = ResizeMode == int(TqzResizeMode::Fixed);
  TBitmap image, maskImage;
  ComposeGlowImage(*picture, skin_.GlowLayerOffsets, fixedSize, Width(), Height(), image);
  if (mask) ComposeGlowImage(*mask, skin_.GlowLayerOffsets, fixedSize, Width(), Height(), maskImage);
  if (image.Empty()) return;
  if (!glow_) glow_ = std::make_unique<TqzLayerManager>();
  const TCustomForm* form = GetParentForm(this);
  glow_->TopMost = form && form->FormStyle() == fsStayOnTop;
  const TPoint origin = ClientToScreen({0, 0}) - skin_.GlowLayerShowOffset;
  glow_->ShowLayer(origin.X, origin.Y, static_cast<uint8_t>(skin_.GlowLayerAlphaBlendValue),
                   maskImage.Empty() ? nullptr : &maskImage, image);
}

// Hidden on leave whatever made it show: a frame that only the button asked
// for would otherwise stay after the mouse has gone.
void TqzSkinButton::HideGlowFrame() {
  if (glow_ && glow_->Shown()) glow_->HideLayer();
}

// ---------------------------------------------------------------- streaming

QZ_PUBLISHED(TqzSkinButton, TqzSkinCustomControl) {
  using B = TqzSkinButton;
  b.Factory([](TComponent* owner) { return new TqzSkinButton(owner); });
  b.Prop("Transparent", &B::Transparent, &B::SetTransparent, false);
  b.Prop("CheckedMode", &B::CheckedMode, &B::SetCheckedMode, false);
  b.Ref<TCustomImageList>("ImageList", &B::ImageList, &B::SetImageList);
  b.Prop("ImageIndex", &B::ImageIndex, &B::SetImageIndex, -1);
  b.Prop("AlwaysShowLayeredFrame", &B::AlwaysShowLayeredFrame, &B::SetAlwaysShowLayeredFrame, false);
  b.Prop("UseSkinSize", &B::UseSkinSize, &B::SetUseSkinSize, true);
  b.Prop("UseSkinFontColor", &B::UseSkinFontColor, &B::SetUseSkinFontColor, true);
  b.Prop("RepeatMode", &B::RepeatMode, &B::SetRepeatMode, false);
  b.Prop("RepeatInterval", &B::RepeatInterval, &B::SetRepeatInterval, 100);
  b.Prop("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false);
  b.Prop("Caption", &B::Caption, &B::SetCaption);
  b.Prop("CanFocused", &B::CanFocused, &B::SetCanFocused, true);
  b.Prop("Down", &B::Down, &B::SetDown, false);
  b.Prop("GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0);
  b.Binary("Glyph", &B::GlyphData, &B::SetGlyphData);
  b.Prop("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs, 1);
  b.Prop("Margin", &B::Margin, &B::SetMargin, -1);
  b.Prop("Spacing", &B::Spacing, &B::SetSpacing, 1);
  b.Enum("Layout", &B::Layout, &B::SetLayout, blGlyphLeft);
  b.Prop("Cancel", &B::Cancel, &B::SetCancel, false);
  b.Prop("Default", &B::Default, &B::SetDefault, false);
  b.Prop("ModalResult", &B::ModalResult, &B::SetModalResult, 0);
  b.Event<TqzButtonPaintEvent>("OnPaint", &B::OnPaint);
}

}  // namespace qz
