#include "host/shell/TypeIcons.h"

#include <algorithm>

#include "host/graphics/StockIcons.h"

namespace qz {

namespace {

constexpr std::string_view kFolderType = "inode/directory";

}  // namespace

TPixmap ScaledIcon(const TPixmap& picture, int size) {
  const int sw = picture.Width(), sh = picture.Height();
  if (sw == size && sh == size) return picture;
  TPixmap out(size, size, 0);
  if (sw <= 0 || sh <= 0 || size <= 0) return out;
  // Fitted into the square, keeping the shape, centred.
  const int w = sw >= sh ? size : std::max(1, int(int64_t(size) * sw / sh));
  const int h = sh >= sw ? size : std::max(1, int(int64_t(size) * sh / sw));
  const int left = (size - w) / 2, top = (size - h) / 2;
  for (int ty = 0; ty < h; ++ty) {
    const int y0 = int(int64_t(ty) * sh / h);
    const int y1 = std::max(y0 + 1, int(int64_t(ty + 1) * sh / h));
    for (int tx = 0; tx < w; ++tx) {
      const int x0 = int(int64_t(tx) * sw / w);
      const int x1 = std::max(x0 + 1, int(int64_t(tx + 1) * sw / w));
      uint64_t a = 0, r = 0, g = 0, b = 0, count = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
          const uint32_t p = picture.At(x, y);
          const uint32_t alpha = p >> 24;
          a += alpha;
          r += alpha * ((p >> 16) & 0xFF);
          g += alpha * ((p >> 8) & 0xFF);
          b += alpha * (p & 0xFF);
          ++count;
        }
      uint32_t pixel = 0;
      if (a > 0) {
        const uint32_t alpha = uint32_t((a + count / 2) / count);
        pixel = alpha << 24 | uint32_t((r + a / 2) / a) << 16 | uint32_t((g + a / 2) / a) << 8 |
                uint32_t((b + a / 2) / a);
      }
      out.At(left + tx, top + ty) = pixel;
    }
  }
  return out;
}

TTypeIcons::TTypeIcons(TIconTheme& theme, const TMimeDatabase& types, TIconDecoder decode)
    : theme_(theme), types_(types), decode_(std::move(decode)) {}

int TTypeIcons::IndexOf(std::string_view type) {
  const std::string canonical = types_.Unalias(type);
  std::lock_guard lock(mutex_);
  if (const auto found = indexes_.find(canonical); found != indexes_.end()) return found->second;
  const int index = int(slots_.size());
  slots_.push_back({canonical, nullptr, nullptr});
  indexes_.emplace(canonical, index);
  return index;
}

std::shared_ptr<const TPixmap> TTypeIcons::Icon(int index, TTypeIconSize size) {
  std::lock_guard lock(mutex_);
  if (index < 0 || size_t(index) >= slots_.size()) return nullptr;
  TSlot& slot = slots_[size_t(index)];
  std::shared_ptr<const TPixmap>& icon = size == TTypeIconSize::Small ? slot.Small : slot.Large;
  if (!icon) icon = MakeIcon(slot.Type, int(size));
  return icon;
}

std::string TTypeIcons::TypeAt(int index) {
  std::lock_guard lock(mutex_);
  if (index < 0 || size_t(index) >= slots_.size()) return {};
  return slots_[size_t(index)].Type;
}

int TTypeIcons::Count() {
  std::lock_guard lock(mutex_);
  return int(slots_.size());
}

std::shared_ptr<const TPixmap> TTypeIcons::MakeIcon(const std::string& type, int pixels) {
  std::vector<std::string> names = types_.IconNames(type);
  const bool folder = type == kFolderType;
  if (folder && std::find(names.begin(), names.end(), "folder") == names.end()) names.push_back("folder");
  if (const auto picture = theme_.Load(names, pixels, decode_);
      picture && picture->Width() > 0 && picture->Height() > 0)
    return std::make_shared<const TPixmap>(ScaledIcon(*picture, pixels));
  return std::make_shared<const TPixmap>(
      DrawStockIcon(folder ? TStockIcon::Folder : TStockIcon::File, pixels));
}

}  // namespace qz
