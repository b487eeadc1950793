// The skinned message box's window: a dialog form built in code with its own
// form controller, the message label, an icon, a centred row of skinned push
// buttons picked from a button set and, on request, the show-again check box.
// The builders return the unshown form; the caller owns it. TqzSkinMessage
// (SkinMessage.h) shows one modally per call.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "host/base/Set.h"
#include "host/graphics/Font.h"
#include "host/graphics/Pixmap.h"
#include "host/ui/Controls.h"
#include "host/ui/Forms.h"

namespace qz {

class TqzSkinData;
class TqzOrvane;
class TqzSkinStdLabel;
class TqzSkinCheckRadioBox;
class TqzSkinButton;
class TCustomImageList;

// The kind of a message: its caption and icon.
enum class TqzMsgDlgType : uint8_t { qzmtWarning, qzmtError, qzmtInformation, qzmtConfirmation, qzmtCustom };
using enum TqzMsgDlgType;

// The buttons a message box can show; bit n of a button set is value n.
enum class TqzMsgDlgBtn : uint8_t {
  qzmbYes, qzmbNo, qzmbOK, qzmbCancel, qzmbAbort, qzmbRetry, qzmbIgnore, qzmbAll, qzmbNoToAll,
  qzmbYesToAll, qzmbHelp,
};
using enum TqzMsgDlgBtn;
using TqzMsgDlgButtons = TSet<TqzMsgDlgBtn>;
inline constexpr int kMsgDlgButtonCount = 11;  // bits 0 .. 10; higher bits are ignored

struct TqzMsgDlgButtonInfo {
  const char* Name;         // component name of the button
  const char* ResourceKey;  // skin resource string of its caption
  const char* Caption;      // built-in caption
  TModalResult Result;      // 0: the button does not close the dialog
};
const std::array<TqzMsgDlgButtonInfo, kMsgDlgButtonCount>& MsgDlgButtonTable();

struct TqzMsgDlgTypeInfo {
  const char* ResourceKey;  // "" for the custom kind
  const char* Caption;      // built-in caption ("" for the custom kind: the application's title)
};
const TqzMsgDlgTypeInfo& MsgDlgTypeInfo(TqzMsgDlgType kind);

// The built-in caption of the show-again check box.
inline constexpr const char* kShowAgainCaption = "Do not display this message again";

// Caption lookups: with a skin that has resource strings, the text stored
// under the button's or kind's key ("" when the key is missing); otherwise
// the built-in caption. The custom kind's caption is always "".
std::string GetButtonCaption(TqzMsgDlgBtn button, const TqzSkinData* skin);
std::string GetDialogCaption(TqzMsgDlgType kind, const TqzSkinData* skin);

// The icon of a message kind at size x size pixels (straight alpha), empty
// for the custom kind. The one place that picks a kind's picture.
TPixmap MessageKindIcon(TqzMsgDlgType kind, int size);

// The icon of the dialog: a picture drawn over the form's background.
class TqzMessageImage : public TGraphicControl {
  QZ_CLASS(TqzMessageImage, TGraphicControl)
 public:
  explicit TqzMessageImage(TComponent* AOwner);
  const TPixmap& Picture() const { return picture_; }
  void SetPicture(TPixmap picture);
  // Straight-alpha pixels are blended over the background when set; else
  // every pixel is copied as it is.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

 protected:
  void Paint() override;

 private:
  TPixmap picture_;
  bool transparent_ = true;
};

// What the builders take from the message component (every published
// property but the event).
struct TqzMessageSettings {
  bool ShowAgainFlag = false;
  bool ShowAgainFlagValue = false;
  bool AlphaBlend = false;
  bool AlphaBlendAnimation = false;
  uint8_t AlphaBlendValue = 200;
  TqzSkinData* SkinData = nullptr;
  TqzSkinData* CtrlSkinData = nullptr;
  std::string ButtonSkinDataName = "button";
  std::string MessageLabelSkinDataName = "stdlabel";
  TFontData DefaultFont;
  TFontData DefaultButtonFont;
  bool UseSkinFont = true;
  // Where the message wraps: 0 at the width that keeps the window within
  // half of the work area, above 0 at that label width, below 0 never.
  int WrapWidth = 0;
};
// Tahoma, height 13, no style: the message component's fonts at construction.
TFontData DefaultMessageFont();

// Where a centred form is asked for: left and top both below this.
inline constexpr int kCentredPosition = -10001;

class TqzMessageForm : public TForm {
  QZ_CLASS(TqzMessageForm, TForm)
 public:
  // A left below -10000 centres the form on the screen; otherwise the form
  // is placed at exactly (left, top).
  TqzMessageForm(TComponent* AOwner, int left, int top);

  TqzOrvane* Orvane() const { return orvane_; }
  TqzSkinStdLabel* MessageLabel() const { return message_; }
  TqzSkinCheckRadioBox* CheckBox() const { return checkBox_; }
  // The icon; null when the custom builder was given no usable image.
  TqzMessageImage* Image() const { return image_; }
  // The button of `button`, null when it is not in the set.
  TqzSkinButton* Button(TqzMsgDlgBtn button) const;

  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  // The Help button's click: asks the application's help for this form's
  // topic. The dialog stays open.
  void HelpButtonClick(TObject* Sender);

  // The caption, the message and the button captions as text (Ctrl+C).
  std::string ClipboardText() const;

 protected:
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 private:
  friend class TqzMessageFormBuilder;
  TqzOrvane* orvane_ = nullptr;
  TqzSkinStdLabel* message_ = nullptr;
  TqzSkinCheckRadioBox* checkBox_ = nullptr;
  TqzMessageImage* image_ = nullptr;
  std::array<TqzSkinButton*, kMsgDlgButtonCount> buttons_{};
  int helpContext_ = 0;
};

// The two builders: the message, the kind (or the caption and an image from
// an image list), the button set, the position and the component's settings.
std::unique_ptr<TqzMessageForm> BuildMessageForm(const std::string& msg, TqzMsgDlgType kind,
                                                 TqzMsgDlgButtons buttons, int left, int top,
                                                 const TqzMessageSettings& settings);
std::unique_ptr<TqzMessageForm> BuildCustomMessageForm(const std::string& msg, const std::string& caption,
                                                       TCustomImageList* images, int imageIndex,
                                                       TqzMsgDlgButtons buttons, int left, int top,
                                                       const TqzMessageSettings& settings);

// How the builders size things (pixels).
inline constexpr int kMsgButtonWidth = 70;
inline constexpr int kMsgButtonSpacing = 10;
inline constexpr int kMsgPlainButtonHeight = 25;
inline constexpr int kMsgLabelLeft = 50;
inline constexpr int kMsgLabelTop = 15;

// The button height: the skinrect height of the button description named
// `name` in `skin`, else 25.
int MessageButtonHeight(const TqzSkinData* skin, const std::string& name);
// The width of the button row: N x 70 + (N - 1) x 10, 0 for no button.
int MessageButtonRowWidth(TqzMsgDlgButtons buttons);
// The widest message label that keeps a window of `frameWidth` extra pixels
// within half of a work area `workAreaWidth` wide.
int MessageWrapWidth(int workAreaWidth, int frameWidth);

}  // namespace qz
