#include "host/components/Component.h"

#include <gtest/gtest.h>

#include "Probes.h"

namespace qz {
namespace {

// Records what its owner tells it.
class TWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  void Notification(TComponent* c, TOperation op) override {
    events.push_back((op == opInsert ? "+" : "-") + c->Name());
    TComponent::Notification(c, op);
  }
  std::vector<std::string> events;
};

// An owner whose owned components use its members while they go.
class TStatefulOwner : public TComponent {
 public:
  explicit TStatefulOwner(std::vector<std::string>* sink) : TComponent(nullptr), sink_(sink) {}
  ~TStatefulOwner() override {
    DestroyComponents();
    *sink_ = log;
  }
  std::vector<std::string> log;

 private:
  std::vector<std::string>* sink_;
};

class TReportingChild : public TComponent {
 public:
  using TComponent::TComponent;
  ~TReportingChild() override { static_cast<TStatefulOwner*>(Owner())->log.push_back(Name()); }
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { CallLog().clear(); }
};

TEST_F(ComponentTest, OwnerDestroysOwnedLastCreatedFirstAndTracksRemoval) {
  auto* owner = new TWatcher(nullptr);
  auto* a = new TProbe(owner);
  a->SetName("A");
  auto* b = new TProbe(owner);
  b->SetName("B");
  auto* c = new TProbe(owner);
  c->SetName("C");
  EXPECT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(c->ComponentIndex(), 2);

  delete b;  // an owned component removes itself from its owner
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("B"), nullptr);
  EXPECT_EQ(c->ComponentIndex(), 1);
  EXPECT_EQ(owner->events.back(), "-B");

  CallLog().clear();
  delete owner;
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"Destroy:C", "Destroy:A"}));
}

TEST_F(ComponentTest, SubclassCanDestroyOwnedComponentsWhileItsMembersLive) {
  std::vector<std::string> sink;
  auto* owner = new TStatefulOwner(&sink);
  (new TReportingChild(owner))->SetName("A");
  (new TReportingChild(owner))->SetName("B");
  delete owner;
  EXPECT_EQ(sink, (std::vector<std::string>{"B", "A"}));
}

TEST_F(ComponentTest, InsertAndRemoveMoveOwnershipAndTellTheOwner) {
  TWatcher first(nullptr), second(nullptr);
  auto* p = new TProbe(&first);
  p->SetName("P");
  first.RemoveComponent(p);
  EXPECT_EQ(p->Owner(), nullptr);
  EXPECT_EQ(first.FindComponent("P"), nullptr);
  second.InsertComponent(p);
  EXPECT_EQ(p->Owner(), &second);
  EXPECT_EQ(second.FindComponent("p"), p);
  EXPECT_EQ(first.events, (std::vector<std::string>{"+", "-P"}));  // inserted before it had a name
  EXPECT_EQ(second.events, (std::vector<std::string>{"+P"}));

  TProbe loose(nullptr);
  loose.SetName("P");
  EXPECT_THROW(second.InsertComponent(&loose), EComponentError);  // name taken there
  EXPECT_THROW(second.InsertComponent(new TProbe(&first)), EComponentError);  // owned elsewhere
}

TEST_F(ComponentTest, NamesAreIdentifiersUniqueAmongSiblings) {
  TComponent owner(nullptr);
  auto* a = new TProbe(&owner);
  auto* b = new TProbe(&owner);
  a->SetName("Button1");
  try {
    b->SetName("BUTTON1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named BUTTON1 already exists");
  }
  EXPECT_THROW(b->SetName("1Button"), EComponentError);
  EXPECT_THROW(b->SetName("my button"), EComponentError);
  b->SetName("_ok2");
  a->SetName("button1");  // renaming itself in another case is fine
  a->SetName("");         // unnamed is allowed and frees the name
  b->SetName("Button1");
  EXPECT_EQ(owner.FindComponent("button1"), b);
  EXPECT_EQ(owner.FindChild<TProbeBox>("button1"), nullptr);  // wrong class
  // Different owners may use the same name.
  TComponent other(nullptr);
  (new TProbe(&other))->SetName("Button1");
}

TEST_F(ComponentTest, DestroyingAReferencedComponentClearsReferences) {
  TComponent owner(nullptr);
  auto* a = new TProbe(&owner);
  auto* b = new TProbe(&owner);
  auto* c = new TProbe(nullptr);  // not owned: lives in another root
  a->SetBuddy(c);
  b->SetBuddy(c);
  EXPECT_TRUE(c->InState(csFreeNotification));
  delete c;
  EXPECT_EQ(a->Buddy(), nullptr);
  EXPECT_EQ(b->Buddy(), nullptr);
  EXPECT_EQ(a->notificationsRemove, 1);

  // Pointing elsewhere first: the old target's death leaves the new one.
  auto* d = new TProbe(nullptr);
  auto* e = new TProbe(nullptr);
  a->SetBuddy(d);
  a->SetBuddy(e);
  delete d;
  EXPECT_EQ(a->Buddy(), e);
  // The referring component going first must not leave a dangling entry in
  // the target's list.
  delete a;
  delete e;
  EXPECT_EQ(b->Buddy(), nullptr);
}

TEST_F(ComponentTest, FreeNotificationCanBeWithdrawn) {
  TProbe a(nullptr);
  auto* b = new TProbe(nullptr);
  a.FreeNotification(b);
  a.FreeNotification(b);  // asked twice, told once
  a.RemoveFreeNotification(b);
  delete b;
  EXPECT_EQ(a.notificationsRemove, 0);
  EXPECT_FALSE(a.InState(csFreeNotification));
}

TEST_F(ComponentTest, FieldsFollowTheirComponents) {
  TProbeForm form;
  auto* p = new TProbe(&form);
  p->SetName("Probe1");
  form.ResolveFields();
  EXPECT_EQ(form.probe1, p);
  delete p;
  EXPECT_EQ(form.probe1, nullptr);
  (new TProbeForm(&form))->SetName("Probe1");  // not a TProbe
  EXPECT_THROW(form.ResolveFields(), EReadError);
}

TEST_F(ComponentTest, DesigningIsInheritedFromTheOwner) {
  TComponent owner(nullptr);
  auto* before = new TProbe(&owner);
  owner.SetDesigning(true);
  auto* after = new TProbe(&owner);
  EXPECT_TRUE(before->InState(csDesigning));
  EXPECT_TRUE(after->InState(csDesigning));
}

TEST_F(ComponentTest, GlobalRootsAreFoundByNameUntilDestroyed) {
  auto* form = new TProbeForm();
  form->SetName("MainForm");
  RegisterGlobalComponent(form);
  EXPECT_EQ(FindGlobalComponent("mainform"), form);
  delete form;
  EXPECT_EQ(FindGlobalComponent("MainForm"), nullptr);
}

}  // namespace
}  // namespace qz
