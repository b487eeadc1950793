// The icons of file types at 16 and 32 pixels, numbered once per type: the
// "system image list" the shell views and dialogs draw from.
//
// A type's icon is the first of these the icon theme has: the type's icon
// name (from the database's "icons", else the type with "/" made "-"),
// then its generic icon ("generic-icons", else media + "-x-generic"); for
// folders also "folder". When the theme has none, or its file does not
// decode, the program draws a folder (inode/directory) or a plain file
// icon. Pictures of another size than asked are scaled to it, so every
// icon of a size has that size. Each type's pictures are made once, on
// first use; aliases share their type's index. Safe to call from several
// threads.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/graphics/Pixmap.h"
#include "host/shell/IconTheme.h"
#include "host/shell/MimeDatabase.h"

namespace qz {

enum class TTypeIconSize { Small = 16, Large = 32 };

class TTypeIcons {
 public:
  TTypeIcons(TIconTheme& theme, const TMimeDatabase& types, TIconDecoder decode);
  TTypeIcons(const TTypeIcons&) = delete;
  TTypeIcons& operator=(const TTypeIcons&) = delete;

  // The index of the type's icons, the same for every call with the type;
  // indexes count from 0 in the order types are first asked for.
  int IndexOf(std::string_view type);
  // The icon at an index, size × size pixels; null for an index not given out.
  std::shared_ptr<const TPixmap> Icon(int index, TTypeIconSize size);
  std::shared_ptr<const TPixmap> IconOfType(std::string_view type, TTypeIconSize size) {
    return Icon(IndexOf(type), size);
  }
  // The type an index stands for (empty for an index not given out).
  std::string TypeAt(int index);
  int Count();

 private:
  struct TSlot {
    std::string Type;
    std::shared_ptr<const TPixmap> Small, Large;
  };
  std::shared_ptr<const TPixmap> MakeIcon(const std::string& type, int pixels);

  TIconTheme& theme_;
  const TMimeDatabase& types_;
  const TIconDecoder decode_;
  std::mutex mutex_;
  std::unordered_map<std::string, int> indexes_;
  std::vector<TSlot> slots_;
};

// The picture scaled to size × size by averaging (alpha-weighted, so that
// transparent pixels do not darken the edges); a copy when it has that size.
TPixmap ScaledIcon(const TPixmap& picture, int size);

}  // namespace qz
