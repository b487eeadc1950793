// The caption object's looks: the composed image (active, inactive, morphed
// between the two, or a frame of the glow animation) and the text with its
// frame, light, shadow and effects.
#include "skin/form/CaptionPaint.h"

#include <algorithm>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/ui/ImgList.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QzComposition.h"
#include "skin/draw/QzText.h"
#include "skin/draw/QzTextEffects.h"
#include "skin/form/FramePaint.h"

namespace qz {

// ---- Text ----

TRect CaptionTextRect(const TqzCaptionPaintInput& in) {
  const TqzDataSkinCaption& d = *in.Data;
  if (d.TextRect.IsEmpty()) return {};
  TRect r = OffsetRect(d.TextRect, in.ObjectRect.Left, in.ObjectRect.Top);
  r.Right += in.ObjectRect.Width() - d.SkinRect.Width();
  if (in.TextRoomLeft) r.Left = std::max(r.Left, *in.TextRoomLeft);
  if (in.TextRoomRight) r.Right = std::min(r.Right, *in.TextRoomRight);
  if (!d.FrameRect.IsEmpty()) {
    r.Left += d.FrameTextRect.Left;
    r.Top += d.FrameTextRect.Top;
    r.Right += d.FrameTextRect.Right - d.FrameRect.Width();
  }
  return r;
}

void SelectCaptionFont(TFont& font, const TqzCaptionPaintInput& in, bool active) {
  const TqzDataSkinCaption& d = *in.Data;
  const TFont* def = in.Context.DefCaptionFont;
  if (def) font.Assign(*def);
  if (in.Context.UseSkinFont || !def) {
    font.SetName(d.FontName);
    font.SetHeight(d.FontHeight);
    font.SetStyle(d.FontStyle);
  }
  font.SetColor(active ? d.ActiveFontColor : d.FontColor);
  if (in.Context.CharSet != 0) font.SetCharset(static_cast<TFontCharset>(in.Context.CharSet));
}

TqzCaptionTextPlace PlaceCaptionText(TCanvas& canvas, const TqzDataSkinCaption& data,
                                     const TRect& room, std::string_view text, bool centred) {
  TqzCaptionTextPlace place;
  place.Text = CorrectTextByWidth(canvas, text, std::max(0, room.Width()));
  place.Extent = {GetTextWidthNoPrefix(canvas, place.Text), GetTextHeightNoPrefix(canvas, place.Text)};
  place.Pos.Y = room.Top + room.Height() / 2 - place.Extent.cy / 2;
  if (canvas.Font().Height() % 2 != 0) place.Pos.Y -= 1;
  switch (centred ? qzTaCenter : data.Alignment) {
    case qzTaLeftJustify: place.Pos.X = room.Left; break;
    case qzTaRightJustify: place.Pos.X = room.Right - place.Extent.cx; break;
    default: place.Pos.X = room.Left + room.Width() / 2 - place.Extent.cx / 2; break;
  }
  return place;
}

namespace {

// The active picture of the caption's description (active look, glow
// frames); null when its index names none, which leaves those looks out.
const TBitmap* ActivePictureOf(const TqzCaptionPaintInput& in) {
  return in.Skin->ActivePicture(in.Data->ActivePictureIndex);
}

// Where the text frame is cut from: the active picture, else the main one.
const TBitmap& FrameSource(const TqzCaptionPaintInput& in) {
  const TBitmap* active = ActivePictureOf(in);
  return active ? *active : in.Skin->Picture();
}

const TBitmap& InactiveSource(const TqzCaptionPaintInput& in) {
  const TBitmap& rollUp = in.Skin->RollUpPicture();
  return in.RolledUp && !rollUp.Empty() ? rollUp : in.Skin->Picture();
}

// The text frame behind the text: a horizontal three-part image of
// framerect (activeframerect when active and set).
void DrawTextFrame(TCanvas& canvas, const TqzCaptionPaintInput& in, const TqzCaptionTextPlace& place,
                   bool active) {
  const TqzDataSkinCaption& d = *in.Data;
  const TRect frame = active && !d.ActiveFrameRect.IsEmpty() ? d.ActiveFrameRect : d.FrameRect;
  int left = place.Pos.X - d.FrameTextRect.Left;
  const int top = place.Pos.Y - d.FrameTextRect.Top;
  int width = frame.Width() + place.Extent.cx - d.FrameTextRect.Width();
  if (d.FullFrame) {
    const int offset = in.Skin->ButtonsOffset;
    left = in.ObjectRect.Left + offset;
    width = in.ObjectRect.Width() - 2 * offset;
  }
  if (width <= 0) return;
  TBitmap image;
  CreateHSkinImage(d.FrameLeftOffset, d.FrameRightOffset, image, d.StretchEffect, width, frame,
                   FrameSource(in));
  canvas.Draw(left, top, image);
}

void DrawEffectText(TCanvas& canvas, const TqzCaptionPaintInput& in, const TqzCaptionTextPlace& place,
                    bool active) {
  const TqzDataSkinCaption& d = *in.Data;
  const int x = place.Pos.X, y = place.Pos.Y;
  if (d.ReflectionEffect) {
    DrawReflectionText(canvas, x, y, place.Text,
                       active ? d.ReflactionActiveColor : d.ReflactionColor, d.ReflectionOffset);
  } else if (d.VistaGlowEffect && (active || d.VistaGlowInActiveEffect)) {
    DrawVistaGlowText(canvas, x, y, place.Text, active ? d.GlowActiveColor : d.GlowColor);
  } else if (d.GlowEffect && (active || d.GlowInActiveEffect)) {
    DrawGlowText(canvas, x, y, place.Text, active ? d.GlowActiveColor : d.GlowColor, d.GlowSize,
                 d.GlowOffset);
  } else {
    DrawPlainText(canvas, x, y, place.Text, in.Context.RightToLeft);
  }
}

// Draws the caption text onto a canvas in window coordinates.
void DrawCaptionText(TCanvas& canvas, const TqzCaptionPaintInput& in, bool active) {
  if (in.TabsReplaceText) return;
  if (in.Context.OnCaptionPaint) {
    in.Context.OnCaptionPaint(canvas, in.ObjectRect, active);
    return;
  }
  const TRect room = CaptionTextRect(in);
  if (room.IsEmpty() || in.Context.Text.empty()) return;
  const int saved = canvas.SaveDC();
  SelectCaptionFont(canvas.Font(), in, active);
  const TqzCaptionTextPlace place = PlaceCaptionText(canvas, *in.Data, room, in.Context.Text,
                                                     in.QuickButtonsShown && in.FrameMode);
  if (!place.Text.empty()) {
    const TqzDataSkinCaption& d = *in.Data;
    if (!d.FrameRect.IsEmpty()) DrawTextFrame(canvas, in, place, active);
    const TColor textColor = canvas.Font().Color();
    if (d.Light) {
      canvas.Font().SetColor(active ? d.ActiveLightColor : d.LightColor);
      DrawPlainText(canvas, place.Pos.X - 1, place.Pos.Y - 1, place.Text, in.Context.RightToLeft);
    }
    if (d.Shadow) {
      canvas.Font().SetColor(active ? d.ActiveShadowColor : d.ShadowColor);
      DrawPlainText(canvas, place.Pos.X + 1, place.Pos.Y + 1, place.Text, in.Context.RightToLeft);
    }
    canvas.Font().SetColor(textColor);
    DrawEffectText(canvas, in, place, active);
  }
  canvas.RestoreDC(saved);
}

// ---- Looks ----

// The frame edge the caption lies on, from its skinrect and the skin's client rect.
enum class TEdge { Top, Bottom, Left, Right };

TEdge CaptionEdge(const TqzSkinData& skin, const TRect& r) {
  const TRect& client = skin.ClientRect;
  if (r.Bottom <= client.Top) return TEdge::Top;
  if (r.Top >= client.Bottom) return TEdge::Bottom;
  if (r.Right <= client.Left) return TEdge::Left;
  return TEdge::Right;
}

int Overlap(int a0, int a1, int b0, int b1) { return std::max(0, std::min(a1, b1) - std::max(a0, b0)); }

// The caption's look with its text, in a bitmap of the caption's size.
void ComposeLookWithText(const TqzCaptionPaintInput& in, const TBitmap& source, const TRect& r,
                         bool active, TBitmap& dest) {
  ComposeCaptionLook(in, source, r, dest);
  if (dest.Empty()) return;
  TCanvas& canvas = dest.Canvas();
  canvas.SetWindowOrg(in.ObjectRect.TopLeft());
  DrawCaptionText(canvas, in, active);
  canvas.SetWindowOrg({0, 0});
}

bool InactiveEffectApplies(const TqzCaptionPaintInput& in) {
  return !in.FormActive && in.Skin->AutoRenderingInActiveImage;
}

bool GlowFramePlays(const TqzCaptionPaintInput& in) {
  const TqzDataSkinCaption& d = *in.Data;
  return in.FrameMode && in.Skin->EnableSkinEffects && !d.AnimateSkinRect.IsEmpty() &&
         in.GlowFrame >= 1 && in.GlowFrame <= d.FrameCount && ActivePictureOf(in);
}

bool ActiveLookShows(const TqzCaptionPaintInput& in) {
  return !in.Data->ActiveSkinRect.IsEmpty() && (in.Active || in.MorphInProgress) &&
         ActivePictureOf(in);
}

// The active look, morphed from the inactive one while a morph runs.
void ComposeActiveOrMorph(const TqzCaptionPaintInput& in, TBitmap& image) {
  const TqzDataSkinCaption& d = *in.Data;
  ComposeLookWithText(in, *ActivePictureOf(in), d.ActiveSkinRect, true, image);
  if (!in.MorphInProgress || image.Empty()) return;
  TBitmap inactive;
  ComposeLookWithText(in, InactiveSource(in), d.SkinRect, false, inactive);
  TqzEffectBmp from(inactive.Pixels());
  from.ApplyMorph(d.MorphKind, TqzEffectBmp(image.Pixels()), in.Kf);
  image.Pixels() = from.ToPixmap();
  image.Modified();
}

}  // namespace

TRect GlowFrameRect(const TRect& animateRect, int count, int index, int skinRectHeight) {
  if (count < 1 || index < 1 || index > count || animateRect.IsEmpty()) return {};
  if (animateRect.Height() > skinRectHeight) {
    const int h = animateRect.Height() / count;
    const int top = animateRect.Top + (index - 1) * h;
    return {animateRect.Left, top, animateRect.Right, top + h};
  }
  const int w = animateRect.Width() / count;
  const int left = animateRect.Left + (index - 1) * w;
  return {left, animateRect.Top, left + w, animateRect.Bottom};
}

void ComposeCaptionLook(const TqzCaptionPaintInput& in, const TBitmap& source, const TRect& r,
                        TBitmap& dest) {
  const TqzSkinData& skin = *in.Skin;
  const TRect& skinRect = in.Data->SkinRect;
  const bool stretchable = in.Rects ? in.Rects->Stretchable : IsStretchableFrame(skin);
  if (!stretchable || r.IsEmpty()) {
    CopyPiece(source.Pixels(), r, dest);
    return;
  }
  const bool stretch = in.Data->StretchEffect;
  switch (CaptionEdge(skin, skinRect)) {
    case TEdge::Top:
    case TEdge::Bottom: {
      const bool top = CaptionEdge(skin, skinRect) == TEdge::Top;
      const int cornerLeft = top ? skin.LeftTopPoint.X : skin.LeftBottomPoint.X;
      const int cornerRight = top ? skin.RightTopPoint.X : skin.RightBottomPoint.X;
      const int PW = skin.Picture().Width();
      const int left = Overlap(skinRect.Left, skinRect.Right, 0, cornerLeft);
      const int right = Overlap(skinRect.Left, skinRect.Right, cornerRight, PW);
      CreateHSkinImage(left, right, dest, stretch, in.ObjectRect.Width(), r, source);
      return;
    }
    case TEdge::Left:
    case TEdge::Right: {
      const bool leftEdge = CaptionEdge(skin, skinRect) == TEdge::Left;
      const int cornerTop = leftEdge ? skin.LeftTopPoint.Y : skin.RightTopPoint.Y;
      const int cornerBottom = leftEdge ? skin.LeftBottomPoint.Y : skin.RightBottomPoint.Y;
      const int PH = skin.Picture().Height();
      const int topPart = Overlap(skinRect.Top, skinRect.Bottom, 0, cornerTop);
      const int bottomPart = Overlap(skinRect.Top, skinRect.Bottom, cornerBottom, PH);
      CreateVSkinImage(topPart, bottomPart, dest, stretch, in.ObjectRect.Height(), r, source);
      return;
    }
  }
}

namespace {

// Quick buttons and caption tabs lie over the caption's look and its text.
void PaintCaptionExtras(TCanvas& canvas, const TqzCaptionPaintInput& in) {
  if (!in.FrameMode) return;
  for (const TqzQuickButtonPaint& button : in.QuickButtons) PaintQuickButton(canvas, in, button);
  if (in.Tabs.empty()) return;
  const TqzDataSkinCaptionTab* tabData = FindCaptionTabData(*in.Skin);
  if (!tabData) return;
  for (const TqzCaptionTabPaint& tab : in.Tabs) PaintCaptionTab(canvas, *in.Skin, *tabData, tab, in.TabImages);
}

}  // namespace

void PaintCaption(TCanvas& canvas, const TqzCaptionPaintInput& in, bool compose) {
  if (!in.Data || !in.Skin || in.Skin->Picture().Empty()) return;
  const TqzDataSkinCaption& d = *in.Data;
  TBitmap image;
  if (GlowFramePlays(in)) {
    const TRect frame = GlowFrameRect(d.AnimateSkinRect, d.FrameCount, in.GlowFrame, d.SkinRect.Height());
    ComposeLookWithText(in, *ActivePictureOf(in), frame, true, image);
  } else if (ActiveLookShows(in)) {
    ComposeActiveOrMorph(in, image);
    if (InactiveEffectApplies(in)) ApplyInactiveEffect(image, in.Skin->InActiveEffect);
  } else if (compose) {
    ComposeLookWithText(in, InactiveSource(in), d.SkinRect, in.Active, image);
    if (!in.Active && InactiveEffectApplies(in)) ApplyInactiveEffect(image, in.Skin->InActiveEffect);
  } else {
    DrawCaptionText(canvas, in, in.Active);
    PaintCaptionExtras(canvas, in);
    return;
  }
  if (!image.Empty()) canvas.Draw(in.ObjectRect.Left, in.ObjectRect.Top, image);
  PaintCaptionExtras(canvas, in);
}

// ---- Quick buttons and caption tabs ----

namespace {

int QuickButtonWidth(TSize image, int margin, const TqzQuickButtonInfo& button) {
  int width = image.cx + margin;
  if (button.HasPopupMenu) width += 7;
  if (button.CaptionWidth >= 0) width += button.CaptionWidth + 6;
  return width;
}

}  // namespace

TqzQuickButtonLayout LayoutQuickButtons(const TqzSkinData& skin, const TqzDataSkinCaption& data,
                                        const TRect& caption, TSize image, bool iconShown,
                                        const std::vector<TqzQuickButtonInfo>& buttons,
                                        int textLeft, int textRight) {
  const int margin = skin.ClientRect.Left == 1 && caption.Height() > 29 ? 12 : 4;
  const int top = caption.Top + caption.Height() / 2 - image.cy / 2 - margin / 2;
  const int height = image.cy + margin;
  TqzQuickButtonLayout out;
  out.TextLeft = textLeft;
  out.TextRight = textRight;
  int left = caption.Left + (iconShown ? data.DividerRect.Width() + 6 : 5);
  int right = caption.Right - 5;
  for (const TqzQuickButtonInfo& button : buttons) {
    TRect r;
    if (button.Visible) {
      const int width = QuickButtonWidth(image, margin, button);
      if (button.RightSide) {
        r = {right - width, top, right, top + height};
        right = r.Left - 2;
        out.TextRight = std::min(out.TextRight, r.Left);
      } else {
        r = {left, top, left + width, top + height};
        left = r.Right + 2;
        out.TextLeft = std::max(out.TextLeft, r.Right);
      }
    }
    out.Buttons.push_back(r);
  }
  return out;
}

std::vector<TRect> LayoutCaptionTabs(const TqzSkinData& skin, const TRect& caption, int start,
                                     const std::vector<TqzCaptionTabInfo>& tabs, int imageWidth,
                                     TqzCaptionTabPos pos) {
  const TqzDataSkinCaptionTab* description = FindCaptionTabData(skin);
  if (!description) return {};
  const int height = description->SkinRect.Height();
  const int top = description->TopPosition != 0 ? description->TopPosition
                                                : skin.ClientRect.Top - height;
  std::vector<TRect> out;
  int left = start, used = 0;
  for (const TqzCaptionTabInfo& tab : tabs) {
    const int width = tab.TextWidth + 20 + (imageWidth > 0 ? imageWidth + 5 : 0);
    TRect r;
    if (tab.Visible && left + width <= caption.Right) {
      r = {left, top, left + width, top + height};
      left = r.Right;
      used += width;
    }
    out.push_back(r);
  }
  const int available = caption.Right - start;
  int shift = 0;
  if (pos == qztpCenter) shift = std::max(0, (available - used) / 2);
  if (pos == qztpRight) shift = std::max(0, available - used - 10);
  for (TRect& r : out)
    if (!r.IsEmpty()) r = OffsetRect(r, shift, 0);
  return out;
}

// ---- Looks of quick buttons and caption tabs ----

namespace {

constexpr uint32_t kHotPlate = 0xFFFFFF, kDownPlate = 0x000000;
constexpr int kHotOpacity = 96, kDownOpacity = 72;  // of 255

uint32_t BlendChannel(uint32_t pixel, uint32_t plate, int shift, int opacity) {
  const int from = int(pixel >> shift & 0xFF), to = int(plate >> shift & 0xFF);
  return uint32_t(from + (to - from) * opacity / 255) << shift;
}

uint32_t BlendPixel(uint32_t pixel, uint32_t plate, int opacity) {
  return (pixel & 0xFF000000u) | BlendChannel(pixel, plate, 16, opacity) |
         BlendChannel(pixel, plate, 8, opacity) | BlendChannel(pixel, plate, 0, opacity);
}

// Opacity 0..255 of the alpha mask picture at (x, y) of a w x h plate: the
// picture is scaled to the plate, its brightness gives the opacity.
int MaskOpacity(const TBitmap* mask, int x, int y, int w, int h) {
  if (!mask || mask->Empty() || w <= 0 || h <= 0) return 255;
  const TPixmap& m = mask->Pixels();
  const uint32_t p = m.At(x * m.Width() / w, y * m.Height() / h);
  return int(((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) / 3);
}

bool IsPlateCorner(int x, int y, int w, int h) {
  return (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
}

// A translucent plate with cut corners over the button's rectangle, drawn
// straight into the canvas's pixels (clipped to the canvas).
void DrawPlate(TCanvas& canvas, const TRect& r, uint32_t plate, int opacity, const TBitmap* mask) {
  TPixmap* target = canvas.Target();
  if (!target) return;
  const TRect device = canvas.LogicalToDevice(r);
  const TRect clip = Intersection(Intersection(device, target->Bounds()),
                                  canvas.LogicalToDevice(canvas.ClipRect()));
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    uint32_t* row = target->Row(y);
    for (int x = clip.Left; x < clip.Right; ++x) {
      const int px = x - device.Left, py = y - device.Top;
      if (IsPlateCorner(px, py, device.Width(), device.Height())) continue;
      const int alpha = opacity * MaskOpacity(mask, px, py, device.Width(), device.Height()) / 255;
      row[x] = BlendPixel(row[x], plate, alpha);
    }
  }
}

// A small downward triangle, 5 pixels wide, its top-left at (x, y).
void DrawMenuArrow(TCanvas& canvas, int x, int y, TColor color) {
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(color);
  for (int row = 0; row < 3; ++row) canvas.FillRect({x + row, y + row, x + 5 - row, y + row + 1});
}

constexpr int kArrowRoom = 7, kTextGap = 3;

bool HasImage(const TCustomImageList* images, int index) {
  return images && index >= 0 && index < images->Count();
}

}  // namespace

void PaintQuickButton(TCanvas& canvas, const TqzCaptionPaintInput& in,
                      const TqzQuickButtonPaint& button) {
  const TRect& r = button.Rect;
  if (r.IsEmpty() || !in.Data || !in.Skin) return;
  const TBitmap* mask = in.Data->QuickButtonAlphaMaskPictureIndex != -1
                            ? in.Skin->ActivePicture(in.Data->QuickButtonAlphaMaskPictureIndex)
                            : nullptr;
  if (button.Look == TqzQuickButtonLook::Hot) DrawPlate(canvas, r, kHotPlate, kHotOpacity, mask);
  if (button.Look == TqzQuickButtonLook::Down) DrawPlate(canvas, r, kDownPlate, kDownOpacity, mask);

  const int saved = canvas.SaveDC();
  SelectCaptionFont(canvas.Font(), in, in.Active);
  const int textWidth = button.Caption.empty() ? 0 : canvas.TextWidth(button.Caption);
  const int contentRight = r.Right - (button.HasPopupMenu ? kArrowRoom : 0) -
                           (textWidth > 0 ? textWidth + kTextGap * 2 : 0);
  int x = r.Left;
  if (HasImage(in.QuickImages, button.ImageIndex)) {
    const int w = in.QuickImages->Width(), h = in.QuickImages->Height();
    x = r.Left + (contentRight - r.Left - w) / 2;
    in.QuickImages->Draw(canvas, x, r.Top + (r.Height() - h) / 2, button.ImageIndex, button.Enabled);
    x += w;
  }
  if (textWidth > 0) {
    canvas.SetBkMode(TRANSPARENT);
    canvas.TextOut(x + kTextGap, r.Top + (r.Height() - canvas.TextHeight(button.Caption)) / 2,
                   button.Caption);
  }
  if (button.HasPopupMenu)
    DrawMenuArrow(canvas, r.Right - kArrowRoom, r.Top + r.Height() / 2 - 1, canvas.Font().Color());
  canvas.RestoreDC(saved);
}

const TqzDataSkinCaptionTab* FindCaptionTabData(const TqzSkinData& skin) {
  const int index = skin.FindObjectIndex("captiontab");
  if (index < 0) return nullptr;
  return dynamic_cast<const TqzDataSkinCaptionTab*>(skin.ObjectList()[size_t(index)].get());
}

namespace {

struct TTabLook {
  TRect Rect;
  TColor FontColor;
};

TTabLook CaptionTabLook(const TqzDataSkinCaptionTab& d, TqzCaptionTabLook look) {
  if (look == TqzCaptionTabLook::Selected && !d.DownRect.IsEmpty()) return {d.DownRect, d.DownFontColor};
  if (look != TqzCaptionTabLook::Normal && !d.ActiveSkinRect.IsEmpty())
    return {d.ActiveSkinRect, d.ActiveFontColor};
  return {d.SkinRect, d.FontColor};
}

}  // namespace

void PaintCaptionTab(TCanvas& canvas, const TqzSkinData& skin, const TqzDataSkinCaptionTab& d,
                     const TqzCaptionTabPaint& tab, const TCustomImageList* images) {
  const TBitmap* active = skin.ActivePicture(d.ActivePictureIndex);
  const TBitmap& picture = active ? *active : skin.Picture();
  const TTabLook look = CaptionTabLook(d, tab.Look);
  if (tab.Rect.IsEmpty() || look.Rect.IsEmpty() || picture.Empty()) return;
  TBitmap image;
  CreateHSkinImage(d.LeftOffset, d.RightOffset, image, false, tab.Rect.Width(), look.Rect, picture);
  canvas.Draw(tab.Rect.Left, tab.Rect.Top, image);

  TRect client = d.ClientRect.IsEmpty() ? TRect{0, 0, look.Rect.Width(), look.Rect.Height()} : d.ClientRect;
  client.Right += tab.Rect.Width() - look.Rect.Width();
  client = OffsetRect(client, tab.Rect.Left, tab.Rect.Top);
  const int saved = canvas.SaveDC();
  canvas.Font().SetName(d.FontName);
  canvas.Font().SetHeight(d.FontHeight);
  canvas.Font().SetStyle(d.FontStyle);
  canvas.Font().SetColor(look.FontColor);
  const bool hasImage = HasImage(images, tab.ImageIndex);
  const int imageWidth = hasImage ? images->Width() + 5 : 0;
  const int textWidth = tab.Caption.empty() ? 0 : GetTextWidthNoPrefix(canvas, tab.Caption);
  int x = client.Left + (client.Width() - imageWidth - textWidth) / 2;
  if (hasImage) {
    images->Draw(canvas, x, client.Top + (client.Height() - images->Height()) / 2, tab.ImageIndex);
    x += imageWidth;
  }
  if (textWidth > 0) {
    canvas.SetBkMode(TRANSPARENT);
    canvas.DrawText(tab.Caption, TRect{x, client.Top, client.Right, client.Bottom},
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  canvas.RestoreDC(saved);
}

}  // namespace qz
