// The skinned single-line edits.
//
//   TqzCustomEdit      the host's masked edit made fit for skinned forms:
//                      transparent painting over the parent, Enter and
//                      Escape to the form's default and cancel buttons, a
//                      strict read-only mode and a context menu opened
//                      through the form's skinned menu engine
//   TqzSkinCustomEdit  frame, push button and two image buttons drawn from
//   TqzSkinEdit        the skin's edit description in the non-client area;
//                      the text is the client area
//   TqzSkinNumEdit     numeric input, the inner edit of a spin control
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/ui/ImgList.h"
#include "host/ui/MaskEdit.h"
#include "host/ui/Menus.h"
#include "skin/controls/SkinChangeClient.h"
#include "skin/data/SkinData.h"

namespace qz {

class TqzDataSkinEditControl;

// Non-client hit codes of the skinned edit (they keep the platform edit
// from handling these areas).
inline constexpr int HT_EDIT_BUTTON = 6;          // the push button
inline constexpr int HT_EDIT_FRAME = 7;           // the frame around the text
inline constexpr int HT_EDIT_LEFT_IMAGE = 104;    // the left image button
inline constexpr int HT_EDIT_RIGHT_IMAGE = 105;   // the right image button

// The window timer that watches for the mouse leaving, and its period.
inline constexpr uintptr_t kEditHoverTimerId = 1;
inline constexpr unsigned kEditHoverMs = 100;

// The items of the edit's context menu, in menu order (separators included).
struct TqzEditMenuItemInfo {
  const char* ResourceKey;   // null for a separator
  const char* DefaultCaption;
};
extern const TqzEditMenuItemInfo kEditMenuItems[8];

// The form an edit's context menu belongs to (and is shown through): the
// control's parent form, or the application's main form when that parent
// form is an MDI child. Null when the control is on no form.
TCustomForm* EditMenuForm(TControl* control);

class TqzCustomEdit : public TCustomMaskEdit {
  QZ_CLASS(TqzCustomEdit, TCustomMaskEdit)
 public:
  explicit TqzCustomEdit(TComponent* AOwner);
  ~TqzCustomEdit() override;

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  // The context menu while it is open (null otherwise).
  TPopupMenu* ContextMenu() const { return menu_.Get(); }

 protected:
  void Dispatch(TMessage& m) override;
  void KeyPress(char32_t& key) override;
  void WMContextMenu(TMessage& m) override;
  void PaintBackground(TCanvas& canvas, const TRect& r) override;
  // Builds and opens the skinned context menu at a screen point.
  void ShowEditMenu(TPoint screen);
  // The skin whose resource strings name the menu items (none: defaults).
  virtual TqzSkinData* MenuSkin() const;

 private:
  void FreeMenu();
  void AddMenuItem(int index, bool enabled, std::function<void()> action);

  bool transparent_ = false;
  TComponentRef<TPopupMenu> menu_;
};

class TqzSkinCustomEdit : public TqzCustomEdit, public IqzSkinChangeClient {
  QZ_CLASS(TqzSkinCustomEdit, TqzCustomEdit)
 public:
  explicit TqzSkinCustomEdit(TComponent* AOwner);
  ~TqzSkinCustomEdit() override;

  // ---- published
  TqzSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TqzSkinData* v);
  const std::string& SkinDataName() const { return skinDataName_; }
  void SetSkinDataName(const std::string& v) { skinDataName_ = v; }
  TColor DefaultColor() const { return defaultColor_; }
  void SetDefaultColor(TColor v);
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  void SetDefaultFont(const TFont& v);
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool v);
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int v);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int v);
  bool ButtonMode() const { return buttonMode_; }
  void SetButtonMode(bool v);
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool v);
  uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(uint8_t v);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  int ButtonImageIndex() const { return buttonImageIndex_; }
  void SetButtonImageIndex(int v);
  int LeftImageIndex() const { return leftImage_[0]; }
  void SetLeftImageIndex(int v) { SetImageIndex(leftImage_[0], v); }
  int LeftImageHotIndex() const { return leftImage_[1]; }
  void SetLeftImageHotIndex(int v) { SetImageIndex(leftImage_[1], v); }
  int LeftImageDownIndex() const { return leftImage_[2]; }
  void SetLeftImageDownIndex(int v) { SetImageIndex(leftImage_[2], v); }
  int RightImageIndex() const { return rightImage_[0]; }
  void SetRightImageIndex(int v) { SetImageIndex(rightImage_[0], v); }
  int RightImageHotIndex() const { return rightImage_[1]; }
  void SetRightImageHotIndex(int v) { SetImageIndex(rightImage_[1], v); }
  int RightImageDownIndex() const { return rightImage_[2]; }
  void SetRightImageDownIndex(int v) { SetImageIndex(rightImage_[2], v); }
  TNotifyEvent OnButtonClick, OnLeftButtonClick, OnRightButtonClick;

  // ---- skin change (IqzSkinChangeClient)
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override;

  // ---- state, for painting and tests
  // Index of the description in the skin; -1 for the plain look.
  int SkinIndex() const { return skinIndex_; }
  const TqzDataSkinEditControl* Description() const { return data_; }
  // Window coordinates.
  TRect ButtonRect();
  TRect TextRect();
  // Client coordinates; empty without the image.
  TRect LeftImageRect();
  TRect RightImageRect();
  bool MouseInside() const { return mouseIn_; }
  bool ButtonHot() const { return buttonHot_; }
  bool ButtonPressed() const { return buttonDown_; }
  // The whole window (frame, button, image buttons and text area as the
  // frame picture has it) composed off-screen, as WM_NCPAINT draws it.
  void ComposeFrame(TBitmap& out);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect EditRect() const override;

 protected:
  void Dispatch(TMessage& m) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void PaintBackground(TCanvas& canvas, const TRect& r) override;
  void Paint() override;
  TColor TextColor() const override;
  TqzSkinData* MenuSkin() const override;
  void MouseMove(TShiftState s, int x, int y) override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;
  void DestroyWnd() override;

 private:
  void GetSkinData();
  void ApplyFontAndColors();
  int HeightFromFont();
  TRect FrameInsets();
  int HitTest(TPoint screen);
  void NcMouse(uint32_t msg, int hit);
  void MouseEntered();
  void MouseLeft();
  void OnHoverTick();
  bool LookChangesOnHover() const;
  void PaintFrame();
  void ComposeSkinFrame(TBitmap& out, int W, int H);
  void ComposeDefaultFrame(TBitmap& out, int W, int H);
  void DrawButtonImages(TCanvas& c);
  void BlendOverParent(TBitmap& frame);
  void SetImageIndex(int& slot, int v);
  void RepaintFrame();
  // The frame's thickness may differ now: client area and frame anew.
  void FrameChanged();
  // While disabled the control paints its text itself.
  void PaintDisabled();
  // Where disabled text of this width starts in the text area.
  int DisabledTextX(const TRect& area, int textWidth) const;

  TqzSkinData* skinData_ = nullptr;
  std::string skinDataName_ = "edit";
  TColor defaultColor_ = clWindow;
  std::unique_ptr<TFont> defaultFont_;
  bool useSkinFont_ = true;
  int defaultWidth_ = 0, defaultHeight_ = 0;
  bool buttonMode_ = false;
  bool alphaBlend_ = false;
  uint8_t alphaBlendValue_ = 0;
  TCustomImageList* images_ = nullptr;
  int buttonImageIndex_ = -1;
  int leftImage_[3] = {-1, -1, -1};
  int rightImage_[3] = {-1, -1, -1};

  int skinIndex_ = -1;
  TqzDataSkinEditControl* data_ = nullptr;
  TBitmap* picture_ = nullptr;
  bool mouseIn_ = false;
  bool buttonHot_ = false, buttonDown_ = false;
  bool leftHot_ = false, leftDown_ = false, rightHot_ = false, rightDown_ = false;
};

class TqzSkinEdit : public TqzSkinCustomEdit {
  QZ_CLASS(TqzSkinEdit, TqzSkinCustomEdit)
 public:
  explicit TqzSkinEdit(TComponent* AOwner) : TqzSkinCustomEdit(AOwner) {}
};

class TqzSkinNumEdit : public TqzCustomEdit {
  QZ_CLASS(TqzSkinNumEdit, TqzCustomEdit)
 public:
  explicit TqzSkinNumEdit(TComponent* AOwner);

  bool Float() const { return float_; }
  void SetFloat(bool v) { float_ = v; }
  bool EditorEnabled() const { return editable_; }
  void SetEditorEnabled(bool v) { editable_ = v; }
  // The owner's callbacks (a spin control steps its value with them).
  std::function<void()> OnUpClick, OnDownClick, OnMouseEnterOwner, OnMouseLeaveOwner;
  // Refused characters beep; counted for whoever wants to know.
  int BeepCount() const { return beeps_; }

  // Whether the character may be typed now.
  bool IsValidChar(char32_t key) const;
  // The locale's decimal separator.
  static char32_t DecimalSeparator() { return U'.'; }

 protected:
  void KeyPress(char32_t& key) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void Dispatch(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;

 private:
  bool float_ = false;
  bool editable_ = true;
  int beeps_ = 0;
};

}  // namespace qz
