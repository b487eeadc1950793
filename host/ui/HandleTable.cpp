#include "host/ui/HandleTable.h"

#include "host/base/Exception.h"

namespace qz {

HWND THandleTable::Add(TWindowNode* node) {
  uint32_t slot;
  if (!free_.empty()) {
    // The oldest free slot first: a freed value waits as long as possible
    // before its slot is reused (with another generation anyway).
    slot = free_.front();
    free_.pop_front();
  } else {
    if (slots_.size() >= 0xFFFFFFFFu) throw Exception("Out of window handles");
    slot = static_cast<uint32_t>(slots_.size());
    slots_.push_back({});
  }
  slots_[slot].node = node;
  ++live_;
  return HWND::Make(slot, slots_[slot].generation);
}

void THandleTable::Remove(HWND handle) {
  if (Find(handle) == nullptr) return;
  TSlot& s = slots_[handle.Slot()];
  s.node = nullptr;
  --live_;
  if (s.generation == kLastGeneration) return;  // retired: its values are all used
  ++s.generation;
  free_.push_back(handle.Slot());
}

void THandleTable::SetFreeSlotGenerationForTesting(uint32_t slot, uint32_t generation) {
  if (slot < slots_.size() && !slots_[slot].node) slots_[slot].generation = generation;
}

}  // namespace qz
