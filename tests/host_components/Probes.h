// Test classes with one published property of each kind. Every setter and
// hook appends to CallLog() so tests can check the order of events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/base/Color.h"
#include "host/components/Collection.h"
#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/components/Properties.h"
#include "host/components/Strings.h"

namespace qz {

std::vector<std::string>& CallLog();

enum TProbeAlign { paNone, paTop, paClient };
QZ_ENUM(TProbeAlign, "paNone", "paTop", "paClient");
enum class TProbeStyle { psBold, psItalic, psUnderline };
QZ_ENUM(TProbeStyle, "psBold", "psItalic", "psUnderline");
using TProbeStyles = TSet<TProbeStyle>;

class TProbe;

class TProbeFont : public TPersistent {
  QZ_CLASS(TProbeFont, TPersistent)
 public:
  std::string name = "Tahoma";
  int size = 8;
  TProbeStyles style;
  TColor color = clWindowText;
};

class TProbePanel : public TCollectionItem {
  QZ_CLASS(TProbePanel, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  int width = 50;
  std::string text;
  TProbe* target = nullptr;
  TProbeFont font;
};

class TProbe : public TComponent {
  QZ_CLASS(TProbe, TComponent)
 public:
  explicit TProbe(TComponent* owner) : TComponent(owner) {}
  ~TProbe() override;

  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  TProbe* Buddy() const { return buddy_; }
  void SetBuddy(TProbe* v);
  TProbe* Parent() const { return parent_; }

  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override { return parent_; }
  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

  int width = 0;
  int8_t small = 0;
  uint8_t alpha = 200;
  bool visible = true;
  double ratio = 0;
  TProbeAlign align = paNone;
  TProbeStyles styles{TProbeStyle::psBold};
  TColor color = clBtnFace;
  int16_t cursor = 0;
  std::vector<uint8_t> data;
  TProbeFont font;
  TStringList items;
  TCollection panels{this, TCollection::FactoryOf<TProbePanel>()};
  TNotifyEvent OnClick;
  TKeyPressEvent OnKeyPress;
  bool loadingSeenInLoaded = true;
  int notificationsRemove = 0;

 private:
  std::string caption_;
  TProbe* buddy_ = nullptr;
  TProbe* parent_ = nullptr;
};

// A container: probes whose parent component is a TProbeBox nest in it.
class TProbeBox : public TProbe {
  QZ_CLASS(TProbeBox, TProbe)
 public:
  using TProbe::TProbe;
};

// A root ("form") that registers a handler and binds a field.
class TProbeForm : public TComponent {
  QZ_CLASS(TProbeForm, TComponent)
 public:
  explicit TProbeForm(TComponent* owner = nullptr);
  void Loaded() override;
  std::string title;
  TProbe* probe1 = nullptr;
  TNotifyEvent OnCreate;
  int clicks = 0;
};

class TProbeForm2 : public TProbeForm {
  QZ_CLASS(TProbeForm2, TProbeForm)
 public:
  using TProbeForm::TProbeForm;
};

// Registered without a factory: cannot be created from a resource.
class TNoFactory : public TComponent {
  QZ_CLASS(TNoFactory, TComponent)
 public:
  using TComponent::TComponent;
};

}  // namespace qz
