// The main menu bar on a skinned form with the demo's main skin: layout by
// hand, hot tracking, presses, the keyboard menu mode with the controller,
// accelerators, items that do not fit, and the looks against compositions
// made directly from the descriptions.
#include <gtest/gtest.h>

#include <string>

#include "skin/popups/SkinMenu.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/QzComposition.h"
#include "skin/form/SkinMainMenu.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz {
namespace {

TEST(MenuBarLayout, ItemsFollowEachOtherAndThoseThatPassTheReserveDoNotFit) {
  const TRect area{2, 0, 100, 22};
  const TqzMenuBarRow row = LayoutMenuBarItems(area, {40, 50, 8}, kMenuBarMarkerWidth);
  ASSERT_EQ(row.Rects.size(), 3u);
  EXPECT_EQ(row.Rects[0], (TRect{2, 0, 42, 22}));
  EXPECT_EQ(row.Rects[1], (TRect{42, 0, 92, 22}));
  EXPECT_EQ(row.Rects[2], (TRect{92, 0, 100, 22}));
  EXPECT_TRUE(row.Fits[1]);   // ends at 92 <= 95
  EXPECT_FALSE(row.Fits[2]);  // reaches the edge, inside the marker's 5 pixels
  EXPECT_TRUE(row.Overflow);
  // Without the marker an item may reach the edge.
  const TqzMenuBarRow flush = LayoutMenuBarItems(area, {40, 50, 8}, 0);
  EXPECT_TRUE(flush.Fits[2]);
  EXPECT_FALSE(flush.Overflow);
}

class MenuBarTest : public testing::OrvaneTest {
 protected:
  void SetUp() override {
    OrvaneTest::SetUp();
    s_ = MakeSkinned(testing::MainSkin(), Rect(100, 100, 520, 400), true);
    menu_ = new TqzSkinMainMenu(s_.Form);
    settings_ = AddItem(*menu_->Items(), "&Settings");
    howTo_ = AddItem(*menu_->Items(), "&How to use");
    about_ = AddItem(*menu_->Items(), "&About");
    home_ = AddItem(*about_, "Home");
    bar_ = new TqzSkinMainMenuBar(s_.Form);
    bar_->SetParent(s_.Form);
    // Away from the window's rounded corners, as a skin area places it.
    bar_->SetAlign(alNone);
    bar_->SetBounds(10, 80, 380, 22);
    bar_->SetSkinData(s_.Skin);
    bar_->SetOrvane(s_.Orvane);
    bar_->SetMainMenu(menu_);
    s_.Orvane->SetMainMenuBar(bar_);
    s_.Orvane->OnMainMenuEnter = [this](TObject*) { ++enters_; };
    s_.Orvane->OnMainMenuExit = [this](TObject*) { ++exits_; };
    Pump();
  }

  TMenuItem* AddItem(TMenuItem& parent, const std::string& caption) {
    auto* item = new TMenuItem(s_.Form);
    item->SetCaption(caption);
    parent.Add(item);
    return item;
  }

  TPoint ItemCentre(int index) const {
    const TRect r = bar_->Items()[size_t(index)].Rect;
    return bar_->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  // Lets the bar's timers (hot tracking, morphing) run for `ms`.
  void Run(int ms) { Ticks(ms / 25, 25); }
  // The first level of the form's menu engine, when a menu is open.
  TqzSkinPopupWindow* OpenPopup() const {
    TqzSkinMenu& engine = s_.Orvane->SkinMenu();
    return engine.Visible() ? engine.Level(0) : nullptr;
  }
  TPoint ItemOnScreen(TqzSkinPopupWindow& w, int index) const {
    const TRect r = w.Item(index).ItemRect;
    TRect bounds;
    GetWindowRect(w.Handle(), bounds);
    return {bounds.Left + (r.Left + r.Right) / 2, bounds.Top + (r.Top + r.Bottom) / 2};
  }

  TSkinnedForm s_{};
  TqzSkinMainMenu* menu_ = nullptr;
  TqzSkinMainMenuBar* bar_ = nullptr;
  TMenuItem *settings_ = nullptr, *howTo_ = nullptr, *about_ = nullptr, *home_ = nullptr;
  int enters_ = 0, exits_ = 0;
};

TEST_F(MenuBarTest, ItemsAreLaidOutFromTheItemDescriptionAndTheTextWidth) {
  const auto* bar = dynamic_cast<const TqzDataSkinMainMenuBar*>(bar_->SkinDescription());
  ASSERT_NE(bar, nullptr);
  const int itemIndex = s_.Skin->FindObjectIndex(bar->MenuBarItem);
  ASSERT_GE(itemIndex, 0);
  const auto& item = dynamic_cast<const TqzDataSkinMainMenuItem&>(*s_.Skin->ObjectList()[size_t(itemIndex)]);
  TBitmap scratch(1, 1);
  scratch.Canvas().Font().SetName(item.FontName);
  scratch.Canvas().Font().SetHeight(item.FontHeight);
  scratch.Canvas().Font().SetStyle(item.FontStyle);
  ASSERT_EQ(bar_->Items().size(), 3u);
  int left = bar->ItemsRect.Left;
  const char* texts[] = {"Settings", "How to use", "About"};
  for (size_t i = 0; i < 3; ++i) {
    const int w = item.SkinRect.Width() + item.TextRect.Left - item.TextRect.Right +
                  scratch.Canvas().TextWidth(texts[i]) + 2;
    EXPECT_EQ(bar_->Items()[i].Rect, (TRect{left, bar->ItemsRect.Top, left + w, bar->ItemsRect.Bottom})) << texts[i];
    left += w;
  }
  EXPECT_FALSE(bar_->Overflow());
}

TEST_F(MenuBarTest, HoverMakesTheItemHotAndTheMorphEndsOnTheActiveLook) {
  Move(ItemCentre(1));
  EXPECT_EQ(bar_->HotIndex(), 1);
  Run(200);
  EXPECT_TRUE(bar_->Items()[1].Active);
  EXPECT_DOUBLE_EQ(bar_->Items()[1].MorphKf, 1.0);
  EXPECT_EQ(bar_->Items()[1].MorphStep, 0);
  Move(ItemCentre(0));
  Run(200);
  EXPECT_EQ(bar_->HotIndex(), 0);
  EXPECT_DOUBLE_EQ(bar_->Items()[1].MorphKf, 0.0);
  // Leaving the bar leaves no hot item and stops the tracking.
  Move(bar_->ClientToScreen({10, 200}));
  Run(100);
  EXPECT_EQ(bar_->HotIndex(), -1);
}

TEST_F(MenuBarTest, AnItemWithoutSubitemsRunsItsCommandOnPress) {
  int clicks = 0;
  std::string id;
  settings_->SetName("SettingsItem");
  bar_->SetMainMenu(nullptr);
  bar_->SetMainMenu(menu_);
  settings_->OnClick = [&](TObject*) { ++clicks; };
  bar_->OnMainMenuItemClick = [&](TObject*, const std::string& name) { id = name; };
  Click(ItemCentre(0));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(id, "SettingsItem");
  EXPECT_FALSE(bar_->MenuOpen());
  EXPECT_FALSE(s_.Orvane->InMainMenuMode());
}

// "About" holds nothing but a hidden item and a separator: no empty menu
// opens; the item runs as a command, by mouse and by accelerator, and with
// another menu open, pointing at it opens nothing.
TEST_F(MenuBarTest, AnItemWhoseSubitemsAreAllHiddenRunsAsACommand) {
  home_->SetVisible(false);
  AddItem(*about_, "-");
  AddItem(*settings_, "Options");
  int clicks = 0;
  about_->OnClick = [&](TObject*) { ++clicks; };
  Click(ItemCentre(2));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(bar_->MenuOpen());
  EXPECT_FALSE(bar_->Items()[2].Down);
  EXPECT_FALSE(s_.Orvane->InMainMenuMode());
  EXPECT_FALSE(s_.Orvane->SkinMenu().Visible());
  EXPECT_TRUE(bar_->AcceleratorTest('a'));
  Pump();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(bar_->MenuOpen());
  EXPECT_FALSE(bar_->KeyboardMode());
  Click(ItemCentre(0));
  ASSERT_TRUE(bar_->MenuOpen());
  // Pointed at with a menu open it is a command item too: the open menu
  // closes, nothing runs.
  Move(ItemCentre(2));
  Run(100);
  EXPECT_FALSE(bar_->MenuOpen());
  EXPECT_FALSE(bar_->Items()[0].Down);
  EXPECT_FALSE(bar_->Items()[2].Down);
  EXPECT_EQ(clicks, 2);
}

TEST_F(MenuBarTest, AnItemWithSubitemsOpensItsMenuBelowAndEntersTheMenuModeOnce) {
  int homeClicks = 0;
  home_->OnClick = [&](TObject*) { ++homeClicks; };
  Click(ItemCentre(2));
  ASSERT_TRUE(bar_->MenuOpen());
  EXPECT_TRUE(bar_->Items()[2].Down);
  EXPECT_EQ(enters_, 1);
  TqzSkinPopupWindow* popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  TRect r;
  GetWindowRect(popup->Handle(), r);
  const TPoint below = bar_->ClientToScreen({bar_->Items()[2].Rect.Left, bar_->Items()[2].Rect.Bottom});
  EXPECT_EQ(r.TopLeft(), below);
  // Choosing "Home" runs it, closes the menu and ends the menu mode.
  Click(ItemOnScreen(*popup, 0));
  Run(100);
  EXPECT_EQ(homeClicks, 1);
  EXPECT_FALSE(bar_->MenuOpen());
  EXPECT_FALSE(bar_->Items()[2].Down);
  EXPECT_EQ(exits_, 1);
}

// With a menu open, pointing at another item moves the open state to it: a
// menu opens, a command item closes the open menu and only shows hot. At no
// time are two items lit.
TEST_F(MenuBarTest, WithAMenuOpenPointingAtAnotherItemMovesTheOpenStateToIt) {
  int settingsClicks = 0, howToClicks = 0;
  AddItem(*settings_, "Options");
  settings_->OnClick = [&](TObject*) { ++settingsClicks; };
  howTo_->OnClick = [&](TObject*) { ++howToClicks; };
  auto lit = [&] {
    int n = 0;
    for (const auto& item : bar_->Items()) n += (item.Down || item.Active) ? 1 : 0;
    return n;
  };
  Click(ItemCentre(2));
  ASSERT_TRUE(bar_->Items()[2].Down);
  Move(ItemCentre(0));
  Run(100);
  EXPECT_TRUE(bar_->Items()[0].Down);
  EXPECT_FALSE(bar_->Items()[2].Down);
  EXPECT_TRUE(bar_->MenuOpen());
  EXPECT_EQ(settingsClicks, 1);  // an item's own OnClick runs as its menu opens
  EXPECT_EQ(lit(), 1);

  Move(ItemCentre(1));
  Run(100);
  EXPECT_EQ(howToClicks, 0);
  EXPECT_FALSE(bar_->MenuOpen());
  EXPECT_FALSE(bar_->Items()[0].Down);
  EXPECT_TRUE(bar_->Items()[1].Active);
  EXPECT_FALSE(bar_->Items()[1].Down);
  EXPECT_EQ(lit(), 1);
  EXPECT_EQ(enters_, 1);
  EXPECT_EQ(exits_, 1);
}

TEST_F(MenuBarTest, AltEntersTheKeyboardModeAndArrowsWrapAcrossTheItems) {
  AddItem(*settings_, "Options");
  SendMessage(s_.Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  Pump();
  ASSERT_TRUE(bar_->KeyboardMode());
  EXPECT_EQ(bar_->HotIndex(), 0);
  EXPECT_EQ(enters_, 1);
  Key(VK_RIGHT);
  EXPECT_EQ(bar_->HotIndex(), 1);
  Key(VK_RIGHT);
  Key(VK_RIGHT);  // no hidden items: wraps to the first
  EXPECT_EQ(bar_->HotIndex(), 0);
  Key(VK_LEFT);
  EXPECT_EQ(bar_->HotIndex(), 2);
  Key(VK_DOWN);  // opens "About"
  EXPECT_TRUE(bar_->MenuOpen());
  EXPECT_TRUE(bar_->Items()[2].Down);
  // Right and Left inside the open menu move across the bar's menus.
  Key(VK_RIGHT);
  EXPECT_TRUE(bar_->Items()[0].Down);
  EXPECT_TRUE(bar_->MenuOpen());
  Key(VK_LEFT);
  EXPECT_TRUE(bar_->Items()[2].Down);
  EXPECT_FALSE(bar_->Items()[0].Down);
  bar_->CloseMenu();
  Key(VK_ESCAPE);
  EXPECT_FALSE(bar_->KeyboardMode());
  EXPECT_EQ(exits_, 1);
  EXPECT_EQ(bar_->HotIndex(), -1);
}

TEST_F(MenuBarTest, AltAndAnAcceleratorPressesThatItem) {
  int clicks = 0;
  howTo_->OnClick = [&](TObject*) { ++clicks; };
  SendMessage(s_.Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'h');
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(bar_->KeyboardMode());  // a command leaves the mode
  SendMessage(s_.Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'a');
  Pump();
  EXPECT_TRUE(bar_->MenuOpen());
  EXPECT_TRUE(bar_->Items()[2].Down);
}

TEST_F(MenuBarTest, DisabledItemsCannotBecomeHot) {
  howTo_->SetEnabled(false);
  Pump();
  Move(ItemCentre(1));
  Run(100);
  EXPECT_EQ(bar_->HotIndex(), -1);
  SendMessage(s_.Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  Pump();
  Key(VK_RIGHT);  // skips the disabled item
  EXPECT_EQ(bar_->HotIndex(), 2);
}

TEST_F(MenuBarTest, ItemsThatDoNotFitHideBehindTheMarkerAndOpenAsAMenu) {
  const int firstTwo = bar_->Items()[1].Rect.Right;
  bar_->SetBounds(10, 80, firstTwo + 7, bar_->Height());  // two items, the marker's 5 pixels and the band's end
  Pump();
  ASSERT_TRUE(bar_->Overflow());
  EXPECT_FALSE(bar_->Items()[2].Visible);
  EXPECT_FALSE(bar_->Items()[2].Enabled);
  ASSERT_EQ(bar_->HiddenItems().size(), 1u);
  EXPECT_EQ(bar_->HiddenItems()[0], about_);
  // Right on the last visible item opens the overflow menu.
  SendMessage(s_.Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  Pump();
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_TRUE(bar_->MenuOpen());
  TqzSkinPopupWindow* popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->ItemCount(), 1);
  EXPECT_EQ(popup->Item(0).MenuItem->Caption(), "&About");
  s_.Orvane->SkinMenu().CloseAll();
  // Wider again: the item comes back with its own enabled state.
  bar_->SetBounds(10, 80, 380, bar_->Height());
  EXPECT_FALSE(bar_->Overflow());
  EXPECT_TRUE(bar_->Items()[2].Visible);
  EXPECT_TRUE(bar_->Items()[2].Enabled);
}

TEST_F(MenuBarTest, AMenuCommandThatFreesTheFormLeavesNothingBehind) {
  TComponentRef<TForm> form(s_.Form);
  settings_->OnClick = [&](TObject*) { delete form.Get(); };
  Click(ItemCentre(0));
  Run(100);
  EXPECT_FALSE(form);
}

// The bar's band and an item's normal and hot looks, compared outside the
// caption text with compositions made directly from the descriptions.
TEST_F(MenuBarTest, LooksEqualCompositionsOfTheDescriptions) {
  const auto* bar = dynamic_cast<const TqzDataSkinMainMenuBar*>(bar_->SkinDescription());
  ASSERT_NE(bar, nullptr);
  const auto& item = dynamic_cast<const TqzDataSkinMainMenuItem&>(
      *s_.Skin->ObjectList()[size_t(s_.Skin->FindObjectIndex(bar->MenuBarItem))]);
  TBitmap band, normal, hot;
  CreateHSkinImage(bar->ItemsRect.Left, bar->SkinRect.Width() - bar->ItemsRect.Right, band, bar->StretchEffect,
                   bar_->Width(), bar->SkinRect, *s_.Skin->ActivePicture(bar->PictureIndex));
  const TRect r0 = bar_->Items()[0].Rect;
  TBitmap* itemPicture = s_.Skin->ActivePicture(item.ActivePictureIndex);
  CreateHSkinImage(item.ItemLeftOffset, item.ItemRightOffset, normal, item.StretchEffect, r0.Width(),
                   item.SkinRect, *itemPicture);
  CreateHSkinImage(item.ItemLeftOffset, item.ItemRightOffset, hot, item.StretchEffect, r0.Width(),
                   item.ActiveSkinRect, *itemPicture);
  auto barPixel = [&](TPoint p) { return ScreenPixel(bar_->ClientToScreen(p)) & 0xFFFFFFu; };
  auto rgb = [](const TBitmap& b, int x, int y) { return b.Pixels().At(x, y) & 0xFFFFFFu; };
  // Right of the last item: only the band.
  const int x = bar_->Items()[2].Rect.Right + 3;
  for (int y = 0; y < bar_->Height(); y += 5) EXPECT_EQ(barPixel({x, y}), rgb(band, x, y)) << y;
  // The item's left end (no text there), normal and then hot.
  for (int y = 0; y < r0.Height(); y += 3) EXPECT_EQ(barPixel({r0.Left + 2, r0.Top + y}), rgb(normal, 2, y)) << y;
  Move(ItemCentre(0));
  Run(300);
  for (int y = 0; y < r0.Height(); y += 3) EXPECT_EQ(barPixel({r0.Left + 2, r0.Top + y}), rgb(hot, 2, y)) << y;
}

TEST_F(MenuBarTest, AHoverChangePresentsOnlyTheItemsConcerned) {
  Move(ItemCentre(0));
  Run(300);
  auto& w = *static_cast<THeadlessWindow*>(s_.Form->WindowData()->platform.get());
  const TPoint clientInWindow = s_.Form->ClientOrigin() - s_.Form->BoundsRect().TopLeft();
  auto inWindow = [&](const TRect& r) {
    const TPoint o = bar_->ClientToParent(r.TopLeft()) + clientInWindow;
    return TRegion(TRect{o.X, o.Y, o.X + r.Width(), o.Y + r.Height()});
  };
  const TRegion allowed = inWindow(bar_->Items()[0].Rect).Union(inWindow(bar_->Items()[1].Rect));
  int presents = w.PresentCount();
  Move(ItemCentre(1));
  for (int i = 0; i < 12; ++i) {
    if (w.PresentCount() != presents) {
      EXPECT_TRUE(w.LastPresentDirty().Subtract(allowed).IsEmpty()) << "step " << i;
      presents = w.PresentCount();
    }
    Run(25);
  }
  EXPECT_EQ(bar_->HotIndex(), 1);
}

}  // namespace
}  // namespace qz
