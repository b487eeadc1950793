// The skinned message box component: a non-visual component that shows a
// modal message dialog drawn by the skin (TqzMessageForm, MessageForm.h).
// Each call builds a fresh dialog, shows it modally, returns its modal
// result and frees it; the only state a call leaves is ShowAgainFlagValue,
// and only when the show-again check box was shown.
//
//   auto* msg = new TqzSkinMessage(form);
//   msg->SetSkinData(skin); msg->SetCtrlSkinData(skin);
//   if (msg->ShowMessageDialog("Save changes?", qzmtConfirmation, {qzmbYes, qzmbNo}, 0) == mrYes) ...
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/components/Component.h"
#include "host/graphics/Font.h"
#include "skin/dialogs/MessageForm.h"

namespace qz {

class TqzSkinData;
class TCustomImageList;

using TqzSetShowPosEvent = std::function<void(int& AX, int& AY, int AWidth, int AHeight)>;

class TqzSkinMessage : public TComponent {
  QZ_CLASS(TqzSkinMessage, TComponent)
 public:
  explicit TqzSkinMessage(TComponent* AOwner);
  ~TqzSkinMessage() override;

  // ---- published, in this order
  bool ShowAgainFlag = false;
  // True: show this message again. The check box starts checked when this
  // is false; after the dialog it is the negation of the box.
  bool ShowAgainFlagValue = false;
  bool AlphaBlend = false;
  bool AlphaBlendAnimation = false;
  uint8_t AlphaBlendValue = 200;
  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* v);
  TqzSkinData* CtrlSkinData() const { return ctrlSkinData_; }
  void SetCtrlSkinData(TqzSkinData* v);
  std::string ButtonSkinDataName = "button";
  std::string MessageLabelSkinDataName = "stdlabel";
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  void SetDefaultFont(const TFont& f) { defaultFont_->Assign(f); }
  TFont& DefaultButtonFont() { return *defaultButtonFont_; }
  const TFont& DefaultButtonFont() const { return *defaultButtonFont_; }
  void SetDefaultButtonFont(const TFont& f) { defaultButtonFont_->Assign(f); }
  bool UseSkinFont = true;
  // Declared for callers that place dialogs themselves; the show operations
  // always centre the dialog and do not raise it.
  TqzSetShowPosEvent OnSetShowPos;

  // The dialog with the kind's caption and icon; the modal result.
  int ShowMessageDialog(const std::string& Msg, TqzMsgDlgType Kind, TqzMsgDlgButtons Buttons, int HelpCtx);
  // The same with the caller's caption and an optional image of a list.
  int ShowCustomMessageDialog(const std::string& Msg, const std::string& Caption, TCustomImageList* Images,
                              int ImageIndex, TqzMsgDlgButtons Buttons, int HelpCtx);

  // What the builders take from this component.
  TqzMessageSettings Settings() const;

 private:
  int ShowForm(std::unique_ptr<TqzMessageForm> form, int helpCtx);

  TqzSkinData* skinData_ = nullptr;
  TqzSkinData* ctrlSkinData_ = nullptr;
  std::unique_ptr<TFont> defaultFont_;
  std::unique_ptr<TFont> defaultButtonFont_;
};

}  // namespace qz
