// The second window ("Test form2"): a skinned window in frame mode dressed
// by "dialog.ini" of the main window's second skin data.
#pragma once

#include "host/ui/Forms.h"

namespace qz {

class TqzOrvane;

class TForm2 : public TForm {
  QZ_CLASS(TForm2, TForm)
 public:
  explicit TForm2(TComponent* AOwner);

  TqzOrvane* qzOrvane1 = nullptr;
};

}  // namespace qz
