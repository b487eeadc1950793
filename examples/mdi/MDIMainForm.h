// The MDI example's main form: a skinned MDI form with a menu bar (File,
// Window), a tabs bar with one tab per document (its add button makes a new
// one, close buttons close them, tabs that do not fit are offered by the
// menu button at the bar's end), skinned documents, and a tray icon to
// minimise into.
//
// The skins are the caller's: `frameSkin` dresses the MDI form's frame,
// `barsSkin` its menu bar and tabs bar (a skin with a tab description),
// `childSkin` the documents. The demo tour shows this same form.
#pragma once

#include <string>

#include "host/ui/Forms.h"

namespace qz {
class TqzOrvane;
class TqzSkinData;
class TqzSkinMDITabsBar;
class TqzSkinMainMenu;
class TqzSkinMainMenuBar;
class TqzTrayIcon;
class TMenuItem;
}  // namespace qz

namespace mdiexample {

class TMDIMainForm : public qz::TForm {
 public:
  TMDIMainForm(qz::TComponent* owner, qz::TqzSkinData* frameSkin, qz::TqzSkinData* barsSkin,
               qz::TqzSkinData* childSkin);

  // A new document, shown and active.
  qz::TForm* NewChild();

  qz::TqzOrvane* Orvane = nullptr;
  qz::TqzSkinMDITabsBar* Tabs = nullptr;
  qz::TqzSkinMainMenu* Menu = nullptr;
  qz::TqzSkinMainMenuBar* MenuBar = nullptr;
  qz::TqzTrayIcon* Tray = nullptr;
  qz::TMenuItem* WindowMenuItem = nullptr;

 private:
  qz::TMenuItem* AddItem(qz::TMenuItem* parent, const std::string& caption);
  qz::TqzSkinData* childSkin_;
  int made_ = 0;
};

}  // namespace mdiexample
