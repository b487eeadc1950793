// Input masks: parsing, acceptance of characters and the masked editing steps.
#include "host/ui/MaskEdit.h"

#include <cwctype>

#include "host/graphics/TextEngine.h"

namespace qz {

namespace {

using TKind = TMaskSlot::TKind;

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
// Letters: ASCII and everything beyond it that is not a digit or blank.
bool IsLetter(char32_t c) { return c >= 0x80 ? c != 0xA0 : std::iswalpha(static_cast<wint_t>(c)) != 0; }

char32_t WithCase(char32_t c, int charCase) {
  if (charCase > 0 && c >= U'a' && c <= U'z') return c - 32;
  if (charCase < 0 && c >= U'A' && c <= U'Z') return c + 32;
  return c;
}

// A mask character's slot; false for a literal.
bool InputSlot(char32_t c, TMaskSlot& slot) {
  switch (c) {
    case U'0': slot = {TKind::Digit, 0, true}; return true;
    case U'9': slot = {TKind::Digit, 0, false}; return true;
    case U'#': slot = {TKind::DigitOrSign, 0, false}; return true;
    case U'L': slot = {TKind::Letter, 0, true}; return true;
    case U'l': slot = {TKind::Letter, 0, false}; return true;
    case U'A': slot = {TKind::AlphaNum, 0, true}; return true;
    case U'a': slot = {TKind::AlphaNum, 0, false}; return true;
    case U'C': slot = {TKind::Any, 0, true}; return true;
    case U'c': slot = {TKind::Any, 0, false}; return true;
    default: return false;
  }
}

// Splits at ';' from the right: the mask may itself contain ';' after '\'.
std::vector<std::u32string> Fields(const std::u32string& s) {
  std::vector<std::u32string> out(1);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'\\' && i + 1 < s.size()) {
      out.back() += s.substr(i, 2);
      ++i;
    } else if (s[i] == U';') {
      out.emplace_back();
    } else {
      out.back() += s[i];
    }
  }
  return out;
}

}  // namespace

TParsedMask TParsedMask::Parse(const std::string& editMask) {
  TParsedMask m;
  std::vector<std::u32string> fields = Fields(DecodeUtf8(editMask));
  if (fields.size() > 1 && !fields[1].empty()) m.saveLiterals = fields[1][0] != U'0';
  if (fields.size() > 2 && !fields[2].empty()) m.blank = fields[2][0];
  const std::u32string& mask = fields[0];
  int charCase = 0;
  for (size_t i = 0; i < mask.size(); ++i) {
    char32_t c = mask[i];
    if (c == U'<' && i + 1 < mask.size() && mask[i + 1] == U'>') {
      charCase = 0;
      ++i;
    } else if (c == U'>' || c == U'<') {
      charCase = c == U'>' ? 1 : -1;
    } else if (c == U'!') {
      // Trimming of blanks: accepted for compatibility, the text keeps them.
    } else if (c == U'\\' && i + 1 < mask.size()) {
      m.slots.push_back({TKind::Literal, mask[++i]});
    } else {
      TMaskSlot slot{TKind::Literal, c};
      if (InputSlot(c, slot)) slot.charCase = charCase;
      m.slots.push_back(slot);
    }
  }
  return m;
}

bool TParsedMask::Accepts(int i, char32_t ch, char32_t& out) const {
  const TMaskSlot& s = slots[i];
  out = WithCase(ch, s.charCase);
  switch (s.kind) {
    case TKind::Digit: return IsDigit(ch);
    case TKind::DigitOrSign: return IsDigit(ch) || ch == U'+' || ch == U'-';
    case TKind::Letter: return IsLetter(ch);
    case TKind::AlphaNum: return IsLetter(ch) || IsDigit(ch);
    case TKind::Any: return ch >= 32;
    case TKind::Literal: return false;
  }
  return false;
}

std::u32string TParsedMask::BlankText() const {
  std::u32string s;
  for (const TMaskSlot& slot : slots) s += slot.kind == TKind::Literal ? slot.literal : blank;
  return s;
}

std::u32string TParsedMask::Conform(const std::u32string& text) const {
  std::u32string out = BlankText();
  if (text.size() == out.size()) {
    bool fits = true;
    for (size_t i = 0; i < out.size() && fits; ++i) {
      char32_t c;
      fits = IsInput(int(i)) ? (text[i] == blank || Accepts(int(i), text[i], c)) : text[i] == out[i];
    }
    if (fits) return text;
  }
  int pos = NextInput(0);
  for (char32_t ch : text) {
    if (pos < 0) break;
    char32_t c;
    if (Accepts(pos, ch, c)) {
      out[pos] = c;
      pos = NextInput(pos + 1);
    }
  }
  return out;
}

int TParsedMask::NextInput(int pos) const {
  for (int i = std::max(pos, 0); i < static_cast<int>(slots.size()); ++i)
    if (IsInput(i)) return i;
  return -1;
}

int TParsedMask::PrevInput(int pos) const {
  for (int i = std::min(pos, static_cast<int>(slots.size()) - 1); i >= 0; --i)
    if (IsInput(i)) return i;
  return -1;
}

// ---------------------------------------------------------------- the control

void TCustomMaskEdit::SetEditMask(const std::string& v) {
  if (v == editMask_) return;
  editMask_ = v;
  mask_ = TParsedMask::Parse(v);
  if (!IsMasked()) return;
  std::string conformed = EncodeUtf8(mask_.Conform(buffer_.Chars()));
  if (conformed != Text()) SetText(conformed);
  else buffer_.Assign(mask_.Conform(buffer_.Chars()));
}

void TCustomMaskEdit::CMTextChanged(TMessage& m) {
  // A text from outside is made to fit the mask before anyone sees it.
  if (IsMasked()) text_ = EncodeUtf8(mask_.Conform(DecodeUtf8(text_)));
  TCustomEdit::CMTextChanged(m);
}

bool TCustomMaskEdit::IsMaskComplete() const {
  const std::u32string& t = buffer_.Chars();
  for (int i = 0; i < static_cast<int>(mask_.slots.size()); ++i)
    if (mask_.slots[i].required && (i >= static_cast<int>(t.size()) || t[i] == mask_.blank)) return false;
  return true;
}

std::string TCustomMaskEdit::TextWithoutLiterals() const {
  if (!IsMasked() || mask_.saveLiterals) return Text();
  std::u32string out;
  const std::u32string& t = buffer_.Chars();
  for (int i = 0; i < static_cast<int>(t.size()) && i < static_cast<int>(mask_.slots.size()); ++i)
    if (mask_.IsInput(i)) out += t[i];
  return EncodeUtf8(out);
}

bool TCustomMaskEdit::PutChar(std::u32string& text, int& pos, char32_t ch) const {
  // Typing the literal that stands at the caret steps over it.
  if (pos < static_cast<int>(text.size()) && !mask_.IsInput(pos) && mask_.slots[pos].literal == ch) {
    ++pos;
    return true;
  }
  int at = mask_.NextInput(pos);
  char32_t c;
  if (at < 0 || !mask_.Accepts(at, ch, c)) return false;
  text[at] = c;
  pos = at + 1;
  return true;
}

void TCustomMaskEdit::Apply(std::u32string text, int caret, bool typing) {
  // The caret rests on the next input position, past the literals.
  int next = mask_.NextInput(caret);
  caret = next < 0 ? static_cast<int>(text.size()) : next;
  if (text == buffer_.Chars()) {
    buffer_.MoveCaret(caret, false);
    CaretMoved();
    return;
  }
  buffer_.ReplaceAll(std::move(text), caret, typing);
  CommitText();
}

void TCustomMaskEdit::BlankRange(int start, int end, int caret) {
  std::u32string text = buffer_.Chars();
  for (int i = start; i < end; ++i)
    if (mask_.IsInput(i)) text[i] = mask_.blank;
  Apply(std::move(text), caret, false);
}

void TCustomMaskEdit::TypeChar(char32_t ch) {
  if (!IsMasked()) return TCustomEdit::TypeChar(ch);
  std::u32string text = buffer_.Chars();
  int pos = SelStart();
  if (!PutChar(text, pos, ch)) return;  // refused: the text stays as it is
  Apply(std::move(text), pos, true);
}

void TCustomMaskEdit::DeleteBackKey() {
  if (!IsMasked()) return TCustomEdit::DeleteBackKey();
  if (SelLength() > 0) return BlankRange(SelStart(), buffer_.SelEnd(), SelStart());
  int at = mask_.PrevInput(CaretPos() - 1);
  if (at < 0) return;
  std::u32string text = buffer_.Chars();
  text[at] = mask_.blank;
  // The caret stays at the blanked position, not the next one.
  buffer_.ReplaceAll(std::move(text), at, false);
  if (buffer_.Chars() != DecodeUtf8(Text())) CommitText();
  else CaretMoved();
}

void TCustomMaskEdit::DeleteForwardKey(bool wholeWord) {
  if (!IsMasked()) return TCustomEdit::DeleteForwardKey(wholeWord);
  if (!CanChangeText()) return;
  if (SelLength() > 0) return BlankRange(SelStart(), buffer_.SelEnd(), SelStart());
  int at = mask_.NextInput(CaretPos());
  if (at >= 0) BlankRange(at, at + 1, CaretPos());
}

void TCustomMaskEdit::ClearSelection() {
  if (!IsMasked()) return TCustomEdit::ClearSelection();
  if (!CanChangeText() || SelLength() == 0) return;
  BlankRange(SelStart(), buffer_.SelEnd(), SelStart());
}

void TCustomMaskEdit::InsertText(std::u32string s) {
  if (!IsMasked()) return TCustomEdit::InsertText(std::move(s));
  // Pasting types the characters one after the other; the first that does
  // not fit ends it, what came before stays.
  std::u32string text = buffer_.Chars();
  for (int i = SelStart(); i < buffer_.SelEnd(); ++i)
    if (mask_.IsInput(i)) text[i] = mask_.blank;
  int pos = SelStart();
  for (char32_t ch : s)
    if (!PutChar(text, pos, ch)) break;
  Apply(std::move(text), pos, false);
}

QZ_PUBLISHED(TCustomMaskEdit, TCustomEdit) {}

QZ_PUBLISHED(TMaskEdit, TCustomMaskEdit) {
  using O = TMaskEdit;
  b.Factory([](TComponent* owner) { return new TMaskEdit(owner); });
  b.Prop("EditMask", &O::EditMask, &O::SetEditMask, std::string());
  PublishEditProperties(b);
}

}  // namespace qz
