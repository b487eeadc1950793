#include "skin/dialogs/OpenDlgForm.h"

#include <algorithm>

#include "host/base/Resources.h"
#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/shell/FileOperations.h"
#include "host/shell/FolderEnum.h"
#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "host/ui/Menus.h"
#include "host/ui/Timer.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/FilterComboBox.h"
#include "skin/dialogs/ShellComboBox.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/dialogs/SystemImages.h"
#include "skin/draw/PngImage.h"
#include "skin/draw/ToolImages.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinMenu.h"
#include "skin/popups/SkinMenuButton.h"

namespace qz {

int ThumbnailSizeOf(int viewMode) {
  switch (viewMode) {
    case qzvmThumbnails: return 96;
    case qzvmBigThumbnails: return 128;
    case qzvmVeryBigThumbnails: return 256;
    default: return 0;
  }
}

void LoadBuiltInToolImages(TImageList& list) {
  list.SetSize(kToolImageSize, kToolImageSize);
  for (TqzToolImage image : {TqzToolImage::tiBack, TqzToolImage::tiUp, TqzToolImage::tiNewFolder,
                             TqzToolImage::tiLvStyle}) {
    TPixmap pixels;
    const auto bytes = FindResource(ToolImageResourceName(image));
    if (!bytes.empty()) {
      try {
        pixels = TqzPngImage::DecodeToPixmap(bytes);
      } catch (const Exception&) {
        pixels = TPixmap();
      }
    }
    if (pixels.Width() != kToolImageSize || pixels.Height() != kToolImageSize) pixels = DrawToolImage(image);
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.Pixels() = pixels;
    b.SetAlphaPresent(true);
    b.Modified();
    list.Add(b);
  }
}

// ------------------------------------------------------------------ the form

TqzOpenDlgForm::TqzOpenDlgForm(TComponent* AOwner) : TForm(AOwner) {
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  orvane_ = new TqzOrvane(this);
  orvane_->SetBorderIcons({});
}

TqzOpenDlgForm::~TqzOpenDlgForm() = default;

TMenuItem* TqzOpenDlgForm::ViewMenuItem(int mode) const {
  return mode >= 0 && mode < kOpenViewModeCount ? viewItems_[size_t(mode)] : nullptr;
}

std::string TqzOpenDlgForm::CurrentPath() const {
  const TShellId id = CurrentFolder();
  return id.IsVirtual() ? std::string() : id.Path;
}

TShellId TqzOpenDlgForm::CurrentFolder() const {
  if (startTimer_ && startTimer_->Enabled()) return startFolder_;
  return list_ ? list_->Root() : TShellId::Computer();
}

bool TqzOpenDlgForm::Listed() const { return !(startTimer_ && startTimer_->Enabled()); }

void TqzOpenDlgForm::ListStartFolder() {
  if (startTimer_) startTimer_->SetEnabled(false);
  BrowseTo(startFolder_);
}

int TqzOpenDlgForm::ViewMode() const {
  if (!list_) return qzvmList;
  if (list_->ThumbnailsEnabled() && list_->ViewStyle() == vsIcon) {
    switch (list_->ThumbnailSize()) {
      case 96: return qzvmThumbnails;
      case 128: return qzvmBigThumbnails;
      case 256: return qzvmVeryBigThumbnails;
      default: break;
    }
  }
  return static_cast<int>(list_->ViewStyle());
}

std::vector<std::string> TqzOpenDlgForm::SelectedFiles() const {
  std::vector<std::string> out;
  for (int i = 0; i < list_->FolderCount(); ++i) {
    if (!list_->Selected(i)) continue;
    TqzShellFolder& item = list_->Folder(i);
    if (!item.IsFolder() && !item.Path().empty()) out.push_back(item.Path());
  }
  return out;
}

std::vector<std::string> TqzOpenDlgForm::ChosenFiles() const {
  if (chosen_.empty()) return {};
  if (!chosenFromSelection_) return {chosen_};
  std::vector<std::string> files = SelectedFiles();
  if (std::find(files.begin(), files.end(), chosen_) == files.end()) files.insert(files.begin(), chosen_);
  return files;
}

std::string TqzOpenDlgForm::Mask() const { return filterCombo_ ? filterCombo_->Mask() : "*.*"; }

std::string TqzOpenDlgForm::DefaultExtension() const { return qz::DefaultExtension(DefaultExt, list_->Mask()); }

// ------------------------------------------------------------------ browsing

void TqzOpenDlgForm::BrowseTo(const TShellId& folder, bool record) {
  TComponentRef<TqzOpenDlgForm> self(this);
  if (startTimer_) startTimer_->SetEnabled(false);
  goingBack_ = !record;
  list_->SetRoot(folder);
  if (!self) return;
  goingBack_ = false;
  ListFolderChanged();
}

// The list entered a folder: the history, the folder combo, the focus on
// the first item, the handler.
void TqzOpenDlgForm::ListFolderChanged() {
  if (!goingBack_) history_.Entered(list_->Root());
  folderCombo_->SetFolder(list_->Root());
  if (list_->Count() > 0) list_->SetItemFocused(0);
  up_->SetEnabled(!IsRoot(list_->Root()));
  back_->SetEnabled(history_.Count() >= 2);
  SyncScrollBars();
  NotifyFolderChange();
}

bool TqzOpenDlgForm::NotifyFolderChange() {
  if (!OnFolderChange) return true;
  TComponentRef<TqzOpenDlgForm> self(this);
  const TNotifyEvent handler = OnFolderChange;  // the handler may free what holds it
  handler(this);
  return static_cast<bool>(self);
}

void TqzOpenDlgForm::GoBack() {
  TComponentRef<TqzOpenDlgForm> self(this);
  const std::optional<TShellId> to = history_.Back();
  if (!to) return;
  BrowseTo(*to, false);
  if (self) back_->SetEnabled(history_.Count() >= 2);
}

void TqzOpenDlgForm::GoUp() {
  const TShellId at = list_->Root();
  if (IsRoot(at)) return;
  BrowseTo(ParentOf(at));
}

void TqzOpenDlgForm::ToggleHiddenFiles() {
  showHidden_ = !showHidden_;
  TShellObjectTypes types{TShellObjectType::otFolders, TShellObjectType::otNonFolders};
  if (showHidden_) types.Include(TShellObjectType::otHidden);
  list_->SetObjectTypes(types);
  SyncScrollBars();
}

// ------------------------------------------------------------------ new folder

void TqzOpenDlgForm::NewFolder() {
  const std::string folder = CurrentPath();
  if (folder.empty()) return;  // only in a folder of the file system
  ++newFolderCounter_;
  const std::string name = NewFolderName(newFolderBase_, newFolderCounter_);
  const std::string path = ChildOf(list_->Root(), name).Path;
  if (PathKindOnDisk(path) != TqzPathKind::None) return;
  CreateFolder(folder, name);
  TComponentRef<TqzOpenDlgForm> self(this);
  list_->Populate();
  SyncScrollBars();
  if (Application) Application->ProcessMessages();
  if (!self) return;
  for (int i = 0; i < list_->FolderCount(); ++i) {
    if (list_->Folder(i).RelativeId() != name) continue;
    list_->SetItemIndex(i);
    list_->MakeVisible(i);
    list_->SetFocus();
    if (list_->EditCaption(i)) ColourEditor();
    return;
  }
}

// The in-place editor in the list's colours.
void TqzOpenDlgForm::ColourEditor() {
  if (TListViewEditor* editor = list_->Editor()) {
    editor->SetColor(list_->Color());
    editor->Font().SetColor(list_->Font().Color());
  }
}

// Renaming in the list renames on disk; a name that is taken or refused
// keeps the old one.
void TqzOpenDlgForm::ListEdited(int index, std::string& name, bool& accept) {
  if (!accept || index < 0 || index >= list_->FolderCount()) return;
  TqzShellFolder& item = list_->Folder(index);
  if (item.Path().empty() || name.empty() || name == item.RelativeId()) {
    accept = name == item.RelativeId();
    return;
  }
  try {
    RenameItem(item.Path(), name);
  } catch (const EShellError&) {
    accept = false;
    return;
  }
  // The list is read again once the editor is gone.
  renamed_ = name;
  if (HandleAllocated()) PostMessage(Handle(), kRelistMessage);
}

void TqzOpenDlgForm::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT && !Listed() && !startPosted_ && HandleAllocated()) {
    // After this paint has been presented.
    startPosted_ = PostMessage(Handle(), kStartMessage);
  }
  if (m.Msg == kStartMessage) {
    if (!Listed()) ListStartFolder();
    return;
  }
  if (m.Msg == kEnterMessage) {
    BrowseTo(pendingFolder_);
    return;
  }
  if (m.Msg != kRelistMessage) {
    TForm::Dispatch(m);
    return;
  }
  list_->Populate();
  for (int i = 0; i < list_->FolderCount(); ++i)
    if (list_->Folder(i).RelativeId() == renamed_) {
      list_->SetItemIndex(i);
      list_->MakeVisible(i);
    }
  SyncScrollBars();
}

// ------------------------------------------------------------------ views

void TqzOpenDlgForm::SetViewMode(int mode) {
  if (mode < 0 || mode >= kOpenViewModeCount) return;
  if (mode >= qzvmThumbnails && !thumbnailsOffered_) mode = qzvmList;
  const int thumbs = ThumbnailSizeOf(mode);
  list_->SetThumbnailsEnabled(thumbs > 0);
  if (thumbs > 0) list_->SetThumbnailSize(thumbs);
  list_->SetViewStyle(thumbs > 0 ? vsIcon : static_cast<TViewStyle>(mode));
  list_->Populate();
  if (TMenuItem* item = ViewMenuItem(mode)) item->SetChecked(true);
  SyncScrollBars();
}

// ------------------------------------------------------------------ list events

void TqzOpenDlgForm::ListSelectionChanged() {
  const int i = list_->ItemIndex();
  if (i >= 0 && i < list_->FolderCount() && !list_->Folder(i).IsFolder())
    edit_->SetText(std::string(LastName(list_->Folder(i).Path())));
  NotifyFolderChange();
}

void TqzOpenDlgForm::ListDblClick() {
  const int i = list_->ItemFocused() >= 0 ? list_->ItemFocused() : list_->ItemIndex();
  if (i < 0 || i >= list_->FolderCount() || !list_->Selected(i)) return;
  TqzShellFolder& item = list_->Folder(i);
  if (item.IsFolder()) {
    // Entered once the list has finished with the click: the press that
    // made the double click must not select an item of the new folder.
    pendingFolder_ = item.AbsoluteId();
    if (HandleAllocated()) PostMessage(Handle(), kEnterMessage);
    else BrowseTo(pendingFolder_);
    return;
  }
  chosen_ = item.Path();
  chosenFromSelection_ = true;
  SetModalResult(mrOk);
}

// Keys of the list: Backspace goes up, Enter enters a folder or opens the
// file, F5 reads the folder again, Alt+Enter asks for the properties.
bool TqzOpenDlgForm::ListKey(uint16_t key, TShiftState shift) {
  if (list_->IsEditing()) return false;
  const bool alt = shift.Contains(ssAlt);
  if (key == VK_BACK && !alt) {
    GoUp();
    return true;
  }
  if (key == VK_F2 && !alt) {
    if (list_->ItemFocused() >= 0 && list_->EditCaption(list_->ItemFocused())) ColourEditor();
    return true;
  }
  if (key == VK_F5) {
    list_->Populate();
    SyncScrollBars();
    return true;
  }
  if (key != VK_RETURN) return false;
  const int i = list_->ItemIndex();
  if (i < 0 || i >= list_->FolderCount()) return alt;
  TqzShellFolder& item = list_->Folder(i);
  if (alt) {
    if (!item.Path().empty()) {
      try {
        ShowItemProperties({item.Path()});
      } catch (const EShellError&) {
        // No file manager to ask: nothing to show.
      }
    }
    return true;
  }
  if (item.IsFolder()) BrowseTo(item.AbsoluteId());
  else OpenClick();
  return true;
}

// ------------------------------------------------------------------ the Open logic

void TqzOpenDlgForm::OpenClick() {
  TqzOpenInput in;
  const int i = list_->ItemIndex();
  in.Typed = edit_->Text();
  // The selection counts while the edit shows its name: a name typed over
  // it is what the user asks for.
  if (i >= 0 && i < list_->FolderCount() && !list_->Folder(i).IsFolder() &&
      NamePart(list_->Folder(i).Path()) == in.Typed)
    in.Selected = list_->Folder(i).Path();
  in.Folder = CurrentPath();
  in.DefaultExt = DefaultExtension();
  in.CheckFileExists = CheckFileExists;
  in.Home = HomeFolder();
  const TqzOpenOutcome out = DecideOpen(in);
  switch (out.Action) {
    case TqzOpenOutcome::TAction::Browse:
      edit_->SetText("");
      BrowseTo(TShellId::FromPath(out.Path));
      return;
    case TqzOpenOutcome::TAction::Close:
      chosen_ = out.Path;
      chosenFromSelection_ = !in.Selected.empty();
      SetModalResult(mrOk);
      return;
    case TqzOpenOutcome::TAction::Stay:
      if (CheckFileExists) chosen_.clear();
      return;
  }
}

void TqzOpenDlgForm::EditEnter() {
  const std::string text = edit_->Text();
  if (text.find('*') != std::string::npos || text.find('?') != std::string::npos) {
    list_->SetMask(text);
    SyncScrollBars();
    return;
  }
  OpenClick();
}

void TqzOpenDlgForm::FilterChanged() {
  list_->SetMask(filterCombo_->Mask());
  SyncScrollBars();
}

// ------------------------------------------------------------------ completion

std::vector<std::string> TqzOpenDlgForm::CompletionNames(const std::string& typed, std::string& folderPart) const {
  std::vector<std::string> names;
  const size_t slash = typed.rfind('/');
  if (slash == std::string::npos) {
    folderPart.clear();
    for (int i = 0; i < list_->FolderCount(); ++i) names.push_back(list_->Folder(i).RelativeId());
    return names;
  }
  folderPart = typed.substr(0, slash + 1);
  const std::string folder = ResolveTyped(folderPart, CurrentPath(), HomeFolder());
  if (folder.empty()) return names;
  TShellObjectTypes types{TShellObjectType::otFolders, TShellObjectType::otNonFolders};
  if (showHidden_) types.Include(TShellObjectType::otHidden);
  TEnumOptions options;
  options.MaxEntries = 20000;
  for (TFolderEntry& e : EnumerateFolder(folder, types, options).Entries) names.push_back(std::move(e.Name));
  return names;
}

namespace {

int CodePoints(std::string_view utf8) {
  return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

// Only with the caret at the end of the text: the completion is offered
// as the selected rest.
void TqzOpenDlgForm::CompleteEditText() {
  const std::string text = edit_->Text();
  const int length = CodePoints(text);
  if (text.empty() || edit_->SelLength() != 0 || edit_->SelStart() != length) return;
  std::string folderPart;
  const std::vector<std::string> names = CompletionNames(text, folderPart);
  const std::string typedName = text.substr(folderPart.size());
  const std::string completed = CompleteName(typedName, names);
  if (completed.size() <= typedName.size() || !IsDisplayableName(completed)) return;
  completing_ = true;
  edit_->SetText(folderPart + completed);
  edit_->SetSelStart(length);
  edit_->SetSelLength(CodePoints(folderPart + completed) - length);
  completing_ = false;
}

// ------------------------------------------------------------------ keys

void TqzOpenDlgForm::KeyDown(uint16_t& Key, TShiftState Shift) {
  const bool ctrl = Shift.Contains(ssCtrl), alt = Shift.Contains(ssAlt);
  TComponentRef<TqzOpenDlgForm> self(this);
  TWinControl* active = ActiveControl();
  auto done = [&Key] { Key = 0; };
  if (ctrl && !alt && Key == 'H') {
    done();
    ToggleHiddenFiles();
    return;
  }
  if (ctrl && !alt && Key == 'L') {
    done();
    edit_->SetFocus();
    edit_->SelectAll();
    return;
  }
  if (alt && !ctrl && Key == VK_UP) {
    done();
    GoUp();
    return;
  }
  if (alt && !ctrl && Key == VK_LEFT) {
    done();
    GoBack();
    return;
  }
  if (active == edit_) {
    if (Key == VK_RETURN) {
      done();
      EditEnter();
      return;
    }
  }
  if (active == list_ && ListKey(Key, Shift)) {
    done();
    return;
  }
  if (self) TForm::KeyDown(Key, Shift);
}

// Tab in the file-name edit accepts an offered completion (the selected
// rest of the text) instead of moving the focus.
void TqzOpenDlgForm::CMDialogKey(TMessage& m) {
  if (m.WParam == VK_TAB && ActiveControl() == edit_ && edit_->SelLength() > 0 && GetKeyState(VK_SHIFT) >= 0 &&
      GetKeyState(VK_CONTROL) >= 0 && edit_->SelStart() + edit_->SelLength() == CodePoints(edit_->Text())) {
    edit_->SetSelStart(edit_->SelStart() + edit_->SelLength());
    edit_->SetSelLength(0);
    m.Result = 1;
    return;
  }
  TForm::CMDialogKey(m);
}

// ------------------------------------------------------------------ scroll bars

void TqzOpenDlgForm::SyncScrollBars() {
  if (syncingBars_ || !list_ || !hBar_ || !vBar_) return;
  syncingBars_ = true;
  const TListScrollInfo v = list_->VertScrollInfo(), h = list_->HorzScrollInfo();
  const bool vWanted = v.Max >= v.Min && v.Max - v.Min + 1 > v.Page;
  const bool hWanted = h.Max >= h.Min && h.Max - h.Min + 1 > h.Page;
  vBar_->SetRange(v.Min, std::max(v.Min, v.Max), std::max(0, v.Page), v.Position);
  vBar_->SetLargeChange(std::max(1, v.Page));
  vBar_->SetEnabled(vWanted);
  hBar_->SetRange(h.Min, std::max(h.Min, h.Max), std::max(0, h.Page), h.Position);
  hBar_->SetLargeChange(std::max(1, h.Page));
  hBar_->SetEnabled(hWanted);
  syncingBars_ = false;
}

void TqzOpenDlgForm::ScrollBarMoved(bool vertical) {
  if (syncingBars_) return;
  const int pos = (vertical ? vBar_ : hBar_)->Position();
  list_->Perform(vertical ? WM_VSCROLL : WM_HSCROLL, SB_THUMBPOSITION | (static_cast<WPARAM>(pos & 0xFFFF) << 16),
                 pos);
}

// ------------------------------------------------------------------ building

class TqzOpenDlgBuilder {
 public:
  TqzOpenDlgBuilder(TqzOpenDlgForm& f, const TqzOpenDialogSettings& s) : f_(f), s_(s), skin_(s.CtrlSkinData) {}

  void Build() {
    f_.ctrlSkin_ = skin_;
    f_.placesData_ = s_.Places ? s_.Places : std::make_shared<const TPlaces>(PlacesSettingsFromEnvironment());
    f_.thumbnailsOffered_ = s_.ShowThumbnails;
    f_.DefaultExt = s_.DefaultExt;
    f_.CheckFileExists = s_.CheckFileExists;
    f_.newFolderBase_ = Str("MSG_NEWFOLDER", "New Folder");
    f_.showHidden_ = s_.ShowHiddenFiles;
    f_.SetClientWidth(kOpenDefaultWidth);
    f_.SetClientHeight(kOpenDefaultHeight);
    MakeImages();
    MakeToolBar();
    MakeViewMenu();
    MakePlaces();
    MakeClient();
    MakeBottom();
    MakeList();
    SetUpController();
    ApplyFonts();
    ApplySkins();
    f_.SetViewMode(s_.ViewMode);
    StartFolder();
    SizeWindow();
  }

 private:
  std::string Str(std::string_view key, std::string_view builtIn) const { return DialogString(skin_, key, builtIn); }
  bool HasControl(const std::string& name) const {
    return skin_ != nullptr && !skin_->Empty() && skin_->FindControlIndex(name) >= 0;
  }

  void MakeImages() {
    f_.builtInToolImages_ = new TImageList(&f_);
    LoadBuiltInToolImages(*f_.builtInToolImages_);
    f_.toolImages_ = s_.ToolBarImageList ? s_.ToolBarImageList : f_.builtInToolImages_;
    f_.systemImages_ = new TqzSystemImages(&f_);
  }

  TqzSkinButton* ToolButton(int image, const char* key, const char* hint, int left) {
    auto* b = new TqzSkinButton(&f_);
    b->SetParent(f_.toolBar_);
    b->SetSkinDataName(HasControl("resizetoolbutton") ? "resizetoolbutton" : "toolbutton");
    b->SetBounds(left, 0, 27, 25);
    b->SetImageList(f_.toolImages_);
    b->SetImageIndex(image);
    b->SetCanFocused(false);
    b->SetHint(Str(key, hint));
    b->SetShowHint(true);
    b->SetTransparent(s_.ToolButtonsTransparent);
    return b;
  }

  void MakeToolBar() {
    auto* bar = new TqzSkinToolBar(&f_);
    f_.toolBar_ = bar;
    bar->SetName("ToolBar");
    bar->SetParent(&f_);
    bar->SetAlign(alTop);
    bar->SetSkinDataName("toolpanel");
    bar->SetBorderStyle(TqzSkinBorderStyle::bvNone);
    bar->SetHeight(kOpenToolBarHeight);
    bar->SetImages(f_.toolImages_);

    auto* label = new TqzSkinStdLabel(&f_);
    f_.lookIn_ = label;
    label->SetParent(bar);
    label->SetAutoSize(false);
    label->SetAlignment(taRightJustify);
    label->SetLayout(TTextLayout::tlCenter);
    label->SetCaption(Str("FLV_LOOKIN", "Folder: ") + " ");
    label->SetBounds(0, 0, 98, kOpenToolBarHeight);

    auto* combo = new TqzSkinShellComboBox(&f_);
    f_.folderCombo_ = combo;
    combo->SetParent(bar);
    combo->SetSkinDataName("combobox");
    combo->SetDropDownCount(15);
    combo->SetPlaces(f_.placesData_);
    combo->SetSystemImages(f_.systemImages_);
    combo->SetBounds(98, 0, 300, combo->Height());
    TqzOpenDlgForm* form = &f_;
    combo->OnFolderSelect = [form](TObject*, const TShellId& folder) { form->BrowseTo(folder); };

    int x = 98 + 300 + 10;
    f_.back_ = ToolButton(0, "MSG_BTN_BACK_HINT", "Go To Last Folder Visited", x);
    f_.back_->OnClick = [form](TObject*) { form->GoBack(); };
    f_.up_ = ToolButton(1, "MSG_BTN_UP_HINT", "Up One Level", x += 27);
    f_.up_->OnClick = [form](TObject*) { form->GoUp(); };
    f_.newFolder_ = ToolButton(2, "MSG_BTN_NEWFOLDER_HINT", "Create New Folder", x += 27);
    f_.newFolder_->OnClick = [form](TObject*) { form->NewFolder(); };

    auto* view = new TqzSkinMenuButton(&f_);
    f_.viewButton_ = view;
    view->SetParent(bar);
    view->SetSkinDataName("toolmenubutton");
    view->SetBounds(x += 27, 0, 37, 25);
    view->SetImageList(f_.toolImages_);
    view->SetImageIndex(3);
    view->SetCanFocused(false);
    view->SetHint(Str("MSG_BTN_VIEWMENU_HINT", "View Menu"));
    view->SetShowHint(true);
    view->SetTransparent(s_.ToolButtonsTransparent);
  }

  void MakeViewMenu() {
    auto* menu = new TqzSkinPopupMenu(&f_);
    f_.viewMenu_ = menu;
    struct TEntry {
      const char* Key;
      const char* Text;
    };
    static constexpr TEntry entries[kOpenViewModeCount] = {
        {"MSG_LV_ICON", "Large icons"},        {"MSG_LV_SMALLICON", "Small icons"},
        {"MSG_LV_LIST", "List"},               {"MSG_LV_DETAILS", "Details"},
        {"MSG_LV_THUMBNAILS", "Thumbnails"},   {"MSG_LV_BIGTHUMBNAILS", "Big Thumbnails"},
        {"MSG_LV_VERYBIGTHUMBNAILS", "Very Big Thumbnails"},
    };
    TqzOpenDlgForm* form = &f_;
    const int count = s_.ShowThumbnails ? kOpenViewModeCount : qzvmThumbnails;
    for (int mode = 0; mode < count; ++mode) {
      auto* item = new TMenuItem(&f_);
      item->SetCaption(Str(entries[mode].Key, entries[mode].Text));
      item->SetRadioItem(true);
      item->SetGroupIndex(1);
      item->OnClick = [form, mode](TObject*) { form->SetViewMode(mode); };
      menu->Items()->Add(item);
      f_.viewItems_[size_t(mode)] = item;
    }
    f_.viewButton_->SetSkinPopupMenu(menu);
  }

  void MakePlaces() {
    auto* panel = new TqzSkinPanel(&f_);
    f_.places_ = panel;
    panel->SetParent(&f_);
    panel->SetAlign(alLeft);
    panel->SetWidth(kOpenPlacesWidth);
    panel->SetBorderStyle(TqzSkinBorderStyle::bvNone);
    panel->SetCaption("");
    const TRootFolder roots[4] = {TRootFolder::rfDesktop, TRootFolder::rfPersonal, TRootFolder::rfMyComputer,
                                  TRootFolder::rfNetwork};
    const char* icons[4] = {"user-desktop", "folder-documents", "computer", "network-workgroup"};
    TqzOpenDlgForm* form = &f_;
    for (int i = 0; i < 4; ++i) {
      const TShellId folder = f_.placesData_->RootFolder(roots[i]);
      f_.placeFolders_[size_t(i)] = folder;
      auto* b = new TqzSkinButton(&f_);
      f_.placeButtons_[size_t(i)] = b;
      b->SetParent(panel);
      b->SetSkinDataName("resizetoolbutton");
      b->SetBounds(0, i * kOpenPlaceHeight, kOpenPlacesWidth, kOpenPlaceHeight);
      b->SetLayout(blGlyphTop);
      b->SetTransparent(true);
      b->SetCanFocused(false);
      b->SetCaption(PlaceCaption(roots[i], folder));
      b->SetImageList(f_.systemImages_->Large());
      b->SetImageIndex(f_.systemImages_->IndexOfIcon(icons[i], "inode/directory"));
      b->OnClick = [form, i](TObject*) { form->BrowseTo(form->placeFolders_[size_t(i)]); };
    }
  }

  std::string PlaceCaption(TRootFolder root, const TShellId& folder) const {
    switch (root) {
      case TRootFolder::rfDesktop: return f_.placesData_->DisplayName(folder);
      case TRootFolder::rfPersonal: return f_.placesData_->DisplayName(folder);
      default: return f_.placesData_->DisplayName(folder);
    }
  }

  // Right of the places: the bottom panel and above it the list panel.
  void MakeClient() {
    auto* panel = new TqzSkinPanel(&f_);
    f_.client_ = panel;
    panel->SetParent(&f_);
    panel->SetAlign(alClient);
    panel->SetBorderStyle(TqzSkinBorderStyle::bvNone);
    panel->SetCaption("");
  }

  TqzSkinStdLabel* BottomLabel(const char* key, const char* text, int top) {
    auto* label = new TqzSkinStdLabel(&f_);
    label->SetParent(f_.bottom_);
    label->SetAutoSize(false);
    label->SetAlignment(taLeftJustify);
    label->SetLayout(TTextLayout::tlCenter);
    label->SetCaption(Str(key, text));
    label->SetBounds(5, top, 80, 21);
    return label;
  }

  void MakeBottom() {
    auto* panel = new TqzSkinPanel(&f_);
    f_.bottom_ = panel;
    panel->SetParent(f_.client_);
    panel->SetAlign(alBottom);
    panel->SetHeight(kOpenBottomHeight);
    panel->SetBorderStyle(TqzSkinBorderStyle::bvNone);
    panel->SetCaption("");
    const int w = panel->Width();
    TqzOpenDlgForm* form = &f_;

    f_.fileNameLabel_ = BottomLabel("MSG_FILENAME", "File name:", 10);
    auto* edit = new TqzSkinEdit(&f_);
    f_.edit_ = edit;
    edit->SetParent(panel);
    edit->SetBounds(80, 10, w - 170, edit->Height());
    edit->SetAnchors({akLeft, akTop, akRight});
    edit->OnKeyPress = [form](TObject*, char32_t& key) { form->typedChar_ = key >= 0x20 && key != 0x7F; };
    edit->OnChange = [form](TObject*) {
      if (form->completing_ || !form->typedChar_) return;
      form->typedChar_ = false;
      form->CompleteEditText();
    };

    f_.fileTypeLabel_ = BottomLabel("MSG_FILETYPE", "File type:", 45);
    auto* filter = new TqzSkinFilterComboBox(&f_);
    f_.filterCombo_ = filter;
    filter->SetParent(panel);
    filter->SetBounds(80, 45, w - 170, 21);
    filter->SetAnchors({akLeft, akTop, akRight});
    filter->OnFilterChange = [form](TObject*) { form->FilterChanged(); };

    f_.open_ = BottomButton("MSG_BTN_OPEN", "&Open", 10);
    f_.open_->OnClick = [form](TObject*) { form->OpenClick(); };
    f_.cancel_ = BottomButton("MSG_BTN_CANCEL", "Cancel", 45);
    f_.cancel_->SetModalResult(mrCancel);
    f_.cancel_->SetCancel(true);
  }

  TqzSkinButton* BottomButton(const char* key, const char* text, int top) {
    auto* b = new TqzSkinButton(&f_);
    b->SetParent(f_.bottom_);
    b->SetCaption(Str(key, text));
    b->SetCanFocused(true);
    b->SetBounds(f_.bottom_->Width() - 80, top, 70, 25);
    b->SetAnchors({akTop, akRight});
    return b;
  }

  void MakeList() {
    auto* panel = new TqzSkinPanel(&f_);
    f_.listPanel_ = panel;
    panel->SetParent(f_.client_);
    panel->SetAlign(alClient);
    panel->SetBorderStyle(TqzSkinBorderStyle::bvFrame);
    panel->SetCaption("");
    TqzOpenDlgForm* form = &f_;

    auto* h = new TqzSkinScrollBar(&f_);
    f_.hBar_ = h;
    h->SetParent(panel);
    h->SetKind(sbHorizontal);
    h->SetAlign(alBottom);
    h->SetHeight(kOpenScrollBarSize);
    h->SetSkinDataName("hscrollbar");
    h->SetBoth(true);
    h->SetBothMarkerWidth(kOpenScrollBarSize);
    h->SetEnabled(false);
    h->OnChange = [form](TObject*) { form->ScrollBarMoved(false); };

    auto* v = new TqzSkinScrollBar(&f_);
    f_.vBar_ = v;
    v->SetParent(panel);
    v->SetKind(sbVertical);
    v->SetAlign(alRight);
    v->SetWidth(kOpenScrollBarSize);
    v->SetSkinDataName("vscrollbar");
    v->OnChange = [form](TObject*) { form->ScrollBarMoved(true); };

    auto* list = new TqzSkinFileListView(&f_);
    f_.list_ = list;
    list->SetParent(panel);
    list->SetAlign(alClient);
    list->SetViewStyle(vsList);
    list->SetShowColumnHeaders(true);
    list->SetAutoArrange(true);
    list->SetSmallImages(f_.systemImages_->Small());
    list->SetLargeImages(f_.systemImages_->Large());
    list->SetPlaces(f_.placesData_);
    list->SetMultiSelect(s_.MultiSelection);
    TShellObjectTypes types{TShellObjectType::otFolders, TShellObjectType::otNonFolders};
    if (s_.ShowHiddenFiles) types.Include(TShellObjectType::otHidden);
    list->SetObjectTypes(types);
    TqzSystemImages* images = f_.systemImages_;
    list->OnGetIcon = [images](TObject*, TqzShellFolder& item, bool) { return images->IndexOf(item); };
    list->OnSelectionChange = [form](TObject*) { form->ListSelectionChanged(); };
    list->OnDblClick = [form](TObject*) { form->ListDblClick(); };
    list->OnScrollStateChange = [form](TObject*) { form->SyncScrollBars(); };
    list->OnEdited = [form](TObject*, int index, std::string& s, bool& accept) { form->ListEdited(index, s, accept); };
    list->OnResize = [form](TObject*) { form->SyncScrollBars(); };
    DetailColumns(*list);
  }

  // The four columns of the details view, as wide as their texts need.
  void DetailColumns(TqzSkinFileListView& list) {
    TCanvas measure;
    measure.Font().SetData(s_.DefaultFont);
    const int w = std::max(1, measure.TextWidth("W")), a1 = std::max(1, measure.TextWidth("A1"));
    list.ClearColumns();
    list.AddColumn(Str("FLV_NAME", "Name"), 25 * a1);
    list.AddColumn(Str("FLV_SIZE", "Size"), 10 * w);
    list.AddColumn(Str("FLV_TYPE", "Type"), 10 * w);
    list.AddColumn(Str("FLV_MODIFIED", "Modified"), 14 * w);
  }

  void SetUpController() {
    TqzOrvane& c = *f_.orvane_;
    f_.SetCaption(s_.Title);
    c.SetBorderIcons({});
    c.SetSkinData(s_.SkinData);
    c.SetMenusSkinData(s_.CtrlSkinData);
    c.MinWidth = s_.DialogMinWidth;
    c.MinHeight = s_.DialogMinHeight;
    c.MinClientWidth = kOpenMinClientWidth;
    c.MinClientHeight = kOpenMinClientHeight;
    c.AlphaBlend = s_.AlphaBlend;
    c.AlphaBlendAnimation = s_.AlphaBlendAnimation;
    c.AlphaBlendValue = s_.AlphaBlendValue;
    c.MenusAlphaBlend = s_.CtrlAlphaBlend;
    c.MenusAlphaBlendAnimation = s_.CtrlAlphaBlendAnimation;
    c.MenusAlphaBlendValue = s_.CtrlAlphaBlendValue;
    for (TqzSkinCustomComboBox* combo : {static_cast<TqzSkinCustomComboBox*>(f_.folderCombo_),
                                         static_cast<TqzSkinCustomComboBox*>(f_.filterCombo_)}) {
      combo->SetListBoxAlphaBlend(s_.CtrlAlphaBlend);
      combo->SetListBoxAlphaBlendAnimation(s_.CtrlAlphaBlendAnimation);
      combo->SetListBoxAlphaBlendValue(s_.CtrlAlphaBlendValue);
    }
  }

  void ApplyFonts() {
    TFont font;
    font.SetData(s_.DefaultFont);
    f_.open_->SetDefaultFont(font);
    f_.cancel_->SetDefaultFont(font);
    f_.folderCombo_->SetDefaultFont(font);
    f_.list_->Font().SetData(s_.DefaultFont);
  }

  void ApplySkins() {
    TqzSkinData* skin = s_.CtrlSkinData;
    // The list's skinned drawing: its header and item descriptions.
    f_.listHeaderSkinDataName_ = s_.LVHeaderSkinDataName;
    f_.listSkinnedDrawing_ = skin != nullptr && skin->DlgListViewDrawSkin;
    f_.listItemSkinDataName_ = skin != nullptr ? skin->DlgListViewItemSkinDataName : std::string();
    f_.list_->SetSkinData(skin);
    f_.list_->SetHeaderSkinDataName(f_.listHeaderSkinDataName_);
    if (!f_.listItemSkinDataName_.empty()) f_.list_->SetItemSkinDataName(f_.listItemSkinDataName_);
    f_.list_->SetDrawSkin(f_.listSkinnedDrawing_);
    // The list takes the window colours of the controls' skin, not those of
    // whatever skin redirects the system colours.
    if (skin != nullptr && !skin->Empty()) {
      f_.list_->SetColor(skin->SkinColors().cWindow);
      f_.list_->Font().SetColor(skin->SkinColors().cWindowText);
    }
    f_.filterCombo_->SetFilter(s_.Filter);
    f_.filterCombo_->SetItemIndex(std::clamp(s_.FilterIndex - 1, 0, std::max(0, f_.filterCombo_->Items().Count() - 1)));
    f_.list_->SetMask(f_.filterCombo_->Mask());
    for (TqzSkinCustomControl* c :
         std::initializer_list<TqzSkinCustomControl*>{f_.toolBar_, f_.places_, f_.client_, f_.listPanel_, f_.bottom_, f_.back_,
                                                      f_.up_, f_.newFolder_, f_.viewButton_, f_.open_, f_.cancel_,
                                                      f_.hBar_, f_.vBar_, f_.folderCombo_, f_.filterCombo_})
      c->SetSkinData(skin);
    f_.edit_->SetSkinData(skin);
    for (TqzSkinButton* b : f_.placeButtons_) b->SetSkinData(skin);
    for (TqzSkinStdLabel* l : {f_.lookIn_, f_.fileNameLabel_, f_.fileTypeLabel_}) l->SetSkinData(skin);
    f_.viewMenu_->SetSkinData(skin);
    f_.folderCombo_->SetSkinDataName("combobox");
    f_.fileNameLabel_->SetHeight(std::max(1, f_.edit_->Height() - 1));
    f_.fileTypeLabel_->SetHeight(std::max(1, f_.filterCombo_->Height() - 1));
  }

  void StartFolder() {
    const std::string programDir = s_.ProgramDir.empty() ? ProgramFolder() : s_.ProgramDir;
    const std::string start = qz::StartFolder(s_.FileName, s_.InitialDir, programDir, [](const std::string& p) {
      return PathKindOnDisk(p) == TqzPathKind::Folder;
    });
    // The folder is listed once the window has painted itself (or, should
    // no paint come, after a moment): a folder of many thousand entries
    // does not keep the window from appearing.
    f_.startFolder_ = TShellId::FromPath(start);
    f_.folderCombo_->SetFolder(f_.startFolder_);
    auto* timer = new TTimer(&f_);
    f_.startTimer_ = timer;
    timer->SetInterval(TqzOpenDlgForm::kStartListingFallbackMs);
    TqzOpenDlgForm* form = &f_;
    timer->OnTimer = [form](TObject*) { form->ListStartFolder(); };
    timer->Restart();
    f_.edit_->SetText(NamePart(s_.FileName));
    f_.SetActiveControl(f_.edit_);
  }

  void SizeWindow() {
    f_.SetClientWidth(s_.DialogWidth > 0 ? s_.DialogWidth : kOpenDefaultWidth);
    f_.SetClientHeight(s_.DialogHeight > 0 ? s_.DialogHeight : kOpenDefaultHeight);
    if (s_.SkinData == nullptr || s_.SkinData->Empty()) return;
    const TqzSizeLimits limits = f_.orvane_->SizeLimits();
    if (f_.Width() < limits.MinWidth) f_.SetWidth(limits.MinWidth);
    if (f_.Height() < limits.MinHeight) f_.SetHeight(limits.MinHeight);
  }

  TqzOpenDlgForm& f_;
  const TqzOpenDialogSettings& s_;
  TqzSkinData* skin_;
};

void TqzOpenDlgForm::Build(const TqzOpenDialogSettings& settings) {
  TqzOpenDlgBuilder builder(*this, settings);
  builder.Build();
}

std::unique_ptr<TqzOpenDlgForm> BuildOpenDlgForm(const TqzOpenDialogSettings& settings) {
  auto form = std::make_unique<TqzOpenDlgForm>(Application);
  form->Build(settings);
  return form;
}

}  // namespace qz
