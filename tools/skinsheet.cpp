// skinsheet: renders a contact sheet of a compressed skin file into one PNG.
//
//   skinsheet [--window WxH] <file.skn> <out.png>
//
// The sheet shows the main picture composed at the main window's size by the
// [FORMINFO] geometry and shaped by the mask (outside pixels as a
// checkerboard), with the caption buttons laid out in frame mode, once plain
// and once with the skin areas, objects and the client rectangle outlined;
// then every description of [SKINCONTROLS] and
// [SKINOBJECTS] (and the popup window, hint window and layer frame when they
// have pictures): each of its looks composed at its own size, larger and
// smaller in the directions it can stretch, labelled with the description's
// name, kind and key; the normal look once more with its client rect and
// other places outlined. The faults the skin checks find (tools/skinsheet/
// SkinPieces.h: rects outside their picture, picture indexes that name
// nothing ...) are written in red, warnings (looks of another size than the
// normal one, tiles with seams ...) in amber; both are also listed on
// standard output.
//
// Exit codes: 0 success (also when the skin has faults), 1 failure (message on
// stderr), 2 wrong usage.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/base/Exception.h"
#include "host/graphics/Canvas.h"
#include "host/graphics/PngWriter.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinImage.h"
#include "tools/common/ToolMain.h"
#include "tools/skinsheet/SkinPieces.h"

namespace {

using namespace qz;
using namespace qz::skinsheet;
using tool::TUsageError;

constexpr const char* kUsage =
    "Usage: skinsheet [options] <file.skn> <out.png>\n"
    "\n"
    "Renders a contact sheet of a compressed skin file: the main picture composed\n"
    "at the main window's size and shaped by the mask, and every description's\n"
    "looks composed at their own, a larger and a smaller size. Faults of the skin\n"
    "(rects outside their pictures, picture indexes that name nothing ...) are\n"
    "written in red on the sheet and listed on standard output, warnings (looks of\n"
    "another size than the normal one, tiles with seams ...) in amber.\n"
    "\n"
    "Options:\n"
    "  --window WxH   compose the main picture at this window size (1 to 4096 a\n"
    "                 side); default: the demo's windows for the demo skins\n"
    "                 (820 x 602 picture: 848 x 645 client in client mode; 393 x 268\n"
    "                 picture: 688 x 337 client in frame mode), else the picture's\n"
    "                 own size\n"
    "  -h, --help     show this help\n"
    "\n"
    "Exit status: 0 on success (also when the skin has faults), 1 on failure,\n"
    "2 on wrong usage.\n";

struct TOptions {
  std::string input, output;
  std::optional<TSize> window;
};

// ---------------------------------------------------------------------------
// Sheet look.

constexpr uint32_t kSheetGrey = 0xFF808080;
constexpr uint32_t kImageFrame = 0xFF4A4A4A;
constexpr uint32_t kCheckLight = 0xFFFFFFFF, kCheckDark = 0xFFC8C8C8;
constexpr uint32_t kNoPixel = 0xFFFF00FF;  // piece pixels outside the picture
constexpr int kMargin = 16, kGap = 10, kCellPad = 6, kSheetMinWidth = 1760;
constexpr int kLargestSide = 1600;  // composed images are never larger
constexpr int kLargestWindowSide = 4096;  // --window
constexpr int64_t kLargestPiece = int64_t(4096) * 4096;  // larger rects are not composed
const TColor kNameColor = clWhite;
const TColor kTextColor = clBlack;
const TColor kProblemColor = RGB(200, 0, 0);
const TColor kWarningColor = RGB(150, 80, 0);
const TColor kNoteBox = RGB(236, 236, 236);

// ---------------------------------------------------------------------------
// Pixel helpers.

// Copies src into dst at (x, y), clipped to dst.
void Blit(TPixmap& dst, const TPixmap& src, int x, int y) {
  for (int sy = 0; sy < src.Height(); ++sy) {
    const int dy = y + sy;
    if (dy < 0 || dy >= dst.Height()) continue;
    for (int sx = 0; sx < src.Width(); ++sx) {
      const int dx = x + sx;
      if (dx >= 0 && dx < dst.Width()) dst.At(dx, dy) = src.At(sx, sy) | 0xFF000000u;
    }
  }
}

void FillRect(TPixmap& dst, const TRect& r, uint32_t pixel) {
  for (int y = std::max(0, r.Top); y < std::min(dst.Height(), r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(dst.Width(), r.Right); ++x) dst.At(x, y) = pixel;
}

void FrameRect(TPixmap& dst, const TRect& r, uint32_t pixel) {
  FillRect(dst, {r.Left, r.Top, r.Right, r.Top + 1}, pixel);
  FillRect(dst, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, pixel);
  FillRect(dst, {r.Left, r.Top, r.Left + 1, r.Bottom}, pixel);
  FillRect(dst, {r.Right - 1, r.Top, r.Right, r.Bottom}, pixel);
}

uint32_t Checker(int x, int y) { return ((x / 8 + y / 8) % 2) ? kCheckDark : kCheckLight; }

// The rectangle `r` of `picture` as its own pixmap; pixels outside the
// picture are magenta, so a piece can always be composed safely.
TPixmap ExtractPiece(const TBitmap& picture, const TRect& r) {
  TPixmap out(r.Width(), r.Height(), kNoPixel);
  const TPixmap& src = picture.Pixels();
  for (int y = 0; y < out.Height(); ++y) {
    const int sy = r.Top + y;
    if (sy < 0 || sy >= src.Height()) continue;
    for (int x = 0; x < out.Width(); ++x) {
      const int sx = r.Left + x;
      if (sx >= 0 && sx < src.Width()) out.At(x, y) = src.At(sx, sy);
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Composition of a piece at a size.

TPixmap ComposeGeometry(const TSkinPiece& p, const TPixmap& src, TSize size) {
  TqzSkinGeometry g = p.Geometry;
  g.SkinRect = {0, 0, src.Width(), src.Height()};
  const TqzResizeMode mode = CalcResizeMode(g);
  const TqzNewGeometry n = CalcNewGeometry(g, mode, size.cx, size.cy);
  TPixmap dest;
  switch (mode) {
    case TqzResizeMode::NinePart:
      ComposeSkinImage(g, n, true, n.Width, n.Height, src, dest);
      return dest;
    case TqzResizeMode::Horizontal:
      ComposeHSkinImage(g.LeftTopPoint.X, src.Width() - g.RightTopPoint.X, dest, g.StretchEffect,
                        n.Width, g.SkinRect, src);
      return dest;
    case TqzResizeMode::Vertical:
      ComposeVSkinImage(g.LeftTopPoint.Y, src.Height() - g.LeftBottomPoint.Y, dest,
                        g.StretchEffect, n.Height, g.SkinRect, src);
      return dest;
    default:
      return src;
  }
}

TPixmap ComposePiece(const TSkinPiece& p, const TPixmap& src, TSize size) {
  const TRect r{0, 0, src.Width(), src.Height()};
  TPixmap dest;
  switch (p.Layout) {
    case TPieceLayout::Geometry:
      return ComposeGeometry(p, src, size);
    case TPieceLayout::HorzEnds:
      ComposeHSkinImage(p.EndA, p.EndB, dest, p.Stretch, size.cx, r, src);
      return dest;
    case TPieceLayout::VertEnds:
      ComposeVSkinImage(p.EndA, p.EndB, dest, p.Stretch, size.cy, r, src);
      return dest;
    default:
      return src;
  }
}

// Which directions a piece can stretch in, and the least size its fixed
// parts leave.
struct TStretchability {
  bool Horz = false, Vert = false;
  int MinWidth = 1, MinHeight = 1;
};

TStretchability GeometryStretchability(const TSkinPiece& p) {
  const TqzSkinGeometry& g = p.Geometry;
  const int w = p.Rect.Width(), h = p.Rect.Height();
  TStretchability s;
  const TqzResizeMode mode = CalcResizeMode(g);
  s.Horz = mode == TqzResizeMode::NinePart || mode == TqzResizeMode::Horizontal;
  s.Vert = mode == TqzResizeMode::NinePart || mode == TqzResizeMode::Vertical;
  s.MinWidth = std::max({1, g.LeftTopPoint.X + w - g.RightTopPoint.X,
                         g.ClientRect.Left + w - g.ClientRect.Right});
  if (mode == TqzResizeMode::NinePart)
    s.MinWidth = std::max(s.MinWidth, g.LeftBottomPoint.X + w - g.RightBottomPoint.X);
  s.MinHeight = std::max({1, g.LeftTopPoint.Y + h - g.LeftBottomPoint.Y,
                          g.RightTopPoint.Y + h - g.RightBottomPoint.Y,
                          g.ClientRect.Top + h - g.ClientRect.Bottom});
  if (mode == TqzResizeMode::Vertical) s.MinHeight = std::max(1, g.LeftTopPoint.Y + h - g.LeftBottomPoint.Y);
  return s;
}

TStretchability StretchabilityOf(const TSkinPiece& p) {
  TStretchability s;
  switch (p.Layout) {
    case TPieceLayout::Geometry:
      return GeometryStretchability(p);
    case TPieceLayout::HorzEnds:
      s.Horz = true;
      s.MinWidth = std::max(1, p.EndA + p.EndB);
      return s;
    case TPieceLayout::VertEnds:
      s.Vert = true;
      s.MinHeight = std::max(1, p.EndA + p.EndB);
      return s;
    default:
      return s;
  }
}

struct TSizedImage {
  TPixmap Image;
  std::string Caption;
};

// About 60 % larger (never past kLargestSide) and 40 % smaller (never below
// what the fixed parts need); neither crosses the own size.
int Larger(int v) { return std::max(v, std::min(kLargestSide, v + std::max(8, v * 6 / 10))); }
int Smaller(int v, int least) { return std::min(v, std::max(least, v - v * 4 / 10)); }

// The piece at its own size, larger and smaller where it can stretch.
std::vector<TSizedImage> ComposeSizes(const TSkinPiece& p) {
  const TPixmap src = ExtractPiece(*p.Picture, p.Rect);
  const TStretchability s = StretchabilityOf(p);
  const int w = src.Width(), h = src.Height();
  std::vector<TSizedImage> out;
  auto add = [&](TSize size, const char* what) {
    TPixmap img = ComposePiece(p, src, size);
    if (img.Empty()) return;
    out.push_back({std::move(img), std::to_string(size.cx) + " x " + std::to_string(size.cy) +
                                       (what[0] ? std::string(" ") + what : "")});
  };
  if (!s.Horz && !s.Vert) {
    add({w, h}, "");
    return out;
  }
  add({w, h}, "own");
  const TSize large{s.Horz ? Larger(w) : w, s.Vert ? Larger(h) : h};
  if (large.cx > w || large.cy > h) add(large, "larger");
  const TSize small{s.Horz ? Smaller(w, s.MinWidth) : w, s.Vert ? Smaller(h, s.MinHeight) : h};
  if (small.cx < w || small.cy < h) add(small, "smaller");
  return out;
}

// ---------------------------------------------------------------------------
// Text.

struct TTextLine {
  std::string Text;
  TColor Color = kTextColor;
  bool Bold = false;
  bool Boxed = false;  // on a light box (faults)
};

// Measures and draws the sheet's texts (Arial, 12 pixels).
class TSheetText {
 public:
  explicit TSheetText(TPixmap* target) : canvas_(target) {
    canvas_.Font().SetName("Arial");
    canvas_.Font().SetHeight(-12);
    canvas_.SetBkMode(TRANSPARENT);
    lineHeight_ = canvas_.TextHeight("Ag") + 2;
  }
  int LineHeight() const { return lineHeight_; }
  int Width(const TTextLine& line) {
    Select(line);
    return canvas_.TextWidth(line.Text) + (line.Boxed ? 6 : 0);
  }
  void Draw(const TTextLine& line, int x, int y) {
    Select(line);
    if (line.Boxed) {
      canvas_.Brush().SetColor(kNoteBox);
      canvas_.FillRect({x, y, x + Width(line), y + lineHeight_ - 1});
      x += 3;
    }
    canvas_.Font().SetColor(line.Color);
    canvas_.TextOut(x, y, line.Text);
  }

 private:
  void Select(const TTextLine& line) {
    canvas_.Font().SetStyle(line.Bold ? TFontStyles{TFontStyle::fsBold} : TFontStyles{});
  }
  TCanvas canvas_;
  int lineHeight_ = 14;
};

// ---------------------------------------------------------------------------
// Cells: labelled images, laid out on shelves.

struct TCell {
  std::vector<TTextLine> Label;
  std::vector<TSizedImage> Images;
  std::vector<TTextLine> Notes;  // faults under the images
  TSize Size;
};

constexpr int kCaptionGap = 2;

void MeasureCell(TCell& cell, TSheetText& text) {
  int w = 0, imagesW = 0, imagesH = 0;
  for (const TTextLine& l : cell.Label) w = std::max(w, text.Width(l));
  for (const TTextLine& l : cell.Notes) w = std::max(w, text.Width(l));
  for (const TSizedImage& img : cell.Images) {
    const int colW = std::max(img.Image.Width() + 2, text.Width({img.Caption}));
    imagesW += colW + (imagesW ? kGap : 0);
    imagesH = std::max(imagesH, img.Image.Height() + 2);
  }
  w = std::max(w, imagesW);
  int h = text.LineHeight() * int(cell.Label.size() + cell.Notes.size());
  if (!cell.Images.empty()) h += imagesH + kCaptionGap + text.LineHeight() + 4;
  cell.Size = {w + 2 * kCellPad, h + 2 * kCellPad};
}

void DrawCell(const TCell& cell, TPixmap& sheet, TSheetText& text, int x0, int y0) {
  int y = y0 + kCellPad;
  const int x = x0 + kCellPad;
  for (const TTextLine& l : cell.Label) {
    text.Draw(l, x, y);
    y += text.LineHeight();
  }
  if (!cell.Images.empty()) {
    y += 2;
    int imagesH = 0;
    for (const TSizedImage& img : cell.Images) imagesH = std::max(imagesH, img.Image.Height() + 2);
    int ix = x;
    for (const TSizedImage& img : cell.Images) {
      FrameRect(sheet, {ix, y, ix + img.Image.Width() + 2, y + img.Image.Height() + 2}, kImageFrame);
      Blit(sheet, img.Image, ix + 1, y + 1);
      text.Draw({img.Caption, kNameColor}, ix, y + imagesH + kCaptionGap);
      ix += std::max(img.Image.Width() + 2, text.Width({img.Caption})) + kGap;
    }
    y += imagesH + kCaptionGap + text.LineHeight() + 2;
  }
  for (const TTextLine& l : cell.Notes) {
    text.Draw(l, x, y);
    y += text.LineHeight();
  }
}

// Places cells left to right on shelves of the sheet width; returns the
// positions and the height used.
std::vector<TPoint> ShelfLayout(const std::vector<TCell>& cells, int width, int top, int& bottom) {
  std::vector<TPoint> at;
  int x = kMargin, y = top, shelfH = 0;
  for (const TCell& c : cells) {
    if (x > kMargin && x + c.Size.cx > width - kMargin) {
      x = kMargin;
      y += shelfH + kGap;
      shelfH = 0;
    }
    at.push_back({x, y});
    x += c.Size.cx + kGap;
    shelfH = std::max(shelfH, c.Size.cy);
  }
  bottom = y + shelfH;
  return at;
}

// ---------------------------------------------------------------------------
// Description cells.

bool MessageIsAbout(const std::string& message, const std::string& key) {
  return message.size() > key.size() && message.compare(0, key.size(), key) == 0 &&
         message[key.size()] == ' ';
}

std::vector<TTextLine> NotesFor(const TSkinDescriptionPieces& d, const std::string& key) {
  std::vector<TTextLine> notes;
  for (const std::string& m : d.Problems)
    if (MessageIsAbout(m, key)) notes.push_back({m, kProblemColor, true, true});
  for (const std::string& m : d.Warnings)
    if (MessageIsAbout(m, key)) notes.push_back({m, kWarningColor, false, true});
  return notes;
}

// Faults that concern no single piece (a picture index that names nothing).
std::vector<TTextLine> UnattachedNotes(const TSkinDescriptionPieces& d) {
  auto attached = [&](const std::string& m) {
    return std::any_of(d.Pieces.begin(), d.Pieces.end(),
                       [&](const TSkinPiece& p) { return MessageIsAbout(m, p.Key); });
  };
  std::vector<TTextLine> notes;
  for (const std::string& m : d.Problems)
    if (!attached(m)) notes.push_back({m, kProblemColor, true, true});
  for (const std::string& m : d.Warnings)
    if (!attached(m)) notes.push_back({m, kWarningColor, false, true});
  return notes;
}

const char* LayoutName(const TSkinPiece& p) {
  switch (p.Layout) {
    case TPieceLayout::Geometry: {
      switch (CalcResizeMode(p.Geometry)) {
        case TqzResizeMode::NinePart: return "nine-part";
        case TqzResizeMode::Horizontal: return "three-part horizontal";
        case TqzResizeMode::Vertical: return "three-part vertical";
        default: return "fixed size";
      }
    }
    case TPieceLayout::HorzEnds: return "fixed ends, horizontal";
    case TPieceLayout::VertEnds: return "fixed ends, vertical";
    default: return "fixed size";
  }
}

bool Composable(const TSkinPiece& p) {
  return p.Picture && !p.Rect.IsEmpty() &&
         int64_t(p.Rect.Width()) * p.Rect.Height() <= kLargestPiece;
}

constexpr uint32_t kPlacePixels[] = {0xFF00E000, 0xFF00E0FF, 0xFFFFD000, 0xFFFF60FF};
// Legend text in darker shades of the outline colours, to read on grey.
const TColor kPlaceColors[] = {RGB(0, 90, 0), RGB(0, 70, 120), RGB(110, 80, 0), RGB(120, 0, 120)};

// The normal look with its client rect, button places ... outlined, and a
// legend line per place.
void AddPlaces(const TSkinDescriptionPieces& d, const TSkinPiece& p, TCell& cell) {
  TPixmap img = ExtractPiece(*p.Picture, p.Rect);
  int n = 0;
  // Places relative to other looks, such as a frame's text rect, are left out.
  for (const auto& [key, r, bound] : d.Places) {
    if (bound == TqzPlaceBound::OnOtherLook) continue;
    FrameRect(img, r, kPlacePixels[n % 4]);
    cell.Notes.push_back({key + " " + RectText(r), kPlaceColors[n % 4]});
    ++n;
  }
  if (n) cell.Images.push_back({std::move(img), "places"});
}

TCell PieceCell(const TSkinDescriptionPieces& d, const TSkinPiece& p) {
  TCell cell;
  cell.Label.push_back({d.Name + "  (" + d.Kind + ")", kNameColor, true});
  std::string where = p.Key + "  " + RectText(p.Rect) + "  " + LayoutName(p);
  cell.Label.push_back({where, kTextColor});
  cell.Label.push_back({p.PictureName.empty() ? "no picture" : p.PictureName, kTextColor});
  if (Composable(p)) {
    cell.Images = ComposeSizes(p);
    if (p.Key == "skinrect") AddPlaces(d, p, cell);
  }
  std::vector<TTextLine> faults = NotesFor(d, p.Key);
  cell.Notes.insert(cell.Notes.begin(), faults.begin(), faults.end());
  return cell;
}

std::vector<TCell> DescriptionCells(const TSkinDescriptionPieces& d) {
  std::vector<TCell> cells;
  for (const TSkinPiece& p : d.Pieces) cells.push_back(PieceCell(d, p));
  std::vector<TTextLine> loose = UnattachedNotes(d);
  if (cells.empty()) {
    TCell cell;
    cell.Label.push_back({d.Name + "  (" + d.Kind + ")", kNameColor, true});
    cell.Label.push_back(
        {d.Kind == "forminfo" ? "frame rects, areas and mask" : "no picture pieces", kTextColor});
    cells.push_back(std::move(cell));
  }
  cells.front().Notes.insert(cells.front().Notes.end(), loose.begin(), loose.end());
  return cells;
}

// The layered frame's images with their opacity from the masks, over a
// checkerboard (straight alpha).
TPixmap OverChecker(const TPixmap& image) {
  TPixmap out(image.Width(), image.Height());
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const uint32_t p = image.At(x, y), c = Checker(x, y);
      const uint32_t a = PixelAlpha(p);
      uint32_t mixed = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t v = (((p >> shift) & 0xFF) * a + ((c >> shift) & 0xFF) * (255 - a) + 127) / 255;
        mixed |= v << shift;
      }
      out.At(x, y) = mixed;
    }
  return out;
}

std::vector<TCell> LayerFrameCells(const TqzSkinData& skin) {
  const TqzSkinImageCache& images = skin.ImageCache();
  TCell cell;
  cell.Label.push_back({"LAYERFRAME  (layerframe)", kNameColor, true});
  cell.Label.push_back({"frame images with the opacity of their masks", kTextColor});
  if (const TqzBitmap* active = images.LayerFrameImage())
    cell.Images.push_back({OverChecker(active->Pixmap()), "active"});
  if (const TqzBitmap* inactive = images.LayerFrameInActiveImage())
    cell.Images.push_back({OverChecker(inactive->Pixmap()), "inactive"});
  if (cell.Images.empty()) return {};
  return {cell};
}

// ---------------------------------------------------------------------------
// The main window.

struct TWindowPlan {
  TSize Size;
  std::string How;
  bool FrameMode = false;  // caption buttons from the active pictures are laid out in a row
};

// Whether the main picture is composed by its corner points (else copied).
bool Stretchable(const TqzSkinData& skin) {
  return skin.LeftTopPoint != TPoint{} || skin.RightBottomPoint != TPoint{};
}

// Whether the window's size may differ from the picture's: the right-bottom
// corner point differs from the left-top one in both directions.
bool SizeStretchable(const TqzSkinData& skin) {
  return skin.RightBottomPoint.X != skin.LeftTopPoint.X &&
         skin.RightBottomPoint.Y != skin.LeftTopPoint.Y;
}

// Standard caption buttons whose normal look is cut from an active picture:
// a frame-mode skin lays them out in a row.
bool HasPicturedCaptionButtons(const TqzSkinData& skin) {
  for (const auto& o : skin.ObjectList())
    if (Is<TqzDataSkinStdButton>(o.get()) && o->SkinRectInAPicture) return true;
  return false;
}

// Frame mode: the window is the client plus the frame the skin's client
// rect leaves (the default 3-pixel frame and caption without one).
TSize FrameWindowSize(const TqzSkinData& skin, TSize client) {
  const TRect& cr = skin.ClientRect;
  if (cr.IsEmpty()) return {client.cx + 6, client.cy + 19 + 6};
  return {client.cx + skin.Picture().Width() - cr.Width(),
          client.cy + skin.Picture().Height() - cr.Height()};
}

// Client mode: a skin that does not stretch fixes the client to its
// picture; one that stretches only raises a smaller client.
TSize ClientModeSize(const TqzSkinData& skin, TSize client) {
  const int pw = skin.Picture().Width(), ph = skin.Picture().Height();
  if (!SizeStretchable(skin)) return {pw, ph};
  return {std::max(client.cx, pw), std::max(client.cy, ph)};
}

std::string SizeText(TSize s) { return std::to_string(s.cx) + " x " + std::to_string(s.cy); }

TWindowPlan PlanWindow(const TqzSkinData& skin, const std::optional<TSize>& asked) {
  const TSize picture{skin.Picture().Width(), skin.Picture().Height()};
  const bool frameMode = HasPicturedCaptionButtons(skin);
  if (asked) return {*asked, "window " + SizeText(*asked) + " (--window)", frameMode};
  if (picture == TSize{820, 602}) {
    const TSize w = ClientModeSize(skin, {848, 645});
    return {w, "main window: client 848 x 645, client mode -> window " + SizeText(w), false};
  }
  if (picture == TSize{393, 268}) {
    const TSize w = FrameWindowSize(skin, {688, 337});
    return {w, "second window: client 688 x 337, frame mode -> window " + SizeText(w), true};
  }
  return {picture, "window at the picture's size " + SizeText(picture), frameMode};
}

TqzSkinGeometry FormGeometry(const TqzSkinData& skin, const TBitmap& picture,
                             const TRect& clientRect) {
  const TqzSkinFormInfo& frame = skin;
  TqzSkinGeometry g({0, 0, picture.Width(), picture.Height()}, frame);
  g.ClientRect = clientRect;
  return g;
}

TPixmap ComposeWindowPicture(const TqzSkinData& skin, TSize size) {
  const TBitmap& picture = skin.Picture();
  if (!Stretchable(skin)) {
    TPixmap out(size.cx, size.cy, kNoPixel);
    Blit(out, picture.Pixels(), 0, 0);
    return out;
  }
  const TqzSkinGeometry g = FormGeometry(skin, picture, skin.ClientRect);
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, size.cx, size.cy);
  TPixmap out;
  ComposeSkinImage(g, n, true, size.cx, size.cy, picture.Pixels(), out);
  return out;
}

bool BlackPixel(uint32_t p) { return (p & 0x00FFFFFFu) == 0; }

// Marks the black pixels of `strip` placed at (x, y) as inside.
void MarkStrip(std::vector<uint8_t>& inside, TSize size, const TPixmap& strip, int x, int y) {
  for (int sy = 0; sy < strip.Height(); ++sy)
    for (int sx = 0; sx < strip.Width(); ++sx) {
      const int dx = x + sx, dy = y + sy;
      if (dx < 0 || dy < 0 || dx >= size.cx || dy >= size.cy) continue;
      if (BlackPixel(strip.At(sx, sy))) inside[size_t(dy) * size.cx + dx] = 1;
    }
}

// The window shape at `size`: the mask's border strips stretched like the
// frame with the mask area in place of the client rect, united with the
// mask area (what the window region is built from).
std::vector<uint8_t> WindowShape(const TqzSkinData& skin, TSize size) {
  std::vector<uint8_t> inside(size_t(size.cx) * size.cy, 0);
  const TBitmap& mask = skin.Mask();
  const TBitmap& picture = skin.Picture();
  if (mask.Empty()) {
    const TSize covered = Stretchable(skin) ? size : TSize{picture.Width(), picture.Height()};
    for (int y = 0; y < std::min(size.cy, covered.cy); ++y)
      for (int x = 0; x < std::min(size.cx, covered.cx); ++x) inside[size_t(y) * size.cx + x] = 1;
    return inside;
  }
  if (!Stretchable(skin)) {
    MarkStrip(inside, size, mask.Pixels(), 0, 0);
    return inside;
  }
  const TqzSkinGeometry g = FormGeometry(skin, mask, skin.MaskRectArea);
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, size.cx, size.cy);
  const TqzBorderStrips strips = ComposeSkinBorderImages(g, n, size.cx, size.cy, mask.Pixels());
  const TRect& area = n.NewClRect;
  for (int y = std::max(0, area.Top); y < std::min(size.cy, area.Bottom); ++y)
    for (int x = std::max(0, area.Left); x < std::min(size.cx, area.Right); ++x)
      inside[size_t(y) * size.cx + x] = 1;
  MarkStrip(inside, size, strips.Top, 0, 0);
  MarkStrip(inside, size, strips.Bottom, 0, area.Bottom);
  MarkStrip(inside, size, strips.Left, 0, area.Top);
  MarkStrip(inside, size, strips.Right, area.Right, area.Top);
  return inside;
}

void ApplyShape(TPixmap& image, const std::vector<uint8_t>& inside) {
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (!inside[size_t(y) * image.Width() + x]) image.At(x, y) = Checker(x, y);
}

// Carries a rectangle of picture coordinates onto the window by the corner
// quadrants of the picture, as the form controller places objects and areas.
class TFrameTransform {
 public:
  TFrameTransform(const TqzSkinData& skin, TSize window) {
    const int pw = skin.Picture().Width(), ph = skin.Picture().Height();
    dx_ = window.cx - pw;
    dy_ = window.cy - ph;
    tl_ = {0, 0, skin.LeftTopPoint.X, skin.LeftTopPoint.Y};
    tr_ = {skin.RightTopPoint.X, 0, pw, skin.RightTopPoint.Y};
    bl_ = {0, skin.LeftBottomPoint.Y, skin.LeftBottomPoint.X, ph};
    br_ = {skin.RightBottomPoint.X, skin.RightBottomPoint.Y, pw, ph};
  }
  int Dx() const { return dx_; }
  int Dy() const { return dy_; }

  TRect Apply(const TRect& r) const {
    if (tl_.IsEmpty() && tr_.IsEmpty() && bl_.IsEmpty() && br_.IsEmpty()) return r;
    if (Inside(r, tl_)) return r;
    if (Inside(r, tr_)) return OffsetRect(r, dx_, 0);
    if (Inside(r, bl_)) return OffsetRect(r, 0, dy_);
    if (Inside(r, br_)) return OffsetRect(r, dx_, dy_);
    const TPoint a = r.TopLeft(), b = r.BottomRight();
    if (tl_.Contains(a) && br_.Contains(b)) return {r.Left, r.Top, r.Right + dx_, r.Bottom + dy_};
    if (tl_.Contains(a) && tr_.Contains(b)) return {r.Left, r.Top, r.Right + dx_, r.Bottom};
    if (bl_.Contains(a) && br_.Contains(b))
      return {r.Left, r.Top + dy_, r.Right + dx_, r.Bottom + dy_};
    if (tl_.Contains(a) && bl_.Contains(b)) return {r.Left, r.Top, r.Right, r.Bottom + dy_};
    if (tr_.Contains(a) && br_.Contains(b))
      return {r.Left + dx_, r.Top, r.Right + dx_, r.Bottom + dy_};
    return r;
  }

 private:
  static bool Inside(const TRect& r, const TRect& q) {
    return !q.IsEmpty() && r.Left >= q.Left && r.Top >= q.Top && r.Right <= q.Right &&
           r.Bottom <= q.Bottom;
  }
  int dx_ = 0, dy_ = 0;
  TRect tl_, tr_, bl_, br_;
};

// A look of a frame object placed on the window.
struct TPlacedLook {
  std::string Name;
  TRect Place;               // window coordinates
  const TBitmap* Picture;
  TRect Source;
};

// The row of caption buttons a frame-mode window lays out from their
// pictures: inside the buttons rect (moved with the right edge when it lies
// in the right half) or the caption rect, from its right edge leftwards:
// close, maximize, minimize, roll-up, each at its own size, `buttonsoffset`
// apart; the system menu button at the caption's left, centred. The border
// icons are the second window's (system menu, minimize, maximize, roll-up),
// so the tray and dialog-only close buttons stay hidden.
// The buttons rect on the window: it moves with the right edge when it lies
// in the right half of the picture.
TRect PlaceButtonsRect(const TqzSkinData& skin, TSize window) {
  const int pw = skin.Picture().Width();
  const TRect& r = skin.ButtonsRect;
  return r.Left > pw / 2 ? OffsetRect(r, window.cx - pw, 0) : r;
}

std::vector<TPlacedLook> CaptionButtonRow(const TqzSkinData& skin, TSize window) {
  TRect caption = skin.CaptionRect;
  if (!caption.IsEmpty()) caption.Right += window.cx - skin.Picture().Width();
  const TRect row = skin.ButtonsRect.IsEmpty() ? caption : PlaceButtonsRect(skin, window);
  std::vector<TPlacedLook> out;
  int x = skin.ButtonsInLeft ? row.Left : row.Right;
  for (TqzStdCommand command : {TqzStdCommand::Close, TqzStdCommand::Maximize,
                                TqzStdCommand::Minimize, TqzStdCommand::RollUp}) {
    for (const auto& o : skin.ObjectList()) {
      const auto* b = As<TqzDataSkinStdButton>(o.get());
      const TBitmap* picture = b ? skin.ActivePicture(b->ActivePictureIndex) : nullptr;
      if (!picture || !b->SkinRectInAPicture || b->Command != command) continue;
      if (b->IDName == "dialogclosebutton") continue;
      const int w = b->SkinRect.Width(), h = b->SkinRect.Height();
      const int left = skin.ButtonsInLeft ? x : x - w;
      out.push_back({b->IDName, {left, row.Top, left + w, row.Top + h}, picture, b->SkinRect});
      x = skin.ButtonsInLeft ? x + w + skin.ButtonsOffset : x - w - skin.ButtonsOffset;
      break;
    }
  }
  for (const auto& o : skin.ObjectList()) {
    const auto* b = As<TqzDataSkinStdButton>(o.get());
    const TBitmap* picture = b ? skin.ActivePicture(b->ActivePictureIndex) : nullptr;
    if (!picture || !b->SkinRectInAPicture || b->Command != TqzStdCommand::SysMenu) continue;
    const int w = b->SkinRect.Width(), h = b->SkinRect.Height();
    const int top = caption.Top + (caption.Height() - h) / 2;
    out.push_back({b->IDName, {caption.Left, top, caption.Left + w, top + h}, picture, b->SkinRect});
    break;
  }
  return out;
}

void DrawLooks(TPixmap& image, const std::vector<TPlacedLook>& looks) {
  for (const TPlacedLook& l : looks)
    Blit(image, ExtractPiece(*l.Picture, l.Source), l.Place.Left, l.Place.Top);
}

// An area's place on the window: explicitly anchored by its flags, or by
// the frame transform.
TRect PlaceArea(const TqzSkinData& skin, const TqzDataSkinArea& a, const TFrameTransform& t) {
  if (!SizeStretchable(skin)) return a.AreaRect;
  if (!a.Flag1) return t.Apply(a.AreaRect);
  TRect r = a.AreaRect;
  if (a.Flag5) {
    if (a.Flag3) r.Bottom += t.Dy();
    else r = OffsetRect(r, 0, t.Dy());
  }
  if (a.Flag4) {
    if (a.Flag2) r.Right += t.Dx();
    else r = OffsetRect(r, t.Dx(), 0);
  }
  return r;
}

struct TOutline {
  TRect Rect;
  std::string Name;
  uint32_t Pixel;
  TColor TextColor;
};

std::vector<TOutline> WindowOutlines(const TqzSkinData& skin, TSize size,
                                     const std::vector<TPlacedLook>& row) {
  const TFrameTransform t(skin, size);
  std::vector<TOutline> out;
  const TqzSkinGeometry g = FormGeometry(skin, skin.Picture(), skin.ClientRect);
  if (!skin.ClientRect.IsEmpty()) {
    const TRect client = Stretchable(skin)
                             ? CalcNewGeometry(g, TqzResizeMode::NinePart, size.cx, size.cy).NewClRect
                             : skin.ClientRect;
    out.push_back({client, "clientrect", 0xFF00C000, RGB(0, 160, 0)});
  }
  if (!skin.ButtonsRect.IsEmpty())
    out.push_back({PlaceButtonsRect(skin, size), "buttonsrect", 0xFFFF60FF, RGB(255, 96, 255)});
  for (const auto& a : skin.AreaList())
    out.push_back({PlaceArea(skin, *a, t), a->IDName, 0xFFFFD000, RGB(255, 208, 0)});
  for (const auto& o : skin.ObjectList()) {
    if (o->SkinRectInAPicture || ObjectLooksAllInActivePicture(*o) || o->SkinRect.IsEmpty())
      continue;
    out.push_back({t.Apply(o->SkinRect), o->IDName, 0xFF00E0FF, RGB(0, 224, 255)});
  }
  for (const TPlacedLook& l : row) out.push_back({l.Place, "", 0xFF00E0FF, RGB(0, 224, 255)});
  return out;
}

void DrawOutlines(TPixmap& image, const std::vector<TOutline>& outlines, TSheetText& text,
                  TPixmap& sheet, TPoint at) {
  for (const TOutline& o : outlines) FrameRect(image, o.Rect, o.Pixel);
  Blit(sheet, image, at.X, at.Y);
  for (const TOutline& o : outlines)
    if (!o.Name.empty() && o.Rect.Left < image.Width() && o.Rect.Top < image.Height())
      text.Draw({o.Name, o.TextColor, true}, at.X + o.Rect.Left + 2, at.Y + o.Rect.Top + 1);
}

// ---------------------------------------------------------------------------
// The sheet.

std::vector<TTextLine> HeaderLines(const TOptions& opt, const TqzSkinData& skin,
                                   const TWindowPlan& plan, int problems, int warnings) {
  auto picture = [](const TBitmap& b) { return b.Empty() ? std::string("empty") : PictureSizeText(b); };
  std::vector<TTextLine> lines;
  lines.push_back({opt.input + "   " + skin.SkinName, kNameColor, true});
  lines.push_back({"picture " + picture(skin.Picture()) + ", mask " + picture(skin.Mask()) +
                       ", inactive picture " + picture(skin.InactivePicture()) + ", " +
                       std::to_string(skin.ActivePictureCount()) + " active pictures; " +
                       std::to_string(skin.CtrlList().size()) + " controls, " +
                       std::to_string(skin.ObjectList().size()) + " objects, " +
                       std::to_string(skin.AreaList().size()) + " areas",
                   kTextColor});
  lines.push_back({plan.How + "; outside the window shape: checkerboard; right: client rect "
                   "(green), areas (yellow), frame objects (cyan), caption button row (magenta)",
                   kTextColor});
  const TColor c = problems ? kProblemColor : kTextColor;
  lines.push_back({std::to_string(problems) + " faults, " + std::to_string(warnings) +
                       " warnings",
                   c, problems > 0, problems > 0});
  return lines;
}

struct TSheet {
  std::vector<TTextLine> Header;
  TPixmap Window, Annotated;
  std::vector<TOutline> Outlines;
  std::vector<TCell> Cells;
};

void RenderSheet(TSheet& s, const std::string& outPath) {
  TSheetText measure(nullptr);  // no target: it measures only
  int width = kSheetMinWidth;
  for (TCell& c : s.Cells) {
    MeasureCell(c, measure);
    width = std::max(width, c.Size.cx + 2 * kMargin);
  }
  const bool sideBySide = 2 * s.Window.Width() + kGap + 2 * kMargin <= width;
  if (!sideBySide) width = std::max(width, s.Window.Width() + 2 * kMargin);
  const int headerH = measure.LineHeight() * int(s.Header.size());
  const int windowTop = kMargin + headerH + kGap;
  const int windowH = sideBySide ? s.Window.Height() : 2 * s.Window.Height() + kGap;
  int bottom = 0;
  std::vector<TPoint> at = ShelfLayout(s.Cells, width, windowTop + windowH + 2 * kGap, bottom);

  TPixmap sheet(width, bottom + kMargin, kSheetGrey);
  TSheetText text(&sheet);
  for (size_t i = 0; i < s.Header.size(); ++i)
    text.Draw(s.Header[i], kMargin, kMargin + int(i) * text.LineHeight());
  Blit(sheet, s.Window, kMargin, windowTop);
  const TPoint annotatedAt = sideBySide
                                 ? TPoint{kMargin + s.Window.Width() + kGap, windowTop}
                                 : TPoint{kMargin, windowTop + s.Window.Height() + kGap};
  DrawOutlines(s.Annotated, s.Outlines, text, sheet, annotatedAt);
  for (size_t i = 0; i < s.Cells.size(); ++i) DrawCell(s.Cells[i], sheet, text, at[i].X, at[i].Y);
  SavePng(sheet, outPath, false);
}

std::unique_ptr<TqzSkinData> LoadSkin(const std::string& path) {
  TqzCompressedStoredSkin holder(nullptr);
  holder.LoadFromCompressedFile(path);
  if (holder.Empty())
    throw EReadError("\"" + path + "\" is not a compressed skin file this tool reads (its "
                     "version field is above 3, or it holds no skin)");
  auto skin = std::make_unique<TqzSkinData>(nullptr);
  skin->LoadFromStoredSkin(holder);
  if (skin->Empty())
    throw EReadError("\"" + path + "\": the skin container is of a newer version (above 3)");
  return skin;
}

int Run(const TOptions& opt) {
  std::unique_ptr<TqzSkinData> skin = LoadSkin(opt.input);
  if (skin->Picture().Empty()) throw EReadError("\"" + opt.input + "\" has no main picture");
  const TWindowPlan plan = PlanWindow(*skin, opt.window);

  TSheet sheet;
  sheet.Window = ComposeWindowPicture(*skin, plan.Size);
  std::vector<TPlacedLook> row;
  if (plan.FrameMode) row = CaptionButtonRow(*skin, plan.Size);
  DrawLooks(sheet.Window, row);
  ApplyShape(sheet.Window, WindowShape(*skin, plan.Size));
  sheet.Annotated = sheet.Window;
  sheet.Outlines = WindowOutlines(*skin, plan.Size, row);

  int problems = 0, warnings = 0;
  for (const TSkinDescriptionPieces& d : AllDescriptionPieces(*skin)) {
    for (const std::string& m : d.Problems) std::cout << d.Name << ": " << m << "\n";
    for (const std::string& m : d.Warnings) std::cout << d.Name << ": warning: " << m << "\n";
    problems += int(d.Problems.size());
    warnings += int(d.Warnings.size());
    for (TCell& c : DescriptionCells(d)) sheet.Cells.push_back(std::move(c));
  }
  for (TCell& c : LayerFrameCells(*skin)) sheet.Cells.push_back(std::move(c));
  sheet.Header = HeaderLines(opt, *skin, plan, problems, warnings);
  RenderSheet(sheet, opt.output);
  std::cout << opt.output << ": " << problems << " faults, " << warnings << " warnings\n";
  return 0;
}

TOptions ParseArgs(const std::vector<std::string>& args) {
  TOptions opt;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string value;
    if (tool::OptionValue(args, i, "--window", value, "a size WxH")) {
      opt.window = tool::ParseSizeOption("--window", value, kLargestWindowSide);
    } else if (a.size() > 1 && a[0] == '-') {
      throw TUsageError{"unknown option \"" + a + "\""};
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) throw TUsageError{"expected a skin file and an output PNG"};
  opt.input = files[0];
  opt.output = files[1];
  return opt;
}

}  // namespace

int main(int argc, char** argv) {
  return qz::tool::ToolMain(argc, argv, {"skinsheet", kUsage},
                            [](const std::vector<std::string>& args) { return Run(ParseArgs(args)); });
}
