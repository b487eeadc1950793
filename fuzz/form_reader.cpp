// Reads arbitrary text as a form resource into a root with a few registered
// classes. Anything but a clean qz::Exception (a crash, a leak, a sanitizer
// report) is a bug; so is a resource that reads but does not write back to a
// text that reads and writes the same again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/components/Collection.h"
#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/components/FormResource.h"
#include "host/components/Properties.h"
#include "host/components/Strings.h"

namespace qz {

enum TFuzzKind { fkOne, fkTwo, fkThree };
QZ_ENUM(TFuzzKind, "fkOne", "fkTwo", "fkThree");
using TFuzzKinds = TSet<TFuzzKind>;

class TFuzzNode;

class TFuzzSub : public TPersistent {
  QZ_CLASS(TFuzzSub, TPersistent)
 public:
  std::string name;
  int size = 8;
  TFuzzKinds kinds;
};

class TFuzzItem : public TCollectionItem {
  QZ_CLASS(TFuzzItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  int width = 0;
  TFuzzNode* target = nullptr;
  TFuzzSub sub;
};

class TFuzzNode : public TComponent {
  QZ_CLASS(TFuzzNode, TComponent)
 public:
  using TComponent::TComponent;
  TFuzzNode* Link() const { return link_; }
  void SetLink(TFuzzNode* v) { SetReference(link_, v); }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* p) override { SetReference(parent_, dynamic_cast<TFuzzNode*>(p)); }

  int number = 0;
  uint8_t byte = 0;
  bool flag = false;
  double ratio = 0;
  std::string text;
  TFuzzKind kind = fkOne;
  TFuzzKinds kinds;
  TColor color = clBtnFace;
  int cursor = 0;
  std::vector<uint8_t> data;
  TFuzzSub sub;
  TStringList lines;
  TStringList sortedLines;
  TCollection items{this, TCollection::FactoryOf<TFuzzItem>()};
  TNotifyEvent OnClick;

 private:
  TFuzzNode* link_ = nullptr;
  TFuzzNode* parent_ = nullptr;
};

class TFuzzForm : public TComponent {
  QZ_CLASS(TFuzzForm, TComponent)
 public:
  TFuzzForm() : TComponent(nullptr) {
    RegisterHandler("Click", TNotifyEvent([](TObject*) {}));
    RegisterHandler("Key", TKeyPressEvent([](TObject*, char32_t&) {}));
    BindField("Node1", node1);
    sortedLines.SetSorted(true);
  }
  TFuzzNode* node1 = nullptr;
  std::string caption;
  TStringList sortedLines;
};

QZ_PUBLISHED(TFuzzSub, TPersistent) {
  b.Prop("Name", &TFuzzSub::name);
  b.Prop("Size", &TFuzzSub::size, 8);
  b.Set("Kinds", &TFuzzSub::kinds);
}

QZ_PUBLISHED(TFuzzItem, TCollectionItem) {
  b.Prop("Width", &TFuzzItem::width);
  b.Ref<TFuzzNode>("Target", &TFuzzItem::target);
  b.Object("Sub", &TFuzzItem::sub);
}

QZ_PUBLISHED(TFuzzNode, TComponent) {
  b.Factory([](TComponent* owner) { return new TFuzzNode(owner); });
  b.Prop("Number", &TFuzzNode::number);
  b.Prop("Byte", &TFuzzNode::byte);
  b.Prop("Flag", &TFuzzNode::flag);
  b.Prop("Ratio", &TFuzzNode::ratio);
  b.Prop("Text", &TFuzzNode::text);
  b.Enum("Kind", &TFuzzNode::kind);
  b.Set("Kinds", &TFuzzNode::kinds);
  b.Color("Color", &TFuzzNode::color, [](TFuzzNode& n, TColor c) { n.color = c; }, clBtnFace);
  b.Cursor("Cursor", &TFuzzNode::cursor, [](TFuzzNode& n, int c) { n.cursor = c; });
  b.Prop("Data", &TFuzzNode::data);
  b.Object("Sub", &TFuzzNode::sub);
  b.Strings("Lines", &TFuzzNode::lines);
  b.Collection("Items", &TFuzzNode::items);
  b.Ref<TFuzzNode>("Link", &TFuzzNode::Link, &TFuzzNode::SetLink);
  b.Event<TNotifyEvent>("OnClick", &TFuzzNode::OnClick);
}

QZ_PUBLISHED(TFuzzForm, TComponent) {
  b.Prop("Caption", &TFuzzForm::caption);
  b.Strings("Sorted", &TFuzzForm::sortedLines);
}

}  // namespace qz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string written;
  {
    qz::TFuzzForm root;
    try {
      qz::ReadComponentRes(&root, text);
    } catch (const qz::Exception&) {
      return 0;
    }
    written = qz::WriteComponentRes(&root);
  }
  qz::TFuzzForm again;
  try {
    qz::ReadComponentRes(&again, written);
  } catch (const qz::Exception& e) {
    std::fprintf(stderr, "written text does not read back: %s\n%s", e.what(), written.c_str());
    std::abort();
  }
  if (qz::WriteComponentRes(&again) != written) {
    std::fprintf(stderr, "round trip changed the text:\n%s", written.c_str());
    std::abort();
  }
  return 0;
}
