// The main window. For now an example of the host framework: a form read
// from its embedded form resource with a panel, labels and buttons.
#pragma once

#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

namespace qz {

class TForm1 : public TForm {
  QZ_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* AOwner);

  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* CountLabel = nullptr;
  TButton* Button1 = nullptr;
  TButton* CloseButton = nullptr;

 private:
  void Button1Click(TObject* Sender);
  void CloseButtonClick(TObject* Sender);
  int clicks_ = 0;
};

}  // namespace qz
