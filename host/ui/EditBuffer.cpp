// The edit's text model: caret, selection, replacement with a length limit,
// one-level undo and word boundaries.
#include <algorithm>
#include <cwctype>

#include "host/ui/Edit.h"

namespace qz {

namespace {

enum class TCharKind { Word, Blank, Other };

TCharKind KindOf(char32_t c) {
  if (c == U' ' || c == U'\t') return TCharKind::Blank;
  if (c >= 0x80 || std::iswalnum(static_cast<wint_t>(c)) || c == U'_') return TCharKind::Word;
  return TCharKind::Other;
}

}  // namespace

void TEditBuffer::Assign(std::u32string text) {
  text_ = std::move(text);
  anchor_ = caret_ = 0;
  typingRun_ = false;
}

void TEditBuffer::MoveCaret(int pos, bool extend) {
  caret_ = Clamp(pos);
  if (!extend) anchor_ = caret_;
  typingRun_ = false;
}

void TEditBuffer::Select(int start, int length) {
  anchor_ = Clamp(start);
  caret_ = Clamp(start + std::max(length, 0));
  typingRun_ = false;
}

void TEditBuffer::SaveUndo() { undo_ = TSnapshot{text_, anchor_, caret_}; }

bool TEditBuffer::ReplaceSelection(std::u32string s, int maxLength, bool typing) {
  return ReplaceRange(SelStart(), SelLength(), std::move(s), maxLength, typing);
}

bool TEditBuffer::ReplaceRange(int start, int len, std::u32string s, int maxLength, bool typing) {
  if (maxLength > 0) {
    int room = std::max(0, maxLength - (Length() - len));
    if (static_cast<int>(s.size()) > room) s.resize(room);
  }
  if (s.empty() && len == 0) return false;
  // A typed character right after the previous one continues its undo step.
  if (!(typing && typingRun_)) SaveUndo();
  text_.replace(start, len, s);
  caret_ = anchor_ = start + static_cast<int>(s.size());
  typingRun_ = typing;
  return true;
}

void TEditBuffer::ReplaceAll(std::u32string text, int caret, bool typing) {
  if (!(typing && typingRun_)) SaveUndo();
  text_ = std::move(text);
  caret_ = anchor_ = Clamp(caret);
  typingRun_ = typing;
}

bool TEditBuffer::DeleteBack() {
  if (SelLength() > 0) return ReplaceSelection({}, 0);
  return caret_ > 0 && ReplaceRange(caret_ - 1, 1, {}, 0, false);
}

bool TEditBuffer::DeleteForward() {
  if (SelLength() > 0) return ReplaceSelection({}, 0);
  return caret_ < Length() && ReplaceRange(caret_, 1, {}, 0, false);
}

bool TEditBuffer::Undo() {
  if (!undo_) return false;
  TSnapshot current{text_, anchor_, caret_};
  text_ = std::move(undo_->text);
  anchor_ = undo_->anchor;
  caret_ = undo_->caret;
  undo_ = std::move(current);
  typingRun_ = false;
  return true;
}

int TEditBuffer::WordLeft(int pos) const {
  pos = Clamp(pos);
  while (pos > 0 && KindOf(text_[pos - 1]) == TCharKind::Blank) --pos;
  if (pos == 0) return 0;
  TCharKind kind = KindOf(text_[pos - 1]);
  while (pos > 0 && KindOf(text_[pos - 1]) == kind) --pos;
  return pos;
}

int TEditBuffer::WordRight(int pos) const {
  pos = Clamp(pos);
  if (pos < Length()) {
    TCharKind kind = KindOf(text_[pos]);
    if (kind != TCharKind::Blank)
      while (pos < Length() && KindOf(text_[pos]) == kind) ++pos;
  }
  while (pos < Length() && KindOf(text_[pos]) == TCharKind::Blank) ++pos;
  return pos;
}

std::pair<int, int> TEditBuffer::WordAt(int pos) const {
  if (text_.empty()) return {0, 0};
  pos = std::clamp(pos, 0, Length() - 1);
  TCharKind kind = KindOf(text_[pos]);
  int start = pos, end = pos;
  while (start > 0 && KindOf(text_[start - 1]) == kind) --start;
  while (end < Length() && KindOf(text_[end]) == kind) ++end;
  return {start, end};
}

}  // namespace qz
