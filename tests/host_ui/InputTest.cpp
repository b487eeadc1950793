// Message routing: capture, focus and tab order, enter/leave, double clicks,
// keyboard routing, modal loops.
#include "UiTestSupport.h"

namespace qz::testing {
namespace {

class InputTest : public UiTest {};

// A menu-like window: a popup that never takes the activation.
class TPopupProbe : public TProbe {
 public:
  using TProbe::TProbe;

 protected:
  void CreateParams(TCreateParams& p) override {
    TProbe::CreateParams(p);
    p.ExStyle |= WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  }
};

TEST_F(InputTest, CapturedControlGetsMovesOutsideUntilRelease) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  probe->SetBounds(10, 10, 50, 50);
  Pump();
  TPoint origin = probe->ClientToScreen({0, 0});
  hp->InjectMouseMove(origin + TPoint{5, 5});
  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(GetCapture(), probe);  // csCaptureMouse: a left press captures
  probe->messages.clear();
  probe->points.clear();
  Move({800, 700});  // outside the form
  ASSERT_EQ(probe->messages.size(), 1u);
  EXPECT_EQ(probe->messages[0], WM_MOUSEMOVE);
  EXPECT_EQ(probe->points[0], (TPoint{800 - origin.X, 700 - origin.Y}));
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_NE(std::find(probe->messages.begin(), probe->messages.end(), WM_LBUTTONUP), probe->messages.end());
  EXPECT_NE(std::find(probe->messages.begin(), probe->messages.end(), WM_CAPTURECHANGED), probe->messages.end());
  probe->messages.clear();
  Move({801, 700});
  EXPECT_TRUE(probe->messages.empty());
}

TEST_F(InputTest, ClickOutsideTheRectangleDoesNotClick) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* b = new TButton(f);
  b->SetParent(f);
  b->SetBounds(20, 20, 80, 25);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Pump();
  TPoint in = b->ClientToScreen({10, 10});
  Click(in);
  EXPECT_EQ(clicks, 1);
  // Press inside, release outside: no click.
  hp->InjectMouseMove(in);
  hp->InjectMouseDown();
  hp->InjectMouseMove(in + TPoint{200, 0});
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(clicks, 1);
}

TEST_F(InputTest, TabOrderFocusAndEnterExit) {
  TForm* f = MakeForm({100, 100, 500, 400});
  TButton* b[3];
  std::vector<std::string> log;
  for (int i = 0; i < 3; ++i) {
    b[i] = new TButton(f);
    b[i]->SetName("B" + std::to_string(i));
    b[i]->SetParent(f);
    b[i]->SetBounds(10, 10 + i * 30, 75, 25);
    b[i]->OnEnter = [&log, i](TObject*) { log.push_back("enter" + std::to_string(i)); };
    b[i]->OnExit = [&log, i](TObject*) { log.push_back("exit" + std::to_string(i)); };
  }
  b[2]->SetTabOrder(0);  // order: B2, B0, B1
  b[1]->SetEnabled(false);
  b[2]->SetFocus();
  Pump();
  EXPECT_EQ(GetFocus(), b[2]);
  EXPECT_EQ(f->ActiveControl(), b[2]);
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), b[0]);
  Key(VK_TAB);  // B1 is disabled: wraps to B2
  EXPECT_EQ(GetFocus(), b[2]);
  hp->InjectKeyDown(VK_SHIFT);
  Key(VK_TAB, kModShift);
  hp->InjectKeyUp(VK_SHIFT);
  Pump();
  EXPECT_EQ(GetFocus(), b[0]);
  EXPECT_EQ(log, (std::vector<std::string>{"enter2", "exit2", "enter0", "exit0", "enter2", "exit2",
                                           "enter0"}));
}

TEST_F(InputTest, MouseEnterLeaveIncludesGraphicControls) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* label = new TLabel(f);
  label->SetParent(f);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 100, 20);
  auto* panel = new TPanel(f);
  panel->SetParent(f);
  panel->SetBounds(10, 100, 100, 50);
  std::vector<std::string> log;
  label->OnMouseEnter = [&](TObject*) { log.push_back("label+"); };
  label->OnMouseLeave = [&](TObject*) { log.push_back("label-"); };
  panel->OnMouseEnter = [&](TObject*) { log.push_back("panel+"); };
  panel->OnMouseLeave = [&](TObject*) { log.push_back("panel-"); };
  Pump();
  Move(f->ClientToScreen({200, 200}));
  Move(label->ClientToScreen({5, 5}));
  Move(label->ClientToScreen({6, 5}));  // no repeat while inside
  Move(panel->ClientToScreen({5, 5}));
  Move({5, 5});  // desktop
  EXPECT_EQ(log, (std::vector<std::string>{"label+", "label-", "panel+", "panel-"}));
}

TEST_F(InputTest, DoubleClickNeedsTimeDistanceAndClassStyle) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  probe->SetBounds(10, 10, 100, 100);
  int dbl = 0;
  probe->OnDblClick = [&](TObject*) { ++dbl; };
  Pump();
  TPoint p = probe->ClientToScreen({20, 20});
  Click(p);
  Click(p + TPoint{1, 1});
  EXPECT_EQ(dbl, 1);
  EXPECT_NE(std::find(probe->messages.begin(), probe->messages.end(), WM_LBUTTONDBLCLK), probe->messages.end());
  // A third click right after starts a new sequence: no double click.
  Click(p);
  EXPECT_EQ(dbl, 1);
  hp->AdvanceClock(GetDoubleClickTime() + 1);
  Click(p);  // too late after the previous one
  EXPECT_EQ(dbl, 1);
  Click(p + TPoint{10, 0});  // too far
  EXPECT_EQ(dbl, 1);
  Click(p + TPoint{10, 0});
  EXPECT_EQ(dbl, 2);
}

TEST_F(InputTest, KeyPreviewShortCutAndDialogKeys) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* ok = new TButton(f);
  ok->SetParent(f);
  ok->SetCaption("&OK");
  ok->SetBounds(10, 10, 75, 25);
  ok->SetDefault(true);
  auto* cancel = new TButton(f);
  cancel->SetParent(f);
  cancel->SetCaption("Cancel");
  cancel->SetBounds(10, 40, 75, 25);
  cancel->SetCancel(true);
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  probe->SetBounds(10, 80, 75, 25);
  probe->SetTabStop(true);
  std::vector<std::string> log;
  ok->OnClick = [&](TObject*) { log.push_back("ok"); };
  cancel->OnClick = [&](TObject*) { log.push_back("cancel"); };
  probe->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { log.push_back("probe" + std::to_string(k)); };
  f->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) {
    log.push_back("form" + std::to_string(k));
    if (k == 'X') k = 0;  // swallowed by the preview
  };
  f->OnShortCut = [&](TMessage& m, bool& handled) {
    if (m.WParam == VK_F5) {
      log.push_back("shortcut");
      handled = true;
    }
  };
  probe->SetFocus();
  Pump();
  ASSERT_EQ(GetFocus(), probe);

  Key('A');  // without KeyPreview the form does not see it
  f->SetKeyPreview(true);
  Key('B');
  Key('X');
  Key(VK_F5);
  Key(VK_RETURN);  // the default button (focus is on a non-button)
  Key(VK_ESCAPE);  // the cancel button
  Key('O', kModAlt);  // accelerator of "&OK"
  EXPECT_EQ(log, (std::vector<std::string>{"probe65", "form66", "probe66", "form88", "shortcut", "ok",
                                           "cancel", "form79", "probe79", "ok"}));
}

TEST_F(InputTest, TypedTextArrivesAsCharacters) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  probe->SetBounds(10, 10, 50, 50);
  std::u32string typed;
  probe->OnKeyPress = [&](TObject*, char32_t& c) { typed.push_back(c); };
  probe->SetFocus();
  Pump();
  // TProbe answers no dialog code, so plain characters are offered as
  // accelerators first; none matches.
  hp->InjectText("a\xC3\xA9\xE2\x82\xAC");
  Pump();
  EXPECT_EQ(typed, U"a\u00E9\u20AC");
}

TEST_F(InputTest, ShowModalReturnsButtonResultAndDisablesOtherForms) {
  TForm* main = MakeForm({100, 100, 500, 400}, bsSizeable, "Main");
  Application->SetMainForm(main);
  int mainClicks = 0;
  main->OnClick = [&](TObject*) { ++mainClicks; };
  auto* dlg = new TForm(Application);
  dlg->SetBounds(600, 100, 300, 200);
  auto* ok = new TButton(dlg);
  ok->SetParent(dlg);
  ok->SetBounds(10, 10, 80, 25);
  ok->SetModalResult(mrOk);
  bool mainEnabledDuring = true;
  int step = 0;
  hp->SetIdleHandler([&]() {
    if (step == 0) {
      mainEnabledDuring = IsWindowEnabled(main);
      hp->InjectClick(main->ClientToScreen({50, 50}));  // must not reach the main form
      ++step;
      return true;
    }
    if (step == 1) {
      hp->InjectClick(ok->ClientToScreen({10, 10}));
      ++step;
      return true;
    }
    return false;
  });
  int result = dlg->ShowModal();
  hp->SetIdleHandler({});
  EXPECT_EQ(result, mrOk);
  EXPECT_FALSE(mainEnabledDuring);
  EXPECT_EQ(mainClicks, 0);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_FALSE(dlg->Visible());
  EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(InputTest, CloseQueryCanRefuseAndMainFormCloseTerminates) {
  TForm* main = MakeForm({100, 100, 500, 400});
  Application->SetMainForm(main);
  bool allow = false;
  main->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
  main->Close();
  EXPECT_FALSE(Application->Terminated());
  allow = true;
  PostMessage(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(InputTest, ClickActivatesInactiveWindowButNotPopups) {
  TForm* a = MakeForm({100, 100, 400, 300}, bsSizeable, "A");
  TForm* b = MakeForm({500, 100, 800, 300}, bsSizeable, "B");
  EXPECT_EQ(GetActiveWindow(), b);
  std::vector<int> activations;
  a->OnActivate = [&](TObject*) { activations.push_back(1); };
  Click(a->ClientToScreen({10, 10}));
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(activations.size(), 1u);
  // A popup (menu-like) window takes clicks but never the activation.
  auto* popup = new TPopupProbe(Application);
  popup->SetBounds(600, 500, 100, 100);
  popup->HandleNeeded();  // visible: shown without activation
  Pump();
  EXPECT_EQ(hp->FocusedWindow(), static_cast<THeadlessWindow*>(a->WindowData()->platform.get()));
  Click({650, 550});
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_NE(std::find(popup->messages.begin(), popup->messages.end(), WM_LBUTTONDOWN), popup->messages.end());
}

// The window system knows forms only through the hook they install: a
// borderless stay-on-top form has a popup's styles but stays a topmost form,
// stacked below popups and activated by a click.
TEST_F(InputTest, ABorderlessStayOnTopFormIsNoPopup) {
  auto* popup = new TPopupProbe(Application);
  popup->SetBounds(600, 500, 100, 100);
  popup->HandleNeeded();
  auto* onTop = new TForm(Application);
  onTop->SetBorderStyle(bsNone);
  onTop->SetFormStyle(fsStayOnTop);
  onTop->SetBoundsRect({100, 100, 400, 300});
  onTop->Show();
  TForm* other = MakeForm({500, 100, 800, 300});
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_EQ(WindowSystem().TopLevels().back(), popup);
  Click(onTop->ClientToScreen({10, 10}));
  EXPECT_EQ(GetActiveWindow(), onTop);
}

}  // namespace
}  // namespace qz::testing
