#include "app/Unit1.h"

#include <string>

namespace qz {

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  RegisterHandler("Button1Click", TNotifyEvent([this](TObject* s) { Button1Click(s); }));
  RegisterHandler("CloseButtonClick", TNotifyEvent([this](TObject* s) { CloseButtonClick(s); }));
  BindField("Panel1", Panel1);
  BindField("Label1", Label1);
  BindField("CountLabel", CountLabel);
  BindField("Button1", Button1);
  BindField("CloseButton", CloseButton);
  InitFromResource();
}

void TForm1::Button1Click(TObject*) {
  ++clicks_;
  CountLabel->SetCaption("Clicked " + std::to_string(clicks_) + (clicks_ == 1 ? " time" : " times"));
}

void TForm1::CloseButtonClick(TObject*) { Close(); }

QZ_PUBLISHED(TForm1, TForm) {
  b.Factory([](TComponent* owner) { return new TForm1(owner); });
}

}  // namespace qz
