#include "MDIMainForm.h"

#include <string>

#include "host/ui/Application.h"
#include "host/ui/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinMDITabsBar.h"
#include "skin/form/SkinMainMenu.h"
#include "skin/form/TrayIcon.h"

using namespace qz;

namespace mdiexample {

TMDIMainForm::TMDIMainForm(TComponent* owner, TqzSkinData* frameSkin, TqzSkinData* barsSkin,
                           TqzSkinData* childSkin)
    : TForm(owner), childSkin_(childSkin) {
  SetName("MDIMainForm");
  SetCaption("MDI example");
  SetBounds(60, 40, 900, 600);
  Orvane = new TqzOrvane(this);
  Orvane->SetSkinData(frameSkin);
  Orvane->SetMenusSkinData(barsSkin);
  SetFormStyle(fsMDIForm);

  // The menu bar: File (New, Close, Exit) and Window, which lists the documents.
  Menu = new TqzSkinMainMenu(this);
  Menu->SetSkinData(barsSkin);
  TMenuItem* file = AddItem(Menu->Items(), "&File");
  AddItem(file, "&New")->OnClick = [this](TObject*) { NewChild(); };
  AddItem(file, "&Close")->OnClick = [this](TObject*) {
    if (TCustomForm* child = ActiveMDIChild()) child->Close();
  };
  AddItem(file, "E&xit")->OnClick = [this](TObject*) { Close(); };
  WindowMenuItem = AddItem(Menu->Items(), "&Window");
  AddItem(WindowMenuItem, "&Cascade")->OnClick = [this](TObject*) { Cascade(); };
  AddItem(WindowMenuItem, "&Tile")->OnClick = [this](TObject*) { Tile(); };
  AddItem(WindowMenuItem, "-");
  SetWindowMenu(WindowMenuItem);
  MenuBar = new TqzSkinMainMenuBar(this);
  MenuBar->SetParent(this);
  MenuBar->SetSkinData(barsSkin);
  MenuBar->SetOrvane(Orvane);
  MenuBar->SetMainMenu(Menu);
  Orvane->SetMainMenuBar(MenuBar);

  // The tabs bar below the menu bar: the demo skin calls its tab
  // description "mainpage", a skin of its own would call it "tab".
  Tabs = new TqzSkinMDITabsBar(this);
  Tabs->SetParent(this);
  Tabs->SetTop(MenuBar->Top() + MenuBar->Height());
  if (barsSkin && barsSkin->FindControlIndex("tab") < 0 && barsSkin->FindControlIndex("mainpage") >= 0)
    Tabs->SetSkinDataName("mainpage");
  Tabs->SetSkinData(barsSkin);
  Tabs->SetShowAddButton(true);
  Tabs->SetShowCloseButtons(true);
  Tabs->SetShowChildIcon(true);
  Tabs->SetDefaultTabWidth(150);
  Tabs->SetMinTabWidth(120);
  Tabs->SetDblClickChildMove(true);
  Tabs->OnAddButtonClick = [this](TObject*) { NewChild(); };
  Orvane->SetMDITabsBar(Tabs);

  // A tray icon with the controller's tray menu (restore, close); the
  // caption's tray button hides the program into it, and only when a tray
  // is there to show it.
  Tray = new TqzTrayIcon(this);
  Tray->SetHint("qzskin MDI example");
  Tray->SetShowHint(true);
  Orvane->SetTrayIcon(Tray);
  Orvane->SetBorderIcons({biSystemMenu, biMinimize, biMaximize, biMinimizeToTray});
}

TMenuItem* TMDIMainForm::AddItem(TMenuItem* parent, const std::string& caption) {
  auto* item = new TMenuItem(this);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

TForm* TMDIMainForm::NewChild() {
  ++made_;
  auto* child = new TForm(Application);
  child->SetName("Document" + std::to_string(made_));
  child->SetCaption("Document " + std::to_string(made_));
  child->SetBounds(0, 0, 360, 240);
  auto* orvane = new TqzOrvane(child);
  orvane->SetSkinData(childSkin_);
  child->SetFormStyle(fsMDIChild);  // shown and active in the MDI client
  return child;
}

}  // namespace mdiexample
