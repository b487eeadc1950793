// The second window ("Test form2"): a skinned window in frame mode dressed
// by "dialog.ini" of the main window's second skin data, showing one control
// of each kind the dialog skin describes. It has no handlers.
#pragma once

#include "host/ui/Forms.h"

namespace qz {

class TqzOrvane;
class TqzSkinButton;
class TqzSkinCheckRadioBox;
class TqzSkinStdLabel;
class TqzSkinLabel;
class TqzSkinBevel;
class TqzSkinPanel;
class TqzSkinGroupBox;
class TqzSkinTrackBar;
class TqzSkinMenuButton;
class TqzSkinEdit;
class TqzSkinComboBox;
class TqzSkinListBox;

class TForm2 : public TForm {
  QZ_CLASS(TForm2, TForm)
 public:
  explicit TForm2(TComponent* AOwner);

  TqzOrvane* qzOrvane1 = nullptr;
  TqzSkinButton* qzSkinButton1 = nullptr;           // "button"
  TqzSkinButton* qzSkinButton2 = nullptr;           // "resizebutton", 113 x 73
  TqzSkinCheckRadioBox* qzSkinCheckRadioBox1 = nullptr;  // check box
  TqzSkinCheckRadioBox* qzSkinCheckRadioBox2 = nullptr;  // radio button, group 1
  TqzSkinCheckRadioBox* qzSkinCheckRadioBox3 = nullptr;  // radio button, group 1
  TqzSkinStdLabel* qzSkinStdLabel1 = nullptr;
  TqzSkinLabel* qzSkinLabel1 = nullptr;
  TqzSkinBevel* qzSkinBevel1 = nullptr;
  TqzSkinPanel* qzSkinPanel1 = nullptr;             // "panel"
  TqzSkinPanel* qzSkinPanel2 = nullptr;             // "roundpanel"
  TqzSkinGroupBox* qzSkinGroupBox1 = nullptr;
  TqzSkinTrackBar* qzSkinTrackBar1 = nullptr;
  TqzSkinMenuButton* qzSkinMenuButton1 = nullptr;  // "toolmenubutton", no menu
  TqzSkinEdit* qzSkinEdit1 = nullptr;
  TqzSkinComboBox* qzSkinComboBox1 = nullptr;      // items "1" .. "9"
  TqzSkinListBox* qzSkinListBox1 = nullptr;        // items "1" .. "9"
};

}  // namespace qz
