// Helpers shared by the headless platform tests.
#pragma once

#include <memory>
#include <vector>

#include "host/platform/headless/HeadlessPlatform.h"

namespace qz::testing {

// Every event that is queued now, in delivery order.
inline std::vector<TPlatformEvent> Drain(THeadlessPlatform& platform) {
  std::vector<TPlatformEvent> events;
  TPlatformEvent e;
  while (platform.WaitEvent(e, 0)) events.push_back(e);
  return events;
}

inline std::vector<TPlatformEventKind> Kinds(const std::vector<TPlatformEvent>& events) {
  std::vector<TPlatformEventKind> kinds;
  for (const auto& e : events) kinds.push_back(e.kind);
  return kinds;
}

// A visible window filled with one opaque colour.
inline std::unique_ptr<THeadlessWindow> SolidWindow(THeadlessPlatform& platform, TRect bounds,
                                                    uint32_t argb,
                                                    TPlatformWindowKind kind = TPlatformWindowKind::Normal) {
  TPlatformWindowDesc desc;
  desc.kind = kind;
  desc.bounds = bounds;
  std::unique_ptr<THeadlessWindow> w(static_cast<THeadlessWindow*>(platform.CreateWindow(desc).release()));
  TPixmap buffer(bounds.Width(), bounds.Height(), argb);
  w->Present(buffer, TRegion(buffer.Bounds()));
  w->SetVisible(true, false);
  return w;
}

}  // namespace qz::testing
