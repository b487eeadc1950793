#include "host/ui/StdCtrls.h"

#include <cctype>

#include "host/ui/Forms.h"

namespace qz {

bool IsAccel(char32_t ch, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(caption[i + 1]);
    return ch < 128 && std::tolower(c) == std::tolower(static_cast<int>(ch));
  }
  return false;
}

void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
  for (int i = 0; i < width && !r.IsEmpty(); ++i) {
    canvas.Pen().SetColor(topLeft);
    canvas.MoveTo(r.Left, r.Bottom - 1);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(r.Right - 1, r.Top);
    canvas.Pen().SetColor(bottomRight);
    canvas.MoveTo(r.Right - 1, r.Top);
    canvas.LineTo(r.Right - 1, r.Bottom - 1);
    canvas.LineTo(r.Left - 1, r.Bottom - 1);
    r = InflateRect(r, -1, -1);
  }
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  width_ = 65;
  height_ = 17;
  parentColor_ = true;
}

void TLabel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Invalidate();
}
void TLabel::SetLayout(TTextLayout v) {
  if (v == layout_) return;
  layout_ = v;
  Invalidate();
}
void TLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Invalidate();
}
void TLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustBounds();
}
void TLabel::SetShowAccelChar(bool v) {
  if (v == showAccelChar_) return;
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}

uint32_t TLabel::TextFlags() const {
  uint32_t f = DT_EXPANDTABS;
  if (alignment_ == taCenter) f |= DT_CENTER;
  if (alignment_ == taRightJustify) f |= DT_RIGHT;
  if (wordWrap_) f |= DT_WORDBREAK;
  if (!showAccelChar_) f |= DT_NOPREFIX;
  return f;
}

void TLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!adjusting_) AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || InState(csLoading) || adjusting_) return;
  adjusting_ = true;
  TCanvas measure;
  measure.Font().Assign(Font());
  TRect r{0, 0, wordWrap_ ? width_ : 0, 0};
  std::string text = text_.empty() ? std::string(" ") : text_;
  measure.DrawText(text, r, TextFlags() | DT_CALCRECT);
  int w = wordWrap_ ? width_ : r.Width();
  int l = left_;
  if (!wordWrap_ && alignment_ == taRightJustify) l = left_ + width_ - w;
  if (!wordWrap_ && alignment_ == taCenter) l = left_ + (width_ - w) / 2;
  SetBounds(l, top_, w, r.Height());
  adjusting_ = false;
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::CMTextChanged(TMessage& m) {
  AdjustBounds();
  TGraphicControl::CMTextChanged(m);
}

void TLabel::CMFontChanged(TMessage& m) {
  AdjustBounds();
  TGraphicControl::CMFontChanged(m);
}

void TLabel::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  if (!transparent_) {
    c.Brush().SetColor(Color());
    c.FillRect(r);
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  uint32_t flags = TextFlags();
  if (layout_ != tlTop) {
    TRect calc = r;
    c.DrawText(text_, calc, flags | DT_CALCRECT);
    int h = calc.Height();
    r.Top += layout_ == tlCenter ? (r.Height() - h) / 2 : r.Height() - h;
  }
  if (!Enabled()) {
    TRect shadow = OffsetRect(r, 1, 1);
    c.Font().SetColor(clBtnHighlight);
    c.DrawText(text_, shadow, flags);
    c.Font().SetColor(clBtnShadow);
  }
  c.DrawText(text_, r, flags);
}

void TLabel::Dispatch(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    m.Result = 0;
    if (focusControl_ && showAccelChar_ && IsAccel(static_cast<char32_t>(m.WParam), text_) &&
        focusControl_->CanFocus()) {
      focusControl_->SetFocus();
      m.Result = 1;
    }
    return;
  }
  TGraphicControl::Dispatch(m);
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ = {csSetCaption, csDoubleClicks, csOpaque, csCaptureMouse, csClickEvents};
  width_ = 75;
  height_ = 25;
  tabStop_ = true;
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  Invalidate();
}

void TButton::SetPressed(bool v) {
  if (v == pressed_) return;
  pressed_ = v;
  Invalidate();
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this); form && modalResult_ != mrNone)
    form->SetModalResult(modalResult_);
  TCustomControl::Click();
}

void TButton::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.Brush().SetColor(clBtnFace);
  c.FillRect(r);
  bool focused = Focused();
  if (focused || default_) {
    c.Brush().SetColor(cl3DDkShadow);
    c.FrameRect(r);
    r = InflateRect(r, -1, -1);
  }
  if (pressed_) {
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(r);
    r = InflateRect(r, -1, -1);
  } else {
    Frame3D(c, r, clBtnHighlight, cl3DDkShadow, 1);
    Frame3D(c, r, clBtnFace, clBtnShadow, 1);
  }
  TRect text = r;
  if (pressed_) text = OffsetRect(text, 1, 1);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Font().Assign(Font());
  if (!Enabled()) c.Font().SetColor(clGrayText);
  c.DrawText(text_, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (focused) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.DrawFocusRect(InflateRect(r, -2, -2));
  }
}

void TButton::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (b == mbLeft) {
    TComponentRef<TButton> self(this);
    if (CanFocus() && !Focused()) SetFocus();  // OnEnter/OnExit run here
    if (!self) return;
    SetPressed(true);
  }
  TCustomControl::MouseDown(b, s, x, y);
}

void TButton::MouseMove(TShiftState s, int x, int y) {
  if (MouseCapture()) SetPressed(ClientRect().Contains({x, y}));
  TCustomControl::MouseMove(s, x, y);
}

void TButton::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (b == mbLeft) SetPressed(false);
  TCustomControl::MouseUp(b, s, x, y);
}

void TButton::KeyDown(uint16_t& key, TShiftState shift) {
  if (key == VK_SPACE) {
    spaceDown_ = true;
    SetPressed(true);
  }
  TCustomControl::KeyDown(key, shift);
}

void TButton::KeyUp(uint16_t& key, TShiftState shift) {
  if (key == VK_SPACE && spaceDown_) {
    spaceDown_ = false;
    SetPressed(false);
    TComponentRef<TButton> self(this);
    Click();
    if (!self) return;
  }
  TCustomControl::KeyUp(key, shift);
}

void TButton::CMDialogKey(TMessage& m) {
  m.Result = 0;
  bool enterTakes = false;
  if (m.WParam == VK_RETURN) {
    // The focused button, else the default one when no other button has the focus.
    HWND f = GetFocus();
    enterTakes = f == this || (default_ && !Is<TButton>(WindowControl(f)));
  }
  bool escTakes = m.WParam == VK_ESCAPE && cancel_;
  if ((enterTakes || escTakes) && CanFocus()) {
    Click();
    m.Result = 1;
  }
}

void TButton::CMDialogChar(TMessage& m) {
  m.Result = 0;
  if (IsAccel(static_cast<char32_t>(m.WParam), text_) && CanFocus()) {
    TComponentRef<TButton> self(this);
    SetFocus();
    if (self) Click();
    m.Result = 1;
  }
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = default_ ? DLGC_DEFPUSHBUTTON | DLGC_BUTTON : DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (m.Msg == WM_KILLFOCUS) spaceDown_ = false, SetPressed(false);
      {
        TComponentRef<TButton> self(this);
        TCustomControl::Dispatch(m);  // OnEnter/OnExit
        if (self) Invalidate();
      }
      return;
    default:
      TCustomControl::Dispatch(m);
  }
}

// ---------------------------------------------------------------- registration

QZ_PUBLISHED(TLabel, TGraphicControl) {
  b.Factory([](TComponent* owner) { return new TLabel(owner); });
  b.Prop("Caption", &TLabel::Caption, &TLabel::SetCaption);
  b.Enum("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, taLeftJustify);
  b.Enum("Layout", &TLabel::Layout, &TLabel::SetLayout, tlTop);
  b.Prop("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
  b.Prop("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
  b.Prop("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
  b.Prop("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true);
  b.Ref<TWinControl>("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
}

QZ_PUBLISHED(TButton, TCustomControl) {
  b.Factory([](TComponent* owner) { return new TButton(owner); });
  b.Prop("Caption", &TButton::Caption, &TButton::SetCaption);
  b.Prop("Default", &TButton::Default, &TButton::SetDefault, false);
  b.Prop("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
  b.Prop("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0);
}

}  // namespace qz
