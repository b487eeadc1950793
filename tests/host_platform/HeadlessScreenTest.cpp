// The headless virtual screen: stacking order, shapes, opacity and
// per-pixel alpha composition, checked by exact pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "HeadlessTestUtil.h"
#include "host/base/Exception.h"

namespace qz {
namespace {

// Keeps a scratch allocation from being optimised away.
const void* volatile scratchSink = nullptr;

using testing::SolidWindow;

constexpr uint32_t kDesktop = 0xFF102030;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

THeadlessOptions SmallScreen() {
  THeadlessOptions o;
  o.monitors = {{Rect(0, 0, 200, 100), Rect(0, 0, 200, 90), true}};
  o.desktopColor = kDesktop;
  return o;
}

// Reference premultiplied OVER with a constant opacity, in floating point.
uint32_t ReferenceOver(uint32_t dst, uint32_t src, int opacity) {
  auto ch = [](uint32_t p, int s) { return static_cast<double>((p >> s) & 0xFF); };
  const long sa = std::lround(ch(src, 24) * opacity / 255.0);
  uint32_t out = 0xFF000000;
  for (int s = 0; s <= 16; s += 8) {
    const long v = std::lround(ch(src, s) * opacity / 255.0) + std::lround(ch(dst, s) * (255 - sa) / 255.0);
    out |= static_cast<uint32_t>(std::min(v, 255L)) << s;
  }
  return out;
}

std::vector<THeadlessWindow*> Ids(std::initializer_list<const std::unique_ptr<THeadlessWindow>*> ws) {
  std::vector<THeadlessWindow*> ids;
  for (auto* w : ws) ids.push_back(w->get());
  return ids;
}

TEST(HeadlessScreen, StackingDecidesWhatIsSeenAndRaiseChangesIt) {
  THeadlessPlatform p(SmallScreen());
  auto a = SolidWindow(p, Rect(10, 10, 60, 60), kRed);
  auto b = SolidWindow(p, Rect(40, 40, 90, 90), kGreen);
  auto hidden = SolidWindow(p, Rect(0, 0, 200, 100), kBlue);
  hidden->SetVisible(false, false);

  TPixmap s = p.ComposeScreen();
  EXPECT_EQ(s.At(5, 5), kDesktop);
  EXPECT_EQ(s.At(20, 20), kRed);
  EXPECT_EQ(s.At(50, 50), kGreen);  // overlap: b is above
  EXPECT_EQ(s.At(59, 59), kGreen);
  EXPECT_EQ(s.At(60, 60), kGreen);  // Right/Bottom exclusive: only b there
  EXPECT_EQ(s.At(90, 90), kDesktop);

  a->Raise();
  s = p.ComposeScreen();
  EXPECT_EQ(s.At(50, 50), kRed);
  EXPECT_EQ(s.At(60, 60), kGreen);

  // Moving a window moves its contents with it.
  b->SetBounds(Rect(100, 10, 150, 60));
  s = p.ComposeScreen();
  EXPECT_EQ(s.At(65, 65), kDesktop);
  EXPECT_EQ(s.At(100, 10), kGreen);
}

TEST(HeadlessScreen, ShapeHolesShowWhatIsBelow) {
  THeadlessPlatform p(SmallScreen());
  auto below = SolidWindow(p, Rect(0, 0, 100, 100), kRed);
  auto top = SolidWindow(p, Rect(20, 20, 80, 80), kGreen);
  // A frame: the window minus a hole in its middle (window coordinates).
  TRegion frame = TRegion(Rect(0, 0, 60, 60)).Subtract(TRegion(Rect(10, 10, 50, 50)));
  top->SetShape(&frame);

  TPixmap s = p.ComposeScreen();
  EXPECT_EQ(s.At(25, 25), kGreen);
  EXPECT_EQ(s.At(30, 30), kRed);  // in the hole
  EXPECT_EQ(s.At(69, 69), kRed);
  EXPECT_EQ(s.At(70, 70), kGreen);

  top->SetShape(nullptr);
  EXPECT_EQ(p.ComposeScreen().At(30, 30), kGreen);
}

TEST(HeadlessScreen, OpacityAndPerPixelAlphaBlendAsPremultipliedOver) {
  THeadlessPlatform p(SmallScreen());
  auto base = SolidWindow(p, Rect(0, 0, 100, 100), 0xFF8040C0);

  auto faded = SolidWindow(p, Rect(0, 0, 10, 10), 0xFF20F010);
  faded->SetOpacity(100);

  TPlatformWindowDesc desc;
  desc.bounds = Rect(20, 0, 24, 1);
  auto layered = p.CreateWindow(desc);
  TPixmap picture(4, 1);
  picture.At(0, 0) = 0x80402010;  // half covered, premultiplied
  picture.At(1, 0) = 0x00000000;  // fully transparent
  picture.At(2, 0) = 0xFF123456;  // opaque
  picture.At(3, 0) = 0x40404040;  // quarter, grey
  layered->PresentLayered(picture);
  layered->SetVisible(true, false);

  TPixmap s = p.ComposeScreen();
  EXPECT_EQ(s.At(5, 5), ReferenceOver(0xFF8040C0, 0xFF20F010, 100));
  EXPECT_EQ(s.At(20, 0), ReferenceOver(0xFF8040C0, 0x80402010, 255));
  EXPECT_EQ(s.At(21, 0), 0xFF8040C0u);
  EXPECT_EQ(s.At(22, 0), 0xFF123456u);
  EXPECT_EQ(s.At(23, 0), ReferenceOver(0xFF8040C0, 0x40404040, 255));

  // Opacity scales the per-pixel alpha picture as a whole.
  layered->SetOpacity(51);
  s = p.ComposeScreen();
  EXPECT_EQ(s.At(20, 0), ReferenceOver(0xFF8040C0, 0x80402010, 51));
  EXPECT_EQ(s.At(22, 0), ReferenceOver(0xFF8040C0, 0xFF123456, 51));

  // Opaque windows ignore whatever alpha their back buffer carries.
  TPixmap clear(10, 10, 0x00336699);
  faded->SetOpacity(255);
  faded->Present(clear, TRegion(clear.Bounds()));
  EXPECT_EQ(p.ComposeScreen().At(5, 5), 0xFF336699u);
}

TEST(HeadlessScreen, PresentCopiesOnlyTheDirtyArea) {
  THeadlessPlatform p(SmallScreen());
  auto w = SolidWindow(p, Rect(0, 0, 40, 40), kRed);
  TPixmap green(40, 40, kGreen);
  TRegion dirty = TRegion(Rect(5, 5, 10, 10)).Union(TRegion(Rect(30, 0, 60, 3)));  // partly outside
  w->Present(green, dirty);

  EXPECT_EQ(w->LastPresentDirty(), TRegion(Rect(5, 5, 10, 10)).Union(TRegion(Rect(30, 0, 40, 3))));
  EXPECT_EQ(w->PresentCount(), 2);
  EXPECT_EQ(w->Contents().At(4, 4), kRed);
  EXPECT_EQ(w->Contents().At(5, 5), kGreen);
  EXPECT_EQ(w->Contents().At(9, 9), kGreen);
  EXPECT_EQ(w->Contents().At(10, 10), kRed);
  EXPECT_EQ(w->Contents().At(39, 2), kGreen);

  // A back buffer smaller than the window (stale size) is copied where it exists.
  TPixmap small(8, 8, kBlue);
  w->Present(small, TRegion(Rect(0, 0, 40, 40)));
  EXPECT_EQ(w->Contents().At(7, 7), kBlue);
  EXPECT_EQ(w->Contents().At(8, 20), kRed);

  // Growing keeps the top-left contents; new pixels are opaque black.
  w->SetBounds(Rect(0, 0, 50, 50));
  EXPECT_EQ(w->Contents().Width(), 50);
  EXPECT_EQ(w->Contents().At(7, 7), kBlue);
  EXPECT_EQ(w->Contents().At(45, 45), 0xFF000000u);
}

TEST(HeadlessScreen, LeavingPerPixelAlphaMakesTheWindowOpaqueAgain) {
  THeadlessPlatform p(SmallScreen());
  auto w = SolidWindow(p, Rect(0, 0, 4, 4), kRed);
  w->PresentLayered(TPixmap(4, 4, 0x00000000));
  EXPECT_TRUE(w->Layered());
  EXPECT_EQ(p.ComposeScreen().At(1, 1), kDesktop);

  TPixmap green(4, 4, kGreen);
  w->Present(green, TRegion(Rect(0, 0, 1, 1)));
  EXPECT_FALSE(w->Layered());
  TPixmap s = p.ComposeScreen();
  EXPECT_EQ(s.At(0, 0), kGreen);
  EXPECT_EQ(s.At(1, 1), 0xFF000000u);  // the old picture, no longer see-through
}

TEST(HeadlessScreen, LayersTopmostAndOwnersKeepTheirOrder) {
  THeadlessPlatform p(SmallScreen());
  TPlatformWindowDesc popupDesc;
  popupDesc.kind = TPlatformWindowKind::Popup;
  popupDesc.bounds = Rect(0, 0, 10, 10);
  auto popup = std::unique_ptr<THeadlessWindow>(static_cast<THeadlessWindow*>(p.CreateWindow(popupDesc).release()));
  auto a = SolidWindow(p, Rect(0, 0, 10, 10), kRed);
  auto b = SolidWindow(p, Rect(0, 0, 10, 10), kGreen);
  // Popups stay above normal windows, whenever they were created.
  EXPECT_EQ(p.Windows(), Ids({&a, &b, &popup}));

  a->SetTopmost(true);
  EXPECT_EQ(p.Windows(), Ids({&b, &a, &popup}));
  b->Raise();  // cannot pass a topmost window
  EXPECT_EQ(p.Windows(), Ids({&b, &a, &popup}));
  a->SetTopmost(false);

  // An owned window stays above its owner, also when the owner is raised.
  auto owned = SolidWindow(p, Rect(0, 0, 10, 10), kBlue);
  owned->SetOwner(a.get());
  a->Raise();
  EXPECT_EQ(p.Windows(), Ids({&b, &a, &owned, &popup}));
  // ... and joins a topmost owner's layer.
  a->SetTopmost(true);
  b->Raise();
  EXPECT_EQ(p.Windows(), Ids({&b, &a, &owned, &popup}));

  EXPECT_THROW(a->SetOwner(owned.get()), Exception);  // would be a cycle
  owned.reset();  // destroying a window removes it everywhere
  EXPECT_EQ(p.Windows(), Ids({&b, &a, &popup}));
}

TEST(HeadlessScreen, MonitorsLeftOfThePrimaryShiftTheScreenOrigin) {
  THeadlessOptions o;
  o.monitors = {{Rect(0, 0, 100, 50), Rect(0, 0, 100, 40), true},
                {Rect(-60, 10, 0, 40), Rect(-60, 10, 0, 40), false}};
  o.desktopColor = kDesktop;
  THeadlessPlatform p(o);
  EXPECT_EQ(p.ScreenRect(), Rect(-60, 0, 100, 50));
  auto w = SolidWindow(p, Rect(-70, 20, -50, 30), kRed);  // partly off screen
  TPixmap s = p.ComposeScreen();
  EXPECT_EQ(s.Width(), 160);
  EXPECT_EQ(s.At(0, 20), kRed);  // screen x -60
  EXPECT_EQ(s.At(9, 29), kRed);
  EXPECT_EQ(s.At(10, 20), kDesktop);
  EXPECT_EQ(p.Monitors().size(), 2u);
  EXPECT_EQ(THeadlessPlatform().Monitors()[0].workArea, Rect(0, 0, 1920, 1040));
}

TEST(HeadlessScreen, SavesTheScreenAsPng) {
  THeadlessPlatform p(SmallScreen());
  auto a = SolidWindow(p, Rect(10, 10, 110, 80), kRed);
  auto b = SolidWindow(p, Rect(60, 30, 180, 95), kGreen);
  TRegion round = TRegion(Rect(10, 0, 110, 65)).Union(TRegion(Rect(0, 10, 120, 55)));
  b->SetShape(&round);
  b->SetOpacity(160);
  const std::filesystem::path dir = QZ_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  const auto path = (dir / "headless_screen.png").string();
  p.SaveScreenPng(path);
  EXPECT_GT(std::filesystem::file_size(path), 0u);
  EXPECT_THROW(p.SaveScreenPng((dir / "no-such-dir" / "x.png").string()), Exception);
}

// A window shows black until presented, whatever its size became meanwhile;
// a first present of part of it leaves the rest black, and a present of the
// whole shows exactly the presented pixels.
TEST(HeadlessScreen, ANewWindowIsBlackWhereNothingWasPresented) {
  THeadlessPlatform p(SmallScreen());
  {
    // Memory a new window may get, full of something other than black.
    std::vector<uint32_t> junk(120 * 60, 0xFF123456u);
    scratchSink = junk.data();
  }
  TPlatformWindowDesc desc;
  desc.bounds = Rect(10, 10, 70, 40);
  std::unique_ptr<THeadlessWindow> partly(static_cast<THeadlessWindow*>(p.CreateWindow(desc).release()));
  partly->SetBounds(Rect(10, 10, 130, 70));
  partly->SetVisible(true, false);
  EXPECT_EQ(p.ComposeScreen().At(100, 50), 0xFF000000u);
  TPixmap half(120, 60, kRed);
  partly->Present(half, TRegion(Rect(0, 0, 60, 60)));
  const TPixmap& shown = partly->Contents();
  ASSERT_EQ(shown.Width(), 120);
  ASSERT_EQ(shown.Height(), 60);
  EXPECT_EQ(shown.At(59, 30), kRed);
  EXPECT_EQ(shown.At(60, 30), 0xFF000000u);
  EXPECT_EQ(shown.At(119, 59), 0xFF000000u);

  std::unique_ptr<THeadlessWindow> whole(static_cast<THeadlessWindow*>(p.CreateWindow(desc).release()));
  TPixmap picture(60, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) picture.At(x, y) = 0xFF000000u | uint32_t(x * 4 + y);
  whole->Present(picture, TRegion(picture.Bounds()));
  EXPECT_TRUE(whole->Contents() == picture);
  EXPECT_EQ(whole->LastPresentDirty(), TRegion(picture.Bounds()));
}

}  // namespace
}  // namespace qz
