#include "skin/dialogs/MessageForm.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "host/ui/Menus.h"
#include "host/graphics/Canvas.h"
#include "host/shell/IconTheme.h"
#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinLabel.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/PngImage.h"
#include "skin/form/Orvane.h"

namespace qz {

// ------------------------------------------------------------------ tables

const std::array<TqzMsgDlgButtonInfo, kMsgDlgButtonCount>& MsgDlgButtonTable() {
  static const std::array<TqzMsgDlgButtonInfo, kMsgDlgButtonCount> table{{
      {"Yes", "MSG_BTN_YES", "&Yes", mrYes},
      {"No", "MSG_BTN_NO", "&No", mrNo},
      {"OK", "MSG_BTN_OK", "OK", mrOk},
      {"Cancel", "MSG_BTN_CANCEL", "Cancel", mrCancel},
      {"Abort", "MSG_BTN_ABORT", "&Abort", mrAbort},
      {"Retry", "MSG_BTN_RETRY", "&Retry", mrRetry},
      {"Ignore", "MSG_BTN_IGNORE", "&Ignore", mrIgnore},
      {"All", "MSG_BTN_ALL", "&All", mrAll},
      {"NoToAll", "MSG_BTN_NOTOALL", "N&oToAll", mrNoToAll},
      {"YesToAll", "MSG_BTN_YESTOALL", "&YesToAll", mrYesToAll},
      {"Help", "MSG_BTN_HELP", "&Help", mrNone},
  }};
  return table;
}

const TqzMsgDlgTypeInfo& MsgDlgTypeInfo(TqzMsgDlgType kind) {
  static const std::array<TqzMsgDlgTypeInfo, 5> table{{
      {"MSG_CAP_WARNING", "Warning"},
      {"MSG_CAP_ERROR", "Error"},
      {"MSG_CAP_INFORMATION", "Information"},
      {"MSG_CAP_CONFIRM", "Confirm"},
      {"", ""},
  }};
  const auto i = static_cast<size_t>(kind);
  return table[i < table.size() ? i : table.size() - 1];
}

namespace {

const TqzResourceStrData* StringsOf(const TqzSkinData* skin) {
  return skin != nullptr ? skin->ResourceStrData() : nullptr;
}

}  // namespace

std::string GetButtonCaption(TqzMsgDlgBtn button, const TqzSkinData* skin) {
  const TqzMsgDlgButtonInfo& info = MsgDlgButtonTable()[static_cast<size_t>(button)];
  if (const TqzResourceStrData* strings = StringsOf(skin)) return strings->GetResourceStr(info.ResourceKey);
  return info.Caption;
}

std::string GetDialogCaption(TqzMsgDlgType kind, const TqzSkinData* skin) {
  if (kind == qzmtCustom) return {};
  const TqzMsgDlgTypeInfo& info = MsgDlgTypeInfo(kind);
  if (const TqzResourceStrData* strings = StringsOf(skin)) return strings->GetResourceStr(info.ResourceKey);
  return info.Caption;
}

TFontData DefaultMessageFont() {
  TFont font;
  font.SetName("Tahoma");
  font.SetHeight(13);
  return font.Data();
}

// ------------------------------------------------------------------ icons

namespace {

const char* IconNameOf(TqzMsgDlgType kind) {
  switch (kind) {
    case qzmtWarning: return "dialog-warning";
    case qzmtError: return "dialog-error";
    case qzmtInformation: return "dialog-information";
    default: return "dialog-question";
  }
}

std::optional<TPixmap> DecodePngIcon(std::span<const uint8_t> file) {
  return TqzPngImage::DecodeToPixmap(file);
}

}  // namespace

// The kind's icon from the user's icon theme, else the one the program
// draws, so that a machine without any theme still shows a proper icon.
TPixmap MessageKindIcon(TqzMsgDlgType kind, int size) {
  if (kind == qzmtCustom || size <= 0) return {};
  const auto icon = TIconTheme::Shared().LoadSized({IconNameOf(kind)}, size, DecodePngIcon);
  return icon ? *icon : TPixmap{};
}

// ------------------------------------------------------------------ image

TqzMessageImage::TqzMessageImage(TComponent* AOwner) : TGraphicControl(AOwner) {}

void TqzMessageImage::SetPicture(TPixmap picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void TqzMessageImage::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Invalidate();
}

void TqzMessageImage::Paint() {
  if (picture_.Empty()) return;
  TPixmap source = picture_;
  if (transparent_) {
    // The blend takes premultiplied pixels.
    for (int y = 0; y < source.Height(); ++y)
      for (uint32_t* p = source.Row(y); p != source.Row(y) + source.Width(); ++p) {
        const uint32_t a = PixelAlpha(*p);
        auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
        *p = (a << 24) | (mul((*p >> 16) & 0xFF) << 16) | (mul((*p >> 8) & 0xFF) << 8) | mul(*p & 0xFF);
      }
  }
  TCanvas from(&source);
  AlphaBlend(&Canvas(), 0, 0, source.Width(), source.Height(), &from, 0, 0, source.Width(),
             source.Height(), 255, transparent_);
}

// ------------------------------------------------------------------ form

TqzMessageForm::TqzMessageForm(TComponent* AOwner, int left, int top) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetKeyPreview(true);
  if (left < -10000) {
    SetPosition(poScreenCenter);
  } else {
    SetLeft(left);
    SetTop(top);
  }
  orvane_ = new TqzOrvane(this);
  orvane_->SetBorderIcons({});
  orvane_->SetSizeable(false);
}

TqzSkinButton* TqzMessageForm::Button(TqzMsgDlgBtn button) const {
  const auto i = static_cast<size_t>(button);
  return i < buttons_.size() ? buttons_[i] : nullptr;
}

void TqzMessageForm::HelpButtonClick(TObject*) {
  if (Application) Application->HelpContext(helpContext_);
}

std::string TqzMessageForm::ClipboardText() const {
  const std::string rule = "---------------------------\n";
  std::string buttons;
  for (const TqzSkinButton* b : buttons_)
    if (b != nullptr) buttons += StripHotkey(b->Caption()) + "   ";
  return rule + Caption() + "\n" + rule + (message_ ? message_->Caption() : std::string()) + "\n" + rule +
         buttons + "\n" + rule;
}

void TqzMessageForm::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (Key == 'C' && Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
    Platform().SetClipboardText(ClipboardText());
    Key = 0;
    return;
  }
  TForm::KeyDown(Key, Shift);
}

// ------------------------------------------------------------------ building

int MessageButtonHeight(const TqzSkinData* skin, const std::string& name) {
  if (skin == nullptr || skin->Empty()) return kMsgPlainButtonHeight;
  const int index = skin->FindControlIndex(name);
  if (index < 0) return kMsgPlainButtonHeight;
  const auto* d = dynamic_cast<const TqzDataSkinButtonControl*>(skin->CtrlList()[size_t(index)].get());
  return d != nullptr ? d->SkinRect.Height() : kMsgPlainButtonHeight;
}

int MessageButtonRowWidth(TqzMsgDlgButtons buttons) {
  int n = 0;
  for (int bit = 0; bit < kMsgDlgButtonCount; ++bit)
    if (buttons.Contains(static_cast<TqzMsgDlgBtn>(bit))) ++n;
  return n == 0 ? 0 : n * kMsgButtonWidth + (n - 1) * kMsgButtonSpacing;
}

int MessageWrapWidth(int workAreaWidth, int frameWidth) {
  // The label starts at 50 and keeps 40 to its right.
  return std::max(100, workAreaWidth / 2 - frameWidth - kMsgLabelLeft - 40);
}

// Where the builder puts the icon and what it shows.
struct TqzMessageIconPlace {
  bool Shown = false;
  TRect Bounds;
  TPixmap Picture;
  bool Transparent = true;
};

class TqzMessageFormBuilder {
 public:
  TqzMessageFormBuilder(const TqzMessageSettings& s, int left, int top)
      : s_(s), form_(std::make_unique<TqzMessageForm>(Application, left, top)) {}

  std::unique_ptr<TqzMessageForm> Build(const std::string& caption, const std::string& msg,
                                        TqzMsgDlgButtons buttons,
                                        const std::function<TqzMessageIconPlace(int labelHeight)>& icon) {
    SetUpController();
    buttonHeight_ = MessageButtonHeight(s_.CtrlSkinData, s_.ButtonSkinDataName);
    const int rowWidth = MessageButtonRowWidth(buttons);
    form_->SetCaption(caption);
    const int labelRight = MakeLabel(msg);
    MakeImage(icon(form_->message_->Height()));
    clientHeight_ = buttonHeight_ + form_->message_->Height() + 50;
    clientWidth_ = rowWidth < labelRight ? labelRight + 40 : rowWidth + 40;
    if (s_.ShowAgainFlag) MakeCheckBox();
    form_->SetClientWidth(clientWidth_);
    form_->SetClientHeight(clientHeight_);
    ClampWidth();
    MakeButtons(buttons, rowWidth);
    return std::move(form_);
  }

 private:
  void SetUpController() {
    TqzOrvane& c = *form_->orvane_;
    c.SetSkinData(s_.SkinData);
    c.SetMenusSkinData(s_.CtrlSkinData);
    c.AlphaBlend = s_.AlphaBlend;
    c.AlphaBlendAnimation = s_.AlphaBlendAnimation;
    c.AlphaBlendValue = s_.AlphaBlendValue;
  }

  // The work area the window is placed in: the primary monitor's for a
  // centred form, else that of the monitor at its corner.
  TRect WorkArea() const {
    if (!Screen) return {0, 0, 1024, 768};
    if (form_->Position() == poScreenCenter) return Screen->PrimaryMonitor().WorkareaRect;
    return Screen->MonitorFromPoint({form_->Left(), form_->Top()}).WorkareaRect;
  }
  int FrameWidth() const { return std::max(0, form_->Width() - form_->ClientWidth()); }

  // The label's right edge. A message wider than half the work area allows
  // wraps at that width.
  int MakeLabel(const std::string& msg) {
    auto* label = new TqzSkinStdLabel(form_.get());
    form_->message_ = label;
    label->SetName("Message");
    label->Font().SetData(s_.DefaultFont);
    TFont font;
    font.SetData(s_.DefaultFont);
    label->SetDefaultFont(font);
    label->SetUseSkinFont(s_.UseSkinFont);
    label->SetSkinDataName(s_.MessageLabelSkinDataName);
    label->SetSkinData(s_.CtrlSkinData);
    // The message is shown as it is written: "&" is no accelerator here.
    label->SetShowAccelChar(false);
    label->SetAutoSize(true);
    label->SetCaption(msg);
    label->SetParent(form_.get());
    label->SetBounds(kMsgLabelLeft, kMsgLabelTop, label->Width(), label->Height());
    const int wrapWidth =
        s_.WrapWidth > 0 ? s_.WrapWidth : MessageWrapWidth(WorkArea().Width(), FrameWidth());
    if (s_.WrapWidth >= 0 && label->Width() > wrapWidth) {
      label->SetWordWrap(true);
      label->SetBounds(kMsgLabelLeft, kMsgLabelTop, wrapWidth, 0);
    }
    return label->Left() + label->Width();
  }

  void MakeImage(const TqzMessageIconPlace& place) {
    if (!place.Shown) return;
    auto* image = new TqzMessageImage(form_.get());
    form_->image_ = image;
    image->SetName("Image");
    image->SetTransparent(place.Transparent);
    image->SetPicture(place.Picture);
    image->SetParent(form_.get());
    image->SetBounds(place.Bounds.Left, place.Bounds.Top, place.Bounds.Width(), place.Bounds.Height());
  }

  void MakeCheckBox() {
    clientHeight_ += 40;
    auto* box = new TqzSkinCheckRadioBox(form_.get());
    form_->checkBox_ = box;
    box->SetName("checkbox");
    box->SetDefaultHeight(30);
    box->SetChecked(!s_.ShowAgainFlagValue);
    TFont font;
    font.SetData(s_.DefaultFont);
    box->SetDefaultFont(font);
    box->SetUseSkinFont(s_.UseSkinFont);
    box->SetSkinData(s_.CtrlSkinData);
    const int top = clientHeight_ - buttonHeight_ - 50;
    std::string caption;
    if (const TqzResourceStrData* strings = StringsOf(s_.CtrlSkinData))
      caption = strings->GetResourceStr("MSG_CAP_SHOWFLAG");
    if (caption.empty()) caption = kShowAgainCaption;
    box->SetCaption(caption);
    TFont measureFont;
    measureFont.SetData(s_.DefaultFont);
    const auto* d = dynamic_cast<const TqzDataSkinCheckRadioControl*>(box->SkinDescription());
    if (box->SkinIndex != -1 && d != nullptr && s_.UseSkinFont) {
      measureFont.SetName(d->FontName);
      measureFont.SetHeight(d->FontHeight);
    }
    TCanvas measure;
    measure.Font().Assign(measureFont);
    const int w = measure.TextWidth(caption);
    if (clientWidth_ < w + 60) clientWidth_ = w + 60;
    box->SetParent(form_.get());
    box->SetBounds(5, top, w + 55, box->DefaultHeight());
  }

  // The controller's limits hold the window's width.
  void ClampWidth() {
    const TqzSizeLimits limits = form_->orvane_->SizeLimits();
    const int width = form_->Width();
    if (limits.MaxWidth < width) form_->SetWidth(limits.MaxWidth);
    else if (width < limits.MinWidth) form_->SetWidth(limits.MinWidth);
  }

  static TqzMsgDlgBtn FirstIn(TqzMsgDlgButtons set, std::initializer_list<TqzMsgDlgBtn> order, bool& found) {
    for (TqzMsgDlgBtn b : order)
      if (set.Contains(b)) {
        found = true;
        return b;
      }
    found = false;
    return qzmbYes;
  }

  void MakeButtons(TqzMsgDlgButtons buttons, int rowWidth) {
    bool hasDefault = false, hasCancel = false;
    const TqzMsgDlgBtn defaultButton = FirstIn(buttons, {qzmbOK, qzmbYes, qzmbRetry}, hasDefault);
    const TqzMsgDlgBtn cancelButton = FirstIn(buttons, {qzmbCancel, qzmbNo, qzmbOK}, hasCancel);
    // The row is centred in the client width the window ends up with.
    int x = (form_->ClientWidth() - rowWidth) / 2;
    const int top = form_->ClientHeight() - buttonHeight_ - 10;
    TFont font;
    font.SetData(s_.DefaultButtonFont);
    for (int bit = 0; bit < kMsgDlgButtonCount; ++bit) {
      const auto id = static_cast<TqzMsgDlgBtn>(bit);
      if (!buttons.Contains(id)) continue;
      const TqzMsgDlgButtonInfo& info = MsgDlgButtonTable()[size_t(bit)];
      auto* b = new TqzSkinButton(form_.get());
      form_->buttons_[size_t(bit)] = b;
      b->SetParent(form_.get());
      b->SetName(info.Name);
      b->SetModalResult(info.Result);
      b->SetCaption(GetButtonCaption(id, s_.CtrlSkinData));
      b->SetCanFocused(true);
      b->SetDefault(hasDefault && id == defaultButton);
      b->SetCancel(hasCancel && id == cancelButton);
      b->SetDefaultHeight(buttonHeight_);
      b->SetBounds(x, top, kMsgButtonWidth, buttonHeight_);
      b->SetDefaultFont(font);
      b->SetUseSkinFont(s_.UseSkinFont);
      if (id == qzmbHelp) {
        TqzMessageForm* form = form_.get();
        b->OnClick = [form](TObject* sender) { form->HelpButtonClick(sender); };
      }
      b->SetSkinDataName(s_.ButtonSkinDataName);
      b->SetSkinData(s_.CtrlSkinData);
      x += kMsgButtonWidth + kMsgButtonSpacing;
    }
    // Enter and the first look go to the default button.
    if (hasDefault) form_->SetActiveControl(form_->Button(defaultButton));
  }

  const TqzMessageSettings& s_;
  std::unique_ptr<TqzMessageForm> form_;
  int buttonHeight_ = kMsgPlainButtonHeight;
  int clientWidth_ = 0, clientHeight_ = 0;
};

std::unique_ptr<TqzMessageForm> BuildMessageForm(const std::string& msg, TqzMsgDlgType kind,
                                                 TqzMsgDlgButtons buttons, int left, int top,
                                                 const TqzMessageSettings& settings) {
  const std::string caption =
      kind == qzmtCustom ? (Application ? Application->Title() : std::string())
                         : GetDialogCaption(kind, settings.CtrlSkinData);
  TqzMessageFormBuilder builder(settings, left, top);
  return builder.Build(caption, msg, buttons, [kind](int labelHeight) {
    // The standard icon never rises above 10.
    const int imageTop = std::max(10, kMsgLabelTop + labelHeight / 2 - 16);
    return TqzMessageIconPlace{true, {5, imageTop, 37, imageTop + 32}, MessageKindIcon(kind, 32), true};
  });
}

std::unique_ptr<TqzMessageForm> BuildCustomMessageForm(const std::string& msg, const std::string& caption,
                                                       TCustomImageList* images, int imageIndex,
                                                       TqzMsgDlgButtons buttons, int left, int top,
                                                       const TqzMessageSettings& settings) {
  TqzMessageFormBuilder builder(settings, left, top);
  return builder.Build(caption, msg, buttons, [images, imageIndex](int labelHeight) {
    if (images == nullptr || imageIndex < 0 || imageIndex > images->Count() - 1) return TqzMessageIconPlace{};
    const int imageTop = kMsgLabelTop + labelHeight / 2 - 16;
    return TqzMessageIconPlace{
        true, {5, imageTop, 5 + images->Width(), imageTop + images->Height()}, images->Image(imageIndex), true};
  });
}

}  // namespace qz
