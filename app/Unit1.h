// The main window: a skinned window in client mode dressed by "skin.ini";
// it carries both embedded skins and their skin data components. Three
// toggle buttons act as the tab strip of two page controls whose own tabs
// are hidden.
#pragma once

#include "host/graphics/Canvas.h"
#include "host/ui/Forms.h"

namespace qz {

class TqzOrvane;
class TqzSkinData;
class TqzCompressedStoredSkin;
class TqzSkinButton;
class TqzSkinMainMenu;
class TqzSkinMainMenuBar;
class TqzSkinPageControl;
class TqzSkinStdLabel;
class TqzSkinListBox;
class TqzSkinLabel;
class TqzSkinMessage;
class TqzSkinOpenDialog;
class TqzSkinSelectDirectoryDialog;
class TqzTrayIcon;

class TForm1 : public TForm {
  QZ_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* AOwner);

  TqzOrvane* qzOrvane1 = nullptr;
  TqzCompressedStoredSkin* qzCompressedStoredSkin1 = nullptr;
  TqzSkinData* qzSkinData1 = nullptr;
  TqzSkinData* qzSkinData2 = nullptr;
  TqzCompressedStoredSkin* qzCompressedStoredSkin2 = nullptr;
  TqzSkinMessage* qzSkinMessage1 = nullptr;
  TqzSkinOpenDialog* qzSkinOpenDialog1 = nullptr;
  TqzSkinSelectDirectoryDialog* qzSkinSelectDirectoryDialog1 = nullptr;
  TqzTrayIcon* qzTrayIcon1 = nullptr;
  TqzSkinMainMenuBar* qzSkinMainMenuBar1 = nullptr;
  TqzSkinMainMenu* qzSkinMainMenu1 = nullptr;
  TqzSkinButton* qzSkinButton1 = nullptr;  // "Add file"
  TqzSkinButton* qzSkinButton2 = nullptr;  // "Edit"
  TqzSkinButton* qzSkinButton3 = nullptr;  // "Convert"
  TqzSkinPageControl* qzSkinPageControl1 = nullptr;
  TqzSkinPageControl* qzSkinPageControl2 = nullptr;
  TqzSkinButton* InfoButton = nullptr;
  TqzSkinButton* qzSkinButton10 = nullptr;  // "Show message"
  TqzSkinButton* qzSkinButton11 = nullptr;  // "Show dialog form"
  TqzSkinButton* qzSkinButton12 = nullptr;  // "Show open dialog"
  TqzSkinButton* qzSkinButton13 = nullptr;  // "Show select path dialog"
  TqzSkinStdLabel* InfoLabel = nullptr;
  TqzSkinLabel* InfoName = nullptr;
  TqzSkinListBox* listbox1 = nullptr;  // on the "Edit" page

  // How far the caption of a pressed page button moves up.
  static constexpr int kDownCaptionLift = 20;

  void FormCreate(TObject* Sender);
  void qzOrvane1ChangeSkinData(TObject* Sender);
  void qzSkinButton1Click(TObject* Sender);
  void qzSkinButton2Click(TObject* Sender);
  void qzSkinButton3Click(TObject* Sender);
  void qzSkinPageControl1Change(TObject* Sender);
  void qzSkinButton1Paint(TObject* Sender, TCanvas& Cnvs, TRect R, bool ADown, bool AMouseIn,
                          bool& DrawDefault);
  void qzSkinButton2Paint(TObject* Sender, TCanvas& Cnvs, TRect R, bool ADown, bool AMouseIn,
                          bool& DrawDefault);
  void qzSkinButton3Paint(TObject* Sender, TCanvas& Cnvs, TRect R, bool ADown, bool AMouseIn,
                          bool& DrawDefault);
  void qzSkinButton10Click(TObject* Sender);
  void qzSkinButton11Click(TObject* Sender);
  void qzSkinButton12Click(TObject* Sender);
  void qzSkinButton13Click(TObject* Sender);

 private:
  void RegisterHandlers();
  // Puts the caption rectangle of a page button where its down state wants it.
  static void LiftCaptionWhileDown(TqzSkinButton& button, bool down);
  // Sets `button` down and runs its click handler, unless it is down already.
  // False when that button was not the one to follow.
  bool FollowPage(TqzSkinButton* button, void (TForm1::*handler)(TObject*));
};

}  // namespace qz
