// The skinned open dialog component: Execute shows a modal skinned
// file-open window (TqzOpenDlgForm, OpenDlgForm.h) built anew for the
// call and returns whether the user confirmed a file; FileName and Files
// then hold the result.
//
//   auto* dlg = new TqzSkinOpenDialog(form);
//   dlg->SetSkinData(skin); dlg->SetCtrlSkinData(skin);
//   dlg->Filter = "Videos|*.mp4;*.mkv|All files|*";
//   if (dlg->Execute()) Open(dlg->FileName());
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/components/Component.h"
#include "host/components/Strings.h"
#include "host/graphics/Font.h"
#include "host/ui/ImgList.h"
#include "skin/dialogs/OpenDlgForm.h"

namespace qz {

class TqzSkinData;
class TCustomImageList;

class TqzSkinOpenDialog : public TComponent {
  QZ_CLASS(TqzSkinOpenDialog, TComponent)
 public:
  explicit TqzSkinOpenDialog(TComponent* AOwner);
  ~TqzSkinOpenDialog() override;

  // ---- published
  std::string Title = "Open file";
  std::string InitialDir;
  const std::string& FileName() const { return fileName_; }
  // While the window is open this also sets the file-name edit's text.
  void SetFileName(const std::string& V);
  std::string Filter = "All files|*.*";
  int FilterIndex = 1;
  std::string DefaultExt;
  bool CheckFileExists = true;
  bool MultiSelection = false;
  bool ShowHiddenFiles = false;
  bool ShowThumbnails = true;
  bool OverwritePromt = false;
  TCustomImageList* ToolBarImageList() const { return toolBarImageList_; }
  void SetToolBarImageList(TCustomImageList* V) { SetReference(toolBarImageList_, V); }
  bool ToolButtonsTransparent = false;
  int DialogWidth = 0, DialogHeight = 0;
  int DialogMinWidth = 0, DialogMinHeight = 0;
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 225;
  bool AlphaBlendAnimation = false;
  bool CtrlAlphaBlend = false;
  uint8_t CtrlAlphaBlendValue = 225;
  bool CtrlAlphaBlendAnimation = false;
  std::string LVHeaderSkinDataName = "header";
  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* V) { SetReference(skinData_, V); }
  TqzSkinData* CtrlSkinData() const { return ctrlSkinData_; }
  void SetCtrlSkinData(TqzSkinData* V) { SetReference(ctrlSkinData_, V); }
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  void SetDefaultFont(const TFont& V) { defaultFont_->Assign(V); }
  TNotifyEvent OnShow, OnClose, OnFolderChange;

  // ---- public
  // The full paths of the files chosen by the last confirmed Execute.
  TStringList& Files() { return *files_; }
  const TStringList& Files() const { return *files_; }
  // The view mode kept from one Execute to the next (TqzOpenViewMode).
  int ViewMode() const { return viewMode_; }
  void SetViewMode(int V) { viewMode_ = V < 0 || V >= kOpenViewModeCount ? qzvmList : V; }
  // The window while Execute runs (null otherwise).
  TqzOpenDlgForm* Window() const { return window_.Get(); }
  // For tests and tools: the places and the program folder the window uses.
  std::shared_ptr<const TPlaces> Places;
  std::string ProgramDir;

  bool Execute();

  TqzOpenDialogSettings Settings() const;

 private:
  // What the window leaves behind, written back also on Cancel.
  void StoreState(TqzOpenDlgForm& form);

  std::string fileName_;
  TCustomImageList* toolBarImageList_ = nullptr;
  TqzSkinData* skinData_ = nullptr;
  TqzSkinData* ctrlSkinData_ = nullptr;
  std::unique_ptr<TFont> defaultFont_;
  std::unique_ptr<TStringList> files_;
  int viewMode_ = qzvmList;
  TComponentRef<TqzOpenDlgForm> window_;
};

}  // namespace qz
