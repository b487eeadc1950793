// The objects that show or set a value or a text: user objects, switches,
// track bars, gauges, frame gauges and regulators, labels, bit labels and
// the frame menu items.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/ui/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/draw/PixelOps.h"
#include "skin/draw/QZUtils.h"
#include "skin/form/SkinObjects.h"

namespace qz {

namespace {

// Copies `src` of `picture` to `dest` on the canvas; parts outside the
// picture are left out.
void CopyPieceTo(TCanvas& canvas, TBitmap* picture, const TRect& src, TPoint dest) {
  if (!picture || src.IsEmpty()) return;
  canvas.CopyRect({dest.X, dest.Y, dest.X + src.Width(), dest.Y + src.Height()}, picture->Canvas(),
                  src);
}

// As CopyPieceTo, leaving out the pixels of the key colour.
void CopyPieceKeyed(TCanvas& canvas, const TBitmap* picture, const TRect& src, TPoint dest,
                    TColor key) {
  if (!picture) return;
  const TColorRef keyRef = ColorToRGB(key);
  const TPixmap& pixels = picture->Pixels();
  for (int y = std::max(src.Top, 0); y < std::min(src.Bottom, pixels.Height()); ++y) {
    for (int x = std::max(src.Left, 0); x < std::min(src.Right, pixels.Width()); ++x) {
      const uint32_t p = pixels.At(x, y);
      // 0xRRGGBB pixel to a 0xBBGGRR colour reference.
      const TColorRef ref = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
      if (ref != keyRef) canvas.SetPixel(dest.X + x - src.Left, dest.Y + y - src.Top, TColor(ref));
    }
  }
}

void UseSkinFont(TCanvas& canvas, const std::string& name, int height, TFontStyles style,
                 TColor color) {
  canvas.Font().SetName(name);
  canvas.Font().SetHeight(height);
  canvas.Font().SetStyle(style);
  canvas.Font().SetColor(color);
  canvas.SetBkMode(TRANSPARENT);
}

int RoundToInt(double x) { return static_cast<int>(RoundHalfEven(x)); }

}  // namespace

// ---------------------------------------------------------------------------

void TqzUserObject::Draw(TCanvas& canvas, bool) {
  host_.FirePaint(IDName(), canvas, ObjectRect);
}

// ---------------------------------------------------------------------------
// Switch

void TqzSkinSwitchObject::SetState(TSwitchState state) {
  if (state_ == state) return;
  state_ = state;
  host_.RedrawObject(*this);
}

void TqzSkinSwitchObject::Draw(TCanvas& canvas, bool) {
  // Both looks are drawn every time: after swsOn the frame no longer shows
  // the off look.
  if (state_ == swsOn && !ActiveLook(data_.ActiveSkinRect).IsEmpty())
    DrawPiece(canvas, ActivePicture(), data_.ActiveSkinRect);
  else
    DrawPiece(canvas, NormalPicture(), data_.SkinRect);
}

void TqzSkinSwitchObject::MouseDown(int x, int y, TqzMouseButton button) {
  const TLiveness alive = Liveness();
  if (Enabled && button == TqzMouseButton::mbLeft) {
    SetState(state_ == swsOn ? swsOff : swsOn);
    host_.FireSwitchChangeState(IDName(), state_);
  }
  if (alive) TqzActiveSkinObject::MouseDown(x, y, button);
}

void TqzSkinSwitchObject::MouseEnter() { RunEnter(false); }
void TqzSkinSwitchObject::MouseLeave() { RunLeave(false); }

// ---------------------------------------------------------------------------
// Track bar

TqzSkinTrackBarObject::TqzSkinTrackBarObject(TqzObjectHost& host, const TqzDataSkinTrackBar& data)
    : TqzActiveSkinObject(host, data) {
  value_ = data.MinValue;
  pos_ = TrackLow();
}

bool TqzSkinTrackBarObject::Vertical() const {
  const TqzDataSkinTrackBar& d = TrackData();
  return std::abs(d.EndPoint.Y - d.BeginPoint.Y) >= std::abs(d.EndPoint.X - d.BeginPoint.X);
}

// Horizontal: minvalue at beginpoint.X; vertical: minvalue at beginpoint.Y
// (the bottom) and maxvalue at endpoint.Y (the top).
int TqzSkinTrackBarObject::TrackLow() const {
  return Vertical() ? TrackData().BeginPoint.Y : TrackData().BeginPoint.X;
}
int TqzSkinTrackBarObject::TrackHigh() const {
  return Vertical() ? TrackData().EndPoint.Y : TrackData().EndPoint.X;
}

int TqzSkinTrackBarObject::ValueAt(int pos) const {
  const TqzDataSkinTrackBar& d = TrackData();
  const int span = TrackHigh() - TrackLow();
  if (span == 0) return d.MinValue;
  return d.MinValue + RoundToInt(double(pos - TrackLow()) * (d.MaxValue - d.MinValue) / span);
}

int TqzSkinTrackBarObject::PosOf(int value) const {
  const TqzDataSkinTrackBar& d = TrackData();
  const int range = d.MaxValue - d.MinValue;
  if (range == 0) return TrackLow();
  return TrackLow() + RoundToInt(double(value - d.MinValue) * (TrackHigh() - TrackLow()) / range);
}

void TqzSkinTrackBarObject::SetValue(int value) {
  const TqzDataSkinTrackBar& d = TrackData();
  value = std::clamp(value, std::min(d.MinValue, d.MaxValue), std::max(d.MinValue, d.MaxValue));
  if (value == value_) return;
  value_ = value;
  pos_ = PosOf(value);
  host_.RedrawObject(*this);
}

TRect TqzSkinTrackBarObject::ThumbRect() const {
  const TqzDataSkinTrackBar& d = TrackData();
  const TSize s = d.ButtonRect.Size();
  const TPoint centre = Vertical() ? TPoint{d.BeginPoint.X, pos_} : TPoint{pos_, d.BeginPoint.Y};
  return Bounds(centre.X - s.cx / 2, centre.Y - s.cy / 2, s.cx, s.cy);
}

void TqzSkinTrackBarObject::MoveThumbTo(int pos) {
  pos = std::clamp(pos, std::min(TrackLow(), TrackHigh()), std::max(TrackLow(), TrackHigh()));
  if (pos == pos_) return;
  pos_ = pos;
  value_ = ValueAt(pos);
  host_.RedrawObject(*this);
  host_.FireTrackBarChangeValue(IDName(), value_);
}

void TqzSkinTrackBarObject::Draw(TCanvas& canvas, bool) {
  if (!Skin()) return;
  // The track is redrawn under the thumb so that its old place is cleared.
  DrawPiece(canvas, NormalPicture(), data_.SkinRect);
  const TqzDataSkinTrackBar& d = TrackData();
  const TRect look = (dragging_ || Active) && !d.ActiveButtonRect.IsEmpty() ? d.ActiveButtonRect
                                                                            : d.ButtonRect;
  const TRect thumb = OffsetRect(ThumbRect(), ObjectRect.Left, ObjectRect.Top);
  if (d.ButtonTransparent)
    CopyPieceKeyed(canvas, ActivePicture(), look, thumb.TopLeft(), d.ButtonTransparentColor);
  else
    CopyPieceTo(canvas, ActivePicture(), look, thumb.TopLeft());
}

void TqzSkinTrackBarObject::MouseDown(int x, int y, TqzMouseButton button) {
  const TLiveness alive = Liveness();  // moving the thumb raises its change event
  if (Enabled && button == TqzMouseButton::mbLeft) {
    const int along = Vertical() ? y : x;
    if (ThumbRect().Contains({x, y})) {
      dragging_ = true;
      dragOffset_ = along - pos_;
      host_.RedrawObject(*this);
    } else if (TrackData().MouseDownChangeValue) {
      MoveThumbTo(along);
    }
  }
  if (alive) TqzActiveSkinObject::MouseDown(x, y, button);
}

void TqzSkinTrackBarObject::MouseMove(int x, int y) {
  const TLiveness alive = Liveness();
  if (dragging_) MoveThumbTo((Vertical() ? y : x) - dragOffset_);
  if (alive) TqzActiveSkinObject::MouseMove(x, y);
}

void TqzSkinTrackBarObject::MouseUp(int x, int y, TqzMouseButton button) {
  if (dragging_ && button == TqzMouseButton::mbLeft) {
    dragging_ = false;
    host_.RedrawObject(*this);
  }
  TqzActiveSkinObject::MouseUp(x, y, button);
}

// ---------------------------------------------------------------------------
// Gauge

TqzSkinGaugeObject::TqzSkinGaugeObject(TqzObjectHost& host, const TqzDataSkinGauge& data)
    : TqzActiveSkinObject(host, data), value_(data.MinValue) {}

void TqzSkinGaugeObject::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  host_.RedrawObject(*this);
}

double TqzSkinGaugeObject::Fraction() const {
  const TqzDataSkinGauge& d = GaugeData();
  if (d.MaxValue == d.MinValue) return 0.0;
  return std::clamp(double(value_ - d.MinValue) / (d.MaxValue - d.MinValue), 0.0, 1.0);
}

void TqzSkinGaugeObject::Draw(TCanvas& canvas, bool compose) {
  if (!Skin()) return;
  const TqzDataSkinGauge& d = GaugeData();
  const double x = Fraction();
  // At the minimum the frame's own look is the empty gauge; it is drawn
  // anyway when a fill was shown before, which it has to clear.
  if (value_ == d.MinValue && !compose && !filled_) return;
  const TRect full = ActiveLook(d.ActiveSkinRect);
  const TRect& empty = d.SkinRect;
  const TPoint at = ObjectRect.TopLeft();
  if (d.Kind == TqzGaugeKind::Horizontal) {
    const int w = RoundToInt(x * empty.Width());
    CopyPieceTo(canvas, ActivePicture(), {full.Left, full.Top, full.Left + w, full.Bottom}, at);
    CopyPieceTo(canvas, NormalPicture(), {empty.Left + w, empty.Top, empty.Right, empty.Bottom},
                {at.X + w, at.Y});
  } else {
    const int h = RoundToInt(empty.Height() * (1.0 - x));
    CopyPieceTo(canvas, NormalPicture(), {empty.Left, empty.Top, empty.Right, empty.Top + h}, at);
    CopyPieceTo(canvas, ActivePicture(), {full.Left, full.Top + h, full.Right, full.Bottom},
                {at.X, at.Y + h});
  }
  filled_ = x > 0.0;
}

// ---------------------------------------------------------------------------
// Frame objects

TqzSkinFrameObject::TqzSkinFrameObject(TqzObjectHost& host, const TqzDataSkinFrameGaugeObject& data)
    : TqzActiveSkinObject(host, data), value_(data.MinValue) {}

int TqzSkinFrameObject::CurrentFrame() const {
  const TqzDataSkinFrameGaugeObject& d = FrameData();
  const int step = FrameCount() > 1 ? std::abs(d.MaxValue - d.MinValue) / (FrameCount() - 1) : 0;
  if (step == 0) return 1;
  // Values outside the range show the nearest end frame, never a cell past the strip.
  return std::clamp(std::abs(value_ - d.MinValue) / step + 1, 1, FrameCount());
}

void TqzSkinFrameObject::Draw(TCanvas& canvas, bool) {
  const TqzDataSkinFrameGaugeObject& d = FrameData();
  const TSize s = d.SkinRect.Size();
  const int n = CurrentFrame() - 1;
  const TPoint origin = d.ActiveSkinRect.TopLeft();
  const TRect cell = d.FramesPlacement == TqzFramesPlacement::Horizontal
                         ? Bounds(origin.X + n * s.cx, origin.Y, s.cx, s.cy)
                         : Bounds(origin.X, origin.Y + n * s.cy, s.cx, s.cy);
  DrawPiece(canvas, ActivePicture(), cell);
}

void TqzSkinFrameGaugeObject::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  host_.RedrawObject(*this);
}

TqzSkinFrameRegulatorObject::TqzSkinFrameRegulatorObject(
    TqzObjectHost& host, const TqzDataSkinFrameRegulatorObject& data)
    : TqzSkinFrameObject(host, data) {}

void TqzSkinFrameRegulatorObject::SetValue(int value) {
  const TqzDataSkinFrameGaugeObject& d = FrameData();
  if (value == value_ || value < std::min(d.MinValue, d.MaxValue) ||
      value > std::max(d.MinValue, d.MaxValue))
    return;
  value_ = value;
  host_.RedrawObject(*this);
  host_.FireFrameRegulatorChangeValue(IDName(), value_);
}

// Sliders: the value moves by the drag distance's share of the object's
// length (right and up increase it). Knobs: the angle around the centre,
// clockwise from straight down, spread over the whole range.
int TqzSkinFrameRegulatorObject::ValueFromDrag(int x, int y) const {
  const TqzDataSkinFrameGaugeObject& d = FrameData();
  const int range = d.MaxValue - d.MinValue;
  const int lo = std::min(d.MinValue, d.MaxValue), hi = std::max(d.MinValue, d.MaxValue);
  const TSize s = ObjectRect.Size();
  int value = dragValue_;
  switch (Kind()) {
    case TqzRegulatorKind::Horizontal:
      if (s.cx > 0) value = dragValue_ + (x - dragStart_.X) * range / s.cx;
      break;
    case TqzRegulatorKind::Vertical:
      if (s.cy > 0) value = dragValue_ + (dragStart_.Y - y) * range / s.cy;
      break;
    case TqzRegulatorKind::Round: {
      const double dx = x - s.cx / 2.0, dy = y - s.cy / 2.0;
      if (dx == 0 && dy == 0) return value_;
      double angle = std::atan2(-dx, dy);
      if (angle < 0) angle += 2 * std::numbers::pi;
      value = d.MinValue + RoundToInt(angle / (2 * std::numbers::pi) * range);
      break;
    }
  }
  return std::clamp(value, lo, hi);
}

void TqzSkinFrameRegulatorObject::MouseDown(int x, int y, TqzMouseButton button) {
  const TLiveness alive = Liveness();  // a new value raises its change event
  if (Enabled && button == TqzMouseButton::mbLeft) {
    dragging_ = true;
    dragStart_ = {x, y};
    dragValue_ = value_;
    if (Kind() == TqzRegulatorKind::Round) SetValue(ValueFromDrag(x, y));
  }
  if (alive) TqzActiveSkinObject::MouseDown(x, y, button);
}

void TqzSkinFrameRegulatorObject::MouseMove(int x, int y) {
  const TLiveness alive = Liveness();
  if (dragging_) SetValue(ValueFromDrag(x, y));
  if (alive) TqzActiveSkinObject::MouseMove(x, y);
}

void TqzSkinFrameRegulatorObject::MouseUp(int x, int y, TqzMouseButton button) {
  if (button == TqzMouseButton::mbLeft) dragging_ = false;
  TqzActiveSkinObject::MouseUp(x, y, button);
}

// ---------------------------------------------------------------------------
// Labels

TqzSkinLabelObject::TqzSkinLabelObject(TqzObjectHost& host, const TqzDataSkinLabel& data)
    : TqzActiveSkinObject(host, data), text_(data.TextValue) {}

void TqzSkinLabelObject::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  host_.RedrawObject(*this);
}

void TqzSkinLabelObject::Draw(TCanvas& canvas, bool) {
  if (!Skin()) return;
  // The look under the text is redrawn so that a changed text leaves nothing behind.
  DrawPiece(canvas, NormalPicture(), data_.SkinRect);
  const TqzDataSkinLabel& d = LabelData();
  UseSkinFont(canvas, d.FontName, d.FontHeight, d.FontStyle,
              Active ? d.ActiveFontColor : d.FontColor);
  DrawTextAligned(canvas, text_, ObjectRect, d.Alignment);
}

void TqzSkinLabelObject::MouseEnter() {
  Active = true;
  host_.RedrawObject(*this);
  RunEnter(false);
}

void TqzSkinLabelObject::MouseLeave() {
  Active = false;
  host_.RedrawObject(*this);
  RunLeave(false);
}

TqzSkinBitLabelObject::TqzSkinBitLabelObject(TqzObjectHost& host, const TqzDataSkinBitLabel& data)
    : TqzActiveSkinObject(host, data), text_(data.TextValue) {}

void TqzSkinBitLabelObject::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  host_.RedrawObject(*this);
}

// Each line of "symbols" is one row of cells from activeskinrect's top-left.
TRect TqzSkinBitLabelObject::SymbolCell(char c) const {
  const TqzDataSkinBitLabel& d = BitData();
  const TPoint origin = d.ActiveSkinRect.TopLeft();
  for (size_t row = 0; row < d.Symbols.size(); ++row) {
    const size_t column = d.Symbols[row].find(c);
    if (column == std::string::npos) continue;
    return Bounds(origin.X + int(column) * d.SymbolWidth, origin.Y + int(row) * d.SymbolHeight,
                  d.SymbolWidth, d.SymbolHeight);
  }
  return {};
}

void TqzSkinBitLabelObject::Draw(TCanvas& canvas, bool) {
  if (!Skin()) return;
  const TqzDataSkinBitLabel& d = BitData();
  DrawPiece(canvas, NormalPicture(), data_.SkinRect);
  if (d.SymbolWidth <= 0 || d.SymbolHeight <= 0) return;
  int x = ObjectRect.Left;
  for (char c : text_) {
    if (x + d.SymbolWidth > ObjectRect.Right) break;  // the text stays inside the object
    const TRect cell = SymbolCell(c);
    if (!cell.IsEmpty()) {
      if (d.Transparent)
        CopyPieceKeyed(canvas, ActivePicture(), cell, {x, ObjectRect.Top}, d.TransparentColor);
      else
        CopyPieceTo(canvas, ActivePicture(), cell, {x, ObjectRect.Top});
    }
    x += d.SymbolWidth;
  }
}

// ---------------------------------------------------------------------------
// Frame menu items

TqzSkinMainMenuItem::TqzSkinMainMenuItem(TqzObjectHost& host, const TqzDataSkinMainMenuItem& data,
                                         TMenuItem& item)
    : TqzActiveSkinObject(host, data), item_(item) {
  idName_ = item.Name();
}

int TqzSkinMainMenuItem::ItemWidth() const {
  const TqzDataSkinMainMenuItem& d = ItemData();
  TCanvas measure;
  UseSkinFont(measure, d.FontName, d.FontHeight, d.FontStyle, d.FontColor);
  const int text = measure.TextWidth(StripHotkey(item_.Caption()));
  return std::max(text + d.ItemLeftOffset + d.ItemRightOffset, d.SkinRect.Width() > 0 ? 1 : 0);
}

void TqzSkinMainMenuItem::Draw(TCanvas& canvas, bool) {
  TBitmap* picture = ActivePicture();
  const TqzDataSkinMainMenuItem& d = ItemData();
  TRect look = d.SkinRect;
  TColor color = d.FontColor;
  if (!Enabled) {
    color = d.UnEnabledFontColor;
  } else if (down_) {
    if (!d.DownRect.IsEmpty()) look = d.DownRect;
    color = d.DownFontColor;
  } else if (Active) {
    if (!d.ActiveSkinRect.IsEmpty()) look = d.ActiveSkinRect;
    color = d.ActiveFontColor;
  }
  if (picture && !look.IsEmpty() && !ObjectRect.IsEmpty()) {
    TBitmap image;
    CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, image, d.StretchEffect, ObjectRect.Width(),
                     look, *picture);
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
  }
  UseSkinFont(canvas, d.FontName, d.FontHeight, d.FontStyle, color);
  DrawTextAligned(canvas, StripHotkey(item_.Caption()), ObjectRect, qzTaCenter);
}

// An item whose sub-items are all hidden (or that has none) is a command:
// the press runs it instead of opening an empty menu.
void TqzSkinMainMenuItem::MouseDown(int x, int y, TqzMouseButton button) {
  const bool pressed = Enabled && button == TqzMouseButton::mbLeft && !down_;
  const bool opens = pressed && item_.HasShownItems();
  if (opens) {
    down_ = true;
    host_.RedrawObject(*this);
  }
  const TLiveness alive = Liveness();
  TqzActiveSkinObject::MouseDown(x, y, button);
  // Last: the submenu's command or the item's own may free the form and
  // this object.
  if (!alive || !pressed) return;
  if (opens) host_.PopupMenuBelow(item_, ObjectRect);
  else item_.Click();
}

void TqzSkinMainMenuItem::MouseEnter() {
  Active = true;
  host_.RedrawObject(*this);
  RunEnter(false);
}

void TqzSkinMainMenuItem::MouseLeave() {
  Active = false;
  host_.RedrawObject(*this);
  RunLeave(false);
}

void TqzSkinMainMenuItem::MenuClosed() {
  if (!down_) return;
  down_ = false;
  host_.RedrawObject(*this);
}

}  // namespace qz
