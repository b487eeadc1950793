// The picture the skinshot tool writes: a skin's window look at a size, or
// its hit map. Kept apart from the command line so that the rendering can
// be swapped for a real skinned form without touching the options, and so
// that tests can call it.
//
// For now the look is the main (or inactive) picture composed at the size
// by the frame's corner points, with a checkerboard outside the window's
// shape, and the hit map comes from the pure hit tests of FrameGeometry.h:
// no caption objects exist here, so the frame outside the client area and
// off the sizing edges answers HTOBJECT.
#pragma once

#include <algorithm>
#include <cstdint>

#include "host/base/Messages.h"
#include "host/graphics/Pixmap.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinImage.h"
#include "skin/form/FrameGeometry.h"

namespace qz::skinshot {

enum class TShotMode { Frame, Client };

struct TShotOptions {
  TSize Size;  // the window (frame mode) or client area (client mode)
  TShotMode Mode = TShotMode::Frame;
  bool Inactive = false;
  bool RolledUp = false;
  bool HitMap = false;
};

inline constexpr int kLargestSide = 4096;
inline constexpr uint32_t kCheckLight = 0xFFFFFFFF, kCheckDark = 0xFFC8C8C8;
inline constexpr uint32_t kOutsideHit = 0xFF000000;

// The legend of the hit map; codes without a colour are drawn as outside.
inline uint32_t HitColor(int code) {
  switch (code) {
    case HTCLIENT:
      return 0xFFFFFFFF;
    case HTCAPTION:
      return 0xFF0000FF;
    case HTOBJECT:
      return 0xFFFF00FF;
    case HTLEFT:
      return 0xFFFF0000;
    case HTRIGHT:
      return 0xFF800000;
    case HTTOP:
      return 0xFF00FF00;
    case HTBOTTOM:
      return 0xFF008000;
    case HTTOPLEFT:
      return 0xFFFFFF00;
    case HTTOPRIGHT:
      return 0xFF00FFFF;
    case HTBOTTOMLEFT:
      return 0xFFFF8000;
    case HTBOTTOMRIGHT:
      return 0xFF8000FF;
    default:
      return kOutsideHit;
  }
}

inline uint32_t Checker(int x, int y) { return ((x / 8 + y / 8) % 2) ? kCheckDark : kCheckLight; }

// The skin laid out for one size: frame rectangles and mask strips, as the
// controller keeps them between size changes.
class TShotLayout {
 public:
  TShotLayout(const TqzSkinData& skin, TSize size)
      : skin_(skin),
        size_{{skin.Picture().Width(), skin.Picture().Height()}, size},
        rects_(CalcFrameRects(skin, size_)),
        hasMask_(!skin.Mask().Empty()) {
    if (hasMask_) strips_ = BuildMaskStrips(skin, rects_, size_, skin.Mask().Pixels());
  }

  // In the window's shape: the mask when the skin has one; else the whole
  // window, or only the picture when it is copied rather than stretched.
  bool Inside(TPoint p) const {
    if (hasMask_) return PointInMask(p, rects_.NewMaskRectArea, strips_);
    if (rects_.Stretchable) return true;
    return p.X < size_.Picture.cx && p.Y < size_.Picture.cy;
  }

  int Hit(TPoint p, const TShotOptions& o) const {
    const TqzSizingFrame frame{&rects_, size_.Window, skin_.BorderWidth,
                               hasMask_ ? &strips_ : nullptr};
    if (o.Mode == TShotMode::Client) {
      TqzClientHitInput in;
      in.HasSkin = true;
      in.Frame = frame;
      in.SizeGripRect = FrameTransformRect(skin_.SizeGripArea, skin_, size_);
      in.RolledUp = o.RolledUp;
      return ClientHitTest(p, in);
    }
    TqzFrameHitInput in;
    in.Frame = frame;
    in.RolledUp = o.RolledUp;
    return FrameHitTest(p, in);
  }

  // The picture composed by the frame's corner points (copied as it is when
  // the skin does not stretch); pixels it does not cover stay transparent.
  TPixmap Compose(const TPixmap& picture) const {
    const TSize w = size_.Window;
    if (!rects_.Stretchable) {
      TPixmap out(w.cx, w.cy, 0);
      for (int y = 0; y < std::min(w.cy, picture.Height()); ++y)
        for (int x = 0; x < std::min(w.cx, picture.Width()); ++x) out.At(x, y) = picture.At(x, y);
      return out;
    }
    const TqzSkinGeometry g({0, 0, picture.Width(), picture.Height()}, skin_);
    TqzNewGeometry n;
    n.Width = w.cx;
    n.Height = w.cy;
    n.NewLTPoint = rects_.NewLTPoint;
    n.NewRTPoint = rects_.NewRTPoint;
    n.NewLBPoint = rects_.NewLBPoint;
    n.NewRBPoint = rects_.NewRBPoint;
    n.NewClRect = rects_.NewClRect;
    TPixmap out;
    ComposeSkinImage(g, n, true, w.cx, w.cy, picture, out);
    return out;
  }

 private:
  const TqzSkinData& skin_;
  TqzFrameSize size_;
  TqzFrameRects rects_;
  bool hasMask_;
  TqzMaskStrips strips_;
};

// The inactive picture when asked for and the skin has one of the main
// picture's size, else the main picture.
inline const TPixmap& ShotPicture(const TqzSkinData& skin, bool inactive) {
  const TBitmap& off = skin.InactivePicture();
  const bool usable = inactive && !off.Empty() && off.Width() == skin.Picture().Width() &&
                      off.Height() == skin.Picture().Height();
  return usable ? off.Pixels() : skin.Picture().Pixels();
}

// The skin's look or hit map at o.Size, every pixel opaque. The skin must
// have a main picture and the size must be 1..kLargestSide a side.
inline TPixmap RenderSkinShot(const TqzSkinData& skin, const TShotOptions& o) {
  const TShotLayout layout(skin, o.Size);
  TPixmap out =
      o.HitMap ? TPixmap(o.Size.cx, o.Size.cy) : layout.Compose(ShotPicture(skin, o.Inactive));
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      const bool inside = layout.Inside({x, y});
      uint32_t& px = out.At(x, y);
      if (o.HitMap)
        px = inside ? HitColor(layout.Hit({x, y}, o)) : kOutsideHit;
      else
        px = inside ? (px | 0xFF000000u) : Checker(x, y);
    }
  return out;
}

}  // namespace qz::skinshot
