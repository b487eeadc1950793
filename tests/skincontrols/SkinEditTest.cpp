// The skinned edit: geometry from the edit description, frame and button
// pixels against a composition made from the description, hit codes, the
// push button, dialog keys, strict read-only, the context menu through the
// menu engine, and the numeric edit.
#include <gtest/gtest.h>

#include "host/ui/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinEdit.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/QZUtils.h"
#include "skin/form/Orvane.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skinform/FramePaintTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

// Picture 0 (120 x 30): the frame at (0,0,60,24) with fixed parts 8 and 20
// wide, the text area (8,4,40,20), the button (42,2,58,22) in the fixed
// right part; hot and pressed button looks at (60,0) and (80,0), 16 x 20.
inline TTestSkinParts EditSkinParts() {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 9);
  parts.Active.push_back(Pattern(120, 30, 4));
  parts.Text =
      "[SKINCONTROLS]\r\ncount=2\r\n0=buttonedit:edit\r\n1=other:label\r\n"
      "[buttonedit]\r\npictureindex=0\r\nskinrect=0,0,60,24\r\nlefttoppoint=8,0\r\n"
      "righttoppoint=40,0\r\nclientrect=8,4,40,20\r\nbuttonrect=42,2,58,22\r\n"
      "activebuttonrect=60,0,76,20\r\ndownbuttonrect=80,0,96,20\r\n"
      "fontcolor=255\r\nactivefontcolor=65280\r\ndisabledfontcolor=8421504\r\n"
      "[other]\r\npictureindex=0\r\nskinrect=0,0,60,24\r\n";
  return parts;
}

class SkinEditTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skin = LoadTestSkin(EditSkinParts());
    form = MakeForm({100, 100, 500, 300}, bsNone);
  }
  void TearDown() override {
    UiTest::TearDown();
    skin.reset();
  }
  TqzSkinEdit* MakeEdit(const std::string& name, int width = 150, TqzSkinData* data = nullptr) {
    auto* e = new TqzSkinEdit(form);
    e->SetParent(form);
    e->SetBounds(20, 30, width, 20);
    e->SetButtonMode(true);
    e->SetSkinDataName(name);
    e->SetSkinData(data ? data : skin.get());
    Pump();
    return e;
  }
  // A point of the edit's window (window coordinates) on the screen.
  TPoint OnScreen(TqzSkinEdit* e, TPoint p) {
    TRect r;
    GetWindowRect(HWND(e), r);
    return {r.Left + p.X, r.Top + p.Y};
  }
  uint32_t WindowPixel(TqzSkinEdit* e, int x, int y) { return ScreenPixel(OnScreen(e, {x, y})); }
  TBitmap& SkinPicture() { return *skin->ActivePicture(0); }

  std::unique_ptr<TqzSkinData> skin;
  TForm* form = nullptr;
};

TEST_F(SkinEditTest, DemoButtonEditTakesItsHeightAndMovesItsButtonRight) {
  auto* data = new TqzSkinData(form);
  data->LoadFromCompressedData(MainSkin().Compressed);
  auto* e = MakeEdit("buttonedit", 265, data);
  EXPECT_EQ(e->Height(), 26);
  EXPECT_EQ(e->ButtonRect(), (TRect{50 + 190, 3, 70 + 190, 24}));
  EXPECT_EQ(e->TextRect(), (TRect{7, 5, 236, 21}));
  EXPECT_EQ(e->ClientWidth(), 229);
  EXPECT_EQ(e->ClientHeight(), 16);
}

TEST_F(SkinEditTest, FrameAndButtonPixelsFollowTheDescription) {
  auto* e = MakeEdit("buttonedit");
  ASSERT_EQ(e->Height(), 24);
  const TRect text = e->TextRect();
  EXPECT_EQ(text, (TRect{8, 4, 130, 20}));
  EXPECT_EQ(e->ButtonRect(), (TRect{132, 2, 148, 22}));
  TBitmap expected;
  CreateHSkinImage(8, 20, expected, false, 150, {0, 0, 60, 24}, SkinPicture());
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 150; ++x)
      if (!text.Contains({x, y})) ASSERT_EQ(WindowPixel(e, x, y), Rgb(expected.Canvas().Pixel(x, y))) << x << "," << y;

  // Hot and pressed: the button's own looks, copied 1:1.
  Move(OnScreen(e, {140, 12}));
  EXPECT_TRUE(e->ButtonHot());
  EXPECT_EQ(WindowPixel(e, 132, 2), Rgb(SkinPicture().Canvas().Pixel(60, 0)));
  EXPECT_EQ(WindowPixel(e, 147, 21), Rgb(SkinPicture().Canvas().Pixel(75, 19)));
  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(WindowPixel(e, 140, 10), Rgb(SkinPicture().Canvas().Pixel(88, 8)));
  hp->InjectMouseUp();
  Pump();
}

// Under the text lies the field of the edit's own frame, stretched as the
// frame is, not the parent's colour, enabled and disabled alike.
TEST_F(SkinEditTest, TheTextAreaShowsTheFieldOfItsOwnFrame) {
  form->SetColor(TColor(0x204060));
  auto* e = MakeEdit("buttonedit");
  TBitmap expected;
  CreateHSkinImage(8, 20, expected, false, 150, {0, 0, 60, 24}, SkinPicture());
  const TRect text = e->TextRect();
  auto expectField = [&](const char* state) {
    for (int y = text.Top; y < text.Bottom; ++y)
      for (int x = text.Left; x < text.Right; ++x)
        ASSERT_EQ(WindowPixel(e, x, y), Rgb(expected.Canvas().Pixel(x, y))) << state << " " << x << "," << y;
  };
  expectField("enabled");
  e->SetEnabled(false);
  Pump();
  expectField("disabled");
}

TEST_F(SkinEditTest, AlphaBlendMixesTheFrameWithWhatLiesUnder) {
  form->SetColor(TColor(0x204060));
  auto* e = MakeEdit("buttonedit");
  TBitmap frame;
  CreateHSkinImage(8, 20, frame, false, 150, {0, 0, 60, 24}, SkinPicture());
  e->SetAlphaBlend(true);
  e->SetAlphaBlendValue(0);
  Pump();
  EXPECT_EQ(WindowPixel(e, 3, 3), Rgb(TColor(0x204060)));
  e->SetAlphaBlendValue(255);
  Pump();
  EXPECT_EQ(WindowPixel(e, 3, 3), Rgb(frame.Canvas().Pixel(3, 3)));
}

TEST_F(SkinEditTest, PlainLookWithoutADescription) {
  auto* e = MakeEdit("missing", 100);
  EXPECT_EQ(e->SkinIndex(), -1);
  EXPECT_EQ(e->ButtonRect(), (TRect{80, 0, 100, 20}));
  EXPECT_EQ(e->TextRect(), (TRect{2, 2, 78, 18}));
  EXPECT_EQ(WindowPixel(e, 0, 0), Rgb(PlainShadowColor()));
  EXPECT_EQ(WindowPixel(e, 1, 1), Rgb(e->Color()));
  EXPECT_EQ(WindowPixel(e, 80, 0), Rgb(PlainShadowColor()));
  EXPECT_EQ(WindowPixel(e, 85, 5), Rgb(PlainFaceColor()));
  Move(OnScreen(e, {90, 10}));
  EXPECT_EQ(WindowPixel(e, 80, 0), Rgb(TColor(0xB76B3B)));
  EXPECT_EQ(WindowPixel(e, 85, 5), Rgb(TColor(0xF3D4C1)));
  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(WindowPixel(e, 85, 5), Rgb(TColor(0xE4BCA2)));
  hp->InjectMouseUp();
  Pump();
  // A description of another class is no edit description either.
  e->SetSkinDataName("other");
  e->ChangeSkinData();
  EXPECT_EQ(e->SkinIndex(), -1);
}

TEST_F(SkinEditTest, HitCodesOfButtonFrameTextAndImageButtons) {
  auto* e = MakeEdit("buttonedit");
  auto hit = [&](TPoint windowPoint) {
    TPoint s = OnScreen(e, windowPoint);
    return SendMessage(HWND(e), WM_NCHITTEST, 0, MAKELPARAM(s.X, s.Y));
  };
  EXPECT_EQ(hit({140, 12}), HT_EDIT_BUTTON);
  EXPECT_EQ(hit({2, 2}), HT_EDIT_FRAME);
  EXPECT_EQ(hit({20, 10}), HTCLIENT);
  EXPECT_TRUE(e->MouseInside());

  auto* images = new TCustomImageList(form);
  images->SetSize(10, 10);
  TBitmap strip;
  strip.SetSize(20, 10);
  images->Add(strip);
  e->SetImages(images);
  e->SetLeftImageIndex(0);
  e->SetRightImageIndex(1);
  EXPECT_EQ(hit({8 + 3, 4 + 8}), HT_EDIT_LEFT_IMAGE);
  EXPECT_EQ(hit({130 - 3, 4 + 8}), HT_EDIT_RIGHT_IMAGE);
  // The text keeps clear of both.
  EXPECT_EQ(e->EditRect().Left, 12);
  EXPECT_EQ(e->EditRect().Right, e->ClientWidth() - 12);
}

TEST_F(SkinEditTest, FontAndColoursFromTheDescription) {
  auto* other = MakeEdit("missing", 100);
  auto* e = MakeEdit("buttonedit");
  EXPECT_EQ(e->Font().Name(), "Tahoma");
  EXPECT_EQ(e->Font().Color(), TColor(255));
  Move(OnScreen(e, {20, 10}));
  EXPECT_EQ(e->Font().Color(), TColor(65280));  // hover
  Move({5, 5});
  hp->AdvanceClock(kEditHoverMs);
  Pump();
  EXPECT_EQ(e->Font().Color(), TColor(255));
  e->SetFocus();
  Pump();
  EXPECT_EQ(e->Font().Color(), TColor(65280));  // focus
  other->SetFocus();
  Pump();
  e->SetEnabled(false);
  e->ChangeSkinData();
  EXPECT_EQ(e->Font().Color(), TColor(8421504));
}

TEST_F(SkinEditTest, PushButtonClicksAndFocusesTheEdit) {
  auto* e = MakeEdit("buttonedit");
  int clicks = 0;
  e->OnButtonClick = [&](TObject*) { ++clicks; };
  Click(OnScreen(e, {140, 12}));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(e->Focused());
  EXPECT_FALSE(e->ButtonPressed());
  // Leaving the window clears the hover state on the next timer tick.
  Move({5, 5});
  hp->AdvanceClock(kEditHoverMs);
  Pump();
  EXPECT_FALSE(e->MouseInside());
  EXPECT_FALSE(e->ButtonHot());
}

TEST_F(SkinEditTest, ButtonHandlerMayFreeTheEdit) {
  auto* e = MakeEdit("buttonedit");
  e->OnButtonClick = [](TObject* sender) { delete static_cast<TqzSkinEdit*>(sender); };
  TComponentRef<TqzSkinEdit> ref(e);
  Click(OnScreen(e, {140, 12}));
  EXPECT_FALSE(ref);
  Move({5, 5});
  hp->AdvanceClock(kEditHoverMs);
  Pump();
}

TEST_F(SkinEditTest, EnterAndEscapeReachTheDefaultAndCancelButtons) {
  auto* e = MakeEdit("buttonedit");
  int ok = 0, cancel = 0;
  auto* okButton = new TButton(form);
  okButton->SetParent(form);
  okButton->SetBounds(20, 100, 60, 24);
  okButton->SetDefault(true);
  okButton->OnClick = [&](TObject*) { ++ok; };
  auto* cancelButton = new TButton(form);
  cancelButton->SetParent(form);
  cancelButton->SetBounds(100, 100, 60, 24);
  cancelButton->SetCancel(true);
  cancelButton->OnClick = [&](TObject*) { ++cancel; };
  e->SetText("path");
  e->SetFocus();
  Pump();
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(cancel, 1);
  EXPECT_EQ(e->Text(), "path");
  // Without such buttons the keys still type nothing.
  okButton->SetDefault(false);
  e->SetFocus();
  Pump();
  hp->InjectText("\r");
  Pump();
  EXPECT_EQ(e->Text(), "path");
}

// Disabled, the edit draws its text itself: description's font in the
// disabled colour over the field, 2 pixels in when left-aligned, 1 pixel
// short of the right edge when right-aligned, 1 pixel left of the middle
// when centred. Every pixel of the text area is checked.
TEST_F(SkinEditTest, DisabledTextStandsWhereItsAlignmentPutsIt) {
  auto* e = MakeEdit("buttonedit");
  e->SetText("Wide");
  e->SetEnabled(false);
  TBitmap frame;
  CreateHSkinImage(8, 20, frame, false, 150, {0, 0, 60, 24}, SkinPicture());
  const TRect text = e->TextRect();
  const int cw = text.Width(), ch = text.Height();
  ASSERT_EQ(cw, e->ClientWidth());
  const std::pair<TAlignment, const char*> cases[] = {
      {taLeftJustify, "left"}, {taRightJustify, "right"}, {taCenter, "centre"}};
  for (auto [alignment, name] : cases) {
    e->SetAlignment(alignment);
    Pump();
    TBitmap expected(cw, ch);
    TCanvas& c = expected.Canvas();
    c.CopyRect({0, 0, cw, ch}, frame.Canvas(), text);
    c.Font().Assign(e->Font());
    c.Font().SetColor(TColor(8421504));
    const int tw = c.TextWidth("Wide");
    const int x = alignment == taLeftJustify ? 2 : alignment == taRightJustify ? cw - tw - 1 : (cw - tw) / 2 - 1;
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.TextRect({0, 0, cw, ch}, x, (ch - c.TextHeight("Wg")) / 2, "Wide");
    const TPixmap screen = hp->ComposeScreen();
    const TPoint origin = OnScreen(e, text.TopLeft());
    for (int y = 0; y < ch; ++y)
      for (int px = 0; px < cw; ++px)
        ASSERT_EQ(screen.At(origin.X + px, origin.Y + y), Rgb(c.Pixel(px, y))) << name << " " << px << "," << y;
  }
}

// Changes of the frame's thickness take effect on the living window: the
// client area follows, the frame is painted anew, and the text, the
// selection and the focus stay.
TEST_F(SkinEditTest, FrameChangesKeepTextSelectionAndFocus) {
  auto* e = MakeEdit("missing", 100);
  e->SetButtonMode(false);
  e->SetText("hello");
  e->SetFocus();
  e->SetSelStart(1);
  e->SetSelLength(3);
  Pump();
  ASSERT_EQ(e->ClientWidth(), 96);
  auto kept = [&](const char* step) {
    EXPECT_EQ(e->Text(), "hello") << step;
    EXPECT_EQ(e->SelStart(), 1) << step;
    EXPECT_EQ(e->SelLength(), 3) << step;
    EXPECT_TRUE(e->Focused()) << step;
  };
  // The plain look's button needs room beside the text, and shows.
  e->SetButtonMode(true);
  Pump();
  EXPECT_EQ(e->ClientWidth(), 100 - 2 - 22);
  EXPECT_EQ(WindowPixel(e, 85, 5), Rgb(PlainFaceColor()));
  kept("button mode");
  e->SetTransparent(false);
  Pump();
  EXPECT_EQ(WindowPixel(e, 85, 5), Rgb(PlainFaceColor()));
  kept("transparency");

  // Linking a skin takes its insets; unlinking gives them back.
  e->SetSkinDataName("buttonedit");
  e->SetSkinData(skin.get());
  Pump();
  ASSERT_EQ(e->Height(), 24);
  EXPECT_EQ(e->ClientHeight(), 16);
  kept("skin linked");
  e->SetSkinData(nullptr);
  Pump();
  EXPECT_EQ(e->ClientHeight(), 20);
  EXPECT_EQ(e->ClientOrigin(), OnScreen(e, {2, 2}));
  EXPECT_EQ(WindowPixel(e, 0, 0), Rgb(PlainShadowColor()));
  kept("skin unlinked");
}

// ---- context menu and read-only, on a form with a skinning controller

class SkinEditMenuTest : public SkinEditTest {
 protected:
  void SetUp() override {
    SkinEditTest::SetUp();
    orvane = new TqzOrvane(form);
    menuSkin = new TqzSkinData(form);
    menuSkin->LoadFromCompressedData(MainSkin().Compressed);
    orvane->SetSkinData(menuSkin);
    Pump();
    edit = MakeEdit("buttonedit");
    edit->SetFocus();
    Pump();
  }
  void OpenMenu() {
    TPoint at = edit->ClientToScreen({10, 5});
    hp->InjectMouseDown(TMouseButtonId::Right, at);
    hp->InjectMouseUp(TMouseButtonId::Right, at);
    Pump();
  }
  // Enabled state of the menu's items by caption.
  bool ItemEnabled(const std::string& caption) {
    TMenuItem* item = edit->ContextMenu()->Items()->Find(caption);
    return item && item->Enabled();
  }
  void Choose(const std::string& caption) {
    TqzSkinPopupWindow* w = orvane->SkinMenu().Level(0);
    ASSERT_NE(w, nullptr);
    TMenuItem* item = edit->ContextMenu()->Items()->Find(caption);
    orvane->SkinMenu().ReportItem(*w, w->IndexOfItem(item), true, true);
    Pump();
  }
  TqzOrvane* orvane = nullptr;
  TqzSkinData* menuSkin = nullptr;
  TqzSkinEdit* edit = nullptr;
};

TEST_F(SkinEditMenuTest, ItemsFollowTheEditState) {
  edit->SetText("");
  OpenMenu();
  ASSERT_TRUE(orvane->SkinMenu().Visible());
  ASSERT_NE(edit->ContextMenu(), nullptr);
  ASSERT_EQ(edit->ContextMenu()->Items()->Count(), 8);
  EXPECT_FALSE(ItemEnabled("Select All"));  // nothing to select
  EXPECT_FALSE(ItemEnabled("Undo"));
  orvane->SkinMenu().CloseAll();

  edit->SetText("abc");
  edit->SelectAll();
  hp->SetClipboardText("");
  OpenMenu();
  EXPECT_FALSE(ItemEnabled("Select All"));  // already all
  EXPECT_TRUE(ItemEnabled("Cut"));
  EXPECT_TRUE(ItemEnabled("Copy"));
  EXPECT_FALSE(ItemEnabled("Paste"));
  EXPECT_TRUE(ItemEnabled("Delete"));
  Choose("Cut");
  EXPECT_EQ(edit->Text(), "");
  EXPECT_EQ(hp->ClipboardText(), "abc");
  EXPECT_EQ(edit->ContextMenu(), nullptr);  // freed after the command

  OpenMenu();
  EXPECT_TRUE(ItemEnabled("Undo"));
  EXPECT_TRUE(ItemEnabled("Paste"));
  Choose("Undo");
  EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(SkinEditMenuTest, KeyboardOpensTheMenuAtTheMiddleOfTheEdit) {
  edit->SetText("abc");
  Key(VK_F10, kModShift);
  ASSERT_TRUE(orvane->SkinMenu().Visible());
  TRect menu;
  GetWindowRect(HWND(orvane->SkinMenu().Level(0)), menu);
  TPoint middle = edit->ClientToScreen({edit->ClientWidth() / 2, edit->ClientHeight() / 2});
  EXPECT_EQ(menu.TopLeft(), middle);
  orvane->SkinMenu().CloseAll();
}

TEST_F(SkinEditMenuTest, ReadOnlyRefusesKeysPasteCutAndTheMenu) {
  edit->SetText("keep");
  edit->SetReadOnly(true);
  edit->SelectAll();
  hp->SetClipboardText("x");
  Key(VK_DELETE);
  Key('X', kModCtrl);
  Key('V', kModCtrl);
  hp->InjectText("a");
  Pump();
  EXPECT_EQ(edit->Text(), "keep");
  Key('C', kModCtrl);
  EXPECT_EQ(hp->ClipboardText(), "keep");
  OpenMenu();
  EXPECT_FALSE(ItemEnabled("Cut"));
  EXPECT_FALSE(ItemEnabled("Paste"));
  EXPECT_FALSE(ItemEnabled("Delete"));
  EXPECT_TRUE(ItemEnabled("Copy"));
  // Even a disabled item forced through the edit's message changes nothing.
  edit->Perform(WM_PASTE);
  edit->Perform(WM_CLEAR);
  EXPECT_EQ(edit->Text(), "keep");
  orvane->SkinMenu().CloseAll();
}

TEST_F(SkinEditMenuTest, AnItemMayFreeTheEdit) {
  edit->SetText("abc");
  edit->SelectAll();
  edit->OnChange = [](TObject* sender) { delete static_cast<TqzSkinEdit*>(sender); };
  TComponentRef<TqzSkinEdit> ref(edit);
  OpenMenu();
  Choose("Delete");
  EXPECT_FALSE(ref);
  Pump();
}

// An MDI child has no menus of its own: the edit's menu belongs to the main
// form and opens through its controller; on any other form it stays there.
TEST_F(SkinEditMenuTest, AnMdiChildsEditShowsItsMenuThroughTheMainForm) {
  Application->SetMainForm(form);
  form->SetFormStyle(fsMDIForm);
  TForm* child = MakeForm({150, 150, 450, 300}, bsNone);
  child->SetFormStyle(fsMDIChild);
  auto* e = new TqzSkinEdit(child);
  e->SetParent(child);
  e->SetBounds(10, 10, 150, 20);
  e->SetText("abc");
  TForm* other = MakeForm({500, 150, 800, 300}, bsNone);
  auto* e2 = new TqzSkinEdit(other);
  e2->SetParent(other);
  e2->SetBounds(10, 10, 150, 20);
  Pump();
  auto rightClick = [&](TqzSkinEdit* target) {
    TPoint at = target->ClientToScreen({10, 5});
    hp->InjectMouseDown(TMouseButtonId::Right, at);
    hp->InjectMouseUp(TMouseButtonId::Right, at);
    Pump();
  };
  EXPECT_EQ(EditMenuForm(e), form);
  rightClick(e);
  ASSERT_NE(e->ContextMenu(), nullptr);
  EXPECT_EQ(e->ContextMenu()->Owner(), form);
  EXPECT_TRUE(orvane->SkinMenu().Visible());
  orvane->SkinMenu().CloseAll();
  Pump();

  // An edit on an ordinary form keeps its menu on that form.
  EXPECT_EQ(EditMenuForm(e2), other);
}

// ---- numeric edit

class SkinNumEditTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 400, 200});
    edit = new TqzSkinNumEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 100, 20);
    edit->SetAutoSelect(false);
    edit->SetFocus();
    Pump();
  }
  void Type(const std::string& s) {
    hp->InjectText(s);
    Pump();
  }
  TForm* form = nullptr;
  TqzSkinNumEdit* edit = nullptr;
};

TEST_F(SkinNumEditTest, MinusOnlyAtTheStart) {
  Type("12a3");
  EXPECT_EQ(edit->Text(), "123");
  EXPECT_EQ(edit->BeepCount(), 1);
  edit->SetSelStart(1);
  Type("-");  // in the middle
  EXPECT_EQ(edit->Text(), "123");
  EXPECT_EQ(edit->BeepCount(), 2);
  edit->SetSelStart(0);
  Type("-");
  EXPECT_EQ(edit->Text(), "-123");
  edit->SetSelStart(0);
  Type("-");  // a second one
  EXPECT_EQ(edit->Text(), "-123");
  edit->SetSelStart(0);
  edit->SetSelLength(2);
  Type("-");  // over a selection from 0
  EXPECT_EQ(edit->Text(), "-23");
}

TEST_F(SkinNumEditTest, DecimalSeparatorOnceInFloatModeAndArrowsStep) {
  Type("1.5");
  EXPECT_EQ(edit->Text(), "15");
  edit->SetFloat(true);
  Type(".2.");
  EXPECT_EQ(edit->Text(), "15.2");
  int ups = 0, downs = 0;
  edit->OnUpClick = [&] { ++ups; };
  edit->OnDownClick = [&] { ++downs; };
  Key(VK_UP);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(downs, 2);
  edit->SetEditorEnabled(false);
  Key(VK_BACK);
  Type("7");
  EXPECT_EQ(edit->Text(), "15.2");
}

}  // namespace
}  // namespace qz::testing
