#include "host/components/Collection.h"

#include <gtest/gtest.h>

#include "Probes.h"
#include "host/components/FormResource.h"

namespace qz {
namespace {

class TNamedItem : public TCollectionItem {
  QZ_CLASS(TNamedItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string DisplayName() const override { return name.empty() ? TCollectionItem::DisplayName() : name; }
  void Assign(const TPersistent& source) override {
    if (auto* src = dynamic_cast<const TNamedItem*>(&source)) {
      name = src->name;
      Changed(false);
      return;
    }
    TCollectionItem::Assign(source);
  }
  void Rename(const std::string& n) {
    name = n;
    Changed(false);
  }
  std::string name;
};

std::vector<std::string> Names(const TCollection& c) {
  std::vector<std::string> r;
  for (int i = 0; i < c.Count(); ++i) r.push_back(c.ItemAs<TNamedItem>(i)->name);
  return r;
}

TEST(CollectionTest, AddInsertDeleteMoveKeepIndexes) {
  TCollection c(nullptr, TCollection::FactoryOf<TNamedItem>());
  auto* a = static_cast<TNamedItem*>(c.Add());
  auto* b = static_cast<TNamedItem*>(c.Add());
  auto* z = static_cast<TNamedItem*>(c.Insert(0));
  a->name = "a";
  b->name = "b";
  z->name = "z";
  EXPECT_EQ(Names(c), (std::vector<std::string>{"z", "a", "b"}));
  EXPECT_EQ(b->Index(), 2);
  EXPECT_EQ(b->Collection(), &c);
  b->SetIndex(0);
  EXPECT_EQ(Names(c), (std::vector<std::string>{"b", "z", "a"}));
  b->SetIndex(99);  // clamped to the end
  EXPECT_EQ(b->Index(), 2);
  const int zId = z->ID();
  EXPECT_EQ(c.FindItemID(zId), z);
  c.Delete(0);  // z
  EXPECT_EQ(Names(c), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(c.FindItemID(zId), nullptr);
  EXPECT_THROW(c.Items(2), EComponentError);
  EXPECT_THROW(c.Insert(5), EComponentError);
  EXPECT_EQ(a->DisplayName(), "a");
}

TEST(CollectionTest, UpdatesReachTheOwnerOncePerBatch) {
  TCollection c(nullptr, TCollection::FactoryOf<TNamedItem>());
  std::vector<const TCollectionItem*> updates;
  c.OnUpdate = [&](TCollection*, TCollectionItem* item) { updates.push_back(item); };
  auto* item = static_cast<TNamedItem*>(c.Add());
  item->Rename("x");
  EXPECT_EQ(updates, (std::vector<const TCollectionItem*>{nullptr, item}));
  updates.clear();
  c.BeginUpdate();
  c.Add();
  item->Rename("y");
  c.Delete(1);
  EXPECT_TRUE(updates.empty());
  c.EndUpdate();
  EXPECT_EQ(updates, (std::vector<const TCollectionItem*>{nullptr}));
}

TEST(CollectionTest, AssignCopiesItems) {
  TCollection src(nullptr, TCollection::FactoryOf<TNamedItem>());
  static_cast<TNamedItem*>(src.Add())->name = "one";
  static_cast<TNamedItem*>(src.Add())->name = "two";
  TCollection dst(nullptr, TCollection::FactoryOf<TNamedItem>());
  dst.Add();
  int updates = 0;
  dst.OnUpdate = [&](TCollection*, TCollectionItem*) { ++updates; };
  dst.Assign(src);
  EXPECT_EQ(Names(dst), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(updates, 1);
  TStringList notACollection;
  EXPECT_THROW(dst.Assign(notACollection), EInvalidCast);
}

TEST(CollectionTest, ItemsOfRegisteredClassesAssignTheirPublishedProperties) {
  TProbe owner(nullptr);
  TProbe target(nullptr);
  auto* src = static_cast<TProbePanel*>(owner.panels.Add());
  src->width = 9;
  src->text = "t";
  src->target = &target;
  src->font.name = "Arial";
  TCollection copy(nullptr, TCollection::FactoryOf<TProbePanel>());
  copy.Assign(owner.panels);
  auto* dst = copy.ItemAs<TProbePanel>(0);
  EXPECT_EQ(dst->width, 9);
  EXPECT_EQ(dst->text, "t");
  EXPECT_EQ(dst->target, &target);
  EXPECT_EQ(dst->font.name, "Arial");
  TCollection names(nullptr, TCollection::FactoryOf<TNamedItem>());
  EXPECT_THROW(names.Assign(owner.panels), EInvalidCast);  // TNamedItem knows no TProbePanel
}

TEST(CollectionTest, ReadingACollectionTwiceReplacesItsItems) {
  // A reference read inside an item that a later assignment of the same
  // collection destroyed is dropped: it must neither touch the destroyed
  // item nor land on the new item at that index.
  TProbeForm form;
  ReadComponentRes(&form, R"(object F: TProbeForm
  object Probe1: TProbe
    Panels = <
      item
        Target = Probe1
      end
      item
        Target = Probe1
      end>
    Panels = <
      item
        Width = 3
      end>
  end
end
)");
  auto* p = form.FindChild<TProbe>("Probe1");
  ASSERT_EQ(p->panels.Count(), 1);
  EXPECT_EQ(p->panels.ItemAs<TProbePanel>(0)->width, 3);
  EXPECT_EQ(p->panels.ItemAs<TProbePanel>(0)->target, nullptr);
}

}  // namespace
}  // namespace qz
