// Window handles: generation-counted ids that never name a later window.
#include <set>

#include "host/ui/HandleTable.h"
#include "host/ui/Menus.h"
#include "UiTestSupport.h"

namespace qz::testing {
namespace {

using HandleTest = UiTest;

// A windowed control that counts the messages it is given.
class TCounter : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int user = 0, timers = 0, captureChanges = 0;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_USER) ++user;
    if (m.Msg == WM_TIMER) ++timers;
    if (m.Msg == WM_CAPTURECHANGED) ++captureChanges;
    TCustomControl::WndProc(m);
  }
};

// Creates counters on `parent` until one sits at `address` (bounded); the
// others are freed again. Null when the allocator never gave it back.
TCounter* CounterAt(TWinControl* parent, const void* address) {
  for (int i = 0; i < 2000; ++i) {
    auto* c = new TCounter(parent);
    c->SetParent(parent);
    c->SetBounds(0, 0, 40, 40);
    c->HandleNeeded();
    if (static_cast<const void*>(c) == address) return c;
    delete c;
  }
  return nullptr;
}

TEST_F(HandleTest, NothingMeantForADeadWindowReachesOneAtItsAddress) {
  TForm* form = MakeForm({100, 100, 400, 300});
  auto* dead = new TCounter(form);
  dead->SetParent(form);
  dead->SetBounds(0, 0, 40, 40);
  const HWND old = dead->Handle();
  const void* address = dead;
  PostMessage(old, WM_USER);
  SetTimer(old, 7, 10);
  SetCapture(old);
  TTrackMouseEvent tme{TME_LEAVE, old, 0};
  TrackMouseEvent(tme);
  delete dead;

  TCounter* reborn = CounterAt(form, address);
  if (!reborn) GTEST_SKIP() << "the allocator never reused the address";
  EXPECT_NE(reborn->Handle(), old);
  EXPECT_EQ(GetCapture(), HWND());
  SetCapture(old);  // a dead handle takes no capture
  EXPECT_EQ(GetCapture(), HWND());
  hp->AdvanceClock(50);
  Pump();
  EXPECT_EQ(reborn->user, 0);
  EXPECT_EQ(reborn->timers, 0);
  EXPECT_EQ(SendMessage(old, WM_USER), 0);
  EXPECT_FALSE(PostMessage(old, WM_USER));
  EXPECT_FALSE(KillTimer(old, 7));
  EXPECT_EQ(WindowControl(old), nullptr);
  EXPECT_EQ(WindowControl(reborn->Handle()), reborn);
}

TEST_F(HandleTest, ADeadHandleIsNeverAWindowAgain) {
  TForm* form = MakeForm({100, 100, 400, 300});
  std::set<HWND> seen;
  std::vector<HWND> dead;
  for (int i = 0; i < 500; ++i) {
    auto* c = new TCounter(form);
    c->SetParent(form);
    const HWND h = c->Handle();
    EXPECT_TRUE(seen.insert(h).second) << "handle handed out twice";
    EXPECT_TRUE(IsWindow(h));
    delete c;
    dead.push_back(h);
  }
  for (HWND h : dead) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(IsWindow(HWND_BOTTOM));
  EXPECT_FALSE(IsWindow(HWND_TOPMOST));
  EXPECT_FALSE(IsWindow(HWND_NOTOPMOST));
  EXPECT_FALSE(GetWindowLong(dead.front(), GWL_STYLE));
  EXPECT_FALSE(ShowWindow(dead.back(), SW_SHOW));
  EXPECT_FALSE(SetWindowPos(dead.back(), HWND_TOP, 0, 0, 10, 10, 0));
}

TEST_F(HandleTest, RecreatedWindowGetsANewHandle) {
  TForm* form = MakeForm({100, 100, 400, 300});
  const HWND before = form->Handle();
  PostMessage(before, WM_USER);
  form->SetBorderStyle(bsDialog);  // recreates the window
  EXPECT_FALSE(IsWindow(before));
  EXPECT_TRUE(IsWindow(form->Handle()));
  EXPECT_EQ(HWND(form), form->Handle());
}

TEST(HandleTableTest, SlotsAreReusedWithANewGenerationAndRetiredAtTheEnd) {
  THandleTable table;
  auto* fake = reinterpret_cast<TWinControl*>(uintptr_t(0x1000));
  const HWND a = table.Add(fake);
  EXPECT_EQ(a.Generation(), THandleTable::kFirstGeneration);
  table.Remove(a);
  const HWND b = table.Add(fake);
  EXPECT_EQ(b.Slot(), a.Slot());
  EXPECT_NE(b, a);
  EXPECT_EQ(table.Find(a), nullptr);
  EXPECT_EQ(table.Find(b), fake);
  table.Remove(b);
  table.Remove(b);  // twice is harmless
  EXPECT_EQ(table.LiveCount(), 0u);

  // The last generation of a slot is used once, then the slot is retired.
  table.SetFreeSlotGenerationForTesting(b.Slot(), THandleTable::kLastGeneration);
  const HWND last = table.Add(fake);
  EXPECT_EQ(last.Slot(), b.Slot());
  EXPECT_EQ(last.Generation(), THandleTable::kLastGeneration);
  EXPECT_NE(last, HWND_TOPMOST);
  EXPECT_NE(last, HWND_NOTOPMOST);
  table.Remove(last);
  const HWND next = table.Add(fake);
  EXPECT_NE(next.Slot(), last.Slot());
  EXPECT_EQ(table.Find(last), nullptr);
  EXPECT_EQ(table.SlotCount(), 2u);
}

TEST(WeakRefTest, ClearsOnDestructionAndFollowsCopiesAndAssignment) {
  auto* owner = new TComponent(nullptr);
  auto* child = new TComponent(owner);
  TWeakRef a(child);
  TWeakRef b = a;
  TComponentRef<TComponent> c;
  c = child;
  TWeakRef moved = std::move(b);
  EXPECT_EQ(a.Get(), child);
  EXPECT_EQ(moved.Get(), child);
  {
    TWeakRef scoped(child);  // leaves the list when it goes out of scope
  }
  c = owner;
  delete owner;  // deletes child too
  EXPECT_FALSE(a);
  EXPECT_FALSE(moved);
  EXPECT_FALSE(c);
  EXPECT_EQ(a.Get(), nullptr);
}

TEST(WeakRefTest, NoReferenceToAComponentBeingDestroyed) {
  // An owned component's destructor runs while its owner is torn down; a
  // reference it takes to the owner would dangle, so it is null.
  struct TWatcher : TComponent {
    using TComponent::TComponent;
    bool* sawNull = nullptr;
    ~TWatcher() override {
      TWeakRef r(Owner());
      *sawNull = Owner() != nullptr && !r;
    }
  };
  auto* owner = new TComponent(nullptr);
  bool sawNull = false;
  (new TWatcher(owner))->sawNull = &sawNull;
  delete owner;
  EXPECT_TRUE(sawNull);
}

}  // namespace
}  // namespace qz::testing
