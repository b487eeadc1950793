#include "app/Unit2.h"

#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinListBox.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinMenuButton.h"

namespace qz {

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner) {
  BindField("qzOrvane1", qzOrvane1);
  BindField("qzSkinButton1", qzSkinButton1);
  BindField("qzSkinButton2", qzSkinButton2);
  BindField("qzSkinCheckRadioBox1", qzSkinCheckRadioBox1);
  BindField("qzSkinCheckRadioBox2", qzSkinCheckRadioBox2);
  BindField("qzSkinCheckRadioBox3", qzSkinCheckRadioBox3);
  BindField("qzSkinStdLabel1", qzSkinStdLabel1);
  BindField("qzSkinLabel1", qzSkinLabel1);
  BindField("qzSkinBevel1", qzSkinBevel1);
  BindField("qzSkinPanel1", qzSkinPanel1);
  BindField("qzSkinPanel2", qzSkinPanel2);
  BindField("qzSkinGroupBox1", qzSkinGroupBox1);
  BindField("qzSkinTrackBar1", qzSkinTrackBar1);
  BindField("qzSkinMenuButton1", qzSkinMenuButton1);
  BindField("qzSkinEdit1", qzSkinEdit1);
  BindField("qzSkinComboBox1", qzSkinComboBox1);
  BindField("qzSkinListBox1", qzSkinListBox1);
  InitFromResource();
}

QZ_PUBLISHED(TForm2, TForm) {
  b.Factory([](TComponent* owner) { return new TForm2(owner); });
}

}  // namespace qz
