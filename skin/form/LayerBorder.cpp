#include "skin/form/LayerBorder.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Pixmap.h"
#include "host/platform/Platform.h"
#include "host/ui/Forms.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/SkinImage.h"
#include "skin/form/FormLayerWindow.h"
#include "skin/form/FrameGeometry.h"

namespace qz {

namespace {

constexpr std::array kSides{TqzBorderSide::Top, TqzBorderSide::Bottom, TqzBorderSide::Left,
                            TqzBorderSide::Right};
constexpr size_t Slot(TqzBorderSide side) { return static_cast<size_t>(side); }

// The watch for the mouse leaving the top window of a full-border frame.
constexpr uintptr_t kHotWatchTimer = 2;
constexpr UINT kHotWatchIntervalMs = 500;

using TObjectMouse = TqzLayerBorderOwner::TObjectMouse;

// How far the diagonal sizing zones reach along the edges from each corner
// of the form (at least the frame's own hit-test size).
constexpr int kCornerGrip = 16;

// round(opacity * value / 255). A quotient by 255 never lies half-way
// between two integers, so rounding to nearest is also the halves-to-even
// rounding of the engine.
uint8_t ScaleOpacity(int opacity, int value) {
  const int product = std::clamp(opacity, 0, 255) * std::clamp(value, 0, 255);
  return static_cast<uint8_t>((2 * product + 255) / 510);
}

// Distances from `outer` to `inner` on each side, none below 0; all 0 when
// outer is empty.
TRect InsetsOf(const TRect& outer, const TRect& inner) {
  if (outer.IsEmpty()) return {};
  return {std::max(0, inner.Left - outer.Left), std::max(0, inner.Top - outer.Top),
          std::max(0, outer.Right - inner.Right), std::max(0, outer.Bottom - inner.Bottom)};
}

// The four strips of a frame size, premultiplied, with their places relative
// to the frame's top-left corner. An empty strip hides its window.
struct TqzLayerStrips {
  std::array<TPixmap, 4> Pixels;
  std::array<TRect, 4> Bounds;
};

// The top strip of a full-border frame, composed plain, gets the frame
// objects drawn in and is premultiplied after them.
TPixmap DecoratedStrip(const TPixmap& pixels, const std::function<void(TqzBitmap&)>& decorate) {
  if (pixels.Width() <= 0 || pixels.Height() <= 0) return {};
  TqzBitmap strip(pixels.Width(), pixels.Height());
  for (int y = 0; y < pixels.Height(); ++y)
    std::memcpy(strip.ScanLine(y), pixels.Row(y), size_t(pixels.Width()) * sizeof(TqzColor));
  decorate(strip);
  strip.PreMultiply();
  return strip.Pixmap();
}

// Three parts side by side from the rows `rows` of the picture, `width`
// wide; corner widths are cut down when the strip is narrower than both.
void ComposeRowStrip(int leftWidth, int rightWidth, int width, const TRect& rows,
                     const TPixmap& picture, TPixmap& out) {
  if (width <= 0 || rows.IsEmpty()) return;
  leftWidth = std::clamp(leftWidth, 0, std::min(width, picture.Width()));
  rightWidth = std::clamp(rightWidth, 0, std::min(width - leftWidth, picture.Width() - leftWidth));
  ComposeHSkinImage(leftWidth, rightWidth, out, true, width, rows, picture);
}

}  // namespace

// ---------------------------------------------------------------------------

struct TqzFormLayerBorder::Impl {
  explicit Impl(TqzLayerBorderOwner& o) : owner(o) {}

  TqzLayerBorderOwner& owner;
  TqzSkinData* skin = nullptr;
  const TqzDataSkinLayerFrame* frame = nullptr;  // null: no layer frame
  bool visible = false;
  bool active = true;
  bool suspended = false;
  bool placing = false;
  uint8_t activeOpacity = 255, inactiveOpacity = 255;
  TRect extents, hitExtents;
  TRect formBounds;  // where the form was last placed, screen coordinates
  TRect placedBounds;  // form bounds of the last placement that showed the strips
  // The strips shown now and where (screen coordinates). Strips of a frame
  // without objects in it come from the skin's cache of composed pictures
  // (keyed by picture and frame size), so a placement of the same size
  // from the same picture, in this border or a later one, composes
  // nothing; a frame with objects drawn in the top strip (full border)
  // composes them anew every time.
  std::shared_ptr<const TqzLayerStrips> strips;
  std::array<TRect, 4> stripBounds;
  std::shared_ptr<const TPixmap> premultiplied;  // the shown picture, premultiplied
  std::array<std::unique_ptr<TqzFormLayerWindow>, 4> windows;
  // Full-border frames: the owner's objects under the mouse and pressed on
  // the top window, and the watch that lets go of the hot one.
  int hotObject = -1, pressedObject = -1;
  bool hotWatch = false;

  const TqzBitmap* ActiveImage() const {
    return frame ? skin->ImageCache().LayerFrameImage() : nullptr;
  }
  const TqzBitmap* InactiveImage() const {
    return frame ? skin->ImageCache().LayerFrameInActiveImage() : nullptr;
  }
  // The picture the strips come from now.
  const TqzBitmap* ShownImage() const {
    return !active && InactiveImage() ? InactiveImage() : ActiveImage();
  }
  uint8_t Opacity() const { return active ? activeOpacity : inactiveOpacity; }

  // Per-pixel alpha is asked every time: a compositor may start or stop
  // while the program runs, and without one the border is not used.
  bool Used() const {
    return frame && !skin->Empty() && skin->ShowLayeredBorders() && ActiveImage() &&
           owner.LayeredBorderAllowed() && !suspended && Platform().SupportsPerPixelAlpha();
  }
  bool FullBorder() const { return Used() && frame->FullBorder; }

  TRect FrameRect(const TRect& form) const {
    const TqzBitmap* image = ActiveImage();
    if (!image) return {};
    const TRect& client = frame->ClientRect;
    // A rolled-up full-border form and a minimised secondary form keep only
    // the frame's roll-up height of their own.
    const bool shortForm =
        (frame->FullBorder && owner.RolledUp()) || (owner.Minimized() && !owner.IsMainForm());
    const int formHeight = shortForm ? frame->RollUpFormHeight : form.Height() + frame->HeightOffset;
    return Bounds(form.Left + frame->LeftOffset - client.Left,
                  form.Top + frame->TopOffset - client.Top,
                  std::max(0, form.Width() + frame->WidthOffset + image->Width() - client.Width()),
                  std::max(0, formHeight + image->Height() - client.Height()));
  }

  // The caption of a full-border frame, screen coordinates (empty when none).
  TRect CaptionRect() const {
    const TqzBitmap* image = ActiveImage();
    if (!image || !frame->FullBorder || frame->CaptionRect.IsEmpty()) return {};
    const TRect frameRect = FrameRect(formBounds);
    const TqzFrameSize size{{image->Width(), image->Height()}, {frameRect.Width(), frameRect.Height()}};
    const TRect caption = FrameTransformRect(frame->CaptionRect, *frame, size);
    return OffsetRect(caption, frameRect.Left, frameRect.Top);
  }

  TPoint OuterOrigin(const TRect& form) const {
    return {form.Left - extents.Left, form.Top - extents.Top};
  }
  TPoint ToOuter(TPoint screen) const {
    const TPoint origin = OuterOrigin(formBounds);
    return {screen.X - origin.X, screen.Y - origin.Y};
  }

  std::shared_ptr<const TqzLayerStrips> BuildStrips(const TRect& frameRect);
  // Takes the strips for frameRect (from the cache when they were composed
  // before); true when they are the ones shown last.
  bool StripsFor(const TRect& frameRect);
  const TPixmap& PremultipliedPicture(const TqzBitmap& image);
  void ComposeStrips(TSize frameSize, const TPixmap& picture, TqzLayerStrips& out, bool top,
                     bool others) const;
  void Place(const TRect& form);
  void Repaint() {
    if (visible) Place(owner.BorderForm().BoundsRect());
  }
  void RaiseForm();
  int HitTest(TPoint screen) const;
  int SizingHit(TPoint screen) const;
  void CreateWindows();
  void FreeWindows();

  // The mouse on the top window of a full-border frame. Every step that
  // reaches the owner may free the form and this border with it: `alive`
  // watches the top window, which goes with either.
  using TAlive = TComponentRef<TqzFormLayerWindow>;
  bool RouteTopMouse(TMessage& m);
  bool TrackHot(TPoint screen, const TAlive& alive);
  void MouseMoved(TPoint screen, const TAlive& alive);
  void Press(TPoint screen, UINT msg, const TAlive& alive);
  void Release(TPoint screen, UINT msg, const TAlive& alive);
  void StartHotWatch();
  void StopHotWatch();
  void HotWatchTick();
  void LetGoOfObjects();
};

// The four strips for a frame rectangle: the picture's top and bottom rows
// in three parts (corners as they are, the middle stretched), its left and
// right edges between them stretched or repeated downwards. Composing only
// copies pixels, so strips composed from the premultiplied picture are the
// premultiplied strips; only a strip that gets objects drawn in (the top of
// a full-border frame) is composed plain and premultiplied afterwards.
std::shared_ptr<const TqzLayerStrips> TqzFormLayerBorder::Impl::BuildStrips(
    const TRect& frameRect) {
  auto built = std::make_shared<TqzLayerStrips>();
  const TqzBitmap* image = ShownImage();
  if (!image) return built;
  const TSize size{frameRect.Width(), frameRect.Height()};
  const bool decorated = frame->FullBorder;
  ComposeStrips(size, PremultipliedPicture(*image), *built, !decorated, true);
  if (decorated) {
    ComposeStrips(size, image->Pixmap(), *built, true, false);
    TPixmap& top = built->Pixels[Slot(TqzBorderSide::Top)];
    top = DecoratedStrip(top, [this, frameRect](TqzBitmap& strip) {
      const TPoint outer = OuterOrigin(formBounds);
      const TPoint inStrip{outer.X - frameRect.Left, outer.Y - frameRect.Top};
      owner.DrawFullBorderObjects(strip, inStrip, active);
    });
  }
  return built;
}

bool TqzFormLayerBorder::Impl::StripsFor(const TRect& frameRect) {
  const TqzComposedCache::TKey key{ShownImage(), {frameRect.Width(), frameRect.Height()}, 0};
  std::shared_ptr<const TqzLayerStrips> next;
  if (!frame->FullBorder) {
    TqzComposedCache& cache = skin->ImageCache().Composed();
    next = cache.Find<TqzLayerStrips>(key);
    if (!next) {
      next = BuildStrips(frameRect);
      cache.Store(key, next);
    }
  } else {
    next = BuildStrips(frameRect);
  }
  const bool same = next == strips;
  strips = std::move(next);
  for (size_t i = 0; i < stripBounds.size(); ++i)
    stripBounds[i] = OffsetRect(strips->Bounds[i], frameRect.Left, frameRect.Top);
  return same;
}

// The picture with its colours premultiplied, made once per picture of the
// skin and kept with the skin's composed pictures.
const TPixmap& TqzFormLayerBorder::Impl::PremultipliedPicture(const TqzBitmap& image) {
  TqzComposedCache& cache = skin->ImageCache().Composed();
  const TqzComposedCache::TKey key{&image, {image.Width(), image.Height()}, 0};
  std::shared_ptr<const TPixmap> found = cache.Find<TPixmap>(key);
  if (!found) {
    TqzBitmap copy(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
      std::memcpy(copy.ScanLine(y), image.Pixmap().Row(y), size_t(image.Width()) * sizeof(TqzColor));
    copy.PreMultiply();
    found = std::make_shared<const TPixmap>(copy.Pixmap());
    cache.Store(key, found);
  }
  premultiplied = std::move(found);  // kept alive while the strips are composed
  return *premultiplied;
}

// Composes the top strip, the three others, or all four, and their bounds.
void TqzFormLayerBorder::Impl::ComposeStrips(TSize frameSize, const TPixmap& picture,
                                             TqzLayerStrips& out, bool top, bool others) const {
  const int pw = picture.Width(), ph = picture.Height();
  const int width = frameSize.cx, height = frameSize.cy;
  std::array<TPixmap, 4>& pixels = out.Pixels;
  std::array<TRect, 4>& stripBounds = out.Bounds;
  if (frame->RightBottomPoint == TPoint{0, 0}) {
    if (top) pixels[Slot(TqzBorderSide::Top)] = picture;
    stripBounds[Slot(TqzBorderSide::Top)] = Bounds(0, 0, pw, ph);
    return;
  }
  const TPoint lt = frame->LeftTopPoint, rt = frame->RightTopPoint;
  const TPoint lb = frame->LeftBottomPoint, rb = frame->RightBottomPoint;
  const int topRows = std::clamp(std::max(lt.Y, rt.Y), 0, ph);
  const int bottomRows = std::clamp(ph - std::min(lb.Y, rb.Y), 0, ph - topRows);
  // A frame lower than the picture's top and bottom parts (a rolled-up
  // form) keeps the top strip and what remains of the bottom one.
  const int topHeight = std::min(topRows, height);
  const int bottomHeight = std::min(bottomRows, height - topHeight);
  const int sideHeight = height - topHeight - bottomHeight;
  const int leftWidth = std::clamp(frame->ClientRect.Left, 0, pw);
  const int rightWidth = std::clamp(pw - frame->ClientRect.Right, 0, pw - leftWidth);

  if (top)
    ComposeRowStrip(lt.X, pw - rt.X, width, Rect(0, 0, pw, topHeight), picture,
                    pixels[Slot(TqzBorderSide::Top)]);
  if (others) {
    ComposeRowStrip(lb.X, pw - rb.X, width, Rect(0, ph - bottomHeight, pw, ph), picture,
                    pixels[Slot(TqzBorderSide::Bottom)]);
    const int edgeTop = topRows, edgeBottom = ph - bottomRows;
    if (sideHeight > 0 && edgeBottom > edgeTop) {
      if (leftWidth > 0)
        ComposeVSkinImage(0, 0, pixels[Slot(TqzBorderSide::Left)], frame->FullStretch, sideHeight,
                          Rect(0, edgeTop, leftWidth, edgeBottom), picture);
      if (rightWidth > 0)
        ComposeVSkinImage(0, 0, pixels[Slot(TqzBorderSide::Right)], frame->FullStretch,
                          sideHeight, Rect(pw - rightWidth, edgeTop, pw, edgeBottom), picture);
    }
  }
  const int l = 0, t = 0;
  stripBounds[Slot(TqzBorderSide::Top)] = Bounds(l, t, width, topHeight);
  stripBounds[Slot(TqzBorderSide::Bottom)] = Bounds(l, t + height - bottomHeight, width, bottomHeight);
  stripBounds[Slot(TqzBorderSide::Left)] = Bounds(l, t + topHeight, leftWidth, sideHeight);
  stripBounds[Slot(TqzBorderSide::Right)] =
      Bounds(l + width - rightWidth, t + topHeight, rightWidth, sideHeight);
}

// Shows the strips around a form at `form`. The windows never pass over the
// form: a window that appears is shown on top, so the form is raised again.
void TqzFormLayerBorder::Impl::Place(const TRect& form) {
  formBounds = form;
  if (!visible || placing) return;
  placing = true;
  placedBounds = form;
  const bool samePictures = StripsFor(FrameRect(form));
  bool appeared = false;
  for (TqzBorderSide side : kSides) {
    TqzFormLayerWindow* window = windows[Slot(side)].get();
    if (!window) continue;
    const bool wasShown = IsWindowVisible(window->Handle());
    window->ShowPicture(stripBounds[Slot(side)], strips->Pixels[Slot(side)], Opacity(), samePictures);
    appeared = appeared || (!wasShown && IsWindowVisible(window->Handle()));
  }
  if (appeared) RaiseForm();
  placing = false;
}

void TqzFormLayerBorder::Impl::RaiseForm() {
  TCustomForm& form = owner.BorderForm();
  if (!form.HandleAllocated() || !IsWindowVisible(form.Handle())) return;
  SetWindowPos(form.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The objects of a full-border frame come first, as on a skinned frame
// (the sizing band of a frame with a border rect spans its whole caption):
// a caption object's drag point moves the form (HTCAPTION), any other
// object point is the objects' own (HTOBJECT). Then the band of the hit
// extents around the form sizes it; near the form's corners the band sizes
// diagonally. Outside the band the caption rect of a full-border frame
// moves the form. Elsewhere the border takes the press and does nothing
// with it.
int TqzFormLayerBorder::Impl::HitTest(TPoint p) const {
  if (!frame) return HTCLIENT;
  if (FullBorder()) {
    const TqzLayerBorderOwner::TObjectHit object = owner.FullBorderObjectAt(ToOuter(p));
    if (object.Index != -1) return object.CaptionDrag ? HTCAPTION : HTOBJECT;
  }
  const int sizing = SizingHit(p);
  if (sizing != HTCLIENT) return sizing;
  return CaptionRect().Contains(p) ? HTCAPTION : HTCLIENT;
}

int TqzFormLayerBorder::Impl::SizingHit(TPoint p) const {
  if (owner.RolledUp() || owner.Minimized()) return HTCLIENT;
  TCustomForm& f = owner.BorderForm();
  if (f.HandleAllocated() && IsZoomed(f.Handle())) return HTCLIENT;
  const TRect& form = formBounds;
  const TRect band{form.Left - hitExtents.Left, form.Top - hitExtents.Top,
                   form.Right + hitExtents.Right, form.Bottom + hitExtents.Bottom};
  if (!band.Contains(p) || form.Contains(p)) return HTCLIENT;
  const int grip = std::max(kCornerGrip, frame->HitTestSize);
  const bool inLeft = p.X < form.Left, inRight = p.X >= form.Right;
  const bool inTop = p.Y < form.Top, inBottom = p.Y >= form.Bottom;
  const bool left = inLeft || ((inTop || inBottom) && p.X < form.Left + grip);
  const bool right = !left && (inRight || ((inTop || inBottom) && p.X >= form.Right - grip));
  const bool top = inTop || ((inLeft || inRight) && p.Y < form.Top + grip);
  const bool bottom = !top && (inBottom || ((inLeft || inRight) && p.Y >= form.Bottom - grip));
  if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  return left ? HTLEFT : HTRIGHT;
}

void TqzFormLayerBorder::Impl::CreateWindows() {
  TCustomForm& form = owner.BorderForm();
  const bool mouseTransparent = frame->BorderRect.IsEmpty() && frame->HitTestRect.IsEmpty();
  const bool stayOnTop = form.FormStyle() == fsStayOnTop;
  for (TqzBorderSide side : kSides) {
    auto& window = windows[Slot(side)];
    if (window) continue;
    window.reset(new TqzFormLayerWindow(side, form, mouseTransparent, stayOnTop,
                                        [this](TPoint p) { return HitTest(p); }));
    if (side == TqzBorderSide::Top && frame->FullBorder)
      window->SetMouseRoute([this](TMessage& m) { return RouteTopMouse(m); });
  }
}

void TqzFormLayerBorder::Impl::FreeWindows() {
  StopHotWatch();
  hotObject = pressedObject = -1;
  for (auto& window : windows) window.reset();
  strips.reset();
  stripBounds = {};
}

// ---------------------------------------------------------------------------
// The objects on the top window of a full-border frame

bool TqzFormLayerBorder::Impl::RouteTopMouse(TMessage& m) {
  TqzFormLayerWindow* top = windows[Slot(TqzBorderSide::Top)].get();
  if (!top || !FullBorder()) return false;
  const TAlive alive(top);
  TPoint screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const bool clientMessage = m.Msg >= WM_MOUSEFIRST;
  if (clientMessage) screen = top->ClientToScreen(screen);
  switch (m.Msg) {
    case WM_NCMOUSEMOVE: case WM_MOUSEMOVE:
      MouseMoved(screen, alive);
      return false;
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
      if (m.WParam != HTOBJECT) return false;
      Press(screen, m.Msg, alive);
      return true;
    case WM_NCLBUTTONUP: case WM_NCRBUTTONUP: case WM_LBUTTONUP: case WM_RBUTTONUP:
      if (pressedObject == -1) return false;
      Release(screen, m.Msg, alive);
      return true;
    default:
      return false;
  }
}

// The object under the mouse becomes the hot one; while one is pressed
// only that one can be. False when the form went away meanwhile.
bool TqzFormLayerBorder::Impl::TrackHot(TPoint screen, const TAlive& alive) {
  const TPoint outer = ToOuter(screen);
  int next = owner.FullBorderObjectAt(outer).Index;
  if (pressedObject != -1 && next != pressedObject) next = -1;
  if (next == hotObject) return true;
  const int old = hotObject;
  hotObject = next;
  if (old != -1) {
    owner.FullBorderObjectMouse(old, TObjectMouse::Leave, outer);
    if (!alive) return false;
  }
  if (hotObject != -1 && hotObject == next) {
    owner.FullBorderObjectMouse(next, TObjectMouse::Enter, outer);
    if (!alive) return false;
    StartHotWatch();
  }
  Repaint();
  return true;
}

void TqzFormLayerBorder::Impl::MouseMoved(TPoint screen, const TAlive& alive) {
  if (!TrackHot(screen, alive)) return;
  const int target = pressedObject != -1 ? pressedObject : hotObject;
  if (target != -1) owner.FullBorderObjectMouse(target, TObjectMouse::Move, ToOuter(screen));
}

// A press on an object: it becomes the pressed one and holds the mouse, so
// that its release arrives here even off the top window (a caption keeps
// the mouse free, as on a skinned frame).
void TqzFormLayerBorder::Impl::Press(TPoint screen, UINT msg, const TAlive& alive) {
  if (!TrackHot(screen, alive) || hotObject == -1) return;
  const TPoint outer = ToOuter(screen);
  const int index = hotObject;
  pressedObject = index;
  if (!owner.FullBorderObjectAt(outer).Caption) SetCapture(alive->Handle());
  const TObjectMouse down = msg == WM_NCRBUTTONDOWN ? TObjectMouse::RightDown : TObjectMouse::LeftDown;
  owner.FullBorderObjectMouse(index, down, outer);
  if (!alive) return;
  if (msg == WM_NCLBUTTONDBLCLK) {
    owner.FullBorderObjectMouse(index, TObjectMouse::DblClick, outer);
    if (!alive) return;
  }
  Repaint();
}

// The release goes to the pressed object after the hot one followed the
// mouse: released away from it, the press does not count as a click.
void TqzFormLayerBorder::Impl::Release(TPoint screen, UINT msg, const TAlive& alive) {
  if (GetCapture() == alive->Handle()) ReleaseCapture();
  if (!TrackHot(screen, alive)) return;
  const int index = pressedObject;
  const bool right = msg == WM_NCRBUTTONUP || msg == WM_RBUTTONUP;
  owner.FullBorderObjectMouse(index, right ? TObjectMouse::RightUp : TObjectMouse::LeftUp,
                              ToOuter(screen));
  if (!alive) return;
  pressedObject = -1;
  Repaint();
}

void TqzFormLayerBorder::Impl::StartHotWatch() {
  TqzFormLayerWindow* top = windows[Slot(TqzBorderSide::Top)].get();
  if (hotWatch || !top) return;
  hotWatch = true;
  SetTimer(top->Handle(), kHotWatchTimer, kHotWatchIntervalMs,
           [this](HWND, UINT, uintptr_t, DWORD) { HotWatchTick(); });
}

void TqzFormLayerBorder::Impl::StopHotWatch() {
  if (!hotWatch) return;
  hotWatch = false;
  TqzFormLayerWindow* top = windows[Slot(TqzBorderSide::Top)].get();
  if (top && top->HandleAllocated()) KillTimer(top->Handle(), kHotWatchTimer);
}

// The top window hears no more moves once the mouse has left it: the watch
// lets go of the hot object then. A border that no longer draws objects
// has none to let go of.
void TqzFormLayerBorder::Impl::HotWatchTick() {
  TqzFormLayerWindow* top = windows[Slot(TqzBorderSide::Top)].get();
  if (!top) return;
  if (!FullBorder()) {
    StopHotWatch();
    hotObject = pressedObject = -1;
    return;
  }
  TPoint cursor;
  GetCursorPos(cursor);
  if (WindowFromPoint(cursor) == top->Handle()) return;
  StopHotWatch();
  if (hotObject == -1) return;
  const TAlive alive(top);
  const int old = hotObject;
  hotObject = -1;
  owner.FullBorderObjectMouse(old, TObjectMouse::Leave, ToOuter(cursor));
  if (alive) Repaint();
}

void TqzFormLayerBorder::Impl::LetGoOfObjects() {
  StopHotWatch();
  TqzFormLayerWindow* top = windows[Slot(TqzBorderSide::Top)].get();
  if (top && top->HandleAllocated() && GetCapture() == top->Handle()) ReleaseCapture();
  hotObject = pressedObject = -1;
  owner.FullBorderDeactivated();
}

// ---------------------------------------------------------------------------

TqzFormLayerBorder::TqzFormLayerBorder(TqzLayerBorderOwner& owner)
    : impl_(std::make_unique<Impl>(owner)) {}

TqzFormLayerBorder::~TqzFormLayerBorder() = default;

// The windows are made for one frame (whether they take the mouse depends
// on it): a border shown with the old skin is shown anew with the new one.
// Blur behind the border needs desktop composition of one platform family;
// the host's platforms have none, so no blur regions are built.
void TqzFormLayerBorder::SetSkin(TqzSkinData* skin) {
  const bool wasVisible = impl_->visible;
  Hide();
  Impl& d = *impl_;
  d.skin = skin;
  d.strips.reset();  // the pictures go with the old skin
  d.premultiplied.reset();
  d.frame = skin && !skin->Empty() && skin->LayerFrame().PictureIndex != -1 ? &skin->LayerFrame()
                                                                           : nullptr;
  d.extents = d.frame ? InsetsOf(d.frame->BorderRect, d.frame->ClientRect) : TRect{};
  d.hitExtents = !d.frame                          ? TRect{}
                 : !d.frame->BorderRect.IsEmpty() ? d.extents
                                                  : InsetsOf(d.frame->HitTestRect, d.frame->ClientRect);
  d.activeOpacity = d.frame ? ScaleOpacity(d.frame->AlphaBlendValue, 255) : 255;
  d.inactiveOpacity = d.frame ? ScaleOpacity(d.frame->InActiveAlphaBlendValue, 255) : 255;
  if (wasVisible) Show();
}

bool TqzFormLayerBorder::Used() const { return impl_->Used(); }
bool TqzFormLayerBorder::Visible() const { return impl_->visible; }
bool TqzFormLayerBorder::FullBorder() const { return impl_->FullBorder(); }
TRect TqzFormLayerBorder::Extents() const { return impl_->extents; }
TRect TqzFormLayerBorder::HitExtents() const { return impl_->hitExtents; }
uint8_t TqzFormLayerBorder::Opacity() const { return impl_->Opacity(); }
bool TqzFormLayerBorder::SizingForm() const {
  return std::any_of(impl_->windows.begin(), impl_->windows.end(),
                     [](const auto& w) { return w && w->SizingOwner(); });
}

int TqzFormLayerBorder::HotObject() const { return impl_->hotObject; }
int TqzFormLayerBorder::PressedObject() const { return impl_->pressedObject; }
bool TqzFormLayerBorder::HotWatchRunning() const { return impl_->hotWatch; }
TPoint TqzFormLayerBorder::OuterOrigin(const TRect& formBounds) const {
  return impl_->OuterOrigin(formBounds);
}

HWND TqzFormLayerBorder::Window(TqzBorderSide side) const {
  const auto& window = impl_->windows[Slot(side)];
  return window && window->HandleAllocated() ? window->Handle() : HWND();
}

TRect TqzFormLayerBorder::FrameRect(const TRect& formBounds) const {
  return impl_->FrameRect(formBounds);
}

void TqzFormLayerBorder::Show() {
  Impl& d = *impl_;
  if (!d.Used()) return;
  d.CreateWindows();
  d.visible = true;
  d.Place(d.owner.BorderForm().BoundsRect());
}

void TqzFormLayerBorder::Hide() {
  impl_->visible = false;
  impl_->placedBounds = {};
  impl_->strips.reset();
  impl_->FreeWindows();
}

void TqzFormLayerBorder::Update() {
  if (!impl_->visible) return;
  // The compositor went away: the border goes with it.
  if (!impl_->Used()) {
    Hide();
    return;
  }
  impl_->Place(impl_->owner.BorderForm().BoundsRect());
}

void TqzFormLayerBorder::MoveTo(int left, int top, int height, int width) {
  impl_->Place(Bounds(left, top, width, height));
}

void TqzFormLayerBorder::SetPosition(int left, int top) {
  Impl& d = *impl_;
  const TRect form = d.owner.BorderForm().BoundsRect();
  const TRect bounds = Bounds(left, top, form.Width(), form.Height());
  // The size handling placed the border at these bounds just before the
  // position was reported: a position alone changes no look.
  if (d.visible && bounds == d.placedBounds) return;
  d.Place(bounds);
}

void TqzFormLayerBorder::SetAlpha(int value, bool update) {
  Impl& d = *impl_;
  d.activeOpacity = ScaleOpacity(d.frame ? d.frame->AlphaBlendValue : 255, value);
  d.inactiveOpacity = ScaleOpacity(d.frame ? d.frame->InActiveAlphaBlendValue : 255, value);
  if (update) Update();
}

// The look changes with the picture (full-border objects, an inactive
// picture) and with the opacity: either repaints the border.
void TqzFormLayerBorder::SetActive(bool active, bool update) {
  Impl& d = *impl_;
  if (d.active == active) return;
  d.active = active;
  if (!active && d.FullBorder()) d.LetGoOfObjects();
  const bool looksDifferent =
      d.FullBorder() || d.InactiveImage() || d.activeOpacity != d.inactiveOpacity;
  if (update && looksDifferent) Update();
}

void TqzFormLayerBorder::Suspend() {
  impl_->suspended = true;
  Hide();
}

void TqzFormLayerBorder::Resume() {
  impl_->suspended = false;
  TCustomForm& form = impl_->owner.BorderForm();
  if (form.HandleAllocated() && IsWindowVisible(form.Handle())) Show();
}

}  // namespace qz
