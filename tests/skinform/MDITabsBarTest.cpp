// The MDI tabs bar: its geometry and drop index, the tabs kept in step with
// the children by the MDI form's controller, the mouse (selecting, dragging,
// closing, the hidden tabs' menu), Ctrl+Tab, partial repaints and handlers
// that free what the bar is working on.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/form/SkinMDITabsBar.h"
#include "tests/skinform/MDIFormRig.h"

namespace qz {
namespace {

// ---------------------------------------------------------------------------
// Geometry

struct LayoutCase {
  const char* name;
  TqzMDITabsMetrics m;
  int tabWidth, shown, hidden, lastRight;
  TRect add;
  bool menuButton;
};

TEST(MDITabsLayout, Table) {
  auto metrics = [](int w, int count, bool add = false, int minWidth = 0, int kept = 0) {
    TqzMDITabsMetrics m;
    m.Width = w;
    m.Height = 21;
    m.Count = count;
    m.ShowAddButton = add;
    m.MinTabWidth = minWidth;
    m.KeptTabWidth = kept;
    return m;
  };
  const LayoutCase cases[] = {
      {"five on 315", metrics(315, 5), 60, 5, 0, 315, {}, false},
      // The last tab reaches W; the add button follows it (W = 315 - 19).
      {"five on 315 with add", metrics(315, 5, true), 56, 5, 0, 296, Bounds(298, 2, 14, 14), false},
      {"min 80 on 200", metrics(200, 4, false, 80), 80, 2, 2, 175, {}, true},
      {"min 80 on 200 with add", metrics(200, 4, true, 80), 80, 1, 3, 95, Bounds(97, 2, 14, 14), true},
      // Wide enough: DefaultTabWidth, nothing stretched.
      {"two on 400", metrics(400, 2, true), 100, 2, 0, 215, Bounds(217, 2, 14, 14), false},
      {"none", metrics(400, 0, true), 0, 0, 0, 0, Bounds(2, 2, 14, 14), false},
      // After a close the tabs keep their width, the last one too.
      {"kept width", metrics(315, 4, false, 0, 60), 60, 4, 0, 255, {}, false},
      // A kept width that no longer fits is given up.
      {"kept width too wide", metrics(200, 4, false, 0, 60), 46, 4, 0, 200, {}, false},
      {"narrower than the margins", metrics(10, 3), 0, 3, 0, 15, {}, false},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TqzMDITabsGeometry g = LayoutMDITabs(c.m);
    EXPECT_EQ(g.TabWidth, c.tabWidth);
    EXPECT_EQ(g.HiddenCount, c.hidden);
    int shown = 0, lastRight = 0;
    for (size_t i = 0; i < g.Tabs.size(); ++i) {
      if (!g.Shown[i]) {
        EXPECT_TRUE(g.Tabs[i].IsEmpty());
        continue;
      }
      ++shown;
      EXPECT_EQ(g.Tabs[i].Left, 15 + int(i) * c.tabWidth);
      lastRight = g.Tabs[i].Right;
    }
    EXPECT_EQ(shown, c.shown);
    if (shown) {
      EXPECT_EQ(lastRight, c.lastRight);
    }
    EXPECT_EQ(g.AddButton, c.add);
    EXPECT_EQ(!g.MenuButton.IsEmpty(), c.menuButton);
    // The menu button overlaps neither the tabs nor the add button.
    if (c.menuButton) {
      EXPECT_GE(g.MenuButton.Left, lastRight);
      if (!g.AddButton.IsEmpty()) {
        EXPECT_GE(g.MenuButton.Left, g.AddButton.Right);
      }
    }
  }
}

TEST(MDITabsLayout, DropIndexBothWays) {
  TqzMDITabsMetrics m;
  m.Width = 255;
  m.Height = 21;
  m.Count = 4;
  m.DefaultTabWidth = 60;
  const TqzMDITabsGeometry g = LayoutMDITabs(m);  // 15..75..135..195..255, middles 45 105 165 225
  struct Case {
    int dragged, offset, drop;
  } cases[] = {
      {0, 30, 0},   {0, 31, 1},  {0, 91, 2},  {0, 500, 3},  // right edge against later middles
      {3, -30, 3},  {3, -31, 2}, {3, -91, 1}, {3, -500, 0},  // left edge against earlier middles
      {1, -31, 0},  {1, 31, 2},  {2, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dragged << " by " << c.offset);
    const TRect shifted = DraggedMDITabRect(g.Tabs[size_t(c.dragged)], c.offset, g.W);
    EXPECT_GE(shifted.Left, 0);
    EXPECT_LE(shifted.Right, g.W);
    EXPECT_EQ(MDITabDropIndex(g, c.dragged, shifted), c.drop);
  }
  // Hidden tabs are no drop places.
  TqzMDITabsGeometry hidden = g;
  hidden.Shown[3] = false;
  hidden.Tabs[3] = {};
  EXPECT_EQ(MDITabDropIndex(hidden, 0, DraggedMDITabRect(g.Tabs[0], 500, g.W)), 2);
}

// ---------------------------------------------------------------------------
// On an MDI form

class MDITabsBarTest : public testing::MDIFormTest {
 protected:
  void MakeBar(int width = 600) {
    MakeMain();
    tabs_ = new TqzSkinMDITabsBar(main_);
    tabs_->SetParent(main_);
    tabs_->SetAlign(alNone);
    tabs_->SetBounds(0, 0, width, 21);
    tabs_->SetShowCloseButtons(true);
    s_.Orvane->SetMDITabsBar(tabs_);
    EXPECT_EQ(tabs_->Orvane(), s_.Orvane);
    Pump();
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (int i = 0; i < tabs_->TabCount(); ++i)
      out.push_back(tabs_->Tab(i).Child ? tabs_->Tab(i).Child->Caption() : "?");
    return out;
  }
  TPoint At(const TRect& r) const { return tabs_->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}); }
  TPoint TabCentre(int i) const { return At(tabs_->Tab(i).TabRect); }
  THeadlessWindow& MainWindow() const { return *static_cast<THeadlessWindow*>(main_->WindowData()->platform.get()); }
  TRect InWindow(TRect r) const {
    const TPoint clientInWindow = main_->ClientOrigin() - main_->BoundsRect().TopLeft();
    const TPoint o = tabs_->ClientToParent(r.TopLeft()) + clientInWindow;
    return {o.X, o.Y, o.X + r.Width(), o.Y + r.Height()};
  }

  TqzSkinMDITabsBar* tabs_ = nullptr;
};

TEST_F(MDITabsBarTest, TabsFollowTheChildren) {
  MakeBar();
  auto a = Child("A");
  auto b = Child("B");
  // A child whose controller refuses gets no tab and is asked once per show.
  int asked = 0;
  auto c = Child("C");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A caption", "B caption", "C caption"}));
  auto d = TSkinnedForm{};
  {
    auto* f = new TForm(Application);
    f->SetCaption("D");
    auto* o = new TqzOrvane(f);
    o->OnAcceptToMDITabsBar = [&](bool& accept) {
      ++asked;
      accept = false;
    };
    f->SetFormStyle(fsMDIChild);
    Pump();
    d = {f, nullptr, o};
  }
  EXPECT_EQ(tabs_->TabCount(), 3);
  a.Form->SetCaption("A2");
  Pump();
  EXPECT_EQ(asked, 1);

  b.Form->Hide();
  Pump();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A2", "C caption"}));
  b.Form->Show();
  Pump();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A2", "C caption", "B caption"}));
  delete a.Form;
  Pump();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"C caption", "B caption"}));
  d.Form->Hide();
  d.Form->Show();
  Pump();
  EXPECT_EQ(asked, 2);
  // The bar goes before the children; the controller forgets it.
  delete tabs_;
  EXPECT_EQ(s_.Orvane->MDITabsBar(), nullptr);
  c.Form->SetCaption("C2");
  Pump();
}

// The caption shows the child the tabs made active as the active one, and
// the child before it as inactive, though the focus never left the bar.
TEST_F(MDITabsBarTest, ChildrenActivatedFromTheBarShowActiveCaptions) {
  MakeBar();
  auto a = Child("A");
  auto b = Child("B");
  auto c = Child("C");
  auto captionActive = [](TqzOrvane& o) {
    for (auto& object : o.ObjectList())
      if (object->IsCaption()) return object->Active;
    return false;
  };
  auto* other = new TForm(Application);
  other->SetBoundsRect(Bounds(700, 500, 100, 100));
  // Which child the MDI client calls active, and which caption looks active
  // (none while another window is active).
  struct Step {
    const char* name;
    std::function<void()> act;
    TSkinnedForm* activeChild;
    TSkinnedForm* looksActive;
  } steps[] = {
      {"tab click", [&] { Click(TabCentre(0)); }, &a, &a},
      {"Ctrl+Tab", [&] { tabs_->StepChild(true); }, &c, &c},  // activation order A, C, B
      {"select (the hidden tabs' menu)", [&] { tabs_->SelectTab(tabs_->Tab(1)); }, &b, &b},
      {"another window activated", [&] { other->Show(); }, &b, nullptr},
      {"the MDI form activated again", [&] { main_->SetFocus(); }, &b, &b},
  };
  for (const Step& st : steps) {
    SCOPED_TRACE(st.name);
    st.act();
    Pump();
    ASSERT_EQ(Client().ActiveChild(), st.activeChild->Form);
    for (TSkinnedForm* child : {&a, &b, &c}) {
      SCOPED_TRACE(child->Form->Caption());
      const bool active = child == st.looksActive;
      EXPECT_EQ(child->Orvane->FormActive(), active);
      EXPECT_EQ(captionActive(*child->Orvane), active);
    }
  }
}

TEST_F(MDITabsBarTest, ClickSelectsAndRestoresDragReorders) {
  MakeBar();
  auto a = Child("A");
  Child("B");
  auto c = Child("C");
  a.Orvane->Minimize();
  Pump();
  Click(TabCentre(0));
  EXPECT_EQ(main_->ActiveMDIChild(), a.Form);
  EXPECT_EQ(a.Orvane->ActualWindowState(), wsNormal);

  // Tab A dragged right until its right edge passes B's middle: they swap.
  const TRect ra = tabs_->Tab(0).TabRect, rb = tabs_->Tab(1).TabRect;
  const int past = (rb.Left + rb.Right) / 2 - ra.Right + 1;
  hp->AdvanceClock(1000);  // not a double click
  hp->InjectMouseMove(TabCentre(0));
  hp->InjectMouseDown();
  hp->InjectMouseMove(TabCentre(0) + TPoint{past / 2, 0});
  hp->InjectMouseMove(TabCentre(0) + TPoint{past, 0});
  Pump();
  EXPECT_TRUE(tabs_->Dragging());
  EXPECT_EQ(tabs_->Tab(0).TabRect.Left, ra.Left + past);
  hp->InjectMouseUp();
  Pump();
  EXPECT_FALSE(tabs_->Dragging());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"B caption", "A caption", "C caption"}));
  // One pixel short of the middle leaves the order as it is.
  hp->InjectMouseMove(TabCentre(1));
  hp->InjectMouseDown();
  hp->InjectMouseMove(TabCentre(1) + TPoint{past - 1, 0});
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"B caption", "A caption", "C caption"}));

  // A right click opens the child's system menu (unless child menus are off).
  hp->AdvanceClock(1000);
  tabs_->SetSupportChildMenus(false);
  hp->InjectClick(TabCentre(1), TMouseButtonId::Right);
  Pump();
  EXPECT_FALSE(a.Orvane->SkinMenu().Visible());
  tabs_->SetSupportChildMenus(true);
  hp->InjectClick(TabCentre(1), TMouseButtonId::Right);
  Pump();
  EXPECT_TRUE(a.Orvane->SkinMenu().Visible());
  Key(VK_ESCAPE);

  // A double click moves a normal child to the client's top-left.
  hp->AdvanceClock(1000);
  tabs_->SetDblClickChildMove(true);
  c.Form->SetBounds(40, 30, 200, 150);
  DoubleClick(TabCentre(2));
  EXPECT_EQ(c.Form->BoundsRect(), Bounds(0, 0, 200, 150));
}

TEST_F(MDITabsBarTest, CloseButtonMiddleClickAndKeptWidths) {
  MakeBar(315);
  std::vector<TSkinnedForm> kids;
  for (const char* n : {"A", "B", "C", "D", "E"}) kids.push_back(Child(n));
  ASSERT_EQ(tabs_->Tab(0).TabRect.Width(), 60);
  // Hovering a close button lights it; a release on it closes the child.
  const TRect close = tabs_->Tab(1).CloseButtonOnBar();
  ASSERT_FALSE(close.IsEmpty());
  Move(At(close));
  EXPECT_TRUE(tabs_->Tab(1).CloseButtonMouseIn);
  TComponentRef<TForm> b(kids[1].Form);
  Click(At(close));
  Pump();
  EXPECT_FALSE(b);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A caption", "C caption", "D caption", "E caption"}));
  // The widths stay while the pointer is on the bar: C's button is where B's was.
  EXPECT_EQ(tabs_->KeptTabWidth(), 60);
  EXPECT_EQ(tabs_->Tab(1).CloseButtonOnBar(), close);
  // A middle click closes too.
  TComponentRef<TForm> c(kids[2].Form);
  hp->InjectClick(TabCentre(1), TMouseButtonId::Middle);
  Pump();
  Pump();
  EXPECT_FALSE(c);
  EXPECT_EQ(tabs_->Tab(2).TabRect.Right, 15 + 3 * 60);
  // Leaving the bar gives the width up: the last tab reaches the end again.
  Move(main_->ClientToScreen({300, 300}));
  EXPECT_EQ(tabs_->KeptTabWidth(), 0);
  EXPECT_EQ(tabs_->Tab(2).TabRect.Right, 315);
}

TEST_F(MDITabsBarTest, HiddenTabsMenuAndAddButton) {
  MakeBar(200);
  tabs_->SetMinTabWidth(80);
  for (const char* n : {"A", "B", "C", "D"}) Child(n);
  EXPECT_EQ(tabs_->HiddenCount(), 2);
  ASSERT_FALSE(tabs_->MenuButtonRect().IsEmpty());
  Click(At(tabs_->MenuButtonRect()));
  TqzSkinMenu& engine = s_.Orvane->SkinMenu();
  ASSERT_TRUE(engine.Visible());
  TqzSkinPopupWindow& w = *engine.Level(0);
  ASSERT_EQ(w.ItemCount(), 2);
  // Choosing D brings its tab into the last shown place and activates it.
  const TRect r = w.Item(1).ItemRect;
  TRect bounds;
  GetWindowRect(w.Handle(), bounds);
  Click({bounds.Left + (r.Left + r.Right) / 2, bounds.Top + (r.Top + r.Bottom) / 2});
  Pump();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A caption", "D caption", "B caption", "C caption"}));
  EXPECT_TRUE(tabs_->Tab(1).Visible);
  EXPECT_EQ(main_->ActiveMDIChild()->Caption(), "D caption");

  // The add button follows the last shown tab and reports a click.
  tabs_->SetMinTabWidth(0);
  tabs_->SetShowAddButton(true);
  int adds = 0;
  tabs_->OnAddButtonClick = [&](TObject*) { ++adds; };
  const TRect last = tabs_->Tab(3).TabRect;
  EXPECT_EQ(tabs_->AddButtonRect(), Bounds(last.Right + 2, 2, 14, 14));
  Click(At(tabs_->AddButtonRect()));
  EXPECT_EQ(adds, 1);

  // The bar freed while its menu of hidden tabs is open closes the menu.
  tabs_->SetMinTabWidth(80);
  Click(At(tabs_->MenuButtonRect()));
  ASSERT_TRUE(engine.Visible());
  delete tabs_;
  EXPECT_FALSE(engine.Visible());
  Key(VK_DOWN);
  Key(VK_RETURN);
}

TEST_F(MDITabsBarTest, CtrlTabStepsInActivationOrder) {
  MakeBar();
  auto a = Child("A");
  auto b = Child("B");
  auto c = Child("C");
  ASSERT_EQ(main_->ActiveMDIChild(), c.Form);
  Key(VK_TAB, kModCtrl);
  EXPECT_EQ(main_->ActiveMDIChild(), b.Form);
  Key(VK_TAB, kModCtrl);
  EXPECT_EQ(main_->ActiveMDIChild(), a.Form);
  Key(VK_TAB, kModCtrl | kModShift);
  EXPECT_EQ(main_->ActiveMDIChild(), b.Form);
}

TEST_F(MDITabsBarTest, AHoverPresentsOnlyTheTabsThatChanged) {
  MakeBar();
  Child("A");
  Child("B");
  Child("C");
  Move(TabCentre(0));
  Move(TabCentre(1));
  auto full = [&](int i) {
    TRect r = tabs_->Tab(i).TabRect;
    r.Top = 0;
    return TRegion(InWindow(r));
  };
  EXPECT_EQ(tabs_->HotTab(), &tabs_->Tab(1));
  EXPECT_EQ(MainWindow().LastPresentDirty(), full(0).Union(full(1)));
  // The active child's caption changes: of the bar, only its tab repaints.
  main_->ActiveMDIChild()->SetCaption("New");
  Pump();
  EXPECT_EQ(MainWindow().LastPresentDirty().Intersect(InWindow(tabs_->ClientRect())), full(2));
}

// Handlers that free the bar, the tab's child or the whole MDI form.
TEST_F(MDITabsBarTest, HandlersThatFreeWhatTheBarWorksOn) {
  enum class Frees { Bar, Child, Form };
  struct Case {
    const char* name;
    std::function<void(TqzSkinMDITabsBar&, std::function<void()>)> hook;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"mouse down", [](TqzSkinMDITabsBar& t, auto f) { t.OnTabMouseDown = [f](auto&&...) { const auto run = f; run(); }; },
       [this] { Click(TabCentre(0)); }},
      {"mouse up", [](TqzSkinMDITabsBar& t, auto f) { t.OnTabMouseUp = [f](auto&&...) { const auto run = f; run(); }; },
       [this] { Click(TabCentre(0)); }},
      {"mouse enter", [](TqzSkinMDITabsBar& t, auto f) { t.OnTabMouseEnter = [f](auto&&...) { const auto run = f; run(); }; },
       [this] { Move(TabCentre(0)); }},
      {"mouse leave", [](TqzSkinMDITabsBar& t, auto f) { t.OnTabMouseLeave = [f](auto&&...) { const auto run = f; run(); }; },
       [this] {
         Move(TabCentre(0));
         Move(TabCentre(1));
       }},
      {"draw params", [](TqzSkinMDITabsBar& t, auto f) { t.OnTabGetDrawParamsEvent = [f](auto&&...) { const auto run = f; run(); }; },
       [this] {
         tabs_->Invalidate();
         Pump();
       }},
      {"add button",
       [](TqzSkinMDITabsBar& t, auto f) {
         t.SetShowAddButton(true);
         t.OnAddButtonClick = [f](auto&&...) { const auto run = f; run(); };
       },
       [this] { Click(At(tabs_->AddButtonRect())); }},
  };
  // The handlers copy the test's function before running it: freeing the
  // bar frees the handler itself.
  for (const Case& c : cases)
    for (Frees what : {Frees::Bar, Frees::Child, Frees::Form}) {
      SCOPED_TRACE(::testing::Message() << c.name << " frees " << int(what));
      TearDown();
      SetUp();
      MakeBar();
      auto a = Child("A");
      Child("B");
      TComponentRef<TqzSkinMDITabsBar> bar(tabs_);
      TComponentRef<TForm> child(a.Form), form(main_);
      bool once = false;
      c.hook(*tabs_, [&] {
        if (std::exchange(once, true)) return;
        if (what == Frees::Bar) delete bar.Get();
        if (what == Frees::Child) delete child.Get();
        if (what == Frees::Form) delete form.Get();
      });
      c.act();
      Pump();
      EXPECT_TRUE(once);
      EXPECT_EQ(bool(bar), what == Frees::Child);
      if (what == Frees::Child && bar) {
        EXPECT_EQ(Captions(), (std::vector<std::string>{"B caption"}));
        Move(TabCentre(0));  // still answers
        // The handlers refer to this iteration's variables.
        bar->OnTabMouseDown = bar->OnTabMouseUp = nullptr;
        bar->OnTabMouseEnter = bar->OnTabMouseLeave = nullptr;
        bar->OnTabGetDrawParamsEvent = nullptr;
        bar->OnAddButtonClick = nullptr;
      }
    }
}

// An MDI child lies inside its MDI form's client: its frame's points are
// found on the screen through the client, and it has no layered border
// windows (top-level windows that would stand at its client coordinates).
TEST_F(MDITabsBarTest, AnMDIChildsFrameIsWhereTheChildIs) {
  MakeBar();
  auto a = Child("A");
  a.Form->SetBounds(30, 20, 220, 160);
  Pump();
  const TPoint topLeft = main_->MDIClient()->ClientToScreen({30, 20});
  EXPECT_EQ(a.Orvane->WindowToScreen({5, 6}), (topLeft + TPoint{5, 6}));
  EXPECT_FALSE(a.Orvane->LayeredBorderAllowed());
  EXPECT_FALSE(a.Orvane->LayerBorder().Used());
}

}  // namespace
}  // namespace qz
