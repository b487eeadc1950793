// What the popup menu tests share: a small skin with a popup window and a
// menu item description, a two-level menu, and an engine to open it with.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/draw/QZUtils.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinMenu.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skinform/FramePaintTestKit.h"

namespace qz::testing {

// Picture 0: the 40 x 40 window picture, items area (4,4,36,36), nine-part.
// Picture 1: the item looks: normal (0,0,40,20), active (0,20,40,40),
// divider (0,40,40,44), check marks (40,0,48,8) and (40,8,48,16), arrow
// (48,0,54,10); text from x 20 to 4 before the right edge.
inline TTestSkinParts MenuSkinParts() {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 9);
  parts.Active.push_back(Pattern(40, 40, 5));
  parts.Active.push_back(Pattern(60, 60, 7));
  parts.Text =
      "[POPUPWINDOW]\r\nwindowpictureindex=0\r\nlefttoppoint=4,4\r\nrighttoppoint=36,4\r\n"
      "leftbottompoint=4,36\r\nrightbottompoint=36,36\r\nitemsrect=4,4,36,36\r\n"
      "leftstretch=1\r\nrightstretch=1\r\ntopstretch=1\r\nbottomstretch=1\r\nstretcheffect=1\r\n"
      "scrollmarkercolor=255\r\nscrollmarkeractivecolor=65280\r\n"
      "[SKINOBJECTS]\r\ncount=1\r\n0=menuitem:menuitem\r\n"
      "[menuitem]\r\nactivepictureindex=1\r\nskinrectinapicture=1\r\nskinrect=0,0,40,20\r\n"
      "activeskinrect=0,20,40,40\r\nitemleftoffset=6\r\nitemrightoffset=6\r\ndividerrect=0,40,40,44\r\n"
      "textrect=20,0,36,20\r\nimagerect=2,0,18,20\r\nfontcolor=16711680\r\nactivefontcolor=255\r\n"
      "unenabledfontcolor=8421504\r\ncheckimagerect=40,0,48,8\r\nactivecheckimagerect=40,8,48,16\r\n"
      "arrowimagerect=48,0,54,10\r\n";
  return parts;
}

// A control that records the messages the chain sends it.
class TMenuClient : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  std::vector<uint32_t> seen;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_CLOSESKINMENU || m.Msg == WM_AFTERDISPATCH) seen.push_back(m.Msg);
    TCustomControl::WndProc(m);
  }
};

// A fresh engine and menu on a fresh headless screen (1920 x 1040 work area).
class SkinMenuTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skin = LoadTestSkin(MenuSkinParts());
    form = MakeForm({100, 100, 500, 400}, bsNone);
    engine = std::make_unique<TqzSkinMenu>(nullptr);
    engine->SetForm(form);
    popup = new TPopupMenu(form);
  }
  void TearDown() override {
    engine.reset();
    UiTest::TearDown();
    skin.reset();
  }

  TMenuItem* Add(TMenuItem* parent, const std::string& caption, const std::string& name = "") {
    auto* item = new TMenuItem(popup);
    item->SetCaption(caption);
    if (!name.empty()) item->SetName(name);
    parent->Add(item);
    return item;
  }

  // "&Open" (Ctrl+O), "-", "&Recent" > ("&One", "&Two"), "&Gone" (disabled),
  // "&Checked" (checked).
  void BuildTwoLevels() {
    TMenuItem* root = popup->Items();
    open = Add(root, "&Open");
    open->SetShortCut(ShortCut('O', {ssCtrl}));
    Add(root, "-");
    recent = Add(root, "&Recent");
    one = Add(recent, "&One");
    two = Add(recent, "&Two");
    gone = Add(root, "&Gone");
    gone->SetEnabled(false);
    checked = Add(root, "&Checked");
    checked->SetChecked(true);
    for (TMenuItem* item : {open, one, two, gone, checked})
      item->OnClick = [this](TObject* sender) { clicks.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
  }

  // Opens the menu below the point (screen coordinates).
  void OpenAt(TPoint p, TqzSkinData* data = nullptr) {
    engine->Popup(nullptr, data, 0, {p.X, p.Y, p.X, p.Y}, *popup->Items(), false);
    Pump();
  }
  TqzSkinPopupWindow& Level(int i) { return *engine->Level(i); }
  // The screen point in the middle of an item of a level.
  TPoint ItemCentre(int level, int index) {
    TqzSkinPopupWindow& w = Level(level);
    const TRect& r = w.Item(index).ItemRect;
    return w.ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  THeadlessWindow& PlatformOf(TWinControl& c) { return *static_cast<THeadlessWindow*>(c.WindowData()->platform.get()); }

  // Three items without captions, a divider and one more item: only their
  // looks and marks show.
  void BuildBlankItems() {
    for (int i = 0; i < 3; ++i) Add(popup->Items(), "");
    Add(popup->Items(), "-");
    Add(popup->Items(), "");
  }
  static std::vector<std::string> Captions(TqzSkinPopupWindow& w) {
    std::vector<std::string> out;
    for (int i = 0; i < w.ItemCount(); ++i) out.push_back(w.Item(i).MenuItem->Caption());
    return out;
  }

  // ---- pixels (0xRRGGBB: without alpha)
  static uint32_t Px(uint32_t pixel) { return pixel & 0xFFFFFFu; }
  static TPixmap RgbOf(const TPixmap& p) {
    TPixmap out(p.Width(), p.Height());
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) out.At(x, y) = Px(p.At(x, y));
    return out;
  }
  // What the window shows in a rectangle of its own.
  TPixmap Shown(TqzSkinPopupWindow& w, const TRect& r) {
    Pump();
    const TPixmap& contents = PlatformOf(w).Contents();
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = Px(contents.At(r.Left + x, r.Top + y));
    return out;
  }
  // A rectangle of picture 1 composed to an item's width (offsets 6, 6).
  TPixmap ItemLook(const TRect& source, int width) {
    TBitmap look;
    CreateHSkinImage(6, 6, look, false, width, source, *skin->ActivePicture(1));
    return RgbOf(look.Pixels());
  }
  // "" when equal, else where they first differ.
  static std::string FirstDifference(const TPixmap& a, const TPixmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return "sizes differ";
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.At(x, y) != b.At(x, y)) return "at " + std::to_string(x) + "," + std::to_string(y);
    return "";
  }

  void Ticks(int count, int ms) {
    for (int i = 0; i < count; ++i) {
      hp->AdvanceClock(ms);
      Pump();
    }
  }

  std::unique_ptr<TqzSkinData> skin;
  TForm* form = nullptr;
  std::unique_ptr<TqzSkinMenu> engine;
  TPopupMenu* popup = nullptr;
  TMenuItem *open = nullptr, *recent = nullptr, *one = nullptr, *two = nullptr, *gone = nullptr,
            *checked = nullptr;
  std::vector<std::string> clicks;
};

}  // namespace qz::testing
