// Collections: an ordered list of items of one class, owned by the
// collection. Items carry published properties of their own (registered with
// QZ_PUBLISHED(TMyItem, TCollectionItem)) and are streamed in form resources
// as `Panels = < item ... end item ... end >`.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Object.h"
#include "host/components/Persistent.h"

namespace qz {

class TCollection;

class TCollectionItem : public TPersistent {
  QZ_CLASS(TCollectionItem, TPersistent)
 public:
  // Items are made by their collection (TCollection::Add/Insert), which
  // passes itself here.
  explicit TCollectionItem(TCollection* collection) : collection_(collection) {}

  TCollection* Collection() const { return collection_; }
  int Index() const;  // -1 while not (yet) in a collection
  // Moves the item to another position (clamped to the list).
  virtual void SetIndex(int index);
  // What editors show: the class name unless a subclass says better.
  virtual std::string DisplayName() const { return ClassName(); }
  // Unique number within the collection, given when the item is added.
  int ID() const { return id_; }
  // Copies the published properties of an item of the same class (so that
  // TCollection::Assign works for every registered item class); subclasses
  // with unpublished state override it.
  void Assign(const TPersistent& source) override;

 protected:
  // Tells the collection (and through it the owner) that this item changed;
  // `allItems` when the change affects the layout of every item.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_;
  int id_ = -1;
};

class TCollection : public TPersistent {
  QZ_CLASS(TCollection, TPersistent)
 public:
  using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;

  // `owner` is what Update reports to (may be null); `factory` makes the
  // items (all of one class).
  TCollection(TPersistent* owner, TItemFactory factory);
  ~TCollection() override;
  template <class TItem>
  static TItemFactory FactoryOf() {
    return [](TCollection* c) { return std::unique_ptr<TCollectionItem>(std::make_unique<TItem>(c)); };
  }

  TPersistent* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // EComponentError "List index out of bounds (i)" when out of range.
  TCollectionItem* Items(int index) const;
  template <class TItem>
  TItem* ItemAs(int index) const {
    return As<TItem>(Items(index));
  }
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;
  int IndexOf(const TCollectionItem* item) const;
  void Move(int from, int to);

  // Batches changes: one Update(nullptr) when the outermost EndUpdate runs.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Replaces the items by copies of source's (each item Assigns its
  // counterpart; the items' own Assign must know their class).
  void Assign(const TPersistent& source) override;

  // Called after a change: the item that changed, or null for the whole list
  // (adds, deletes, moves, Assign). The default calls OnUpdate.
  virtual void Update(TCollectionItem* item);
  std::function<void(TCollection* sender, TCollectionItem* item)> OnUpdate;

 protected:
  void Changed();
  friend class TCollectionItem;
  void ItemChanged(TCollectionItem* item);

 private:
  TPersistent* owner_;
  TItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
  bool pendingUpdate_ = false;
};

}  // namespace qz
