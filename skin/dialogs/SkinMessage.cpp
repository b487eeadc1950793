#include "skin/dialogs/SkinMessage.h"

#include "host/components/Properties.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/data/SkinData.h"

namespace qz {

namespace {

void SetMessageFont(TFont& font) { font.SetData(DefaultMessageFont()); }

}  // namespace

TqzSkinMessage::TqzSkinMessage(TComponent* AOwner)
    : TComponent(AOwner), defaultFont_(std::make_unique<TFont>()), defaultButtonFont_(std::make_unique<TFont>()) {
  SetMessageFont(*defaultFont_);
  SetMessageFont(*defaultButtonFont_);
}

TqzSkinMessage::~TqzSkinMessage() = default;

void TqzSkinMessage::SetSkinData(TqzSkinData* v) { SetReference(skinData_, v); }
void TqzSkinMessage::SetCtrlSkinData(TqzSkinData* v) { SetReference(ctrlSkinData_, v); }

TqzMessageSettings TqzSkinMessage::Settings() const {
  TqzMessageSettings s;
  s.ShowAgainFlag = ShowAgainFlag;
  s.ShowAgainFlagValue = ShowAgainFlagValue;
  s.AlphaBlend = AlphaBlend;
  s.AlphaBlendAnimation = AlphaBlendAnimation;
  s.AlphaBlendValue = AlphaBlendValue;
  s.SkinData = skinData_;
  s.CtrlSkinData = ctrlSkinData_;
  s.ButtonSkinDataName = ButtonSkinDataName;
  s.MessageLabelSkinDataName = MessageLabelSkinDataName;
  s.DefaultFont = defaultFont_->Data();
  s.DefaultButtonFont = defaultButtonFont_->Data();
  s.UseSkinFont = UseSkinFont;
  return s;
}

int TqzSkinMessage::ShowMessageDialog(const std::string& Msg, TqzMsgDlgType Kind, TqzMsgDlgButtons Buttons,
                                      int HelpCtx) {
  return ShowForm(BuildMessageForm(Msg, Kind, Buttons, kCentredPosition, kCentredPosition, Settings()), HelpCtx);
}

int TqzSkinMessage::ShowCustomMessageDialog(const std::string& Msg, const std::string& Caption,
                                            TCustomImageList* Images, int ImageIndex, TqzMsgDlgButtons Buttons,
                                            int HelpCtx) {
  return ShowForm(BuildCustomMessageForm(Msg, Caption, Images, ImageIndex, Buttons, kCentredPosition,
                                         kCentredPosition, Settings()),
                  HelpCtx);
}

// The modal loop runs every handler of the program: one of them may free
// this component, the form or its check box. What is gone is not touched;
// the form is freed and the check box read whether or not showing raised.
int TqzSkinMessage::ShowForm(std::unique_ptr<TqzMessageForm> owned, int helpCtx) {
  TComponentRef<TqzSkinMessage> self(this);
  TComponentRef<TqzMessageForm> form(owned.release());
  TComponentRef<TqzSkinCheckRadioBox> box(form->CheckBox());
  auto finish = [&] {
    if (self && box) ShowAgainFlagValue = !box->Checked();
    if (form) delete form.Get();
  };
  int result = 0;
  try {
    form->SetHelpContext(helpCtx);
    result = form->ShowModal();
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return result;
}

QZ_PUBLISHED(TqzSkinMessage, TComponent) {
  using O = TqzSkinMessage;
  b.Factory([](TComponent* owner) { return new TqzSkinMessage(owner); });
  b.Prop("ShowAgainFlag", &O::ShowAgainFlag, false);
  b.Prop("ShowAgainFlagValue", &O::ShowAgainFlagValue, false);
  b.Prop("AlphaBlend", &O::AlphaBlend, false);
  b.Prop("AlphaBlendAnimation", &O::AlphaBlendAnimation, false);
  b.Prop("AlphaBlendValue", &O::AlphaBlendValue, uint8_t(200));
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Ref<TqzSkinData>("CtrlSkinData", &O::CtrlSkinData, &O::SetCtrlSkinData);
  b.Prop("ButtonSkinDataName", &O::ButtonSkinDataName, std::string("button"));
  b.Prop("MessageLabelSkinDataName", &O::MessageLabelSkinDataName, std::string("stdlabel"));
  b.Object("DefaultFont", [](O& o) -> TFont& { return o.DefaultFont(); });
  b.Object("DefaultButtonFont", [](O& o) -> TFont& { return o.DefaultButtonFont(); });
  b.Prop("UseSkinFont", &O::UseSkinFont, true);
  b.Event<TqzSetShowPosEvent>("OnSetShowPos", &O::OnSetShowPos);
}

}  // namespace qz
