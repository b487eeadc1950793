// The skinned folder dialog component: a non-visual component whose Execute
// shows a modal folder picker (TqzSelDirDlgForm, SelDirDlgForm.h) built
// anew for each call and freed before it returns, also when anything
// fails.
//
//   auto* dlg = new TqzSkinSelectDirectoryDialog(form);
//   dlg->SetSkinData(skin); dlg->SetCtrlSkinData(skin);
//   if (dlg->Execute()) use(dlg->Directory);
#pragma once

#include <memory>
#include <string>

#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/graphics/Font.h"
#include "skin/dialogs/SelDirDlgForm.h"

namespace qz {

class TqzSkinData;
class TCustomImageList;

class TqzSkinSelectDirectoryDialog : public TComponent {
  QZ_CLASS(TqzSkinSelectDirectoryDialog, TComponent)
 public:
  explicit TqzSkinSelectDirectoryDialog(TComponent* AOwner);
  ~TqzSkinSelectDirectoryDialog() override;

  // ---- published
  std::string Title = "Select folder";
  // In: the folder selected at the start (when it exists); out: the
  // chosen folder.
  std::string Directory;
  bool ShowToolBar = false;
  TCustomImageList* ToolBarImageList() const { return toolBarImageList_; }
  void SetToolBarImageList(TCustomImageList* v) { SetReference(toolBarImageList_, v); }
  int ToolButtonImageIndex = 0;
  bool ToolButtonsTransparent = false;
  bool TreeShowLines = true;
  TCustomImageList* TreeButtonImageList() const { return treeButtonImageList_; }
  void SetTreeButtonImageList(TCustomImageList* v) { SetReference(treeButtonImageList_, v); }
  int TreeButtonExpandImageIndex = 0;
  int TreeButtonNoExpandImageIndex = 1;
  // The client size (below 1: 350 x 350); written back when the window
  // closes, by OK or Cancel.
  int DialogWidth = 0, DialogHeight = 0;
  int DialogMinWidth = 0, DialogMinHeight = 0;
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 200;
  bool AlphaBlendAnimation = false;
  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* v) { SetReference(skinData_, v); }
  TqzSkinData* CtrlSkinData() const { return ctrlSkinData_; }
  void SetCtrlSkinData(TqzSkinData* v) { SetReference(ctrlSkinData_, v); }
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  void SetDefaultFont(const TFont& f) { defaultFont_->Assign(f); }
  // Raised before the window is built and after it closed.
  TNotifyEvent OnShow, OnClose;

  // Shows the window; true when the user pressed OK (Directory then holds
  // the selected folder). False also when a handler freed the component.
  bool Execute();

  // What the window is built from.
  TqzSelDirSettings Settings() const;
  // The window while Execute shows it (null otherwise).
  TqzSelDirDlgForm* Form() const { return form_; }

  // Picks the start selection in a built window: Directory when set and
  // a folder is there, else the computer folder.
  void SelectStart(TqzSelDirDlgForm& form) const;
  // Sets the client size of a built window from DialogWidth and
  // DialogHeight, raised to the controller's minimum window size when the
  // frame skin is loaded.
  void SizeForm(TqzSelDirDlgForm& form) const;

 private:
  TCustomImageList* toolBarImageList_ = nullptr;
  TCustomImageList* treeButtonImageList_ = nullptr;
  TqzSkinData* skinData_ = nullptr;
  TqzSkinData* ctrlSkinData_ = nullptr;
  std::unique_ptr<TFont> defaultFont_;
  TqzSelDirDlgForm* form_ = nullptr;
};

}  // namespace qz
