#include "host/ui/TreeView.h"

#include <algorithm>

#include "host/graphics/TextEngine.h"
#include "host/ui/Windows.h"

namespace qz {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  return true;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char x = AsciiLower(a[i]), y = AsciiLower(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() < b.size();
}

constexpr int kWheelLines = 3;
constexpr int kButtonSize = 9;
constexpr int kImageGap = 2;
constexpr int kLabelPadding = 2;

}  // namespace

// ---------------------------------------------------------------------------
// TTreeNode

TTreeNode::TTreeNode(TTreeView& owner, TTreeNode* parent)
    : owner_(owner), parent_(parent), level_(parent ? parent->level_ + 1 : 0) {}

TTreeNode::~TTreeNode() = default;

int TTreeNode::Index() const {
  const auto& siblings = parent_ ? parent_->children_ : owner_.roots_;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TTreeNode::SetText(const std::string& V) {
  if (V == text_) return;
  text_ = V;
  width_ = -1;
  if (IsVisible()) owner_.Invalidate();
}

bool TTreeNode::HasChildren() const {
  if (fetched_) return !children_.empty();
  if (!children_.empty()) return true;
  if (hasChildren_ < 0) {
    auto* self = const_cast<TTreeNode*>(this);
    self->hasChildren_ = owner_.NodeHasChildren(self) ? 1 : 0;
  }
  return hasChildren_ > 0;
}

void TTreeNode::SetHasChildren(bool V) {
  hasChildren_ = V ? 1 : 0;
  if (IsVisible()) owner_.Invalidate();
}

bool TTreeNode::Expand() { return owner_.ExpandNode(this); }
void TTreeNode::Collapse() { owner_.CollapseNode(this); }
bool TTreeNode::Selected() const { return owner_.selected_ == this; }

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* p = parent_; p; p = p->parent_)
    if (!p->expanded_) return false;
  return true;
}

// ---------------------------------------------------------------------------
// TTreeView: nodes

TTreeView::TTreeView(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 121, 97);
  controlStyle_.Exclude(csClickEvents);
  tabStop_ = true;
  color_ = clWindow;
}

TTreeView::~TTreeView() {
  // Nodes refer to the view: they go before it does.
  selected_ = nullptr;
  roots_.clear();
}

std::unique_ptr<TTreeNode> TTreeView::CreateNode(TTreeNode* Parent) {
  return std::make_unique<TTreeNode>(*this, Parent);
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeView::SiblingsOf(TTreeNode* Node) {
  return Node->parent_ ? Node->parent_->children_ : roots_;
}

TTreeNode* TTreeView::AddChild(TTreeNode* Parent, std::string Text) {
  auto node = CreateNode(Parent);
  node->text_ = std::move(Text);
  TTreeNode* raw = node.get();
  auto& list = Parent ? Parent->children_ : roots_;
  list.push_back(std::move(node));
  if (updateCount_ > 0) {
    rowsDirty_ = true;  // EndUpdate repaints
    return raw;
  }
  if (!Parent || Parent->IsVisible()) {
    if (!Parent || Parent->expanded_) RowsChanged();
    else Invalidate();  // the parent's button
  }
  return raw;
}

bool TTreeView::ContainsNode(const TTreeNode* Ancestor, const TTreeNode* Node) const {
  for (const TTreeNode* p = Node; p; p = p->parent_)
    if (p == Ancestor) return true;
  return false;
}

void TTreeView::Delete(TTreeNode* Node) {
  if (!Node) return;
  auto& siblings = SiblingsOf(Node);
  const int index = Node->Index();
  if (index < 0) return;
  TTreeNode* nextSelection = selected_;
  const bool selectionGoes = selected_ && ContainsNode(Node, selected_);
  if (selectionGoes) {
    if (Node->parent_) nextSelection = Node->parent_;
    else if (index + 1 < static_cast<int>(siblings.size())) nextSelection = siblings[index + 1].get();
    else nextSelection = index > 0 ? siblings[index - 1].get() : nullptr;
    selected_ = nullptr;
  }
  siblings.erase(siblings.begin() + index);
  RowsChanged();
  if (selectionGoes) {
    selected_ = nextSelection;
    SelectionChanged();
  }
}

void TTreeView::DeleteChildren(TTreeNode* Node) {
  if (!Node) return;
  const bool selectionGoes = selected_ && selected_ != Node && ContainsNode(Node, selected_);
  if (selectionGoes) selected_ = Node;
  Node->children_.clear();
  Node->fetched_ = false;
  Node->hasChildren_ = -1;
  const bool wasExpanded = Node->expanded_;
  Node->expanded_ = false;
  RowsChanged();
  TComponentRef<TTreeView> self(this);
  if (selectionGoes) SelectionChanged();
  if (self && wasExpanded) ExpandNode(Node);
}

void TTreeView::Clear() {
  const bool hadSelection = selected_ != nullptr;
  selected_ = nullptr;
  roots_.clear();
  topRow_ = 0;
  horzPosition_ = 0;
  widestSeen_ = 0;
  RowsChanged();
  if (hadSelection) SelectionChanged();
}

void TTreeView::SortChildren(TTreeNode* Parent) {
  auto& list = Parent ? Parent->children_ : roots_;
  std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
    return LessNoCase(a->text_, b->text_);
  });
  if (!Parent || (Parent->expanded_ && Parent->IsVisible())) RowsChanged();
}

void TTreeView::ReloadChildren(TTreeNode* Node) {
  if (!Node) return;
  if (!Node->fetched_) {
    Node->hasChildren_ = -1;
    Invalidate();
    return;
  }
  // Keep the old children aside, fetch anew, then move each old subtree
  // into the new child of the same caption.
  std::vector<std::unique_ptr<TTreeNode>> old = std::move(Node->children_);
  Node->children_.clear();
  TTreeNode* oldSelected = selected_;
  const bool selectionInside = selected_ && selected_ != Node && ContainsNode(Node, selected_);
  TComponentRef<TTreeView> self(this);
  FetchChildren(Node);
  if (!self) return;
  TTreeNode* kept = nullptr;
  for (auto& fresh : Node->children_) {
    for (auto& before : old) {
      if (!before || before->text_ != fresh->text_) continue;
      // The old node stays (with its subtree and the data of the new one).
      before->ImageIndex = fresh->ImageIndex;
      before->SelectedIndex = fresh->SelectedIndex;
      before->Data = fresh->Data;
      if (before->hasChildren_ < 0 || !before->fetched_) before->hasChildren_ = fresh->hasChildren_;
      if (selectionInside && ContainsNode(before.get(), oldSelected)) kept = oldSelected;
      fresh = std::move(before);
      break;
    }
  }
  if (selectionInside && !kept) selected_ = Node;
  old.clear();
  RowsChanged();
  if (selectionInside && !kept) SelectionChanged();
}

void TTreeView::BeginUpdate() { ++updateCount_; }

void TTreeView::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) RowsChanged();
}

// ---------------------------------------------------------------------------
// Expansion

bool TTreeView::NodeHasChildren(TTreeNode*) { return false; }

void TTreeView::FetchChildren(TTreeNode* Node) {
  if (OnFetchChildren) OnFetchChildren(this, Node);
}

bool TTreeView::ExpandNode(TTreeNode* Node) {
  if (!Node) return false;
  if (Node->expanded_) return true;
  TComponentRef<TTreeView> self(this);
  if (OnExpanding) {
    bool allow = true;
    OnExpanding(this, Node, allow);
    if (!self || !allow) return false;
  }
  if (!Node->fetched_) {
    Node->fetched_ = true;
    if (Node->children_.empty() && Node->hasChildren_ != 0) {
      FetchChildren(Node);
      if (!self) return false;
    }
  }
  if (Node->children_.empty()) {
    Invalidate();  // the button goes
    return false;
  }
  Node->expanded_ = true;
  if (Node->IsVisible()) RowsChanged();
  if (OnExpanded) OnExpanded(this, Node);
  return static_cast<bool>(self);
}

void TTreeView::CollapseNode(TTreeNode* Node) {
  if (!Node || !Node->expanded_) return;
  Node->expanded_ = false;
  const bool selectionHidden = selected_ && selected_ != Node && ContainsNode(Node, selected_);
  if (selectionHidden) selected_ = Node;
  if (Node->IsVisible()) RowsChanged();
  TComponentRef<TTreeView> self(this);
  if (selectionHidden) SelectionChanged();
  if (self && OnCollapsed) OnCollapsed(this, Node);
}

void TTreeView::ToggleNode(TTreeNode* Node) {
  if (Node->expanded_) CollapseNode(Node);
  else ExpandNode(Node);
}

void TTreeView::FullExpand(TTreeNode* Node, int Limit) {
  if (!Node) return;
  TComponentRef<TTreeView> self(this);
  BeginUpdate();
  // Breadth first, so that a limit that is reached leaves the upper levels
  // open rather than one deep branch.
  std::vector<TTreeNode*> queue{Node};
  int expanded = 0;
  for (size_t i = 0; i < queue.size() && expanded < Limit; ++i) {
    TTreeNode* n = queue[i];
    if (!n->HasChildren()) continue;
    if (!ExpandNode(n)) {
      if (!self) return;
      continue;
    }
    ++expanded;
    for (auto& child : n->children_) queue.push_back(child.get());
  }
  EndUpdate();
}

// ---------------------------------------------------------------------------
// Selection

void TTreeView::SetSelected(TTreeNode* Node) {
  if (Node == selected_) {
    if (Node) MakeVisible(Node);
    return;
  }
  TComponentRef<TTreeView> self(this);
  if (Node) MakeVisible(Node);
  if (!self) return;
  selected_ = Node;
  Invalidate();
  SelectionChanged();
}

void TTreeView::UserSelect(TTreeNode* Node) { SetSelected(Node); }

void TTreeView::SelectionChanged() {
  if (OnChange) OnChange(this);
}

void TTreeView::SetHideSelection(bool V) {
  if (V == hideSelection_) return;
  hideSelection_ = V;
  Invalidate();
}

TOwnerDrawState TTreeView::NodeState(const TTreeNode* Node) const {
  TOwnerDrawState state;
  const bool focused = const_cast<TTreeView*>(this)->Focused();
  if (Node == selected_ && (focused || !hideSelection_)) state.Include(odSelected);
  if (Node == selected_ && focused) state.Include(odFocused);
  if (!Enabled()) state.Include(odDisabled);
  return state;
}

// ---------------------------------------------------------------------------
// Looks

void TTreeView::SetShowLines(bool V) {
  if (V != showLines_) { showLines_ = V; Invalidate(); }
}
void TTreeView::SetShowButtons(bool V) {
  if (V != showButtons_) { showButtons_ = V; Invalidate(); }
}
void TTreeView::SetShowRoot(bool V) {
  if (V != showRoot_) { showRoot_ = V; RowsChanged(); }
}
void TTreeView::SetIndent(int V) {
  V = std::max(V, 8);
  if (V != indent_) { indent_ = V; RowsChanged(); }
}

int TTreeView::ItemHeight() const {
  if (itemHeight_ > 0) return itemHeight_;
  if (measuredHeight_ < 0 || !(measuredFont_ == Font().Data())) {
    TCanvas measure;
    measure.SetFont(Font());
    measuredFont_ = Font().Data();
    measuredHeight_ = std::max(measure.TextHeight("Wg") + 2, 16);
  }
  return images_ ? std::max(measuredHeight_, images_->Height() + 2) : measuredHeight_;
}

void TTreeView::SetItemHeight(int V) {
  V = std::max(V, 0);
  if (V != itemHeight_) { itemHeight_ = V; RowsChanged(); }
}

void TTreeView::SetImages(TCustomImageList* V) {
  SetReference(images_, V);
  RowsChanged();
}
void TTreeView::SetButtonImages(TCustomImageList* V) {
  SetReference(buttonImages_, V);
  Invalidate();
}
void TTreeView::SetExpandImageIndex(int V) {
  if (V != expandImageIndex_) { expandImageIndex_ = V; Invalidate(); }
}
void TTreeView::SetNoExpandImageIndex(int V) {
  if (V != noExpandImageIndex_) { noExpandImageIndex_ = V; Invalidate(); }
}

// ---------------------------------------------------------------------------
// Rows and scrolling

void TTreeView::AppendRows(const std::vector<std::unique_ptr<TTreeNode>>& nodes) const {
  for (const auto& n : nodes) {
    n->row_ = static_cast<int>(rows_.size());
    rows_.push_back(n.get());
    if (n->width_ > widestSeen_) widestSeen_ = n->width_;
    if (n->expanded_) AppendRows(n->children_);
  }
}

void TTreeView::RebuildRows() const {
  rows_.clear();
  widestSeen_ = 0;
  // Iterative depth would need a stack of iterators; the depth of a tree
  // of folders is bounded by the path length, so recursion is fine.
  AppendRows(roots_);
  rowsDirty_ = false;
}

const std::vector<TTreeNode*>& TTreeView::Rows() const {
  if (rowsDirty_) RebuildRows();
  return rows_;
}

int TTreeView::RowOf(const TTreeNode* Node) const {
  if (!Node || !Node->IsVisible()) return -1;
  const auto& rows = Rows();
  const int row = Node->row_;
  return row >= 0 && row < static_cast<int>(rows.size()) && rows[row] == Node ? row : -1;
}

void TTreeView::RowsChanged() {
  rowsDirty_ = true;
  if (updateCount_ > 0) return;
  KeepRowsPlaced();
  Invalidate();
  NotifyScrollState();
}

void TTreeView::KeepRowsPlaced() {
  topRow_ = ClampTop(topRow_);
  horzPosition_ = std::clamp(horzPosition_, 0, std::max(0, ContentWidth() - ClientWidth()));
}

int TTreeView::VisibleRowCount() const { return std::max(1, ClientHeight() / ItemHeight()); }

int TTreeView::ClampTop(int V) const {
  return std::clamp(V, 0, std::max(0, RowCount() - VisibleRowCount()));
}

void TTreeView::SetTopRow(int V) {
  V = ClampTop(V);
  if (V == topRow_) return;
  topRow_ = V;
  Invalidate();
  NotifyScrollState();
}

int TTreeView::ContentWidth() const {
  Rows();
  return widestSeen_;
}

void TTreeView::SetHorzPosition(int V) {
  V = std::clamp(V, 0, std::max(0, ContentWidth() - ClientWidth()));
  if (V == horzPosition_) return;
  horzPosition_ = V;
  Invalidate();
  NotifyScrollState();
}

TListScrollInfo TTreeView::VertScrollInfo() const {
  TListScrollInfo info;
  const int rows = RowCount(), page = VisibleRowCount();
  if (rows > page) {
    info.Max = rows - 1;
    info.Page = page;
    info.Position = topRow_;
  }
  return info;
}

TListScrollInfo TTreeView::HorzScrollInfo() const {
  TListScrollInfo info;
  const int width = ContentWidth();
  if (width > ClientWidth()) {
    info.Max = width - 1;
    info.Page = ClientWidth();
    info.Position = horzPosition_;
  }
  return info;
}

bool TTreeView::NotifyScrollState() {
  if (updateCount_ > 0) return true;
  const TListScrollInfo vert = VertScrollInfo(), horz = HorzScrollInfo();
  if (vert == toldVert_ && horz == toldHorz_) return true;
  toldVert_ = vert;
  toldHorz_ = horz;
  TComponentRef<TControl> self(this);
  ScrollStateChanged();
  return static_cast<bool>(self);
}

void TTreeView::ScrollStateChanged() {
  if (OnScrollStateChange) OnScrollStateChange(this);
}

void TTreeView::MakeVisible(TTreeNode* Node) {
  if (!Node) return;
  TComponentRef<TTreeView> self(this);
  std::vector<TTreeNode*> ancestors;
  for (TTreeNode* p = Node->parent_; p; p = p->parent_) ancestors.push_back(p);
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    if (!(*it)->expanded_) {
      ExpandNode(*it);
      if (!self) return;
    }
  }
  const int row = RowOf(Node);
  if (row < 0) return;
  if (row < topRow_) SetTopRow(row);
  else if (row >= topRow_ + VisibleRowCount()) SetTopRow(row - VisibleRowCount() + 1);
}

void TTreeView::Scroll(int Bar, int Code, int Pos) {
  if (Bar == SB_VERT) {
    const int page = VisibleRowCount();
    switch (Code) {
      case SB_LINEUP: SetTopRow(topRow_ - 1); break;
      case SB_LINEDOWN: SetTopRow(topRow_ + 1); break;
      case SB_PAGEUP: SetTopRow(topRow_ - page); break;
      case SB_PAGEDOWN: SetTopRow(topRow_ + page); break;
      case SB_THUMBPOSITION: case SB_THUMBTRACK: SetTopRow(Pos); break;
      case SB_TOP: SetTopRow(0); break;
      case SB_BOTTOM: SetTopRow(RowCount()); break;
      default: break;
    }
    return;
  }
  switch (Code) {
    case SB_LINELEFT: SetHorzPosition(horzPosition_ - indent_); break;
    case SB_LINERIGHT: SetHorzPosition(horzPosition_ + indent_); break;
    case SB_PAGELEFT: SetHorzPosition(horzPosition_ - ClientWidth()); break;
    case SB_PAGERIGHT: SetHorzPosition(horzPosition_ + ClientWidth()); break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: SetHorzPosition(Pos); break;
    case SB_LEFT: SetHorzPosition(0); break;
    case SB_RIGHT: SetHorzPosition(ContentWidth()); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------
// Geometry

TTreeNodeRects TTreeView::NodeRects(const TTreeNode* Node) const {
  TTreeNodeRects r;
  const int row = RowOf(Node);
  if (row < topRow_ || row >= topRow_ + VisibleRowCount() + 1) return r;
  const int h = ItemHeight(), y = (row - topRow_) * h;
  const int column = Node->level_ + (showRoot_ ? 1 : 0);
  const int x = column * indent_ - horzPosition_;
  r.Row = {0, y, ClientWidth(), y + h};
  if (showButtons_ && column > 0 && Node->HasChildren()) {
    const int cx = x - indent_ / 2, cy = y + h / 2;
    r.Button = {cx - kButtonSize / 2, cy - kButtonSize / 2, cx - kButtonSize / 2 + kButtonSize,
                cy - kButtonSize / 2 + kButtonSize};
  }
  int left = x;
  if (images_) {
    r.Image = {left, y + (h - images_->Height()) / 2, left + images_->Width(),
               y + (h - images_->Height()) / 2 + images_->Height()};
    left = r.Image.Right + kImageGap;
  }
  const int w = Node->width_ >= 0 ? Node->width_ : 0;
  r.Label = {left, y, left + w + 2 * kLabelPadding, y + h};
  return r;
}

TTreeHitInfo TTreeView::HitTest(TPoint Pos) const {
  TTreeHitInfo info;
  if (Pos.X < 0 || Pos.Y < 0 || Pos.X >= ClientWidth() || Pos.Y >= ClientHeight()) return info;
  const int row = topRow_ + Pos.Y / ItemHeight();
  if (row >= RowCount()) return info;
  TTreeNode* node = Rows()[row];
  const_cast<TTreeView*>(this)->CaptionWidth(node);
  const TTreeNodeRects r = NodeRects(node);
  info.Node = node;
  // The button's hit area is its whole indent column, easier to hit than
  // the drawn square.
  const TRect buttonColumn{r.Button.Left - (indent_ - kButtonSize) / 2, r.Row.Top,
                           r.Button.Right + (indent_ - kButtonSize) / 2, r.Row.Bottom};
  if (!r.Button.IsEmpty() && Pos.X >= buttonColumn.Left && Pos.X < buttonColumn.Right) info.Part = htOnButton;
  else if (!r.Image.IsEmpty() && Pos.X >= r.Image.Left && Pos.X < r.Label.Left) info.Part = htOnIcon;
  else if (Pos.X >= r.Label.Left && Pos.X < r.Label.Right) info.Part = htOnLabel;
  else if (Pos.X >= r.Label.Right) info.Part = htOnRight;
  else info.Part = htOnIndent;
  return info;
}

TTreeNode* TTreeView::FindPrefix(const std::string& Prefix, const TTreeNode* From) const {
  const auto& rows = Rows();
  const int n = static_cast<int>(rows.size());
  if (n == 0 || Prefix.empty()) return nullptr;
  const int from = RowOf(From);
  const int start = Prefix.size() == 1 ? from + 1 : std::max(from, 0);
  for (int k = 0; k < n; ++k) {
    TTreeNode* node = rows[((start + k) % n + n) % n];
    if (StartsWithNoCase(node->text_, Prefix)) return node;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Painting

void TTreeView::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClassStyle |= CS_DBLCLKS;
}

int TTreeView::CaptionWidth(TTreeNode* Node) {
  if (Node->width_ < 0) {
    TCanvas measure;
    measure.SetFont(Font());
    Node->width_ = measure.TextWidth(Node->text_);
    const int column = Node->level_ + (showRoot_ ? 1 : 0);
    const int right = column * indent_ + (images_ ? images_->Width() + kImageGap : 0) + Node->width_ +
                      2 * kLabelPadding + kLabelPadding;
    Node->width_ = std::max(Node->width_, 0);
    if (right > widestSeen_) widestSeen_ = right;
  }
  return Node->width_;
}

void TTreeView::Paint() {
  TComponentRef<TControl> self(this);
  TCanvas& c = Canvas();
  const TRect clip = c.ClipRect();
  c.Brush().SetColor(BackgroundColor());
  c.FillRect(ClientRect());
  const auto& rows = Rows();
  const int h = ItemHeight();
  const int oldWidest = widestSeen_;
  const int last = std::min(static_cast<int>(rows.size()), topRow_ + VisibleRowCount() + 1);
  for (int row = topRow_; row < last; ++row) {
    TTreeNode* node = rows[row];
    const int y = (row - topRow_) * h;
    if (y + h <= clip.Top || y >= clip.Bottom) continue;
    CaptionWidth(node);
    const TTreeNodeRects r = NodeRects(node);
    const int saved = c.SaveDC();
    c.IntersectClipRect(r.Row);
    if (showLines_) DrawLines(node, row, r);
    if (!r.Button.IsEmpty()) DrawButton(node, r.Button);
    DrawNode(node, r, NodeState(node));
    if (!self) return;
    c.RestoreDC(saved);
  }
  // Captions measured for the first time may widen the content.
  if (widestSeen_ != oldWidest) NotifyScrollState();
}

void TTreeView::DrawLines(TTreeNode* Node, int Row, const TTreeNodeRects& Rects) {
  (void)Row;
  TCanvas& c = Canvas();
  c.Pen().SetColor(LineColor());
  c.Pen().SetStyle(TPenStyle::psDot);
  const int h = ItemHeight(), top = Rects.Row.Top, mid = top + h / 2;
  auto columnX = [&](int level) {
    return (level + (showRoot_ ? 1 : 0)) * indent_ - horzPosition_ - indent_ / 2;
  };
  auto isLast = [](const TTreeNode* n) {
    const auto& siblings = n->parent_ ? n->parent_->children_ : n->owner_.roots_;
    return !siblings.empty() && siblings.back().get() == n;
  };
  if (Node->level_ > 0 || showRoot_) {
    const int x = columnX(Node->level_);
    const bool first = !Node->parent_ && Node->Index() == 0;
    c.MoveTo(x, first ? mid : top);
    c.LineTo(x, isLast(Node) ? mid + 1 : top + h);
    c.MoveTo(x, mid);
    c.LineTo(x + indent_ / 2 + 1, mid);
  }
  // The lines of the ancestors that have siblings below.
  for (const TTreeNode* p = Node->parent_; p; p = p->parent_) {
    if (p->level_ == 0 && !showRoot_) break;
    if (isLast(p)) continue;
    const int x = columnX(p->level_);
    c.MoveTo(x, top);
    c.LineTo(x, top + h);
  }
  c.Pen().SetStyle(TPenStyle::psSolid);
}

void TTreeView::DrawButton(TTreeNode* Node, const TRect& Button) {
  TCanvas& c = Canvas();
  const int index = Node->expanded_ ? noExpandImageIndex_ : expandImageIndex_;
  if (buttonImages_ && index >= 0 && index < buttonImages_->Count()) {
    const int x = Button.Left + (Button.Width() - buttonImages_->Width()) / 2;
    const int y = Button.Top + (Button.Height() - buttonImages_->Height()) / 2;
    buttonImages_->Draw(c, x, y, index, Enabled());
    return;
  }
  c.Brush().SetColor(BackgroundColor());
  c.FillRect(Button);
  c.Brush().SetColor(LineColor());
  c.FrameRect(Button);
  c.Pen().SetColor(LineColor());
  const int cx = Button.Left + Button.Width() / 2, cy = Button.Top + Button.Height() / 2;
  c.MoveTo(Button.Left + 2, cy);
  c.LineTo(Button.Right - 2, cy);
  if (!Node->expanded_) {
    c.MoveTo(cx, Button.Top + 2);
    c.LineTo(cx, Button.Bottom - 2);
  }
}

void TTreeView::DrawNode(TTreeNode* Node, const TTreeNodeRects& Rects, TOwnerDrawState State) {
  TCanvas& c = Canvas();
  c.SetFont(Font());
  if (OnCustomDrawItem) {
    bool defaultDraw = true;
    TComponentRef<TControl> self(this);
    OnCustomDrawItem(this, Node, Rects.Row, State, defaultDraw);
    if (!self || !defaultDraw) return;
  }
  DrawNodeContent(Node, Rects, State);
}

void TTreeView::DrawNodeContent(TTreeNode* Node, const TTreeNodeRects& Rects, TOwnerDrawState State) {
  TCanvas& c = Canvas();
  if (images_) {
    const int index = State.Contains(odSelected) && Node->SelectedIndex >= 0 ? Node->SelectedIndex
                                                                             : Node->ImageIndex;
    images_->Draw(c, Rects.Image.Left, Rects.Image.Top, index, Enabled());
  }
  const bool focused = State.Contains(odFocused);
  if (State.Contains(odSelected)) {
    c.Brush().SetColor(focused ? clHighlight : clBtnFace);
    c.Font().SetColor(focused ? clHighlightText : clWindowText);
    c.FillRect(Rects.Label);
  } else {
    c.Brush().SetColor(BackgroundColor());
    c.Font().SetColor(Enabled() ? Font().Color() : clGrayText);
  }
  c.SetBkMode(TRANSPARENT);
  const int textY = Rects.Label.Top + (Rects.Label.Height() - c.TextHeight(Node->text_)) / 2;
  c.TextOut(Rects.Label.Left + kLabelPadding, textY, Node->text_);
  if (focused) c.DrawFocusRect(Rects.Label);
}

void TTreeView::Resize() {
  TComponentRef<TControl> self(this);
  TCustomControl::Resize();
  if (!self) return;
  KeepRowsPlaced();
  Invalidate();
  NotifyScrollState();
}

// ---------------------------------------------------------------------------
// Input

void TTreeView::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_VSCROLL: case WM_HSCROLL: {
      const int code = LOWORD(m.WParam);
      const int pos = m.LParam != 0 ? static_cast<int>(m.LParam) : HIWORD(m.WParam);
      Scroll(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, code, pos);
      m.Result = 0;
      return;
    }
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<int16_t>(HIWORD(m.WParam));
      SetTopRow(topRow_ - delta * kWheelLines / 120);
      m.Result = 1;
      return;
    }
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TControl> self(this);
  if (Button == mbLeft && CanFocus() && !Focused()) {
    SetFocus();
    if (!self) return;
  }
  if (Button == mbLeft || Button == mbRight) {
    const TTreeHitInfo hit = HitTest({X, Y});
    if (hit.Node) {
      if (Button == mbLeft && hit.Part == htOnButton) {
        ToggleNode(hit.Node);
      } else {
        TTreeNode* node = hit.Node;
        UserSelect(node);
        if (!self) return;
        if (Button == mbLeft && Shift.Contains(ssDouble) && node == selected_) ToggleNode(node);
      }
      if (!self) return;
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TTreeView::KeyDown(uint16_t& Key, TShiftState Shift) {
  TComponentRef<TControl> self(this);
  TCustomControl::KeyDown(Key, Shift);
  if (!self || Key == 0 || RowCount() == 0) return;
  const auto& rows = Rows();
  TTreeNode* sel = selected_;
  const int current = RowOf(sel);
  const int page = VisibleRowCount();
  const int last = RowCount() - 1;
  auto at = [&](int row) { return rows[std::clamp(row, 0, last)]; };
  TTreeNode* target = nullptr;
  switch (Key) {
    case VK_UP: target = at(current < 0 ? 0 : current - 1); break;
    case VK_DOWN: target = at(current < 0 ? 0 : current + 1); break;
    case VK_PRIOR: target = at(current < 0 ? 0 : current - (page - 1)); break;
    case VK_NEXT: target = at(current < 0 ? 0 : current + (page - 1)); break;
    case VK_HOME: target = at(0); break;
    case VK_END: target = at(last); break;
    case VK_LEFT:
      if (!sel) target = at(0);
      else if (sel->expanded_) { Key = 0; CollapseNode(sel); return; }
      else target = sel->parent_ ? sel->parent_ : sel;
      break;
    case VK_RIGHT:
      if (!sel) target = at(0);
      else if (!sel->expanded_) { Key = 0; ExpandNode(sel); return; }
      else target = sel->GetFirstChild();
      break;
    case VK_ADD: if (sel) ExpandNode(sel); Key = 0; return;
    case VK_SUBTRACT: if (sel) CollapseNode(sel); Key = 0; return;
    case VK_MULTIPLY: if (sel) FullExpand(sel); Key = 0; return;
    default: return;
  }
  Key = 0;
  if (target && target != sel) UserSelect(target);
}

void TTreeView::KeyPress(char32_t& Key) {
  TComponentRef<TControl> self(this);
  TCustomControl::KeyPress(Key);
  if (!self || Key < 0x20 || RowCount() == 0) return;
  // The numeric pad's +, - and * arrive as characters too: they are
  // commands (handled at the key), not a search.
  if ((Key == U'+' || Key == U'-' || Key == U'*') && search_.Empty()) return;
  TTreeNode* found = FindPrefix(search_.Add(Key, GetTickCount64()), selected_);
  if (found && found != selected_) UserSelect(found);
}

void TTreeView::WMSetFocus(TMessage& m) {
  TComponentRef<TControl> self(this);
  TCustomControl::WMSetFocus(m);
  if (self) Invalidate();
}

void TTreeView::WMKillFocus(TMessage& m) {
  TComponentRef<TControl> self(this);
  TCustomControl::WMKillFocus(m);
  if (self) Invalidate();
}

// ---------------------------------------------------------------------------

QZ_PUBLISHED(TTreeView, TCustomControl) {
  using O = TTreeView;
  b.Factory([](TComponent* owner) { return new TTreeView(owner); });
  b.Prop("ShowLines", &O::ShowLines, &O::SetShowLines, true);
  b.Prop("ShowButtons", &O::ShowButtons, &O::SetShowButtons, true);
  b.Prop("ShowRoot", &O::ShowRoot, &O::SetShowRoot, true);
  b.Prop("HideSelection", &O::HideSelection, &O::SetHideSelection, true);
  b.Prop("Indent", &O::Indent, &O::SetIndent, 19);
  b.Ref<TCustomImageList>("Images", &O::Images, &O::SetImages);
  b.Ref<TCustomImageList>("ButtonImages", &O::ButtonImages, &O::SetButtonImages);
  b.Prop("ExpandImageIndex", &O::ExpandImageIndex, &O::SetExpandImageIndex, 0);
  b.Prop("NoExpandImageIndex", &O::NoExpandImageIndex, &O::SetNoExpandImageIndex, 1);
  b.Event<TNotifyEvent>("OnChange", &O::OnChange);
  b.Event<TNotifyEvent>("OnScrollStateChange", &O::OnScrollStateChange);
}

}  // namespace qz
