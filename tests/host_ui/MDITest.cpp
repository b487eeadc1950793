// MDI forms: the client area, children as child windows, activation,
// window states, arrangement, closing and the merged main menu.
#include "host/ui/Edit.h"
#include "host/ui/MDI.h"
#include "host/ui/Menus.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

// Counts the MDI change notices its form passes on.
class TMDIWatcher : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int changes = 0;

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_MDICHANGED) ++changes;
    TCustomControl::Dispatch(m);
  }
};

class MDITest : public UiTest {
 protected:
  // An MDI form at (100, 100) with a 30-pixel top panel; its client area is
  // 400 x 300 below the panel.
  TForm* MakeMDIForm() {
    auto* f = new TForm(Application);
    f->SetFormStyle(fsMDIForm);
    f->SetBounds(100, 100, 100, 100);
    f->SetClientSize(400, 330);
    auto* panel = new TPanel(f);
    panel->SetParent(f);
    panel->SetHeight(30);
    panel->SetAlign(alTop);
    f->Show();
    Pump();
    return f;
  }
  TForm* MakeChild(const std::string& caption, TSize size = {200, 150}) {
    auto* c = new TForm(Application);
    c->SetCaption(caption);
    c->SetBounds(0, 0, size.cx, size.cy);
    c->SetFormStyle(fsMDIChild);
    Pump();
    return c;
  }
  // A screen point on a child's caption bar.
  static TPoint OnCaption(TForm* c) { return c->ClientToScreen({20, -8}); }
};

TEST_F(MDITest, ClientFillsBelowAlignedControlsAndChildrenShowAtOnce) {
  TForm* main = MakeMDIForm();
  ASSERT_NE(main->MDIClient(), nullptr);
  EXPECT_EQ(main->MDIClient()->BoundsRect(), Rect(0, 30, 400, 330));
  EXPECT_EQ(main->ActiveMDIChild(), nullptr);

  TForm* a = MakeChild("A");
  EXPECT_EQ(a->Parent(), main->MDIClient());
  EXPECT_TRUE(a->Visible());
  EXPECT_TRUE(IsWindowVisible(a->Handle()));
  EXPECT_TRUE(GetWindowLong(a->Handle(), GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(main->ActiveMDIChild(), a);
  EXPECT_EQ(main->MDIChildCount(), 1);
  // Drawn inside the client: the screen shows the child's caption there.
  EXPECT_EQ(ScreenPixel(OnCaption(a)), Rgb(clActiveCaption));

  // A second child steps down and right by a caption and becomes active.
  TForm* b = MakeChild("B");
  EXPECT_EQ(b->BoundsRect().TopLeft(), (TPoint{kCaptionHeight + kFrameWidth, kCaptionHeight + kFrameWidth}));
  EXPECT_EQ(main->ActiveMDIChild(), b);
  EXPECT_EQ(main->MDIChildren(0), b);
  EXPECT_EQ(main->MDIChildren(1), a);
  Pump();
  EXPECT_EQ(ScreenPixel(OnCaption(a)), Rgb(clInactiveCaption));
}

TEST_F(MDITest, NoMDIFormRefusesAChildAndChangingStylesWithChildrenIsRefused) {
  auto* lone = new TForm(Application);
  EXPECT_THROW(lone->SetFormStyle(fsMDIChild), EInvalidOperation);
  EXPECT_EQ(lone->FormStyle(), fsNormal);
  TForm* main = MakeMDIForm();
  TForm* a = MakeChild("A");
  EXPECT_THROW(main->SetFormStyle(fsNormal), EInvalidOperation);
  EXPECT_THROW(a->SetFormStyle(fsNormal), EInvalidOperation);
  EXPECT_THROW(main->MDIChildren(1), EInvalidOperation);
}

TEST_F(MDITest, ClickActivatesAChildOnItsFrameOrOnAControlInside) {
  TForm* main = MakeMDIForm();
  TForm* a = MakeChild("A");
  auto* edit = new TEdit(a);
  edit->SetParent(a);
  edit->SetBounds(2, 2, 15, 15);   // a's top-left corner, never under b
  TForm* b = MakeChild("B");
  int activations = 0, deactivations = 0;
  a->OnActivate = [&](TObject*) { ++activations; };
  b->OnDeactivate = [&](TObject*) { ++deactivations; };
  ASSERT_EQ(main->ActiveMDIChild(), b);

  Click(a->ClientToScreen({5, -8}));  // a's caption left of b
  EXPECT_EQ(main->ActiveMDIChild(), a);
  EXPECT_EQ(main->MDIChildren(0), a);
  EXPECT_EQ(activations, 1);
  EXPECT_EQ(deactivations, 1);
  Pump();
  // b's caption right of a, which now lies on top.
  EXPECT_EQ(ScreenPixel(b->ClientToScreen({185, -8})), Rgb(clInactiveCaption));

  // A press on a control of the inactive child activates the child too.
  Click(b->ClientToScreen({190, 100}));
  EXPECT_EQ(main->ActiveMDIChild(), b);
  Click(edit->ClientToScreen({3, 3}));
  EXPECT_EQ(main->ActiveMDIChild(), a);
  EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST_F(MDITest, MaximisingOneMaximisesAllAndRestoringOneRestoresAll) {
  TForm* main = MakeMDIForm();
  TForm* a = MakeChild("A");
  TForm* b = MakeChild("B");
  TForm* c = MakeChild("C");
  const TRect boundsA = a->BoundsRect(), boundsC = c->BoundsRect();
  c->SetWindowState(wsMaximized);
  for (TForm* f : {a, b, c}) {
    EXPECT_EQ(f->WindowState(), wsMaximized);
    // The client area covers the MDI client exactly; the frame lies outside.
    EXPECT_EQ(f->ClientOrigin(), main->MDIClient()->ClientOrigin());
    EXPECT_EQ(f->ClientWidth(), 400);
    EXPECT_EQ(f->ClientHeight(), 300);
  }
  EXPECT_TRUE(main->MDIClient()->ChildrenMaximized());
  // Another child created now comes maximised; activation keeps the look.
  TForm* d = MakeChild("D");
  EXPECT_EQ(d->WindowState(), wsMaximized);
  Click(main->ClientToScreen({10, 10}));   // the panel: nothing changes
  EXPECT_EQ(main->ActiveMDIChild(), d);

  a->SetWindowState(wsNormal);
  for (TForm* f : {a, b, c, d}) EXPECT_EQ(f->WindowState(), wsNormal);
  EXPECT_EQ(a->BoundsRect(), boundsA);
  EXPECT_EQ(c->BoundsRect(), boundsC);
  EXPECT_FALSE(main->MDIClient()->ChildrenMaximized());
}

TEST_F(MDITest, MinimisedChildrenLineUpAlongTheBottomAndRestore) {
  TForm* main = MakeMDIForm();
  TForm* a = MakeChild("A");
  TForm* b = MakeChild("B");
  const TRect before = a->BoundsRect();
  a->SetWindowState(wsMinimized);
  b->SetWindowState(wsMinimized);
  const int h = kCaptionHeight + 2 * kFrameWidth;
  // Activation order: b leads, but slots follow the list from the front.
  EXPECT_EQ(b->BoundsRect(), Rect(0, 300 - h, kMDIMinimizedWidth, 300));
  EXPECT_EQ(a->BoundsRect(), Rect(kMDIMinimizedWidth, 300 - h, 2 * kMDIMinimizedWidth, 300));
  a->SetWindowState(wsNormal);
  EXPECT_EQ(a->BoundsRect(), before);
  // Maximising while one is minimised leaves the minimised one alone.
  a->SetWindowState(wsMaximized);
  EXPECT_EQ(b->WindowState(), wsMinimized);
  (void)main;
}

TEST_F(MDITest, CascadeAndTileRectangles) {
  TForm* main = MakeMDIForm();
  TForm* a = MakeChild("A");
  TForm* b = MakeChild("B");
  TForm* c = MakeChild("C");  // active
  const int step = kCaptionHeight + kFrameWidth;   // 22
  main->Cascade();
  EXPECT_EQ(a->BoundsRect(), Rect(0, 0, 400 - 2 * step, 300 - 2 * step));
  EXPECT_EQ(b->BoundsRect(), Rect(step, step, step + 356, step + 256));
  EXPECT_EQ(c->BoundsRect(), Rect(2 * step, 2 * step, 400, 300));

  main->Tile();   // horizontal: rows, the active child on top
  EXPECT_EQ(c->BoundsRect(), Rect(0, 0, 400, 100));
  EXPECT_EQ(b->BoundsRect(), Rect(0, 100, 400, 200));
  EXPECT_EQ(a->BoundsRect(), Rect(0, 200, 400, 300));
  main->SetTileMode(tbVertical);
  main->Tile();   // 400 / 3 = 133, the last column takes the rest
  EXPECT_EQ(c->BoundsRect(), Rect(0, 0, 133, 300));
  EXPECT_EQ(b->BoundsRect(), Rect(133, 0, 266, 300));
  EXPECT_EQ(a->BoundsRect(), Rect(266, 0, 400, 300));

  // Tiling restores maximised children and leaves the minimised row free.
  a->SetWindowState(wsMinimized);
  c->SetWindowState(wsMaximized);
  main->SetTileMode(tbHorizontal);
  main->Tile();
  EXPECT_EQ(c->WindowState(), wsNormal);
  const int rowTop = 300 - (kCaptionHeight + 2 * kFrameWidth);
  EXPECT_EQ(c->BoundsRect(), Rect(0, 0, 400, rowTop / 2));
  EXPECT_EQ(b->BoundsRect(), Rect(0, rowTop / 2, 400, rowTop));
  EXPECT_EQ(a->BoundsRect().Top, rowTop);
}

TEST_F(MDITest, NextAndPreviousWalkTheChildren) {
  TForm* main = MakeMDIForm();
  TForm* a = MakeChild("A");
  TForm* b = MakeChild("B");
  TForm* c = MakeChild("C");
  main->Next();   // c goes to the back, b comes up
  EXPECT_EQ(main->ActiveMDIChild(), b);
  EXPECT_EQ(main->MDIChildren(2), c);
  main->Next();
  EXPECT_EQ(main->ActiveMDIChild(), a);
  main->Previous();   // the one sent to the back last comes up again
  EXPECT_EQ(main->ActiveMDIChild(), b);
}

TEST_F(MDITest, CloseFreesTheChildAndActivatesTheNext) {
  TForm* main = MakeMDIForm();
  TForm* a = MakeChild("A");
  TForm* b = MakeChild("B");
  TComponentRef<TForm> refB(b);
  b->Close();
  Pump();
  EXPECT_FALSE(refB);
  EXPECT_EQ(main->MDIChildCount(), 1);
  EXPECT_EQ(main->ActiveMDIChild(), a);

  // OnClose may keep it hidden instead; the active child moves on.
  TForm* c = MakeChild("C");
  c->OnClose = [](TObject*, TCloseAction& action) { action = caHide; };
  c->Close();
  Pump();
  EXPECT_FALSE(c->Visible());
  EXPECT_EQ(main->ActiveMDIChild(), a);
  EXPECT_EQ(main->MDIChildCount(), 2);

  // The MDI form takes its children with it.
  TComponentRef<TForm> refA(a), refC(c);
  delete main;
  EXPECT_FALSE(refA);
  EXPECT_FALSE(refC);
}

TEST_F(MDITest, HandlersMayFreeChildrenDuringActivation) {
  TForm* main = MakeMDIForm();
  TForm* a = MakeChild("A");
  TForm* b = MakeChild("B");
  TComponentRef<TForm> refB(b);
  b->OnDeactivate = [b](TObject*) { delete b; };
  Click(a->ClientToScreen({5, -8}));
  EXPECT_FALSE(refB);
  EXPECT_EQ(main->ActiveMDIChild(), a);
  EXPECT_EQ(main->MDIChildCount(), 1);
  // A child freeing itself when activated by a click.
  TForm* c = MakeChild("C");
  ASSERT_EQ(main->ActiveMDIChild(), c);
  TComponentRef<TForm> refA(a);
  a->OnActivate = [a](TObject*) { delete a; };
  Click(a->ClientToScreen({5, -8}));
  EXPECT_FALSE(refA);
  EXPECT_EQ(main->ActiveMDIChild(), c);
}

TEST_F(MDITest, MenusMergeByGroupIndexWhileAChildIsActive) {
  auto item = [](TMenu& menu, const std::string& name, int group, bool visible = true) {
    auto* i = new TMenuItem(&menu);
    i->SetName(name);
    i->SetCaption(name);
    i->SetGroupIndex(group);
    i->SetVisible(visible);
    menu.Items()->Add(i);
    return i;
  };
  TForm* main = MakeMDIForm();
  auto* mainMenu = new TMainMenu(main);
  TMenuItem* file = item(*mainMenu, "File", 0);
  TMenuItem* window = item(*mainMenu, "Window", 5);
  TMenuItem* help = item(*mainMenu, "Help", 9);
  TMenuItem* tools = item(*mainMenu, "Tools", 5);
  main->SetMenu(mainMenu);
  // Without a child menu the main menu keeps its own order.
  EXPECT_EQ(MergedMenuItems(mainMenu, nullptr), (std::vector<TMenuItem*>{file, window, help, tools}));

  TForm* a = MakeChild("A");
  auto* childMenu = new TMainMenu(a);
  TMenuItem* edit = item(*childMenu, "Edit", 1);
  TMenuItem* childFile = item(*childMenu, "ChildFile", 0);
  TMenuItem* view = item(*childMenu, "View", 1);
  item(*childMenu, "Hidden", 2, false);
  // The child's group 0 replaces the main menu's; groups 5 and 9 stay; the
  // order is by group, stable within one.
  EXPECT_EQ(MergedMenuItems(mainMenu, childMenu),
            (std::vector<TMenuItem*>{childFile, edit, view, window, tools, help}));

  auto* watcher = new TMDIWatcher(main);
  watcher->SetParent(main);
  a->SetMenu(childMenu);   // the active child's menu changed
  EXPECT_EQ(watcher->changes, 1);
  MakeChild("B");
  EXPECT_GE(watcher->changes, 2);
}

TEST_F(MDITest, WindowMenuIsAPublishedReferenceClearedWhenItsItemGoes) {
  TForm* main = MakeMDIForm();
  auto* mainMenu = new TMainMenu(main);
  auto* window = new TMenuItem(main);
  mainMenu->Items()->Add(window);
  EXPECT_NE(GetClassInfo("TForm").FindProperty("WindowMenu"), nullptr);
  main->SetWindowMenu(window);
  EXPECT_EQ(main->WindowMenu(), window);
  delete mainMenu;   // its items go with it
  EXPECT_EQ(main->WindowMenu(), nullptr);
}

}  // namespace
}  // namespace qz::testing
