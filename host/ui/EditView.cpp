// TCustomEdit: what is shown (text, selection, caret, horizontal scrolling)
// and the mouse.
#include <algorithm>
#include <cstdlib>

#include "host/graphics/TextEngine.h"
#include "host/platform/Platform.h"
#include "host/ui/Edit.h"

namespace qz {

namespace {

std::u32string Masked(const std::u32string& s, char32_t passwordChar) {
  return passwordChar ? std::u32string(s.size(), passwordChar) : s;
}

}  // namespace

std::string TCustomEdit::DisplayText() const { return EncodeUtf8(Masked(buffer_.Chars(), passwordChar_)); }

TRect TCustomEdit::EditRect() const {
  TRect r = ClientRect();
  if (borderVisible_) return {r.Left + 3, r.Top + 2, r.Right - 2, r.Bottom - 2};
  return {r.Left + 2, r.Top, r.Right, r.Bottom};
}

int TCustomEdit::TextWidthOf(std::u32string_view s) {
  return s.empty() ? 0 : measure_.TextWidth(EncodeUtf8(s));
}

int TCustomEdit::TextOriginX() {
  TRect r = EditRect();
  int total = TextWidthOf(Masked(buffer_.Chars(), passwordChar_));
  if (total < r.Width()) {
    if (alignment_ == taRightJustify) return r.Right - total - 1;
    if (alignment_ == taCenter) return r.Left + (r.Width() - total) / 2;
  }
  return r.Left - scrollX_;
}

int TCustomEdit::PositionToX(int pos) {
  std::u32string shown = Masked(buffer_.Chars(), passwordChar_);
  pos = std::clamp(pos, 0, static_cast<int>(shown.size()));
  return TextOriginX() + TextWidthOf(std::u32string_view(shown).substr(0, pos));
}

int TCustomEdit::XToPosition(int x) {
  std::u32string shown = Masked(buffer_.Chars(), passwordChar_);
  int origin = TextOriginX(), prev = origin;
  for (int i = 1; i <= static_cast<int>(shown.size()); ++i) {
    int next = origin + TextWidthOf(std::u32string_view(shown).substr(0, i));
    // Left of a character's middle belongs before it.
    if (x < (prev + next) / 2) return i - 1;
    prev = next;
  }
  return static_cast<int>(shown.size());
}

void TCustomEdit::EnsureCaretVisible() {
  std::u32string shown = Masked(buffer_.Chars(), passwordChar_);
  int width = EditRect().Width();
  int total = TextWidthOf(shown);
  if (width <= 0 || total < width) {
    scrollX_ = 0;
    return;
  }
  int caretX = TextWidthOf(std::u32string_view(shown).substr(0, CaretPos()));
  if (caretX - scrollX_ > width - 1) scrollX_ = caretX - width + 1;
  if (caretX < scrollX_) scrollX_ = caretX;
  // No empty space after the text while it is longer than the edit.
  scrollX_ = std::clamp(scrollX_, 0, total - width + 1);
}

// ---------------------------------------------------------------- painting

TColor TCustomEdit::TextColor() const { return Enabled() ? Font().Color() : clGrayText; }

void TCustomEdit::PaintBackground(TCanvas& canvas, const TRect& r) {
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(r);
  if (borderVisible_) {
    TRect edge = r;
    Frame3D(canvas, edge, clBtnShadow, clBtnHighlight, 1);
  }
}

void TCustomEdit::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  PaintBackground(canvas, ClientRect());
  TRect r = EditRect();
  if (r.IsEmpty()) return;
  int textHeight = canvas.TextHeight("Wg");
  int y = r.Top + (r.Height() - textHeight) / 2;
  PaintSelectionAndText(canvas, r, y);
  if (CaretShown()) {
    int x = PositionToX(CaretPos());
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(TextColor());
    TRect caret{x, std::max(y, r.Top), x + 1, std::min(y + textHeight, r.Bottom)};
    caret.Right = std::min(caret.Right, r.Right);
    if (caret.Left >= r.Left) canvas.FillRect(caret);
  }
}

void TCustomEdit::PaintSelectionAndText(TCanvas& canvas, const TRect& r, int y) {
  std::string shown = DisplayText();
  int x = TextOriginX();
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.Font().SetColor(TextColor());
  canvas.TextRect(r, x, y, shown);
  bool showSelection = SelLength() > 0 && (Focused() || !hideSelection_);
  if (!showSelection) return;
  // The selection is drawn over the text: highlight fill and the same text,
  // clipped to it, so that both agree to the pixel.
  TRect sel{PositionToX(SelStart()), r.Top, PositionToX(buffer_.SelEnd()), r.Bottom};
  sel.Left = std::max(sel.Left, r.Left);
  sel.Right = std::min(sel.Right, r.Right);
  if (sel.Left >= sel.Right) return;
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(clHighlight);
  canvas.Font().SetColor(clHighlightText);
  canvas.TextRect(sel, x, y, shown);
  canvas.Font().SetColor(TextColor());
}

// ---------------------------------------------------------------- mouse

void TCustomEdit::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  TComponentRef<TCustomEdit> self(this);
  if (b == mbLeft) {
    selectingWithMouse_ = true;
    if (!Focused() && CanFocus()) SetFocus();
    if (!self) return;
    IPlatform& plat = Platform();
    uint64_t now = plat.NowMs();
    bool nearLast = std::abs(x - lastClickPos_.X) <= plat.DoubleClickSize().cx / 2 &&
                    std::abs(y - lastClickPos_.Y) <= plat.DoubleClickSize().cy / 2;
    bool soon = now - lastClickMs_ <= static_cast<uint64_t>(plat.DoubleClickTimeMs());
    if (s.Contains(ssDouble)) clickCount_ = 2;
    else if (clickCount_ == 2 && soon && nearLast) clickCount_ = 3;
    else clickCount_ = 1;
    lastClickMs_ = now;
    lastClickPos_ = {x, y};
    SelectByClick(clickCount_, XToPosition(x), s.Contains(ssShift));
  }
  TCustomControl::MouseDown(b, s, x, y);
}

void TCustomEdit::SelectByClick(int clicks, int pos, bool extend) {
  if (clicks == 3) {
    buffer_.SelectAll();
  } else if (clicks == 2) {
    auto [start, end] = buffer_.WordAt(pos);
    buffer_.Select(start, end - start);
  } else {
    buffer_.MoveCaret(pos, extend);
  }
  CaretMoved();
}

void TCustomEdit::MouseMove(TShiftState s, int x, int y) {
  // Dragging extends the selection; beyond the edges it scrolls the text.
  if (selectingWithMouse_ && clickCount_ == 1 && s.Contains(ssLeft)) {
    buffer_.MoveCaret(XToPosition(x), true);
    CaretMoved();
  }
  TCustomControl::MouseMove(s, x, y);
}

void TCustomEdit::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (b == mbLeft) selectingWithMouse_ = false;
  TCustomControl::MouseUp(b, s, x, y);
}

}  // namespace qz
