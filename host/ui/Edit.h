// TCustomEdit / TEdit: the single-line text edit of the host framework.
//
// The text is kept as code points (TEditBuffer) so that the caret, the
// selection and every edit move by whole characters and never split a
// multi-byte UTF-8 sequence; Text() is its UTF-8 form. Positions in the
// public API (SelStart, SelLength) count characters, not bytes.
//
// Keys: arrows, Home/End (Shift extends, Ctrl moves by word), Backspace,
// Delete, Ctrl+A/X/C/V/Z, Shift+Del (cut), Ctrl+Ins (copy), Shift+Ins
// (paste). The clipboard is the platform's. Undo is one level deep, as on
// the platform: a second undo redoes; a run of typed characters is undone
// at once.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/ui/Controls.h"
#include "host/ui/StdCtrls.h"

namespace qz {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
using enum TEditCharCase;
QZ_ENUM(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase");

// The text, caret, selection and undo state of an edit; no drawing.
class TEditBuffer {
 public:
  const std::u32string& Chars() const { return text_; }
  int Length() const { return static_cast<int>(text_.size()); }
  int Caret() const { return caret_; }
  int Anchor() const { return anchor_; }
  int SelStart() const { return std::min(anchor_, caret_); }
  int SelEnd() const { return std::max(anchor_, caret_); }
  int SelLength() const { return SelEnd() - SelStart(); }
  std::u32string SelectedChars() const { return text_.substr(SelStart(), SelLength()); }

  // Replaces the whole text (no undo step); caret at the start.
  void Assign(std::u32string text);
  // Moves the caret; `extend` keeps the anchor (a selection grows).
  void MoveCaret(int pos, bool extend);
  void Select(int start, int length);
  void SelectAll() { Select(0, Length()); }
  // The selection becomes `s`, cut to what `maxLength` (0 = none) leaves
  // room for; `typing` joins a run of typed characters into one undo step.
  // False when nothing changed.
  bool ReplaceSelection(std::u32string s, int maxLength, bool typing = false);
  // Backspace / Delete: the selection, else the character before / after.
  bool DeleteBack();
  bool DeleteForward();

  bool CanUndo() const { return undo_.has_value(); }
  // Swaps the text with the one before the last change (so undo twice redoes).
  bool Undo();
  void ClearUndo() { undo_.reset(); typingRun_ = false; }
  // The whole text becomes `text` with the caret at `caret`, as one undo
  // step (joined to a typing run when `typing`).
  void ReplaceAll(std::u32string text, int caret, bool typing);

  // Word boundaries for Ctrl+arrows and double clicks.
  int WordLeft(int pos) const;
  int WordRight(int pos) const;
  // The run of characters of one kind (word, blanks, other) around pos.
  std::pair<int, int> WordAt(int pos) const;

 private:
  struct TSnapshot {
    std::u32string text;
    int anchor = 0, caret = 0;
  };
  void SaveUndo();
  bool ReplaceRange(int start, int len, std::u32string s, int maxLength, bool typing);
  int Clamp(int pos) const { return std::clamp(pos, 0, Length()); }

  std::u32string text_;
  int anchor_ = 0, caret_ = 0;
  std::optional<TSnapshot> undo_;
  bool typingRun_ = false;
};

class TCustomEdit : public TCustomControl {
  QZ_CLASS(TCustomEdit, TCustomControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  // ---- properties
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  char32_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char32_t v);
  // The password character as UTF-8 (empty for none), for form resources.
  std::string PasswordCharText() const;
  void SetPasswordCharText(const std::string& v);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase v);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);
  TAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TAlignment v);
  bool BorderVisible() const { return borderVisible_; }
  void SetBorderVisible(bool v);
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }

  // ---- selection (character positions)
  int SelStart() const { return buffer_.SelStart(); }
  void SetSelStart(int v);
  int SelLength() const { return buffer_.SelLength(); }
  void SetSelLength(int v);
  int CaretPos() const { return buffer_.Caret(); }
  std::string SelText() const;
  // Replaces the selection as typing would (MaxLength, CharCase apply).
  void SetSelText(const std::string& v);
  void SelectAll();
  virtual void ClearSelection();

  // ---- clipboard and undo
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  bool CanUndo() const { return buffer_.CanUndo(); }
  void Undo();
  void ClearUndo() { buffer_.ClearUndo(); }

  // ---- view (for painting and tests)
  // Where the text is drawn, client coordinates.
  virtual TRect EditRect() const;
  // Pixels the text is scrolled to the left.
  int ScrollOffset() const { return scrollX_; }
  // Client x of the caret position `pos`.
  int PositionToX(int pos);
  // The position nearest to client x.
  int XToPosition(int x);
  // The caret is drawn now (blink phase, focus).
  bool CaretShown() const { return caretOn_ && Focused(); }
  // The text as shown (password characters in its place).
  std::string DisplayText() const;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  // Fills the edit's background; transparent descendants draw their parent.
  virtual void PaintBackground(TCanvas& canvas, const TRect& r);
  virtual TColor TextColor() const;
  virtual void Change();
  void Dispatch(TMessage& m) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
  void MouseMove(TShiftState s, int x, int y) override;
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
  void CMTextChanged(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;
  void DestroyWnd() override;
  // Whether a change path may alter the text (ReadOnly refuses them all).
  virtual bool CanChangeText() const { return !readOnly_; }
  // The editing steps the keys, the clipboard and SetSelText go through;
  // an edit with its own rules for the text (masks) replaces them.
  virtual void TypeChar(char32_t ch);
  virtual void DeleteBackKey();
  virtual void DeleteForwardKey(bool wholeWord);
  virtual void InsertText(std::u32string s);
  // The caret moved or the text changed: blink restarts, view follows.
  void CaretMoved();
  // Puts the buffer's text into Text() and raises OnChange; false when the
  // control was freed by a handler.
  bool CommitText();
  // Applies CharCase to typed or pasted text.
  std::u32string Cased(std::u32string s) const;

  TEditBuffer buffer_;

 private:
  bool EditKey(uint16_t key, TShiftState shift);
  bool MoveKey(uint16_t key, bool shiftDown, bool ctrlDown);
  bool ControlChar(char32_t ch);
  void EnsureCaretVisible();
  void StartBlink();
  void StopBlink();
  void OnBlinkTimer();
  int TextWidthOf(std::u32string_view s);
  int TextOriginX();
  void PaintSelectionAndText(TCanvas& canvas, const TRect& r, int y);
  void SelectByClick(int clicks, int pos, bool extend);

  int maxLength_ = 0;
  bool readOnly_ = false;
  char32_t passwordChar_ = 0;
  TEditCharCase charCase_ = ecNormal;
  bool autoSelect_ = true;
  bool hideSelection_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool borderVisible_ = true;
  bool modified_ = false;

  bool settingText_ = false;   // our own text change: keep caret and undo
  int scrollX_ = 0;
  bool caretOn_ = false;
  bool selectingWithMouse_ = false;
  int clickCount_ = 0;
  uint64_t lastClickMs_ = 0;
  TPoint lastClickPos_;
  TCanvas measure_;            // measures text outside painting (no target)
};

class TEdit : public TCustomEdit {
  QZ_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// Publishes what every host edit class shows in form resources, in the
// order they are written and read: the text first, then its limits and
// looks, then OnChange. A masked edit publishes its mask before these, so
// that the text read from a resource is shaped by the mask it belongs to.
template <class O>
void PublishEditProperties(TClassBuilder<O>& b) {
  b.Prop("Text", &O::Text, &O::SetText);
  b.Prop("MaxLength", &O::MaxLength, &O::SetMaxLength, 0);
  b.Prop("ReadOnly", &O::ReadOnly, &O::SetReadOnly, false);
  b.Prop("PasswordChar", &O::PasswordCharText, &O::SetPasswordCharText, std::string());
  b.Enum("CharCase", &O::CharCase, &O::SetCharCase, ecNormal);
  b.Prop("AutoSelect", &O::AutoSelect, &O::SetAutoSelect, true);
  b.Prop("HideSelection", &O::HideSelection, &O::SetHideSelection, true);
  b.Enum("Alignment", &O::Alignment, &O::SetAlignment, taLeftJustify);
  b.Prop("BorderVisible", &O::BorderVisible, &O::SetBorderVisible, true);
  b.template Event<TNotifyEvent>("OnChange", &O::OnChange);
}

// The caret blinks every this many milliseconds.
inline constexpr unsigned kCaretBlinkMs = 500;
// The window timer of the caret blink.
inline constexpr uintptr_t kCaretTimerId = 0x7E01;

}  // namespace qz
