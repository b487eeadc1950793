#include "skin/controls/LayerManager.h"

#include <algorithm>

#include "host/graphics/Bitmap.h"
#include "host/platform/Platform.h"
#include "host/ui/Windows.h"
#include "skin/controls/LayerWindow.h"
#include "skin/draw/EffectBmp.h"

namespace qz {

namespace {
constexpr uintptr_t kFadeTimer = 1;
constexpr UINT kFadeIntervalMs = 25;
}  // namespace

struct TqzLayerManager::Impl {
  std::unique_ptr<TqzLayerWindow> window;
  std::unique_ptr<TqzBitmap> picture;  // premultiplied
  uint8_t target = 0, opacity = 0, step = 0;

  void Push() {
    TBlendFunction blend;
    blend.SourceConstantAlpha = opacity;
    UpdateLayeredWindow(window->Handle(), nullptr, nullptr, picture->Pixmap(), &blend, ULW_ALPHA);
  }
  void FadeStep() {
    if (!window) return;
    opacity = static_cast<uint8_t>(std::min<int>(target, opacity + step));
    Push();
    if (opacity >= target) KillTimer(window->Handle(), kFadeTimer);
  }
};

TqzLayerManager::TqzLayerManager() : impl_(std::make_unique<Impl>()) {}
TqzLayerManager::~TqzLayerManager() = default;

// The glow fades in over ten steps: the step is a tenth of the target
// rounded up, so that the tenth step reaches it (and a target below ten
// still moves).
void TqzLayerManager::ShowLayer(int x, int y, uint8_t alpha, const TBitmap* mask,
                                const TBitmap& picture) {
  HideLayer();
  // Without per-pixel alpha (no compositor) nothing would blend the glow:
  // no layer then. Asked on every show, so the glow follows a compositor
  // that starts or stops.
  if (picture.Empty() || !Platform().SupportsPerPixelAlpha()) return;
  Impl& d = *impl_;
  d.picture = std::make_unique<TqzBitmap>();
  d.picture->Assign(picture);
  if (mask && !mask->Empty())
    AlphaFromMaskPremultiplied(*d.picture, mask->Pixels());
  else
    d.picture->PreMultiply();

  d.window.reset(new TqzLayerWindow(TopMost));
  d.window->SetBounds(x, y, d.picture->Width(), d.picture->Height());
  const HWND window = d.window->Handle();
  d.target = alpha;
  d.opacity = 0;
  d.step = static_cast<uint8_t>((alpha + 9) / 10);
  d.Push();
  ShowWindow(window, SW_SHOWNA);
  if (d.opacity < d.target)
    SetTimer(window, kFadeTimer, kFadeIntervalMs,
             [&d](HWND, UINT, uintptr_t, DWORD) { d.FadeStep(); });
}

void TqzLayerManager::HideLayer() {
  Impl& d = *impl_;
  if (d.window && d.window->HandleAllocated()) KillTimer(d.window->Handle(), kFadeTimer);
  d.window.reset();
  d.picture.reset();
}

bool TqzLayerManager::Shown() const { return impl_->window != nullptr; }

HWND TqzLayerManager::Window() const {
  const auto& window = impl_->window;
  return window && window->HandleAllocated() ? window->Handle() : HWND();
}

uint8_t TqzLayerManager::Opacity() const { return impl_->window ? impl_->opacity : 0; }

}  // namespace qz
