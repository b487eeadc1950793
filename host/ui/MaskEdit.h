// TCustomMaskEdit / TMaskEdit: an edit whose text follows an input mask.
//
// EditMask has up to three fields separated by ';': the mask, '0' or '1'
// (whether TextWithoutLiterals keeps the literals; default 1) and the blank
// character shown in empty positions (default '_'). Mask characters:
//   0 digit, required      9 digit, optional      # digit or sign, optional
//   L letter, required     l letter, optional
//   A letter or digit, req a letter or digit, optional
//   C any character, req   c any character, optional
//   >  upper case from here   <  lower case from here   <>  case as typed
//   \  the next character is a literal      !  (accepted, no effect)
// Every other character is a literal the caret steps over.
//
// With a mask the text always has the mask's length: typing fills the next
// input position (characters that do not fit are refused), Backspace and
// Delete blank positions, literals stay. Without a mask it is a plain edit.
#pragma once

#include <string>
#include <vector>

#include "host/ui/Edit.h"

namespace qz {

// One position of a parsed mask.
struct TMaskSlot {
  enum class TKind { Literal, Digit, DigitOrSign, Letter, AlphaNum, Any };
  TKind kind = TKind::Literal;
  char32_t literal = 0;
  bool required = false;
  int charCase = 0;  // 0 as typed, 1 upper, -1 lower
};

// A parsed EditMask.
struct TParsedMask {
  std::vector<TMaskSlot> slots;
  bool saveLiterals = true;
  char32_t blank = U'_';

  static TParsedMask Parse(const std::string& editMask);
  bool Empty() const { return slots.empty(); }
  // Whether ch may stand at slot i; `out` is ch in the slot's case.
  bool Accepts(int i, char32_t ch, char32_t& out) const;
  // The text with every input position blank.
  std::u32string BlankText() const;
  // Any text made to fit: its characters that fit fill the input positions
  // in order (a text that already fits is kept as it is).
  std::u32string Conform(const std::u32string& text) const;
  bool IsInput(int i) const { return slots[i].kind != TMaskSlot::TKind::Literal; }
  // The first input position at or after / before pos (-1: none).
  int NextInput(int pos) const;
  int PrevInput(int pos) const;
};

class TCustomMaskEdit : public TCustomEdit {
  QZ_CLASS(TCustomMaskEdit, TCustomEdit)
 public:
  explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(const std::string& v);
  bool IsMasked() const { return !mask_.Empty(); }
  // Every required position is filled.
  bool IsMaskComplete() const;
  // The text without the literals when the mask's second field is '0'.
  std::string TextWithoutLiterals() const;

  void ClearSelection() override;

 protected:
  void TypeChar(char32_t ch) override;
  void DeleteBackKey() override;
  void DeleteForwardKey(bool wholeWord) override;
  void InsertText(std::u32string s) override;
  void CMTextChanged(TMessage& m) override;

 private:
  // Puts ch at the next input position from `from`; false when refused.
  bool PutChar(std::u32string& text, int& pos, char32_t ch) const;
  void Apply(std::u32string text, int caret, bool typing);
  void BlankRange(int start, int end, int caret);

  std::string editMask_;
  TParsedMask mask_;
};

class TMaskEdit : public TCustomMaskEdit {
  QZ_CLASS(TMaskEdit, TCustomMaskEdit)
 public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};

}  // namespace qz
