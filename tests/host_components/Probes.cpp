#include "Probes.h"

namespace qz {

std::vector<std::string>& CallLog() {
  static std::vector<std::string> log;
  return log;
}

namespace {
std::string NameOf(const TComponent* c) { return c ? c->Name() : std::string("nil"); }
}  // namespace

TProbe::~TProbe() { CallLog().push_back("Destroy:" + Name()); }

void TProbe::SetCaption(const std::string& v) {
  caption_ = v;
  CallLog().push_back("Caption:" + Name() + "=" + v);
}

void TProbe::SetBuddy(TProbe* v) {
  SetReference(buddy_, v);
  CallLog().push_back("Buddy:" + Name() + "=" + NameOf(v));
}

void TProbe::SetParentComponent(TComponent* parent) {
  parent_ = dynamic_cast<TProbeBox*>(parent);
  CallLog().push_back("Parent:" + Name() + "=" + NameOf(parent));
}

void TProbe::Loaded() {
  loadingSeenInLoaded = InState(csLoading);
  CallLog().push_back("Loaded:" + Name());
}

void TProbe::Notification(TComponent* c, TOperation op) {
  if (op == opRemove) {
    ++notificationsRemove;
    if (c == parent_) parent_ = nullptr;
  }
  TComponent::Notification(c, op);
}

TProbeForm::TProbeForm(TComponent* owner) : TComponent(owner) {
  RegisterHandler("ProbeClick", TNotifyEvent([this](TObject*) { ++clicks; }));
  RegisterHandler("FormCreate", TNotifyEvent([](TObject*) { CallLog().push_back("FormCreate"); }));
  RegisterHandler("KeyPress", TKeyPressEvent([](TObject*, char32_t&) {}));
  BindField("Probe1", probe1);
}

void TProbeForm::Loaded() { CallLog().push_back("Loaded:" + Name()); }

QZ_PUBLISHED(TProbeFont, TPersistent) {
  b.Prop("Name", &TProbeFont::name, std::string("Tahoma"));
  b.Prop("Size", &TProbeFont::size, 8);
  b.Set("Style", &TProbeFont::style);
  b.Color("Color", &TProbeFont::color, [](TProbeFont& f, TColor c) { f.color = c; }, clWindowText);
}

QZ_PUBLISHED(TProbePanel, TCollectionItem) {
  b.Prop("Width", &TProbePanel::width, 50);
  b.Prop("Text", &TProbePanel::text);
  b.Ref<TProbe>("Target", &TProbePanel::target);
  b.Object("Font", &TProbePanel::font);
}

QZ_PUBLISHED(TProbe, TComponent) {
  b.Factory([](TComponent* owner) { return new TProbe(owner); });
  b.Prop("Width", &TProbe::width);
  b.Prop("Small", &TProbe::small);
  b.Prop("Alpha", &TProbe::alpha, 200);
  b.Prop("Visible", &TProbe::visible, true);
  b.Prop("Ratio", &TProbe::ratio);
  b.Prop("Caption", &TProbe::Caption, &TProbe::SetCaption);
  b.Enum("Align", &TProbe::align, paNone);
  b.Set("Styles", &TProbe::styles, TProbeStyles{TProbeStyle::psBold});
  b.Color("Color", &TProbe::color, [](TProbe& p, TColor c) { p.color = c; }, clBtnFace);
  b.Cursor("Cursor", &TProbe::cursor, [](TProbe& p, int16_t c) { p.cursor = c; }, 0);
  b.Object("Font", &TProbe::font);
  b.Strings("Items", &TProbe::items);
  b.Collection("Panels", &TProbe::panels);
  b.Ref<TProbe>("Buddy", &TProbe::Buddy, &TProbe::SetBuddy);
  b.Event<TNotifyEvent>("OnClick", &TProbe::OnClick);
  b.Event<TKeyPressEvent>("OnKeyPress", &TProbe::OnKeyPress);
  b.Binary("Data", &TProbe::data, [](TProbe& p, std::vector<uint8_t>&& d) { p.data = std::move(d); });
}

QZ_PUBLISHED(TProbeBox, TProbe) {
  b.Factory([](TComponent* owner) { return new TProbeBox(owner); });
}

QZ_PUBLISHED(TProbeForm, TComponent) {
  b.Prop("Title", &TProbeForm::title);
  b.Event<TNotifyEvent>("OnCreate", &TProbeForm::OnCreate);
}

QZ_PUBLISHED(TProbeForm2, TProbeForm) {}

QZ_PUBLISHED(TNoFactory, TComponent) {}

}  // namespace qz
