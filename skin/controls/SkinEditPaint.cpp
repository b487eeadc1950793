// TqzSkinCustomEdit: the frame and push button (non-client area), the text
// area's background and the image buttons (client area).
#include <algorithm>

#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinEdit.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"

namespace qz {

namespace {

// The plain look's button colours by state.
struct TPlainButtonColors {
  TColor frame, fill;
};

TPlainButtonColors PlainButton(bool hot, bool pressed) {
  if (pressed && hot) return {kPlainLookHotFrame, kPlainLookDownFill};
  if (hot) return {kPlainLookHotFrame, kPlainLookHotFill};
  return {PlainShadowColor(), PlainFaceColor()};
}

void FrameRect1(TCanvas& c, const TRect& r, TColor color) {
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(color);
  c.FrameRect(r);
}

}  // namespace

void TqzSkinCustomEdit::RepaintFrame() {
  if (HandleAllocated() && Showing()) PaintFrame();
}

void TqzSkinCustomEdit::PaintFrame() {
  GetSkinData();
  TBitmap frame;
  ComposeFrame(frame);
  HDC dc = GetWindowDC(HWND(this));
  if (!dc) return;
  // The text area is the client's; the frame leaves it alone.
  TRect text = TextRect();
  TRect client = ClientRect();
  TPoint origin = ClientOrigin();
  TRect window;
  GetWindowRect(HWND(this), window);
  TRect clientInWindow = OffsetRect(client, origin.X - window.Left, origin.Y - window.Top);
  dc->ExcludeClipRect(clientInWindow.IsEmpty() ? text : clientInWindow);
  dc->Draw(0, 0, frame);
  ReleaseDC(HWND(this), dc);
}

void TqzSkinCustomEdit::ComposeFrame(TBitmap& out) {
  GetSkinData();
  const int W = std::max(Width(), 1), H = std::max(Height(), 1);
  out.SetSize(W, H);
  if (data_ && picture_) ComposeSkinFrame(out, W, H);
  else ComposeDefaultFrame(out, W, H);
  DrawButtonImages(out.Canvas());
  if (alphaBlend_ && Parent()) BlendOverParent(out);
}

// Each channel = value/255 * frame + (1 - value/255) * what lies under it.
void TqzSkinCustomEdit::BlendOverParent(TBitmap& frame) {
  TBitmap background(frame.Width(), frame.Height());
  GetParentImage(this, background.Canvas());
  TqzEffectBmp blended(frame);
  blended.Morph(TqzEffectBmp(background), 1.0 - alphaBlendValue_ / 255.0);
  frame.Pixels() = blended.ToPixmap();
  frame.Modified();
}

void TqzSkinCustomEdit::ComposeSkinFrame(TBitmap& out, int W, int H) {
  const TqzDataSkinEditControl& d = *data_;
  bool active = (mouseIn_ || Focused()) && !d.ActiveSkinRect.IsEmpty();
  const TRect& source = active ? d.ActiveSkinRect : d.SkinRect;
  const int fixedLeft = d.LeftTopPoint.X, fixedRight = d.SkinRect.Width() - d.RightTopPoint.X;
  TBitmap strip;
  CreateHSkinImage(fixedLeft, fixedRight, strip, d.StretchEffect, W, source, *picture_);
  if (strip.Height() == H) out.Canvas().Draw(0, 0, strip);
  else out.Canvas().StretchDraw({0, 0, W, H}, strip);

  TRect button = ButtonRect();
  if (button.IsEmpty()) return;
  TRect state;
  if (!Enabled() && !d.UnEnabledButtonRect.IsEmpty()) state = d.UnEnabledButtonRect;
  else if (buttonDown_ && buttonHot_) state = d.DownButtonRect.IsEmpty() ? d.ActiveButtonRect : d.DownButtonRect;
  else if (buttonHot_) state = d.ActiveButtonRect;
  // Otherwise the frame picture already shows the normal button.
  if (!state.IsEmpty()) out.Canvas().CopyRect(button, picture_->Canvas(), state);
}

void TqzSkinCustomEdit::ComposeDefaultFrame(TBitmap& out, int W, int H) {
  TCanvas& c = out.Canvas();
  TRect r{0, 0, W, H};
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(defaultColor_);
  c.FillRect(r);
  FrameRect1(c, r, PlainShadowColor());
  FrameRect1(c, InflateRect(r, -1, -1), Color());
  TRect button = ButtonRect();
  if (button.IsEmpty()) return;
  TPlainButtonColors colors = PlainButton(buttonHot_, buttonDown_);
  c.Brush().SetColor(colors.fill);
  c.FillRect(button);
  FrameRect1(c, button, colors.frame);
}

void TqzSkinCustomEdit::DrawButtonImages(TCanvas& c) {
  TRect button = ButtonRect();
  if (button.IsEmpty() || !images_ || buttonImageIndex_ < 0 || buttonImageIndex_ >= images_->Count()) return;
  int x = button.Left + (button.Width() - images_->Width()) / 2;
  int y = button.Top + (button.Height() - images_->Height()) / 2;
  images_->Draw(c, x, y, buttonImageIndex_, Enabled());
}

// ---------------------------------------------------------------- client

void TqzSkinCustomEdit::PaintBackground(TCanvas& canvas, const TRect& r) {
  GetSkinData();
  if (!data_) {
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(defaultColor_);
    canvas.FillRect(r);
    return;
  }
  if (!picture_) return TqzCustomEdit::PaintBackground(canvas, r);
  // The text area shows the field of its own frame: the frame composed for
  // the whole window (stretched, in the current state, blended when asked),
  // cut to the client area. The parent's image alone would leave the text on
  // another colour than the field around it whenever the skin's field is not
  // the colour of what lies under the control.
  TBitmap frame;
  ComposeFrame(frame);
  TRect window;
  GetWindowRect(HWND(this), window);
  const TPoint client = ClientOrigin();
  canvas.CopyRect(r, frame.Canvas(), OffsetRect(r, client.X - window.Left, client.Y - window.Top));
}

// Left: 2 pixels in; right: the text's right edge 1 pixel short of the
// area's; centred: 1 pixel left of the middle.
int TqzSkinCustomEdit::DisabledTextX(const TRect& area, int textWidth) const {
  switch (Alignment()) {
    case taRightJustify: return area.Right - textWidth - 1;
    case taCenter: return area.Left + (area.Width() - textWidth) / 2 - 1;
    default: return area.Left + 2;
  }
}

void TqzSkinCustomEdit::PaintDisabled() {
  TCanvas& c = Canvas();
  c.Font().Assign(Font());
  const TRect client = ClientRect();
  PaintBackground(c, client);
  // The text area lies between the image buttons.
  TRect area = client;
  if (TRect left = LeftImageRect(); !left.IsEmpty()) area.Left = left.Right;
  if (TRect right = RightImageRect(); !right.IsEmpty()) area.Right = right.Left;
  const std::string text = DisplayText();
  if (area.IsEmpty() || text.empty()) return;
  const int x = DisabledTextX(area, c.TextWidth(text));
  const int y = area.Top + (area.Height() - c.TextHeight("Wg")) / 2;
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Font().SetColor(TextColor());
  c.TextRect(area, x, y, text);
}

void TqzSkinCustomEdit::Paint() {
  if (Enabled()) TqzCustomEdit::Paint();
  else PaintDisabled();
  if (!images_) return;
  TCanvas& c = Canvas();
  auto draw = [&](const TRect& r, const int (&indexes)[3], bool hot, bool down) {
    if (r.IsEmpty()) return;
    int index = indexes[0];
    if (down && indexes[2] >= 0 && indexes[2] < images_->Count()) index = indexes[2];
    else if (hot && indexes[1] >= 0 && indexes[1] < images_->Count()) index = indexes[1];
    if (index >= 0 && index < images_->Count()) images_->Draw(c, r.Left, r.Top, index, Enabled());
  };
  draw(LeftImageRect(), leftImage_, leftHot_, leftDown_);
  draw(RightImageRect(), rightImage_, rightHot_, rightDown_);
}

}  // namespace qz
