// TCanvas: drawing onto a TPixmap with pens, brushes, fonts, origins and
// clipping, in the manner of the platform's device contexts. A canvas IS the
// device context (HDC = TCanvas*); the GDI-like free functions below take one.
//
// Coordinates: drawing calls take logical coordinates;
//   device = logical - WindowOrg + ViewportOrg,
// and device coordinates are pixel positions in the target pixmap.
//
// Pixels: fills, lines, and text write opaque pixels (alpha 255). Block copies
// (BitBlt, StretchBlt, CopyRect with SRCCOPY) copy all 32 bits.
// Scaling is nearest neighbour, sampling at pixel centres (NearestSourceIndex).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Types.h"
#include "host/components/Persistent.h"
#include "host/graphics/Font.h"
#include "host/graphics/Graphic.h"
#include "host/graphics/Pixmap.h"
#include "host/graphics/Region.h"

namespace qz {

class TFontFace;

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
                         bsCross, bsDiagCross };

struct TPenData {
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = TPenStyle::psSolid;
  friend bool operator==(const TPenData&, const TPenData&) = default;
};

class TPen : public TPersistent {
  QZ_CLASS(TPen, TPersistent)
 public:
  TColor Color() const { return data_.color; }
  void SetColor(TColor v) { Set(data_.color, v); }
  int Width() const { return data_.width; }
  void SetWidth(int v) { Set(data_.width, v < 1 ? 1 : v); }
  TPenStyle Style() const { return data_.style; }
  void SetStyle(TPenStyle v) { Set(data_.style, v); }
  const TPenData& Data() const { return data_; }
  void SetData(const TPenData& d) { Set(data_, d); }
  void Assign(const TPersistent& source) override;
  std::function<void(TObject* sender)> OnChange;

 private:
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
  }
  TPenData data_;
};

struct TBrushData {
  TColor color = clWhite;
  TBrushStyle style = TBrushStyle::bsSolid;
  friend bool operator==(const TBrushData&, const TBrushData&) = default;
};

// Hatched brush styles draw 1-pixel hatch lines every 8 pixels (aligned to
// device coordinates) in the brush colour and leave the pixels between them
// alone. bsClear draws nothing.
class TBrush : public TPersistent {
  QZ_CLASS(TBrush, TPersistent)
 public:
  TColor Color() const { return data_.color; }
  void SetColor(TColor v) { Set(data_.color, v); }
  TBrushStyle Style() const { return data_.style; }
  void SetStyle(TBrushStyle v) { Set(data_.style, v); }
  const TBrushData& Data() const { return data_; }
  void SetData(const TBrushData& d) { Set(data_, d); }
  void Assign(const TPersistent& source) override;
  std::function<void(TObject* sender)> OnChange;

 private:
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
  }
  TBrushData data_;
};

// Text metrics of the selected font, in pixels (the platform's TEXTMETRIC subset).
struct TTextMetric {
  int tmHeight = 0;           // ascent + descent: the line height
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;  // tmHeight - em height
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;     // advance of 'x' (or the average advance)
  int tmMaxCharWidth = 0;
  int tmWeight = 400;         // 400 normal, 700 bold
  bool tmItalic = false;
  bool tmUnderlined = false;
  bool tmStruckOut = false;
  uint8_t tmCharSet = DEFAULT_CHARSET;
};

// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// DrawText flags.
enum : uint32_t {
  DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
  DT_TABSTOP = 0x80, DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000,
  DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000,
  DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000,
  DT_HIDEPREFIX = 0x100000, DT_PREFIXONLY = 0x200000,
};

// Raster operations of the block transfers. SRCCOPY, SRCPAINT, SRCAND and
// SRCINVERT apply their bit operation to all 32 bits of a pixel; NOTSRCCOPY
// and DSTINVERT invert the colour bits and keep alpha 255; BLACKNESS and
// WHITENESS write opaque black / white; PATCOPY fills with the destination's
// brush colour (opaque), PATINVERT XORs its colour bits with it.
enum : uint32_t {
  SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
  NOTSRCCOPY = 0x00330008, DSTINVERT = 0x00550009, PATCOPY = 0x00F00021, PATINVERT = 0x005A0049,
  BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062,
};

// Nearest-neighbour mapping used by every scaled copy: destination index i
// (0 <= i < dstLen) of a span of dstLen pixels samples source index
// floor((i + 0.5) * srcLen / dstLen) of a span of srcLen pixels.
inline int NearestSourceIndex(int i, int srcLen, int dstLen) {
  return static_cast<int>(((2 * static_cast<int64_t>(i) + 1) * srcLen) / (2 * static_cast<int64_t>(dstLen)));
}

class TCanvas : public TPersistent {
  QZ_CLASS(TCanvas, TPersistent)
 public:
  // No target: every drawing call does nothing, while text is measured
  // (TextExtent, GetTextMetrics, DrawText with DT_CALCRECT) exactly as on a
  // canvas that draws. Code that only measures text makes one of these.
  TCanvas();
  explicit TCanvas(TPixmap* target);  // draws into target (not owned)
  ~TCanvas() override;

  // A new target keeps origins and clip settings; the base clip is cleared.
  void SetTarget(TPixmap* target);
  TPixmap* Target() const { return target_; }
  TCanvas* Handle() { return this; }

  TFont& Font() { return font_; }
  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  const TFont& Font() const { return font_; }
  const TPen& Pen() const { return pen_; }
  const TBrush& Brush() const { return brush_; }
  void SetFont(const TFont& f) { font_.Assign(f); }
  void SetPen(const TPen& p) { pen_.Assign(p); }
  void SetBrush(const TBrush& b) { brush_.Assign(b); }
  // CopyRect's raster operation (SRCCOPY by default).
  uint32_t CopyMode() const { return copyMode_; }
  void SetCopyMode(uint32_t rop) { copyMode_ = rop; }

  // ---- Device context state ----
  TPoint ViewportOrg() const { return viewportOrg_; }
  void SetViewportOrg(TPoint p);
  TPoint WindowOrg() const { return windowOrg_; }
  void SetWindowOrg(TPoint p);
  TPoint LogicalToDevice(TPoint p) const { return p - windowOrg_ + viewportOrg_; }
  TRect LogicalToDevice(const TRect& r) const;
  TPoint DeviceToLogical(TPoint p) const { return p - viewportOrg_ + windowOrg_; }
  TRect DeviceToLogical(const TRect& r) const;

  // Clipping. The base clip (device coordinates) is set by the window system:
  // the part of the target a window may touch; it can never be exceeded. The
  // user clip (SelectClipRgn, IntersectClipRect, ExcludeClipRect) is combined
  // with it. Unlike the base clip, these calls take logical coordinates: the
  // region or rectangle is converted with the origins current at the call.
  void SetBaseClip(const TRegion& deviceRegion);
  void ClearBaseClip();  // whole target
  bool HasBaseClip() const { return hasBaseClip_; }

  // SaveDC returns the new depth (1, 2, ...). RestoreDC(n) with n > 0 returns to
  // the state saved by the SaveDC that returned n; n < 0 goes back -n levels.
  // Restored: origins, user clip, pen, brush, font (with its colour), bk mode,
  // copy mode and pen position. The base clip is not part of the saved state.
  int SaveDC();
  bool RestoreDC(int savedIndex);
  int SaveDepth() const;

  // Each returns the kind of the resulting clip (NULLREGION, SIMPLEREGION,
  // COMPLEXREGION) as the platform does.
  int IntersectClipRect(const TRect& r);
  int ExcludeClipRect(const TRect& r);
  // Null removes the user clip. Otherwise the user clip becomes the region
  // (logical coordinates).
  int SelectClipRgn(const TRegion* logicalRgnOrNull);
  // Combines the user clip with a region (logical) by RGN_AND/OR/XOR/DIFF/COPY.
  // With no user clip, the current clip region takes its place.
  int ExtSelectClipRgn(const TRegion* logicalRgnOrNull, int mode);
  // The user clip alone in logical coordinates; false when there is none.
  bool GetClipRgn(TRegion& logicalOut) const;
  TRect ClipRect() const;                 // logical box of the effective clip
  TRegion ClipRegion() const;             // device coordinates, base clip and target included
  bool RectVisible(const TRect& r) const; // logical
  bool PtVisible(TPoint p) const;         // logical

  // ---- Drawing (logical coordinates, clipped) ----
  void FillRect(const TRect& r);   // with Brush (nothing for bsClear)
  void FrameRect(const TRect& r);  // 1-pixel frame in the Brush colour
  void FillRgn(const TRegion& logicalRgn);  // with Brush
  // Pen outline on the rectangle's border pixels, Brush fill inside. With the
  // clear pen only the fill is drawn, over (l, t, r - 1, b - 1) as the platform does.
  void Rectangle(const TRect& r);
  void Rectangle(int l, int t, int r, int b) { Rectangle(TRect{l, t, r, b}); }
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  void LineTo(int x, int y);  // end point excluded; pen position moves there
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { penPos_ = p; }
  void Polyline(std::span<const TPoint> points);  // every end point excluded; pen position kept
  void Polygon(std::span<const TPoint> points);   // alternate fill with Brush, closed Pen outline
  void Ellipse(const TRect& r);
  void Ellipse(int l, int t, int r, int b) { Ellipse(TRect{l, t, r, b}); }
  void RoundRect(const TRect& r, int cx, int cy);
  // The dotted focus rectangle (every other pixel inverted), XOR-like: drawing
  // it twice restores the pixels.
  void DrawFocusRect(const TRect& r);
  // Unclipped read of the target (clNone outside it); SetPixel is clipped.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c);

  void Draw(int x, int y, const TGraphic& graphic);  // at the graphic's own size
  void StretchDraw(const TRect& r, const TGraphic& graphic);
  // Copies srcRect of src (its logical coordinates) to dest with CopyMode,
  // nearest-neighbour when the sizes differ.
  void CopyRect(const TRect& dest, TCanvas& src, const TRect& srcRect);

  // ---- Text (UTF-8) ----
  // The background of text is filled with the Brush colour unless
  // Brush.Style == bsClear or SetBkMode(TRANSPARENT). Text colour = Font.Color.
  // TextOut moves the pen position to (x + text width, y).
  void TextOut(int x, int y, std::string_view text);
  // Draws at (x, y) clipped to r; in opaque mode r is filled first.
  void TextRect(const TRect& r, int x, int y, std::string_view text);
  TSize TextExtent(std::string_view text);  // cx = advance width, cy = tmHeight
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  TTextMetric GetTextMetrics();
  // The platform's DrawText. Returns the height of the text (for DT_VCENTER /
  // DT_BOTTOM with DT_SINGLELINE: the offset from r.Top to the bottom of the
  // drawn text); 0 for empty text. With DT_CALCRECT nothing is drawn and only
  // r.Right and r.Bottom change. DT_TABSTOP takes the tab size (in average
  // characters) from bits 8-15 of flags, which then do not count as flags.
  int DrawText(std::string_view text, TRect& r, uint32_t flags);
  int DrawText(std::string_view text, const TRect& r, uint32_t flags) {
    TRect copy = r;
    return DrawText(text, copy, flags);
  }
  int SetBkMode(int mode);  // returns the previous mode (0 for a bad mode)
  int BkMode() const { return bkMode_; }
  // Text colour is Font.Color; these set and read it as a resolved colour.
  TColorRef SetTextColor(TColor c);
  TColorRef TextColor() const { return ColorToRGB(font_.Color()); }

  // ---- For pixel code that draws directly into the target ----
  // The effective clip in device coordinates as banded rectangles (base clip,
  // user clip and target bounds combined), cached between state changes.
  const std::vector<TRect>& DeviceClipRects() const;
  // Visits every device-space rectangle of (deviceRect ∩ clip).
  void ForEachClipRect(const TRect& deviceRect, const std::function<void(const TRect&)>& fn) const;

 private:
  // What SaveDC keeps.
  struct TState {
    TPoint viewportOrg, windowOrg, penPos;
    bool hasUserClip = false;
    TRegion userClip;  // device
    TPenData pen;
    TBrushData brush;
    TFontData font;
    int bkMode = OPAQUE;
    uint32_t copyMode = SRCCOPY;
  };
  void InvalidateClip() { clipDirty_ = true; }
  void SetUserClip(std::unique_ptr<TRegion> deviceRgn);
  TRegion CurrentDeviceClip() const;
  int ClipKind() const;
  bool DeviceVisible(int x, int y) const;
  void FillDeviceRect(const TRect& deviceRect, uint32_t pixel);
  void FillDeviceRectWithBrush(const TRect& deviceRect);
  void FillSpans(const std::vector<TRect>& deviceRects, bool useBrush, uint32_t pixel);
  void PlotDevice(int x, int y, uint32_t pixel);
  void StampPen(int x, int y, uint32_t pixel);
  void DrawLineDevice(TPoint a, TPoint b, bool withPattern);
  // Text.
  TFontFace& CurrentFace();
  bool TextOpaque() const { return bkMode_ == OPAQUE && brush_.Style() != TBrushStyle::bsClear; }
  friend class TTextPainter;

  TPixmap* target_ = nullptr;
  TFont font_;
  TPen pen_;
  TBrush brush_;
  uint32_t copyMode_ = SRCCOPY;
  int bkMode_ = OPAQUE;
  TPoint viewportOrg_;
  TPoint windowOrg_;
  TPoint penPos_;
  bool hasBaseClip_ = false;
  TRegion baseClip_;                    // device
  std::unique_ptr<TRegion> userClip_;   // device; null = none
  std::vector<TState> saved_;
  mutable bool clipDirty_ = true;
  mutable std::vector<TRect> clipRects_;
  mutable TRegion clipRegion_;
  std::shared_ptr<TFontFace> face_;
  TFontData faceFor_;
};

using HDC = TCanvas*;

// ---- GDI-like free functions on device contexts ----
// Block transfers: positions are logical coordinates of each context, resolved
// through each one's origins; the destination is clipped to its clip. Source
// pixels outside the source target are not drawn. Widths and heights may be
// negative in the stretched forms to mirror. False when a context or target
// is missing or the operation is unknown.
bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop);
bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                uint32_t rop);
bool PatBlt(HDC dst, int x, int y, int w, int h, uint32_t rop);
// Per-pixel OVER with a premultiplied source and a constant alpha (the
// platform's AlphaBlend; perPixelAlpha = AC_SRC_ALPHA):
//   sA = src.a * ca / 255, sC = src.c * ca / 255 (ca = constantAlpha; when
//   !perPixelAlpha the source alpha counts as 255 for the weighting),
//   dst.c = sC + dst.c * (255 - sA) / 255, each step rounded to nearest, clamped
//   to 255; the alpha channel is blended the same way.
bool AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                uint8_t constantAlpha, bool perPixelAlpha);
// Copies every source pixel whose colour (RGB, alpha ignored) differs from key.
bool TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    TColorRef key);

inline int SaveDC(HDC dc) { return dc ? dc->SaveDC() : 0; }
inline bool RestoreDC(HDC dc, int index) { return dc && dc->RestoreDC(index); }
inline int IntersectClipRect(HDC dc, int l, int t, int r, int b) {
  return dc ? dc->IntersectClipRect({l, t, r, b}) : RGN_ERROR;
}
inline int ExcludeClipRect(HDC dc, int l, int t, int r, int b) {
  return dc ? dc->ExcludeClipRect({l, t, r, b}) : RGN_ERROR;
}
inline int SelectClipRgn(HDC dc, const TRegion* logicalRgn) {
  return dc ? dc->SelectClipRgn(logicalRgn) : RGN_ERROR;
}
inline int GetClipBox(HDC dc, TRect& out) {
  if (!dc) return RGN_ERROR;
  out = dc->ClipRect();
  return RegionKind(dc->ClipRegion());
}
inline bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) {
  if (!dc) return false;
  if (old) *old = dc->ViewportOrg();
  dc->SetViewportOrg({x, y});
  return true;
}
inline bool GetViewportOrgEx(HDC dc, TPoint* out) {
  if (!dc || !out) return false;
  *out = dc->ViewportOrg();
  return true;
}
inline bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old) {
  if (!dc) return false;
  if (old) *old = dc->WindowOrg();
  dc->SetWindowOrg({x, y});
  return true;
}
inline bool GetWindowOrgEx(HDC dc, TPoint* out) {
  if (!dc || !out) return false;
  *out = dc->WindowOrg();
  return true;
}
inline int SetBkMode(HDC dc, int mode) { return dc ? dc->SetBkMode(mode) : 0; }
inline TColorRef SetTextColor(HDC dc, TColor c) { return dc ? dc->SetTextColor(c) : 0; }
inline int DrawText(HDC dc, std::string_view text, TRect& r, uint32_t flags) {
  return dc ? dc->DrawText(text, r, flags) : 0;
}
inline bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize* out) {
  if (!dc || !out) return false;
  *out = dc->TextExtent(text);
  return true;
}
inline bool GetTextMetrics(HDC dc, TTextMetric* out) {
  if (!dc || !out) return false;
  *out = dc->GetTextMetrics();
  return true;
}

}  // namespace qz
