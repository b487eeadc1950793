// Drag and drop between controls: the threshold that keeps a short press a
// click, the enter/move/leave sequence across targets, acceptance and the
// cursor, drops and cancels (Escape, lost capture), automatic dragging from
// a list box, drag objects, and handlers that free the source, the target
// or the whole form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ui/DragDrop.h"
#include "host/ui/ListBox.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

const char* StateName(TDragState s) {
  return s == dsDragEnter ? "enter" : s == dsDragLeave ? "leave" : "move";
}

std::string NameOf(const TObject* o) {
  if (!o) return "null";
  if (auto* c = dynamic_cast<const TComponent*>(o)) return c->Name();
  return o->ClassName();
}

std::string At(int x, int y) { return "@" + std::to_string(x) + "," + std::to_string(y); }

// Form client origin (100, 100). Source A and targets B, C are panels; L is
// a label (graphic) inside C.
class DragDropTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
    form->SetName("form");
    a = MakePanel("A", {10, 10, 100, 50});
    b = MakePanel("B", {200, 10, 100, 50});
    c = MakePanel("C", {200, 100, 150, 100});
    label = new TLabel(form);
    label->SetName("L");
    label->SetAutoSize(false);
    label->SetParent(c);
    label->SetBounds(10, 10, 40, 20);
    for (TControl* t : {static_cast<TControl*>(a), static_cast<TControl*>(b),
                        static_cast<TControl*>(c), static_cast<TControl*>(label)})
      Record(t);
    Pump();
  }
  TPanel* MakePanel(const std::string& name, TRect r) {
    auto* p = new TPanel(form);
    p->SetName(name);
    p->SetParent(form);
    p->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
    return p;
  }
  // Logs every drag event of t; targets accept unless told otherwise.
  void Record(TControl* t) {
    t->OnStartDrag = [this](TObject* s, TDragObject*&) { log.push_back("start " + NameOf(s)); };
    t->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& accept) {
      log.push_back(NameOf(s) + " " + StateName(st) + At(x, y) + " from " + NameOf(src));
      if (refuse == s) accept = false;
    };
    t->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
      log.push_back(NameOf(s) + " drop" + At(x, y) + " from " + NameOf(src));
    };
    t->OnEndDrag = [this](TObject* s, TObject* target, int x, int y) {
      log.push_back(NameOf(s) + " end " + NameOf(target) + At(x, y));
    };
  }
  void Press(TPoint p) {
    hp->InjectMouseMove(p);
    hp->InjectMouseDown(TMouseButtonId::Left, p);
    Pump();
  }
  void Release(TPoint p) {
    hp->InjectMouseUp(TMouseButtonId::Left, p);
    Pump();
  }
  using Log = std::vector<std::string>;
  Log Take() { return std::exchange(log, {}); }

  TForm* form = nullptr;
  TPanel *a = nullptr, *b = nullptr, *c = nullptr;
  TLabel* label = nullptr;
  TObject* refuse = nullptr;
  Log log;
};

TEST_F(DragDropTest, AShortPressStaysAClickAndOnlyAMovePastTheThresholdDrags) {
  a->SetDragMode(dmAutomatic);
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  Press({150, 130});
  EXPECT_TRUE(a->Dragging()) << "waiting for the threshold";
  EXPECT_FALSE(TDragEngine::Running());
  Move({155, 125});  // 5 pixels is not past the default threshold
  Release({155, 125});
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(a->Dragging());
  EXPECT_EQ(hp->CaptureWindow(), nullptr);
  EXPECT_TRUE(log.empty());

  Press({150, 130});
  Move({156, 130});
  EXPECT_TRUE(TDragEngine::Running());
  Release({156, 130});
  EXPECT_EQ(clicks, 1) << "a drag is no click";
  EXPECT_EQ(Take(), (Log{"start A", "A enter@46,20 from A", "A leave@46,20 from A",
                         "A drop@46,20 from A", "A end A@46,20"}));
  EXPECT_EQ(hp->CaptureWindow(), nullptr);

  // A threshold of its own, and an immediate drag from a press handler.
  a->SetDragMode(dmManual);
  a->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { a->BeginDrag(false, 20); };
  Press({150, 130});
  Move({165, 145});
  EXPECT_FALSE(TDragEngine::Running());
  Move({171, 130});
  EXPECT_TRUE(TDragEngine::Running());
  Release({171, 130});
  a->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { a->BeginDrag(true); };
  Take();
  Press({150, 130});
  EXPECT_EQ(Take(), (Log{"start A", "A enter@40,20 from A"}));
  Release({150, 130});
}

TEST_F(DragDropTest, TargetsHearEnterMoveAndLeaveAndTheDropComesLast) {
  a->SetDragMode(dmAutomatic);
  Press({150, 130});
  Move({160, 130});                 // starts over A
  Move({320, 130});                 // B (220, 20 in form)
  Move({330, 140});
  Move({320, 230});                 // C, beside the label
  Move({315, 225});                 // the label (graphic) inside C
  EXPECT_EQ(TDragEngine::Target(), label);
  bool draggingInDrop = true;
  label->OnDragDrop = [&](TObject*, TObject* src, int x, int y) {
    draggingInDrop = a->Dragging();
    log.push_back("L drop" + At(x, y) + " from " + NameOf(src));
  };
  Release({316, 226});
  EXPECT_EQ(Take(), (Log{
                        "start A",
                        "A enter@50,20 from A",
                        "A leave@210,20 from A",  // where the pointer is now
                        "B enter@20,20 from A",
                        "B move@30,30 from A",
                        "B leave@20,120 from A",
                        "C enter@20,30 from A",
                        "C leave@15,25 from A",
                        "L enter@5,15 from A",
                        "L move@6,16 from A",  // the release point moved on
                        "L leave@6,16 from A",
                        "L drop@6,16 from A",
                        "A end L@6,16",
                    }));
  EXPECT_FALSE(draggingInDrop) << "the drag is over when the drop is told";
}

TEST_F(DragDropTest, AGraphicControlDragsAndADisabledControlIsNoTarget) {
  label->SetDragMode(dmAutomatic);
  b->SetEnabled(false);
  Press({315, 215});  // the label
  Move({320, 130});   // over B, which is disabled: the form is the target
  EXPECT_EQ(TDragEngine::Target(), form);
  Move({400, 250});   // C
  Release({400, 250});
  EXPECT_EQ(Take(), (Log{"start L", "C enter@100,50 from L", "C leave@100,50 from L",
                         "C drop@100,50 from L", "L end C@100,50"}));
  EXPECT_EQ(hp->CaptureWindow(), nullptr);
  EXPECT_EQ(GetCapture(), HWND());
}

TEST_F(DragDropTest, RefusedAndDeafTargetsGetNoDropAndShowTheNoDropCursor) {
  a->SetDragMode(dmAutomatic);
  a->SetDragCursor(crHandPoint);
  refuse = b;
  Press({150, 130});
  Move({160, 130});
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::HandPoint) << "A accepts itself";
  Move({320, 130});
  EXPECT_FALSE(TDragEngine::Accepted());
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::No);
  Move({450, 350});  // the form: no OnDragOver, so no acceptance
  EXPECT_EQ(TDragEngine::Target(), form);
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::No);
  Move({320, 130});
  Take();
  Release({320, 130});
  EXPECT_EQ(Take(), (Log{"B leave@20,20 from A", "A end null@210,20"}));
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::Arrow) << "the window under the pointer sets it again";

  // The default drag cursor.
  a->SetDragCursor(crDrag);
  refuse = nullptr;
  Press({150, 130});
  Move({320, 130});
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::Drag);
  Release({320, 130});
}

TEST_F(DragDropTest, EscapeCancelsAndSoDoesLosingTheCapture) {
  a->SetDragMode(dmAutomatic);
  int keys = 0;
  form->SetKeyPreview(true);
  form->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { keys += k == VK_ESCAPE; };
  Press({150, 130});
  Move({320, 130});
  Take();
  hp->InjectKeyDown(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Take(), (Log{"B leave@20,20 from A", "A end null@210,20"}));
  EXPECT_EQ(keys, 0) << "the drag took the key";
  EXPECT_FALSE(a->Dragging());
  EXPECT_EQ(hp->CaptureWindow(), nullptr);
  hp->InjectKeyUp(VK_ESCAPE);
  Move({330, 130});
  Release({330, 130});
  EXPECT_TRUE(log.empty()) << "nothing is dropped after the cancel";

  Press({150, 130});
  Move({320, 130});
  Take();
  c->SetMouseCapture(true);  // someone else takes the pointer
  Pump();
  EXPECT_EQ(Take(), (Log{"B leave@20,20 from A", "A end null@210,20"}));
  EXPECT_FALSE(TDragEngine::Running());
  EXPECT_EQ(GetCapture(), HWND(c));
  c->SetMouseCapture(false);
  Release({320, 130});

  // EndDrag and CancelDrag from code.
  Press({150, 130});
  Move({320, 130});
  Take();
  b->EndDrag(false);
  EXPECT_TRUE(a->Dragging()) << "only the source ends its drag";
  a->EndDrag(true);
  EXPECT_EQ(Take(), (Log{"B leave@20,20 from A", "B drop@20,20 from A", "A end B@20,20"}));
  Release({320, 130});
  Press({150, 130});
  Move({320, 130});
  Take();
  TControl::CancelDrag();
  EXPECT_EQ(Take(), (Log{"B leave@20,20 from A", "A end null@210,20"}));
  Release({320, 130});
}

TEST_F(DragDropTest, AnAutomaticListDragsTheItemUnderThePress) {
  auto* list = new TListBox(form);
  list->SetName("list");
  list->SetParent(form);
  list->SetBounds(10, 100, 100, 100);
  for (const char* s : {"zero", "one", "two", "three"}) list->Items().Add(s);
  list->SetDragMode(dmAutomatic);
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  Pump();
  std::vector<std::string> dropped;
  b->OnDragOver = [&](TObject*, TObject* src, int, int, TDragState, bool& accept) {
    accept = Is<TListBox>(src);
  };
  b->OnDragDrop = [&](TObject*, TObject* src, int, int) {
    auto* l = As<TListBox>(src);
    dropped.push_back(l->Items()[l->ItemIndex()]);
  };
  Press({130, 200 + 2 * 16 + 8});  // "two"
  EXPECT_EQ(list->ItemIndex(), 2) << "the press selects before anything drags";
  Move({320, 130});
  Release({320, 130});
  EXPECT_EQ(dropped, std::vector<std::string>{"two"});
  EXPECT_EQ(clicks, 1) << "the selection on the press, nothing after the drag";
  EXPECT_EQ(list->ItemIndex(), 2);
}

// A drag object that carries data rather than a control.
class TTextDrag : public TDragObject {
 public:
  std::string text;
};

TEST_F(DragDropTest, ADragObjectIsTheSourceAndItsDestructionCancels) {
  auto object = std::make_unique<TTextDrag>();
  object->text = "payload";
  a->OnStartDrag = [&](TObject*, TDragObject*& o) { o = object.get(); };
  std::string got;
  b->OnDragDrop = [&](TObject*, TObject* src, int, int) {
    if (auto* t = dynamic_cast<TTextDrag*>(src)) got = t->text;
  };
  a->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { a->BeginDrag(true); };
  Press({150, 130});
  EXPECT_EQ(object->DragSource(), a);
  Move({320, 130});
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::Drag);
  Release({320, 130});
  EXPECT_EQ(got, "payload");

  Press({150, 130});
  Move({320, 130});
  Take();
  b->OnDragOver = [&](TObject*, TObject*, int, int, TDragState st, bool&) {
    log.push_back(std::string("B ") + StateName(st));
    if (st == dsDragMove) object.reset();
  };
  Move({321, 130});
  EXPECT_EQ(Take(), (Log{"B move", "B leave", "A end null@211,20"}));
  EXPECT_FALSE(a->Dragging());
  Release({321, 130});
}

TEST_F(DragDropTest, HandlersMayFreeTheTargetTheSourceOrTheForm) {
  a->SetDragMode(dmAutomatic);
  // The target frees itself when entered: the drag goes on without it.
  b->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) {
    accept = true;
    // The closure dies with the control: nothing of it is read afterwards.
    TPanel*& slot = b;
    delete slot;
    slot = nullptr;
  };
  Press({150, 130});
  Move({320, 130});
  EXPECT_TRUE(TDragEngine::Running());
  EXPECT_EQ(TDragEngine::Target(), nullptr);
  Move({321, 131});  // the form is under the pointer now
  EXPECT_EQ(TDragEngine::Target(), form);
  Take();
  Release({321, 131});
  EXPECT_EQ(Take(), (Log{"A end null@211,21"}));

  // A target's handler frees the source: the drag ends, the target hears
  // its leave, nobody is told of the end.
  c->OnDragOver = [&](TObject*, TObject*, int, int, TDragState st, bool& accept) {
    log.push_back(std::string("C ") + StateName(st));
    accept = true;
    if (st == dsDragMove) {
      delete a;
      a = nullptr;
    }
  };
  Press({150, 130});
  Move({320, 230});
  Move({321, 230});
  EXPECT_EQ(a, nullptr);
  EXPECT_FALSE(TDragEngine::Running());
  EXPECT_EQ(Take(), (Log{"start A", "C enter", "C move", "C leave"}));
  Release({321, 230});
  Pump();
}

TEST_F(DragDropTest, ADropThatClosesTheFormAndAnEndThatFreesTheSource) {
  a->SetDragMode(dmAutomatic);
  a->OnEndDrag = [&](TObject*, TObject* target, int, int) {
    log.push_back("end " + NameOf(target));
    TPanel*& slot = a;
    delete slot;
    slot = nullptr;
  };
  Press({150, 130});
  Move({320, 130});
  Release({320, 130});
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(log.back(), "end B");

  // A second source in a second form; the drop frees the form of both.
  TForm* dialog = MakeForm({600, 100, 900, 400}, bsNone);
  auto* source = new TPanel(dialog);
  source->SetParent(dialog);
  source->SetBounds(10, 10, 50, 50);
  source->SetDragMode(dmAutomatic);
  auto* target = new TPanel(dialog);
  target->SetParent(dialog);
  target->SetBounds(100, 10, 50, 50);
  int ends = 0;
  source->OnEndDrag = [&](TObject*, TObject*, int, int) { ++ends; };
  target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
  target->OnDragDrop = [&](TObject*, TObject*, int, int) {
    TForm*& slot = dialog;
    delete slot;
    slot = nullptr;
  };
  Pump();
  Press({620, 120});
  Move({720, 120});
  Release({720, 120});
  EXPECT_EQ(dialog, nullptr);
  EXPECT_EQ(ends, 0) << "the source went with the form";
  EXPECT_FALSE(TDragEngine::Running());
  Pump();

  // The source's form is freed while the drag runs (by a timer): the
  // target still hears its leave.
  TForm* other = MakeForm({600, 100, 900, 400}, bsNone);
  auto* p = new TPanel(other);
  p->SetParent(other);
  p->SetBounds(10, 10, 50, 50);
  p->SetDragMode(dmAutomatic);
  Pump();
  Press({620, 120});
  Move({450, 350});
  Move({320, 130});
  Take();
  delete other;
  Pump();
  EXPECT_EQ(Take(), (Log{"B leave@20,20 from null"}));
  EXPECT_FALSE(TDragEngine::Running());
  Release({320, 130});
}

}  // namespace
}  // namespace qz::testing
