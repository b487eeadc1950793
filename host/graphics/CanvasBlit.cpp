// Block transfers between device contexts: BitBlt, StretchBlt, PatBlt,
// AlphaBlend and TransparentBlt.
#include <algorithm>
#include <cstring>
#include <optional>

#include "host/graphics/Canvas.h"

namespace qz {

namespace {

inline uint32_t Div255(uint32_t v) { return (v + 127) / 255; }

// Every channel of p times f / 255, rounded to nearest; two channels per
// multiply (exact for 8-bit channels and factors).
inline uint32_t Scale(uint32_t p, uint32_t f) {
  uint32_t rb = (p & 0x00FF00FFu) * f + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  uint32_t ag = ((p >> 8) & 0x00FF00FFu) * f + 0x00800080u;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
  return rb | ag;
}

// Channel-wise a + b, clamped to 255.
inline uint32_t AddSaturate(uint32_t a, uint32_t b) {
  uint32_t rb = (a & 0x00FF00FFu) + (b & 0x00FF00FFu);
  uint32_t ag = ((a >> 8) & 0x00FF00FFu) + ((b >> 8) & 0x00FF00FFu);
  rb |= ((rb >> 8) & 0x00010001u) * 0xFF;
  ag |= ((ag >> 8) & 0x00010001u) * 0xFF;
  return (rb & 0x00FF00FFu) | ((ag & 0x00FF00FFu) << 8);
}

// The mapping of a (possibly mirrored, possibly scaled) transfer: for each
// destination device column / row inside the destination rectangle, the
// source device column / row.
struct TTransferMap {
  TRect dest;                 // device, normalised
  std::vector<int> srcX, srcY;
};

// Builds the map; false when nothing is to be drawn. The source rectangle is
// given in source device coordinates (possibly negative sizes).
bool BuildMap(const TRect& destDevice, int w, int h, int sx, int sy, int sw, int sh, TTransferMap& m) {
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return false;
  const bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
  const int aw = std::abs(w), ah = std::abs(h), asw = std::abs(sw), ash = std::abs(sh);
  const int srcLeft = sw < 0 ? sx + sw : sx, srcTop = sh < 0 ? sy + sh : sy;
  m.dest = destDevice;
  m.srcX.resize(aw);
  m.srcY.resize(ah);
  for (int i = 0; i < aw; ++i) {
    const int k = aw == asw ? i : NearestSourceIndex(i, asw, aw);
    m.srcX[i] = srcLeft + (flipX ? asw - 1 - k : k);
  }
  for (int j = 0; j < ah; ++j) {
    const int k = ah == ash ? j : NearestSourceIndex(j, ash, ah);
    m.srcY[j] = srcTop + (flipY ? ash - 1 - k : k);
  }
  return true;
}

TRect NormalisedDeviceRect(HDC dc, int x, int y, int w, int h) {
  TRect r{x, y, x + w, y + h};
  if (w < 0) std::swap(r.Left, r.Right);
  if (h < 0) std::swap(r.Top, r.Bottom);
  return dc->LogicalToDevice(r);
}

// Runs op(dstPixel&, srcPixel) over every visible destination pixel whose
// source lies inside the source pixmap.
template <class Op>
void RunTransfer(HDC dst, const TPixmap& srcPixels, const TTransferMap& m, Op op) {
  TPixmap& out = *dst->Target();
  const int srcW = srcPixels.Width(), srcH = srcPixels.Height();
  dst->ForEachClipRect(m.dest, [&](const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y) {
      const int syy = m.srcY[y - m.dest.Top];
      if (syy < 0 || syy >= srcH) continue;
      const uint32_t* srow = srcPixels.Row(syy);
      uint32_t* drow = out.Row(y);
      for (int x = r.Left; x < r.Right; ++x) {
        const int sxx = m.srcX[x - m.dest.Left];
        if (sxx >= 0 && sxx < srcW) op(drow[x], srow[sxx]);
      }
    }
  });
}

// SRCCOPY through the map, a row segment at a time: a destination row whose
// source row is the one just copied (an enlarged picture repeats rows) is a
// copy of that destination row, and a segment whose columns map one to one
// is a copy of the source row. Columns outside the source leave the
// destination as it is, so those clip rectangles take the pixel loop.
void CopyTransfer(HDC dst, const TPixmap& srcPixels, const TTransferMap& m) {
  TPixmap& out = *dst->Target();
  const int srcW = srcPixels.Width(), srcH = srcPixels.Height();
  dst->ForEachClipRect(m.dest, [&](const TRect& r) {
    const int* columns = m.srcX.data() + (r.Left - m.dest.Left);
    const int count = r.Width();
    bool inside = true, contiguous = true;
    for (int i = 0; i < count && inside; ++i) {
      inside = columns[i] >= 0 && columns[i] < srcW;
      contiguous = contiguous && columns[i] == columns[0] + i;
    }
    if (!inside) {
      for (int y = r.Top; y < r.Bottom; ++y) {
        const int sy = m.srcY[y - m.dest.Top];
        if (sy < 0 || sy >= srcH) continue;
        const uint32_t* srow = srcPixels.Row(sy);
        uint32_t* drow = out.Row(y) + r.Left;
        for (int i = 0; i < count; ++i)
          if (columns[i] >= 0 && columns[i] < srcW) drow[i] = srow[columns[i]];
      }
      return;
    }
    const size_t bytes = sizeof(uint32_t) * size_t(count);
    int lastSource = -1;
    const uint32_t* lastRow = nullptr;
    for (int y = r.Top; y < r.Bottom; ++y) {
      const int sy = m.srcY[y - m.dest.Top];
      if (sy < 0 || sy >= srcH) continue;
      uint32_t* drow = out.Row(y) + r.Left;
      if (sy == lastSource) {
        std::memcpy(drow, lastRow, bytes);
        continue;
      }
      const uint32_t* srow = srcPixels.Row(sy);
      if (contiguous) {
        std::memcpy(drow, srow + columns[0], bytes);
      } else {
        for (int i = 0; i < count; ++i) drow[i] = srow[columns[i]];
      }
      lastSource = sy;
      lastRow = drow;
    }
  });
}

// When source and destination share a pixmap, the source is read from a copy
// so that overlapping transfers read what was there before.
const TPixmap& SourcePixels(HDC dst, HDC src, std::optional<TPixmap>& copy) {
  if (src->Target() != dst->Target()) return *src->Target();
  copy.emplace(*src->Target());
  return *copy;
}

bool RopNeedsSource(uint32_t rop) {
  switch (rop) {
    case SRCCOPY: case SRCPAINT: case SRCAND: case SRCINVERT: case NOTSRCCOPY: return true;
    default: return false;
  }
}

bool DestOnlyRop(HDC dst, const TRect& deviceRect, uint32_t rop) {
  TPixmap& out = *dst->Target();
  const uint32_t brush = PixelFromColorRef(ColorToRGB(dst->Brush().Color()));
  auto each = [&](auto fn) {
    dst->ForEachClipRect(deviceRect, [&](const TRect& r) {
      for (int y = r.Top; y < r.Bottom; ++y) {
        uint32_t* row = out.Row(y);
        for (int x = r.Left; x < r.Right; ++x) fn(row[x]);
      }
    });
  };
  switch (rop) {
    case BLACKNESS: each([](uint32_t& p) { p = 0xFF000000u; }); return true;
    case WHITENESS: each([](uint32_t& p) { p = 0xFFFFFFFFu; }); return true;
    case DSTINVERT: each([](uint32_t& p) { p = 0xFF000000u | (~p & 0x00FFFFFFu); }); return true;
    case PATCOPY: each([brush](uint32_t& p) { p = brush; }); return true;
    case PATINVERT: each([brush](uint32_t& p) { p = 0xFF000000u | ((p ^ brush) & 0x00FFFFFFu); }); return true;
    default: return false;
  }
}

// A copy without scaling between two surfaces: whole row segments at a
// time. `d` is the destination (device), `s` the source's top-left (device);
// what lies outside the source is left as it is.
void CopyOneToOne(HDC dst, const TRect& d, HDC src, TPoint s) {
  const TPixmap& in = *src->Target();
  TPixmap& out = *dst->Target();
  const int offX = s.X - d.Left, offY = s.Y - d.Top;
  const TRect srcOnDest = OffsetRect(in.Bounds(), -offX, -offY);
  TRect area;
  if (!IntersectRect(area, d, srcOnDest)) return;
  dst->ForEachClipRect(area, [&](const TRect& r) {
    for (int yy = r.Top; yy < r.Bottom; ++yy)
      std::memcpy(out.Row(yy) + r.Left, in.Row(yy + offY) + r.Left + offX, sizeof(uint32_t) * size_t(r.Width()));
  });
}

}  // namespace

bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                uint32_t rop) {
  if (!dst || !dst->Target()) return false;
  if (!RopNeedsSource(rop)) {
    if (rop != BLACKNESS && rop != WHITENESS && rop != DSTINVERT && rop != PATCOPY && rop != PATINVERT)
      return false;
    return DestOnlyRop(dst, NormalisedDeviceRect(dst, x, y, w, h), rop);
  }
  if (!src || !src->Target()) return false;
  if (rop == SRCCOPY && w > 0 && h > 0 && w == sw && h == sh && dst->Target() != src->Target()) {
    // Drawn at its own size (a bitmap drawn with Draw): no column and row map.
    const TRect d = dst->LogicalToDevice(TRect{x, y, x + w, y + h});
    if (d.Width() == w && d.Height() == h) {
      CopyOneToOne(dst, d, src, src->LogicalToDevice(TPoint{sx, sy}));
      return true;
    }
  }
  TTransferMap m;
  const TPoint s = src->LogicalToDevice(TPoint{sx, sy});
  if (!BuildMap(NormalisedDeviceRect(dst, x, y, w, h), w, h, s.X, s.Y, sw, sh, m)) return true;
  std::optional<TPixmap> copy;
  const TPixmap& pixels = SourcePixels(dst, src, copy);
  switch (rop) {
    case SRCCOPY: CopyTransfer(dst, pixels, m); break;
    case SRCPAINT: RunTransfer(dst, pixels, m, [](uint32_t& d, uint32_t px) { d |= px; }); break;
    case SRCAND: RunTransfer(dst, pixels, m, [](uint32_t& d, uint32_t px) { d &= px; }); break;
    case SRCINVERT: RunTransfer(dst, pixels, m, [](uint32_t& d, uint32_t px) { d ^= px; }); break;
    case NOTSRCCOPY:
      RunTransfer(dst, pixels, m, [](uint32_t& d, uint32_t px) { d = 0xFF000000u | (~px & 0x00FFFFFFu); });
      break;
  }
  return true;
}

bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop) {
  if (w < 0 || h < 0) return false;
  if (dst && src && rop == SRCCOPY && dst->Target() && src->Target() && dst->Target() != src->Target()) {
    CopyOneToOne(dst, dst->LogicalToDevice(TRect{x, y, x + w, y + h}), src, src->LogicalToDevice(TPoint{sx, sy}));
    return true;
  }
  return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

bool PatBlt(HDC dst, int x, int y, int w, int h, uint32_t rop) {
  if (!dst || !dst->Target() || RopNeedsSource(rop)) return false;
  return StretchBlt(dst, x, y, w, h, nullptr, 0, 0, 0, 0, rop);
}

bool AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                uint8_t constantAlpha, bool perPixelAlpha) {
  if (!dst || !src || !dst->Target() || !src->Target()) return false;
  if (w < 0 || h < 0 || sw < 0 || sh < 0) return false;
  TTransferMap m;
  const TPoint s = src->LogicalToDevice(TPoint{sx, sy});
  if (!BuildMap(dst->LogicalToDevice(TRect{x, y, x + w, y + h}), w, h, s.X, s.Y, sw, sh, m)) return true;
  std::optional<TPixmap> copy;
  const TPixmap& pixels = SourcePixels(dst, src, copy);
  const uint32_t ca = constantAlpha;
  RunTransfer(dst, pixels, m, [ca, perPixelAlpha](uint32_t& d, uint32_t sp) {
    const uint32_t sA = Div255((perPixelAlpha ? (sp >> 24) : 255) * ca);
    if (sA == 255 && ca == 255) {
      d = sp;
      return;
    }
    if (sA == 0 && ca == 0) return;
    d = AddSaturate(Scale(sp, ca), Scale(d, 255 - sA));
  });
  return true;
}

bool TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    TColorRef key) {
  if (!dst || !src || !dst->Target() || !src->Target()) return false;
  if (w < 0 || h < 0 || sw < 0 || sh < 0) return false;
  TTransferMap m;
  const TPoint s = src->LogicalToDevice(TPoint{sx, sy});
  if (!BuildMap(dst->LogicalToDevice(TRect{x, y, x + w, y + h}), w, h, s.X, s.Y, sw, sh, m)) return true;
  std::optional<TPixmap> copy;
  const TPixmap& pixels = SourcePixels(dst, src, copy);
  const uint32_t keyRgb = PixelFromColorRef(key) & 0x00FFFFFFu;
  RunTransfer(dst, pixels, m, [keyRgb](uint32_t& d, uint32_t sp) {
    if ((sp & 0x00FFFFFFu) != keyRgb) d = sp;
  });
  return true;
}

}  // namespace qz
