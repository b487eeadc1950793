// Plain standard controls: TLabel (window-less text) and TButton (a push
// button drawn in system colours).
#pragma once

#include <string>

#include "host/ui/Controls.h"

namespace qz {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;
enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;
QZ_ENUM(TAlignment, "taLeftJustify", "taRightJustify", "taCenter");
QZ_ENUM(TTextLayout, "tlTop", "tlCenter", "tlBottom");

// True when `caption` marks `ch` as its accelerator ("&x"; "&&" is a literal &).
bool IsAccel(char32_t ch, const std::string& caption);

// Draws a raised or sunken edge of `width` pixels and shrinks `r` inside it.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width);

class TLabel : public TGraphicControl {
  QZ_CLASS(TLabel, TGraphicControl)
 public:
  explicit TLabel(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* v) { SetReference(focusControl_, v); }

  // With AutoSize the size always follows the text.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // DrawText flags the label uses for its text.
  uint32_t TextFlags() const;
  void AdjustBounds();

 protected:
  void Paint() override;
  void Loaded() override;
  void CMTextChanged(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void Dispatch(TMessage& m) override;

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool autoSize_ = true;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
  bool adjusting_ = false;
};

class TButton : public TCustomControl {
  QZ_CLASS(TButton, TCustomControl)
 public:
  explicit TButton(TComponent* AOwner);

  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  bool Pressed() const { return pressed_; }
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
  void MouseMove(TShiftState s, int x, int y) override;
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  void CMDialogKey(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  void Dispatch(TMessage& m) override;

 private:
  void SetPressed(bool v);
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
  bool pressed_ = false;
  bool spaceDown_ = false;
};

}  // namespace qz
