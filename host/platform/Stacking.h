// The stacking rules both backends apply to their top-level windows:
// bottom to top, Normal, topmost Normal, Popup, topmost Popup; an owned
// window is at least in its owner's layer and always above its owner.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "host/platform/Platform.h"

namespace qz {

inline int StackingLayer(TPlatformWindowKind kind, bool topmost) {
  return (kind == TPlatformWindowKind::Popup ? 2 : 0) + (topmost ? 1 : 0);
}

// Reorders `stack` (bottom to top) by the rules, keeping the relative order
// of windows the rules do not decide about. An owned window below its owner
// moves to just above it. layerOf(w) gives StackingLayer for w alone,
// ownerOf(w) its owner or nullptr. Owner chains must not form cycles.
template <class W, class LayerOf, class OwnerOf>
void ApplyStackingRules(std::vector<W*>& stack, LayerOf layerOf, OwnerOf ownerOf) {
  std::map<const W*, int> layer;
  auto effectiveLayer = [&](auto&& self, const W* w) -> int {
    if (auto it = layer.find(w); it != layer.end()) return it->second;
    int l = layerOf(w);
    if (const W* owner = ownerOf(w)) l = std::max(l, self(self, owner));
    layer[w] = l;
    return l;
  };
  for (W* w : stack) effectiveLayer(effectiveLayer, w);
  std::stable_sort(stack.begin(), stack.end(), [&](const W* a, const W* b) { return layer[a] < layer[b]; });

  const std::set<const W*> members(stack.begin(), stack.end());
  std::vector<W*> ordered;
  std::set<const W*> placed;
  std::map<const W*, std::vector<W*>> waitingForOwner;
  auto place = [&](auto&& self, W* w) -> void {
    ordered.push_back(w);
    placed.insert(w);
    auto it = waitingForOwner.find(w);
    if (it == waitingForOwner.end()) return;
    auto owned = std::move(it->second);
    waitingForOwner.erase(it);
    for (W* o : owned) self(self, o);
  };
  for (W* w : stack) {
    const W* owner = ownerOf(w);
    // An owner outside the stack (not one of ours) does not hold anything back.
    const bool ownerInStack = owner && members.contains(owner);
    if (ownerInStack && !placed.contains(owner) && layer[owner] == layer[w])
      waitingForOwner[owner].push_back(w);
    else
      place(place, w);
  }
  stack = std::move(ordered);
}

}  // namespace qz
