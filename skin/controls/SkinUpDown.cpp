#include "skin/controls/SkinUpDown.h"

#include <algorithm>

#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"

namespace qz {

namespace {

template <class D>
TqzUpDownPieces PiecesOf(const D& d, TBitmap* picture) {
  return {d.UpButtonRect, d.ActiveUpButtonRect, d.DownUpButtonRect,
          d.DownButtonRect, d.ActiveDownButtonRect, d.DownDownButtonRect, picture};
}

// A triangle pointing back (left or up) or forward (right or down).
void DrawArrow(TCanvas& c, const TRect& r, bool forward, bool vertical, TColor ink) {
  int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  int d = forward ? 2 : -2;
  TPoint tip = vertical ? TPoint{cx, cy + d} : TPoint{cx + d, cy};
  TPoint a = vertical ? TPoint{cx - 3, cy - d} : TPoint{cx - d, cy - 3};
  TPoint b = vertical ? TPoint{cx + 3, cy - d} : TPoint{cx - d, cy + 3};
  TPoint pts[3] = {tip, a, b};
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(ink);
  c.Pen().SetColor(ink);
  c.Polygon(pts);
}

}  // namespace

TRect TqzUpDownPieces::Piece(TqzUpDownButton button, bool hot, bool pressed) const {
  bool forward = button == TqzUpDownButton::Forward;
  const TRect& normal = forward ? Up : Down;
  TRect hotPiece = IsNullRect(forward ? ActiveUp : ActiveDown) ? normal : (forward ? ActiveUp : ActiveDown);
  TRect pressedPiece = IsNullRect(forward ? DownUp : DownDown) ? hotPiece : (forward ? DownUp : DownDown);
  if (pressed) return pressedPiece;
  return hot ? hotPiece : normal;
}

TqzSkinUpDown::TqzSkinUpDown(TComponent* AOwner) : TqzSkinControl(AOwner) {
  controlStyle_ = {csCaptureMouse, csOpaque, csDoubleClicks};
  tabStop_ = false;
  width_ = 34;
  height_ = 17;
}

void TqzSkinUpDown::SetVertical(bool v) {
  if (v == vertical_) return;
  vertical_ = v;
  Invalidate();
}

void TqzSkinUpDown::SetButtonsEnabled(bool back, bool forward) {
  if (back == backEnabled_ && forward == forwardEnabled_) return;
  backEnabled_ = back;
  forwardEnabled_ = forward;
  Invalidate();
}

bool TqzSkinUpDown::ButtonEnabled(TqzUpDownButton button) const {
  if (!Enabled()) return false;
  if (button == TqzUpDownButton::Back) return backEnabled_;
  if (button == TqzUpDownButton::Forward) return forwardEnabled_;
  return false;
}

TRect TqzSkinUpDown::ButtonRect(TqzUpDownButton button) const {
  if (button == TqzUpDownButton::None) return {};
  bool back = button == TqzUpDownButton::Back;
  if (vertical_) {
    int middle = Height() / 2;
    return back ? TRect{0, 0, Width(), middle} : TRect{0, middle, Width(), Height()};
  }
  int middle = Width() / 2;
  return back ? TRect{0, 0, middle, Height()} : TRect{middle, 0, Width(), Height()};
}

TqzUpDownButton TqzSkinUpDown::ButtonAt(int x, int y) const {
  for (TqzUpDownButton b : {TqzUpDownButton::Back, TqzUpDownButton::Forward})
    if (ButtonRect(b).Contains({x, y})) return b;
  return TqzUpDownButton::None;
}

std::optional<TqzUpDownPieces> FindUpDownPieces(const TqzSkinData* skin, const std::string& name) {
  if (!skin || skin->Empty() || name.empty()) return std::nullopt;
  int index = skin->FindControlIndex(name);
  if (index < 0) return std::nullopt;
  const TqzDataSkinControl* d = skin->CtrlList()[size_t(index)].get();
  TBitmap* picture = skin->ActivePicture(d->PictureIndex);
  if (!picture) return std::nullopt;
  if (const auto* u = As<const TqzDataSkinUpDownControl>(d)) return PiecesOf(*u, picture);
  if (const auto* s = As<const TqzDataSkinSpinEditControl>(d)) return PiecesOf(*s, picture);
  return std::nullopt;
}

std::optional<TSize> UpDownSkinSize(const TqzUpDownPieces& pieces, bool vertical) {
  if (IsNullRect(pieces.Up) || IsNullRect(pieces.Down)) return std::nullopt;
  if (vertical)
    return TSize{pieces.Up.Height() + pieces.Down.Height(), std::max(pieces.Up.Width(), pieces.Down.Width())};
  return TSize{pieces.Up.Width() + pieces.Down.Width(), std::max(pieces.Up.Height(), pieces.Down.Height())};
}

std::optional<TqzUpDownPieces> TqzSkinUpDown::Pieces() const { return FindUpDownPieces(SkinData(), SkinDataName()); }

std::optional<TSize> TqzSkinUpDown::SkinSize() const {
  auto pieces = Pieces();
  return pieces ? UpDownSkinSize(*pieces, vertical_) : std::nullopt;
}

void TqzSkinUpDown::CreateControlSkinImage(TBitmap& B) {
  auto pieces = Pieces();
  if (!pieces) {
    CreateControlDefaultImage(B);
    return;
  }
  B.Canvas().Brush().SetColor(PlainFaceColor());
  B.Canvas().FillRect({0, 0, B.Width(), B.Height()});
  for (TqzUpDownButton button : {TqzUpDownButton::Back, TqzUpDownButton::Forward}) {
    TRect piece = pieces->Piece(button, hot_ == button, pressed_ == button);
    TRect r = ButtonRect(button);
    if (IsNullRect(piece) || IsNullRect(r)) continue;
    TBitmap image(piece.Width(), piece.Height());
    image.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, pieces->Picture->Canvas(), piece);
    // At the piece's own size it is copied as it is; otherwise stretched.
    if (r.Width() == piece.Width() && r.Height() == piece.Height())
      B.Canvas().Draw(r.Left, r.Top, image);
    else
      B.Canvas().StretchDraw(r, image);
  }
}

void TqzSkinUpDown::CreateControlDefaultImage(TBitmap& B) {
  TCanvas& c = B.Canvas();
  for (TqzUpDownButton button : {TqzUpDownButton::Back, TqzUpDownButton::Forward}) {
    TRect r = ButtonRect(button);
    bool enabled = ButtonEnabled(button);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(!enabled                ? clBtnFace
                       : pressed_ == button    ? kPlainLookDownFill
                       : hot_ == button        ? kPlainLookHotFill
                                               : clBtnFace);
    c.FillRect(r);
    c.Brush().SetColor(PlainShadowColor());
    c.FrameRect(r);
    DrawArrow(c, r, button == TqzUpDownButton::Forward, vertical_, enabled ? clBtnText : clGrayText);
  }
}

void TqzSkinUpDown::SetStates(TqzUpDownButton hot, TqzUpDownButton pressed) {
  if (hot == hot_ && pressed == pressed_) return;
  hot_ = hot;
  pressed_ = pressed;
  Invalidate();
}

void TqzSkinUpDown::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  TComponentRef<TqzSkinUpDown> self(this);
  TqzSkinControl::MouseDown(b, s, x, y);  // OnMouseDown
  if (!self || b != mbLeft) return;
  TqzUpDownButton button = ButtonAt(x, y);
  if (!ButtonEnabled(button)) return;
  SetStates(button, button);
  // Like a spin button, the press itself steps.
  if (OnClick) OnClick(this, button == TqzUpDownButton::Back ? -1 : 1);
}

void TqzSkinUpDown::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  TComponentRef<TqzSkinUpDown> self(this);
  TqzSkinControl::MouseUp(b, s, x, y);  // OnMouseUp
  if (self && b == mbLeft) SetStates(ButtonAt(x, y), TqzUpDownButton::None);
}

void TqzSkinUpDown::MouseMove(TShiftState s, int x, int y) {
  TComponentRef<TqzSkinUpDown> self(this);
  TqzSkinControl::MouseMove(s, x, y);  // OnMouseMove
  if (self) SetStates(ButtonAt(x, y), pressed_);
}

void TqzSkinUpDown::CMMouseLeave(TMessage& m) {
  TComponentRef<TqzSkinUpDown> self(this);
  TqzSkinControl::CMMouseLeave(m);  // OnMouseLeave
  if (self) SetStates(TqzUpDownButton::None, pressed_);
}

QZ_PUBLISHED(TqzSkinUpDown, TqzSkinControl) {
  b.Factory([](TComponent* owner) { return new TqzSkinUpDown(owner); });
  b.Prop("Vertical", &TqzSkinUpDown::Vertical, &TqzSkinUpDown::SetVertical, false);
}

}  // namespace qz
