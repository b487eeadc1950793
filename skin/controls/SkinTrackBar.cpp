// The skinned track bar: the geometry rules, the value and its range,
// dragging, clicks, keys and wheel, and the skinned and plain looks.
#include "skin/controls/SkinTrackBar.h"

#include <cstdint>

#include "host/ui/Windows.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/PixelOps.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"

namespace qz {

namespace {

// The plain track keeps this far from the bar's edges.
constexpr int kPlainTrackInset = 2;

// The fraction of the range from minValue that value is (0 for no range).
double RangeFraction(int value, int minValue, int maxValue) {
  const int64_t range = int64_t(maxValue) - minValue;
  return range == 0 ? 0.0 : double(int64_t(value) - minValue) / double(range);
}

}  // namespace

// ---------------------------------------------------------------- rules

TqzTrackGeometry CalcTrackGeometry(const TRect& track, TSize thumb, bool vertical, int value,
                                   int minValue, int maxValue) {
  const int hw = thumb.cx / 2, hh = thumb.cy / 2;
  const double f = RangeFraction(value, minValue, maxValue);
  TqzTrackGeometry g;
  if (vertical) {
    g.Start = track.Top + hh;
    g.End = track.Bottom - hh;
    g.Offset = int(RoundHalfEven(f * (g.End - g.Start)));
    const int top = g.End - g.Offset - hh, left = track.Left + track.Width() / 2 - hw;
    g.Thumb = Bounds(left, top, thumb.cx, thumb.cy);
  } else {
    g.Start = track.Left + hw;
    g.End = track.Right - hw;
    g.Offset = int(RoundHalfEven(f * (g.End - g.Start)));
    const int left = g.Start + g.Offset - hw, top = track.Top + track.Height() / 2 - hh;
    g.Thumb = Bounds(left, top, thumb.cx, thumb.cy);
  }
  return g;
}

int TrackValueAt(int p, int start, int end, int minValue, int maxValue) {
  if (end <= start) return minValue;
  const double f = std::clamp(double(p) / double(end - start), 0.0, 1.0);
  return int(int64_t(minValue) + int64_t(RoundHalfEven(double(int64_t(maxValue) - minValue) * f)));
}

TSize PlainThumbSize(int width, int height, bool vertical) {
  if (vertical) {
    const int across = width - 4;
    return {across, across / 2};
  }
  const int across = height - 4;
  return {across / 2, across};
}

// ---------------------------------------------------------------- properties

TqzSkinTrackBar::TqzSkinTrackBar(TComponent* AOwner) : TqzSkinCustomControl(AOwner) {
  controlStyle_ = {csCaptureMouse, csOpaque};
  width_ = 100;
  height_ = 20;
  tabStop_ = false;
  link_.skinDataName = "htrackbar";
}

TqzSkinTrackBar::~TqzSkinTrackBar() = default;

void TqzSkinTrackBar::SetMinValue(int v) {
  minValue_ = v;
  PullValueIntoRange();
}

void TqzSkinTrackBar::SetMaxValue(int v) {
  maxValue_ = v;
  PullValueIntoRange();
}

void TqzSkinTrackBar::PullValueIntoRange() {
  value_ = std::clamp(value_, LowValue(), HighValue());
  Invalidate();
}

void TqzSkinTrackBar::SetValue(int v) {
  v = std::clamp(v, LowValue(), HighValue());
  if (v == value_) return;
  value_ = v;
  Invalidate();
  // A stored value read from a form resource is no change by the user.
  if (!ComponentState().Contains(csLoading)) Fire(OnChange);
}

void TqzSkinTrackBar::SetVertical(bool v) {
  vertical_ = v;
  if (ComponentState().Contains(csDesigning)) SetSkinDataName(v ? "trackbar" : "htrackbar");
  Invalidate();
}

void TqzSkinTrackBar::SetCanFocused(bool v) {
  canFocused_ = v;
  SetTabStop(v);
  Invalidate();
}

void TqzSkinTrackBar::SetMouseSupport(bool v) {
  mouseSupport_ = v;
  if (!v && dragging_) StopDrag();
}

bool TqzSkinTrackBar::Fire(const TNotifyEvent& event) {
  if (!event) return true;
  TComponentRef<TqzSkinTrackBar> self(this);
  event(this);
  return static_cast<bool>(self);
}

bool TqzSkinTrackBar::StepTo(int v) {
  TComponentRef<TqzSkinTrackBar> self(this);
  SetValue(v);
  return self && Fire(OnLastChange);
}

int TqzSkinTrackBar::PageSize() const {
  return std::max(1, int((int64_t(HighValue()) - LowValue()) / 10));
}

// ---------------------------------------------------------------- geometry

bool TqzSkinTrackBar::IsVertical() const { return hasTrackSkin_ ? skinVertical_ : vertical_; }

TRect TqzSkinTrackBar::TrackRect() const {
  if (!Skinned())
    return {kPlainTrackInset, kPlainTrackInset, Width() - kPlainTrackInset, Height() - kPlainTrackInset};
  TRect track = trackArea_;
  // A bar that stretches carries the track's far end with its size.
  if (ResizeMode >= 1) {
    if (IsVertical())
      track.Bottom += Height() - Geom.SkinRect.Height();
    else
      track.Right += Width() - Geom.SkinRect.Width();
  }
  return track;
}

TSize TqzSkinTrackBar::ThumbSize() const {
  if (Skinned()) return {buttonRect_.Width(), buttonRect_.Height()};
  return PlainThumbSize(Width(), Height(), IsVertical());
}

TqzTrackGeometry TqzSkinTrackBar::ThumbGeometry() const {
  return CalcTrackGeometry(TrackRect(), ThumbSize(), IsVertical(), value_, minValue_, maxValue_);
}

// ---------------------------------------------------------------- mouse

void TqzSkinTrackBar::WMMouse(TMessage& m) {
  const bool press = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK;
  if (press && canFocused_ && !Focused() && !ComponentState().Contains(csDesigning)) {
    // The press first takes the focus; it is dropped when that fails.
    TComponentRef<TqzSkinTrackBar> self(this);
    if (CanFocus()) SetFocus();
    if (!self || !Focused()) return;
  }
  // The release gives the capture back before MouseUp ends the drag; only a
  // capture lost otherwise ends it early.
  releasing_ = m.Msg == WM_LBUTTONUP;
  TComponentRef<TqzSkinTrackBar> self(this);
  TqzSkinCustomControl::WMMouse(m);
  if (self) releasing_ = false;
}

void TqzSkinTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && mouseSupport_) {
    const TqzTrackGeometry g = ThumbGeometry();
    // The thumb's right and bottom edges count as on it.
    if (PointInRect(g.Thumb, {X, Y})) {
      dragging_ = true;
      dragStartPos_ = IsVertical() ? Y : X;
      dragStartOffset_ = g.Offset;
      Invalidate();
      if (!Fire(OnStartDragButton)) return;
    }
  }
  TqzSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TqzSkinTrackBar::MouseMove(TShiftState Shift, int X, int Y) {
  if (dragging_) {
    const TqzTrackGeometry g = ThumbGeometry();
    const int p = IsVertical() ? dragStartPos_ + dragStartOffset_ - Y : X + dragStartOffset_ - dragStartPos_;
    TComponentRef<TqzSkinTrackBar> self(this);
    SetValue(TrackValueAt(p, g.Start, g.End, minValue_, maxValue_));
    if (!self) return;
  }
  TqzSkinCustomControl::MouseMove(Shift, X, Y);
}

void TqzSkinTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (dragging_) {
      StopDrag();
      if (!Fire(OnLastChange)) return;
    } else if (jumpWhenClick_ && mouseSupport_) {
      // The thumb's centre goes to the point clicked.
      const TqzTrackGeometry g = ThumbGeometry();
      const int p = IsVertical() ? g.End - Y : X - g.Start;
      TComponentRef<TqzSkinTrackBar> self(this);
      SetValue(TrackValueAt(p, g.Start, g.End, minValue_, maxValue_));
      if (!self) return;
    }
  }
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TqzSkinTrackBar::StopDrag() {
  dragging_ = false;
  Invalidate();
}

// ---------------------------------------------------------------- keys, wheel, focus

int TqzSkinTrackBar::SteppedBy(int64_t delta) const {
  return int(std::clamp<int64_t>(int64_t(value_) + delta, LowValue(), HighValue()));
}

void TqzSkinTrackBar::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (canFocused_) {
    bool step = true;
    int target = value_;
    switch (Key) {
      case VK_LEFT: case VK_DOWN: target = SteppedBy(-1); break;
      case VK_RIGHT: case VK_UP: target = SteppedBy(1); break;
      case VK_PRIOR: target = SteppedBy(PageSize()); break;
      case VK_NEXT: target = SteppedBy(-PageSize()); break;
      case VK_HOME: target = minValue_; break;
      case VK_END: target = maxValue_; break;
      default: step = false; break;
    }
    if (step) {
      if (!StepTo(target)) return;
      Key = 0;
    }
  }
  TqzSkinCustomControl::KeyDown(Key, Shift);
}

void TqzSkinTrackBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      if (canFocused_) {
        m.Result = DLGC_WANTARROWS;
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      if (HasFocusNow()) {
        const int delta = static_cast<int16_t>(HIWORD(m.WParam));
        // Vertically the wheel away from the user goes up; horizontally
        // it goes towards the start.
        const bool increase = IsVertical() ? delta > 0 : delta <= 0;
        m.Result = 1;
        StepTo(SteppedBy(increase ? 1 : -1));
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a dialog a handler opened): the drag
      // ends there, or the thumb would follow a pointer whose button is up.
      if (dragging_ && !releasing_) {
        TComponentRef<TqzSkinTrackBar> self(this);
        TqzSkinCustomControl::Dispatch(m);
        if (!self) return;
        StopDrag();
        Fire(OnLastChange);
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TComponentRef<TqzSkinTrackBar> self(this);
      TqzSkinCustomControl::Dispatch(m);
      if (self && canFocused_) Invalidate();
      return;
    }
    default:
      break;
  }
  TqzSkinCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------- looks

const TqzDataSkinTrackBarControl* TqzSkinTrackBar::TrackDescription() const {
  return SkinIndex != -1 ? As<TqzDataSkinTrackBarControl>(SkinDescription()) : nullptr;
}

void TqzSkinTrackBar::GetSkinData() {
  TqzSkinCustomControl::GetSkinData();
  hasTrackSkin_ = false;
  const TqzDataSkinTrackBarControl* d = TrackDescription();
  if (!d) {
    // A description of another kind is no track bar's: the plain look.
    SkinIndex = -1;
    return;
  }
  hasTrackSkin_ = true;
  skinVertical_ = d->Vertical;
  activeSkinRect_ = d->ActiveSkinRect;
  trackArea_ = d->TrackArea;
  buttonRect_ = d->ButtonRect;
  activeButtonRect_ = d->ActiveButtonRect.IsEmpty() ? d->ButtonRect : d->ActiveButtonRect;
  buttonTransparent_ = d->ButtonTransparent;
  buttonTransparentColor_ = d->ButtonTransparentColor;
}

// The base paint without its blend over the parent: AlphaBlend makes only
// the thumb translucent here.
void TqzSkinTrackBar::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  int w = Width(), h = Height();
  CalcSize(w, h);
  TBitmap image(Width(), Height());
  if (SkinIndex != -1)
    CreateControlSkinImage(image);
  else if (DrawDefault())
    CreateControlDefaultImage(image);
  Canvas().Draw(0, 0, image);
}

void TqzSkinTrackBar::CreateControlSkinImage(TBitmap& B) {
  if (!Skinned()) {
    if (DrawDefault()) CreateControlDefaultImage(B);
    return;
  }
  TqzSkinCustomControl::CreateControlSkinImage(B);
  if (B.Empty()) return;
  const TRect thumb = ThumbGeometry().Thumb;
  PaintActiveTrack(B, thumb);
  PaintSkinThumb(B, thumb);
  B.Modified();
}

// The part of the track from the minimum end to the thumb's centre shows
// the bar composed from the active rectangle.
void TqzSkinTrackBar::PaintActiveTrack(TBitmap& B, const TRect& thumb) const {
  if (activeSkinRect_.IsEmpty()) return;
  TBitmap active;
  ComposeButtonLook(TqzSkinResizeState::Geometry(), activeSkinRect_, true, B.Width(), B.Height(),
                    *Picture, active);
  if (active.Empty()) return;
  TRect part;
  if (IsVertical())
    part = {0, std::max(0, thumb.Top + thumb.Height() / 2), B.Width(), B.Height()};
  else
    part = {0, 0, std::min(B.Width(), thumb.Left + thumb.Width() / 2), B.Height()};
  part.Right = std::min(part.Right, active.Width());
  part.Bottom = std::min(part.Bottom, active.Height());
  if (part.IsEmpty()) return;
  B.Canvas().CopyRect(part, active.Canvas(), part);
}

void TqzSkinTrackBar::PaintSkinThumb(TBitmap& B, const TRect& thumb) const {
  const TRect& source = dragging_ || HasFocusNow() ? activeButtonRect_ : buttonRect_;
  if (IsNullRect(source)) return;
  const int w = source.Width(), h = source.Height();
  TBitmap piece(w, h);
  piece.Canvas().CopyRect({0, 0, w, h}, Picture->Canvas(), source);
  if (buttonTransparent_) {
    piece.SetTransparentColor(buttonTransparentColor_);
    piece.SetTransparent(true);
  } else if (AlphaBlend()) {
    // Each channel = value/255 * thumb + (1 - value/255) * what lies under it.
    TBitmap under(w, h);
    under.Canvas().CopyRect({0, 0, w, h}, B.Canvas(), Bounds(thumb.Left, thumb.Top, w, h));
    TqzEffectBmp blended(piece);
    blended.Morph(TqzEffectBmp(under), 1.0 - AlphaBlendValue() / 255.0);
    piece.Pixels() = blended.ToPixmap();
    piece.Modified();
  }
  B.Canvas().Draw(thumb.Left, thumb.Top, piece);
}

void TqzSkinTrackBar::CreateControlDefaultImage(TBitmap& B) {
  TqzSkinCustomControl::CreateControlDefaultImage(B);
  const int W = Width(), H = Height();
  B.SetSize(W, H);
  TCanvas& canvas = B.Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  const TRect groove = IsVertical() ? TRect{W / 2 - 1, 4, W / 2 + 1, H - 4}
                                    : TRect{4, H / 2 - 1, W - 4, H / 2 + 1};
  canvas.Brush().SetColor(clBtnShadow);
  canvas.FrameRect(groove);
  const TRect thumb = ThumbGeometry().Thumb;
  const TColor frame = dragging_ || HasFocusNow() ? kPlainLookHotFrame : clBtnShadow;
  const TColor fill = dragging_ ? kPlainLookDownFill : HasFocusNow() ? kPlainLookHotFill : clBtnFace;
  canvas.Brush().SetColor(fill);
  canvas.FillRect(thumb);
  canvas.Brush().SetColor(frame);
  canvas.FrameRect(thumb);
  B.Modified();
}

// ---------------------------------------------------------------- streaming

QZ_PUBLISHED(TqzSkinTrackBar, TqzSkinCustomControl) {
  using O = TqzSkinTrackBar;
  b.Factory([](TComponent* owner) { return new TqzSkinTrackBar(owner); });
  b.Prop("SkinDataName", &O::SkinDataName,
         [](O& o, const std::string& v) { o.SetSkinDataName(v); }, std::string("htrackbar"));
  b.Prop("MinValue", &O::MinValue, &O::SetMinValue, 0);
  b.Prop("MaxValue", &O::MaxValue, &O::SetMaxValue, 100);
  b.Prop("Value", &O::Value, &O::SetValue, 50);
  b.Prop("Vertical", &O::Vertical, &O::SetVertical, false);
  b.Prop("JumpWhenClick", &O::JumpWhenClick, &O::SetJumpWhenClick, false);
  b.Prop("CanFocused", &O::CanFocused, &O::SetCanFocused, false);
  b.Prop("MouseSupport", &O::MouseSupport, &O::SetMouseSupport, true);
  b.Event<TNotifyEvent>("OnChange", &O::OnChange);
  b.Event<TNotifyEvent>("OnLastChange", &O::OnLastChange);
  b.Event<TNotifyEvent>("OnStartDragButton", &O::OnStartDragButton);
}

}  // namespace qz
