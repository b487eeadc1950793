// The inner edit of a combo box in edit style: the skinned edit base (plain
// text) or the numeric edit (a numeric combo box), each seen by the combo box
// through IqzComboEdit. Typing, caret, selection, clipboard and undo are the
// host edit's; the combo box watches the edit's messages for its own keys.
#pragma once

#include <string>

#include "host/components/Component.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"

namespace qz {

// Base is TqzCustomEdit or one of its descendants.
template <class Base>
class TqzComboInnerEdit : public Base, public IqzComboEdit {
 public:
  explicit TqzComboInnerEdit(TComponent* AOwner) : Base(AOwner) {}

  TWinControl& EditControl() override { return *this; }
  std::string EditText() const override { return this->Text(); }
  void SetEditText(const std::string& Text) override {
    if (Text == this->Text()) return;
    TComponentRef<TqzComboInnerEdit> self(this);
    quiet_ = true;
    this->SetText(Text);
    if (self) quiet_ = false;
  }
  void SelectText(int Start, int Length) override {
    this->SetSelStart(Start);
    this->SetSelLength(Length);
  }
  void SelectAllText() override { this->SelectAll(); }
  void SetDisabledTextColor(TColor Color) override {
    disabledColor_ = Color;
    this->Invalidate();
  }

 protected:
  // Every text change but the combo box's own tells the combo box first.
  void Change() override {
    TComponentRef<TqzComboInnerEdit> self(this);
    if (!quiet_ && OnEditChange) {
      const auto handler = OnEditChange;  // the handler may free the edit
      handler();
    }
    if (self) Base::Change();
  }
  TColor TextColor() const override { return this->Enabled() ? Base::TextColor() : disabledColor_; }

 private:
  bool quiet_ = false;
  TColor disabledColor_ = clGrayText;
};

class TqzComboEdit : public TqzComboInnerEdit<TqzCustomEdit> {
  QZ_CLASS(TqzComboEdit, TqzComboInnerEdit<TqzCustomEdit>)
 public:
  using TqzComboInnerEdit::TqzComboInnerEdit;
};

class TqzComboNumEdit : public TqzComboInnerEdit<TqzSkinNumEdit> {
  QZ_CLASS(TqzComboNumEdit, TqzComboInnerEdit<TqzSkinNumEdit>)
 public:
  using TqzComboInnerEdit::TqzComboInnerEdit;
};

// The factory every combo box uses unless another is set: the numeric edit
// for a numeric combo box, else the plain one, owned by the combo box.
IqzComboEdit* MakeDefaultComboEdit(TqzSkinCustomComboBox& Combo);

}  // namespace qz
