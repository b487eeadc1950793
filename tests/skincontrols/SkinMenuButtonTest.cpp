#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "host/components/FormResource.h"
#include "host/ui/ImgList.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinImagesMenu.h"
#include "skin/popups/SkinMenu.h"
#include "skin/popups/SkinMenuButton.h"
#include "tests/skincontrols/SkinButtonTestKit.h"

namespace qz::testing {
namespace {

// ---------------------------------------------------------------- drop-down part

TEST(MenuButtonDropDown, WhereAPressOpensTheMenu) {
  TqzDropDownInput in;
  in.Width = 80;
  in.Height = 24;
  EXPECT_TRUE(MenuButtonDropDownRect(in).IsEmpty());  // no menu: nowhere
  in.HasMenu = true;
  EXPECT_EQ(MenuButtonDropDownRect(in), (TRect{0, 0, 80, 24}));
  in.TrackButtonMode = true;
  EXPECT_EQ(MenuButtonDropDownRect(in), (TRect{65, 0, 80, 24}));  // generic: rightmost 15
  in.Described = true;
  in.TrackButtonRect = {30, 0, 40, 20};
  in.SkinSize = {40, 20};
  in.ResizeMode = 1;
  EXPECT_EQ(MenuButtonDropDownRect(in), (TRect{30, 0, 40, 20}));
  in.ResizeMode = 2;
  EXPECT_EQ(MenuButtonDropDownRect(in), (TRect{70, 0, 80, 20}));
  in.ResizeMode = 3;
  EXPECT_EQ(MenuButtonDropDownRect(in), (TRect{30, 4, 40, 24}));
}

TEST(MenuButtonDropDown, GenericLooks) {
  for (const char* name : {"resizebutton", "resizetoolbutton", "toolbutton", "bigtoolbutton"})
    EXPECT_TRUE(IsGenericButtonLook(name)) << name;
  EXPECT_FALSE(IsGenericButtonLook("toolmenubutton"));
}

// ---------------------------------------------------------------- behaviour

constexpr uint32_t kRed = 0xFFFF0000;

class SkinMenuButtonTest : public SkinButtonTest {
 protected:
  void SetUp() override {
    SkinButtonTest::SetUp();
    button = new TqzSkinMenuButton(form);
    button->SetParent(form);
    button->SetBoundsRect({20, 20, 100, 44});  // 80 x 24
    button->OnClick = [this](TObject*) { events.push_back("click"); };
    button->OnHideTrackMenu = [this](TObject*) { events.push_back("hide"); };
    Pump();
  }

  TqzSkinImagesMenu* AddImagesMenu() {
    auto* images = new TImageList(form);
    images->SetSize(16, 16);
    TBitmap b;
    b.SetSize(16, 16);
    b.Pixels() = TPixmap(16, 16, kRed);
    b.Modified();
    images->Add(b);
    auto* menu = new TqzSkinImagesMenu(form);
    menu->SetImages(images);
    TqzImagesMenuItem* item = menu->ImagesItems().Add();
    item->ImageIndex = 0;
    item->Caption = "Red";
    button->SetSkinImagesMenu(menu);
    return menu;
  }

  // A popup menu on a form with a skinning controller (plain look).
  TqzSkinPopupMenu* AddPopupMenu() {
    auto* controller = new TqzOrvane(form);
    controller->SetSupportNCArea(false);
    auto* popup = new TqzSkinPopupMenu(form);
    auto* item = new TMenuItem(popup);
    item->SetCaption("&One");
    popup->Items()->Add(item);
    button->SetSkinPopupMenu(popup);
    return popup;
  }

  TPoint At(int x, int y) const { return button->ClientToScreen({x, y}); }
  static TqzSkinMenu* Engine(TqzSkinPopupMenu* popup) { return FindMenuRoute(popup).Menu; }

  TqzSkinMenuButton* button = nullptr;
  std::vector<std::string> events;
};

TEST_F(SkinMenuButtonTest, WithoutAMenuItIsAnOrdinaryButton) {
  EXPECT_EQ(button->SkinDataName(), "toolmenubutton");
  Click(At(70, 12));
  EXPECT_EQ(events, (std::vector<std::string>{"click"}));
  EXPECT_FALSE(button->Down());
  EXPECT_FALSE(button->MenuOpen());
}

TEST_F(SkinMenuButtonTest, TrackModeSplitsTheButton) {
  TqzSkinImagesMenu* menu = AddImagesMenu();
  button->SetTrackButtonMode(true);
  Click(At(20, 12));  // left of the drop-down part
  EXPECT_EQ(events, (std::vector<std::string>{"click"}));
  EXPECT_FALSE(menu->Opened());

  events.clear();
  Click(At(72, 12));  // on it
  EXPECT_TRUE(menu->Opened());
  EXPECT_TRUE(button->MenuOpen());
  EXPECT_TRUE(button->Down());
  EXPECT_TRUE(events.empty());
  Key(VK_ESCAPE);
  EXPECT_FALSE(menu->Opened());
  EXPECT_FALSE(button->MenuOpen());
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(events, (std::vector<std::string>{"hide"}));
}

TEST_F(SkinMenuButtonTest, PickingFromTheImagesMenuShowsTheButtonHotAfterwards) {
  TqzSkinImagesMenu* menu = AddImagesMenu();
  menu->OnItemClick = [this](TObject*) { events.push_back("item"); };
  Click(At(10, 12));
  ASSERT_TRUE(menu->Opened());
  const TRect cell = menu->ImagesItems().Items(0)->ItemRect;
  Click(menu->Window()->ClientToScreen({cell.Left + 5, cell.Top + 5}));
  EXPECT_EQ(menu->ItemIndex(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"hide", "item"}));
  EXPECT_FALSE(button->MenuMouseIn());  // the pointer is over the grid, below the button

  Click(At(10, 12));
  hp->InjectMouseMove(At(12, 12));
  Key(VK_ESCAPE);
  EXPECT_TRUE(button->MenuMouseIn());
  EXPECT_TRUE(button->MouseIn());
}

TEST_F(SkinMenuButtonTest, PopupMenuOpensThroughTheFormsEngineBelowTheButton) {
  TqzSkinPopupMenu* popup = AddPopupMenu();
  Click(At(10, 12));
  TqzSkinMenu* engine = Engine(popup);
  ASSERT_NE(engine, nullptr);
  ASSERT_TRUE(engine->Visible());
  EXPECT_EQ(engine->Level(0)->BoundsRect().Top, At(0, 24).Y);
  EXPECT_TRUE(button->Down());
  Key(VK_ESCAPE);
  EXPECT_FALSE(engine->Visible());
  EXPECT_FALSE(button->Down());
  EXPECT_FALSE(button->MenuOpen());
  EXPECT_EQ(events, (std::vector<std::string>{"hide"}));
}

TEST_F(SkinMenuButtonTest, SpaceAndTheAcceleratorOpenTheMenu) {
  TqzSkinPopupMenu* popup = AddPopupMenu();
  button->SetCaption("&Tools");
  button->SetFocus();
  Key(VK_SPACE);
  ASSERT_TRUE(Engine(popup)->Visible());
  Key(VK_ESCAPE);
  EXPECT_FALSE(Engine(popup)->Visible());
  EXPECT_TRUE(events == std::vector<std::string>{"hide"});

  events.clear();
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 't'), 1);
  Pump();
  EXPECT_TRUE(Engine(popup)->Visible());
  Engine(popup)->CloseAll();
  Pump();
  EXPECT_FALSE(button->MenuOpen());
  EXPECT_EQ(std::count(events.begin(), events.end(), "click"), 0);
}

TEST_F(SkinMenuButtonTest, AMenuThatCannotShowLetsTheButtonUp) {
  auto* popup = new TqzSkinPopupMenu(form);  // no skinning controller on the form
  popup->Items()->Add(new TMenuItem(popup));
  button->SetSkinPopupMenu(popup);
  Click(At(10, 12));
  EXPECT_FALSE(button->MenuOpen());
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(events, (std::vector<std::string>{"hide"}));
}

TEST_F(SkinMenuButtonTest, HideHandlerMayFreeTheButton) {
  AddImagesMenu();
  button->OnHideTrackMenu = [this](TObject*) {
    events.push_back("hide");
    delete button;
  };
  Click(At(10, 12));
  Key(VK_ESCAPE);
  EXPECT_EQ(events, (std::vector<std::string>{"hide"}));
  Pump();
}

TEST_F(SkinMenuButtonTest, FreeingTheImagesMenuClearsTheReference) {
  TqzSkinImagesMenu* menu = AddImagesMenu();
  delete menu;
  EXPECT_EQ(button->SkinImagesMenu(), nullptr);
  Click(At(10, 12));
  EXPECT_EQ(events, (std::vector<std::string>{"click"}));
}

TEST_F(SkinMenuButtonTest, FreeingTheOpenImagesMenuLetsTheButtonUp) {
  TqzSkinImagesMenu* menu = AddImagesMenu();
  Click(At(10, 12));
  ASSERT_TRUE(button->MenuOpen());
  delete menu;
  Pump();
  EXPECT_FALSE(button->MenuOpen());
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(events, (std::vector<std::string>{"hide"}));
}

TEST_F(SkinMenuButtonTest, ButtonAndImagesMenuStreamWithTheForm) {
  TqzSkinImagesMenu* menu = AddImagesMenu();
  form->SetName("Form1");
  menu->SetName("qzSkinImagesMenu1");
  menu->SetColumnsCount(3);
  menu->SetItemIndex(0);
  auto* header = static_cast<TqzImagesMenuItem*>(menu->ImagesItems().Insert(0));
  header->Header = true;
  header->Caption = "Pick";
  button->SetName("qzSkinMenuButton1");
  button->SetTrackButtonMode(true);
  button->SetUseImagesMenuCaption(true);
  const std::string text = WriteComponentRes(form);

  form->SetName("Original");
  auto* copy = new TForm(Application);
  ReadComponentRes(copy, text);
  auto* readMenu = dynamic_cast<TqzSkinImagesMenu*>(copy->FindComponent("qzSkinImagesMenu1"));
  auto* readButton = dynamic_cast<TqzSkinMenuButton*>(copy->FindComponent("qzSkinMenuButton1"));
  ASSERT_NE(readMenu, nullptr) << text;
  ASSERT_NE(readButton, nullptr) << text;
  EXPECT_EQ(readButton->SkinImagesMenu(), readMenu);
  EXPECT_TRUE(readButton->TrackButtonMode());
  EXPECT_TRUE(readButton->UseImagesMenuCaption());
  EXPECT_FALSE(readButton->UseImagesMenuImage());
  EXPECT_EQ(readMenu->ColumnsCount(), 3);
  EXPECT_EQ(readMenu->ItemIndex(), 0);
  ASSERT_EQ(readMenu->ImagesItems().Count(), 2);
  EXPECT_TRUE(readMenu->ImagesItems().Items(0)->Header);
  EXPECT_EQ(readMenu->ImagesItems().Items(0)->Caption, "Pick");
  EXPECT_EQ(readMenu->ImagesItems().Items(1)->Caption, "Red");
  EXPECT_EQ(readMenu->ImagesItems().Items(1)->ImageIndex, 0);
}

// ---------------------------------------------------------------- pixels

TEST_F(SkinMenuButtonTest, PlainTrackLookWhileTheMenuIsOpen) {
  AddImagesMenu();
  button->SetTrackButtonMode(true);
  Click(At(72, 12));
  ASSERT_TRUE(button->MenuOpen());
  TBitmap b;
  button->CreateControlDefaultImage(b);
  auto px = [&](int x, int y) { return b.Pixels().At(x, y) | 0xFF000000u; };
  EXPECT_EQ(px(0, 0), Rgb(TColor(0xB76B3B)));
  EXPECT_EQ(px(3, 3), Rgb(TColor(0xF3D4C1)));
  EXPECT_EQ(px(65, 0), Rgb(TColor(0xE4BCA2)));  // the drop-down part's frame
  EXPECT_EQ(px(66, 20), Rgb(TColor(0xE4BCA2)));
  Key(VK_ESCAPE);
}

TEST_F(SkinMenuButtonTest, PlainContentShowsThePickedImage) {
  TqzSkinImagesMenu* menu = AddImagesMenu();
  menu->SetItemIndex(0);
  button->SetUseImagesMenuImage(true);
  TBitmap b;
  button->CreateControlDefaultImage(b);
  // Content (0, 0, 65, 24): the 16 x 16 image centred at (24, 4).
  auto px = [&](int x, int y) { return b.Pixels().At(x, y) | 0xFF000000u; };
  EXPECT_EQ(px(24, 4), kRed);
  EXPECT_EQ(px(39, 19), kRed);
  EXPECT_EQ(px(23, 12), Rgb(clBtnFace));
  EXPECT_EQ(px(40, 12), Rgb(clBtnFace));
}

// A fixed 40 x 20 "toolmenubutton" of class menubutton with a track button
// at (25, 0, 40, 20).
std::unique_ptr<TqzSkinData> MakeMenuButtonSkin() {
  TPixmap main(40, 40, 0x808080), picture(200, 120);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) picture.At(x, y) = ButtonPicturePixel(x, y);
  const std::string text = "[SKINCONTROLS]\ncount=1\n0=toolmenubutton:menubutton\n[toolmenubutton]\npictureindex=0\n"
                           "skinrect=0,0,40,20\nclientrect=5,5,35,15\n" + kLooks + "trackbuttonrect=25,0,40,20\n";
  const auto mainBmp = EncodeBmp(main), pictureBmp = EncodeBmp(picture);
  const std::array<std::span<const uint8_t>, kSkinSlotCount> slots{mainBmp, {}, {}, {}, {}};
  const std::span<const uint8_t> actives[] = {pictureBmp};
  auto skin = std::make_unique<TqzSkinData>(nullptr);
  skin->LoadFromContainer(BuildSkinContainer(slots, actives, text));
  return skin;
}

TEST_F(SkinMenuButtonTest, SkinnedDropDownPartComesFromTheDownLookWhileOpen) {
  skin = MakeMenuButtonSkin();
  AddImagesMenu();
  button->SetTrackButtonMode(true);
  button->SetSkinData(skin.get());
  button->SetBoundsRect({20, 20, 60, 40});
  Pump();
  ASSERT_EQ(button->Width(), 40);
  EXPECT_EQ(button->DropDownRect(), (TRect{25, 0, 40, 20}));
  Click(At(10, 10));  // the main part clicks
  EXPECT_EQ(events, (std::vector<std::string>{"click"}));
  Click(At(30, 10));
  ASSERT_TRUE(button->MenuOpen());
  TBitmap b;
  button->CreateControlSkinImage(b);
  auto px = [&](int x, int y) { return b.Pixels().At(x, y) | 0xFF000000u; };
  EXPECT_EQ(px(10, 10), ButtonPicturePixel(10, 30));  // active look
  EXPECT_EQ(px(24, 3), ButtonPicturePixel(24, 23));
  EXPECT_EQ(px(25, 3), ButtonPicturePixel(25, 43));  // down look at the track button
  EXPECT_EQ(px(39, 19), ButtonPicturePixel(39, 59));
  Key(VK_ESCAPE);
}

}  // namespace
}  // namespace qz::testing
