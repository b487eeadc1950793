// The picture the skinshot tool writes: a skin's window look at a size, or
// its hit map, taken from a real skinned form.
//
// TShotStage shows one form dressed by the controller on a fresh headless
// application, in the mode, size and state asked for. The look is what the
// headless screen shows over the window's bounds, the window and whatever
// lies on it (the layered border windows reach into it), laid over a
// checkerboard where the screen lets the desktop through. The hit map is the
// controller's own WM_NCHITTEST answer at every pixel of the window.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Messages.h"
#include "host/graphics/Bitmap.h"
#include "host/graphics/Pixmap.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"

namespace qz::skinshot {

enum class TShotMode { Frame, Client };

struct TShotOptions {
  // The window (frame mode) or client area (client mode); none: the size of
  // the skin's main picture.
  std::optional<TSize> Size;
  TShotMode Mode = TShotMode::Frame;
  bool Inactive = false;
  bool RolledUp = false;
  bool HitMap = false;
  std::string Caption;  // the form's caption, drawn by the skin
};

inline constexpr int kLargestSide = 4096;
inline constexpr uint32_t kCheckLight = 0xFFFFFFFF, kCheckDark = 0xFFC8C8C8;
inline constexpr uint32_t kOutsideHit = 0xFF000000;

// The legend of the hit map; codes without a colour are drawn as outside.
struct THitLegendEntry {
  int Code;
  uint32_t Color;
  const char* Name;
};
inline constexpr THitLegendEntry kHitLegend[] = {
    {HTCLIENT, 0xFFFFFFFF, "client"},          {HTCAPTION, 0xFF0000FF, "caption"},
    {HTOBJECT, 0xFFFF00FF, "object"},          {HTLEFT, 0xFFFF0000, "left"},
    {HTRIGHT, 0xFF800000, "right"},            {HTTOP, 0xFF00FF00, "top"},
    {HTBOTTOM, 0xFF008000, "bottom"},          {HTTOPLEFT, 0xFFFFFF00, "top-left"},
    {HTTOPRIGHT, 0xFF00FFFF, "top-right"},     {HTBOTTOMLEFT, 0xFFFF8000, "bottom-left"},
    {HTBOTTOMRIGHT, 0xFF8000FF, "bottom-right"},
};

inline uint32_t HitColor(int code) {
  for (const THitLegendEntry& e : kHitLegend)
    if (e.Code == code) return e.Color;
  return kOutsideHit;
}

inline uint32_t Checker(int x, int y) { return ((x / 8 + y / 8) % 2) ? kCheckDark : kCheckLight; }

// A skinned form shown on a fresh headless application (the application is
// reset on construction and again on destruction, freeing the forms).
// Throws EReadError when the data holds no usable skin or the state asked
// for cannot be reached (a roll-up the skin refuses).
class TShotStage {
 public:
  TShotStage(std::span<const uint8_t> compressedSkin, const TShotOptions& options);
  ~TShotStage();
  TShotStage(const TShotStage&) = delete;
  TShotStage& operator=(const TShotStage&) = delete;

  TForm& Form() const { return *form_; }
  TqzOrvane& Orvane() const { return *orvane_; }
  THeadlessPlatform& Platform() const { return *platform_; }
  // The window's bounds on the screen.
  TRect WindowBounds() const;
  // What a look shows: the window, and around it the whole layered frame
  // when that frame draws the caption and its buttons (a full border).
  TRect LookBounds() const;
  // Whether a window point lies in the window's shape.
  bool InShape(TPoint windowPoint) const;

  // The screen over the window's bounds, the checkerboard where the desktop
  // shows through; every pixel opaque.
  TPixmap Look() const;
  // The controller's hit-test code for a window point, asked as when the
  // mouse rests there (see the definition); 0 outside the shape.
  int HitAt(TPoint windowPoint);
  // HitAt for every pixel, coloured by the legend; every pixel opaque.
  TPixmap HitMap();

 private:
  void Settle();
  THeadlessWindow& PlatformWindow() const;

  THeadlessPlatform* platform_ = nullptr;
  TForm* form_ = nullptr;
  TqzOrvane* orvane_ = nullptr;
};

// The hit map with a strip below that names every colour of the legend.
TPixmap WithHitLegend(const TPixmap& map);

// The picture the tool writes for these options.
TPixmap RenderSkinShot(std::span<const uint8_t> compressedSkin, const TShotOptions& options);

// ---------------------------------------------------------------------------
// Definitions (the tool and the tests include this header alone).

namespace detail {

// Free screen around the window, wide enough for the layered border windows.
inline constexpr int kScreenMargin = 64;
// Virtual time given to the fade-in, morphs and animations after showing.
inline constexpr int kSettleTicks = 60, kSettleTickMs = 30;

inline uint8_t Channel(uint32_t argb, int shift) { return uint8_t((argb >> shift) & 0xFF); }

// What the screen shows over `backdrop`, from the same screen composed over
// black and over white: over black the windows' own (premultiplied) colour,
// and white minus black is how much of the desktop each channel lets through.
inline uint32_t OverBackdrop(uint32_t overBlack, uint32_t overWhite, uint32_t backdrop) {
  uint32_t out = 0xFF000000u;
  for (int shift : {16, 8, 0}) {
    const int b = Channel(overBlack, shift), w = Channel(overWhite, shift);
    const int through = std::max(0, w - b);
    const int value = b + (Channel(backdrop, shift) * through + 127) / 255;
    out |= uint32_t(std::min(value, 255)) << shift;
  }
  return out;
}

// The main picture's size of a skin; throws when there is no such skin.
inline TSize PictureSize(std::span<const uint8_t> compressedSkin) {
  TqzSkinData probe(nullptr);
  probe.LoadFromCompressedData(compressedSkin);
  if (probe.Empty()) throw EReadError("the data holds no skin");
  if (probe.Picture().Empty()) throw EReadError("the skin has no main picture");
  return {probe.Picture().Width(), probe.Picture().Height()};
}

}  // namespace detail

inline TShotStage::TShotStage(std::span<const uint8_t> compressedSkin, const TShotOptions& o) {
  auto platform = std::make_unique<THeadlessPlatform>();
  platform_ = platform.get();
  TApplication::ResetForTesting(std::move(platform));
  // The pointer rests off the window until a hit test puts it somewhere.
  platform_->SetCursorPos({0, 0});

  // The window's size comes first: a form sized after its skin was applied
  // keeps the shape and picture of the size it had when not yet shown.
  const TSize size = o.Size ? *o.Size : detail::PictureSize(compressedSkin);
  if (size.cx < 1 || size.cy < 1 || size.cx > kLargestSide || size.cy > kLargestSide)
    throw EReadError("the window would be larger than 4096 a side; give --size");
  const int m = detail::kScreenMargin;
  const TRect screen{0, 0, size.cx + 2 * m, size.cy + 2 * m};
  platform_->SetMonitors({{screen, screen, true}});

  const bool clientMode = o.Mode == TShotMode::Client;
  form_ = new TForm(Application);
  form_->SetCaption(o.Caption);
  if (clientMode) form_->SetBorderStyle(bsNone);
  form_->SetBounds(m, m, size.cx, size.cy);
  auto* skin = new TqzSkinData(form_);
  orvane_ = new TqzOrvane(form_);
  if (clientMode) orvane_->SetSupportNCArea(false);
  orvane_->SetSkinData(skin);
  skin->LoadFromCompressedData(compressedSkin);
  form_->Show();
  Settle();

  if (o.RolledUp) {
    orvane_->SetBorderIcons(orvane_->BorderIcons() + TqzBorderIcons{biRollUp});
    orvane_->RollUp();
    Settle();
    if (!orvane_->IsRolledUp()) throw EReadError("the skin does not roll up in this mode");
  }
  if (o.Inactive) {
    // A plain form beside the window takes the activation away from it.
    auto* other = new TForm(Application);
    other->SetBorderStyle(bsNone);
    other->SetBounds(0, 0, m / 2, m / 2);
    other->Show();
    SetActiveWindow(other->Handle());
    Settle();
  }
}

inline TShotStage::~TShotStage() {
  TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
}

inline void TShotStage::Settle() {
  for (int i = 0; i < detail::kSettleTicks; ++i) {
    Application->ProcessMessages();
    platform_->AdvanceClock(detail::kSettleTickMs);
  }
  Application->ProcessMessages();
}

inline THeadlessWindow& TShotStage::PlatformWindow() const {
  return *static_cast<THeadlessWindow*>(form_->WindowData()->platform.get());
}

inline TRect TShotStage::WindowBounds() const { return PlatformWindow().Bounds(); }

inline TRect TShotStage::LookBounds() const {
  const TRect window = WindowBounds();
  TqzFormLayerBorder& border = orvane_->LayerBorder();
  if (!border.FullBorder() || !border.Visible()) return window;
  return UnionRect(window, border.FrameRect(window));
}

inline bool TShotStage::InShape(TPoint p) const {
  const TRect b = WindowBounds();
  if (p.X < 0 || p.Y < 0 || p.X >= b.Width() || p.Y >= b.Height()) return false;
  const auto& shape = PlatformWindow().Shape();
  return !shape || shape->Contains(p);
}

inline TPixmap TShotStage::Look() const {
  platform_->SetDesktopColor(0xFF000000);
  const TPixmap overBlack = platform_->ComposeScreen();
  platform_->SetDesktopColor(0xFFFFFFFF);
  const TPixmap overWhite = platform_->ComposeScreen();
  const TPoint origin = platform_->ScreenRect().TopLeft();
  const TRect b = LookBounds();
  TPixmap out(b.Width(), b.Height());
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      const int sx = b.Left + x - origin.X, sy = b.Top + y - origin.Y;
      out.At(x, y) = detail::OverBackdrop(overBlack.At(sx, sy), overWhite.At(sx, sy), Checker(x, y));
    }
  return out;
}

// The controller decides HTOBJECT from its active object, which only the
// mouse makes active: a frame point first asked about answers the sizing
// code even over a caption button, and once a button is active every frame
// point answers HTOBJECT until the mouse timer looks again. So before each
// point the pointer is put there and the mouse timer's step is done by
// hand (TestActive at the point outside the client area, a clear inside
// it); the answer is then the one the window gives while the mouse rests
// at that point, whatever was asked before.
inline int TShotStage::HitAt(TPoint p) {
  if (!InShape(p)) return HTNOWHERE;
  const TRect b = WindowBounds();
  const TPoint screen{b.Left + p.X, b.Top + p.Y};
  platform_->SetCursorPos(screen);
  if (orvane_->ClientMode()) {
    const TPoint client = form_->ScreenToClient(screen);
    orvane_->TestActive(client.X, client.Y, true);
  } else if (!orvane_->Rects().NewClRect.Contains(p)) {
    orvane_->TestActive(p.X, p.Y, true);
  } else if (orvane_->ActiveObject() != -1) {
    orvane_->TestActive(-1, -1, true);
  }
  return int(SendMessage(form_->Handle(), WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y)));
}

inline TPixmap TShotStage::HitMap() {
  const TRect b = WindowBounds();
  TPixmap out(b.Width(), b.Height());
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.At(x, y) = HitColor(HitAt({x, y}));
  return out;
}

inline TPixmap WithHitLegend(const TPixmap& map) {
  constexpr int kSwatch = 12, kGap = 6, kLine = 18, kPad = 4;
  TBitmap strip(std::max(map.Width(), 1), kLine);
  TCanvas& c = strip.Canvas();
  c.Font().SetColor(clBlack);
  c.Font().SetHeight(-11);
  // Lay the entries out in lines as wide as the map.
  std::vector<TPoint> at;
  int x = kPad, y = 0;
  for (const THitLegendEntry& e : kHitLegend) {
    const int w = kSwatch + 4 + c.TextWidth(e.Name) + kGap;
    if (x > kPad && x + w > strip.Width()) {
      x = kPad;
      y += kLine;
    }
    at.push_back({x, y});
    x += w;
  }
  strip.SetSize(strip.Width(), y + kLine + kPad);
  c.Brush().SetColor(clWhite);
  c.FillRect({0, 0, strip.Width(), strip.Height()});
  for (size_t i = 0; i < std::size(kHitLegend); ++i) {
    const THitLegendEntry& e = kHitLegend[i];
    const TPoint p = at[i] + TPoint{0, kPad};
    for (int sy = 0; sy < kSwatch; ++sy)
      for (int sx = 0; sx < kSwatch; ++sx) {
        const bool edge = sx == 0 || sy == 0 || sx == kSwatch - 1 || sy == kSwatch - 1;
        strip.Pixels().At(p.X + sx, p.Y + sy) = edge ? 0xFF000000u : e.Color;
      }
    c.Brush().SetColor(clWhite);
    c.TextOut(p.X + kSwatch + 4, p.Y - 1, e.Name);
  }
  TPixmap out(std::max(map.Width(), strip.Width()), map.Height() + strip.Height(), 0xFFFFFFFF);
  for (int yy = 0; yy < map.Height(); ++yy)
    for (int xx = 0; xx < map.Width(); ++xx) out.At(xx, yy) = map.At(xx, yy);
  for (int yy = 0; yy < strip.Height(); ++yy)
    for (int xx = 0; xx < strip.Width(); ++xx)
      out.At(xx, map.Height() + yy) = strip.Pixels().At(xx, yy) | 0xFF000000u;
  return out;
}

inline TPixmap RenderSkinShot(std::span<const uint8_t> compressedSkin, const TShotOptions& o) {
  TShotStage stage(compressedSkin, o);
  return o.HitMap ? WithHitLegend(stage.HitMap()) : stage.Look();
}

}  // namespace qz::skinshot
