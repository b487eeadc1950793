// The button's rules that need no window: looks and their fall-backs, the
// fade steps, glyph frames, caption colours, animation frames and the
// composition of a state image.
#include <algorithm>

#include "host/graphics/Bitmap.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/PixelCopy.h"
#include "skin/draw/QzComposition.h"

namespace qz {

TqzButtonLooks ResolveButtonLooks(const TqzDataSkinButtonControl& d) {
  TqzButtonLooks looks;
  looks.Normal = d.SkinRect;
  looks.Active = d.ActiveSkinRect.IsEmpty() ? d.SkinRect : d.ActiveSkinRect;
  looks.Down = d.DownSkinRect.IsEmpty() ? looks.Active : d.DownSkinRect;
  looks.Focused = d.FocusedSkinRect;
  looks.Disabled = d.DisabledSkinRect;
  return looks;
}

bool ShowsDownLook(const TqzButtonState& s) {
  if (!s.Down) return false;
  if (s.GroupIndex != 0) return true;
  return s.MouseIn || (s.Focused && !s.MouseDownFlag);
}

TqzButtonLookChoice ChooseButtonLook(const TqzButtonState& s) {
  using enum TqzButtonLook;
  if (s.MorphAvailable && s.Enabled && s.FadeStep > 0 && s.FadeStep < kButtonFadeSteps)
    return {Fade, false, false};
  if (!s.Enabled && s.HasDisabledLook) return {Disabled, false, false};
  if (ShowsDownLook(s)) return {Down, true, true};
  if (s.Focused && s.HasFocusedLook && !s.Animating) return {Focused, true, false};
  if (s.Focused || s.MouseIn) return {Active, true, false};
  if (!s.MorphAvailable || s.FadeStep != kButtonFadeSteps) return {Normal, false, false};
  // Fully faded in while neither hovered nor focused: the moment before the
  // fade back starts still shows the active look.
  return {Active, true, false};
}

int ButtonGlyphFrame(int numGlyphs, bool active, bool down, bool enabled) {
  if (active && down && numGlyphs > 2) return 3;
  if (active && numGlyphs > 3) return 4;
  if (enabled || numGlyphs < 2) return 1;
  return 2;
}

TColor ButtonCaptionColor(const TqzButtonColors& c, const TqzCaptionColorInput& in) {
  if (in.Enabled && !in.UseSkinFontColor) return c.DefaultFont;
  if (!in.Enabled) return c.Disabled;
  if (in.Active && in.Down) return c.Down;
  if (in.Active) return c.Active;
  if (in.Transparent && in.HasSkin) return c.SkinButtonText;
  return c.Font;
}

TRect AnimationFrameRect(const TRect& strip, const TRect& skinRect, int frameCount, int frame) {
  if (frameCount <= 0 || frame < 1 || frame > frameCount || strip.IsEmpty()) return {};
  if (strip.Width() > skinRect.Width()) {
    const int w = strip.Width() / frameCount;
    const int left = strip.Left + (frame - 1) * w;
    return {left, strip.Top, left + w, strip.Bottom};
  }
  const int h = strip.Height() / frameCount;
  const int top = strip.Top + (frame - 1) * h;
  return {strip.Left, top, strip.Right, top + h};
}

TRect FreeSizeContentRect(const TRect& clientRect, const TRect& skinRect, int width, int height) {
  TRect r = clientRect;
  r.Right += width - skinRect.Width();
  r.Bottom += height - skinRect.Height();
  return r;
}

namespace {

void ComposeSkinSized(const TqzSkinGeometry& g, TqzResizeMode mode, int width, int height,
                      const TBitmap& picture, TBitmap& dest) {
  const TRect& r = g.SkinRect;
  switch (mode) {
    case TqzResizeMode::None:
      return;
    case TqzResizeMode::Fixed:
      dest.SetSize(r.Width(), r.Height());
      CopyPixels(picture.Pixels(), r, dest.Pixels(), dest.Pixels().Bounds());
      dest.Modified();
      return;
    case TqzResizeMode::NinePart:
      CreateSkinImage(g, CalcNewGeometry(g, mode, width, height), true, width, height, picture,
                      dest);
      return;
    case TqzResizeMode::Horizontal:
      CreateHSkinImage(g.LeftTopPoint.X, r.Width() - g.RightTopPoint.X, dest, g.StretchEffect,
                       width, r, picture);
      return;
    case TqzResizeMode::Vertical:
      CreateVSkinImage(g.LeftTopPoint.Y, r.Height() - g.LeftBottomPoint.Y, dest, g.StretchEffect,
                       height, r, picture);
      return;
  }
}

}  // namespace

void ComposeButtonLook(const TqzSkinGeometry& g, const TRect& stateRect, bool skinSized, int width,
                       int height, const TBitmap& picture, TBitmap& dest) {
  // The resize mode is the description's; a state look shares its layout.
  const TqzResizeMode mode = CalcResizeMode(g);
  TqzSkinGeometry look = g;
  look.SkinRect = stateRect;
  if (stateRect.IsEmpty() || width <= 0 || height <= 0) return;
  if (skinSized || mode == TqzResizeMode::NinePart) {
    ComposeSkinSized(look, mode, width, height, picture, dest);
    return;
  }
  dest.SetSize(width, height);
  if (mode == TqzResizeMode::Fixed || mode == TqzResizeMode::None) {
    CopyPixels(picture.Pixels(), stateRect, dest.Pixels(), dest.Pixels().Bounds());
    dest.Modified();
    return;
  }
  CreateStretchImage(dest, picture, stateRect, g.ClientRect, true);
}

void ComposeGlowImage(const TBitmap& glow, const TRect& offsets, bool fixedSize, int width,
                      int height, TBitmap& dest) {
  if (glow.Empty()) return;
  const TRect whole{0, 0, glow.Width(), glow.Height()};
  if (fixedSize) {
    dest.SetSize(whole.Width(), whole.Height());
    CopyPixels(glow.Pixels(), whole, dest.Pixels(), dest.Pixels().Bounds());
    dest.Modified();
    return;
  }
  const int w = width + offsets.Left + offsets.Right;
  const int h = height + offsets.Top + offsets.Bottom;
  if (w <= 0 || h <= 0) return;
  dest.SetSize(w, h);
  const TRect inner{offsets.Left, offsets.Top, whole.Width() - offsets.Right,
                    whole.Height() - offsets.Bottom};
  CreateStretchImage(dest, glow, whole, inner, true);
}

}  // namespace qz
