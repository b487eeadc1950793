// The skinned scroll bar: range, mouse, keyboard and timers.
#include "skin/controls/SkinScrollBar.h"

#include <algorithm>

#include "host/ui/Windows.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"

namespace qz {

namespace {
constexpr uintptr_t kRepeatTimerId = 1;
constexpr int kDefaultLength = 200;
constexpr int kDefaultThickness = 19;
const char* const kHorizontalName = "hscrollbar";
const char* const kVerticalName = "vscrollbar";
}  // namespace

TqzSkinScrollBar::TqzSkinScrollBar(TComponent* AOwner) : TqzSkinCustomControl(AOwner) {
  controlStyle_ = {csCaptureMouse, csDoubleClicks, csOpaque};
  width_ = kDefaultLength;
  height_ = kDefaultThickness;
  tabStop_ = false;
  link_.skinDataName = kHorizontalName;
  SetDefaultHeight(kDefaultThickness);
}

TqzSkinScrollBar::~TqzSkinScrollBar() = default;

// ---------------------------------------------------------------- range

int TqzSkinScrollBar::ClampPosition(int V) const {
  const int high = pageSize_ != 0 ? max_ - pageSize_ + 1 : max_;
  return std::max(std::min(V, high), min_);
}

void TqzSkinScrollBar::SetPosition(int V) {
  V = ClampPosition(V);
  if (V == position_) return;
  position_ = V;
  Invalidate();
  Fire(OnChange);
}

void TqzSkinScrollBar::SetRange(int AMin, int AMax, int APageSize, int APosition) {
  min_ = AMin;
  max_ = AMax;
  pageSize_ = std::max(0, APageSize);
  position_ = ClampPosition(APosition);
  Invalidate();
}

void TqzSkinScrollBar::SetMax(int V) {
  max_ = V;
  if (pageSize_ != 0) {
    if (position_ > max_ - pageSize_ + 1) position_ = std::max(min_, max_ - pageSize_ + 1);
  } else if (position_ > V) {
    position_ = V;
  }
  Invalidate();
}

void TqzSkinScrollBar::SetMin(int V) {
  min_ = V;
  if (position_ < V) position_ = V;
  Invalidate();
}

void TqzSkinScrollBar::SetPageSize(int V) {
  // A page larger than what is left of the range is refused.
  if (V >= 0 && max_ - min_ + 1 >= V + position_) pageSize_ = V;
  Invalidate();
}

void TqzSkinScrollBar::SetSmallChange(int V) {
  smallChange_ = V;
  Invalidate();
}

void TqzSkinScrollBar::SetLargeChange(int V) {
  largeChange_ = V;
  Invalidate();
}

void TqzSkinScrollBar::SetBothMarkerWidth(int V) {
  bothMarkerWidth_ = std::max(0, V);
  Invalidate();
}

void TqzSkinScrollBar::SetCanFocused(bool V) {
  canFocused_ = V;
  SetTabStop(V);
}

void TqzSkinScrollBar::SetBoth(bool V) {
  if (V == both_) return;
  both_ = V;
  if (ComponentState().Contains(csLoading)) return;
  if (V) {
    singleSkinDataName_ = SkinDataName();
    SetSkinDataName(bothSkinDataName_);
  } else {
    SetSkinDataName(singleSkinDataName_.empty() ? std::string(kHorizontalName) : singleSkinDataName_);
  }
  if (SkinData() && !SkinData()->Empty()) ChangeSkinData();
  else Invalidate();
}

// A bar set to the other kind from code behaves as in the designer: the
// default description name, the shape and the default size follow; a bar
// read from a resource keeps what the resource says.
void TqzSkinScrollBar::SetKind(TqzScrollBarKind V) {
  if (V == kind_) return;
  kind_ = V;
  if (!ComponentState().Contains(csLoading)) {
    const bool vertical = V == sbVertical;
    const std::string& name = SkinDataName();
    if (name == (vertical ? kHorizontalName : kVerticalName))
      SetSkinDataName(vertical ? kVerticalName : kHorizontalName);
    if (vertical != (Height() > Width())) SetBounds(Left(), Top(), Height(), Width());
    const int dw = DefaultWidth(), dh = DefaultHeight();
    SetDefaultWidth(0);
    SetDefaultHeight(0);
    SetDefaultWidth(dh);
    SetDefaultHeight(dw);
    if (SkinData() && !SkinData()->Empty()) ChangeSkinData();
  }
  Invalidate();
}

// ---------------------------------------------------------------- layout

const TqzDataSkinScrollBarControl* TqzSkinScrollBar::BarDescription() const {
  if (SkinIndex < 0) return nullptr;
  return dynamic_cast<const TqzDataSkinScrollBarControl*>(SkinDescription());
}

TqzScrollBarLayoutInput TqzSkinScrollBar::LayoutInput() const {
  TqzScrollBarLayoutInput in;
  in.Vertical = kind_ == sbVertical;
  in.Width = Width();
  in.Height = Height();
  in.Min = min_;
  in.Max = max_;
  in.Position = position_;
  in.PageSize = pageSize_;
  in.Both = both_;
  in.BothMarkerWidth = bothMarkerWidth_;
  in.Skin = Picture ? BarDescription() : nullptr;
  return in;
}

TqzScrollBarLayout TqzSkinScrollBar::Layout() const { return CalcScrollBarLayout(LayoutInput()); }

int TqzSkinScrollBar::PartAt(TPoint p) const {
  const TqzScrollBarLayout l = Layout();
  for (int part : {sbpThumb, sbpIncrement, sbpDecrement}) {
    const TRect& r = l.Part(part);
    if (!r.IsEmpty() && r.Contains(p)) return part;
  }
  return -1;
}

void TqzSkinScrollBar::CalcSize(int& W, int& H) { TqzSkinCustomControl::CalcSize(W, H); }

void TqzSkinScrollBar::InvalidatePart(int part) {
  if (part < 0 || !HandleAllocated()) return;
  const TRect r = Layout().Part(part);
  if (!r.IsEmpty()) InvalidateRect(HWND(this), &r, false);
}

void TqzSkinScrollBar::SetHotPart(int part) {
  if (part == hotPart_) return;
  const int old = hotPart_;
  hotPart_ = part;
  InvalidatePart(old);
  InvalidatePart(part);
  const bool repeatingButton = pressedPart_ == sbpIncrement || pressedPart_ == sbpDecrement;
  if (!repeatingButton) return;
  // A held step button pauses while the pointer is off it.
  if (old == pressedPart_) StopRepeatTimer();
  if (part == pressedPart_) StartRepeatTimer(kScrollRepeatIntervalMs);
}

// ---------------------------------------------------------------- actions

bool TqzSkinScrollBar::Fire(const TNotifyEvent& e) {
  if (!e) return true;
  TComponentRef<TqzSkinScrollBar> self(this);
  e(this);
  return bool(self);
}

bool TqzSkinScrollBar::StepButton(int part) {
  const bool up = part == sbpIncrement;
  const TNotifyEvent& handler = up ? OnUpButtonClick : OnDownButtonClick;
  if (handler) return Fire(handler);
  TComponentRef<TqzSkinScrollBar> self(this);
  SetPosition(position_ + (up ? smallChange_ : -smallChange_));
  return bool(self);
}

bool TqzSkinScrollBar::PageStep(bool forward) {
  TComponentRef<TqzSkinScrollBar> self(this);
  SetPosition(position_ + (forward ? largeChange_ : -largeChange_));
  if (!self) return false;
  return Fire(forward ? OnPageDown : OnPageUp);
}

void TqzSkinScrollBar::PressAt(TPoint p) {
  const int part = PartAt(p);
  lastMouse_ = p;
  if (part >= 0) {
    pressedPart_ = part;
    InvalidatePart(part);
    if (part == sbpThumb) {
      dragOrigin_ = AxisOf(p);
      dragOffset_ = Layout().Offset;
      return;
    }
    repeatMode_ = part == sbpIncrement ? 2 : 1;
    TComponentRef<TqzSkinScrollBar> self(this);
    if (!StepButton(part) || !self) return;
    if (pressedPart_ == part) StartRepeatTimer(kScrollRepeatDelayMs);
    return;
  }
  const TqzScrollBarLayout l = Layout();
  if (!l.Track.Contains(p)) return;
  const bool forward = AxisOf(p) >= (kind_ == sbVertical ? l.Thumb.Bottom : l.Thumb.Right);
  const bool back = AxisOf(p) < (kind_ == sbVertical ? l.Thumb.Top : l.Thumb.Left);
  if (!forward && !back) return;
  repeatMode_ = forward ? 4 : 3;
  TComponentRef<TqzSkinScrollBar> self(this);
  if (!PageStep(forward) || !self) return;
  if (repeatMode_ != 0) StartRepeatTimer(kScrollRepeatDelayMs);
}

void TqzSkinScrollBar::RepeatTick() {
  if (repeatWaiting_) {
    // The long first delay is over: from now on the short rhythm.
    StartRepeatTimer(kScrollRepeatIntervalMs);
    return;
  }
  switch (repeatMode_) {
    case 1: StepButton(sbpDecrement); return;
    case 2: StepButton(sbpIncrement); return;
    case 3:
    case 4: {
      const TqzScrollBarLayout l = Layout();
      const bool vertical = kind_ == sbVertical;
      const int at = AxisOf(lastMouse_);
      const bool stillOutside = repeatMode_ == 3 ? at < (vertical ? l.Thumb.Top : l.Thumb.Left)
                                                 : at >= (vertical ? l.Thumb.Bottom : l.Thumb.Right);
      if (!stillOutside) {
        repeatMode_ = 0;
        StopRepeatTimer();
        return;
      }
      PageStep(repeatMode_ == 4);
      return;
    }
    default: StopRepeatTimer(); return;
  }
}

void TqzSkinScrollBar::StartRepeatTimer(unsigned ms) {
  if (!HandleAllocated()) return;
  repeatWaiting_ = ms == kScrollRepeatDelayMs;
  repeatTimer_ = SetTimer(Handle(), kRepeatTimerId, ms) != 0;
}

void TqzSkinScrollBar::StopRepeatTimer() {
  if (repeatTimer_ && HandleAllocated()) KillTimer(Handle(), kRepeatTimerId);
  repeatTimer_ = false;
}

void TqzSkinScrollBar::ReleasePressed(bool leftButton) {
  if (repeatMode_ >= 3) {
    repeatMode_ = 0;
    StopRepeatTimer();
  }
  const int part = pressedPart_;
  if (part < 0) return;
  pressedPart_ = -1;
  repeatMode_ = 0;
  StopRepeatTimer();
  if (hotPart_ == part && PartAt(lastMouse_) != part) hotPart_ = -1;
  InvalidatePart(part);
  if (part == sbpThumb && leftButton) Fire(OnLastChange);
}

// ---------------------------------------------------------------- mouse

void TqzSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinScrollBar> self(this);
  if (Button == mbLeft && Enabled() && !ComponentState().Contains(csDesigning)) {
    // A focusable bar takes the focus first; without it the click is lost.
    bool pressAllowed = true;
    if (canFocused_ && !Focused()) {
      if (CanFocus()) SetFocus();
      if (!self) return;
      pressAllowed = Focused();
    }
    if (pressAllowed) PressAt({X, Y});
    if (!self) return;
  }
  TqzSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TqzSkinScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
  lastMouse_ = {X, Y};
  TComponentRef<TqzSkinScrollBar> self(this);
  if (pressedPart_ == sbpThumb) {
    const TqzScrollBarLayoutInput in = LayoutInput();
    const int offset = AxisOf({X, Y}) - dragOrigin_ + dragOffset_;
    SetPosition(ScrollPositionFromOffset(CalcScrollBarLayout(in), in, offset));
    if (!self) return;
  } else if (!ComponentState().Contains(csDesigning)) {
    const int under = PartAt({X, Y});
    SetHotPart(pressedPart_ >= 0 && under != pressedPart_ ? -1 : under);
  }
  TqzSkinCustomControl::MouseMove(Shift, X, Y);
}

void TqzSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  lastMouse_ = {X, Y};
  TComponentRef<TqzSkinScrollBar> self(this);
  if (Button == mbLeft) {
    ReleasePressed(true);
    if (!self) return;
  }
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TqzSkinScrollBar::CMMouseLeave(TMessage& m) {
  TComponentRef<TqzSkinScrollBar> self(this);
  TqzSkinCustomControl::CMMouseLeave(m);
  if (!self) return;
  if (pressedPart_ < 0) SetHotPart(-1);
  if (repeatMode_ >= 3) {
    repeatMode_ = 0;
    StopRepeatTimer();
  }
}

void TqzSkinScrollBar::CMEnabledChanged(TMessage& m) {
  TqzSkinCustomControl::CMEnabledChanged(m);
  Invalidate();
}

// ---------------------------------------------------------------- keyboard

void TqzSkinScrollBar::KeyDown(uint16_t& Key, TShiftState Shift) {
  TComponentRef<TqzSkinScrollBar> self(this);
  TqzSkinCustomControl::KeyDown(Key, Shift);
  if (!self || !canFocused_) return;
  switch (Key) {
    case VK_LEFT:
    case VK_UP: SetPosition(position_ - smallChange_); break;
    case VK_RIGHT:
    case VK_DOWN: SetPosition(position_ + smallChange_); break;
    default: break;
  }
}

void TqzSkinScrollBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_TIMER:
      if (m.WParam == kRepeatTimerId) {
        RepeatTick();
        return;
      }
      break;
    case WM_GETDLGCODE:
      m.Result = canFocused_ ? DLGC_WANTARROWS : 0;
      return;
    case WM_MOUSEWHEEL:
      if (canFocused_ && Focused()) {
        const int delta = static_cast<int16_t>(HIWORD(m.WParam));
        SetPosition(position_ + (delta <= 0 ? smallChange_ : -smallChange_));
        m.Result = 1;
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TComponentRef<TqzSkinScrollBar> self(this);
      TqzSkinCustomControl::Dispatch(m);
      if (self) Invalidate();
      return;
    }
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      // The capture ends with the left button's release (the framework
      // releases it before MouseUp) or when a window takes the mouse: either
      // way the press is over and a dragged position is final.
      if (pressedPart_ >= 0 && GetCapture() != HWND(this)) {
        TComponentRef<TqzSkinScrollBar> self(this);
        ReleasePressed(true);
        if (!self) return;
      }
      break;
    default: break;
  }
  TqzSkinCustomControl::Dispatch(m);
}

}  // namespace qz
