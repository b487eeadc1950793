// TqzSkinCustomEdit: the skin link, geometry, non-client messages, mouse
// states of the frame and its buttons.
#include "skin/controls/SkinEdit.h"

#include <algorithm>

#include "host/platform/Platform.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinFrame.h"
#include "skin/data/SkinControlData.h"

namespace qz {

TqzSkinCustomEdit::TqzSkinCustomEdit(TComponent* AOwner) : TqzCustomEdit(AOwner), defaultFont_(std::make_unique<TFont>()) {
  SetSkinControlDefaultFont(*defaultFont_);
  defaultFont_->SetColor(clBlack);
  Font().Assign(*defaultFont_);
  SetHeight(20);
  SetTransparent(true);
}

TqzSkinCustomEdit::~TqzSkinCustomEdit() = default;

// ---------------------------------------------------------------- properties

void TqzSkinCustomEdit::SetSkinData(TqzSkinData* v) {
  SetReference(skinData_, v);
  if (InState(csDesigning)) return;
  if (v && !v->Empty()) ChangeSkinData();
  else FrameChanged();  // unlinked or not loaded yet: the plain frame
}

void TqzSkinCustomEdit::SetDefaultColor(TColor v) {
  defaultColor_ = v;
  RepaintFrame();
}

void TqzSkinCustomEdit::SetDefaultFont(const TFont& v) {
  defaultFont_->Assign(v);
  if (skinIndex_ < 0 || !useSkinFont_) ApplyFontAndColors();
}

void TqzSkinCustomEdit::SetUseSkinFont(bool v) {
  useSkinFont_ = v;
  if (skinData_ && !skinData_->Empty()) ChangeSkinData();
}

void TqzSkinCustomEdit::SetDefaultWidth(int v) {
  defaultWidth_ = v;
  if (skinIndex_ < 0 && v > 0) SetWidth(v);
}

void TqzSkinCustomEdit::SetDefaultHeight(int v) {
  defaultHeight_ = v;
  if (skinIndex_ < 0 && v > 0) SetHeight(v);
}

void TqzSkinCustomEdit::SetButtonMode(bool v) {
  if (v == buttonMode_) return;
  buttonMode_ = v;
  if (InState(csDesigning)) skinDataName_ = v ? "buttonedit" : "edit";
  // The plain look keeps room for the button beside the text.
  FrameChanged();
}

void TqzSkinCustomEdit::SetAlphaBlend(bool v) {
  alphaBlend_ = v;
  RepaintFrame();
}

void TqzSkinCustomEdit::SetAlphaBlendValue(uint8_t v) {
  alphaBlendValue_ = v;
  RepaintFrame();
}

void TqzSkinCustomEdit::SetImages(TCustomImageList* v) {
  SetReference(images_, v);
  RepaintFrame();
}

void TqzSkinCustomEdit::SetButtonImageIndex(int v) {
  buttonImageIndex_ = v;
  RepaintFrame();
}

void TqzSkinCustomEdit::SetImageIndex(int& slot, int v) {
  slot = v;
  RepaintFrame();
}

void TqzSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TqzCustomEdit::Notification(AComponent, Operation);
  // The skin's descriptions go with it: back to the plain look.
  if (Operation == opRemove && (skinData_ == nullptr || AComponent == skinData_)) {
    skinIndex_ = -1;
    data_ = nullptr;
    picture_ = nullptr;
    if (!InState(csDestroying)) FrameChanged();
  }
}

// ---------------------------------------------------------------- skin

void TqzSkinCustomEdit::GetSkinData() {
  skinIndex_ = -1;
  data_ = nullptr;
  picture_ = nullptr;
  if (!skinData_ || skinData_->Empty()) return;
  int index = skinData_->FindControlIndex(skinDataName_);
  if (index < 0) return;
  auto* d = dynamic_cast<TqzDataSkinEditControl*>(skinData_->CtrlList()[index].get());
  if (!d) return;
  skinIndex_ = index;
  data_ = d;
  picture_ = skinData_->ActivePicture(d->PictureIndex);
}

void TqzSkinCustomEdit::BeforeChangeSkinData() {
  skinIndex_ = -1;
  data_ = nullptr;
  picture_ = nullptr;
}

void TqzSkinCustomEdit::ChangeSkinData() {
  GetSkinData();
  ApplyFontAndColors();
  if (!data_) {
    if (defaultWidth_ > 0) SetWidth(defaultWidth_);
    if (defaultHeight_ > 0) SetHeight(defaultHeight_);
  } else if (useSkinFont_) {
    SetHeight(data_->SkinRect.Height());
  }
  if (!useSkinFont_) SetHeight(HeightFromFont());
  FrameChanged();
}

void TqzSkinCustomEdit::FrameChanged() {
  RecalcFrame(*this);
  RepaintFrame();
}

void TqzSkinCustomEdit::ApplyFontAndColors() {
  if (data_ && useSkinFont_) {
    Font().SetName(data_->FontName);
    Font().SetStyle(data_->FontStyle);
    Font().SetHeight(data_->FontHeight);
  } else {
    Font().Assign(*defaultFont_);
  }
  bool hasCharset = skinData_ && skinData_->ResourceStrData();
  Font().SetCharset(hasCharset ? static_cast<TFontCharset>(skinData_->ResourceStrData()->CharSet())
                               : defaultFont_->Charset());
  Font().SetColor(TextColor());
}

int TqzSkinCustomEdit::HeightFromFont() {
  TCanvas measure;
  measure.Font().Assign(Font());
  int h = measure.GetTextMetrics().tmHeight;
  int imageHeight = images_ ? images_->Height() : 0;
  if (!data_) return std::max(h + 2, imageHeight) + 4;
  return std::max(h, imageHeight) + data_->SkinRect.Height() - data_->ClientRect.Height();
}

TColor TqzSkinCustomEdit::TextColor() const {
  if (!Enabled()) return data_ ? data_->DisabledFontColor : clGrayText;
  if (!data_) return defaultFont_->Color();
  return (Focused() || mouseIn_) ? data_->ActiveFontColor : data_->FontColor;
}

TqzSkinData* TqzSkinCustomEdit::MenuSkin() const {
  TqzSkinData* routed = TqzCustomEdit::MenuSkin();
  return routed ? routed : skinData_;
}

// ---------------------------------------------------------------- geometry

TRect TqzSkinCustomEdit::FrameInsets() {
  if (data_) {
    const TRect& sr = data_->SkinRect;
    const TRect& cr = data_->ClientRect;
    return {cr.Left, cr.Top, sr.Width() - cr.Right, sr.Height() - cr.Bottom};
  }
  return {2, 2, buttonMode_ ? Height() + 2 : 2, 2};
}

TRect TqzSkinCustomEdit::TextRect() {
  const int W = Width(), H = Height();
  if (!data_) return {2, 2, buttonMode_ ? ButtonRect().Left - 2 : W - 2, H - 2};
  const TRect& sr = data_->SkinRect;
  TRect r = data_->ClientRect;
  r.Right = W + r.Right - sr.Width();
  if (!useSkinFont_) r.Bottom += H - sr.Height();
  return r;
}

TRect TqzSkinCustomEdit::ButtonRect() {
  const int W = Width(), H = Height();
  if (!buttonMode_) return {};
  if (!data_) return {W - H, 0, W, H};
  const TRect& sr = data_->SkinRect;
  TRect b = data_->ButtonRect;
  int fixedRight = sr.Width() - data_->RightTopPoint.X;
  // A button in the fixed right part moves with the right edge.
  if (b.Left >= sr.Width() - fixedRight) b = OffsetRect(b, W - sr.Width(), 0);
  if (!useSkinFont_) b.Bottom += H - sr.Height();
  return b;
}

TRect TqzSkinCustomEdit::LeftImageRect() {
  if (!images_ || leftImage_[0] < 0) return {};
  int top = (ClientHeight() - images_->Height()) / 2;
  return {0, top, images_->Width(), top + images_->Height()};
}

TRect TqzSkinCustomEdit::RightImageRect() {
  if (!images_ || rightImage_[0] < 0) return {};
  int top = (ClientHeight() - images_->Height()) / 2;
  return {ClientWidth() - images_->Width(), top, ClientWidth(), top + images_->Height()};
}

TRect TqzSkinCustomEdit::EditRect() const {
  TRect r = TqzCustomEdit::EditRect();
  auto* self = const_cast<TqzSkinCustomEdit*>(this);
  // The text keeps 2 pixels from the image buttons.
  if (TRect left = self->LeftImageRect(); !left.IsEmpty()) r.Left = left.Right + 2;
  if (TRect right = self->RightImageRect(); !right.IsEmpty()) r.Right = right.Left - 2;
  return r;
}

void TqzSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TqzCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  RepaintFrame();
}

// ---------------------------------------------------------------- messages

void TqzSkinCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      GetSkinData();
      InsetClientByFrame(m, FrameInsets());
      return;
    case WM_NCPAINT:
      PaintFrame();
      m.Result = 0;
      return;
    case WM_NCHITTEST: {
      TComponentRef<TqzSkinCustomEdit> self(this);
      if (!mouseIn_) MouseEntered();
      if (!self) return;
      int hit = HitTest({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (hit >= 0) m.Result = hit;
      else TqzCustomEdit::Dispatch(m);
      return;
    }
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCLBUTTONUP: case WM_NCMOUSEMOVE:
      NcMouse(m.Msg, static_cast<int>(m.WParam));
      m.Result = 0;
      return;
    case WM_TIMER:
      if (m.WParam == kEditHoverTimerId) {
        OnHoverTick();
        return;
      }
      break;
    case CM_MOUSELEAVE: {
      TComponentRef<TqzSkinCustomEdit> self(this);
      TqzCustomEdit::Dispatch(m);
      if (self && mouseIn_ && WindowFromPoint(Platform().CursorPos()) != HWND(this)) MouseLeft();
      return;
    }
    default: break;
  }
  TqzCustomEdit::Dispatch(m);
}

int TqzSkinCustomEdit::HitTest(TPoint screen) {
  GetSkinData();
  TRect window;
  if (!GetWindowRect(HWND(this), window)) return -1;
  TPoint p{screen.X - window.Left, screen.Y - window.Top};
  TPoint client = ClientOrigin();
  TPoint inClient{screen.X - client.X, screen.Y - client.Y};
  if (LeftImageRect().Contains(inClient)) return HT_EDIT_LEFT_IMAGE;
  if (RightImageRect().Contains(inClient)) return HT_EDIT_RIGHT_IMAGE;
  if (ButtonRect().Contains(p)) return HT_EDIT_BUTTON;
  if (!TextRect().Contains(p)) return HT_EDIT_FRAME;
  return -1;
}

void TqzSkinCustomEdit::NcMouse(uint32_t msg, int hit) {
  TComponentRef<TqzSkinCustomEdit> self(this);
  if (msg == WM_NCMOUSEMOVE) {
    bool hot = hit == HT_EDIT_BUTTON, left = hit == HT_EDIT_LEFT_IMAGE, right = hit == HT_EDIT_RIGHT_IMAGE;
    if (hot == buttonHot_ && left == leftHot_ && right == rightHot_) return;
    buttonHot_ = hot;
    leftHot_ = left;
    rightHot_ = right;
    RepaintFrame();
    return;
  }
  if (msg != WM_NCLBUTTONUP) {
    if (hit == HT_EDIT_BUTTON) buttonHot_ = buttonDown_ = true;
    if (hit == HT_EDIT_LEFT_IMAGE) leftDown_ = true;
    if (hit == HT_EDIT_RIGHT_IMAGE) rightDown_ = true;
    if (hit == HT_EDIT_LEFT_IMAGE || hit == HT_EDIT_RIGHT_IMAGE) SetFocus();
    if (self) RepaintFrame();
    return;
  }
  // A release over what was pressed is a click.
  TNotifyEvent* event = nullptr;
  if (hit == HT_EDIT_BUTTON && buttonDown_) event = &OnButtonClick;
  if (hit == HT_EDIT_LEFT_IMAGE && leftDown_) event = &OnLeftButtonClick;
  if (hit == HT_EDIT_RIGHT_IMAGE && rightDown_) event = &OnRightButtonClick;
  buttonDown_ = leftDown_ = rightDown_ = false;
  RepaintFrame();
  if (hit == HT_EDIT_BUTTON && CanFocus()) SetFocus();
  if (!self || !event || !*event) return;
  TNotifyEvent handler = *event;
  handler(this);
}

void TqzSkinCustomEdit::MouseMove(TShiftState s, int x, int y) {
  if (buttonHot_ || leftHot_ || rightHot_) {
    buttonHot_ = leftHot_ = rightHot_ = false;
    RepaintFrame();
  }
  TqzCustomEdit::MouseMove(s, x, y);
}

bool TqzSkinCustomEdit::LookChangesOnHover() const {
  if (buttonMode_ || images_) return true;
  return data_ && (!data_->ActiveSkinRect.IsEmpty() || data_->FontColor != data_->ActiveFontColor);
}

void TqzSkinCustomEdit::MouseEntered() {
  mouseIn_ = true;
  GetSkinData();
  if (!Focused() && data_) {
    Font().SetColor(TextColor());
    Invalidate();
  }
  RepaintFrame();
  if (LookChangesOnHover() && HandleAllocated()) SetTimer(HWND(this), kEditHoverTimerId, kEditHoverMs);
}

void TqzSkinCustomEdit::OnHoverTick() {
  if (WindowFromPoint(Platform().CursorPos()) == HWND(this)) return;
  MouseLeft();
}

void TqzSkinCustomEdit::MouseLeft() {
  if (HandleAllocated()) KillTimer(HWND(this), kEditHoverTimerId);
  mouseIn_ = false;
  buttonHot_ = buttonDown_ = leftHot_ = leftDown_ = rightHot_ = rightDown_ = false;
  Font().SetColor(TextColor());
  RepaintFrame();
  Invalidate();
}

void TqzSkinCustomEdit::WMSetFocus(TMessage& m) {
  TComponentRef<TqzSkinCustomEdit> self(this);
  TqzCustomEdit::WMSetFocus(m);
  if (!self) return;
  Font().SetColor(TextColor());
  RepaintFrame();
}

void TqzSkinCustomEdit::WMKillFocus(TMessage& m) {
  TComponentRef<TqzSkinCustomEdit> self(this);
  TqzCustomEdit::WMKillFocus(m);
  if (!self) return;
  Font().SetColor(TextColor());
  RepaintFrame();
}

void TqzSkinCustomEdit::DestroyWnd() {
  if (HandleAllocated()) KillTimer(HWND(this), kEditHoverTimerId);
  TqzCustomEdit::DestroyWnd();
}

// ---------------------------------------------------------------- published

QZ_PUBLISHED(TqzSkinCustomEdit, TqzCustomEdit) {}

QZ_PUBLISHED(TqzSkinEdit, TqzSkinCustomEdit) {
  using O = TqzSkinEdit;
  b.Factory([](TComponent* owner) { return new TqzSkinEdit(owner); });
  b.Prop("Text", &O::Text, &O::SetText);
  b.Prop("ReadOnly", &O::ReadOnly, &O::SetReadOnly, false);
  b.Enum("Alignment", &O::Alignment, &O::SetAlignment, taLeftJustify);
  b.Prop("AutoSelect", &O::AutoSelect, &O::SetAutoSelect, true);
  b.Enum("CharCase", &O::CharCase, &O::SetCharCase, ecNormal);
  b.Prop("HideSelection", &O::HideSelection, &O::SetHideSelection, true);
  b.Prop("MaxLength", &O::MaxLength, &O::SetMaxLength, 0);
  b.Prop("PasswordChar", &O::PasswordCharText, &O::SetPasswordCharText, std::string());
  b.Prop("EditMask", &O::EditMask, &O::SetEditMask, std::string());
  b.Color("DefaultColor", &O::DefaultColor, &O::SetDefaultColor, clWindow);
  b.Object("DefaultFont", [](O& o) -> TFont& { return o.DefaultFont(); });
  b.Prop("UseSkinFont", &O::UseSkinFont, &O::SetUseSkinFont, true);
  b.Prop("DefaultWidth", &O::DefaultWidth, &O::SetDefaultWidth, 0);
  b.Prop("DefaultHeight", &O::DefaultHeight, &O::SetDefaultHeight, 0);
  b.Prop("ButtonMode", &O::ButtonMode, &O::SetButtonMode, false);
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, [](O& o, TqzSkinData* v) { o.SetSkinData(v); });
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("edit"));
  b.Prop("AlphaBlend", &O::AlphaBlend, &O::SetAlphaBlend, false);
  b.Prop("AlphaBlendValue", &O::AlphaBlendValue, &O::SetAlphaBlendValue, uint8_t(0));
  b.Ref<TCustomImageList>("Images", &O::Images, &O::SetImages);
  b.Prop("ButtonImageIndex", &O::ButtonImageIndex, &O::SetButtonImageIndex, -1);
  b.Prop("LeftImageIndex", &O::LeftImageIndex, &O::SetLeftImageIndex, -1);
  b.Prop("LeftImageHotIndex", &O::LeftImageHotIndex, &O::SetLeftImageHotIndex, -1);
  b.Prop("LeftImageDownIndex", &O::LeftImageDownIndex, &O::SetLeftImageDownIndex, -1);
  b.Prop("RightImageIndex", &O::RightImageIndex, &O::SetRightImageIndex, -1);
  b.Prop("RightImageHotIndex", &O::RightImageHotIndex, &O::SetRightImageHotIndex, -1);
  b.Prop("RightImageDownIndex", &O::RightImageDownIndex, &O::SetRightImageDownIndex, -1);
  b.Event<TNotifyEvent>("OnChange", &O::OnChange);
  b.Event<TNotifyEvent>("OnButtonClick", &O::OnButtonClick);
  b.Event<TNotifyEvent>("OnLeftButtonClick", &O::OnLeftButtonClick);
  b.Event<TNotifyEvent>("OnRightButtonClick", &O::OnRightButtonClick);
}

}  // namespace qz
