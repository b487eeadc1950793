#include "app/Unit1.h"

#include "app/Unit2.h"
#include "host/ui/Application.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinListBox.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinMainMenu.h"
#include "skin/form/TrayIcon.h"
#include "skin/dialogs/SelectDirectoryDialog.h"
#include "skin/dialogs/SkinMessage.h"
#include "skin/dialogs/SkinOpenDialog.h"

namespace qz {

namespace {

// The second window, created by the program after the main one.
TForm2* FindSecondWindow() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* form = dynamic_cast<TForm2*>(Screen->Forms(i))) return form;
  return nullptr;
}

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  RegisterHandlers();
  BindField("qzOrvane1", qzOrvane1);
  BindField("qzCompressedStoredSkin1", qzCompressedStoredSkin1);
  BindField("qzSkinData1", qzSkinData1);
  BindField("qzSkinData2", qzSkinData2);
  BindField("qzCompressedStoredSkin2", qzCompressedStoredSkin2);
  BindField("qzSkinMessage1", qzSkinMessage1);
  BindField("qzSkinOpenDialog1", qzSkinOpenDialog1);
  BindField("qzSkinSelectDirectoryDialog1", qzSkinSelectDirectoryDialog1);
  BindField("qzTrayIcon1", qzTrayIcon1);
  BindField("qzSkinMainMenuBar1", qzSkinMainMenuBar1);
  BindField("qzSkinMainMenu1", qzSkinMainMenu1);
  BindField("qzSkinButton1", qzSkinButton1);
  BindField("qzSkinButton2", qzSkinButton2);
  BindField("qzSkinButton3", qzSkinButton3);
  BindField("qzSkinPageControl1", qzSkinPageControl1);
  BindField("qzSkinPageControl2", qzSkinPageControl2);
  BindField("InfoButton", InfoButton);
  BindField("qzSkinButton10", qzSkinButton10);
  BindField("qzSkinButton11", qzSkinButton11);
  BindField("qzSkinButton12", qzSkinButton12);
  BindField("qzSkinButton13", qzSkinButton13);
  BindField("InfoLabel", InfoLabel);
  BindField("InfoName", InfoName);
  BindField("listbox1", listbox1);
  InitFromResource();
}

void TForm1::RegisterHandlers() {
  auto notify = [this](void (TForm1::*handler)(TObject*)) {
    return TNotifyEvent([this, handler](TObject* s) { (this->*handler)(s); });
  };
  auto paint = [this](void (TForm1::*handler)(TObject*, TCanvas&, TRect, bool, bool, bool&)) {
    return TqzButtonPaintEvent([this, handler](TObject* s, TCanvas& c, TRect r, bool down,
                                               bool in, bool& drawDefault) {
      (this->*handler)(s, c, r, down, in, drawDefault);
    });
  };
  RegisterHandler("FormCreate", notify(&TForm1::FormCreate));
  RegisterHandler("qzOrvane1ChangeSkinData", notify(&TForm1::qzOrvane1ChangeSkinData));
  RegisterHandler("qzSkinButton1Click", notify(&TForm1::qzSkinButton1Click));
  RegisterHandler("qzSkinButton2Click", notify(&TForm1::qzSkinButton2Click));
  RegisterHandler("qzSkinButton3Click", notify(&TForm1::qzSkinButton3Click));
  RegisterHandler("qzSkinPageControl1Change", notify(&TForm1::qzSkinPageControl1Change));
  RegisterHandler("qzSkinButton1Paint", paint(&TForm1::qzSkinButton1Paint));
  RegisterHandler("qzSkinButton2Paint", paint(&TForm1::qzSkinButton2Paint));
  RegisterHandler("qzSkinButton3Paint", paint(&TForm1::qzSkinButton3Paint));
  RegisterHandler("qzSkinButton10Click", notify(&TForm1::qzSkinButton10Click));
  RegisterHandler("qzSkinButton11Click", notify(&TForm1::qzSkinButton11Click));
  RegisterHandler("qzSkinButton12Click", notify(&TForm1::qzSkinButton12Click));
  RegisterHandler("qzSkinButton13Click", notify(&TForm1::qzSkinButton13Click));
}

// The toggle buttons are the only tab strip the user sees. The second page
// control has no handler to bring the buttons along, so it refuses the page
// changes the user asks of it directly (arrow keys, Ctrl+Tab on its hidden
// tab row) and shows only what the buttons choose.
void TForm1::FormCreate(TObject*) {
  qzSkinPageControl1->HideTabs();
  qzSkinPageControl2->HideTabs();
  qzSkinPageControl2->OnChanging = [](TObject*, bool& allowChange) { allowChange = false; };
}

// The controller drops its area bindings before every skin change, so they
// are made again each time; the lifted caption of a pressed "Add file" is
// put back from the first paint on.
void TForm1::qzOrvane1ChangeSkinData(TObject*) {
  qzOrvane1->BindControlToArea("pagearea", qzSkinPageControl1);
  qzOrvane1->BindControlToArea("pagearea2", qzSkinPageControl2);
  if (qzSkinButton1->Down()) qzSkinButton1->NewGeom.NewClRect.Top -= kDownCaptionLift;
}

void TForm1::qzSkinButton1Click(TObject*) {
  InfoLabel->SetCaption("Info:");
  InfoName->SetLeft(43);
  InfoName->SetWidth(305);
  qzSkinPageControl1->SetActivePageIndex(0);
  qzSkinPageControl2->SetActivePageIndex(0);
}

void TForm1::qzSkinButton2Click(TObject*) {
  qzSkinPageControl1->SetActivePageIndex(1);
  qzSkinPageControl2->SetActivePageIndex(1);
}

void TForm1::qzSkinButton3Click(TObject*) {
  InfoLabel->SetCaption("Convert to:");
  InfoName->SetLeft(83);
  InfoName->SetWidth(265);
  qzSkinPageControl1->SetActivePageIndex(2);
  qzSkinPageControl2->SetActivePageIndex(0);
}

bool TForm1::FollowPage(TqzSkinButton* button, void (TForm1::*handler)(TObject*)) {
  if (button->Down()) return false;
  TComponentRef<TForm1> self(this);
  button->SetDown(true);
  if (!self) return true;
  (this->*handler)(button);
  return true;
}

// Keeps the toggle buttons in step when the first page control changes
// page by other means, such as the keyboard.
void TForm1::qzSkinPageControl1Change(TObject*) {
  switch (qzSkinPageControl1->ActivePageIndex()) {
    case 0: FollowPage(qzSkinButton1, &TForm1::qzSkinButton1Click); break;
    case 1: FollowPage(qzSkinButton2, &TForm1::qzSkinButton2Click); break;
    case 2: FollowPage(qzSkinButton3, &TForm1::qzSkinButton3Click); break;
    default: break;
  }
}

void TForm1::LiftCaptionWhileDown(TqzSkinButton& button, bool down) {
  button.NewGeom.NewClRect.Top = button.Geom.ClientRect.Top - (down ? kDownCaptionLift : 0);
}

void TForm1::qzSkinButton1Paint(TObject*, TCanvas&, TRect, bool ADown, bool, bool&) {
  LiftCaptionWhileDown(*qzSkinButton1, ADown);
}

void TForm1::qzSkinButton2Paint(TObject*, TCanvas&, TRect, bool ADown, bool, bool&) {
  LiftCaptionWhileDown(*qzSkinButton2, ADown);
}

void TForm1::qzSkinButton3Paint(TObject*, TCanvas&, TRect, bool ADown, bool, bool&) {
  LiftCaptionWhileDown(*qzSkinButton3, ADown);
}

// A skinned message box dressed by the dialog skin; the answer is not used.
void TForm1::qzSkinButton10Click(TObject*) {
  qzSkinMessage1->ShowCustomMessageDialog("Test message for video converter", "Some caption", nullptr, 0,
                                          {qzmbOK}, 0);
}

void TForm1::qzSkinButton11Click(TObject*) {
  TForm2* form = FindSecondWindow();
  if (form == nullptr) return;
  // A window already on the screen cannot become modal: it comes forward.
  if (form->Visible()) {
    form->Show();
    form->SetFocus();
    return;
  }
  form->ShowModal();
}

// The skinned open dialog; the chosen file is not used.
void TForm1::qzSkinButton12Click(TObject*) {
  if (qzSkinOpenDialog1) qzSkinOpenDialog1->Execute();
}

// The folder dialog dressed by the dialog skin; the chosen folder is not used.
void TForm1::qzSkinButton13Click(TObject*) {
  if (qzSkinSelectDirectoryDialog1) qzSkinSelectDirectoryDialog1->Execute();
}

QZ_PUBLISHED(TForm1, TForm) {
  b.Factory([](TComponent* owner) { return new TForm1(owner); });
}

}  // namespace qz
