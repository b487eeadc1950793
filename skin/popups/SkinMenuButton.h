// The menu button: a skinned button that opens a skinned popup menu or an
// images menu when pressed. In track-button mode only a narrow drop-down
// part opens the menu and the rest acts as an ordinary button. Without a
// menu it is an ordinary button.
#pragma once

#include <string>

#include "skin/controls/SkinButton.h"

namespace qz {

class TqzSkinPopupMenu;
class TqzSkinImagesMenu;

// Width of the drop-down part of the generic descriptions and of the plain look.
inline constexpr int kMenuButtonDropDownWidth = 15;

// Where a press opens the menu, in control coordinates.
struct TqzDropDownInput {
  bool HasMenu = false;
  bool TrackButtonMode = false;
  bool Described = false;  // a description other than the generic button ones
  TRect TrackButtonRect;   // description coordinates
  TSize SkinSize;          // the description's skin rectangle size
  int ResizeMode = -1;     // of the description
  int Width = 0, Height = 0;
};
TRect MenuButtonDropDownRect(const TqzDropDownInput& in);
// The descriptions whose look the button draws as the generic buttons do.
bool IsGenericButtonLook(const std::string& skinDataName);

class TqzSkinMenuButton : public TqzSkinButton {
  QZ_CLASS(TqzSkinMenuButton, TqzSkinButton)
 public:
  explicit TqzSkinMenuButton(TComponent* AOwner);
  ~TqzSkinMenuButton() override;

  // ---- published
  TqzSkinPopupMenu* SkinPopupMenu() const { return popupMenu_; }
  void SetSkinPopupMenu(TqzSkinPopupMenu* v);
  TqzSkinImagesMenu* SkinImagesMenu() const { return imagesMenu_; }
  void SetSkinImagesMenu(TqzSkinImagesMenu* v);
  bool TrackButtonMode() const { return trackButtonMode_; }
  void SetTrackButtonMode(bool v);
  bool UseImagesMenuImage() const { return useImagesMenuImage_; }
  void SetUseImagesMenuImage(bool v);
  bool UseImagesMenuCaption() const { return useImagesMenuCaption_; }
  void SetUseImagesMenuCaption(bool v);
  // The menu opened by the button has closed.
  TNotifyEvent OnHideTrackMenu;

  // ---- run-time state
  bool HasMenu() const { return popupMenu_ != nullptr || imagesMenu_ != nullptr; }
  // The current press opened the menu and the menu is open.
  bool MenuOpen() const { return menuOpen_; }
  bool MenuMouseIn() const { return mouseIn_; }
  // The drop-down part (empty when the button has no menu).
  TRect DropDownRect() const;
  const TRect& TrackButtonRect() const { return trackButtonRect_; }

  void GetSkinData() override;
  void CreateControlSkinImage(TBitmap& B) override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void CreateButtonImage(TBitmap& Bitmap, const TRect& StateRect, bool IsActive, bool IsDown) override;

 protected:
  void Dispatch(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Sets the menu flag, goes down and opens the menu; false when a handler
  // freed the button.
  bool OpenMenu();
  void MenuClosed();
  // The images menu's picked image and caption apply to the content.
  bool ShowsImagesMenuSelection() const;
  void DrawContent(TCanvas& canvas, const TRect& r, bool isDown);
  void DrawDropDownFromDownLook(TBitmap& B);

  TqzSkinPopupMenu* popupMenu_ = nullptr;
  TqzSkinImagesMenu* imagesMenu_ = nullptr;
  bool trackButtonMode_ = false;
  bool useImagesMenuImage_ = false;
  bool useImagesMenuCaption_ = false;
  TRect trackButtonRect_;
  TRect downSkinRect_;
  bool described_ = false;
  bool menuOpen_ = false;
  bool mouseIn_ = false;
  bool spaceOpenedMenu_ = false;
  // The images menu that is open for this button; only compared.
  const void* openImagesMenu_ = nullptr;
};

}  // namespace qz
