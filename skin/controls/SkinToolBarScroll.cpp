// TqzSkinToolBar: scrolling a row wider than the bar. While the row does not
// fit, two arrow areas take the ends of the bar's window outside its client
// area; pressing one (or, with HotScroll, resting on it) moves the children
// by ScrollOffset pixels per timer tick.
#include <algorithm>
#include <vector>

#include "skin/controls/SkinToolBar.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QzColors.h"
#include "skin/draw/QzComposition.h"
#include "skin/draw/QzGlyphs.h"

namespace qz {

namespace {
constexpr uintptr_t kScrollTimerId = 1;
constexpr int kArrowGlyphLeft = 1, kArrowGlyphRight = 2;

TPoint ScreenPointOf(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }
}  // namespace

// ---------------------------------------------------------------- state

void TqzSkinToolBar::SetCanScroll(bool v) {
  if (v == canScroll_) return;
  canScroll_ = v;
  UpdateScrolling();
}

int TqzSkinToolBar::RowRight() const {
  int right = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* c = Controls(i);
    if (!c->Visible() || (c->Align() != alNone && c->Align() != alLeft)) continue;
    right = std::max(right, c->Left() + c->Width() + scrollPosition_);
  }
  return right;
}

int TqzSkinToolBar::MaxScrollPosition() const { return std::max(0, RowRight() - ClientWidth()); }

void TqzSkinToolBar::UpdateScrolling() {
  if (updatingScroll_ || InState(csDestroying) || InState(csLoading)) return;
  updatingScroll_ = true;
  TComponentRef<TqzSkinToolBar> self(this);
  // Whether the row fits is judged against the bar without arrow areas.
  const int fullWidth = ClientWidth() + (arrowsShown_ ? 2 * kScrollArrowWidth : 0);
  if (canScroll_ && RowRight() > fullWidth) {
    SetArrowsShown(true);
    const int most = MaxScrollPosition();
    if (self && scrollPosition_ > most) {
      MoveChildren(scrollPosition_ - most);
      scrollPosition_ = most;
    }
    if (self) RedrawArrows();
  } else if (arrowsShown_ || scrollPosition_ != 0) {
    MoveChildren(scrollPosition_);
    scrollPosition_ = 0;
    if (self) SetArrowsShown(false);
  }
  if (!self) return;
  if (!arrowsShown_) StopScrollTimer();
  updatingScroll_ = false;
}

void TqzSkinToolBar::MoveChildren(int dx) {
  if (dx == 0) return;
  // Moving the children is the bar's own doing: no realignment per child.
  const bool wasAligning = aligning_;
  aligning_ = true;
  std::vector<TComponentRef<TControl>> children;
  for (int i = 0; i < ControlCount(); ++i) children.emplace_back(Controls(i));
  for (auto& c : children)
    if (c) c->SetBounds(c->Left() + dx, c->Top(), c->Width(), c->Height());
  aligning_ = wasAligning;
  Invalidate();
}

void TqzSkinToolBar::SetArrowsShown(bool shown) {
  if (shown == arrowsShown_) return;
  arrowsShown_ = shown;
  hotArrow_ = TqzToolBarArrow::None;
  if (!HandleAllocated()) return;
  SetWindowPos(HWND(this), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

void TqzSkinToolBar::StepScroll(TqzToolBarArrow arrow) {
  const int step = scrollOffset_ > 0 ? scrollOffset_ : kDefaultScrollStep;
  if (arrow == TqzToolBarArrow::Left) {
    const int delta = std::min(step, scrollPosition_);
    if (delta <= 0) return;
    MoveChildren(delta);
    scrollPosition_ -= delta;
  } else if (arrow == TqzToolBarArrow::Right) {
    const int delta = std::min(step, MaxScrollPosition() - scrollPosition_);
    if (delta <= 0) return;
    MoveChildren(-delta);
    scrollPosition_ += delta;
  } else {
    return;
  }
  // An end reached or left changes which arrow is enabled.
  RedrawArrows();
}

void TqzSkinToolBar::ScrollLeft() { StepScroll(TqzToolBarArrow::Left); }
void TqzSkinToolBar::ScrollRight() { StepScroll(TqzToolBarArrow::Right); }

// ---------------------------------------------------------------- mouse

TqzToolBarArrow TqzSkinToolBar::ArrowAt(TPoint p) const {
  if (!arrowsShown_ || p.Y < 0 || p.Y >= Height()) return TqzToolBarArrow::None;
  if (p.X >= 0 && p.X < kScrollArrowWidth) return TqzToolBarArrow::Left;
  if (p.X >= Width() - kScrollArrowWidth && p.X < Width()) return TqzToolBarArrow::Right;
  return TqzToolBarArrow::None;
}

TqzToolBarArrow TqzSkinToolBar::ArrowUnderCursor() const {
  TPoint p;
  TRect window;
  if (!HandleAllocated() || !GetCursorPos(p) || !GetWindowRect(HWND(this), window))
    return TqzToolBarArrow::None;
  return ArrowAt({p.X - window.Left, p.Y - window.Top});
}

void TqzSkinToolBar::PressArrow(TqzToolBarArrow arrow) {
  pressed_ = true;
  StepScroll(arrow);
  StartScrollTimer(arrow);
  RedrawWindow(HWND(this), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TqzSkinToolBar::HoverArrow(TqzToolBarArrow arrow) {
  // HotScroll may have been turned on while the pointer already rested here.
  if (hotScroll_ && arrow != TqzToolBarArrow::None && timerArrow_ != arrow) StartScrollTimer(arrow);
  if (arrow == hotArrow_) return;
  hotArrow_ = arrow;
  if (arrow == TqzToolBarArrow::None) pressed_ = false;
  if (arrow != timerArrow_) StopScrollTimer();
  if (HandleAllocated()) RedrawWindow(HWND(this), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TqzSkinToolBar::StartScrollTimer(TqzToolBarArrow arrow) {
  if (!HandleAllocated()) return;
  timerArrow_ = arrow;
  if (SetTimer(Handle(), kScrollTimerId, static_cast<unsigned>(scrollTimerInterval_)) == 0)
    timerArrow_ = TqzToolBarArrow::None;
}

void TqzSkinToolBar::StopScrollTimer() {
  if (timerArrow_ != TqzToolBarArrow::None && HandleAllocated()) KillTimer(Handle(), kScrollTimerId);
  timerArrow_ = TqzToolBarArrow::None;
}

// Scrolls on while the pointer stays on the arrow (and, without HotScroll,
// the button is held); stops at the row's end.
void TqzSkinToolBar::ScrollTimerTick() {
  const TqzToolBarArrow arrow = timerArrow_;
  if (arrow == TqzToolBarArrow::None || ArrowUnderCursor() != arrow || (!pressed_ && !hotScroll_)) {
    StopScrollTimer();
    return;
  }
  const int before = scrollPosition_;
  StepScroll(arrow);
  if (scrollPosition_ == before) StopScrollTimer();
}

// ---------------------------------------------------------------- painting

void TqzSkinToolBar::Paint() {
  if (!arrowsShown_) {
    TqzSkinPanel::Paint();
    return;
  }
  // The bar's image is composed for the whole window; the client shows the
  // part between the arrow areas.
  TCanvas& c = Canvas();
  const TPoint old = c.WindowOrg();
  c.SetWindowOrg({old.X + kScrollArrowWidth, old.Y});
  TqzSkinPanel::Paint();
  c.SetWindowOrg(old);
}

// The arrow areas in the look of the skin's "resizebutton" (normal, active,
// disabled) with a chevron in its font colours, else in the plain look.
void TqzSkinToolBar::PaintArrow(TCanvas& canvas, const TRect& r, bool left, bool hot, bool enabled) const {
  const int glyph = left ? kArrowGlyphLeft : kArrowGlyphRight;
  hot = hot && enabled;
  const TqzDataSkinButtonControl* d = arrowDescription_;
  TBitmap* picture = d && SkinData() ? SkinData()->ActivePicture(d->PictureIndex) : nullptr;
  if (picture && !d->SkinRect.IsEmpty()) {
    TRect state = d->SkinRect;
    if (!enabled && !d->DisabledSkinRect.IsEmpty()) state = d->DisabledSkinRect;
    else if (hot && !d->ActiveSkinRect.IsEmpty()) state = d->ActiveSkinRect;
    TBitmap image;
    image.SetSize(r.Width(), r.Height());
    CreateStretchImage(image, *picture, state, d->ClientRect, true);
    canvas.Draw(r.Left, r.Top, image);
    const TColor color = !enabled ? d->DisabledFontColor : hot ? d->ActiveFontColor : d->FontColor;
    DrawChevronImage(canvas, r, color, glyph);
    return;
  }
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(hot ? (pressed_ ? kPlainLookDownFill : kPlainLookHotFill) : PlainFaceColor());
  canvas.FillRect(r);
  canvas.Brush().SetColor(hot ? kPlainLookHotFrame : PlainShadowColor());
  canvas.FrameRect(r);
  DrawChevronImage(canvas, r, enabled ? clBlack : PlainShadowColor(), glyph);
}

void TqzSkinToolBar::RedrawArrows() {
  if (arrowsShown_ && HandleAllocated()) RedrawWindow(HWND(this), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TqzSkinToolBar::PaintArrows() {
  HDC dc = GetWindowDC(HWND(this));
  if (!dc) return;
  const int w = Width(), h = Height();
  PaintArrow(*dc, {0, 0, kScrollArrowWidth, h}, true, hotArrow_ == TqzToolBarArrow::Left, scrollPosition_ > 0);
  PaintArrow(*dc, {w - kScrollArrowWidth, 0, w, h}, false, hotArrow_ == TqzToolBarArrow::Right,
             scrollPosition_ < MaxScrollPosition());
  ReleaseDC(HWND(this), dc);
}

// ---------------------------------------------------------------- messages

void TqzSkinToolBar::Dispatch(TMessage& m) {
  if (m.Msg == CM_CONTROLCHANGE) {
    TComponentRef<TqzSkinToolBar> self(this);
    TqzSkinPanel::Dispatch(m);
    if (self) ChildChanged(reinterpret_cast<TControl*>(m.WParam));
    return;
  }
  if (!arrowsShown_ && m.Msg != WM_TIMER) {
    TqzSkinPanel::Dispatch(m);
    return;
  }
  switch (m.Msg) {
    case WM_NCCALCSIZE: {
      auto* p = reinterpret_cast<TNCCalcSizeParams*>(m.LParam);
      TRect& r = p->rgrc[0];
      r.Left += kScrollArrowWidth;
      r.Right = std::max(r.Left, r.Right - kScrollArrowWidth);
      m.Result = 0;
      return;
    }
    case WM_NCPAINT:
      PaintArrows();
      m.Result = 0;
      return;
    case WM_NCHITTEST: {
      TRect window;
      GetWindowRect(HWND(this), window);
      const TPoint p = ScreenPointOf(m.LParam);
      if (ArrowAt({p.X - window.Left, p.Y - window.Top}) != TqzToolBarArrow::None) {
        m.Result = HTHSCROLL;
        return;
      }
      break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      PressArrow(ArrowUnderCursor());
      m.Result = 0;
      return;
    case WM_NCLBUTTONUP:
      pressed_ = false;
      if (!hotScroll_) StopScrollTimer();
      if (HandleAllocated()) RedrawWindow(HWND(this), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      m.Result = 0;
      return;
    case WM_NCMOUSEMOVE:
      HoverArrow(ArrowUnderCursor());
      break;
    case WM_NCMOUSELEAVE:
    case WM_MOUSEMOVE:
      HoverArrow(TqzToolBarArrow::None);
      break;
    case WM_TIMER:
      if (m.WParam == kScrollTimerId) {
        ScrollTimerTick();
        return;
      }
      break;
    default: break;
  }
  TqzSkinPanel::Dispatch(m);
}

}  // namespace qz
