// The skinned combo box: a field with a drop-down button drawn from the
// "combobox" description (or in the plain look), its items kept in a popup
// skinned list that opens below the control (above it when the work area
// ends), and in edit style an inner edit for free text.
//
// The popup list never takes the activation: the combo box keeps the focus
// and the keyboard, and captures the mouse while a press that opened the
// list is held (picking by dragging onto an item).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/Edit.h"
#include "skin/controls/SkinListBox.h"

namespace qz {

class TqzSkinCustomComboBox;
class TqzDataSkinComboBox;

enum class TqzComboBoxStyle { qzcbEditStyle, qzcbFixedStyle };
using enum TqzComboBoxStyle;
QZ_ENUM(TqzComboBoxStyle, "qzcbEditStyle", "qzcbFixedStyle");

// Draws the current item in the field.
using TqzComboBoxDrawItemEvent = std::function<void(TCanvas& Cnvs, int Index, TRect TextRect)>;

// What the combo box needs of the edit it hosts in edit style. The
// control itself is a child window of the combo box; the combo box watches
// its messages through its WindowProc.
class IqzComboEdit {
 public:
  virtual ~IqzComboEdit() = default;
  virtual TWinControl& EditControl() = 0;
  virtual std::string EditText() const = 0;
  // Sets the text without telling OnEditChange.
  virtual void SetEditText(const std::string& Text) = 0;
  // Positions count characters (code points), as the host edit's do.
  virtual void SelectText(int Start, int Length) = 0;
  virtual void SelectAllText() = 0;
  // The text colour while the combo box is disabled.
  virtual void SetDisabledTextColor(TColor /*Color*/) {}
  // The text changed by the user (or by SetEditText when the edit cannot
  // tell the two apart; the combo box guards against the echo).
  std::function<void()> OnEditChange;
};

// Makes the inner edit for a combo box switching to edit style: a
// component owned by Combo (the combo box frees it when it leaves edit
// style). Setting none restores the default: the skinned edit base, or the
// numeric edit for a numeric combo box (SkinComboBoxEdit.h).
using TqzComboEditFactory = std::function<IqzComboEdit*(TqzSkinCustomComboBox& Combo)>;
void SetComboEditFactory(TqzComboEditFactory Factory);

// The popup list of a combo box: a skinned list box in a top-level window
// that never activates.
class TqzPopupListBox : public TqzSkinCustomListBox {
  QZ_CLASS(TqzPopupListBox, TqzSkinCustomListBox)
 public:
  explicit TqzPopupListBox(TComponent* AOwner);

  // Shown at a screen point at its present size; fades in when asked.
  void ShowAt(TPoint ScreenPos);
  void HideList();
  bool IsShowing() const;

  bool AlphaBlendList() const { return alphaBlend_; }
  void SetAlphaBlendList(bool V) { alphaBlend_ = V; }
  bool AlphaBlendAnimation() const { return animation_; }
  void SetAlphaBlendAnimation(bool V) { animation_ = V; }
  uint8_t AlphaBlendListValue() const { return alphaValue_; }
  void SetAlphaBlendListValue(uint8_t V) { alphaValue_ = V; }
  // The opacities applied by the last show, in order (for tests).
  const std::vector<int>& AppliedAlphas() const { return appliedAlphas_; }
  // The opacity step of a fade-in to `value`.
  static int FadeStep(int value) { return std::max(1, value / 15); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& m) override;

 private:
  void FadeIn();
  bool alphaBlend_ = false;
  bool animation_ = false;
  uint8_t alphaValue_ = 200;
  int lastAlpha_ = -1;
  std::vector<int> appliedAlphas_;
};

class TqzSkinCustomComboBox : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinCustomComboBox, TqzSkinCustomControl)
 public:
  explicit TqzSkinCustomComboBox(TComponent* AOwner);
  ~TqzSkinCustomComboBox() override;

  // ---- items (kept by the popup list)
  TStrings& Items() { return list_->Items(); }
  void SetItems(const TStrings& V) { list_->SetItems(V); }
  int ItemIndex() const { return list_->ItemIndex(); }
  void SetItemIndex(int V);
  bool Sorted() const { return list_->Sorted(); }
  void SetSorted(bool V) { list_->SetSorted(V); }
  TqzPopupListBox& PopupList() { return *list_; }

  // ---- published of its own
  TqzComboBoxStyle Style() const { return style_; }
  void SetStyle(TqzComboBoxStyle V);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int V) { dropDownCount_ = std::max(1, V); }
  int ListBoxWidth() const { return listBoxWidth_; }
  void SetListBoxWidth(int V) { listBoxWidth_ = std::max(0, V); }
  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool V) { autoComplete_ = V; }
  bool UseSkinSize() const { return useSkinSize_; }
  void SetUseSkinSize(bool V);
  TColor DefaultColor() const { return defaultColor_; }
  void SetDefaultColor(TColor V);
  bool ToolButtonStyle() const { return toolButtonStyle_; }
  void SetToolButtonStyle(bool V);
  // Passed to the inner edit.
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool V);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase V);
  // The numeric kind types numbers only in edit style.
  virtual bool NumericKind() const { return false; }

  // ---- forwarded to the popup list (the field draws images and tabs too)
  TCustomImageList* Images() const { return list_->Images(); }
  void SetImages(TCustomImageList* V);
  int ImageIndex() const { return list_->ImageIndex(); }
  void SetImageIndex(int V);
  TStrings& TabWidths() { return list_->TabWidths(); }
  bool HorizontalExtent() const { return list_->HorizontalExtent(); }
  void SetHorizontalExtent(bool V) { list_->SetHorizontalExtent(V); }
  std::string ListBoxCaption() const { return list_->Text(); }
  void SetListBoxCaption(const std::string& V) { list_->SetText(V); }
  bool ListBoxCaptionMode() const { return list_->CaptionMode(); }
  void SetListBoxCaptionMode(bool V) { list_->SetCaptionMode(V); }
  TAlignment ListBoxCaptionAlignment() const { return list_->Alignment(); }
  void SetListBoxCaptionAlignment(TAlignment V) { list_->SetAlignment(V); }
  TFont& ListBoxDefaultFont() { return list_->DefaultFont(); }
  TFont& ListBoxDefaultCaptionFont() { return list_->DefaultCaptionFont(); }
  int ListBoxDefaultItemHeight() const { return list_->DefaultItemHeight(); }
  void SetListBoxDefaultItemHeight(int V) { list_->SetDefaultItemHeight(V); }
  bool ListBoxUseSkinFont() const { return list_->UseSkinFont(); }
  void SetListBoxUseSkinFont(bool V) { list_->SetUseSkinFont(V); }
  bool ListBoxUseSkinItemHeight() const { return list_->UseSkinItemHeight(); }
  void SetListBoxUseSkinItemHeight(bool V) { list_->SetUseSkinItemHeight(V); }
  const TqzDrawSkinItemEvent& OnListBoxDrawItem() const { return list_->OnDrawItem; }
  void SetOnListBoxDrawItem(TqzDrawSkinItemEvent V) { list_->OnDrawItem = std::move(V); }

  bool ListBoxAlphaBlend() const { return list_->AlphaBlendList(); }
  void SetListBoxAlphaBlend(bool V) { list_->SetAlphaBlendList(V); }
  bool ListBoxAlphaBlendAnimation() const { return list_->AlphaBlendAnimation(); }
  void SetListBoxAlphaBlendAnimation(bool V) { list_->SetAlphaBlendAnimation(V); }
  int ListBoxAlphaBlendValue() const { return list_->AlphaBlendListValue(); }
  void SetListBoxAlphaBlendValue(int V) { list_->SetAlphaBlendListValue(static_cast<uint8_t>(std::clamp(V, 0, 255))); }

  TNotifyEvent OnChange, OnDropDown, OnCloseUp;
  TqzComboBoxDrawItemEvent OnComboBoxDrawItem;

  // ---- the drop-down
  void DropDown();
  // Hides the list; with Accept the highlighted item becomes the choice.
  void CloseUp(bool Accept);
  bool DroppedDown() const { return dropped_; }

  // ---- state, for painting and tests
  TRect ButtonRect() const { return buttonRect_; }
  TRect ItemRect() const { return itemRect_; }
  bool ButtonHot() const { return buttonHot_; }
  bool ButtonPressed() const { return pressed_; }
  bool Tracking() const { return tracking_; }
  int AutoScrollDirection() const { return scrollDirection_; }
  IqzComboEdit* InnerEdit() const { return editControl_ ? edit_ : nullptr; }
  // The screen rectangle the list opens at for the present items and size.
  TRect DropDownRect();

  void CreateControlDefaultImage(TBitmap& B) override;
  void CreateControlSkinImage(TBitmap& B) override;
  void ChangeSkinData() override;
  // Unlinking goes back to the plain layout, list and edit as well.
  void SetSkinData(TqzSkinData* Value) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void CalcSize(int& W, int& H) override;

 protected:
  // Runs after a choice changed the item (OnClick has fired); descendants
  // that filter by the choice override it.
  virtual void Change() {}

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMTextChanged(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;
  void WMSetFocus(TMessage& m) override;

 private:
  const TqzDataSkinComboBox* ComboDescription() const;
  void Relayout();
  // Moves the choice (closed) or the list's highlight (open) by delta,
  // clamped; false when the combo box was freed.
  bool Step(int delta, bool clampToEnds);
  bool SelectByUser(int index);
  void ListMessage(TMessage& m);
  void StartAutoScroll(int direction);
  void StopAutoScroll();
  void AutoScrollTick();
  int ShownIndex() const;
  void PaintPlainButton(TCanvas& c, const TRect& r, bool hot, bool pressed);
  void PaintCurrentItem(TCanvas& c, const TqzDataSkinComboBox* d);
  void PaintSkinItemBack(TCanvas& c, const TqzDataSkinComboBox& d, TRect& text);
  void CreateInnerEdit();
  void DestroyInnerEdit();
  void EditMessage(TMessage& m);
  bool EditKeyDown(int key, bool alt);
  void EditChanged();
  // The control's text taken from the edit (the change hook runs).
  bool TakeEditText(const std::string& text);
  // Key-up completion: the typed prefix completed from the items.
  void CompleteEditText();
  // Closes without accepting and puts back the text of before the drop-down.
  void CancelDropDown();
  void ApplyEditFont();
  TColor DisabledFontColor() const;
  bool Active() const;
  void PaintFieldItem(TCanvas& c, int index, TRect text);
  void PaintToolButton(TCanvas& c);
  void PaintFreeSizeButton(TCanvas& c, const TqzDataSkinComboBox& d);

  TqzPopupListBox* list_ = nullptr;
  // The inner edit: an owned component; the reference tells when it is gone.
  IqzComboEdit* edit_ = nullptr;
  TComponentRef<TWinControl> editControl_;
  const TComponent* editComponent_ = nullptr;  // compared only
  std::function<void(TMessage&)> editOldProc_;
  std::function<void(TMessage&)> listOldProc_;
  TqzComboBoxStyle style_ = qzcbFixedStyle;
  int dropDownCount_ = 8;
  int listBoxWidth_ = 0;
  bool autoComplete_ = true;
  bool useSkinSize_ = true;
  TColor defaultColor_ = clWindow;
  bool toolButtonStyle_ = false;
  bool hideSelection_ = true;
  TEditCharCase charCase_ = ecNormal;

  TRect buttonRect_, itemRect_;
  bool active_ = false, buttonHot_ = false, pressed_ = false, dropped_ = false;
  bool tracking_ = false, entered_ = false;
  int scrollDirection_ = 0;
  int savedIndex_ = -1;
  std::string search_;
  uint64_t lastKeyTick_ = 0;
  bool updatingFromEdit_ = false;
  // Edit style: the text at the drop-down (Escape puts it back), the item
  // current before the key being typed, a character to drop after a key
  // the combo box took (Enter, Escape), whether the key changed the text.
  std::string savedText_;
  int keyDownIndex_ = -1;
  bool swallowChar_ = false;
  bool typedByKey_ = false;
  bool completedOnce_ = false;
  uint64_t lastCompletionTick_ = 0;
};

class TqzSkinComboBox : public TqzSkinCustomComboBox {
  QZ_CLASS(TqzSkinComboBox, TqzSkinCustomComboBox)
 public:
  explicit TqzSkinComboBox(TComponent* AOwner) : TqzSkinCustomComboBox(AOwner) {}
};

// Characters typed closer together than this build one search string.
inline constexpr unsigned kComboSearchPauseMs = 500;
// The auto-scroll rhythm of an open list while the pointer is beyond it.
inline constexpr unsigned kComboAutoScrollMs = 25;
// Edit style completes the typed text at most this often.
inline constexpr unsigned kComboCompletionPauseMs = 200;

}  // namespace qz
