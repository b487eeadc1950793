#include "skin/draw/PngImageList.h"

#include "host/graphics/Canvas.h"

namespace qz {
namespace {

// round(a / 256 * 128) with halves to even.
uint8_t HalfAlpha(uint8_t a) {
  int q = a >> 1;
  if (a & 1) q += q & 1;
  return uint8_t(q);
}

}  // namespace

TqzPngImageItem::TqzPngImageItem(TCollection* collection)
    : TCollectionItem(collection), image_(std::make_unique<TqzPngImage>()) {}

std::string TqzPngImageItem::DisplayName() const {
  if (!Name.empty()) return Name;
  if (image_->Empty()) return "(empty)";
  return std::to_string(image_->Width()) + " x " + std::to_string(image_->Height());
}

TqzPngImageList::TqzPngImageList(TComponent* owner)
    : TComponent(owner), images_(this, TCollection::FactoryOf<TqzPngImageItem>()) {}

TqzPngImageList::~TqzPngImageList() = default;

TqzPngImageItem* TqzPngImageList::Item(int index) const {
  return index >= 0 && index < images_.Count() ? images_.ItemAs<TqzPngImageItem>(index) : nullptr;
}

TqzPngImageItem* TqzPngImageList::AddFromBytes(std::span<const uint8_t> png, const std::string& name) {
  TqzPngImage image;
  image.LoadFromBytes(png);  // before adding: a bad image adds nothing
  auto* item = As<TqzPngImageItem>(images_.Add());
  item->SetPngImage(image);
  item->Name = name;
  return item;
}

void TqzPngImageList::DoDraw(int index, TCanvas& canvas, int x, int y, bool enabled) const {
  const TqzPngImageItem* item = Item(index);
  if (!item || item->PngImage().Empty()) return;
  TRect dest{x, y, x + width_, y + height_};
  if (enabled) {
    item->PngImage().Draw(canvas, dest);
    return;
  }
  TqzPngImage disabled;
  disabled.Assign(item->PngImage());
  MakeDisabled(disabled);
  disabled.Draw(canvas, dest);
}

void TqzPngImageList::MakeDisabled(TqzPngImage& image) {
  TqzPngLayerIHDR* h = image.Header();
  if (!h || image.Empty()) return;
  // Alphas as drawn before the change (alpha plane, palette tRNS or key).
  const TPixmap before = image.ToPixmap();
  const int colorType = h->ColorType();
  const TqzPngTransparencyMode mode = image.TransparencyMode();
  h->AddAlphaPlane();
  for (int y = 0; y < h->Height(); ++y) {
    uint8_t* alpha = h->AlphaScanLine(y);
    for (int x = 0; x < h->Width(); ++x) {
      uint8_t a = uint8_t(before.At(x, y) >> 24);
      if (colorType == 4 || colorType == 6) {
        alpha[x] = HalfAlpha(a);
      } else if (mode == TqzPngTransparencyMode::ptmBit && a == 0) {
        alpha[x] = 0;
      } else if (colorType == 2) {
        alpha[x] = HalfAlpha(255);
      } else if (mode == TqzPngTransparencyMode::ptmPartial) {
        // Palette alphas scale to the disabled 127 instead of being lost.
        alpha[x] = uint8_t((a * 127 + 127) / 255);
      } else {
        alpha[x] = 127;
      }
    }
  }
  image.PixelsChanged();
}

}  // namespace qz
