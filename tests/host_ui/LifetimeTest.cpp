// Handlers that free their sender, its parent or its form, and weak references.
#include <functional>

#include "host/ui/Menus.h"
#include "host/ui/Timer.h"
#include "UiTestSupport.h"

namespace qz::testing {
namespace {

class LifetimeTest : public UiTest {
 public:
  enum class Victim { Sender, Parent, Form };

 protected:
  // A form with a panel holding a button; every test frees one of the three.
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400});
    panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 200, 100);
    button = new TButton(form);
    button->SetParent(panel);
    button->SetBounds(10, 10, 80, 25);
    Pump();
  }

  // A handler body that deletes the chosen victim once.
  std::function<void()> Freeing(Victim v) {
    return [this, v] {
      TComponent* victim = v == Victim::Sender ? static_cast<TComponent*>(button)
                           : v == Victim::Parent ? static_cast<TComponent*>(panel)
                                                 : static_cast<TComponent*>(form);
      if (!victim) return;
      button = nullptr;
      if (v != Victim::Sender) panel = nullptr;
      if (v == Victim::Form) form = nullptr;
      delete victim;
    };
  }

  // After the victim went, a new form still gets clicks and keys.
  void ExpectLaterMessagesHandled() {
    TForm* other = MakeForm({600, 100, 900, 300}, bsSizeable, "Other");
    auto* b = new TButton(other);
    b->SetParent(other);
    b->SetBounds(10, 10, 80, 25);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    Click(b->ClientToScreen({5, 5}));
    b->SetFocus();
    Pump();
    Key(VK_SPACE);
    EXPECT_EQ(clicks, 2);
    delete other;
    Pump();
  }

  TForm* form = nullptr;
  TPanel* panel = nullptr;
  TButton* button = nullptr;
};

const LifetimeTest::Victim kVictims[] = {LifetimeTest::Victim::Sender, LifetimeTest::Victim::Parent,
                                         LifetimeTest::Victim::Form};

TEST_F(LifetimeTest, MouseHandlersMayFreeSenderParentOrForm) {
  using Hook = std::function<void(TButton*, std::function<void()>)>;
  const Hook hooks[] = {
      [](TButton* b, std::function<void()> f) { b->OnClick = [f](TObject*) { f(); }; },
      [](TButton* b, std::function<void()> f) {
        b->OnMouseDown = [f](TObject*, TMouseButton, TShiftState, int, int) { f(); };
      },
      [](TButton* b, std::function<void()> f) {
        b->OnMouseUp = [f](TObject*, TMouseButton, TShiftState, int, int) { f(); };
      },
  };
  for (const Hook& hook : hooks)
    for (Victim v : kVictims) {
      SetUp();
      hook(button, Freeing(v));
      Click(button->ClientToScreen({5, 5}));
      EXPECT_EQ(button, nullptr);
      ExpectLaterMessagesHandled();
      TearDown();
    }
}

TEST_F(LifetimeTest, KeyHandlersMayFreeSenderParentOrForm) {
  using Hook = std::function<void(TButton*, std::function<void()>)>;
  const std::pair<int, Hook> hooks[] = {
      {VK_SPACE, [](TButton* b, std::function<void()> f) { b->OnClick = [f](TObject*) { f(); }; }},
      {VK_RETURN, [](TButton* b, std::function<void()> f) { b->OnClick = [f](TObject*) { f(); }; }},
      {'A', [](TButton* b, std::function<void()> f) {
         b->OnKeyDown = [f](TObject*, uint16_t&, TShiftState) { f(); };
       }},
      {VK_ESCAPE, [](TButton* b, std::function<void()> f) {
         b->OnKeyPress = [f](TObject*, char32_t&) { f(); };
       }},
      {'A', [](TButton* b, std::function<void()> f) {
         b->OnKeyUp = [f](TObject*, uint16_t&, TShiftState) { f(); };
       }},
  };
  for (const auto& [key, hook] : hooks)
    for (Victim v : kVictims) {
      SetUp();
      button->SetFocus();
      Pump();
      hook(button, Freeing(v));
      Key(key);
      EXPECT_EQ(button, nullptr) << "key " << key;
      ExpectLaterMessagesHandled();
      TearDown();
    }
}

TEST_F(LifetimeTest, FocusHandlersMayFreeTheirControl) {
  auto* edit = new TButton(form);
  edit->SetParent(form);
  edit->SetBounds(300, 10, 80, 25);
  button->SetFocus();
  Pump();
  button->OnExit = [&](TObject*) { Freeing(Victim::Parent)(); };
  edit->OnEnter = [&](TObject* s) { delete s; };
  Click(edit->ClientToScreen({5, 5}));
  EXPECT_EQ(panel, nullptr);
  EXPECT_EQ(form->ControlCount(), 0);
  ExpectLaterMessagesHandled();
}

TEST_F(LifetimeTest, TimerHandlersMayFreeTheTimerItsOwnerOrAWindow) {
  auto* timer = new TTimer(form);
  timer->SetInterval(10);
  timer->OnTimer = [&](TObject* s) { delete s; };
  hp->AdvanceClock(20);
  Pump();
  EXPECT_EQ(form->ComponentCount(), 2);  // panel and button stay, the timer went

  auto* formTimer = new TTimer(form);
  formTimer->SetInterval(10);
  formTimer->OnTimer = [&](TObject*) { Freeing(Victim::Form)(); };
  hp->AdvanceClock(20);
  Pump();
  EXPECT_EQ(form, nullptr);

  // A window timer whose WM_TIMER frees the window.
  TForm* f = MakeForm({100, 100, 300, 300});
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  probe->SetBounds(0, 0, 50, 50);
  Pump();
  auto old = probe->WindowProc;
  probe->WindowProc = [probe, old](TMessage& m) {
    if (m.Msg == WM_TIMER) delete probe;
    else old(m);
  };
  SetTimer(probe->Handle(), 1, 10);
  hp->AdvanceClock(20);
  Pump();
  EXPECT_EQ(f->ControlCount(), 0);
  ExpectLaterMessagesHandled();
}

TEST_F(LifetimeTest, MenuClickAndChangeHandlersMayFreeTheMenu) {
  auto* menu = new TPopupMenu(form);
  auto* first = new TMenuItem(menu);
  first->SetRadioItem(true);
  first->SetChecked(true);
  menu->Items()->Add(first);
  auto* second = new TMenuItem(menu);
  second->SetRadioItem(true);
  menu->Items()->Add(second);
  // Unchecking the first item reports a change; the handler frees the menu.
  menu->OnChange = [&](TObject* s) { delete s; };
  second->SetChecked(true);
  EXPECT_EQ(form->ComponentCount(), 2);  // the panel and the button

  auto* popup = new TPopupMenu(form);
  auto* item = new TMenuItem(popup);
  popup->Items()->Add(item);
  item->OnClick = [&](TObject*) { Freeing(Victim::Form)(); };
  item->Click();
  EXPECT_EQ(form, nullptr);
  ExpectLaterMessagesHandled();
}

TEST_F(LifetimeTest, SentAndPostedMessagesMayFreeTheirWindow) {
  auto* probe = new TProbe(panel);
  probe->SetParent(panel);
  probe->SetBounds(100, 10, 50, 50);
  Pump();
  int handled = 0;
  auto old = probe->WindowProc;
  probe->WindowProc = [&, old](TMessage& m) {
    if (m.Msg == WM_USER + 1) {
      ++handled;
      Freeing(Victim::Form)();
    } else {
      old(m);
    }
  };
  const HWND h = probe->Handle();
  PostMessage(h, WM_USER + 1);
  PostMessage(h, WM_USER + 1);  // queued for a window that will be gone
  Pump();
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(SendMessage(h, WM_USER + 1), 0);
  EXPECT_FALSE(PostMessage(h, WM_USER + 1));
  ExpectLaterMessagesHandled();
}

TEST_F(LifetimeTest, PaintHandlerMayFreeTheForm) {
  form->OnPaint = [&](TObject*) { Freeing(Victim::Form)(); };
  form->Invalidate();
  Pump();
  EXPECT_EQ(form, nullptr);
  ExpectLaterMessagesHandled();
}

TEST_F(LifetimeTest, ModalLoopEndsWhenAHandlerFreesTheForm) {
  auto* dlg = new TForm(Application);
  dlg->SetBounds(600, 100, 300, 200);
  auto* b = new TButton(dlg);
  b->SetParent(dlg);
  b->SetBounds(10, 10, 80, 25);
  b->OnClick = [&](TObject*) { delete dlg; };
  bool clicked = false;
  hp->SetIdleHandler([&]() {
    if (clicked) return false;
    clicked = true;
    hp->InjectClick(b->ClientToScreen({5, 5}));
    return true;
  });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  hp->SetIdleHandler({});
  EXPECT_TRUE(IsWindowEnabled(form));
  ExpectLaterMessagesHandled();
}

// A derived form whose OnDestroy reads its own member and its controls.
class TFormWithMembers : public TForm {
 public:
  explicit TFormWithMembers(TComponent* owner) : TForm(owner), label(std::make_unique<std::string>("kept")) {
    child = new TButton(this);
    child->SetParent(this);
  }
  std::unique_ptr<std::string> label;
  TButton* child = nullptr;
};

TEST_F(LifetimeTest, OnDestroySeesTheWholeForm) {
  auto* f = new TFormWithMembers(Application);
  std::string seen;
  int controls = -1;
  f->OnDestroy = [&](TObject*) {
    seen = f->label ? *f->label : "gone";
    controls = f->ControlCount();
    EXPECT_TRUE(f->InState(csDestroying));
  };
  int fired = 0;
  auto inner = f->OnDestroy;
  f->OnDestroy = [&, inner](TObject* s) { ++fired, inner(s); };
  delete f;
  EXPECT_EQ(seen, "kept");
  EXPECT_EQ(controls, 1);
  EXPECT_EQ(fired, 1);
}

TEST_F(LifetimeTest, FormDestroyedWithoutDeleteStillFiresOnDestroyOnce) {
  int fired = 0;
  {
    TForm onStack(nullptr);
    onStack.OnDestroy = [&](TObject*) { ++fired; };
  }
  EXPECT_EQ(fired, 1);
}

}  // namespace
}  // namespace qz::testing
