#include "host/platform/Tray.h"

#include <algorithm>
#include <cstdlib>

namespace qz {

bool TTrayClickTracker::IsDoubleClick(int button, TPoint pos, uint64_t nowMs, int doubleClickMs,
                                      TSize slop) {
  const bool isDouble = button == lastButton_ && nowMs - lastMs_ <= static_cast<uint64_t>(doubleClickMs) &&
                        std::abs(pos.X - lastPos_.X) <= slop.cx / 2 &&
                        std::abs(pos.Y - lastPos_.Y) <= slop.cy / 2;
  lastButton_ = isDouble ? -1 : button;
  lastPos_ = pos;
  lastMs_ = nowMs;
  return isDouble;
}

uint32_t TTrayRegistry::Add(TTrayListener listener) {
  listeners_.emplace_back(next_, std::move(listener));
  return next_++;
}

void TTrayRegistry::Remove(uint32_t id) {
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void TTrayRegistry::Deliver(uint32_t id, const TTrayInput& input) const {
  for (const auto& [key, listener] : listeners_) {
    if (key != id) continue;
    const TTrayListener copy = listener;
    if (copy) copy(input);
    return;
  }
}

}  // namespace qz
