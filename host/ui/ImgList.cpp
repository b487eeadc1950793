#include "host/ui/ImgList.h"

#include <algorithm>
#include <span>
#include <string>

#include "host/components/Properties.h"
#include "host/graphics/BmpCodec.h"
#include "host/graphics/Canvas.h"

namespace qz {

namespace {

// Largest image side a stored list may declare; keeps a hostile resource
// from asking for huge allocations.
constexpr int kMaxImageSide = 1024;
constexpr uint32_t kDataVersion = 1;
// Per-image flag: a 32-bit image's alpha is the mask, even when it is zero
// everywhere (a bitmap file reader would take that as "no alpha").
constexpr uint32_t kAlphaIsMask = 1;

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

class TDataReader {
 public:
  explicit TDataReader(std::span<const uint8_t> data) : data_(data) {}
  uint32_t U32(const char* what) {
    if (data_.size() - pos_ < 4) Fail(std::string("data ends inside the ") + what);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(data_[pos_ + i]) << (8 * i);
    pos_ += 4;
    return v;
  }
  std::span<const uint8_t> Bytes(uint32_t count) {
    if (data_.size() - pos_ < count) Fail("data ends inside an image");
    auto s = data_.subspan(pos_, count);
    pos_ += count;
    return s;
  }
  size_t Left() const { return data_.size() - pos_; }
  [[noreturn]] static void Fail(const std::string& what) {
    throw EReadError("Invalid image list data: " + what);
  }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

uint32_t BlendOver(uint32_t src, uint32_t dst) {
  uint32_t a = PixelAlpha(src);
  if (a == 255) return src;
  auto mix = [a](uint32_t s, uint32_t d) { return (s * a + d * (255 - a) + 127) / 255; };
  uint32_t r = mix((src >> 16) & 0xFF, (dst >> 16) & 0xFF);
  uint32_t g = mix((src >> 8) & 0xFF, (dst >> 8) & 0xFF);
  uint32_t b = mix(src & 0xFF, dst & 0xFF);
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

void TCustomImageList::SetSize(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide)
    throw EImageListError("Invalid image size " + std::to_string(width) + " x " +
                          std::to_string(height));
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  images_.clear();
  Change();
}

void TCustomImageList::SetMasked(bool value) {
  if (masked_ == value) return;
  masked_ = value;
  Change();
}

void TCustomImageList::SetBkColor(TColor value) {
  if (bkColor_ == value) return;
  bkColor_ = value;
  Change();
}

int TCustomImageList::Add(const TBitmap& image, const TBitmap* mask) {
  const TPixmap& src = image.Pixels();
  int pieces = src.Height() >= height_ ? src.Width() / width_ : 0;
  if (pieces == 0) return -1;
  bool ownAlpha = mask == nullptr && image.AlphaPresent();
  int first = Count();
  for (int n = 0; n < pieces; ++n) {
    TPixmap piece(width_, height_);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        int sx = n * width_ + x;
        uint32_t p = src.At(sx, y);
        bool hidden = false;
        if (mask != nullptr) {
          const TPixmap& m = mask->Pixels();
          // Pixels the mask does not cover stay shown.
          hidden = sx < m.Width() && y < m.Height() && (m.At(sx, y) & 0x00FFFFFF) != 0;
        }
        if (!ownAlpha) p |= 0xFF000000u;
        if (hidden) p &= 0x00FFFFFFu;
        piece.At(x, y) = p;
      }
    images_.push_back(std::move(piece));
  }
  Change();
  return first;
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor transparent) {
  TBitmap mask(image.Width(), image.Height());
  uint32_t key = ColorToRGB(transparent);
  const TPixmap& src = image.Pixels();
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x)
      mask.Pixels().At(x, y) =
          ColorRefFromPixel(src.At(x, y)) == key ? 0xFFFFFFFFu : 0xFF000000u;
  return Add(image, &mask);
}

void TCustomImageList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EImageListError("Image index " + std::to_string(index) + " out of range (" +
                          std::to_string(Count()) + " images)");
}

void TCustomImageList::Delete(int index) {
  CheckIndex(index);
  images_.erase(images_.begin() + index);
  Change();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Change();
}

const TPixmap& TCustomImageList::Image(int index) const {
  CheckIndex(index);
  return images_[static_cast<size_t>(index)];
}

void TCustomImageList::GetBitmap(int index, TBitmap& image) const {
  const TPixmap& src = Image(index);
  image.SetSize(width_, height_);
  image.Pixels() = src;
  image.SetAlphaPresent(true);
  image.Modified();
}

uint32_t TCustomImageList::DisabledPixel(uint32_t pixel) {
  uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  uint32_t lum = (r * 299 + g * 587 + b * 114 + 500) / 1000;
  uint32_t grey = (lum + 255 + 1) / 2;
  return (pixel & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count() || canvas.Target() == nullptr) return;
  const TPixmap& img = images_[static_cast<size_t>(index)];
  TPixmap& dst = *canvas.Target();
  TPoint origin = canvas.LogicalToDevice(TPoint{x, y});
  bool fillBack = bkColor_ != clNone;
  uint32_t back = fillBack ? PixelFromColorRef(ColorToRGB(bkColor_)) : 0;
  TRect area{origin.X, origin.Y, origin.X + width_, origin.Y + height_};
  canvas.ForEachClipRect(area, [&](const TRect& r) {
    for (int dy = r.Top; dy < r.Bottom; ++dy)
      for (int dx = r.Left; dx < r.Right; ++dx) {
        uint32_t p = img.At(dx - origin.X, dy - origin.Y);
        if (PixelAlpha(p) == 0) {
          if (fillBack) dst.At(dx, dy) = back;
          else if (!masked_) dst.At(dx, dy) = p | 0xFF000000u;
          continue;
        }
        if (!enabled) p = DisabledPixel(p);
        if (!masked_) p |= 0xFF000000u;
        dst.At(dx, dy) = BlendOver(p, fillBack ? back : dst.At(dx, dy));
      }
  });
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

std::vector<uint8_t> TCustomImageList::SaveData() const {
  std::vector<uint8_t> out;
  if (images_.empty()) return out;
  for (char c : {'Q', 'Z', 'I', 'L'}) out.push_back(static_cast<uint8_t>(c));
  PutU32(out, kDataVersion);
  PutU32(out, static_cast<uint32_t>(width_));
  PutU32(out, static_cast<uint32_t>(height_));
  PutU32(out, static_cast<uint32_t>(images_.size()));
  for (const TPixmap& img : images_) {
    std::vector<uint8_t> file = EncodeBmp(img, 32);
    PutU32(out, kAlphaIsMask);
    PutU32(out, static_cast<uint32_t>(file.size()));
    out.insert(out.end(), file.begin(), file.end());
  }
  return out;
}

void TCustomImageList::LoadData(const std::vector<uint8_t>& data) {
  if (data.empty()) {
    Clear();
    return;
  }
  TDataReader in(data);
  auto magic = in.Bytes(4);
  if (!std::equal(magic.begin(), magic.end(), "QZIL")) TDataReader::Fail("bad signature");
  if (in.U32("version") != kDataVersion) TDataReader::Fail("unsupported version");
  uint32_t w = in.U32("width"), h = in.U32("height"), count = in.U32("count");
  if (w < 1 || h < 1 || w > kMaxImageSide || h > kMaxImageSide)
    TDataReader::Fail("image size " + std::to_string(w) + " x " + std::to_string(h));
  // Each image takes at least its flags, a length field and a file header.
  if (count > in.Left() / (8 + kBmpFileHeaderSize)) TDataReader::Fail("image count too large");
  std::vector<TPixmap> images;
  images.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t flags = in.U32("image flags");
    uint32_t length = in.U32("image length");
    auto file = in.Bytes(length);
    TBmpImage bmp;
    try {
      bmp = DecodeBmp(file);
    } catch (const Exception& e) {
      TDataReader::Fail("image " + std::to_string(i) + ": " + e.what());
    }
    if (bmp.Width != static_cast<int>(w) || bmp.Height != static_cast<int>(h))
      TDataReader::Fail("image " + std::to_string(i) + " is not " + std::to_string(w) + " x " +
                        std::to_string(h));
    // A 32-bit image whose alpha is all zero was wholly masked; any other
    // image without alpha has no masked pixels.
    bool allMasked = (flags & kAlphaIsMask) && bmp.BitsPerPixel == 32 && !bmp.HasAlpha;
    if (!bmp.HasAlpha)
      for (int y = 0; y < bmp.Pixels.Height(); ++y)
        for (int x = 0; x < bmp.Pixels.Width(); ++x) {
          uint32_t& p = bmp.Pixels.At(x, y);
          p = allMasked ? (p & 0x00FFFFFFu) : (p | 0xFF000000u);
        }
    images.push_back(std::move(bmp.Pixels));
  }
  width_ = static_cast<int>(w);
  height_ = static_cast<int>(h);
  images_ = std::move(images);
  Change();
}

QZ_PUBLISHED(TCustomImageList, TComponent) {
  b.Prop("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth, 16);
  b.Prop("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight, 16);
  b.Prop("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked, true);
  b.Color("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor, clNone);
  b.Binary("Bitmap", &TCustomImageList::SaveData, &TCustomImageList::LoadData);
  b.Event<TNotifyEvent>("OnChange", &TCustomImageList::OnChange);
}

QZ_PUBLISHED(TImageList, TCustomImageList) {
  b.Factory([](TComponent* owner) { return new TImageList(owner); });
}

}  // namespace qz
