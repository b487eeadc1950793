#include "skin/form/FrameGeometry.h"

#include <algorithm>

#include "skin/draw/SkinImage.h"

namespace qz {

namespace {

// Left and top inclusive, right and bottom exclusive.
bool PointIn(const TRect& r, TPoint p) { return r.Contains(p); }

// The exclusive corner (Right, Bottom) of a rectangle: besides the half-open
// test, it also counts as in a piece when it lies on the piece's own right or
// bottom edge, so that a rectangle flush with the picture's right or bottom
// side still follows that side.
bool FarCornerIn(const TRect& r, TPoint p) {
  return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom &&
         !r.IsEmpty();
}

// The whole rectangle lies within the piece (its right and bottom may meet
// the piece's right and bottom).
bool RectWithin(const TRect& r, const TRect& piece) {
  return !piece.IsEmpty() && r.Left >= piece.Left && r.Top >= piece.Top &&
         r.Right <= piece.Right && r.Bottom <= piece.Bottom;
}

TPoint Moved(TPoint p, int dx, int dy) { return {p.X + dx, p.Y + dy}; }

}  // namespace

TqzFrameQuadrants FrameQuadrants(const TqzLatticeFields& c, TSize picture) {
  const int pw = picture.cx, ph = picture.cy;
  return {{0, 0, c.LeftTopPoint.X, c.LeftTopPoint.Y},
          {c.RightTopPoint.X, 0, pw, c.RightTopPoint.Y},
          {0, c.LeftBottomPoint.Y, c.LeftBottomPoint.X, ph},
          {c.RightBottomPoint.X, c.RightBottomPoint.Y, pw, ph}};
}

TRect FrameTransformRect(const TRect& r, const TqzLatticeFields& corners,
                         const TqzFrameSize& size) {
  const TqzFrameQuadrants q = FrameQuadrants(corners, size.Picture);
  if (q.AllEmpty()) return r;
  const int dx = size.DX(), dy = size.DY();
  if (RectWithin(r, q.TopLeft)) return r;
  if (RectWithin(r, q.TopRight)) return OffsetRect(r, dx, 0);
  if (RectWithin(r, q.BottomLeft)) return OffsetRect(r, 0, dy);
  if (RectWithin(r, q.BottomRight)) return OffsetRect(r, dx, dy);

  const TPoint tl = r.TopLeft(), br = r.BottomRight();
  TRect out = r;
  if (PointIn(q.TopLeft, tl) && FarCornerIn(q.BottomRight, br)) {
    out.Right += dx;
    out.Bottom += dy;
  } else if (PointIn(q.TopLeft, tl) && FarCornerIn(q.TopRight, br)) {
    out.Right += dx;
  } else if (PointIn(q.BottomLeft, tl) && FarCornerIn(q.BottomRight, br)) {
    out.Right += dx;
    out = OffsetRect(out, 0, dy);
  } else if (PointIn(q.TopLeft, tl) && FarCornerIn(q.BottomLeft, br)) {
    out.Bottom += dy;
  } else if (PointIn(q.TopRight, tl) && FarCornerIn(q.BottomRight, br)) {
    out = OffsetRect(out, dx, 0);
    out.Bottom += dy;
  }
  return out;
}

bool IsStretchableFrame(const TqzLatticeFields& c) {
  return c.RightBottomPoint.X != c.LeftTopPoint.X && c.RightBottomPoint.Y != c.LeftTopPoint.Y;
}

namespace {

// The caption buttons follow the right edge when they sit in the right half
// of the picture; in the left half they stay and count as left buttons.
void PlaceButtons(const TqzSkinFormInfo& info, const TqzFrameSize& size, TqzFrameRects& out) {
  out.NewButtonsRect = info.ButtonsRect;
  if (info.ButtonsRect.IsEmpty()) return;
  const int half = size.Picture.cx / 2;
  if (info.ButtonsRect.Left > half) out.NewButtonsRect = OffsetRect(info.ButtonsRect, size.DX(), 0);
  out.ButtonsOnLeft = info.ButtonsRect.Left < half;
}

// The menu bar widens with a stretchable frame and follows the bottom edge
// when it starts in the bottom-left corner piece.
TRect PlaceMainMenu(const TqzSkinFormInfo& info, const TqzFrameSize& size, bool stretchable) {
  TRect r = info.MainMenuRect;
  if (!stretchable) return r;
  r.Right += size.DX();
  const TRect bottomLeft{0, info.LeftBottomPoint.Y, info.LeftBottomPoint.X, size.Picture.cy};
  if (PointIn(bottomLeft, info.MainMenuRect.TopLeft())) r = OffsetRect(r, 0, size.DY());
  return r;
}

}  // namespace

TqzFrameRects CalcFrameRects(const TqzSkinFormInfo& info, const TqzFrameSize& size) {
  const int dx = size.DX(), dy = size.DY();
  TqzFrameRects out;
  out.NewLTPoint = info.LeftTopPoint;
  out.NewRTPoint = Moved(info.RightTopPoint, dx, 0);
  out.NewLBPoint = Moved(info.LeftBottomPoint, 0, dy);
  out.NewRBPoint = Moved(info.RightBottomPoint, dx, dy);
  out.NewClRect = info.ClientRect;
  out.NewClRect.Right += dx;
  out.NewClRect.Bottom += dy;
  out.NewCaptionRect = info.CaptionRect;
  if (!info.CaptionRect.IsEmpty()) out.NewCaptionRect.Right += dx;
  PlaceButtons(info, size, out);
  out.HitTestLTPoint = info.HitTestLeftTopPoint;
  out.HitTestRTPoint = Moved(info.HitTestRightTopPoint, dx, 0);
  out.HitTestLBPoint = Moved(info.HitTestLeftBottomPoint, 0, dy);
  out.HitTestRBPoint = Moved(info.HitTestRightBottomPoint, dx, dy);
  out.NewMaskRectArea = info.MaskRectArea;
  out.NewMaskRectArea.Right += dx;
  out.NewMaskRectArea.Bottom += dy;
  out.NewIconRect = FrameTransformRect(info.IconRect, info, size);
  out.Stretchable = IsStretchableFrame(info);
  out.NewMainMenuRect = PlaceMainMenu(info, size, out.Stretchable);
  out.ButtonsOffset = info.ButtonsOffset;
  out.ButtonsInLeft = info.ButtonsInLeft;
  return out;
}

TRect PlaceSkinArea(const TqzDataSkinArea& area, const TqzLatticeFields& corners,
                    const TqzFrameSize& size, bool stretchable) {
  const TRect& r = area.AreaRect;
  if (!stretchable) return r;
  if (!area.Flag1) return FrameTransformRect(r, corners, size);
  TRect out = r;
  if (area.Flag5) {
    if (area.Flag3)
      out.Bottom += size.DY();
    else
      out = OffsetRect(out, 0, size.DY());
  }
  if (area.Flag4) {
    if (area.Flag2)
      out.Right += size.DX();
    else
      out = OffsetRect(out, size.DX(), 0);
  }
  return out;
}

namespace {

TRect Shrunk(const TRect& r, int left, int top, int right, int bottom) {
  TRect out{r.Left + left, r.Top + top, r.Right - right, r.Bottom - bottom};
  out.Right = std::max(out.Right, out.Left);
  out.Bottom = std::max(out.Bottom, out.Top);
  return out;
}

}  // namespace

TRect CalcClientArea(const TRect& proposed, const TqzClientAreaInput& in) {
  if (in.HasSkin && in.FullBorderLayered) return proposed;
  if (in.HasSkin && !in.SkinClientRect.IsEmpty()) {
    const TRect& c = in.SkinClientRect;
    return Shrunk(proposed, c.Left, c.Top, in.Picture.cx - c.Right, in.Picture.cy - c.Bottom);
  }
  const int b = kDefaultFrameBorder;
  return Shrunk(proposed, b, in.DefaultCaptionHeight + b, b, b);
}

// ---- Size limits ----

namespace {

// The limits differ per axis only in which fields they read; one record per
// axis keeps the rules written once.
struct TAxis {
  int Picture, SkinClient;
  int Min, MinClient, Max, MaxClient, FormMin, WorkArea;
  int UnskinnedFrame;  // what the default frame adds around the client
};

TAxis WidthAxis(const TqzSizeLimitInput& in) {
  return {in.Picture.cx,  in.SkinClientRect.Width(), in.MinWidth,
          in.MinClientWidth, in.MaxWidth,             in.MaxClientWidth,
          in.FormMinWidth,   in.WorkArea.Width(),     2 * kDefaultFrameBorder};
}

TAxis HeightAxis(const TqzSizeLimitInput& in) {
  return {in.Picture.cy,  in.SkinClientRect.Height(), in.MinHeight,
          in.MinClientHeight, in.MaxHeight,           in.MaxClientHeight,
          in.FormMinHeight,   in.WorkArea.Height(),   in.CaptionHeight + 2 * kDefaultFrameBorder};
}

// Client mode: the skin's picture, or the set minimum when that is smaller.
int ClientModeMin(const TqzSizeLimitInput& in, const TAxis& a) {
  if (!in.HasSkin) return 0;
  return a.Min > 0 ? std::min(a.Min, a.Picture) : a.Picture;
}

// A minimum client size: the skin's frame around it, unless nothing of the
// frame is around the client.
int AroundClient(const TqzSizeLimitInput& in, const TAxis& a, int client) {
  if (in.Borderless || in.FullBorderLayered) return client;
  return a.Picture + client - a.SkinClient;
}

int SkinnedMinWidth(const TqzSizeLimitInput& in, const TAxis& a) {
  if (a.MinClient > 0 && !in.Minimized && in.SkinnableForm) return AroundClient(in, a, a.MinClient);
  if (a.Picture < a.Min && !in.Minimized) return a.Min;
  if (a.FormMin >= 1 && (a.FormMin >= a.Min || in.Minimized)) return a.FormMin;
  if (a.FormMin < 1) return a.Picture;
  return a.Min;
}

int SkinnedMinHeight(const TqzSizeLimitInput& in, const TAxis& a) {
  const bool folded = in.RolledUp || in.Minimized;
  if (a.MinClient > 0 && !folded && in.SkinnableForm) return AroundClient(in, a, a.MinClient);
  const int frameOnly = a.Picture - a.SkinClient;
  if (in.FullBorderLayered) return frameOnly >= a.Min || folded ? 10 : a.Min;
  if (a.FormMin > 0) return a.FormMin < a.Min && !folded ? a.Min : a.FormMin;
  return frameOnly >= a.Min || folded ? frameOnly : a.Min;
}

int UnskinnedMinWidth(const TqzSizeLimitInput& in, const TAxis& a) {
  if (a.MinClient >= 1) return a.MinClient + (in.Borderless ? 0 : a.UnskinnedFrame);
  if (a.Min > 0) return a.Min;
  return 130;
}

int UnskinnedMinHeight(const TqzSizeLimitInput& in, const TAxis& a) {
  const bool folded = in.RolledUp || in.Minimized;
  if (a.MinClient < 1 || folded) return a.Min > a.UnskinnedFrame && !folded ? a.Min : a.UnskinnedFrame;
  return a.MinClient + a.UnskinnedFrame;
}

int MaxExtent(const TqzSizeLimitInput& in, const TAxis& a) {
  if (a.MaxClient <= 0 || in.Maximized || in.ClientMode) return a.Max > 0 ? a.Max : a.WorkArea;
  if (!in.HasSkin) return a.MaxClient + (in.Borderless ? 0 : a.UnskinnedFrame);
  if (!in.SkinnableForm) return a.WorkArea;
  return AroundClient(in, a, a.MaxClient);
}

}  // namespace

TqzSizeLimits CalcSizeLimits(const TqzSizeLimitInput& in) {
  const TAxis w = WidthAxis(in), h = HeightAxis(in);
  TqzSizeLimits out;
  if (in.ClientMode) {
    out.MinWidth = ClientModeMin(in, w);
    out.MinHeight = ClientModeMin(in, h);
  } else if (in.HasSkin) {
    out.MinWidth = SkinnedMinWidth(in, w);
    out.MinHeight = SkinnedMinHeight(in, h);
  } else {
    out.MinWidth = UnskinnedMinWidth(in, w);
    out.MinHeight = UnskinnedMinHeight(in, h);
  }
  out.MaxWidth = MaxExtent(in, w);
  out.MaxHeight = MaxExtent(in, h);
  return out;
}

// ---- Hit testing ----

TqzMaskStrips BuildMaskStrips(const TqzSkinFormInfo& info, const TqzFrameRects& rects,
                              const TqzFrameSize& size, const TPixmap& mask) {
  TqzLatticeFields fields = info;
  fields.ClientRect = info.MaskRectArea;
  const TqzSkinGeometry g({0, 0, size.Picture.cx, size.Picture.cy}, fields);
  TqzNewGeometry n;
  n.Width = size.Window.cx;
  n.Height = size.Window.cy;
  n.NewLTPoint = rects.NewLTPoint;
  n.NewRTPoint = rects.NewRTPoint;
  n.NewLBPoint = rects.NewLBPoint;
  n.NewRBPoint = rects.NewRBPoint;
  n.NewClRect = rects.NewMaskRectArea;
  TqzBorderStrips strips = ComposeSkinBorderImages(g, n, size.Window.cx, size.Window.cy, mask);
  return {std::move(strips.Top), std::move(strips.Bottom), std::move(strips.Left),
          std::move(strips.Right)};
}

namespace {

// A point off the strip (or a strip that does not exist) is not in the shape.
bool BlackAt(const TPixmap& strip, int x, int y) {
  if (!PointIn(strip.Bounds(), {x, y})) return false;
  return (strip.At(x, y) & 0xFFFFFF) == 0;
}

}  // namespace

bool PointInMask(TPoint p, const TRect& mask, const TqzMaskStrips& strips) {
  if (PointIn(mask, p)) return true;
  if (p.Y < mask.Top) return BlackAt(strips.Top, p.X, p.Y);
  if (p.Y >= mask.Bottom) return BlackAt(strips.Bottom, p.X, p.Y - mask.Bottom);
  if (p.X >= mask.Left) return BlackAt(strips.Right, p.X - mask.Right, p.Y - mask.Top);
  return BlackAt(strips.Left, p.X, p.Y - mask.Top);
}

namespace {

bool NearFrameEdge(TPoint p, const TqzSizingFrame& f) {
  const int b = f.BorderWidth;
  const TPoint probes[] = {{p.X - b, p.Y}, {p.X, p.Y - b}, {p.X + b, p.Y}, {p.X, p.Y + b}};
  if (!f.Mask) {
    const TRect window{0, 0, f.Window.cx, f.Window.cy};
    return std::ranges::any_of(probes, [&](TPoint q) { return !PointIn(window, q); });
  }
  const TRect& area = f.Rects->NewMaskRectArea;
  if (PointIn(area, p)) return false;
  return std::ranges::any_of(probes, [&](TPoint q) { return !PointInMask(q, area, *f.Mask); });
}

// Corners compare inclusively against the hit-test points; the bands
// between them are half-open rectangles.
int CornerOrBand(TPoint p, const TqzFrameRects& r, TSize window) {
  const TPoint lt = r.HitTestLTPoint, rt = r.HitTestRTPoint, lb = r.HitTestLBPoint,
               rb = r.HitTestRBPoint;
  const TRect& c = r.NewClRect;
  if (p.X <= lt.X && p.Y <= lt.Y) return HTTOPLEFT;
  if (p.X >= rt.X && p.Y <= rt.Y) return HTTOPRIGHT;
  if (p.X <= lb.X && p.Y >= lb.Y) return HTBOTTOMLEFT;
  if (p.X >= rb.X && p.Y >= rb.Y) return HTBOTTOMRIGHT;
  if (PointIn({lt.X, 0, rt.X, c.Top}, p)) return HTTOP;
  if (PointIn({lb.X, c.Bottom, rb.X, window.cy}, p)) return HTBOTTOM;
  if (PointIn({0, lt.Y, c.Left, lb.Y}, p)) return HTLEFT;
  if (PointIn({c.Right, rt.Y, window.cx, rb.Y}, p)) return HTRIGHT;
  return HTNOWHERE;
}

}  // namespace

int FrameSizingHit(TPoint p, const TqzSizingFrame& frame) {
  if (!frame.Rects || !NearFrameEdge(p, frame)) return HTNOWHERE;
  return CornerOrBand(p, *frame.Rects, frame.Window);
}

int FrameHitTest(TPoint p, const TqzFrameHitInput& in) {
  if (in.FullBorderLayered) return HTCLIENT;
  const int outsideClient = in.CaptionDragPoint ? HTCAPTION : HTOBJECT;
  if (in.RolledUp || in.Minimized || !in.Frame.Rects) return outsideClient;
  const TRect& client = in.Frame.Rects->NewClRect;
  const bool inClient = PointIn(client, p);
  if (in.ObjectActive && !in.CaptionDragPoint && !inClient && !in.InSizeMove) return HTOBJECT;
  if (!in.Maximized && in.Sizeable) {
    if (const int sizing = FrameSizingHit(p, in.Frame); sizing != HTNOWHERE) return sizing;
  }
  return inClient ? HTCLIENT : outsideClient;
}

int DefaultFrameHitTest(TPoint p, const TqzDefaultFrameHitInput& in) {
  const int w = in.Window.cx, h = in.Window.cy;
  if (!in.Maximized && !in.RolledUp && !in.Minimized && in.Sizeable) {
    if (in.ObjectActive) return HTOBJECT;
    const bool left = p.X <= 2, top = p.Y <= 2, right = p.X >= w - 2, bottom = p.Y >= h - 2;
    if (left && top) return HTTOPLEFT;
    if (right && top) return HTTOPRIGHT;
    if (left && bottom) return HTBOTTOMLEFT;
    if (right && bottom) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (top) return HTTOP;
    if (right) return HTRIGHT;
    if (bottom) return HTBOTTOM;
  }
  const int b = kDefaultFrameBorder;
  if (PointIn({b, b, w - b, b + in.CaptionHeight}, p)) return HTCAPTION;
  if (PointIn({b, in.CaptionHeight + b, w - b, h - b}, p)) return HTCLIENT;
  return HTOBJECT;
}

int ClientHitTest(TPoint p, const TqzClientHitInput& in) {
  if (!in.HasSkin) return HTCLIENT;
  if (!in.Sizeable || in.Maximized || in.RolledUp || in.ObjectActive) return HTCLIENT;
  if (!in.SizeGripRect.IsEmpty() && PointIn(in.SizeGripRect, p)) return HTBOTTOMRIGHT;
  const int sizing = FrameSizingHit(p, in.Frame);
  return sizing != HTNOWHERE ? sizing : HTCLIENT;
}

}  // namespace qz
