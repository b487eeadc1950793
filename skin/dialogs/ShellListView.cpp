#include "skin/dialogs/ShellListView.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <unordered_map>

#include "host/shell/FolderEnum.h"
#include "host/shell/MimeDatabase.h"
#include "host/shell/Thumbnails.h"
#include "host/shell/TypeIcons.h"
#include "host/ui/Application.h"
#include "skin/base/ShellChangeNotifier.h"
#include "skin/dialogs/ShellThumbnailThread.h"
#include "skin/data/SkinData.h"

namespace qz {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = AsciiLower(a[i]), y = AsciiLower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Wildcard match of a whole name: "*" any run, "?" one byte, letters
// without case. Iterative, with one backtracking point: linear in practice
// and never exponential.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

size_t CodePoints(std::string_view utf8) {
  return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string TimeText(int64_t seconds) {
  const time_t t = static_cast<time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return {};
  char text[32];
  return strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) ? std::string(text) : std::string();
}

int Compare(uint64_t a, uint64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

// ---------------------------------------------------------------------------

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  size_t from = 0;
  while (from <= mask.size()) {
    const size_t end = std::min(mask.find_first_of(";|", from), mask.size());
    const std::string_view pattern = Trimmed(mask.substr(from, end - from));
    if (pattern == "*") return true;
    if (pattern.find('.') != std::string_view::npos && WildcardMatch(pattern, name)) return true;
    from = end + 1;
  }
  return false;
}

std::string SizeInKilobytesText(uint64_t bytes) {
  const uint64_t kb = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  std::string digits = std::to_string(kb), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
    out += digits[i];
  }
  return out + " KB";
}

// ---------------------------------------------------------------------------
// TqzShellFolder

TqzShellFolder::TqzShellFolder(TShellItem item, const TqzShellFolder* parent)
    : item_(std::move(item)), parent_(parent), level_(parent ? parent->level_ + 1 : 0) {}

bool TqzShellFolder::HasSubfolders() {
  if (hasSubfolders_ < 0)
    hasSubfolders_ = item_.IsVirtual || (IsFolder() && !Path().empty() && qz::HasSubfolders(Path())) ? 1 : 0;
  return hasSubfolders_ != 0;
}

const std::string& TqzShellFolder::MimeType() {
  if (mimeType_.empty())
    mimeType_ = Path().empty() || IsFolder() ? std::string("inode/directory") : TMimeDatabase::Shared().TypeOfFile(Path());
  return mimeType_;
}

const std::string& TqzShellFolder::TypeName() {
  if (typeName_.empty()) typeName_ = TMimeDatabase::Shared().Comment(MimeType());
  return typeName_;
}

const std::vector<std::string>& TqzShellFolder::Details(int columns) {
  if (static_cast<int>(details_.size()) >= columns - 1) return details_;
  const TFolderEntry& e = item_.Entry;
  details_.clear();
  details_.push_back(IsFolder() || !e.HasDetails ? std::string() : SizeInKilobytesText(e.Size));
  details_.push_back(TypeName());
  details_.push_back(e.HasDetails ? TimeText(e.MTimeSec) : std::string());
  details_.push_back(e.HasDetails ? PermissionsText(e.Mode) : std::string());
  while (static_cast<int>(details_.size()) < columns - 1) details_.emplace_back();
  return details_;
}

// ---------------------------------------------------------------------------
// TqzCustomShellListView

TqzCustomShellListView::TqzCustomShellListView(TComponent* AOwner)
    : TCustomListView(AOwner), rootItem_(TShellItem{}, nullptr) {
  SetOwnerData(true);
  AddColumn("Name", 200);
  AddColumn("Size", 80);
  AddColumn("Type", 130);
  AddColumn("Modified", 120);
  auto* small = new TImageList(this);
  auto* large = new TImageList(this);
  small->SetSize(16, 16);
  large->SetSize(32, 32);
  typeSmall_ = small;
  typeLarge_ = large;
  SetSmallImages(small);
  SetLargeImages(large);
}

TqzCustomShellListView::~TqzCustomShellListView() {
  // Normally done in BeforeDestruction; a view deleted before it ran
  // still stops its threads before the items go.
  tearingDown_ = true;
  StopWorkers();
  notifier_.reset();
}

void TqzCustomShellListView::BeforeDestruction() {
  // The workers read the items: they stop before anything goes.
  tearingDown_ = true;
  StopThumbnailWorkers();
  notifier_.reset();
  TCustomListView::BeforeDestruction();
}

void TqzCustomShellListView::SetRoot(const TShellId& V) {
  root_ = V;
  hasRoot_ = true;
  TShellItem item;
  item.Id = V;
  item.Entry.Kind = TEntryKind::Folder;
  item.IsVirtual = V.IsVirtual();
  rootItem_ = TqzShellFolder(std::move(item), nullptr);
  if (!ComponentState().Contains(csLoading)) Populate();
}

void TqzCustomShellListView::SetObjectTypes(TShellObjectTypes V) {
  if (V == objectTypes_) return;
  objectTypes_ = V;
  if (hasRoot_ && !ComponentState().Contains(csLoading)) Populate();
}

void TqzCustomShellListView::SetMask(const std::string& V) {
  if (V == mask_) return;
  mask_ = V;
  if (hasRoot_ && !ComponentState().Contains(csLoading)) Populate();
}

void TqzCustomShellListView::SetSorted(bool V) {
  if (V == sorted_) return;
  sorted_ = V;
  if (hasRoot_ && !ComponentState().Contains(csLoading)) Populate();
}

void TqzCustomShellListView::CreateWnd() {
  TCustomListView::CreateWnd();
  if (hasRoot_ && folders_.empty()) Populate();
}

void TqzCustomShellListView::Loaded() {
  TCustomListView::Loaded();
  if (hasRoot_) Populate();
}

TShellListing TqzCustomShellListView::List() const {
  if (!places_) places_ = std::make_shared<const TPlaces>(PlacesSettingsFromEnvironment());
  TEnumOptions options;
  options.Details = true;
  return EnumerateShellFolder(root_, objectTypes_, *places_, options);
}

bool TqzCustomShellListView::ThumbnailsWanted() const { return thumbnails_ && ViewStyle() == vsIcon; }

bool TqzCustomShellListView::Accept(TShellListing& listing, std::vector<std::unique_ptr<TqzShellFolder>>& out,
                                    std::string& longest) {
  TComponentRef<TControl> self(this);
  size_t longestChars = 0;
  for (TShellItem& child : listing.Items) {
    auto folder = std::make_unique<TqzShellFolder>(std::move(child), &rootItem_);
    if (!folder->IsFolder() && !MatchesFileMask(folder->RelativeId(), mask_)) continue;
    bool canAdd = true;
    if (OnAddFolder) {
      OnAddFolder(this, *folder, canAdd);
      if (!self) return false;
    }
    if (!canAdd) continue;
    if (const size_t chars = CodePoints(folder->DisplayName()); chars > longestChars) {
      longestChars = chars;
      longest = folder->DisplayName();
    }
    out.push_back(std::move(folder));
  }
  return true;
}

void TqzCustomShellListView::UpdateListColumnWidth(const std::string& longest) {
  if (ViewStyle() != vsList) return;
  TCanvas measure;
  measure.SetFont(Font());
  SetListColumnWidth(measure.TextWidth(longest) + 32);
}

void TqzCustomShellListView::Populate() {
  if (ComponentState().Contains(csLoading)) return;
  TComponentRef<TControl> self(this);
  tearingDown_ = true;
  StopThumbnailWorkers();
  tearingDown_ = false;
  BeginUpdate();
  SetItemCount(0);
  folders_.clear();
  ScrollTo(0, 0);
  const TCursor savedCursor = Screen ? Screen->Cursor() : crDefault;
  if (Screen) Screen->SetCursor(crHourGlass);
  struct TRestore {
    TCursor cursor;
    ~TRestore() {
      if (Screen) Screen->SetCursor(cursor);
    }
  } restore{savedCursor};

  Watch();
  TShellListing listing = List();
  listError_ = listing.Error;
  std::string longest;
  if (!Accept(listing, folders_, longest)) return;
  if (sorted_ || sortColumn_ >= 0) SortFolders();
  SetItemCount(FolderCount());
  EndUpdate();
  UpdateListColumnWidth(longest);
  if (ThumbnailsWanted() && !folders_.empty()) StartThumbnailWorkers(ThumbnailWorkersPerPass(FolderCount()));
}

// Folders before files; then by the sort column (the name for the default
// order); the descending direction reverses all of it. Equal keys keep the
// order of the names' bytes.
void TqzCustomShellListView::SortFolders() {
  const int column = std::max(0, sortColumn_);
  const bool ascending = sortColumn_ < 0 || sortAscending_;
  auto key = [column](TqzShellFolder& a, TqzShellFolder& b) {
    switch (column) {
      case 1: return Compare(a.IsFolder() ? 0 : a.Entry().Size, b.IsFolder() ? 0 : b.Entry().Size);
      case 2: return CompareNoCase(a.TypeName(), b.TypeName());
      case 3: {
        const TFolderEntry &x = a.Entry(), &y = b.Entry();
        if (x.MTimeSec != y.MTimeSec) return x.MTimeSec < y.MTimeSec ? -1 : 1;
        return x.MTimeNsec == y.MTimeNsec ? 0 : (x.MTimeNsec < y.MTimeNsec ? -1 : 1);
      }
      default: return CompareNoCase(a.DisplayName(), b.DisplayName());
    }
  };
  std::sort(folders_.begin(), folders_.end(), [&](const auto& pa, const auto& pb) {
    TqzShellFolder &a = *pa, &b = *pb;
    int c = a.IsFolder() != b.IsFolder() ? (a.IsFolder() ? -1 : 1) : key(a, b);
    if (!ascending) c = -c;
    if (c == 0) c = a.RelativeId().compare(b.RelativeId());
    return c < 0;
  });
}

void TqzCustomShellListView::SortByColumn(int Column) {
  if (Column < 0 || Column >= ColumnCount() || (Column > 0 && ColumnCount() < 4)) return;
  if (Column == sortColumn_) {
    sortAscending_ = !sortAscending_;
  } else {
    sortColumn_ = Column;
    sortAscending_ = true;
  }
  // The workers address items by index: they stop while the order changes.
  tearingDown_ = true;
  StopThumbnailWorkers();
  tearingDown_ = false;
  SortFolders();
  ClearSelection();
  SetItemFocused(-1);
  Invalidate();
  if (ThumbnailsWanted() && !folders_.empty()) StartThumbnailWorkers(ThumbnailWorkersPerPass(FolderCount()));
}

void TqzCustomShellListView::ColumnClicked(int Column) {
  TComponentRef<TControl> self(this);
  if (ViewStyle() == vsReport) SortByColumn(Column);
  TCustomListView::ColumnClicked(Column);
}

void TqzCustomShellListView::DoData(TListItem& Item) {
  if (tearingDown_ || Item.Index < 0 || Item.Index >= Count() || Item.Index >= FolderCount()) return;
  TqzShellFolder& folder = *folders_[Item.Index];
  Item.Caption = folder.DisplayName();
  if (!(ThumbnailsWanted() && folder.HasThumbnail)) {
    const bool large = ViewStyle() == vsIcon;
    int& cached = large ? folder.LargeIconIndex : folder.SmallIconIndex;
    if (cached < 0 && OnGetIcon) {
      TComponentRef<TControl> self(this);
      const int index = OnGetIcon(this, folder, large);
      if (!self) return;
      cached = index;
    } else if (cached < 0) {
      cached = TypeIconIndex(folder, large);
    }
    Item.ImageIndex = cached;
  }
  if (ViewStyle() == vsReport) {
    const std::vector<std::string>& details = folder.Details(ColumnCount());
    Item.SubItems.assign(details.begin(), details.begin() + std::max(0, ColumnCount() - 1));
  }
  TCustomListView::DoData(Item);
}

// ---------------------------------------------------------------------------


QZ_PUBLISHED(TqzCustomShellListView, TCustomListView) {}

QZ_PUBLISHED(TqzSkinFileListView, TqzCustomShellListView) {
  using O = TqzSkinFileListView;
  b.Factory([](TComponent* owner) { return new TqzSkinFileListView(owner); });
  b.Enum("ViewStyle", &O::ViewStyle, &O::SetViewStyle, vsIcon);
  b.Prop("MultiSelect", &O::MultiSelect, &O::SetMultiSelect, false);
  b.Prop("ReadOnly", &O::ReadOnly, &O::SetReadOnly, false);
  b.Prop("Mask", &O::Mask, &O::SetMask, std::string("*"));
  b.Prop("Sorted", &O::Sorted, &O::SetSorted, true);
  b.Prop("ThumbnailsEnabled", &O::ThumbnailsEnabled, &O::SetThumbnailsEnabled, false);
  b.Prop("ThumbnailSize", &O::ThumbnailSize, &O::SetThumbnailSize, 96);
  b.Ref<TCustomImageList>("LargeImages", &O::LargeImages, &O::SetLargeImages);
  b.Ref<TCustomImageList>("SmallImages", &O::SmallImages, &O::SetSmallImages);
  b.Event<TNotifyEvent>("OnSelectionChange", &O::OnSelectionChange);
  b.Set("ObjectTypes", &O::ObjectTypes, &O::SetObjectTypes,
        TShellObjectTypes{TShellObjectType::otFolders, TShellObjectType::otNonFolders});
  b.Prop("AutoRefresh", &O::AutoRefresh, &O::SetAutoRefresh, true);
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Prop("ItemSkinDataName", &O::ItemSkinDataName, &O::SetItemSkinDataName, std::string("listbox"));
  b.Prop("HeaderSkinDataName", &O::HeaderSkinDataName, &O::SetHeaderSkinDataName, std::string("header"));
  b.Prop("DrawSkin", &O::DrawSkin, &O::SetDrawSkin, true);
  b.Event<TqzAddFolderEvent>("OnAddFolder", &O::OnAddFolder);
  b.Event<TNotifyEvent>("OnFolderChange", &O::OnFolderChange);
}

}  // namespace qz
