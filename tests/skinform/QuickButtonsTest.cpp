// Quick buttons on the caption: places, presses, clicks, menus, hot
// tracking, their looks and their streaming in form resources.
#include <gtest/gtest.h>

#include "host/components/FormResource.h"
#include "tests/skinform/QuickButtonsTestRig.h"

namespace qz {
namespace {

using testing::TCaptionRig;
using testing::TTarget;

// With 16 x 16 images the margin is 4: a plain button is 20 x 20 at y 3.
constexpr TRect kFirstLeft{9, 3, 29, 23};
constexpr TPoint kOnFirst{15, 10};
constexpr TPoint kOffButtons{100, 10};

TqzQuickButtonItem* AddButton(TCaptionRig& rig, int image = 0) {
  TqzQuickButtonItem* item = rig.Quick.Add();
  item->ImageIndex = image;
  return item;
}

int Brightness(uint32_t pixel) { return int((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)); }

TEST(QuickButtonsLayout, PlacesFollowTheItemsAndNeedTheImageList) {
  TCaptionRig rig;
  AddButton(rig);
  AddButton(rig)->Visible = false;
  AddButton(rig)->Position = qzqbpRight;
  auto layout = rig.Caption->LayoutExtras();
  ASSERT_EQ(layout.QuickButtons.size(), 3u);
  EXPECT_EQ(layout.QuickButtons[0], kFirstLeft);
  EXPECT_TRUE(layout.QuickButtons[1].IsEmpty());
  EXPECT_EQ(layout.QuickButtons[2], (TRect{171, 3, 191, 23}));
  EXPECT_EQ(layout.TextLeft, 29);
  EXPECT_EQ(layout.TextRight, 171);
  EXPECT_TRUE(layout.QuickButtonsShown);

  // The drag point leaves the visible buttons out, but only while the image
  // list makes them show.
  EXPECT_FALSE(rig.Caption->CaptionDragPoint(kOnFirst));
  EXPECT_FALSE(rig.Caption->CaptionDragPoint({180, 10}));
  EXPECT_TRUE(rig.Caption->CaptionDragPoint(kOffButtons));
  EXPECT_FALSE(rig.Caption->CaptionDragPoint({200, 10}));  // off the caption
  rig.Caption->Extras().QuickImageList = nullptr;
  EXPECT_TRUE(rig.Caption->LayoutExtras().QuickButtons.empty());
  EXPECT_TRUE(rig.Caption->CaptionDragPoint(kOnFirst));

  // Client mode has no quick buttons at all.
  rig.Caption->Extras().QuickImageList = &rig.Images;
  rig.Host.Client = true;
  EXPECT_TRUE(rig.Caption->LayoutExtras().QuickButtons.empty());
  EXPECT_EQ(rig.Caption->QuickButtonAt(kOnFirst), -1);
}

TEST(QuickButtonsInput, CheckableButtonTogglesDownAndClicksOnEachPress) {
  TCaptionRig rig;
  TqzQuickButtonItem* item = AddButton(rig);
  item->Checkable = true;
  int clicks = 0, downs = 0;
  item->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, item);
    ++clicks;
  };
  item->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  rig.Press(kOnFirst);
  EXPECT_TRUE(item->Down);
  EXPECT_EQ(clicks, 1);
  rig.Release(kOnFirst);
  EXPECT_EQ(clicks, 1);  // the release adds nothing
  rig.Press(kOnFirst);
  EXPECT_FALSE(item->Down);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(rig.Host.Events, (std::vector<std::string>{"down:caption", "down:caption"}));
}

TEST(QuickButtonsInput, PlainButtonClicksOnlyOnAReleaseOverItself) {
  TCaptionRig rig;
  TqzQuickButtonItem* item = AddButton(rig);
  int clicks = 0;
  std::vector<TPoint> downs;
  item->OnClick = [&](TObject*) { ++clicks; };
  item->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    EXPECT_EQ(b, mbLeft);
    downs.push_back({x, y});
  };
  rig.Press(kOnFirst);
  EXPECT_EQ(downs, (std::vector<TPoint>{{6, 7}}));  // relative to the button
  EXPECT_EQ(rig.Caption->PressedQuickButton(), 0);
  EXPECT_EQ(clicks, 0);
  rig.Release(kOnFirst);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(rig.Caption->PressedQuickButton(), -1);

  rig.Press(kOnFirst);
  rig.Release(kOffButtons);
  EXPECT_EQ(downs.size(), 2u);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(rig.Caption->PressedQuickButton(), -1);

  // A right press, a press off the buttons and a disabled button do nothing.
  rig.Press(kOnFirst, TqzMouseButton::mbRight);
  rig.Press(kOffButtons);
  item->Enabled = false;
  rig.Press(kOnFirst);
  rig.Release(kOnFirst);
  EXPECT_EQ(downs.size(), 2u);
  EXPECT_EQ(clicks, 1);
}

TEST(QuickButtonsInput, ClickHandlerMayClearTheButtons) {
  TCaptionRig rig;
  TqzQuickButtonItem* item = AddButton(rig);
  item->OnClick = [&](TObject*) { rig.Quick.Clear(); };
  rig.Press(kOnFirst);
  rig.Release(kOnFirst);
  EXPECT_EQ(rig.Quick.Count(), 0);
  rig.Move(kOnFirst);
  rig.Press(kOnFirst);
  EXPECT_EQ(rig.Caption->PressedQuickButton(), -1);
  rig.Paint();
}

TEST(QuickButtonsInput, MenuButtonOpensItsMenuBelowAndStaysDownUntilItCloses) {
  TCaptionRig rig;
  TPopupMenu menu(nullptr);
  TqzQuickButtonItem* item = AddButton(rig);
  item->SetPopupMenu(&menu);
  int clicks = 0;
  item->OnClick = [&](TObject*) { ++clicks; };
  EXPECT_EQ(rig.Caption->LayoutExtras().QuickButtons[0].Width(), 27);  // room for the arrow
  rig.Press(kOnFirst);
  EXPECT_EQ(rig.Host.Menus, 1);
  EXPECT_EQ(rig.Host.EventsAtMenu, (std::vector<size_t>{1}));  // the press event went out first
  rig.Release(kOnFirst);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(rig.Caption->PressedQuickButton(), 0);
  rig.Caption->MenuClosed();
  EXPECT_EQ(rig.Caption->PressedQuickButton(), -1);
}

TEST(QuickButtonsInput, HotTrackingHintsAndDeactivation) {
  TCaptionRig rig;
  AddButton(rig)->Hint = "Pin";
  rig.Move(kOnFirst);
  EXPECT_EQ(rig.Caption->HotQuickButton(), 0);
  EXPECT_EQ(rig.Caption->Hint(), "");  // QuickButtonsShowHint is off
  rig.Caption->Extras().ShowHint = true;
  EXPECT_EQ(rig.Caption->Hint(), "Pin");
  const int redraws = rig.Host.CaptionRedraws;
  rig.Move({kOnFirst.X + 1, kOnFirst.Y});
  EXPECT_EQ(rig.Host.CaptionRedraws, redraws);  // no change, no repaint
  rig.Move(kOffButtons);
  EXPECT_EQ(rig.Caption->HotQuickButton(), -1);
  EXPECT_EQ(rig.Host.CaptionRedraws, redraws + 1);
  EXPECT_EQ(rig.Caption->Hint(), "");

  rig.Move(kOnFirst);
  rig.Press(kOnFirst);
  rig.Caption->SetFormActive(false, true);
  EXPECT_EQ(rig.Caption->HotQuickButton(), -1);
  EXPECT_EQ(rig.Caption->PressedQuickButton(), -1);
  rig.Move(kOnFirst);
  rig.Caption->MouseLeave();
  EXPECT_EQ(rig.Caption->HotQuickButton(), -1);
}

// Whether every pixel outside `r` is the same in both targets, and some inside differ.
bool DiffersOnlyInside(const TTarget& a, const TTarget& b, const TRect& r) {
  bool inside = false;
  for (int y = 0; y < a.Pixels().Height(); ++y)
    for (int x = 0; x < a.Pixels().Width(); ++x) {
      if (a.At(x, y) == b.At(x, y)) continue;
      if (!r.Contains({x, y})) return false;
      inside = true;
    }
  return inside;
}

TEST(QuickButtonsLook, HotIsLighterDownDarkerOnlyInsideTheButton) {
  TCaptionRig rig;
  TqzQuickButtonItem* item = AddButton(rig);
  const auto normal = rig.Paint();
  EXPECT_EQ(normal->At(12, 6), 0x00C000u);  // the image, centred
  rig.Move(kOnFirst);
  const auto hot = rig.Paint();
  EXPECT_TRUE(DiffersOnlyInside(*normal, *hot, kFirstLeft));
  EXPECT_GT(Brightness(hot->At(10, 4)), Brightness(normal->At(10, 4)));
  EXPECT_EQ(hot->At(9, 3), normal->At(9, 3));  // cut corner

  rig.Move(kOffButtons);
  item->Down = true;
  const auto down = rig.Paint();
  EXPECT_TRUE(DiffersOnlyInside(*normal, *down, kFirstLeft));
  EXPECT_LT(Brightness(down->At(10, 4)), Brightness(normal->At(10, 4)));
}

TEST(QuickButtonsLook, AlphaMaskShapesThePlate) {
  // Active picture 1 is black (transparent) in its left half.
  TCaptionRig rig("quickbuttonalphamaskpictureindex=1\n");
  AddButton(rig);
  const auto normal = rig.Paint();
  rig.Move(kOnFirst);
  const auto hot = rig.Paint();
  EXPECT_EQ(hot->At(10, 4), normal->At(10, 4));
  EXPECT_NE(hot->At(27, 4), normal->At(27, 4));
}

// A component holding both collections, as the controller will.
class TCaptionExtrasHolder : public TComponent {
  QZ_CLASS(TCaptionExtrasHolder, TComponent)
 public:
  explicit TCaptionExtrasHolder(TComponent* owner = nullptr)
      : TComponent(owner), Quick(this), Tabs(this) {}
  TqzQuickButtonItems Quick;
  TqzCaptionTabs Tabs;
};

}  // namespace

QZ_PUBLISHED(TCaptionExtrasHolder, TComponent) {
  b.Factory([](TComponent* owner) { return new TCaptionExtrasHolder(owner); });
  b.Collection("QuickButtons", [](TCaptionExtrasHolder& h) -> TCollection& { return h.Quick; });
  b.Collection("CaptionTabs", [](TCaptionExtrasHolder& h) -> TCollection& { return h.Tabs; });
}

namespace {

TEST(QuickButtonsStreaming, BothCollectionsRoundTripThroughAFormResource) {
  TCaptionExtrasHolder form;
  form.SetName("Form1");
  auto* menu = new TPopupMenu(&form);
  menu->SetName("PopupMenu1");
  TqzQuickButtonItem* b = form.Quick.Add();
  b->ImageIndex = 3;
  b->Hint = "Pin";
  b->Caption = "it's";
  b->Position = qzqbpRight;
  b->Checkable = true;
  b->Down = true;
  b->Enabled = false;
  b->SetPopupMenu(menu);
  form.Quick.Add()->Visible = false;
  TqzCaptionTab* t = form.Tabs.Add();
  t->Caption = "&File";
  t->ImageIndex = 2;
  t->Hint = "Files";
  form.Tabs.Add()->Visible = false;
  const std::string text = WriteComponentRes(&form);

  TCaptionExtrasHolder copy;
  ReadComponentRes(&copy, text);
  ASSERT_EQ(copy.Quick.Count(), 2);
  const TqzQuickButtonItem& qb = *copy.Quick.Items(0);
  EXPECT_EQ(qb.ImageIndex, 3);
  EXPECT_EQ(qb.Hint, "Pin");
  EXPECT_EQ(qb.Caption, "it's");
  EXPECT_EQ(qb.Position, qzqbpRight);
  EXPECT_TRUE(qb.Checkable && qb.Down && !qb.Enabled && qb.Visible);
  ASSERT_NE(qb.PopupMenu(), nullptr);
  EXPECT_EQ(qb.PopupMenu()->Name(), "PopupMenu1");
  EXPECT_FALSE(copy.Quick.Items(1)->Visible);
  ASSERT_EQ(copy.Tabs.Count(), 2);
  EXPECT_EQ(copy.Tabs.Items(0)->Caption, "&File");
  EXPECT_EQ(copy.Tabs.Items(0)->ImageIndex, 2);
  EXPECT_EQ(copy.Tabs.Items(0)->Hint, "Files");
  EXPECT_FALSE(copy.Tabs.Items(1)->Visible);
  EXPECT_EQ(WriteComponentRes(&copy), text);

  // Freeing the menu clears the button's reference.
  delete copy.Quick.Items(0)->PopupMenu();
  EXPECT_EQ(copy.Quick.Items(0)->PopupMenu(), nullptr);
}

TEST(QuickButtonsStreaming, ClickHandlersBindFromTheResource) {
  TCaptionExtrasHolder form;
  int clicks = 0;
  form.RegisterHandler("PinClick", TNotifyEvent([&](TObject*) { ++clicks; }));
  ReadComponentRes(&form,
                   "object Form1: TCaptionExtrasHolder\n"
                   "  QuickButtons = <\n    item\n      OnClick = PinClick\n    end>\nend\n");
  ASSERT_EQ(form.Quick.Count(), 1);
  ASSERT_TRUE(form.Quick.Items(0)->OnClick);
  form.Quick.Items(0)->OnClick(nullptr);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace qz
