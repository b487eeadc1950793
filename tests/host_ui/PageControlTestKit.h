// The page control both host page control test files build on: a shown
// form with a 300 x 200 page control at (10, 10), fixed 60 x 20 tabs and
// sheets captioned "Page 0", "Page 1", ...
#pragma once

#include <string>
#include <vector>

#include "UiTestSupport.h"

#include "host/ui/ComCtrls.h"

namespace qz::testing {

class PageControlKit : public UiTest {
 protected:
  void BuildPageControl(int sheets, TRect formBounds) {
    form = MakeForm(formBounds);
    pc = new TPageControl(form);
    pc->SetParent(form);
    pc->SetBounds(10, 10, 300, 200);
    pc->SetTabWidth(60);
    pc->SetTabHeight(20);
    for (int i = 0; i < sheets; ++i) {
      auto* sheet = new TTabSheet(form);
      sheet->SetCaption("Page " + std::to_string(i));
      sheet->SetPageControl(pc);
      pages.push_back(sheet);
    }
  }

  TForm* form = nullptr;
  TPageControl* pc = nullptr;
  std::vector<TTabSheet*> pages;
};

}  // namespace qz::testing
