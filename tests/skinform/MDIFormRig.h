// A skinned MDI form (main skin, frame mode) with a skinned menu bar whose
// menu has a "Window" item, and skinned children (dialog skin).
#pragma once

#include <string>

#include "host/ui/MDI.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/form/SkinMainMenu.h"
#include "skin/popups/SkinMenu.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {

class MDIFormTest : public OrvaneTest {
 protected:
  void MakeMain() {
    s_ = MakeSkinned(MainSkin(), Rect(0, 0, 1600, 1200), false, false);
    main_ = s_.Form;
    main_->SetName("MainForm");
    main_->SetCaption("Main");
    main_->SetFormStyle(fsMDIForm);
    menu_ = new TqzSkinMainMenu(main_);
    window_ = new TMenuItem(main_);
    window_->SetName("WindowItem");
    window_->SetCaption("Window");
    menu_->Items()->Add(window_);
    main_->SetWindowMenu(window_);
    bar_ = new TqzSkinMainMenuBar(main_);
    bar_->SetParent(main_);
    bar_->SetSkinData(s_.Skin);
    bar_->SetOrvane(s_.Orvane);
    bar_->SetMainMenu(menu_);
    s_.Orvane->SetMainMenuBar(bar_);
    main_->Show();
    Pump();
  }
  TSkinnedForm Child(const std::string& name, TRect bounds = Rect(0, 0, 220, 160)) {
    auto* c = new TForm(Application);
    c->SetName(name);
    c->SetCaption(name + " caption");
    c->SetBoundsRect(bounds);
    auto* data = new TqzSkinData(c);
    auto* o = new TqzOrvane(c);
    o->SetSkinData(data);
    data->LoadFromCompressedData(DialogSkin().Compressed);
    c->SetFormStyle(fsMDIChild);
    Pump();
    return {c, data, o};
  }
  TMDIClient& Client() const { return *main_->MDIClient(); }
  TqzMDIScrollBars& Bars() const { return *s_.Orvane->MDIScrollBars(); }
  TqzSkinScrollBar& HBar() const { return *Bars().HorzBar(); }
  TqzSkinScrollBar& VBar() const { return *Bars().VertBar(); }
  std::string MainCaption() const { return s_.Orvane->CaptionContext().Text; }

  TSkinnedForm s_{};
  TForm* main_ = nullptr;
  TqzSkinMainMenu* menu_ = nullptr;
  TqzSkinMainMenuBar* bar_ = nullptr;
  TMenuItem* window_ = nullptr;
};

}  // namespace qz::testing
