// The skinned open dialog's window, built in code: a tool bar (folder
// label, folder combo, Back, Up, New Folder, the view menu button), the
// places buttons on the left, the file list with its two scroll bars, and
// at the bottom the file-name edit, the file-type combo and the Open and
// Cancel buttons. TqzSkinOpenDialog (SkinOpenDialog.h) builds one per
// Execute, shows it modally and frees it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/graphics/Font.h"
#include "host/shell/ShellItem.h"
#include "host/shell/SpecialFolders.h"
#include "host/ui/Forms.h"
#include "skin/dialogs/OpenDialogRules.h"

namespace qz {

class TqzSkinData;
class TqzOrvane;
class TqzSkinPanel;
class TqzSkinToolBar;
class TqzSkinStdLabel;
class TqzSkinButton;
class TqzSkinMenuButton;
class TqzSkinPopupMenu;
class TqzSkinEdit;
class TqzSkinScrollBar;
class TqzSkinFilterComboBox;
class TqzSkinShellComboBox;
class TqzSkinFileListView;
class TqzSystemImages;
class TCustomImageList;
class TImageList;
class TMenuItem;
class TTimer;

// The view modes: the four view styles, then thumbnails of 96, 128 and 256
// pixels shown as icons.
enum TqzOpenViewMode : int {
  qzvmLargeIcons = 0, qzvmSmallIcons, qzvmList, qzvmDetails, qzvmThumbnails, qzvmBigThumbnails,
  qzvmVeryBigThumbnails,
};
inline constexpr int kOpenViewModeCount = 7;
// The thumbnail size of a thumbnail mode (0 for the others).
int ThumbnailSizeOf(int viewMode);

// What the window takes from the dialog component.
struct TqzOpenDialogSettings {
  std::string Title = "Open file";
  std::string FileName;
  std::string InitialDir;
  std::string Filter = "All files|*.*";
  int FilterIndex = 1;
  std::string DefaultExt;
  bool CheckFileExists = true;
  bool MultiSelection = false;
  bool ShowHiddenFiles = false;
  bool ShowThumbnails = true;
  bool OverwritePromt = false;
  TCustomImageList* ToolBarImageList = nullptr;
  bool ToolButtonsTransparent = false;
  int DialogWidth = 0, DialogHeight = 0;
  int DialogMinWidth = 0, DialogMinHeight = 0;
  bool AlphaBlend = false, AlphaBlendAnimation = false;
  uint8_t AlphaBlendValue = 225;
  bool CtrlAlphaBlend = false, CtrlAlphaBlendAnimation = false;
  uint8_t CtrlAlphaBlendValue = 225;
  std::string LVHeaderSkinDataName = "header";
  TqzSkinData* SkinData = nullptr;
  TqzSkinData* CtrlSkinData = nullptr;
  TFontData DefaultFont;
  int ViewMode = qzvmList;
  // The places the folder combo and the virtual folders list (the
  // environment's when not set) and the folder the program lies in.
  std::shared_ptr<const TPlaces> Places;
  std::string ProgramDir;
};

// Sizes of the window's parts (pixels).
inline constexpr int kOpenDefaultWidth = 700, kOpenDefaultHeight = 350;
inline constexpr int kOpenMinClientWidth = 550, kOpenMinClientHeight = 350;
inline constexpr int kOpenToolBarHeight = 25;
inline constexpr int kOpenPlacesWidth = 100, kOpenPlaceHeight = 70;
inline constexpr int kOpenBottomHeight = 80;
inline constexpr int kOpenScrollBarSize = 19;

class TqzOpenDlgForm : public TForm {
  QZ_CLASS(TqzOpenDlgForm, TForm)
 public:
  explicit TqzOpenDlgForm(TComponent* AOwner);
  ~TqzOpenDlgForm() override;

  // Builds the controls and applies the settings: everything Execute does
  // before showing the window.
  void Build(const TqzOpenDialogSettings& settings);

  // ---- the parts
  TqzOrvane* Orvane() const { return orvane_; }
  TqzSkinToolBar* ToolBar() const { return toolBar_; }
  TqzSkinStdLabel* LookInLabel() const { return lookIn_; }
  TqzSkinShellComboBox* FolderCombo() const { return folderCombo_; }
  TqzSkinButton* BackButton() const { return back_; }
  TqzSkinButton* UpButton() const { return up_; }
  TqzSkinButton* NewFolderButton() const { return newFolder_; }
  TqzSkinMenuButton* ViewButton() const { return viewButton_; }
  TqzSkinPopupMenu* ViewMenu() const { return viewMenu_; }
  TMenuItem* ViewMenuItem(int mode) const;
  TqzSkinPanel* PlacesPanel() const { return places_; }
  TqzSkinButton* PlaceButton(int i) const { return placeButtons_.at(size_t(i)); }
  // Right of the places: the list panel above the bottom panel.
  TqzSkinPanel* ClientPanel() const { return client_; }
  TqzSkinPanel* ListPanel() const { return listPanel_; }
  TqzSkinScrollBar* HScrollBar() const { return hBar_; }
  TqzSkinScrollBar* VScrollBar() const { return vBar_; }
  TqzSkinFileListView* ListView() const { return list_; }
  TqzSkinPanel* BottomPanel() const { return bottom_; }
  TqzSkinStdLabel* FileNameLabel() const { return fileNameLabel_; }
  TqzSkinEdit* FileNameEdit() const { return edit_; }
  TqzSkinStdLabel* FileTypeLabel() const { return fileTypeLabel_; }
  TqzSkinFilterComboBox* FilterCombo() const { return filterCombo_; }
  TqzSkinButton* OpenButton() const { return open_; }
  TqzSkinButton* CancelButton() const { return cancel_; }
  TCustomImageList* ToolImages() const { return toolImages_; }
  TqzSystemImages* SystemImages() const { return systemImages_; }

  // ---- state
  const TqzFolderHistory& History() const { return history_; }
  int NewFolderCounter() const { return newFolderCounter_; }
  const std::string& ChosenName() const { return chosen_; }
  // The current folder's path ("" for a virtual folder) and identifier.
  std::string CurrentPath() const;
  TShellId CurrentFolder() const;
  // Whether the start folder is listed (the window lists it once shown).
  bool Listed() const;
  // Lists the start folder now (what the window does once shown).
  void ListStartFolder();
  int ViewMode() const;
  // The full paths of the selected items that are not folders.
  std::vector<std::string> SelectedFiles() const;
  // What a confirmed window chose: the selected files when the choice came
  // from the selection, else the one typed.
  std::vector<std::string> ChosenFiles() const;
  std::string Mask() const;
  bool ThumbnailsOffered() const { return thumbnailsOffered_; }

  // ---- actions (what the controls do)
  // Shows the folder; with record, it goes into the history.
  void BrowseTo(const TShellId& folder, bool record = true);
  void GoBack();
  void GoUp();
  // Makes the next "New Folder" in the current folder and starts renaming
  // it. Raises EShellError when the folder cannot be made.
  void NewFolder();
  void SetViewMode(int mode);
  // The Open button and Enter: the Open logic.
  void OpenClick();
  // Enter in the file-name edit.
  void EditEnter();
  void FilterChanged();
  std::string DefaultExtension() const;
  void ToggleHiddenFiles();
  // Completes the edit's text from the folder's names (as typing does).
  void CompleteEditText();

  std::string DefaultExt;
  bool CheckFileExists = true;
  TNotifyEvent OnFolderChange;

 // The list's skinned drawing as the dialog asks for it.
  const std::string& ListHeaderSkinDataName() const { return listHeaderSkinDataName_; }
  bool ListSkinnedDrawing() const { return listSkinnedDrawing_; }
  const std::string& ListItemSkinDataName() const { return listItemSkinDataName_; }

 protected:
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void Dispatch(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;

 private:
  friend class TqzOpenDlgBuilder;
  void ListFolderChanged();
  void ListSelectionChanged();
  void ListDblClick();
  void ListEdited(int index, std::string& name, bool& accept);
  bool ListKey(uint16_t key, TShiftState shift);
  void SyncScrollBars();
  void ColourEditor();
  void ScrollBarMoved(bool vertical);
  // Fires OnFolderChange; false when a handler freed the window.
  bool NotifyFolderChange();
  std::vector<std::string> CompletionNames(const std::string& typed, std::string& folderPart) const;

  TqzOrvane* orvane_ = nullptr;
  TqzSkinToolBar* toolBar_ = nullptr;
  TqzSkinStdLabel* lookIn_ = nullptr;
  TqzSkinShellComboBox* folderCombo_ = nullptr;
  TqzSkinButton *back_ = nullptr, *up_ = nullptr, *newFolder_ = nullptr;
  TqzSkinMenuButton* viewButton_ = nullptr;
  TqzSkinPopupMenu* viewMenu_ = nullptr;
  std::array<TMenuItem*, kOpenViewModeCount> viewItems_{};
  TqzSkinPanel* places_ = nullptr;
  std::array<TqzSkinButton*, 4> placeButtons_{};
  std::array<TShellId, 4> placeFolders_{};
  TqzSkinPanel* client_ = nullptr;
  TqzSkinPanel* listPanel_ = nullptr;
  TqzSkinScrollBar *hBar_ = nullptr, *vBar_ = nullptr;
  TqzSkinFileListView* list_ = nullptr;
  TqzSkinPanel* bottom_ = nullptr;
  TqzSkinStdLabel *fileNameLabel_ = nullptr, *fileTypeLabel_ = nullptr;
  TqzSkinEdit* edit_ = nullptr;
  TqzSkinFilterComboBox* filterCombo_ = nullptr;
  TqzSkinButton *open_ = nullptr, *cancel_ = nullptr;
  TCustomImageList* toolImages_ = nullptr;
  TImageList* builtInToolImages_ = nullptr;
  TqzSystemImages* systemImages_ = nullptr;
  std::shared_ptr<const TPlaces> placesData_;
  TqzSkinData* ctrlSkin_ = nullptr;
  std::string newFolderBase_ = "New Folder";
  std::string listHeaderSkinDataName_ = "header";
  bool listSkinnedDrawing_ = false;
  std::string listItemSkinDataName_;
  std::string renamed_;
  static constexpr uint32_t kRelistMessage = WM_APP + 0x0D1;
  static constexpr uint32_t kEnterMessage = WM_APP + 0x0D2;
  static constexpr uint32_t kStartMessage = WM_APP + 0x0D3;
  static constexpr unsigned kStartListingFallbackMs = 100;
  bool startPosted_ = false;
  TShellId pendingFolder_;
  TShellId startFolder_ = TShellId::Computer();
  TTimer* startTimer_ = nullptr;

  TqzFolderHistory history_;
  int newFolderCounter_ = 0;
  std::string chosen_;
  bool chosenFromSelection_ = false;
  bool thumbnailsOffered_ = true;
  bool goingBack_ = false;
  bool syncingBars_ = false;
  bool completing_ = false;
  bool typedChar_ = false;
  bool showHidden_ = false;
};

// Builds the window for the settings: the unshown form (owned by the caller).
std::unique_ptr<TqzOpenDlgForm> BuildOpenDlgForm(const TqzOpenDialogSettings& settings);

// The built-in tool images ("QZ_BACK_PNG", "QZ_UP_PNG", "QZ_NEWFOLDER_PNG",
// "QZ_LVSTYLE_PNG") from the program's resources, each drawn anew when the
// program does not carry it.
void LoadBuiltInToolImages(TImageList& list);

}  // namespace qz
