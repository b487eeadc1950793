// Icons the program draws itself, for when no icon theme has them: the four
// message box icons, a folder and a plain file. Drawn by code at any size
// (designed for 16 and 32 pixels), antialiased, transparent around the shape.
#pragma once

#include <optional>
#include <string_view>

#include "host/graphics/Pixmap.h"

namespace qz {

enum class TStockIcon {
  Warning,      // a yellow triangle with a black "!"
  Error,        // a red disc with a white X
  Information,  // a blue disc with a white "i"
  Question,     // a blue disc with a white "?"
  Folder,
  File,
};

constexpr int kMaxStockIconSize = 512;

// The icon at size × size pixels, 0xAARRGGBB with straight (not
// premultiplied) alpha. Sizes outside 1 … kMaxStockIconSize give an empty
// pixmap.
TPixmap DrawStockIcon(TStockIcon icon, int size);

// The stock icon standing in for an icon theme name: "dialog-warning",
// "dialog-error", "dialog-information", "dialog-question"; "folder" and the
// names starting "folder-", "inode-directory"; "text-x-generic",
// "application-x-generic", "application-octet-stream", "unknown".
std::optional<TStockIcon> StockIconForName(std::string_view name);

}  // namespace qz
