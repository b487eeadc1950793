// The MDI form's window menu items of its children, the maximised look of
// the MDI form (caption, menu bar buttons) passed between children, and the
// pre-processing the MDI form hands to its active child.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skinform/MDIFormRig.h"

namespace qz {
namespace {

class MDIWindowMenuTest : public testing::MDIFormTest {
 protected:
  std::vector<std::string> ItemNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < window_->Count(); ++i) names.push_back(window_->Items(i)->Name());
    return names;
  }
  TPoint BarItemCentre(int index) const {
    const TRect r = bar_->Items()[size_t(index)].Rect;
    return bar_->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  // Opens the window menu on the bar and clicks its `index`-th entry.
  void ClickWindowEntry(int index) {
    Click(BarItemCentre(0));
    TqzSkinMenu& engine = s_.Orvane->SkinMenu();
    ASSERT_TRUE(engine.Visible());
    TqzSkinPopupWindow& w = *engine.Level(0);
    ASSERT_GT(w.ItemCount(), index);
    const TRect r = w.Item(index).ItemRect;
    TRect bounds;
    GetWindowRect(w.Handle(), bounds);
    Click({bounds.Left + (r.Left + r.Right) / 2, bounds.Top + (r.Top + r.Bottom) / 2});
    Pump();
  }
};

TEST_F(MDIWindowMenuTest, ItemsFollowShownHiddenRenamedAndDestroyedChildren) {
  MakeMain();
  EXPECT_EQ(window_->Count(), 0);
  auto a = Child("A");
  auto b = Child("B");
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"A_ORVCHILDITEM", "B_ORVCHILDITEM"}));
  TComponentRef<TMenuItem> itemA = s_.Orvane->MDIWindowMenuItem(*a.Form);
  ASSERT_TRUE(itemA);
  EXPECT_EQ(itemA->Caption(), "A caption");

  b.Form->Hide();
  Pump();
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"A_ORVCHILDITEM"}));
  b.Form->Show();
  Pump();
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"A_ORVCHILDITEM", "B_ORVCHILDITEM"}));

  a.Form->SetCaption("Renamed");
  Pump();
  EXPECT_EQ(itemA->Caption(), "Renamed");

  delete a.Form;
  Pump();
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"B_ORVCHILDITEM"}));
  EXPECT_FALSE(itemA);   // freed, not only taken out

  // Another window menu: the items move there.
  auto* other = new TMenuItem(main_);
  menu_->Items()->Add(other);
  main_->SetWindowMenu(other);
  main_->Perform(CM_MDICHANGED);
  EXPECT_EQ(window_->Count(), 0);
  ASSERT_EQ(other->Count(), 1);
  EXPECT_EQ(other->Items(0)->Name(), "B_ORVCHILDITEM");
  // The menu the items live in is freed before the children.
  delete other;
  delete b.Form;
  Pump();
}

TEST_F(MDIWindowMenuTest, AnEntryClickedOnTheBarActivatesItsChild) {
  MakeMain();
  auto a = Child("A");
  auto b = Child("B");
  ASSERT_EQ(main_->ActiveMDIChild(), b.Form);
  ClickWindowEntry(0);
  EXPECT_EQ(main_->ActiveMDIChild(), a.Form);
  EXPECT_FALSE(s_.Orvane->SkinMenu().Visible());
}

TEST_F(MDIWindowMenuTest, AChildThatFreesItselfWhenItsEntryIsClicked) {
  MakeMain();
  auto a = Child("A");
  auto b = Child("B");
  TComponentRef<TForm> refA(a.Form);
  TComponentRef<TMenuItem> itemA = s_.Orvane->MDIWindowMenuItem(*a.Form);
  a.Form->OnActivate = [form = a.Form](TObject*) { delete form; };
  ClickWindowEntry(0);
  EXPECT_FALSE(refA);
  EXPECT_FALSE(itemA);
  EXPECT_EQ(ItemNames(), (std::vector<std::string>{"B_ORVCHILDITEM"}));
  EXPECT_EQ(main_->ActiveMDIChild(), b.Form);

  // The whole MDI form freed from an entry's click.
  TComponentRef<TForm> refMain(main_);
  b.Form->OnActivate = [this](TObject*) { delete main_; };
  [[maybe_unused]] auto c = Child("C");
  ClickWindowEntry(0);
  EXPECT_FALSE(refMain);
}

TEST_F(MDIWindowMenuTest, TheMaximisedLookPassesToTheNextChildAndBackToNormal) {
  MakeMain();
  auto a = Child("A");
  auto b = Child("B");
  bar_->SetSkinData(nullptr);   // the plain set of buttons (the skin names none)
  EXPECT_EQ(MainCaption(), "Main");
  b.Orvane->Maximize();
  Pump();
  EXPECT_EQ(MainCaption(), "Main - [B caption]");
  EXPECT_EQ(bar_->MDIButtons().size(), 4u);

  // Activating another child: it is maximised before it is drawn active.
  TWindowState stateWhenActive = wsNormal;
  a.Form->OnActivate = [&](TObject*) { stateWhenActive = a.Orvane->ActualWindowState(); };
  ClickWindowEntry(0);
  EXPECT_EQ(main_->ActiveMDIChild(), a.Form);
  EXPECT_EQ(stateWhenActive, wsMaximized);
  EXPECT_EQ(MainCaption(), "Main - [A caption]");
  EXPECT_EQ(bar_->MDIButtons().size(), 4u);
  a.Form->SetCaption("A2");
  Pump();
  EXPECT_EQ(MainCaption(), "Main - [A2]");

  // The maximised child is destroyed: the next one shows maximised.
  a.Form->OnActivate = nullptr;
  delete a.Form;
  Pump();
  EXPECT_EQ(main_->ActiveMDIChild(), b.Form);
  EXPECT_EQ(b.Orvane->ActualWindowState(), wsMaximized);
  EXPECT_EQ(MainCaption(), "Main - [B caption]");
  EXPECT_EQ(bar_->MDIButtons().size(), 4u);

  // The last one goes: the normal look.
  delete b.Form;
  Pump();
  EXPECT_EQ(MainCaption(), "Main");
  EXPECT_TRUE(bar_->MDIButtons().empty());
  EXPECT_EQ(SendMessage(main_->Handle(), kMDIQueryMaximized, 0, 0), 0);
  // A new child comes normal.
  auto c = Child("C");
  EXPECT_EQ(c.Orvane->ActualWindowState(), wsNormal);
}

TEST_F(MDIWindowMenuTest, APressOnTheMDIFormClosesWhatTheActiveChildHasOpen) {
  MakeMain();
  auto a = Child("A");
  // A maximised child's system menu, opened from the bar.
  bar_->SetSkinData(nullptr);
  a.Orvane->Maximize();
  Pump();
  const TRect r = bar_->MDIButtons()[0].Rect;
  Click(bar_->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
  ASSERT_TRUE(a.Orvane->MenuShowing());
  main_->Perform(WM_LBUTTONDOWN, 0, 0);
  Pump();
  EXPECT_FALSE(a.Orvane->MenuShowing());

  // The child's keyboard menu mode ends likewise.
  a.Orvane->EnterMainMenuMode();
  ASSERT_TRUE(a.Orvane->InMainMenuMode());
  main_->Perform(WM_LBUTTONDOWN, 0, 0);
  EXPECT_FALSE(a.Orvane->InMainMenuMode());
}

}  // namespace
}  // namespace qz
