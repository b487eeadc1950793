// The host's tree view: nodes with a caption and an image, shown one per
// row below their parent, indented by level, with lines and expand buttons.
//
// Children may be fetched lazily: a node that says HasChildren shows an
// expand button before it has any, and its children are asked for (once)
// when it is first expanded. Whether a node has children may also be left
// unknown and is then asked only when the node is painted or hit, so a
// folder of ten thousand sub-folders costs no probe of each.
//
// The visible rows (the nodes whose ancestors are all expanded) are kept as
// one array rebuilt when the expansion changes; painting and hit testing
// look only at the rows on screen and read the same rectangles (NodeRects).
// Like the list box the view draws no scroll bars: VertScrollInfo (rows)
// and HorzScrollInfo (pixels) give its scroll state, OnScrollStateChange
// tells of changes, and WM_VSCROLL / WM_HSCROLL drive it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/ImgList.h"
#include "host/ui/ListBox.h"

namespace qz {

class TTreeView;

class TTreeNode {
 public:
  TTreeNode(TTreeView& owner, TTreeNode* parent);
  virtual ~TTreeNode();
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  TTreeView& Owner() const { return owner_; }
  TTreeNode* Parent() const { return parent_; }
  int Level() const { return level_; }
  // The position among its parent's children (or the top-level nodes).
  int Index() const;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& V);
  int ImageIndex = -1;
  int SelectedIndex = -1;  // -1: ImageIndex also when selected
  void* Data = nullptr;

  int Count() const { return static_cast<int>(children_.size()); }
  TTreeNode* Item(int Index) const { return children_.at(Index).get(); }
  TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }

  // Whether the node shows an expand button. Before the children are
  // fetched it is what SetHasChildren said, or, when nothing was said, what
  // the view's NodeHasChildren answers (asked once); afterwards whether
  // there are children.
  bool HasChildren() const;
  void SetHasChildren(bool V);
  bool ChildrenFetched() const { return fetched_; }
  bool Expanded() const { return expanded_; }
  // Fetches the children on the first call; false when the node has none
  // or a handler refused.
  bool Expand();
  void Collapse();
  bool Selected() const;
  // All ancestors expanded.
  bool IsVisible() const;

 private:
  friend class TTreeView;
  TTreeView& owner_;
  TTreeNode* parent_;
  int level_;
  std::string text_;
  std::vector<std::unique_ptr<TTreeNode>> children_;
  int8_t hasChildren_ = -1;  // -1 unknown, 0 no, 1 yes (before fetching)
  bool fetched_ = false;
  bool expanded_ = false;
  int width_ = -1;           // caption width in pixels, measured when painted
  int row_ = -1;             // the row at the last rebuild of the rows
};

enum class TTreeHitPart { htNowhere, htOnIndent, htOnButton, htOnIcon, htOnLabel, htOnRight };
using enum TTreeHitPart;

struct TTreeHitInfo {
  TTreeNode* Node = nullptr;
  TTreeHitPart Part = htNowhere;
};

// The rectangles of one row in client coordinates: the whole row, the
// expand button's square (empty without one), the image and the caption.
struct TTreeNodeRects {
  TRect Row, Button, Image, Label;
};

using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVCustomDrawItemEvent = std::function<void(TTreeView* Sender, TTreeNode* Node, TRect Rect,
                                                  TOwnerDrawState State, bool& DefaultDraw)>;

// '*' expands at most this many nodes below the selected one: a lazy tree
// of the file system could otherwise walk the whole disk.
inline constexpr int kTreeExpandAllLimit = 2000;

class TTreeView : public TCustomControl {
  QZ_CLASS(TTreeView, TCustomControl)
 public:
  explicit TTreeView(TComponent* AOwner);
  ~TTreeView() override;

  // ---- nodes
  // Adds a node at the end of parent's children (parent null: top level).
  TTreeNode* AddChild(TTreeNode* Parent, std::string Text);
  // Removes the node and its subtree; a selection inside moves to the
  // node's parent (or, at the top level, to the nearest remaining node).
  void Delete(TTreeNode* Node);
  // Removes the children; the node counts as not fetched again, so the next
  // expansion (or, when expanded, this call) fetches them anew.
  void DeleteChildren(TTreeNode* Node);
  void Clear();
  int TopCount() const { return static_cast<int>(roots_.size()); }
  TTreeNode* TopItem(int Index) const { return roots_.at(Index).get(); }
  // Sorts the children (top level for null) by caption, case-insensitively.
  void SortChildren(TTreeNode* Parent);
  // Fetches the children again and keeps what can be kept: children of
  // the same caption keep their subtree, expansion and selection.
  void ReloadChildren(TTreeNode* Node);
  void BeginUpdate();
  void EndUpdate();

  // ---- selection
  TTreeNode* Selected() const { return selected_; }
  // Selects the node (null: none), expanding its ancestors and scrolling it
  // into view; fires OnChange when it changed.
  void SetSelected(TTreeNode* Node);
  // Shows the selection while the view has no focus.
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool V);

  // ---- looks
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool V);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool V);
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool V);
  int Indent() const { return indent_; }
  void SetIndent(int V);
  // The row height; 0 (the default) follows the font.
  int ItemHeight() const;
  void SetItemHeight(int V);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* V);
  // Expand buttons from an image list: ExpandImageIndex for a node that can
  // be expanded, NoExpandImageIndex for an expanded one; drawn squares when
  // no list is set or an index is out of its range.
  TCustomImageList* ButtonImages() const { return buttonImages_; }
  void SetButtonImages(TCustomImageList* V);
  int ExpandImageIndex() const { return expandImageIndex_; }
  void SetExpandImageIndex(int V);
  int NoExpandImageIndex() const { return noExpandImageIndex_; }
  void SetNoExpandImageIndex(int V);

  // ---- rows and scrolling
  // The visible nodes, top to bottom.
  const std::vector<TTreeNode*>& Rows() const;
  int RowCount() const { return static_cast<int>(Rows().size()); }
  // The row of a node, -1 when it is not visible.
  int RowOf(const TTreeNode* Node) const;
  int TopRow() const { return topRow_; }
  void SetTopRow(int V);
  int HorzPosition() const { return horzPosition_; }
  void SetHorzPosition(int V);
  // Rows that fit whole (at least 1).
  int VisibleRowCount() const;
  TListScrollInfo VertScrollInfo() const;
  TListScrollInfo HorzScrollInfo() const;
  // Expands the ancestors and scrolls as little as needed.
  void MakeVisible(TTreeNode* Node);

  // ---- geometry
  TTreeNodeRects NodeRects(const TTreeNode* Node) const;
  TTreeHitInfo HitTest(TPoint Pos) const;
  TTreeNode* GetNodeAt(int X, int Y) const { return HitTest({X, Y}).Node; }

  // The first visible node after From (wrapping; From itself too for a
  // longer prefix) whose caption starts with Prefix, case-insensitively.
  TTreeNode* FindPrefix(const std::string& Prefix, const TTreeNode* From) const;
  // Expands the node and what lies below it, at most Limit nodes.
  void FullExpand(TTreeNode* Node, int Limit = kTreeExpandAllLimit);

  // ---- events
  // Asked on every expansion; AllowExpansion false refuses it.
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded, OnCollapsed;
  // Fills the children of a node at its first expansion.
  TTVExpandedEvent OnFetchChildren;
  TTVCustomDrawItemEvent OnCustomDrawItem;
  // The selected node changed (by the user or the program).
  TNotifyEvent OnChange;
  TNotifyEvent OnScrollStateChange;

 protected:
  friend class TTreeNode;

  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void Resize() override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;

  // The node objects the view makes (a subclass may carry more in them).
  virtual std::unique_ptr<TTreeNode> CreateNode(TTreeNode* Parent);
  // Fills the children at the first expansion: fires OnFetchChildren.
  virtual void FetchChildren(TTreeNode* Node);
  // Whether a node nobody said anything about has children (asked once,
  // when it is painted or hit). The default says no.
  virtual bool NodeHasChildren(TTreeNode* Node);
  // Draws one row (the caption part; lines and button are drawn before):
  // OnCustomDrawItem, then, unless it said no, DrawNodeContent.
  void DrawNode(TTreeNode* Node, const TTreeNodeRects& Rects, TOwnerDrawState State);
  // The standard look of the image and the caption.
  virtual void DrawNodeContent(TTreeNode* Node, const TTreeNodeRects& Rects, TOwnerDrawState State);
  virtual void DrawButton(TTreeNode* Node, const TRect& Button);
  // The colours of the rows' background and of lines and button glyphs
  // (Color and the window text colour; a skinned view takes its skin's).
  virtual TColor BackgroundColor() const { return Color(); }
  virtual TColor LineColor() const { return clWindowText; }
  // The selection changed: fires OnChange. May free the view.
  virtual void SelectionChanged();
  // The scroll state changed: fires OnScrollStateChange. May free the view.
  virtual void ScrollStateChanged();
  TOwnerDrawState NodeState(const TTreeNode* Node) const;
  // Tells ScrollStateChanged when the state differs from the last told.
  // False when the view was freed.
  bool NotifyScrollState();

 private:
  std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* Node);
  void RowsChanged();
  void RebuildRows() const;
  void AppendRows(const std::vector<std::unique_ptr<TTreeNode>>& nodes) const;
  bool ExpandNode(TTreeNode* Node);
  void CollapseNode(TTreeNode* Node);
  void ToggleNode(TTreeNode* Node);
  // A user action selected Node: selects, shows it, fires OnChange.
  void UserSelect(TTreeNode* Node);
  bool ContainsNode(const TTreeNode* Ancestor, const TTreeNode* Node) const;
  void Scroll(int Bar, int Code, int Pos);
  int ClampTop(int V) const;
  int ContentWidth() const;
  int CaptionWidth(TTreeNode* Node);
  void DrawLines(TTreeNode* Node, int Row, const TTreeNodeRects& Rects);
  void KeepRowsPlaced();

  std::vector<std::unique_ptr<TTreeNode>> roots_;
  TTreeNode* selected_ = nullptr;
  bool hideSelection_ = true;
  bool showLines_ = true;
  bool showButtons_ = true;
  bool showRoot_ = true;
  int indent_ = 19;
  int itemHeight_ = 0;
  TCustomImageList* images_ = nullptr;
  TCustomImageList* buttonImages_ = nullptr;
  int expandImageIndex_ = 0;
  int noExpandImageIndex_ = 1;

  mutable std::vector<TTreeNode*> rows_;
  mutable bool rowsDirty_ = true;
  mutable int widestSeen_ = 0;
  mutable TFontData measuredFont_{};
  mutable int measuredHeight_ = -1;
  int topRow_ = 0;
  int horzPosition_ = 0;
  int updateCount_ = 0;
  TListScrollInfo toldVert_, toldHorz_;
  TTypedPrefix search_;
};

}  // namespace qz
