#include "skin/dialogs/SelectDirectoryDialog.h"

#include <sys/stat.h>

#include "host/components/Properties.h"
#include "host/ui/ImgList.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/DirTreeView.h"
#include "skin/dialogs/MessageForm.h"
#include "skin/form/Orvane.h"

namespace qz {

namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

TqzSkinSelectDirectoryDialog::TqzSkinSelectDirectoryDialog(TComponent* AOwner)
    : TComponent(AOwner), defaultFont_(std::make_unique<TFont>()) {
  defaultFont_->SetData(DefaultMessageFont());
}

TqzSkinSelectDirectoryDialog::~TqzSkinSelectDirectoryDialog() = default;

TqzSelDirSettings TqzSkinSelectDirectoryDialog::Settings() const {
  TqzSelDirSettings s;
  s.Title = Title;
  s.ShowToolBar = ShowToolBar;
  s.ToolBarImageList = toolBarImageList_;
  s.ToolButtonImageIndex = ToolButtonImageIndex;
  s.ToolButtonsTransparent = ToolButtonsTransparent;
  s.TreeShowLines = TreeShowLines;
  s.TreeButtonImageList = treeButtonImageList_;
  s.TreeButtonExpandImageIndex = TreeButtonExpandImageIndex;
  s.TreeButtonNoExpandImageIndex = TreeButtonNoExpandImageIndex;
  s.DialogMinWidth = DialogMinWidth;
  s.DialogMinHeight = DialogMinHeight;
  s.AlphaBlend = AlphaBlend;
  s.AlphaBlendAnimation = AlphaBlendAnimation;
  s.AlphaBlendValue = AlphaBlendValue;
  s.SkinData = skinData_;
  s.CtrlSkinData = ctrlSkinData_;
  s.DefaultFont = defaultFont_->Data();
  return s;
}

// A Directory that is not an absolute path of a folder starts at the
// computer folder, as a missing one does.
void TqzSkinSelectDirectoryDialog::SelectStart(TqzSelDirDlgForm& form) const {
  TqzSkinDirTreeView& tree = *form.Tree();
  if (!Directory.empty() && Directory.front() == '/' && IsFolder(Directory)) {
    try {
      if (tree.SelectPath(Directory)) return;
    } catch (const EqzInvalidPath&) {
    }
  }
  tree.SelectSpecialFolder(TRootFolder::rfMyComputer);
}

void TqzSkinSelectDirectoryDialog::SizeForm(TqzSelDirDlgForm& form) const {
  // The controller puts the skin's frame on the window with its handle:
  // the client size is set after that, so that it is the one asked for
  // (and the size written back comes back the same next time).
  form.HandleNeeded();
  form.SetClientWidth(DialogWidth < 1 ? kSelDirDefaultClient : DialogWidth);
  form.SetClientHeight(DialogHeight < 1 ? kSelDirDefaultClient : DialogHeight);
  if (!skinData_ || skinData_->Empty()) return;
  const TqzSizeLimits limits = form.Orvane()->SizeLimits();
  if (form.Width() < limits.MinWidth) form.SetWidth(limits.MinWidth);
  if (form.Height() < limits.MinHeight) form.SetHeight(limits.MinHeight);
}

// Every handler of the program runs inside: OnShow, the modal loop and
// OnClose may free this component or the window. What is gone is not
// touched; the window is freed, after OnClose, whatever happened.
bool TqzSkinSelectDirectoryDialog::Execute() {
  TComponentRef<TqzSkinSelectDirectoryDialog> self(this);
  if (OnShow) {
    OnShow(this);
    if (!self) return false;
  }
  TComponentRef<TqzSelDirDlgForm> form;
  bool confirmed = false;
  auto finish = [&] {
    if (self) form_ = nullptr;
    try {
      if (self && OnClose) OnClose(this);
    } catch (...) {
      if (form) delete form.Get();
      throw;
    }
    if (form) delete form.Get();
  };
  try {
    form = TComponentRef<TqzSelDirDlgForm>(BuildSelDirForm(Settings()).release());
    form_ = form.Get();
    SelectStart(*form);
    if (self && form) SizeForm(*form);
    const int result = self && form ? form->ShowModal() : mrNone;
    if (self && form) {
      DialogWidth = form->ClientWidth();
      DialogHeight = form->ClientHeight();
      if (result == mrOk) {
        Directory = form->Tree()->SelectedPath();
        confirmed = true;
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return confirmed && self;
}

QZ_PUBLISHED(TqzSkinSelectDirectoryDialog, TComponent) {
  using O = TqzSkinSelectDirectoryDialog;
  b.Factory([](TComponent* owner) { return new TqzSkinSelectDirectoryDialog(owner); });
  b.Prop("Title", &O::Title, std::string("Select folder"));
  b.Prop("Directory", &O::Directory, std::string());
  b.Prop("ShowToolBar", &O::ShowToolBar, false);
  b.Ref<TCustomImageList>("ToolBarImageList", &O::ToolBarImageList, &O::SetToolBarImageList);
  b.Prop("ToolButtonImageIndex", &O::ToolButtonImageIndex, 0);
  b.Prop("ToolButtonsTransparent", &O::ToolButtonsTransparent, false);
  b.Prop("TreeShowLines", &O::TreeShowLines, true);
  b.Ref<TCustomImageList>("TreeButtonImageList", &O::TreeButtonImageList, &O::SetTreeButtonImageList);
  b.Prop("TreeButtonExpandImageIndex", &O::TreeButtonExpandImageIndex, 0);
  b.Prop("TreeButtonNoExpandImageIndex", &O::TreeButtonNoExpandImageIndex, 1);
  b.Prop("DialogWidth", &O::DialogWidth, 0);
  b.Prop("DialogHeight", &O::DialogHeight, 0);
  b.Prop("DialogMinWidth", &O::DialogMinWidth, 0);
  b.Prop("DialogMinHeight", &O::DialogMinHeight, 0);
  b.Prop("AlphaBlend", &O::AlphaBlend, false);
  b.Prop("AlphaBlendValue", &O::AlphaBlendValue, uint8_t(200));
  b.Prop("AlphaBlendAnimation", &O::AlphaBlendAnimation, false);
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Ref<TqzSkinData>("CtrlSkinData", &O::CtrlSkinData, &O::SetCtrlSkinData);
  b.Object("DefaultFont", [](O& o) -> TFont& { return o.DefaultFont(); });
  b.Event<TNotifyEvent>("OnShow", &O::OnShow);
  b.Event<TNotifyEvent>("OnClose", &O::OnClose);
}

}  // namespace qz
