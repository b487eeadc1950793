#include "skin/dialogs/DirTreeView.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "host/components/Properties.h"
#include "host/graphics/StockIcons.h"
#include "host/shell/IconTheme.h"
#include "host/ui/Windows.h"
#include "skin/base/ShellChangeNotifier.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/PngImage.h"
#include "skin/draw/QzComposition.h"

namespace qz {

namespace {

constexpr int kIconSize = 16;

bool IsFolderOnDisk(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Whether `path` equals `prefix` or lies below it.
bool PathWithin(const std::string& path, const std::string& prefix) {
  if (prefix == "/") return !path.empty() && path.front() == '/';
  return path == prefix || (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
                            path[prefix.size()] == '/');
}

bool HasDotDot(const std::string& path) {
  return path == ".." || path.find("/../") != std::string::npos ||
         (path.size() >= 3 && path.compare(path.size() - 3, 3, "/..") == 0);
}

std::optional<TPixmap> DecodePngIcon(std::span<const uint8_t> bytes) {
  try {
    TqzPngImage png;
    png.LoadFromBytes(bytes);
    return png.ToPixmap();
  } catch (const Exception&) {
    return std::nullopt;
  }
}

TPixmap IconPixmap(const std::vector<std::string>& names) {
  if (auto icon = TIconTheme::Shared().LoadSized(names, kIconSize, DecodePngIcon)) return *icon;
  return DrawStockIcon(TStockIcon::Folder, kIconSize);
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

TqzDirTreeNode* AsDir(TTreeNode* node) { return static_cast<TqzDirTreeNode*>(node); }

}  // namespace

// The path as text: bytes that are no text and control characters (a NUL,
// a newline) show as replacement characters.
const TShellId& TqzDirTreeNode::Id() const {
  if (!known_) {
    const auto* parent = static_cast<const TqzDirTreeNode*>(Parent());
    static const std::string kNone;
    const std::string& base = parent ? parent->Id().Path : kNone;
    id_.Place = TShellPlace::FileSystem;
    id_.Path.reserve(base.size() + 1 + name_.size());
    id_.Path.assign(base == "/" ? std::string() : base).append(1, '/').append(name_);
    known_ = true;
  }
  return id_;
}

void TqzDirTreeNode::SetId(TShellId V) {
  id_ = std::move(V);
  known_ = true;
}

std::string InvalidPathMessage(const std::string& path) {
  return "Error setting path: \"" + DisplayNameFromBytes(path) + "\"";
}

TqzSkinDirTreeView::TqzSkinDirTreeView(TComponent* AOwner) : TTreeView(AOwner) {
  images_ = new TImageList(this);
  MakeImages();
  SetImages(images_);
  if (!InState(csLoading)) Rebuild();
}

TqzSkinDirTreeView::~TqzSkinDirTreeView() {
  notifier_.reset();
  OnChange = nullptr;
  if (vBar_) vBar_->OnChange = nullptr;
  if (hBar_) hBar_->OnChange = nullptr;
}

void TqzSkinDirTreeView::MakeImages() {
  const std::vector<std::vector<std::string>> names = {
      {"computer", "user-desktop"}, {"folder"}, {"user-home", "folder-home", "folder"},
      {"drive-harddisk", "folder"}, {"network-workgroup", "folder-remote", "folder"}};
  for (const auto& n : names) {
    TBitmap b(kIconSize, kIconSize);
    b.Pixels() = IconPixmap(n);
    b.SetAlphaPresent(true);
    images_->Add(b);
  }
}

void TqzSkinDirTreeView::Loaded() {
  TTreeView::Loaded();
  Rebuild();
}

// ---------------------------------------------------------------------------
// Skin

void TqzSkinDirTreeView::SetSkinData(TqzSkinData* V) {
  SetReference(skinData_, V);
  Invalidate();
}

void TqzSkinDirTreeView::SetDrawSkin(bool V) {
  if (V != drawSkin_) { drawSkin_ = V; Invalidate(); }
}

void TqzSkinDirTreeView::SetItemSkinDataName(const std::string& V) {
  if (V != itemSkinDataName_) { itemSkinDataName_ = V; Invalidate(); }
}

void TqzSkinDirTreeView::ChangeSkinData() { Invalidate(); }

// The selected row's caption from the item description's active (or focus)
// item picture, stretched; the other rows plain on the list's colour.
const TqzDataSkinListBox* TqzSkinDirTreeView::ItemDescription(TBitmap** Picture) const {
  if (!drawSkin_ || !skinData_ || skinData_->Empty()) return nullptr;
  const int index = skinData_->FindControlIndex(itemSkinDataName_);
  if (index < 0) return nullptr;
  const auto* d = dynamic_cast<const TqzDataSkinListBox*>(skinData_->CtrlList()[size_t(index)].get());
  if (!d || d->ItemRect.IsEmpty()) return nullptr;
  TBitmap* picture = skinData_->ActivePicture(d->PictureIndex);
  if (!picture) return nullptr;
  if (Picture) *Picture = picture;
  return d;
}

// The skin's rows: the colour in the middle of its normal item picture, the
// item font's colour for lines and buttons.
TColor TqzSkinDirTreeView::BackgroundColor() const {
  TBitmap* picture = nullptr;
  const TqzDataSkinListBox* d = ItemDescription(&picture);
  if (!d) return TTreeView::BackgroundColor();
  const TRect& r = d->ItemRect;
  return picture->Canvas().Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

TColor TqzSkinDirTreeView::LineColor() const {
  const TqzDataSkinListBox* d = ItemDescription(nullptr);
  return d ? d->FontColor : TTreeView::LineColor();
}

bool TqzSkinDirTreeView::DrawSkinRow(TTreeNode* Node, const TTreeNodeRects& Rects, TOwnerDrawState State) {
  TBitmap* picture = nullptr;
  const TqzDataSkinListBox* d = ItemDescription(&picture);
  if (!d) return false;
  TCanvas& c = Canvas();
  const bool selected = State.Contains(odSelected), focused = State.Contains(odFocused);
  if (Images()) Images()->Draw(c, Rects.Image.Left, Rects.Image.Top, Node->ImageIndex, Enabled());
  c.SetFont(Font());
  c.Font().SetColor(d->FontColor);
  if (selected) {
    const TRect active = focused && !d->FocusItemRect.IsEmpty() ? d->FocusItemRect
                         : !d->ActiveItemRect.IsEmpty()       ? d->ActiveItemRect
                                                              : d->ItemRect;
    TBitmap look(std::max(1, Rects.Label.Width()), std::max(1, Rects.Label.Height()));
    CreateStretchImage(look, *picture, active, InflateRect(d->ItemTextRect, -1, -1), true);
    c.Draw(Rects.Label.Left, Rects.Label.Top, look);
    c.Font().SetColor(focused ? d->FocusFontColor : d->ActiveFontColor);
  }
  c.SetBkMode(TRANSPARENT);
  const int textY = Rects.Label.Top + (Rects.Label.Height() - c.TextHeight(Node->Text())) / 2;
  c.TextOut(Rects.Label.Left + 2, textY, Node->Text());
  return true;
}

void TqzSkinDirTreeView::DrawNodeContent(TTreeNode* Node, const TTreeNodeRects& Rects, TOwnerDrawState State) {
  if (!DrawSkinRow(Node, Rects, State)) TTreeView::DrawNodeContent(Node, Rects, State);
}

// ---------------------------------------------------------------------------
// Scroll bars

void TqzSkinDirTreeView::SetVScrollBar(TqzSkinScrollBar* V) {
  if (vBar_) vBar_->OnChange = nullptr;
  SetReference(vBar_, V);
  if (vBar_) {
    vBar_->OnChange = [this](TObject* sender) {
      if (updatingBars_) return;
      Perform(WM_VSCROLL, SB_THUMBPOSITION, static_cast<TqzSkinScrollBar*>(sender)->Position());
    };
  }
  UpdateBars();
}

void TqzSkinDirTreeView::SetHScrollBar(TqzSkinScrollBar* V) {
  if (hBar_) hBar_->OnChange = nullptr;
  SetReference(hBar_, V);
  if (hBar_) {
    hBar_->OnChange = [this](TObject* sender) {
      if (updatingBars_) return;
      Perform(WM_HSCROLL, SB_THUMBPOSITION, static_cast<TqzSkinScrollBar*>(sender)->Position());
    };
  }
  UpdateBars();
}

// A bar with nothing to scroll is disabled and shows the start.
void TqzSkinDirTreeView::UpdateBars() {
  updatingBars_ = true;
  auto apply = [](TqzSkinScrollBar* bar, const TListScrollInfo& info, int line) {
    if (!bar) return;
    const bool active = info.Max >= info.Min;
    if (active) {
      bar->SetRange(info.Min, info.Max, info.Page, info.Position);
      bar->SetSmallChange(line);
      bar->SetLargeChange(std::max(1, info.Page));
    } else {
      bar->SetRange(0, 0, 0, 0);
    }
    if (bar->Enabled() != active) bar->SetEnabled(active);
  };
  apply(vBar_, VertScrollInfo(), 1);
  apply(hBar_, HorzScrollInfo(), Indent());
  updatingBars_ = false;
}

void TqzSkinDirTreeView::ScrollStateChanged() {
  UpdateBars();
  TTreeView::ScrollStateChanged();
}

// ---------------------------------------------------------------------------
// Listing

void TqzSkinDirTreeView::SetShowHidden(bool V) {
  if (V == showHidden_) return;
  showHidden_ = V;
  if (InState(csLoading) || !ComputerNode()) return;
  // Listings made with the old setting are made again.
  const std::string path = SelectedPath();
  Rebuild();
  if (!path.empty()) SelectPath(path);
}

void TqzSkinDirTreeView::SetPlaces(std::shared_ptr<const TPlaces> V) {
  places_ = std::move(V);
  if (!InState(csLoading)) Rebuild();
}

const TPlaces& TqzSkinDirTreeView::Places() const {
  if (!places_) places_ = std::make_shared<const TPlaces>(PlacesSettingsFromEnvironment());
  return *places_;
}

void TqzSkinDirTreeView::SetWatchChanges(bool V) {
  if (V == watchChanges_) return;
  watchChanges_ = V;
  WatchSelected();
}

std::unique_ptr<TTreeNode> TqzSkinDirTreeView::CreateNode(TTreeNode* Parent) {
  return std::make_unique<TqzDirTreeNode>(*this, Parent);
}

void TqzSkinDirTreeView::Rebuild() {
  Clear();
  auto* top = AsDir(AddChild(nullptr, Places().DisplayName(TShellId::Computer())));
  top->SetId(TShellId::Computer());
  top->ImageIndex = dtiComputer;
  top->SetHasChildren(true);
  top->Expand();
}

TqzDirTreeNode* TqzSkinDirTreeView::ComputerNode() const {
  return TopCount() > 0 ? AsDir(TopItem(0)) : nullptr;
}

int TqzSkinDirTreeView::ImageOf(const TShellItem& Item, const TqzDirTreeNode* Parent) const {
  if (Item.Id.Place == TShellPlace::Network) return dtiNetwork;
  if (Parent && Parent->Id().IsVirtual()) {
    for (const TPlace& p : Parent->Id().Place == TShellPlace::Network ? Places().NetworkContents()
                                                                     : Places().ComputerContents()) {
      if (!(p.Id == Item.Id)) continue;
      switch (p.Kind) {
        case TPlace::TKind::Home: return dtiHome;
        case TPlace::TKind::FileSystemRoot: case TPlace::TKind::Volume: return dtiDrive;
        case TPlace::TKind::NetworkMount: case TPlace::TKind::Network: return dtiNetwork;
      }
    }
  }
  return dtiFolder;
}

TqzDirTreeNode* TqzSkinDirTreeView::AddFolderNode(TqzDirTreeNode* Parent, const TShellItem& Item) {
  auto* node = AsDir(AddChild(Parent, Item.DisplayName));
  node->SetId(Item.Id);
  node->ImageIndex = ImageOf(Item, Parent);
  if (Item.Id.IsVirtual()) node->SetHasChildren(true);
  return node;
}

void TqzSkinDirTreeView::FetchChildren(TTreeNode* Node) {
  auto* dir = AsDir(Node);
  TShellObjectTypes types{TShellObjectType::otFolders};
  if (showHidden_) types.Include(TShellObjectType::otHidden);
  ++listings_;
  BeginUpdate();
  if (dir->Id().IsVirtual()) {
    // The places keep their order.
    const TShellListing listing = EnumerateShellFolder(dir->Id(), types, Places());
    for (const TShellItem& item : listing.Items)
      if (item.IsFolder()) AddFolderNode(dir, item);
  } else {
    AddFileSystemFolders(dir, types);
  }
  EndUpdate();
  TTreeView::FetchChildren(Node);
}

// The folders of a file-system folder by name. A large folder is the common
// case to be quick for: the children's paths are the parent's and a name
// from the listing (never "." or "..", never holding "/"), and the sort
// moves only short records.
void TqzSkinDirTreeView::AddFileSystemFolders(TqzDirTreeNode* Dir, TShellObjectTypes Types) {
  TFolderListing listing = EnumerateFolder(Dir->Id().Path, Types);
  // Each name is folded once; the sort compares the folded keys as bytes
  // (then the names themselves, for a stable order) and moves indexes.
  std::vector<std::string> texts, keys;
  std::vector<const std::string*> names;
  texts.reserve(listing.Entries.size());
  for (const TFolderEntry& e : listing.Entries) {
    if (!e.IsFolder()) continue;
    texts.push_back(DisplayNameFromBytes(e.Name));
    std::string key = texts.back();
    for (char& c : key) c = AsciiLower(c);
    keys.push_back(std::move(key));
    names.push_back(&e.Name);
  }
  std::vector<uint32_t> order(texts.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int c = keys[a].compare(keys[b]);
    return c != 0 ? c < 0 : texts[a] < texts[b];
  });
  for (uint32_t i : order) {
    const std::string& name = *names[i];
    auto* node = AsDir(AddChild(Dir, std::move(texts[i])));
    node->SetName(name);
    node->ImageIndex = dtiFolder;
  }
}

bool TqzSkinDirTreeView::NodeHasChildren(TTreeNode* Node) {
  const auto* dir = AsDir(Node);
  if (dir->Id().IsVirtual()) return true;
  TShellObjectTypes types{TShellObjectType::otFolders};
  if (showHidden_) types.Include(TShellObjectType::otHidden);
  return HasSubfolders(dir->Id().Path, types);
}

TqzDirTreeNode* TqzSkinDirTreeView::ChildNamed(TqzDirTreeNode* Node, const std::string& Path) const {
  for (int i = 0; i < Node->Count(); ++i) {
    auto* child = AsDir(Node->Item(i));
    if (!child->Id().IsVirtual() && child->Id().Path == Path) return child;
  }
  return nullptr;
}

// The place node whose folder holds the path most closely ("/" when no
// other does).
TqzDirTreeNode* TqzSkinDirTreeView::PlaceNodeFor(const std::string& Path) const {
  TqzDirTreeNode* top = ComputerNode();
  if (!top) return nullptr;
  top->Expand();
  TqzDirTreeNode* best = nullptr;
  size_t bestLength = 0;
  for (int i = 0; i < top->Count(); ++i) {
    auto* place = AsDir(top->Item(i));
    if (place->Id().IsVirtual() || !PathWithin(Path, place->Id().Path)) continue;
    if (!best || place->Id().Path.size() > bestLength) {
      best = place;
      bestLength = place->Id().Path.size();
    }
  }
  return best;
}

TqzDirTreeNode* TqzSkinDirTreeView::FindLoadedNode(const TShellId& Id) const {
  TqzDirTreeNode* top = ComputerNode();
  if (!top) return nullptr;
  if (Id.Place == TShellPlace::Computer) return top;
  for (int i = 0; i < top->Count(); ++i) {
    auto* n = AsDir(top->Item(i));
    if (Id.Place == TShellPlace::Network && n->Id().Place == TShellPlace::Network) return n;
  }
  if (Id.IsVirtual() || !top->ChildrenFetched()) return nullptr;
  TqzDirTreeNode* node = nullptr;
  size_t bestLength = 0;
  for (int i = 0; i < top->Count(); ++i) {
    auto* place = AsDir(top->Item(i));
    if (place->Id().IsVirtual() || !PathWithin(Id.Path, place->Id().Path)) continue;
    if (!node || place->Id().Path.size() > bestLength) {
      node = place;
      bestLength = place->Id().Path.size();
    }
  }
  while (node && node->Id().Path != Id.Path) {
    TqzDirTreeNode* next = nullptr;
    for (int i = 0; i < node->Count() && !next; ++i) {
      auto* child = AsDir(node->Item(i));
      if (PathWithin(Id.Path, child->Id().Path)) next = child;
    }
    node = next;
  }
  return node;
}

// ---------------------------------------------------------------------------
// Selection

bool TqzSkinDirTreeView::SelectPath(const std::string& Path) {
  if (Path.empty() || Path.front() != '/' || Path.find('\0') != std::string::npos)
    throw EqzInvalidPath(InvalidPathMessage(Path));
  std::string path = TShellId::FromPath(Path).Path;
  if (HasDotDot(path)) {
    // ".." means the folder above as the system resolves it (through links).
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return false;
    path = resolved;
  }
  if (!IsFolderOnDisk(path)) return false;
  TComponentRef<TqzSkinDirTreeView> self(this);
  TqzDirTreeNode* node = PlaceNodeFor(path);
  if (!self || !node) return false;
  // Down from the place, one component at a time.
  while (node->Id().Path != path) {
    node->Expand();
    if (!self) return false;
    const size_t start = node->Id().Path == "/" ? 1 : node->Id().Path.size() + 1;
    const size_t end = path.find('/', start);
    const std::string name = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string childPath = ChildOf(node->Id(), name).Path;
    TqzDirTreeNode* child = ChildNamed(node, childPath);
    if (!child) {
      // A folder the listing left out (hidden, or made since): it is there,
      // so it gets its node.
      TShellItem item;
      item.Id = TShellId::FromPath(childPath);
      item.DisplayName = DisplayNameFromBytes(name);
      item.Entry.Name = name;
      item.Entry.Kind = TEntryKind::Folder;
      child = AddFolderNode(node, item);
      SortChildren(node);
      node->Expand();
      if (!self) return false;
    }
    node = child;
  }
  SetSelected(node);
  if (!self) return false;
  node->Expand();
  if (!self) return false;
  // As many of its sub-folders on screen as fit below it.
  if (node->Expanded() && node->Count() > 0) MakeVisible(node->Item(node->Count() - 1));
  if (self) MakeVisible(node);
  return true;
}

void TqzSkinDirTreeView::SelectSpecialFolder(TRootFolder Folder) {
  TqzDirTreeNode* top = ComputerNode();
  if (!top) return;
  switch (Folder) {
    case TRootFolder::rfMyComputer:
      SetSelected(top);
      top->Expand();
      return;
    case TRootFolder::rfNetwork:
      top->Expand();
      for (int i = 0; i < top->Count(); ++i)
        if (AsDir(top->Item(i))->Id().Place == TShellPlace::Network) {
          SetSelected(top->Item(i));
          return;
        }
      return;
    default: {
      const TShellId id = Places().RootFolder(Folder);
      if (!id.IsVirtual()) SelectPath(id.Path);
      return;
    }
  }
}

TqzDirTreeNode* TqzSkinDirTreeView::SelectedNode() const { return Selected() ? AsDir(Selected()) : nullptr; }

TShellId TqzSkinDirTreeView::SelectedId() const {
  return SelectedNode() ? SelectedNode()->Id() : TShellId::Computer();
}

std::string TqzSkinDirTreeView::SelectedPath() const {
  const TqzDirTreeNode* node = SelectedNode();
  return node && !node->Id().IsVirtual() ? node->Id().Path : std::string();
}

void TqzSkinDirTreeView::ReloadSelected() {
  if (TqzDirTreeNode* node = SelectedNode()) {
    TComponentRef<TqzSkinDirTreeView> self(this);
    const bool wasFetched = node->ChildrenFetched();
    ReloadChildren(node);
    if (self && !wasFetched) node->Expand();
  }
}

void TqzSkinDirTreeView::SelectionChanged() {
  WatchSelected();
  TTreeView::SelectionChanged();
}

// ---------------------------------------------------------------------------
// Change notification

void TqzSkinDirTreeView::WatchSelected() {
  const TqzDirTreeNode* node = SelectedNode();
  const bool want = watchChanges_ && node && !node->Id().IsVirtual() && !InState(csDestroying);
  if (!want) {
    notifier_.reset();
    watched_ = TShellId::Computer();
    return;
  }
  if (notifier_ && watched_ == node->Id()) return;
  if (!notifier_) notifier_ = std::make_unique<TqzShellChangeNotifier>([this](TObject*) { FolderChanged(); });
  watched_ = node->Id();
  notifier_->SetDirectory(watched_.Path, false, nfDirName);
}

// The watched folder changed: its children are listed again; when it went
// away its parent is.
void TqzSkinDirTreeView::FolderChanged() {
  if (!notifier_) return;
  const bool gone = notifier_->LastChanges().FolderGone;
  TqzDirTreeNode* node = FindLoadedNode(watched_);
  if (!node) return;
  TComponentRef<TqzSkinDirTreeView> self(this);
  if (gone && node->Parent()) {
    ReloadChildren(node->Parent());
    return;
  }
  ReloadChildren(node);
  if (self) Invalidate();
}

// ---------------------------------------------------------------------------

QZ_PUBLISHED(TqzSkinDirTreeView, TTreeView) {
  using O = TqzSkinDirTreeView;
  b.Factory([](TComponent* owner) { return new TqzSkinDirTreeView(owner); });
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Prop("DrawSkin", &O::DrawSkin, &O::SetDrawSkin, true);
  b.Prop("ItemSkinDataName", &O::ItemSkinDataName, &O::SetItemSkinDataName, std::string("listbox"));
  b.Prop("ShowHidden", &O::ShowHidden, &O::SetShowHidden, false);
  b.Prop("WatchChanges", &O::WatchChanges, &O::SetWatchChanges, true);
  b.Ref<TqzSkinScrollBar>("VScrollBar", &O::VScrollBar, &O::SetVScrollBar);
  b.Ref<TqzSkinScrollBar>("HScrollBar", &O::HScrollBar, &O::SetHScrollBar);
}

}  // namespace qz
