// TCustomEdit: properties, text changes, keyboard, clipboard and undo.
#include "host/ui/Edit.h"

#include <algorithm>

#include "host/graphics/TextEngine.h"
#include "host/platform/Platform.h"

namespace qz {

namespace {

char32_t UpperOf(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  return c;
}

char32_t LowerOf(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

// A single-line edit takes the clipboard's text up to its first line break.
std::u32string FirstLine(const std::string& utf8) {
  std::u32string s = DecodeUtf8(utf8);
  auto end = std::find_if(s.begin(), s.end(), [](char32_t c) { return c == U'\r' || c == U'\n'; });
  s.erase(end, s.end());
  return s;
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetCursor(crIBeam);
  SetColor(clWindow);
  measure_.Font().Assign(Font());
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::SetMaxLength(int v) { maxLength_ = std::max(v, 0); }

void TCustomEdit::SetPasswordChar(char32_t v) {
  if (v == passwordChar_) return;
  passwordChar_ = v;
  EnsureCaretVisible();
  Invalidate();
}

std::string TCustomEdit::PasswordCharText() const {
  return passwordChar_ ? EncodeUtf8(std::u32string(1, passwordChar_)) : std::string();
}

void TCustomEdit::SetPasswordCharText(const std::string& v) {
  std::u32string s = DecodeUtf8(v);
  SetPasswordChar(s.empty() ? 0 : s[0]);
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
  if (v == charCase_) return;
  charCase_ = v;
  if (v == ecNormal) return;
  // The text already there takes the new case, keeping the selection.
  int start = SelStart(), len = SelLength();
  std::u32string cased = Cased(buffer_.Chars());
  if (cased == buffer_.Chars()) return;
  TComponentRef<TCustomEdit> self(this);
  SetText(EncodeUtf8(cased));
  if (self) SetSelStart(start), SetSelLength(len);
}

void TCustomEdit::SetHideSelection(bool v) {
  hideSelection_ = v;
  Invalidate();
}

void TCustomEdit::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TCustomEdit::SetBorderVisible(bool v) {
  borderVisible_ = v;
  Invalidate();
}

// ---------------------------------------------------------------- selection

void TCustomEdit::SetSelStart(int v) {
  buffer_.MoveCaret(v, false);
  CaretMoved();
}

void TCustomEdit::SetSelLength(int v) {
  buffer_.Select(buffer_.SelStart(), v);
  CaretMoved();
}

std::string TCustomEdit::SelText() const { return EncodeUtf8(buffer_.SelectedChars()); }

void TCustomEdit::SetSelText(const std::string& v) {
  if (!CanChangeText()) return;
  InsertText(DecodeUtf8(v));
}

void TCustomEdit::InsertText(std::u32string s) {
  if (buffer_.ReplaceSelection(Cased(std::move(s)), maxLength_)) CommitText();
}

void TCustomEdit::SelectAll() {
  buffer_.SelectAll();
  CaretMoved();
}

void TCustomEdit::ClearSelection() {
  if (!CanChangeText() || SelLength() == 0) return;
  if (buffer_.ReplaceSelection({}, 0)) CommitText();
}

// ---------------------------------------------------------------- clipboard

void TCustomEdit::CopyToClipboard() {
  // A password never leaves the edit.
  if (passwordChar_ || SelLength() == 0) return;
  Platform().SetClipboardText(SelText());
}

void TCustomEdit::CutToClipboard() {
  if (passwordChar_ || !CanChangeText() || SelLength() == 0) return;
  CopyToClipboard();
  ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
  if (!CanChangeText()) return;
  InsertText(FirstLine(Platform().ClipboardText()));
}

void TCustomEdit::Undo() {
  if (!CanChangeText()) return;
  if (buffer_.Undo()) CommitText();
}

// ---------------------------------------------------------------- text

std::u32string TCustomEdit::Cased(std::u32string s) const {
  if (charCase_ == ecUpperCase) std::transform(s.begin(), s.end(), s.begin(), UpperOf);
  if (charCase_ == ecLowerCase) std::transform(s.begin(), s.end(), s.begin(), LowerOf);
  return s;
}

bool TCustomEdit::CommitText() {
  TComponentRef<TCustomEdit> self(this);
  modified_ = true;
  settingText_ = true;
  SetText(EncodeUtf8(buffer_.Chars()));
  if (!self) return false;
  settingText_ = false;
  CaretMoved();
  return true;
}

void TCustomEdit::CMTextChanged(TMessage& m) {
  // A text set from outside replaces the buffer: caret at the start, no undo.
  bool own = settingText_;
  settingText_ = false;
  if (!own) {
    buffer_.Assign(DecodeUtf8(Text()));
    buffer_.ClearUndo();
    scrollX_ = 0;
  }
  TCustomControl::CMTextChanged(m);
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::CMFontChanged(TMessage& m) {
  measure_.Font().Assign(Font());
  TCustomControl::CMFontChanged(m);
  EnsureCaretVisible();
}

void TCustomEdit::CMEnabledChanged(TMessage& m) {
  TCustomControl::CMEnabledChanged(m);
  Invalidate();
}

// ---------------------------------------------------------------- keyboard

void TCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_TIMER:
      if (m.WParam == kCaretTimerId) {
        OnBlinkTimer();
        return;
      }
      break;
    case WM_CUT: CutToClipboard(); return;
    case WM_COPY: CopyToClipboard(); return;
    case WM_PASTE: PasteFromClipboard(); return;
    case WM_CLEAR: ClearSelection(); return;
    case WM_UNDO: Undo(); return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TComponentRef<TCustomEdit> self(this);
  TCustomControl::KeyDown(key, shift);
  if (!self || key == 0) return;
  if (EditKey(key, shift)) key = 0;
}

bool TCustomEdit::EditKey(uint16_t key, TShiftState shift) {
  bool shiftDown = shift.Contains(ssShift), ctrlDown = shift.Contains(ssCtrl);
  if (key == VK_DELETE) {
    if (shiftDown) CutToClipboard();
    else DeleteForwardKey(ctrlDown);
    return true;
  }
  if (key == VK_INSERT) {
    if (ctrlDown) CopyToClipboard();
    else if (shiftDown) PasteFromClipboard();
    return true;
  }
  return MoveKey(key, shiftDown, ctrlDown);
}

void TCustomEdit::DeleteBackKey() {
  if (buffer_.DeleteBack()) CommitText();
}

void TCustomEdit::DeleteForwardKey(bool wholeWord) {
  if (!CanChangeText()) return;
  // Ctrl+Delete takes the rest of the word.
  if (wholeWord && SelLength() == 0) buffer_.MoveCaret(buffer_.WordRight(CaretPos()), true);
  if (buffer_.DeleteForward()) CommitText();
}

bool TCustomEdit::MoveKey(uint16_t key, bool shiftDown, bool ctrlDown) {
  int caret = CaretPos(), target;
  switch (key) {
    case VK_LEFT:
      if (!shiftDown && SelLength() > 0 && !ctrlDown) target = SelStart();
      else target = ctrlDown ? buffer_.WordLeft(caret) : caret - 1;
      break;
    case VK_RIGHT:
      if (!shiftDown && SelLength() > 0 && !ctrlDown) target = buffer_.SelEnd();
      else target = ctrlDown ? buffer_.WordRight(caret) : caret + 1;
      break;
    case VK_HOME: target = 0; break;
    case VK_END: target = buffer_.Length(); break;
    default: return false;
  }
  buffer_.MoveCaret(target, shiftDown);
  CaretMoved();
  return true;
}

void TCustomEdit::KeyPress(char32_t& key) {
  TComponentRef<TCustomEdit> self(this);
  TCustomControl::KeyPress(key);
  if (!self || key == 0) return;
  if (key < 32 || key == 127) {
    ControlChar(key);
  } else if (CanChangeText()) {
    TypeChar(key);
  }
  key = 0;
}

bool TCustomEdit::ControlChar(char32_t ch) {
  switch (ch) {
    case 1: SelectAll(); return true;              // Ctrl+A
    case 3: CopyToClipboard(); return true;        // Ctrl+C
    case 22: PasteFromClipboard(); return true;    // Ctrl+V
    case 24: CutToClipboard(); return true;        // Ctrl+X
    case 26: Undo(); return true;                  // Ctrl+Z
    case 8:                                        // Backspace
      if (CanChangeText()) DeleteBackKey();
      return true;
    default: return false;  // Enter, Escape, Tab and the rest type nothing
  }
}

void TCustomEdit::TypeChar(char32_t ch) {
  if (buffer_.ReplaceSelection(Cased(std::u32string(1, ch)), maxLength_, true)) CommitText();
}

// ---------------------------------------------------------------- focus and caret

void TCustomEdit::WMSetFocus(TMessage& m) {
  TComponentRef<TCustomEdit> self(this);
  TCustomControl::WMSetFocus(m);
  if (!self) return;
  // A click places the caret itself; the keyboard (Tab) selects everything.
  if (autoSelect_ && !selectingWithMouse_) buffer_.SelectAll();
  StartBlink();
  CaretMoved();
}

void TCustomEdit::WMKillFocus(TMessage& m) {
  StopBlink();
  Invalidate();
  TCustomControl::WMKillFocus(m);
}

void TCustomEdit::DestroyWnd() {
  StopBlink();
  TCustomControl::DestroyWnd();
}

void TCustomEdit::StartBlink() {
  caretOn_ = true;
  if (HandleAllocated()) SetTimer(Handle(), kCaretTimerId, kCaretBlinkMs);
}

void TCustomEdit::StopBlink() {
  caretOn_ = false;
  if (HandleAllocated()) KillTimer(Handle(), kCaretTimerId);
}

void TCustomEdit::OnBlinkTimer() {
  caretOn_ = !caretOn_;
  Invalidate();
}

void TCustomEdit::CaretMoved() {
  // The caret shows at once where it moved and blinks from there.
  if (Focused()) StartBlink();
  EnsureCaretVisible();
  Invalidate();
}

// ---------------------------------------------------------------- published

QZ_PUBLISHED(TCustomEdit, TCustomControl) {}

QZ_PUBLISHED(TEdit, TCustomEdit) {
  b.Factory([](TComponent* owner) { return new TEdit(owner); });
  PublishEditProperties(b);
}

}  // namespace qz
