// Dragging the skinned list box's items: the inner list drags in automatic
// mode, the box forwards the list's drag events with itself as sender, its
// OnListBoxDragOver decides whether the list takes a drop, and a drop
// handler may free the box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ui/DragDrop.h"
#include "host/ui/ExtCtrls.h"
#include "skin/controls/SkinListBox.h"
#include "tests/skincontrols/SkinControlTestKit.h"

namespace qz::testing {
namespace {

// The plain box at (10, 10) of a form whose client starts at (100, 100):
// its list starts at (112, 112) on screen with rows of 20 pixels. A panel
// lies to its right.
class SkinListBoxDragTest : public SkinControlTest {
 protected:
  void SetUp() override {
    SkinControlTest::SetUp();
    box = new TqzSkinListBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 120);
    box->Items().BeginUpdate();
    for (int i = 0; i < 5; ++i) box->Items().Add("Item" + std::to_string(i));
    box->Items().EndUpdate();
    box->SetListBoxDragMode(dmAutomatic);
    panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(200, 20, 80, 80);
    Pump();
  }
  static TPoint Row(int k) { return {140, 112 + 20 * k + 10}; }
  void Drag(TPoint from, TPoint to) {
    hp->InjectMouseMove(from);
    hp->InjectMouseDown(TMouseButtonId::Left, from);
    hp->InjectMouseMove(to);
    Pump();
  }
  void Drop(TPoint at) {
    hp->InjectMouseUp(TMouseButtonId::Left, at);
    Pump();
  }

  TqzSkinListBox* box = nullptr;
  TPanel* panel = nullptr;
  std::vector<std::string> log;
};

TEST_F(SkinListBoxDragTest, ItemsDragOntoAnotherControlWithTheBoxAsSender) {
  EXPECT_EQ(box->ListBox().DragMode(), dmAutomatic);
  box->OnListBoxStartDrag = [&](TObject* sender, TDragObject*&) {
    log.push_back(sender == box ? "start box" : "start ?");
  };
  box->OnListBoxEndDrag = [&](TObject* sender, TObject* target, int x, int y) {
    log.push_back(std::string(sender == box ? "end box" : "end ?") +
                  (target == panel ? " on panel " : " on ? ") + std::to_string(x) + "," +
                  std::to_string(y));
  };
  panel->OnDragOver = [](TObject*, TObject* src, int, int, TDragState, bool& accept) {
    accept = Is<TqzListBox>(src);
  };
  panel->OnDragDrop = [&](TObject*, TObject* src, int, int) {
    TqzSkinCustomListBox* from = As<TqzListBox>(src)->SkinListBox();
    log.push_back("drop " + from->Items()[from->ItemIndex()]);
  };
  Drag(Row(3), {320, 140});
  EXPECT_EQ(box->ItemIndex(), 3);
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::Drag);
  Drop({320, 140});
  EXPECT_EQ(log, (std::vector<std::string>{"start box", "drop Item3", "end box on panel 20,20"}));
}

TEST_F(SkinListBoxDragTest, TheBoxsOwnHandlerDecidesWhetherItsListTakesADrop) {
  int drops = 0;
  box->OnListBoxDragDrop = [&](TObject*, TObject*, int, int) { ++drops; };
  // Without OnListBoxDragOver the list refuses, although the box listens to it.
  Drag(Row(0), Row(3));
  EXPECT_EQ(TDragEngine::Target(), &box->ListBox());
  EXPECT_FALSE(TDragEngine::Accepted());
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::No);
  Drop(Row(3));
  EXPECT_EQ(drops, 0);

  // With it, the box (as sender) sees the list's states and drop point.
  box->OnListBoxDragOver = [&](TObject* sender, TObject* src, int, int, TDragState st, bool&) {
    EXPECT_EQ(sender, box);
    EXPECT_EQ(src, &box->ListBox());
    log.push_back(st == dsDragEnter ? "enter" : st == dsDragMove ? "move" : "leave");
  };
  int dropRow = -1;
  box->OnListBoxDragDrop = [&](TObject* sender, TObject*, int x, int y) {
    EXPECT_EQ(sender, box);
    dropRow = box->ListBox().ItemAtPos({x, y}, true);
  };
  Drag(Row(0), Row(3));
  hp->InjectMouseMove(Row(4));
  Drop(Row(4));
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "move", "leave"}));
  EXPECT_EQ(dropRow, 4);
}

TEST_F(SkinListBoxDragTest, ADropHandlerMayFreeTheBox) {
  int ends = 0;
  box->OnListBoxEndDrag = [&](TObject*, TObject*, int, int) { ++ends; };
  box->OnListBoxDragOver = [](TObject*, TObject*, int, int, TDragState, bool&) {};
  box->OnListBoxDragDrop = [&](TObject*, TObject*, int, int) {
    // The closure dies with the control: nothing of it is read afterwards.
    TqzSkinListBox*& slot = box;
    delete slot;
    slot = nullptr;
  };
  Drag(Row(0), Row(2));
  Drop(Row(2));
  EXPECT_EQ(box, nullptr);
  EXPECT_EQ(ends, 0) << "the source went with the box";
  EXPECT_FALSE(TDragEngine::Running());
  Pump();
}

}  // namespace
}  // namespace qz::testing
