// The table behind window handles: slot index -> window node, with a generation
// per slot. A handle is (slot, generation); it resolves only while the slot
// still has that generation, so lookups are O(1) and a freed handle never
// resolves again. Generations run from 1 to kLastGeneration; a slot whose
// generation would pass it is retired instead of reused, which also keeps
// the special insert-after values (HWND_BOTTOM, HWND_TOPMOST, ...) from ever
// naming a window.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "host/base/WindowHandle.h"

namespace qz {

class TWindowNode;

class THandleTable {
 public:
  static constexpr uint32_t kFirstGeneration = 1;
  static constexpr uint32_t kLastGeneration = 0xFFFFFFFEu;

  // A fresh handle for the node (a free slot, or a new one).
  HWND Add(TWindowNode* node);
  // The handle no longer resolves; its slot is reused with the next generation.
  void Remove(HWND handle);
  // The node of a live handle, null otherwise.
  TWindowNode* Find(HWND handle) const {
    if (handle.Slot() >= slots_.size()) return nullptr;
    const TSlot& s = slots_[handle.Slot()];
    return s.generation == handle.Generation() ? s.node : nullptr;
  }
  // Calls f(handle, node) for every live handle.
  template <class F>
  void ForEach(F&& f) const {
    for (uint32_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].node) f(HWND::Make(i, slots_[i].generation), slots_[i].node);
  }
  size_t LiveCount() const { return live_; }
  size_t SlotCount() const { return slots_.size(); }
  // Tests: makes the free slot's generation `generation`, to reach the end
  // of the generation range without billions of windows.
  void SetFreeSlotGenerationForTesting(uint32_t slot, uint32_t generation);

 private:
  struct TSlot {
    TWindowNode* node = nullptr;
    uint32_t generation = kFirstGeneration;
  };
  std::vector<TSlot> slots_;
  std::deque<uint32_t> free_;    // reusable slots, oldest freed first
  size_t live_ = 0;
};

}  // namespace qz
