#include "skin/dialogs/SystemImages.h"

#include "host/graphics/Bitmap.h"
#include "host/shell/IconTheme.h"
#include "host/shell/MimeDatabase.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/draw/PngImage.h"

namespace qz {

namespace {

std::optional<TPixmap> DecodePng(std::span<const uint8_t> file) { return TqzPngImage::DecodeToPixmap(file); }

void AddPicture(TImageList& list, const std::shared_ptr<const TPixmap>& picture) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  if (picture && picture->Width() == list.Width() && picture->Height() == list.Height()) {
    b.Pixels() = *picture;
  } else {
    b.SetSize(list.Width(), list.Height());
  }
  b.SetAlphaPresent(true);
  b.Modified();
  list.Add(b);
}

// The icon names of a type as the database gives them, then "folder" for
// folders, so that every folder shows one.
std::vector<std::string> NamesOfType(const std::string& type) {
  std::vector<std::string> names = TMimeDatabase::Shared().IconNames(type);
  if (type == "inode/directory") names.push_back("folder");
  else names.push_back("text-x-generic");
  return names;
}

}  // namespace

TqzSystemImages::TqzSystemImages(TComponent* AOwner) : TComponent(AOwner) {
  small_ = new TImageList(this);
  small_->SetSize(16, 16);
  large_ = new TImageList(this);
  large_->SetSize(32, 32);
}

int TqzSystemImages::Add(const std::string& key, const std::vector<std::string>& names) {
  if (auto it = indexes_.find(key); it != indexes_.end()) return it->second;
  TIconTheme& theme = TIconTheme::Shared();
  AddPicture(*small_, theme.LoadSized(names, 16, DecodePng));
  AddPicture(*large_, theme.LoadSized(names, 32, DecodePng));
  const int index = small_->Count() - 1;
  indexes_[key] = index;
  return index;
}

int TqzSystemImages::IndexOfType(const std::string& type) { return Add("type:" + type, NamesOfType(type)); }

int TqzSystemImages::IndexOfIcon(const std::string& name, const std::string& fallbackType) {
  std::vector<std::string> names{name};
  for (std::string& n : NamesOfType(fallbackType)) names.push_back(std::move(n));
  return Add("icon:" + name, names);
}

int TqzSystemImages::IndexOfId(const TShellId& id, bool isFolder) {
  if (id.Place == TShellPlace::Computer) return IndexOfIcon("computer", "inode/directory");
  if (id.Place == TShellPlace::Network) return IndexOfIcon("network-workgroup", "inode/directory");
  if (isFolder) {
    if (id.Path == "/") return IndexOfIcon("drive-harddisk", "inode/directory");
    if (id.Path == HomeFolderPath()) return IndexOfIcon("user-home", "inode/directory");
    return IndexOfType("inode/directory");
  }
  const std::vector<std::string> types = TMimeDatabase::Shared().TypesOfName(std::string(LastName(id.Path)));
  return IndexOfType(types.empty() ? std::string("application/octet-stream") : types.front());
}

int TqzSystemImages::IndexOf(TqzShellFolder& item) { return IndexOfId(item.AbsoluteId(), item.IsFolder()); }

const std::string& TqzSystemImages::HomeFolderPath() {
  if (home_.empty()) home_ = PlacesSettingsFromEnvironment().Home;
  return home_;
}

}  // namespace qz
