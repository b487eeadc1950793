// The host tree view: keyboard navigation and expansion, children fetched
// once, only the rows on screen painted and probed, the mouse on buttons
// and captions, and handlers that free the view.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host/ui/TreeView.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

// A view that counts how often it is asked whether a node has children.
class TCountingTree : public TTreeView {
  QZ_CLASS(TCountingTree, TTreeView)
 public:
  using TTreeView::TTreeView;
  int probes = 0;

 protected:
  bool NodeHasChildren(TTreeNode* Node) override {
    ++probes;
    return Node->Level() < 2;
  }
};

class TreeViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
    tree = new TCountingTree(form);
    tree->SetParent(form);
    tree->SetBounds(10, 10, 200, 80);  // five rows of 16
    tree->SetItemHeight(16);
    // Three top nodes; every node above level 2 has three children,
    // fetched when it is first expanded.
    tree->OnFetchChildren = [this](TObject*, TTreeNode* node) {
      ++fetches;
      if (node->Level() >= 2) return;
      for (int i = 0; i < 3; ++i) tree->AddChild(node, node->Text() + "." + std::to_string(i));
    };
    for (const char* name : {"alpha", "beta", "gamma"}) tree->AddChild(nullptr, name);
    Pump();
    tree->SetFocus();
    Pump();
  }
  std::string SelectedText() const { return tree->Selected() ? tree->Selected()->Text() : "-"; }
  std::string ExpandedNodes() const {
    std::string out;
    for (TTreeNode* n : tree->Rows())
      if (n->Expanded()) out += (out.empty() ? "" : ",") + n->Text();
    return out;
  }
  TPoint Screen(TPoint client) const { return {110 + client.X, 110 + client.Y}; }

  TForm* form = nullptr;
  TCountingTree* tree = nullptr;
  int fetches = 0;
};

struct TKeyStep {
  int vk;            // 0: type `text` instead
  const char* text;
};

TEST_F(TreeViewTest, KeySequencesSelectExpandAndScroll) {
  struct TCase {
    const char* label;
    std::vector<TKeyStep> steps;
    const char* selected;
    const char* expanded;
    int topRow;
  };
  const std::vector<TCase> cases = {
      {"first key selects the first row", {{VK_DOWN, ""}}, "alpha", "", 0},
      {"Right expands", {{VK_DOWN, ""}, {VK_RIGHT, ""}}, "alpha", "alpha", 0},
      {"Right on an expanded node enters it", {{VK_DOWN, ""}, {VK_RIGHT, ""}, {VK_RIGHT, ""}}, "alpha.0", "alpha", 0},
      {"Left on a collapsed child goes to the parent",
       {{VK_DOWN, ""}, {VK_RIGHT, ""}, {VK_RIGHT, ""}, {VK_LEFT, ""}}, "alpha", "alpha", 0},
      {"Left on an expanded node collapses", {{VK_DOWN, ""}, {VK_RIGHT, ""}, {VK_LEFT, ""}}, "alpha", "", 0},
      {"+ expands, - collapses", {{VK_DOWN, ""}, {VK_ADD, ""}, {VK_SUBTRACT, ""}, {VK_ADD, ""}}, "alpha", "alpha", 0},
      {"Up at the top stays", {{VK_DOWN, ""}, {VK_UP, ""}}, "alpha", "", 0},
      {"End goes to the last row", {{VK_END, ""}}, "gamma", "", 0},
      {"* expands the whole branch; End scrolls",
       {{VK_DOWN, ""}, {VK_MULTIPLY, ""}, {VK_END, ""}},
       "gamma", "alpha,alpha.0,alpha.1,alpha.2", 10},
      {"Page Down moves a page less one", {{VK_DOWN, ""}, {VK_RIGHT, ""}, {VK_NEXT, ""}}, "beta", "alpha", 0},
      {"two pages down scroll", {{VK_DOWN, ""}, {VK_MULTIPLY, ""}, {VK_NEXT, ""}, {VK_NEXT, ""}},
       "alpha.1.2", "alpha,alpha.0,alpha.1,alpha.2", 4},
      {"Page Up after End", {{VK_END, ""}, {VK_PRIOR, ""}}, "alpha", "", 0},
      {"Home after scrolling", {{VK_DOWN, ""}, {VK_MULTIPLY, ""}, {VK_END, ""}, {VK_HOME, ""}},
       "alpha", "alpha,alpha.0,alpha.1,alpha.2", 0},
      {"typing selects by prefix", {{0, "g"}}, "gamma", "", 0},
      {"a longer prefix stays on a match", {{VK_DOWN, ""}, {VK_RIGHT, ""}, {0, "alpha.2"}}, "alpha.2", "alpha", 0},
      {"no match keeps the selection", {{VK_DOWN, ""}, {0, "z"}}, "alpha", "", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.label);
    // A fresh tree state for each case: collapse all, no selection.
    tree->SetSelected(nullptr);
    for (int i = 0; i < tree->TopCount(); ++i) tree->TopItem(i)->Collapse();
    for (int i = 0; i < tree->TopCount(); ++i) tree->DeleteChildren(tree->TopItem(i));
    tree->SetTopRow(0);
    hp->AdvanceClock(1000);  // no search prefix carried over
    for (const TKeyStep& s : c.steps) {
      if (s.vk) Key(s.vk);
      else {
        hp->InjectText(s.text);
        Pump();
      }
    }
    EXPECT_EQ(SelectedText(), c.selected);
    EXPECT_EQ(ExpandedNodes(), c.expanded);
    EXPECT_EQ(tree->TopRow(), c.topRow);
  }
}

TEST_F(TreeViewTest, ChildrenAreFetchedOnceAndCollapseMovesTheSelectionUp) {
  TTreeNode* alpha = tree->TopItem(0);
  EXPECT_TRUE(alpha->Expand());
  alpha->Collapse();
  EXPECT_TRUE(alpha->Expand());
  EXPECT_EQ(fetches, 1);
  EXPECT_EQ(alpha->Count(), 3);

  int changes = 0;
  tree->OnChange = [&](TObject*) { ++changes; };
  tree->SetSelected(alpha->Item(1));
  alpha->Collapse();
  EXPECT_EQ(tree->Selected(), alpha);
  EXPECT_EQ(changes, 2);
  // A leaf's fetch finds nothing: its button goes and it stays collapsed.
  ASSERT_TRUE(alpha->Expand());
  TTreeNode* leafParent = alpha->Item(0);
  ASSERT_TRUE(leafParent->Expand());
  EXPECT_FALSE(leafParent->Item(0)->Expand());
  EXPECT_FALSE(leafParent->Item(0)->HasChildren());
}

TEST_F(TreeViewTest, ReloadKeepsExpandedChildrenOfTheSameName) {
  TTreeNode* alpha = tree->TopItem(0);
  alpha->Expand();
  alpha->Item(1)->Expand();
  tree->SetSelected(alpha->Item(1)->Item(2));
  TTreeNode* selected = tree->Selected();
  tree->ReloadChildren(alpha);
  EXPECT_EQ(alpha->Count(), 3);
  EXPECT_TRUE(alpha->Item(1)->Expanded());
  EXPECT_EQ(tree->Selected(), selected);
  EXPECT_EQ(tree->RowCount(), 1 + 3 + 3 + 2);
}

TEST_F(TreeViewTest, OnlyTheRowsOnScreenArePaintedAndProbed) {
  tree->Clear();
  tree->OnFetchChildren = [this](TObject*, TTreeNode* node) {
    for (int i = 0; i < 10000; ++i) tree->AddChild(node, "folder" + std::to_string(i));
  };
  TTreeNode* top = tree->AddChild(nullptr, "top");
  tree->probes = 0;
  ASSERT_TRUE(top->Expand());
  EXPECT_EQ(tree->RowCount(), 10001);
  std::vector<std::string> painted;
  tree->OnCustomDrawItem = [&](TTreeView*, TTreeNode* node, TRect, TOwnerDrawState, bool&) {
    painted.push_back(node->Text());
  };
  tree->SetTopRow(5000);
  tree->Repaint();
  Pump();
  EXPECT_EQ(painted, (std::vector<std::string>{"folder4999", "folder5000", "folder5001", "folder5002", "folder5003"}));
  // Expanding asked nothing; painting asked the five rows shown.
  EXPECT_EQ(tree->probes, 5);
  const TListScrollInfo v = tree->VertScrollInfo();
  EXPECT_EQ(v.Max, 10000);
  EXPECT_EQ(v.Page, 5);
  EXPECT_EQ(v.Position, 5000);
}

TEST_F(TreeViewTest, MouseTogglesOnTheButtonAndSelectsOnTheCaption) {
  TTreeNode* alpha = tree->TopItem(0);
  const TTreeNodeRects r = tree->NodeRects(alpha);
  ASSERT_FALSE(r.Button.IsEmpty());
  Click(Screen({(r.Button.Left + r.Button.Right) / 2, (r.Button.Top + r.Button.Bottom) / 2}));
  EXPECT_TRUE(alpha->Expanded());
  EXPECT_EQ(tree->Selected(), nullptr);
  const TTreeNodeRects child = tree->NodeRects(alpha->Item(2));
  Click(Screen({child.Label.Left + 3, child.Label.Top + 8}));
  EXPECT_EQ(SelectedText(), "alpha.2");
  EXPECT_EQ(tree->HitTest({child.Label.Left + 3, child.Label.Top + 8}).Part, htOnLabel);
  EXPECT_EQ(tree->HitTest({5, 200}).Node, nullptr);
}

TEST_F(TreeViewTest, HandlersMayFreeTheView) {
  tree->OnChange = [this](TObject*) { delete std::exchange(tree, nullptr); };
  Key(VK_DOWN);
  EXPECT_EQ(tree, nullptr);

  tree = new TCountingTree(form);
  tree->SetParent(form);
  tree->SetBounds(10, 10, 200, 80);
  tree->AddChild(nullptr, "x");
  tree->OnFetchChildren = [this](TObject*, TTreeNode*) { delete std::exchange(tree, nullptr); };
  EXPECT_FALSE(tree->TopItem(0)->Expand());
  EXPECT_EQ(tree, nullptr);
}

}  // namespace
}  // namespace qz::testing
