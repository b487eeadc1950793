// The icons the file dialogs draw items with, as two image lists (16 and
// 32 pixels) that grow as types are asked for: the icon of a file's type
// (by its name, so that listing never reads a file), of folders, and of the
// places (desktop, documents, computer, network).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/components/Component.h"
#include "host/shell/ShellItem.h"
#include "host/shell/SpecialFolders.h"
#include "host/ui/ImgList.h"

namespace qz {

class TqzShellFolder;

class TqzSystemImages : public TComponent {
  QZ_CLASS(TqzSystemImages, TComponent)
 public:
  explicit TqzSystemImages(TComponent* AOwner);

  TImageList* Small() const { return small_; }
  TImageList* Large() const { return large_; }

  // The index of an item's icon (the same in both lists).
  int IndexOf(TqzShellFolder& item);
  int IndexOfId(const TShellId& id, bool isFolder);
  // The icon of one of the theme's names (the first the theme has), else
  // of fallbackType.
  int IndexOfIcon(const std::string& name, const std::string& fallbackType);
  int IndexOfType(const std::string& type);

 private:
  int Add(const std::string& key, const std::vector<std::string>& names);
  const std::string& HomeFolderPath();
  std::string home_;
  TImageList* small_ = nullptr;
  TImageList* large_ = nullptr;
  std::map<std::string, int> indexes_;
};

}  // namespace qz
