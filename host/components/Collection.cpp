#include "host/components/Collection.h"

#include <algorithm>

#include "host/components/Properties.h"

namespace qz {

// --- TCollectionItem -----------------------------------------------------------

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::SetIndex(int index) {
  int current = Index();
  if (current < 0 || index == current) return;
  collection_->Move(current, index);
}

void TCollectionItem::Assign(const TPersistent& source) {
  if (dynamic_cast<const TCollectionItem*>(&source) != nullptr && ClassInfoOf(*this) != nullptr) {
    AssignPublished(*this, source);
    Changed(false);
    return;
  }
  TPersistent::Assign(source);
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ != nullptr) collection_->ItemChanged(allItems ? nullptr : this);
}

// --- TCollection -----------------------------------------------------------------

TCollection::TCollection(TPersistent* owner, TItemFactory factory)
    : owner_(owner), factory_(std::move(factory)) {}

TCollection::~TCollection() {
  // No update notifications while the owner is going away.
  updateCount_ = 1;
  items_.clear();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)].get();
}

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  std::unique_ptr<TCollectionItem> item = factory_(this);
  if (!item) throw EComponentError("The collection could not create an item");
  item->collection_ = this;
  item->id_ = nextId_++;
  TCollectionItem* raw = item.get();
  items_.insert(items_.begin() + index, std::move(item));
  Changed();
  return raw;
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  items_.erase(items_.begin() + index);
  Changed();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (const auto& item : items_)
    if (item->id_ == id) return item.get();
  return nullptr;
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

void TCollection::Move(int from, int to) {
  if (from < 0 || from >= Count()) return;
  to = std::clamp(to, 0, Count() - 1);
  if (from == to) return;
  auto item = std::move(items_[static_cast<size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
  Changed();
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && pendingUpdate_) {
    pendingUpdate_ = false;
    Update(nullptr);
  }
}

void TCollection::Assign(const TPersistent& source) {
  const auto* src = dynamic_cast<const TCollection*>(&source);
  if (src == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (const auto& item : src->items_) Add()->Assign(*item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Update(TCollectionItem* item) {
  if (OnUpdate) OnUpdate(this, item);
}

void TCollection::Changed() { ItemChanged(nullptr); }

void TCollection::ItemChanged(TCollectionItem* item) {
  if (updateCount_ > 0) {
    pendingUpdate_ = true;
    return;
  }
  Update(item);
}

QZ_PUBLISHED(TCollectionItem, TPersistent) {}

}  // namespace qz
