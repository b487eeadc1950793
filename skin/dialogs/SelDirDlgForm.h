// The window of the folder dialog, built in code: an optional tool bar with
// a path edit and a new-folder speed button, the shell folder tree with two
// skinned scroll bars in a framed panel, and OK and Cancel at the bottom.
// BuildSelDirForm returns it unshown; TqzSkinSelectDirectoryDialog
// (SelectDirectoryDialog.h) shows one modally per call.
#pragma once

#include <memory>
#include <string>

#include "host/graphics/Font.h"
#include "host/ui/Forms.h"

namespace qz {

class TqzSkinData;
class TqzOrvane;
class TqzSkinToolBar;
class TqzSkinSpeedButton;
class TqzSkinEdit;
class TqzSkinPanel;
class TqzSkinScrollBar;
class TqzSkinButton;
class TqzSkinDirTreeView;
class TCustomImageList;
class TImageList;

// Sizes of the window's parts (pixels).
inline constexpr int kSelDirDefaultClient = 350;
inline constexpr int kSelDirMinClient = 300;
inline constexpr int kSelDirBottomHeight = 50;
inline constexpr int kSelDirBarSize = 19;
inline constexpr int kSelDirEditGap = 5;

// What the window takes from the dialog component.
struct TqzSelDirSettings {
  std::string Title = "Select folder";
  bool ShowToolBar = false;
  TCustomImageList* ToolBarImageList = nullptr;
  int ToolButtonImageIndex = 0;
  bool ToolButtonsTransparent = false;
  bool TreeShowLines = true;
  TCustomImageList* TreeButtonImageList = nullptr;
  int TreeButtonExpandImageIndex = 0;
  int TreeButtonNoExpandImageIndex = 1;
  int DialogMinWidth = 0, DialogMinHeight = 0;
  bool AlphaBlend = false, AlphaBlendAnimation = false;
  uint8_t AlphaBlendValue = 200;
  TqzSkinData* SkinData = nullptr;
  TqzSkinData* CtrlSkinData = nullptr;
  TFontData DefaultFont;
};

// A caption of the dialogs: the skin's resource string under `key` when
// the skin has one that is not empty, else `fallback`.
std::string SelDirString(const TqzSkinData* skin, const char* key, const char* fallback);

class TqzSelDirDlgForm : public TForm {
  QZ_CLASS(TqzSelDirDlgForm, TForm)
 public:
  explicit TqzSelDirDlgForm(TComponent* AOwner);
  ~TqzSelDirDlgForm() override;

  TqzOrvane* Orvane() const { return orvane_; }
  // Null without the tool bar.
  TqzSkinToolBar* ToolBar() const { return toolBar_; }
  TqzSkinSpeedButton* NewFolderButton() const { return newFolderButton_; }
  TqzSkinEdit* PathEdit() const { return pathEdit_; }
  TqzSkinPanel* TreePanel() const { return treePanel_; }
  TqzSkinScrollBar* VScrollBar() const { return vBar_; }
  TqzSkinScrollBar* HScrollBar() const { return hBar_; }
  TqzSkinDirTreeView* Tree() const { return tree_; }
  TqzSkinPanel* BottomPanel() const { return bottomPanel_; }
  TqzSkinButton* OKButton() const { return okButton_; }
  TqzSkinButton* CancelButton() const { return cancelButton_; }
  TImageList* BuiltInImages() const { return images_; }
  TqzSkinData* CtrlSkinData() const { return ctrlSkinData_; }
  bool ShowToolBar() const { return showToolBar_; }

  // The new folder's path in the selected folder ("" when none can be
  // made there: no selection, or not a folder of the file system).
  std::string NewFolderPath() const;
  // Makes the folder "New Folder" (or the skin's word) in the selected
  // folder and lists its children again. Nothing when there is no
  // selection, it is not a file-system folder or the folder exists already
  // (no numbering). True when a folder was made; throws EShellError when
  // making it fails.
  bool CreateNewFolder();
  // Enter in the path edit: an existing folder is selected and expanded;
  // anything else leaves the selection as it is. A relative path is taken
  // from the desktop folder.
  bool GoToTypedPath();
  // Whether the edit shows the selected folder's path.
  bool TypedPathIsSelected() const;

 protected:
  // Enter in the path edit on a path other than the selected folder's goes
  // there instead of pressing OK.
  void CMDialogKey(TMessage& m) override;

 private:
  friend class TqzSelDirFormBuilder;
  void TreeChanged();

  TqzOrvane* orvane_ = nullptr;
  TqzSkinToolBar* toolBar_ = nullptr;
  TqzSkinSpeedButton* newFolderButton_ = nullptr;
  TqzSkinEdit* pathEdit_ = nullptr;
  TqzSkinPanel* treePanel_ = nullptr;
  TqzSkinScrollBar* vBar_ = nullptr;
  TqzSkinScrollBar* hBar_ = nullptr;
  TqzSkinDirTreeView* tree_ = nullptr;
  TqzSkinPanel* bottomPanel_ = nullptr;
  TqzSkinButton* okButton_ = nullptr;
  TqzSkinButton* cancelButton_ = nullptr;
  TImageList* images_ = nullptr;
  TqzSkinData* ctrlSkinData_ = nullptr;
  bool showToolBar_ = false;
};

// Builds the window (steps 1 to 5 of showing the dialog; the caller picks
// the start selection and the size).
std::unique_ptr<TqzSelDirDlgForm> BuildSelDirForm(const TqzSelDirSettings& settings);

}  // namespace qz
