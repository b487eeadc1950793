// The shell folder tree of the folder dialog: a host tree view whose top
// node is the computer folder with its places and volumes below, and below
// each folder its sub-folders, listed when the folder is first expanded.
// Whether a folder has sub-folders is asked only for the rows painted.
//
// Rows are drawn from the skin's list item description (the skin data's
// DlgTreeViewDrawSkin and DlgTreeViewItemSkinDataName) or plainly. The
// view mirrors its scroll state into two linked skinned scroll bars, and
// watches the selected folder: a change on disk reloads its children
// (keeping what is expanded).
#pragma once

#include <memory>
#include <string>

#include "host/base/Exception.h"
#include "host/shell/ShellNamespace.h"
#include "host/shell/SpecialFolders.h"
#include "host/ui/TreeView.h"
#include "skin/controls/SkinChangeClient.h"

namespace qz {

class TqzSkinData;
class TqzSkinScrollBar;
class TqzShellChangeNotifier;
class TImageList;
class TqzDataSkinListBox;
class TBitmap;

// A path the tree cannot take: not absolute, empty, or holding a NUL.
class EqzInvalidPath : public Exception {
 public:
  using Exception::Exception;
};

// "Error setting path: "<path>"".
std::string InvalidPathMessage(const std::string& path);

// The images of the tree's small image list, in this order.
enum TqzDirTreeImage : int { dtiComputer, dtiFolder, dtiHome, dtiDrive, dtiNetwork, dtiCount };

// A folder's node. The identifier of a file-system folder below a place is
// made from its parent's and its name when first asked: expanding a large
// folder builds no paths.
class TqzDirTreeNode : public TTreeNode {
 public:
  using TTreeNode::TTreeNode;
  const TShellId& Id() const;
  void SetId(TShellId V);
  // The name (bytes) in the parent's folder, for a node without an Id.
  void SetName(std::string V) { name_ = std::move(V); }

 private:
  mutable TShellId id_;
  mutable bool known_ = false;
  std::string name_;
};

class TqzSkinDirTreeView : public TTreeView, public IqzSkinChangeClient {
  QZ_CLASS(TqzSkinDirTreeView, TTreeView)
 public:
  explicit TqzSkinDirTreeView(TComponent* AOwner);
  ~TqzSkinDirTreeView() override;

  // ---- skin
  TqzSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TqzSkinData* V);
  // Rows drawn from the item description (when the skin has it).
  bool DrawSkin() const { return drawSkin_; }
  void SetDrawSkin(bool V);
  const std::string& ItemSkinDataName() const { return itemSkinDataName_; }
  void SetItemSkinDataName(const std::string& V);
  void BeforeChangeSkinData() override {}
  void ChangeSkinData() override;

  // ---- linked scroll bars (not owned)
  TqzSkinScrollBar* VScrollBar() const { return vBar_; }
  void SetVScrollBar(TqzSkinScrollBar* V);
  TqzSkinScrollBar* HScrollBar() const { return hBar_; }
  void SetHScrollBar(TqzSkinScrollBar* V);

  // ---- what is listed
  // Hidden (dot) folders listed too.
  bool ShowHidden() const { return showHidden_; }
  void SetShowHidden(bool V);
  // The places the computer folder holds (the environment's when not set).
  void SetPlaces(std::shared_ptr<const TPlaces> V);
  const TPlaces& Places() const;
  // Watch the selected folder for changes (on by default).
  bool WatchChanges() const { return watchChanges_; }
  void SetWatchChanges(bool V);
  // Builds the top node anew (the computer folder, expanded).
  void Rebuild();

  // ---- selection
  // Selects the folder at an absolute path, expanding the way there, and
  // expands it. False (selection unchanged) when no folder is there; throws
  // EqzInvalidPath for a path that is not absolute, is empty or holds NUL.
  bool SelectPath(const std::string& Path);
  // Selects a special folder (the computer and network folders are nodes
  // of their own; the desktop and documents folders by path).
  void SelectSpecialFolder(TRootFolder Folder);
  // The selected folder's path (bytes); empty for a virtual folder or no
  // selection.
  std::string SelectedPath() const;
  TShellId SelectedId() const;
  TqzDirTreeNode* SelectedNode() const;
  // Lists the selected folder's children again.
  void ReloadSelected();
  // The loaded node of a folder, or null (nothing is listed to find it).
  TqzDirTreeNode* FindLoadedNode(const TShellId& Id) const;
  TqzDirTreeNode* ComputerNode() const;

  // How many folder listings the tree made (tests, benchmarks).
  int Listings() const { return listings_; }

 protected:
  std::unique_ptr<TTreeNode> CreateNode(TTreeNode* Parent) override;
  void FetchChildren(TTreeNode* Node) override;
  bool NodeHasChildren(TTreeNode* Node) override;
  void DrawNodeContent(TTreeNode* Node, const TTreeNodeRects& Rects, TOwnerDrawState State) override;
  void ScrollStateChanged() override;
  TColor BackgroundColor() const override;
  TColor LineColor() const override;
  void SelectionChanged() override;
  void Loaded() override;

 private:
  TqzDirTreeNode* AddFolderNode(TqzDirTreeNode* Parent, const TShellItem& Item);
  void AddFileSystemFolders(TqzDirTreeNode* Dir, TShellObjectTypes Types);
  int ImageOf(const TShellItem& Item, const TqzDirTreeNode* Parent) const;
  TqzDirTreeNode* PlaceNodeFor(const std::string& Path) const;
  TqzDirTreeNode* ChildNamed(TqzDirTreeNode* Node, const std::string& Name) const;
  bool DrawSkinRow(TTreeNode* Node, const TTreeNodeRects& Rects, TOwnerDrawState State);
  // The item description and its picture when rows are drawn from the skin.
  const TqzDataSkinListBox* ItemDescription(TBitmap** Picture) const;
  void UpdateBars();
  void WatchSelected();
  void FolderChanged();
  void MakeImages();

  TqzSkinData* skinData_ = nullptr;
  bool drawSkin_ = true;
  std::string itemSkinDataName_ = "listbox";
  TqzSkinScrollBar* vBar_ = nullptr;
  TqzSkinScrollBar* hBar_ = nullptr;
  bool showHidden_ = false;
  bool watchChanges_ = true;
  mutable std::shared_ptr<const TPlaces> places_;
  TImageList* images_ = nullptr;  // owned as a child component
  std::unique_ptr<TqzShellChangeNotifier> notifier_;
  TShellId watched_;
  bool updatingBars_ = false;
  int listings_ = 0;
};

}  // namespace qz
