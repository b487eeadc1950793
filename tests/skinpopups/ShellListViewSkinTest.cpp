// The shell list view in the dialog skin: the selected and the focused
// selected item on the item pictures of its list item description, the
// column header on the pictures of a button description (normal and
// pressed), compared with the skin's own pictures; the plain look without
// a skin, with skinned drawing off and with a description the skin lacks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/draw/QzComposition.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

namespace fs = std::filesystem;

class ShellListViewSkinTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    char tmpl[] = "/tmp/qz-shellview-skin-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    for (const char* name : {"alpha.txt", "beta.txt", "gamma.txt"}) std::ofstream(dir / name) << name;
    form = MakeForm({50, 50, 650, 450}, bsNone);
    view = new TqzSkinFileListView(form);
    view->SetParent(form);
    view->SetBounds(0, 0, 500, 300);
    view->SetAutoRefresh(false);
    view->SetMultiSelect(true);
    view->SetViewStyle(vsReport);
    view->SetRoot(TShellId::FromPath(dir.string()));
    view->SetFocus();
    Pump();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    UiTest::TearDown();
  }
  TqzSkinData* Skin() { return DialogSkin().Skin.get(); }
  const TBitmap& Picture(int index) { return *Skin()->ActivePicture(index); }
  template <class D>
  const D& Description(const char* name) {
    return dynamic_cast<const D&>(*Skin()->CtrlList()[size_t(Skin()->FindControlIndex(name))]);
  }
  uint32_t At(TPoint client) { return ScreenPixel(view->ClientToScreen(client)) & 0xFFFFFF; }
  static uint32_t Of(const TBitmap& b, int x, int y) { return b.Pixels().At(x, y) & 0xFFFFFF; }

  fs::path dir;
  TForm* form = nullptr;
  TqzSkinFileListView* view = nullptr;
};

TEST_F(ShellListViewSkinTest, SelectedItemsShowTheItemPictures) {
  view->SetSkinData(Skin());
  view->SetItemSkinDataName("listbox");
  const auto& d = Description<TqzDataSkinListBox>("listbox");
  ASSERT_EQ(view->ItemDescription(), &d);
  view->SetSelected(0, true);
  view->SetSelected(2, true);
  view->SetItemFocused(2);
  Pump();
  const TBitmap& pic = Picture(d.PictureIndex);
  // Left of the caption the plate shows its picture's left edge unstretched:
  // the light selection for item 0, the accent for the focused item 2.
  for (auto [index, source] : {std::pair{0, d.ActiveItemRect}, std::pair{2, d.FocusItemRect}}) {
    const TRect r = view->DisplayRect(index), label = view->DisplayRect(index, drLabel);
    const int midY = r.Top + r.Height() / 2, sourceMidY = source.Top + source.Height() / 2;
    for (int x = 0; x < 2; ++x)  // the caption starts 2 pixels in
      EXPECT_EQ(At({label.Left + x, midY}), Of(pic, source.Left + x, sourceMidY)) << index << " x " << x;
    EXPECT_EQ(At({label.Left - 1, midY}), (Rgb(view->Color()) & 0xFFFFFF)) << index << ": the plate starts at the caption";
    // Past the caption, in the middle of the plate, the middle of its picture.
    const TRect cell{r.Left + view->Column(0).Width + view->Column(1).Width, r.Top, r.Right, r.Bottom};
    EXPECT_EQ(At({cell.Left + 2, midY}), Of(pic, source.Left + source.Width() / 2, sourceMidY))
        << index;
  }
  EXPECT_NE(Of(pic, d.ActiveItemRect.Left + 20, d.ActiveItemRect.Top + 10),
            Of(pic, d.FocusItemRect.Left + 20, d.FocusItemRect.Top + 10))
      << "the two looks differ, so the test tells them apart";
  // An item not selected stays on the view's colour.
  const TRect plain = view->DisplayRect(1);
  EXPECT_EQ(At({plain.Left + 1, plain.Top + plain.Height() / 2}), (Rgb(view->Color()) & 0xFFFFFF));
}

TEST_F(ShellListViewSkinTest, HeaderColumnsAreButtonsOfTheDescription) {
  view->SetSkinData(Skin());
  view->SetHeaderSkinDataName("resizebutton");
  const auto& d = Description<TqzDataSkinButtonControl>("resizebutton");
  ASSERT_EQ(view->HeaderDescription(), &d);
  Pump();
  const int h = view->HeaderHeight();
  auto compose = [&](const TRect& source, int w) {
    TqzSkinGeometry g = d.Geometry();
    g.SkinRect = source;
    TBitmap out;
    CreateSkinImage(g, CalcNewGeometry(g, CalcResizeMode(g), w, h), true, w, h, Picture(d.PictureIndex), out);
    return out.Pixels();
  };
  // Outside the caption (the first 4 and last 4 columns of each header),
  // exactly the composed picture.
  auto differing = [&](int column, const TRect& source) {
    const TRect r = view->ColumnRect(column);
    const TPixmap want = compose(source, r.Width());
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x : {0, 1, 2, 3, r.Width() - 4, r.Width() - 3, r.Width() - 2, r.Width() - 1})
        n += At({r.Left + x, y}) == (want.At(x, y) & 0xFFFFFF) ? 0 : 1;
    return n;
  };
  EXPECT_EQ(differing(1, d.SkinRect), 0);
  // Held down: the down picture.
  const TRect r = view->ColumnRect(2);
  hp->InjectMouseMove(view->ClientToScreen({r.Left + 30, h / 2}));
  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(differing(2, d.DownSkinRect), 0);
  EXPECT_EQ(differing(1, d.SkinRect), 0);
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(view->SortColumn(), 2) << "and the click still sorts";
}

TEST_F(ShellListViewSkinTest, PlainLookWithoutAUsableDescription) {
  const struct {
    const char* what;
    TqzSkinData* skin;
    const char* header;
    bool drawSkin;
  } cases[] = {
      {"no skin", nullptr, "resizebutton", true},
      {"skinned drawing off", Skin(), "resizebutton", false},
      {"a name the skin lacks", Skin(), "header", true},
      {"a description of another kind", Skin(), "listbox", true},
  };
  for (const auto& c : cases) {
    view->SetSkinData(c.skin);
    view->SetHeaderSkinDataName(c.header);
    view->SetDrawSkin(c.drawSkin);
    Pump();
    EXPECT_EQ(view->HeaderDescription(), nullptr) << c.what;
    const TRect r = view->ColumnRect(1);
    EXPECT_EQ(At({r.Left + 2, 1}), (Rgb(clBtnFace) & 0xFFFFFF)) << c.what;
  }
  // The skin going clears the reference and leaves the plain look.
  auto* own = new TqzSkinData(Application);
  view->SetSkinData(own);
  delete own;
  EXPECT_EQ(view->SkinData(), nullptr);
  Pump();
}

}  // namespace
}  // namespace qz::testing
