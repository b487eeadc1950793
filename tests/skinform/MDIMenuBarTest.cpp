// The main menu bar of an MDI form: the buttons of a maximised child (their
// rectangles by hand, plain and skinned, commands, enabled states, looks),
// the merged menus, and the controllers of skinned children.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "host/ui/MDI.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/form/SkinMainMenu.h"
#include "skin/popups/SkinMenu.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz {
namespace {

using Kind = TqzMDIButtonKind;

TEST(MDIButtonLayout, SystemButtonLeftOthersFromTheRightWithGaps) {
  TRect area{2, 2, 298, 20};
  const auto rects = LayoutMDIButtons(area, {Kind::SysMenu, Kind::Close, Kind::Restore, Kind::Minimize},
                                      {{16, 14}, {18, 18}, {18, 10}, {18, 18}});
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0], (TRect{2, 4, 18, 18}));      // centred: 2 + (18 - 14) / 2
  EXPECT_EQ(rects[1], (TRect{280, 2, 298, 20}));
  EXPECT_EQ(rects[2], (TRect{260, 6, 278, 16}));
  EXPECT_EQ(rects[3], (TRect{240, 2, 258, 20}));
  EXPECT_EQ(area, (TRect{20, 2, 238, 20}));        // each followed by a 2-pixel gap
}

class MDIMenuBarTest : public testing::OrvaneTest {
 protected:
  // A plain MDI form (no controller) with a bar along its top.
  void MakePlainMain() {
    main_ = new TForm(Application);
    main_->SetFormStyle(fsMDIForm);
    main_->SetBounds(50, 50, 100, 100);
    main_->SetClientSize(400, 300);
    menu_ = new TqzSkinMainMenu(main_);
    file_ = AddItem(*menu_, "File", 0);
    window_ = AddItem(*menu_, "Window", 5);
    bar_ = new TqzSkinMainMenuBar(main_);
    bar_->SetParent(main_);
    bar_->SetMainMenu(menu_);
    main_->Show();
    Pump();
  }
  // A skinned MDI form (main skin, frame mode) with a skinned bar.
  void MakeSkinnedMain() {
    // Larger than the skin's picture: the frame leaves a client area.
    s_ = MakeSkinned(testing::MainSkin(), Rect(20, 20, 1020, 820), false, false);
    main_ = s_.Form;
    main_->SetFormStyle(fsMDIForm);
    menu_ = new TqzSkinMainMenu(main_);
    file_ = AddItem(*menu_, "File", 0);
    bar_ = new TqzSkinMainMenuBar(main_);
    bar_->SetParent(main_);
    bar_->SetSkinData(s_.Skin);
    bar_->SetOrvane(s_.Orvane);
    bar_->SetMainMenu(menu_);
    s_.Orvane->SetMainMenuBar(bar_);
    main_->Show();
    Pump();
  }
  TMenuItem* AddItem(TMenu& menu, const std::string& name, int group) {
    auto* item = new TMenuItem(menu.Owner());
    item->SetName(name);
    item->SetCaption(name);
    item->SetGroupIndex(group);
    menu.Items()->Add(item);
    return item;
  }
  TForm* PlainChild(TBorderIcons icons = {TBorderIcon::biSystemMenu, TBorderIcon::biMinimize,
                                          TBorderIcon::biMaximize}) {
    auto* c = new TForm(Application);
    c->SetBounds(0, 0, 200, 150);
    c->SetBorderIcons(icons);
    c->SetFormStyle(fsMDIChild);
    Pump();
    return c;
  }
  // A child dressed by its own controller with the dialog skin.
  testing::OrvaneTest::TSkinnedForm SkinnedChild() {
    auto* c = new TForm(Application);
    c->SetBounds(0, 0, 220, 160);
    auto* data = new TqzSkinData(c);
    auto* o = new TqzOrvane(c);
    o->SetSkinData(data);
    data->LoadFromCompressedData(testing::DialogSkin().Compressed);
    c->SetFormStyle(fsMDIChild);
    Pump();
    return {c, data, o};
  }
  const TqzSkinMainMenuBarButton* Button(Kind kind) const {
    for (const auto& b : bar_->MDIButtons())
      if (b.Kind == kind) return &b;
    return nullptr;
  }
  TPoint ButtonCentre(Kind kind) const {
    const TRect r = Button(kind)->Rect;
    return bar_->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  std::vector<std::string> ItemNames() const {
    std::vector<std::string> names;
    for (const auto& i : bar_->Items()) names.push_back(i.IDName);
    return names;
  }
  TqzDataSkinMainMenuBar& BarDescription() const {
    return const_cast<TqzDataSkinMainMenuBar&>(
        dynamic_cast<const TqzDataSkinMainMenuBar&>(*bar_->SkinDescription()));
  }

  TSkinnedForm s_{};
  TForm* main_ = nullptr;
  TqzSkinMainMenu* menu_ = nullptr;
  TqzSkinMainMenuBar* bar_ = nullptr;
  TMenuItem *file_ = nullptr, *window_ = nullptr;
};

TEST_F(MDIMenuBarTest, PlainButtonsAppearWhileAChildIsMaximisedAndGoWhenRestored) {
  MakePlainMain();
  TForm* child = PlainChild();
  EXPECT_TRUE(bar_->MDIButtons().empty());
  const TRect plainItem = bar_->Items()[0].Rect;
  EXPECT_EQ(plainItem.Left, 2);

  child->SetWindowState(wsMaximized);
  Pump();
  ASSERT_EQ(bar_->MDIButtons().size(), 4u);
  // Item area (2, 2, 398, 20): squares of its height.
  EXPECT_EQ(Button(Kind::SysMenu)->Rect, Rect(2, 2, 20, 20));
  EXPECT_EQ(Button(Kind::Close)->Rect, Rect(380, 2, 398, 20));
  EXPECT_EQ(Button(Kind::Restore)->Rect, Rect(360, 2, 378, 20));
  EXPECT_EQ(Button(Kind::Minimize)->Rect, Rect(340, 2, 358, 20));
  EXPECT_EQ(bar_->Items()[0].Rect.Left, 22);
  EXPECT_EQ(bar_->ItemArea(), Rect(22, 2, 338, 20));
  EXPECT_STREQ(Button(Kind::Restore)->IDName(), "MaxButton");

  Click(ButtonCentre(Kind::Restore));
  EXPECT_EQ(child->WindowState(), wsNormal);
  EXPECT_TRUE(bar_->MDIButtons().empty());
  EXPECT_EQ(bar_->Items()[0].Rect, plainItem);
}

TEST_F(MDIMenuBarTest, PlainButtonCommandsAndTheirEnabledStates) {
  MakePlainMain();
  TForm* a = PlainChild({TBorderIcon::biSystemMenu});   // no minimise, no maximise box
  a->SetWindowState(wsMaximized);
  Pump();
  ASSERT_EQ(bar_->MDIButtons().size(), 4u);
  EXPECT_TRUE(Button(Kind::SysMenu)->Enabled);
  EXPECT_TRUE(Button(Kind::Close)->Enabled);
  EXPECT_FALSE(Button(Kind::Restore)->Enabled);
  EXPECT_FALSE(Button(Kind::Minimize)->Enabled);
  // Disabled buttons take no press.
  Click(ButtonCentre(Kind::Minimize));
  Click(ButtonCentre(Kind::Restore));
  EXPECT_EQ(a->WindowState(), wsMaximized);

  TForm* b = PlainChild();   // comes maximised, enabled as its icons say
  Pump();
  EXPECT_EQ(b->WindowState(), wsMaximized);
  EXPECT_TRUE(Button(Kind::Minimize)->Enabled);
  Click(ButtonCentre(Kind::Minimize));
  EXPECT_EQ(b->WindowState(), wsMinimized);
  EXPECT_EQ(main_->ActiveMDIChild(), b);
  EXPECT_TRUE(bar_->MDIButtons().empty());   // the active child is not maximised now

  a->Show();   // a is maximised again under the bar
  Pump();
  TComponentRef<TForm> refA(a);
  // A release away from the pressed button runs nothing.
  hp->InjectMouseMove(ButtonCentre(Kind::Close));
  hp->InjectMouseDown();
  hp->InjectMouseMove(bar_->ClientToScreen({100, 10}));
  hp->InjectMouseUp();
  Pump();
  EXPECT_TRUE(refA);
  Click(ButtonCentre(Kind::Close));
  Pump();
  EXPECT_FALSE(refA);
  EXPECT_EQ(main_->MDIChildCount(), 1);
}

TEST_F(MDIMenuBarTest, HandlersThatFreeTheChildOrTheWholeFormFromACloseButton) {
  MakePlainMain();
  TForm* a = PlainChild();
  TComponentRef<TForm> refA(a);
  a->OnClose = [a](TObject*, TCloseAction&) { delete a; };
  a->SetWindowState(wsMaximized);
  Pump();
  Click(ButtonCentre(Kind::Close));
  EXPECT_FALSE(refA);
  EXPECT_TRUE(bar_->MDIButtons().empty());

  TForm* b = PlainChild();
  TComponentRef<TForm> refMain(main_), refB(b);
  TComponentRef<TqzSkinMainMenuBar> refBar(bar_);
  b->OnClose = [this](TObject*, TCloseAction&) { delete main_; };
  b->SetWindowState(wsMaximized);
  Pump();
  Click(ButtonCentre(Kind::Close));
  EXPECT_FALSE(refMain);
  EXPECT_FALSE(refB);
  EXPECT_FALSE(refBar);
}

TEST_F(MDIMenuBarTest, MergedMenusFollowTheActiveChildAndOverflow) {
  MakePlainMain();
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"File", "Window"}));
  TForm* a = PlainChild();
  auto* childMenu = new TMainMenu(a);
  AddItem(*childMenu, "Edit", 1);
  AddItem(*childMenu, "ChildFile", 0);
  a->SetMenu(childMenu);
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"ChildFile", "Edit", "Window"}));
  // Another child without a menu: the main menu alone.
  TForm* b = PlainChild();
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"File", "Window"}));
  delete b;
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"ChildFile", "Edit", "Window"}));

  // Merged items that do not fit go to the overflow menu.
  bar_->SetAlign(alNone);
  bar_->SetWidth(bar_->Items()[1].Rect.Right + 2 + kMenuBarMarkerWidth);
  ASSERT_TRUE(bar_->Overflow());
  const auto hidden = bar_->HiddenItems();
  ASSERT_EQ(hidden.size(), 1u);
  EXPECT_EQ(hidden[0]->Name(), "Window");
  delete a;
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"File", "Window"}));
}

TEST_F(MDIMenuBarTest, SkinnedButtonsComeFromTheirDescriptionsAndMissingOnesAreLeftOut) {
  MakeSkinnedMain();
  TqzDataSkinMainMenuBar& d = BarDescription();
  d.CloseButton = "closebutton";
  d.MinButton = "minbutton";
  d.MaxButton = "no such button";
  d.SysMenuButton = "";
  TForm* child = PlainChild();
  child->SetWindowState(wsMaximized);
  Pump();
  ASSERT_EQ(bar_->MDIButtons().size(), 2u);
  const auto& close = dynamic_cast<const TqzDataSkinButton&>(
      *s_.Skin->ObjectList()[size_t(s_.Skin->FindObjectIndex("closebutton"))]);
  const auto& min = dynamic_cast<const TqzDataSkinButton&>(
      *s_.Skin->ObjectList()[size_t(s_.Skin->FindObjectIndex("minbutton"))]);
  const TRect& ir = d.ItemsRect;
  const TRect area{ir.Left, ir.Top, bar_->Width() + ir.Right - d.SkinRect.Width(), ir.Bottom};
  const int closeTop = area.Top + (area.Height() - close.SkinRect.Height()) / 2;
  const TRect closeRect{area.Right - close.SkinRect.Width(), closeTop, area.Right,
                        closeTop + close.SkinRect.Height()};
  EXPECT_EQ(Button(Kind::Close)->Rect, closeRect);
  const int minTop = area.Top + (area.Height() - min.SkinRect.Height()) / 2;
  const TRect minRect{closeRect.Left - 2 - min.SkinRect.Width(), minTop, closeRect.Left - 2,
                      minTop + min.SkinRect.Height()};
  EXPECT_EQ(Button(Kind::Minimize)->Rect, minRect);
  EXPECT_EQ(bar_->ItemArea(), Rect(area.Left, area.Top, minRect.Left - 2, area.Bottom));

  // The close button shows its normal look, then its active look while hot,
  // pixel for pixel from the skin's pictures.
  auto barPixel = [&](TPoint p) { return ScreenPixel(bar_->ClientToScreen(p)) & 0xFFFFFFu; };
  auto expectLook = [&](const TBitmap* picture, const TRect& look) {
    ASSERT_NE(picture, nullptr);
    // Where the bar shows it: a look taller than the bar is cut off.
    for (int y = std::max(0, -closeRect.Top); y < closeRect.Height() && closeRect.Top + y < bar_->Height(); y += 2)
      for (int x = 0; x < closeRect.Width(); x += 2)
        ASSERT_EQ(barPixel({closeRect.Left + x, closeRect.Top + y}),
                  picture->Pixels().At(look.Left + x, look.Top + y) & 0xFFFFFFu)
            << x << "," << y;
  };
  expectLook(close.SkinRectInAPicture ? s_.Skin->ActivePicture(close.ActivePictureIndex) : &s_.Skin->Picture(),
             close.SkinRect);
  ASSERT_FALSE(close.ActiveSkinRect.IsEmpty());
  Move(ButtonCentre(Kind::Close));
  expectLook(s_.Skin->ActivePicture(close.ActivePictureIndex), close.ActiveSkinRect);
  EXPECT_EQ(MDIButtonLook(*Button(Kind::Close), close, *s_.Skin).Rect, close.ActiveSkinRect);
}

TEST_F(MDIMenuBarTest, SkinnedChildMaximisedByItsControllerFillsTheClientWithoutFrame) {
  MakeSkinnedMain();
  auto child = SkinnedChild();
  child.Orvane->SetBorderIcons({biSystemMenu, biMaximize});
  bar_->SetSkinData(nullptr);   // the plain set of buttons
  const TRect normal = child.Form->BoundsRect();
  const TMDIClient& client = *main_->MDIClient();
  EXPECT_EQ(SendMessage(main_->Handle(), WM_USER + 212, 0, 0), 0);

  child.Orvane->Maximize();
  Pump();
  EXPECT_EQ(child.Form->BoundsRect(), Rect(0, 0, client.ClientWidth(), client.ClientHeight()));
  EXPECT_EQ(child.Form->ClientWidth(), client.ClientWidth());
  EXPECT_EQ(child.Form->ClientHeight(), client.ClientHeight());
  EXPECT_EQ(SendMessage(main_->Handle(), WM_USER + 212, 0, 0), 1);
  // Enabled from the controller's border icons.
  ASSERT_EQ(bar_->MDIButtons().size(), 4u);
  EXPECT_TRUE(Button(Kind::SysMenu)->Enabled);
  EXPECT_TRUE(Button(Kind::Restore)->Enabled);
  EXPECT_FALSE(Button(Kind::Minimize)->Enabled);

  // The system button opens the child's system menu through its controller.
  Click(ButtonCentre(Kind::SysMenu));
  EXPECT_TRUE(child.Orvane->MenuShowing());
  child.Orvane->SkinMenu().CloseAll();
  Pump();

  Click(ButtonCentre(Kind::Restore));
  EXPECT_EQ(child.Orvane->ActualWindowState(), wsNormal);
  EXPECT_EQ(child.Form->BoundsRect(), normal);
  EXPECT_TRUE(bar_->MDIButtons().empty());
  EXPECT_EQ(SendMessage(main_->Handle(), WM_USER + 212, 0, 0), 0);
}

}  // namespace
}  // namespace qz
