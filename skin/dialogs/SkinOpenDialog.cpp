#include "skin/dialogs/SkinOpenDialog.h"

#include "host/components/Properties.h"
#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "skin/controls/SkinEdit.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/FilterComboBox.h"
#include "skin/dialogs/MessageForm.h"
#include "skin/dialogs/ShellListView.h"

namespace qz {

TqzSkinOpenDialog::TqzSkinOpenDialog(TComponent* AOwner)
    : TComponent(AOwner), defaultFont_(std::make_unique<TFont>()), files_(std::make_unique<TStringList>()) {
  defaultFont_->SetData(DefaultMessageFont());
}

// Freed while its window is open (by a handler): the window closes as
// cancelled, and Execute touches nothing of this component afterwards.
TqzSkinOpenDialog::~TqzSkinOpenDialog() {
  if (window_) window_->SetModalResult(mrCancel);
}

void TqzSkinOpenDialog::SetFileName(const std::string& V) {
  fileName_ = V;
  if (window_ && window_->FileNameEdit()) window_->FileNameEdit()->SetText(V);
}

TqzOpenDialogSettings TqzSkinOpenDialog::Settings() const {
  TqzOpenDialogSettings s;
  s.Title = Title;
  s.FileName = fileName_;
  s.InitialDir = InitialDir;
  s.Filter = Filter;
  s.FilterIndex = FilterIndex;
  s.DefaultExt = DefaultExt;
  s.CheckFileExists = CheckFileExists;
  s.MultiSelection = MultiSelection;
  s.ShowHiddenFiles = ShowHiddenFiles;
  s.ShowThumbnails = ShowThumbnails;
  s.OverwritePromt = OverwritePromt;
  s.ToolBarImageList = toolBarImageList_;
  s.ToolButtonsTransparent = ToolButtonsTransparent;
  s.DialogWidth = DialogWidth;
  s.DialogHeight = DialogHeight;
  s.DialogMinWidth = DialogMinWidth;
  s.DialogMinHeight = DialogMinHeight;
  s.AlphaBlend = AlphaBlend;
  s.AlphaBlendAnimation = AlphaBlendAnimation;
  s.AlphaBlendValue = AlphaBlendValue;
  s.CtrlAlphaBlend = CtrlAlphaBlend;
  s.CtrlAlphaBlendAnimation = CtrlAlphaBlendAnimation;
  s.CtrlAlphaBlendValue = CtrlAlphaBlendValue;
  s.LVHeaderSkinDataName = LVHeaderSkinDataName;
  s.SkinData = skinData_;
  s.CtrlSkinData = ctrlSkinData_;
  s.DefaultFont = defaultFont_->Data();
  // A thumbnail mode opens as list when thumbnails are not offered.
  s.ViewMode = viewMode_ >= qzvmThumbnails && !ShowThumbnails ? qzvmList : viewMode_;
  s.Places = Places;
  s.ProgramDir = ProgramDir;
  return s;
}

void TqzSkinOpenDialog::StoreState(TqzOpenDlgForm& form) {
  FilterIndex = form.FilterCombo()->ItemIndex() + 1;
  DialogWidth = form.ClientWidth();
  DialogHeight = form.ClientHeight();
  viewMode_ = form.ViewMode();
}

// Every handler of the program runs inside the modal loop: one may free
// this component (the window then closes) or raise. The window is freed
// whatever happens; what is gone is not touched.
bool TqzSkinOpenDialog::Execute() {
  TComponentRef<TqzSkinOpenDialog> self(this);
  if (OnShow) {
    const TNotifyEvent handler = OnShow;
    handler(this);
    if (!self) return false;
  }
  TComponentRef<TqzOpenDlgForm> form;
  auto freeWindow = [&form] {
    if (form) delete form.Get();
  };
  bool confirmed = false;
  try {
    form = TComponentRef<TqzOpenDlgForm>(new TqzOpenDlgForm(Application));
    window_ = form;
    form->OnFolderChange = [self](TObject*) {
      if (!self || !self->OnFolderChange) return;
      const TNotifyEvent handler = self->OnFolderChange;
      handler(self.Get());
    };
    form->Build(Settings());
    if (!self || !form) {
      freeWindow();
      return false;
    }
    const int result = form->ShowModal();
    if (!self) {
      freeWindow();
      return false;
    }
    if (form) {
      StoreState(*form);
      confirmed = result == mrOk;
      if (confirmed) {
        fileName_ = form->ChosenName();
        files_->Clear();
        for (const std::string& path : form->ChosenFiles()) files_->Add(path);
      }
    }
    window_ = {};
    if (OnClose) {
      const TNotifyEvent handler = OnClose;
      handler(this);
    }
  } catch (...) {
    if (self) window_ = {};
    freeWindow();
    throw;
  }
  if (self) window_ = {};
  freeWindow();
  return confirmed;
}

QZ_PUBLISHED(TqzSkinOpenDialog, TComponent) {
  using O = TqzSkinOpenDialog;
  b.Factory([](TComponent* owner) { return new TqzSkinOpenDialog(owner); });
  b.Prop("Title", &O::Title, std::string("Open file"));
  b.Prop("InitialDir", &O::InitialDir, std::string());
  b.Prop("FileName", &O::FileName, &O::SetFileName, std::string());
  b.Prop("Filter", &O::Filter, std::string("All files|*.*"));
  b.Prop("FilterIndex", &O::FilterIndex, 1);
  b.Prop("DefaultExt", &O::DefaultExt, std::string());
  b.Prop("CheckFileExists", &O::CheckFileExists, true);
  b.Prop("MultiSelection", &O::MultiSelection, false);
  b.Prop("ShowHiddenFiles", &O::ShowHiddenFiles, false);
  b.Prop("ShowThumbnails", &O::ShowThumbnails, true);
  b.Prop("OverwritePromt", &O::OverwritePromt, false);
  b.Ref<TCustomImageList>("ToolBarImageList", &O::ToolBarImageList, &O::SetToolBarImageList);
  b.Prop("ToolButtonsTransparent", &O::ToolButtonsTransparent, false);
  b.Prop("DialogWidth", &O::DialogWidth, 0);
  b.Prop("DialogHeight", &O::DialogHeight, 0);
  b.Prop("DialogMinWidth", &O::DialogMinWidth, 0);
  b.Prop("DialogMinHeight", &O::DialogMinHeight, 0);
  b.Prop("AlphaBlend", &O::AlphaBlend, false);
  b.Prop("AlphaBlendValue", &O::AlphaBlendValue, uint8_t(225));
  b.Prop("AlphaBlendAnimation", &O::AlphaBlendAnimation, false);
  b.Prop("CtrlAlphaBlend", &O::CtrlAlphaBlend, false);
  b.Prop("CtrlAlphaBlendValue", &O::CtrlAlphaBlendValue, uint8_t(225));
  b.Prop("CtrlAlphaBlendAnimation", &O::CtrlAlphaBlendAnimation, false);
  b.Prop("LVHeaderSkinDataName", &O::LVHeaderSkinDataName, std::string("header"));
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Ref<TqzSkinData>("CtrlSkinData", &O::CtrlSkinData, &O::SetCtrlSkinData);
  b.Object("DefaultFont", [](O& o) -> TFont& { return o.DefaultFont(); });
  b.Event<TNotifyEvent>("OnShow", &O::OnShow);
  b.Event<TNotifyEvent>("OnClose", &O::OnClose);
  b.Event<TNotifyEvent>("OnFolderChange", &O::OnFolderChange);
}

}  // namespace qz
