#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinControlData.h"
#include "skin/popups/SkinHint.h"
#include "skin/popups/SkinImagesMenu.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skinpopups/SkinMenuTestKit.h"

namespace qz::testing {
namespace {

// ---------------------------------------------------------------- layout rules

TEST(ImagesGridLayout, CellsWrapAndFullRowsStartNewRows) {
  // 16 x 16 images: cells 26 x 26, rows of 3 cells are 78 wide; headers 20.
  const std::vector<TqzGridItemKind> kinds{{true, false}, {}, {}, {}, {}, {false, true}, {}, {}};
  TqzImagesGridInput in;
  in.ImageSize = {16, 16};
  in.Columns = 3;
  in.HeaderHeight = 20;
  const TqzImagesGridLayout l = LayoutImagesGrid(kinds, in);
  const std::vector<TRect> expected{
      {5, 5, 83, 25},                                        // header
      {5, 26, 31, 52},  {31, 26, 57, 52}, {57, 26, 83, 52},  // first row
      {5, 53, 31, 79},                                       // wrapped
      {5, 80, 83, 106},                                      // button after a partly filled row
      {5, 107, 31, 133}, {31, 107, 57, 133}};
  EXPECT_EQ(l.Rects, expected);
  EXPECT_EQ(l.WindowSize, (TSize{88, 138}));
}

TEST(ImagesGridLayout, OriginComesFromTheCaller) {
  TqzImagesGridInput in;
  in.ImageSize = {10, 8};
  in.Columns = 2;
  in.Origin = {7, 9};
  const TqzImagesGridLayout l = LayoutImagesGrid({{}, {}, {}}, in);
  ASSERT_EQ(l.Rects.size(), 3u);
  EXPECT_EQ(l.Rects[1], (TRect{27, 9, 47, 27}));
  EXPECT_EQ(l.Rects[2], (TRect{7, 28, 27, 46}));
  EXPECT_EQ(l.WindowSize, (TSize{50, 47}));
}

TEST(ImagesMenuPlacement, BelowAboveAndBackInsideTheWorkArea) {
  const TRect work{0, 0, 1000, 800};
  const TSize size{100, 200};
  EXPECT_EQ(PlaceImagesMenu({50, 100, 130, 120}, size, work), (TPoint{50, 120}));
  // Would pass the bottom: above the anchor.
  EXPECT_EQ(PlaceImagesMenu({50, 700, 130, 720}, size, work), (TPoint{50, 500}));
  // Right edge, left edge.
  EXPECT_EQ(PlaceImagesMenu({950, 100, 990, 120}, size, work), (TPoint{900, 120}));
  EXPECT_EQ(PlaceImagesMenu({-30, 100, 10, 120}, size, work), (TPoint{0, 120}));
  // Too tall for both sides: kept at the top.
  EXPECT_EQ(PlaceImagesMenu({50, 650, 130, 670}, {100, 760}, work), (TPoint{50, 0}));
}

// Header, three cells in a row of 3, one wrapped cell, a button row.
std::vector<TqzGridCell> SampleCells() {
  TqzImagesGridInput in;
  in.ImageSize = {16, 16};
  in.Columns = 3;
  in.HeaderHeight = 20;
  const std::vector<TqzGridItemKind> kinds{{true, false}, {}, {}, {}, {}, {false, true}};
  const TqzImagesGridLayout l = LayoutImagesGrid(kinds, in);
  std::vector<TqzGridCell> cells;
  for (size_t i = 0; i < kinds.size(); ++i) cells.push_back({l.Rects[i], kinds[i].Header, kinds[i].Button});
  return cells;
}

TEST(ImagesMenuKeys, LeftAndRightSkipHeadersAndWrap) {
  const auto cells = SampleCells();
  EXPECT_EQ(NextGridIndex(cells, -1, VK_RIGHT), 1);  // item 0 is a header
  EXPECT_EQ(NextGridIndex(cells, 5, VK_RIGHT), 1);
  EXPECT_EQ(NextGridIndex(cells, 2, VK_RIGHT), 3);
  EXPECT_EQ(NextGridIndex(cells, -1, VK_LEFT), 5);
  EXPECT_EQ(NextGridIndex(cells, 1, VK_LEFT), 5);  // the header is passed by
  EXPECT_EQ(NextGridIndex(cells, 3, VK_LEFT), 2);
}

TEST(ImagesMenuKeys, UpAndDownFollowColumnsAndButtonRows) {
  const auto cells = SampleCells();
  EXPECT_EQ(NextGridIndex(cells, -1, VK_DOWN), 1);
  EXPECT_EQ(NextGridIndex(cells, -1, VK_UP), 5);
  EXPECT_EQ(NextGridIndex(cells, 1, VK_DOWN), 4);  // same column, next row
  EXPECT_EQ(NextGridIndex(cells, 2, VK_DOWN), 5);  // no cell below: the button row
  EXPECT_EQ(NextGridIndex(cells, 5, VK_UP), 4);    // the button row's left edge
  EXPECT_EQ(NextGridIndex(cells, 4, VK_UP), 1);
  EXPECT_EQ(NextGridIndex(cells, 1, VK_UP), 1);  // only the header above: stays
  EXPECT_EQ(NextGridIndex(cells, 5, VK_DOWN), 5);
}

// ---------------------------------------------------------------- the popup

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

class SkinImagesMenuTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
    images = new TImageList(form);
    images->SetSize(16, 16);
    for (uint32_t colour : {kRed, kGreen, kBlue}) {
      TBitmap b;
      b.SetSize(16, 16);
      b.Pixels() = TPixmap(16, 16, colour);
      b.Modified();
      images->Add(b);
    }
    menu = new TqzSkinImagesMenu(form);
    menu->SetImages(images);
    menu->SetColumnsCount(2);
    for (int i = 0; i < 3; ++i) {
      TqzImagesMenuItem* item = menu->ImagesItems().Add();
      item->ImageIndex = i;
      item->Hint = "cell " + std::to_string(i);
      item->OnClick = [this, i](TObject*) { events.push_back("click" + std::to_string(i)); };
    }
    menu->OnMenuPopup = [this](TObject*) { events.push_back("popup"); };
    menu->OnMenuClose = [this](TObject*) { events.push_back("close"); };
    menu->OnItemClick = [this](TObject*) { events.push_back("item"); };
    menu->OnChange = [this](TObject*) { events.push_back("change"); };
  }

  // Opens below the anchor (200, 200, 280, 220): the grid's cells are 26 x 26
  // from (5, 5) of a window at (200, 220).
  void Open() {
    menu->Popup(anchor);
    Pump();
  }
  TPoint CellCentre(int index) const {
    const TRect& r = menu->ImagesItems().Items(index)->ItemRect;
    const TRect w = menu->Window()->BoundsRect();
    return {w.Left + r.Left + r.Width() / 2, w.Top + r.Top + r.Height() / 2};
  }

  TForm* form = nullptr;
  TImageList* images = nullptr;
  TqzSkinImagesMenu* menu = nullptr;
  TRect anchor{200, 200, 280, 220};
  std::vector<std::string> events;
};

TEST_F(SkinImagesMenuTest, DefaultsAndColumnsCountBounds) {
  TqzSkinImagesMenu fresh(nullptr);
  EXPECT_EQ(fresh.ItemIndex(), -1);
  EXPECT_EQ(fresh.ColumnsCount(), 1);
  EXPECT_TRUE(fresh.ShowHints());
  EXPECT_TRUE(fresh.ShowSelectedItem());
  EXPECT_EQ(fresh.AlphaBlendValue(), 200);
  EXPECT_EQ(fresh.DefaultFont().Name(), "Tahoma");
  fresh.SetColumnsCount(4);
  fresh.SetColumnsCount(0);
  fresh.SetColumnsCount(51);
  EXPECT_EQ(fresh.ColumnsCount(), 4);
  fresh.SetColumnsCount(50);
  EXPECT_EQ(fresh.ColumnsCount(), 50);
}

TEST_F(SkinImagesMenuTest, ItemAssignCopiesTheDescribedFields) {
  TqzImagesMenuItem* a = menu->ImagesItems().Items(0);
  TqzImagesMenuItem* b = menu->ImagesItems().Items(1);
  a->Caption = "A";
  a->Button = true;
  a->Header = true;
  b->Assign(*a);
  EXPECT_EQ(b->Caption, "A");
  EXPECT_EQ(b->ImageIndex, 0);
  EXPECT_TRUE(b->Button);
  EXPECT_EQ(b->Hint, "cell 0");
  EXPECT_FALSE(b->Header);
}

TEST_F(SkinImagesMenuTest, OpensBelowTheAnchorAndEmptyImagesShowNothing) {
  Open();
  ASSERT_TRUE(menu->Opened());
  EXPECT_EQ(menu->Window()->BoundsRect(), (TRect{200, 220, 200 + 62, 220 + 63}));
  EXPECT_EQ(events, (std::vector<std::string>{"popup"}));
  menu->CloseUp(-1);
  Pump();

  events.clear();
  images->Clear();
  Open();
  EXPECT_FALSE(menu->Opened());
  EXPECT_EQ(events, (std::vector<std::string>{"popup"}));
}

TEST_F(SkinImagesMenuTest, ClickPicksOnceAndRepeatingThePickDoesNotChange) {
  Open();
  Move(CellCentre(2));
  EXPECT_EQ(menu->Window()->HotIndex(), 2);
  Click(CellCentre(2));
  EXPECT_FALSE(menu->Opened());
  EXPECT_EQ(menu->ItemIndex(), 2);
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close", "click2", "item", "change"}));

  events.clear();
  Open();
  Click(CellCentre(2));
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close", "click2", "item"}));
}

TEST_F(SkinImagesMenuTest, EscapeAndAClickOutsideCloseWithoutAPick) {
  Open();
  Key(VK_RIGHT);
  Key(VK_ESCAPE);
  EXPECT_FALSE(menu->Opened());
  EXPECT_EQ(menu->ItemIndex(), -1);
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close"}));

  events.clear();
  Open();
  Click({150, 150});  // on the form
  EXPECT_FALSE(menu->Opened());
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close"}));
}

TEST_F(SkinImagesMenuTest, KeyboardWalksAndEnterPicks) {
  Open();
  Key(VK_DOWN);   // from none: item 0
  Key(VK_DOWN);   // the cell below: item 2
  EXPECT_EQ(menu->Window()->HotIndex(), 2);
  Key(VK_RETURN);
  EXPECT_EQ(menu->ItemIndex(), 2);
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close", "click2", "item", "change"}));
}

TEST_F(SkinImagesMenuTest, EnterWithoutAHotCellKeepsTheGridOpen) {
  Open();
  Key(VK_RETURN);
  EXPECT_TRUE(menu->Opened());
}

TEST_F(SkinImagesMenuTest, HeadersAreNeverHotNorPicked) {
  menu->ImagesItems().Items(0)->Header = true;
  Open();
  Move(CellCentre(0));
  EXPECT_EQ(menu->Window()->HotIndex(), -1);
  Click(CellCentre(0));
  EXPECT_TRUE(menu->Opened());
  Move(CellCentre(1));
  Move({5, 5});  // outside the grid
  EXPECT_EQ(menu->Window()->HotIndex(), -1);
}

TEST_F(SkinImagesMenuTest, PressOnACellReleasedOutsidePicksNothing) {
  Open();
  hp->InjectMouseMove(CellCentre(1));
  hp->InjectMouseDown();
  hp->InjectMouseMove({600, 600});
  hp->InjectMouseUp();
  Pump();
  EXPECT_TRUE(menu->Opened());
  Click(CellCentre(1));
  EXPECT_EQ(menu->ItemIndex(), 1);
}

TEST_F(SkinImagesMenuTest, HintsFollowTheHotCell) {
  auto* hint = new TqzSkinHint(form);
  menu->SetSkinHint(hint);
  Open();
  Move(CellCentre(1));
  EXPECT_TRUE(hint->ProgramHintPending());
  Move({5, 5});
  EXPECT_FALSE(hint->ProgramHintPending());
  menu->SetShowHints(false);
  Move(CellCentre(0));
  EXPECT_FALSE(hint->ProgramHintPending());
}

TEST_F(SkinImagesMenuTest, HandlersMayFreeTheMenu) {
  menu->OnItemClick = [this](TObject*) {
    events.push_back("item");
    delete menu;
  };
  Open();
  Click(CellCentre(1));
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close", "click1", "item"}));
  Pump();
}

TEST_F(SkinImagesMenuTest, CloseHandlerMayFreeTheForm) {
  menu->OnMenuClose = [this](TObject*) {
    events.push_back("close");
    delete form;
  };
  Open();
  Key(VK_RIGHT);
  Key(VK_RETURN);
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close"}));
  Pump();
}

// Another form moving or sizing closes the grid without a pick, as the
// owner form moving or sizing does; the close handler may free the form
// that moved. The cell hint's window moving is no form's move.
TEST_F(SkinImagesMenuTest, FormsMovingOrSizingCloseWithoutAPick) {
  TForm* other = MakeForm({700, 100, 900, 300}, bsNone);
  Open();
  other->SetBounds(710, 100, 200, 200);
  Pump();
  EXPECT_FALSE(menu->Opened());
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close"}));

  events.clear();
  Open();
  form->SetBounds(100, 100, 420, 300);
  Pump();
  EXPECT_FALSE(menu->Opened());
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close"}));

  auto* hint = new TqzSkinHint(form);
  menu->SetSkinHint(hint);
  menu->OnMenuClose = [&](TObject*) {
    events.push_back("close");
    delete std::exchange(other, nullptr);
  };
  events.clear();
  Open();
  Move(CellCentre(1));
  for (int i = 0; i < 10 && !(hint->Window() && hint->Window()->Visible()); ++i) {
    hp->AdvanceClock(100);
    Pump();
  }
  ASSERT_TRUE(hint->Window() && hint->Window()->Visible());
  EXPECT_TRUE(menu->Opened());
  other->SetBounds(700, 120, 200, 200);
  Pump();
  EXPECT_FALSE(menu->Opened());
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "close"}));
  EXPECT_EQ(menu->ItemIndex(), -1);
}

TEST_F(SkinImagesMenuTest, FreeingTheImagesWhileOpenDoesNotCrash) {
  Open();
  delete images;
  EXPECT_EQ(menu->Images(), nullptr);
  Move(CellCentre(1));
  Pump();
}

// ---------------------------------------------------------------- pixels

TEST_F(SkinImagesMenuTest, PlainHotAndPickedCells) {
  menu->SetItemIndex(0);
  Open();
  Move(CellCentre(1));
  TBitmap hot, picked, plain;
  menu->Window()->DrawCellImage(1, hot);
  menu->Window()->DrawCellImage(0, picked);
  menu->Window()->DrawCellImage(2, plain);
  ASSERT_EQ(hot.Width(), 26);
  ASSERT_EQ(hot.Height(), 26);
  auto px = [](const TBitmap& b, int x, int y) { return b.Pixels().At(x, y) | 0xFF000000u; };
  const uint32_t frame = Rgb(TColor(0xB76B3B)), hotFill = Rgb(TColor(0xF3D4C1));
  const uint32_t pickedFill = Rgb(TColor(0xE4BCA2)), window = Rgb(clWindow);
  EXPECT_EQ(px(hot, 0, 0), frame);
  EXPECT_EQ(px(hot, 25, 13), frame);
  EXPECT_EQ(px(hot, 1, 1), hotFill);
  EXPECT_EQ(px(hot, 4, 4), hotFill);
  EXPECT_EQ(px(hot, 5, 5), kGreen);  // the image, centred
  EXPECT_EQ(px(hot, 20, 20), kGreen);
  EXPECT_EQ(px(hot, 21, 21), hotFill);
  EXPECT_EQ(px(picked, 0, 0), frame);
  EXPECT_EQ(px(picked, 2, 2), pickedFill);
  EXPECT_EQ(px(picked, 12, 12), kRed);
  EXPECT_EQ(px(plain, 0, 0), window);
  EXPECT_EQ(px(plain, 12, 12), kBlue);
}

TEST_F(SkinImagesMenuTest, SkinnedHotCellIsTheActiveLookOfTheCellDescription) {
  TTestSkinParts parts = MenuSkinParts();
  parts.Text +=
      "[SKINCONTROLS]\r\ncount=1\r\n0=menuitembutton:button\r\n[menuitembutton]\r\npictureindex=1\r\n"
      "skinrect=0,0,20,20\r\nlefttoppoint=4,4\r\nrighttoppoint=16,4\r\nleftbottompoint=4,16\r\n"
      "rightbottompoint=16,16\r\nclientrect=4,4,16,16\r\nactiveskinrect=20,0,40,20\r\n"
      "downskinrect=40,0,60,20\r\n";
  auto skin = LoadTestSkin(parts);
  menu->SetSkinData(skin.get());
  Open();
  EXPECT_TRUE(menu->Window()->HasWindowLook());
  EXPECT_EQ(menu->ImagesItems().Items(0)->ItemRect, (TRect{4, 4, 30, 30}));  // from itemsrect
  Move(CellCentre(1));
  TBitmap cell;
  menu->Window()->DrawCellImage(1, cell);

  const int i = skin->FindControlIndex("menuitembutton");
  const auto& d = dynamic_cast<const TqzDataSkinButtonControl&>(*skin->CtrlList().at(size_t(i)));
  TBitmap look;
  ComposeButtonLook(d.Geometry(), d.ActiveSkinRect, false, 26, 26, *skin->ActivePicture(1), look);
  ASSERT_EQ(cell.Width(), 26);
  ASSERT_EQ(look.Width(), 26);
  for (int y = 0; y < 26; ++y)
    for (int x = 0; x < 26; ++x) {
      const bool image = x >= 5 && x < 21 && y >= 5 && y < 21;
      const uint32_t want = image ? kGreen : look.Pixels().At(x, y);
      ASSERT_EQ(cell.Pixels().At(x, y) | 0xFF000000u, want | 0xFF000000u) << x << "," << y;
    }
  menu->CloseUp(-1);
  menu->SetSkinData(nullptr);
}

}  // namespace
}  // namespace qz::testing
