#include "skin/dialogs/SelDirDlgForm.h"

#include <sys/stat.h>

#include "host/base/Resources.h"
#include "host/shell/FileOperations.h"
#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/DirTreeView.h"
#include "skin/draw/PngImage.h"
#include "skin/draw/ToolImages.h"
#include "skin/form/Orvane.h"

namespace qz {

namespace {

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The new-folder picture: the program's resource when it has one, else the
// same picture drawn.
TPixmap NewFolderPicture() {
  const auto bytes = FindResource(ToolImageResourceName(TqzToolImage::tiNewFolder));
  if (!bytes.empty()) {
    try {
      TqzPngImage png;
      png.LoadFromBytes(bytes);
      TPixmap p = png.ToPixmap();
      if (p.Width() == kToolImageSize && p.Height() == kToolImageSize) return p;
    } catch (const Exception&) {
    }
  }
  return DrawToolImage(TqzToolImage::tiNewFolder);
}

}  // namespace

std::string SelDirString(const TqzSkinData* skin, const char* key, const char* fallback) {
  if (skin && skin->ResourceStrData()) {
    std::string s = skin->ResourceStrData()->GetResourceStr(key);
    if (!s.empty()) return s;
  }
  return fallback;
}

// ---------------------------------------------------------------------------
// The form

TqzSelDirDlgForm::TqzSelDirDlgForm(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsSizeable);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  orvane_ = new TqzOrvane(this);
  orvane_->SetBorderIcons({});
  images_ = new TImageList(this);
  TBitmap picture(kToolImageSize, kToolImageSize);
  picture.Pixels() = NewFolderPicture();
  picture.SetAlphaPresent(true);
  images_->Add(picture);
}

TqzSelDirDlgForm::~TqzSelDirDlgForm() {
  // The tree's handlers reach into the form: they go first.
  if (tree_) tree_->OnChange = nullptr;
}

void TqzSelDirDlgForm::TreeChanged() {
  if (showToolBar_ && pathEdit_) pathEdit_->SetText(DisplayNameFromBytes(tree_->SelectedPath()));
}

std::string TqzSelDirDlgForm::NewFolderPath() const {
  if (!tree_) return {};
  const std::string folder = tree_->SelectedPath();
  if (folder.empty()) return {};
  const std::string name = SelDirString(ctrlSkinData_, "MSG_NEWFOLDER", "New Folder");
  return folder == "/" ? "/" + name : folder + "/" + name;
}

bool TqzSelDirDlgForm::CreateNewFolder() {
  const std::string path = NewFolderPath();
  if (path.empty() || PathExists(path)) return false;
  const std::string folder = tree_->SelectedPath();
  CreateFolder(folder, std::string(LastName(path)));
  TComponentRef<TqzSkinDirTreeView> tree(tree_);
  tree_->ReloadSelected();
  // The new folder on screen, below the selected one.
  if (tree && tree->SelectedNode()) {
    if (TqzDirTreeNode* made = tree->FindLoadedNode(TShellId::FromPath(path))) tree->MakeVisible(made);
    if (tree) tree->MakeVisible(tree->SelectedNode());
  }
  return true;
}

void TqzSelDirDlgForm::CMDialogKey(TMessage& m) {
  if (m.WParam == VK_RETURN && pathEdit_ && ActiveControl() == pathEdit_ && !TypedPathIsSelected()) {
    GoToTypedPath();
    m.Result = 1;
    return;
  }
  TForm::CMDialogKey(m);
}

bool TqzSelDirDlgForm::TypedPathIsSelected() const {
  return pathEdit_ && tree_ && !tree_->SelectedPath().empty() &&
         pathEdit_->Text() == DisplayNameFromBytes(tree_->SelectedPath());
}

bool TqzSelDirDlgForm::GoToTypedPath() {
  if (!pathEdit_ || !tree_) return false;
  std::string text = pathEdit_->Text();
  if (text.empty()) return false;
  if (text.front() != '/') {
    const TShellId desktop = tree_->Places().RootFolder(TRootFolder::rfDesktop);
    if (desktop.IsVirtual()) return false;
    text = desktop.Path + "/" + text;
  }
  if (!IsFolder(text)) return false;
  return tree_->SelectPath(text);
}

// ---------------------------------------------------------------------------
// Building

class TqzSelDirFormBuilder {
 public:
  explicit TqzSelDirFormBuilder(const TqzSelDirSettings& s)
      : s_(s), form_(std::make_unique<TqzSelDirDlgForm>(Application)) {}

  std::unique_ptr<TqzSelDirDlgForm> Build() {
    TqzSelDirDlgForm& f = *form_;
    f.ctrlSkinData_ = s_.CtrlSkinData;
    f.showToolBar_ = s_.ShowToolBar;
    f.SetClientWidth(kSelDirDefaultClient);
    f.SetClientHeight(kSelDirDefaultClient);
    MakeBottomPanel();
    if (s_.ShowToolBar) MakeToolBar();
    MakeTreePanel();
    SetUpController();
    return std::move(form_);
  }

 private:
  TqzSkinData* Ctrl() const { return s_.CtrlSkinData; }

  void MakeToolBar() {
    TqzSelDirDlgForm& f = *form_;
    f.toolBar_ = new TqzSkinToolBar(&f);
    f.toolBar_->SetName("ToolBar");
    f.toolBar_->SetParent(&f);
    f.toolBar_->SetAlign(alTop);
    f.toolBar_->SetAdjustControls(false);
    f.toolBar_->SetImages(s_.ToolBarImageList ? s_.ToolBarImageList : f.images_);
    f.toolBar_->SetSkinData(Ctrl());

    auto* button = new TqzSkinSpeedButton(&f);
    f.newFolderButton_ = button;
    button->SetName("NewFolderButton");
    button->SetParent(f.toolBar_);
    button->SetAlign(alRight);
    button->SetImageList(s_.ToolBarImageList ? s_.ToolBarImageList : f.images_);
    button->SetImageIndex(s_.ToolBarImageList ? s_.ToolButtonImageIndex : 0);
    button->SetHint(SelDirString(Ctrl(), "MSG_BTN_NEWFOLDER_HINT", "Create New Folder"));
    button->SetShowHint(true);
    button->SetFlat(s_.ToolButtonsTransparent);
    button->SetSkinData(Ctrl());
    TqzSelDirDlgForm* form = &f;
    button->OnClick = [form](TObject*) { form->CreateNewFolder(); };

    auto* edit = new TqzSkinEdit(&f);
    f.pathEdit_ = edit;
    edit->SetName("PathEdit");
    edit->SetParent(f.toolBar_);
    edit->SetSkinDataName("edit");
    edit->SetSkinData(Ctrl());
    const int bar = f.toolBar_->Height();
    const int width = f.toolBar_->Width() - kSpeedButtonWidth - kSelDirEditGap;
    edit->SetBounds(0, std::max(0, (bar - edit->Height()) / 2), std::max(10, width), edit->Height());
    edit->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akTop, TAnchorKind::akRight});
  }

  void MakeTreePanel() {
    TqzSelDirDlgForm& f = *form_;
    f.treePanel_ = new TqzSkinPanel(&f);
    f.treePanel_->SetName("TreePanel");
    f.treePanel_->SetParent(&f);
    f.treePanel_->SetAlign(alClient);
    f.treePanel_->SetBorderStyle(TqzSkinBorderStyle::bvFrame);
    f.treePanel_->SetCaption("");
    f.treePanel_->SetSkinData(Ctrl());

    f.vBar_ = new TqzSkinScrollBar(&f);
    f.vBar_->SetName("VScrollBar");
    f.vBar_->SetKind(sbVertical);
    f.vBar_->SetSkinDataName("vscrollbar");
    f.vBar_->SetParent(f.treePanel_);
    f.vBar_->SetWidth(kSelDirBarSize);
    f.vBar_->SetAlign(alRight);
    f.vBar_->SetEnabled(false);
    f.vBar_->SetSkinData(Ctrl());

    f.hBar_ = new TqzSkinScrollBar(&f);
    f.hBar_->SetName("HScrollBar");
    f.hBar_->SetKind(sbHorizontal);
    f.hBar_->SetSkinDataName("hscrollbar");
    f.hBar_->SetParent(f.treePanel_);
    f.hBar_->SetHeight(kSelDirBarSize);
    f.hBar_->SetAlign(alBottom);
    f.hBar_->SetBoth(true);
    f.hBar_->SetBothMarkerWidth(kSelDirBarSize);
    f.hBar_->SetEnabled(false);
    f.hBar_->SetSkinData(Ctrl());

    f.tree_ = new TqzSkinDirTreeView(&f);
    f.tree_->SetName("DirTree");
    f.tree_->SetParent(f.treePanel_);
    f.tree_->SetAlign(alClient);
    f.tree_->SetShowHidden(true);
    f.tree_->SetHideSelection(false);
    f.tree_->SetShowLines(s_.TreeShowLines);
    f.tree_->SetButtonImages(s_.TreeButtonImageList);
    f.tree_->SetExpandImageIndex(s_.TreeButtonExpandImageIndex);
    f.tree_->SetNoExpandImageIndex(s_.TreeButtonNoExpandImageIndex);
    f.tree_->SetVScrollBar(f.vBar_);
    f.tree_->SetHScrollBar(f.hBar_);
    TqzSelDirDlgForm* form = &f;
    f.tree_->OnChange = [form](TObject*) { form->TreeChanged(); };
    // The tree's font and skin.
    TFont font;
    font.SetData(s_.DefaultFont);
    f.tree_->SetFont(font);
    f.tree_->SetSkinData(Ctrl());
    f.SetActiveControl(f.tree_);
    if (Ctrl()) {
      f.tree_->SetDrawSkin(Ctrl()->DlgTreeViewDrawSkin);
      f.tree_->SetItemSkinDataName(Ctrl()->DlgTreeViewItemSkinDataName);
    }
  }

  TqzSkinButton* MakeButton(const char* name, const char* key, const char* caption, int left, TModalResult result) {
    TqzSelDirDlgForm& f = *form_;
    auto* b = new TqzSkinButton(&f);
    b->SetName(name);
    b->SetParent(f.bottomPanel_);
    b->SetCaption(SelDirString(Ctrl(), key, caption));
    b->SetModalResult(result);
    b->SetCanFocused(true);
    b->SetUseSkinSize(false);
    b->SetBounds(left, 15, 70, 25);
    TFont font;
    font.SetData(s_.DefaultFont);
    b->SetDefaultFont(font);
    b->SetSkinData(Ctrl());
    return b;
  }

  void MakeBottomPanel() {
    TqzSelDirDlgForm& f = *form_;
    f.bottomPanel_ = new TqzSkinPanel(&f);
    f.bottomPanel_->SetName("BottomPanel");
    f.bottomPanel_->SetParent(&f);
    f.bottomPanel_->SetAlign(alBottom);
    f.bottomPanel_->SetHeight(kSelDirBottomHeight);
    f.bottomPanel_->SetBorderStyle(TqzSkinBorderStyle::bvNone);
    f.bottomPanel_->SetCaption("");
    f.bottomPanel_->SetSkinData(Ctrl());
    f.okButton_ = MakeButton("OKButton", "MSG_BTN_OK", "OK", 20, mrOk);
    f.okButton_->SetDefault(true);
    f.cancelButton_ = MakeButton("CancelButton", "MSG_BTN_CANCEL", "Cancel", 100, mrCancel);
    f.cancelButton_->SetCancel(true);
  }

  void SetUpController() {
    TqzSelDirDlgForm& f = *form_;
    f.SetCaption(s_.Title);
    TqzOrvane& c = *f.orvane_;
    c.SetBorderIcons({});
    c.SetSkinData(s_.SkinData);
    c.SetMenusSkinData(s_.CtrlSkinData);
    c.AlphaBlend = s_.AlphaBlend;
    c.AlphaBlendAnimation = s_.AlphaBlendAnimation;
    c.AlphaBlendValue = s_.AlphaBlendValue;
    c.MinWidth = s_.DialogMinWidth;
    c.MinHeight = s_.DialogMinHeight;
    c.MinClientWidth = kSelDirMinClient;
    c.MinClientHeight = kSelDirMinClient;
  }

  const TqzSelDirSettings& s_;
  std::unique_ptr<TqzSelDirDlgForm> form_;
};

std::unique_ptr<TqzSelDirDlgForm> BuildSelDirForm(const TqzSelDirSettings& settings) {
  return TqzSelDirFormBuilder(settings).Build();
}

}  // namespace qz
