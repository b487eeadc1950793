// TqzCustomEdit (transparent painting, dialog keys, strict read-only, the
// skinned context menu) and TqzSkinNumEdit (numeric input).
#include "skin/controls/SkinEdit.h"

#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "skin/base/MenuController.h"
#include "skin/base/SkinMessages.h"
#include "skin/controls/SkinFrame.h"
#include "skin/draw/QZUtils.h"

namespace qz {

const TqzEditMenuItemInfo kEditMenuItems[8] = {
    {"EDIT_UNDO", "Undo"},   {nullptr, "-"},          {"EDIT_CUT", "Cut"},
    {"EDIT_COPY", "Copy"},   {"EDIT_PASTE", "Paste"}, {"EDIT_DELETE", "Delete"},
    {nullptr, "-"},          {"EDIT_SELECTALL", "Select All"},
};

TqzCustomEdit::TqzCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) { SetBorderVisible(false); }

TqzCustomEdit::~TqzCustomEdit() { FreeMenu(); }

void TqzCustomEdit::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  // The background is drawn otherwise from now on; the window stays.
  RecalcFrame(*this);
}

void TqzCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CHAR:
      // Read-only lets only Ctrl+C through: no character reaches the text.
      if (ReadOnly() && m.WParam != 3) {
        m.Result = 0;
        return;
      }
      break;
    case WM_AFTERDISPATCH:
      FreeMenu();
      return;
    default: break;
  }
  TCustomMaskEdit::Dispatch(m);
}

void TqzCustomEdit::KeyPress(char32_t& key) {
  if (key != U'\r' && key != 27) return TCustomMaskEdit::KeyPress(key);
  // Enter and Escape never reach the text: after the key-press event they
  // go to the form, which presses its default or cancel button.
  TComponentRef<TqzCustomEdit> self(this);
  TCustomControl::KeyPress(key);
  if (!self || key == 0) return;
  WPARAM vk = key == U'\r' ? VK_RETURN : VK_ESCAPE;
  key = 0;
  if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, vk, 0);
}

// ---------------------------------------------------------------- painting

void TqzCustomEdit::PaintBackground(TCanvas& canvas, const TRect& r) {
  if (!transparent_ || !Parent()) return TCustomMaskEdit::PaintBackground(canvas, r);
  // What lies under the window, cut to the client area.
  TRect window;
  GetWindowRect(HWND(this), window);
  TPoint client = ClientOrigin();
  TBitmap under;
  under.SetSize(std::max(Width(), 1), std::max(Height(), 1));
  GetParentImage(this, under.Canvas());
  TRect source = OffsetRect(r, client.X - window.Left, client.Y - window.Top);
  canvas.CopyRect(r, under.Canvas(), source);
}

// ---------------------------------------------------------------- context menu

TCustomForm* EditMenuForm(TControl* control) {
  TCustomForm* form = GetParentForm(control);
  // An MDI child has no menus of its own: the main form shows them.
  if (form && form->FormStyle() == fsMDIChild && Application && Application->MainForm())
    return Application->MainForm();
  return form;
}

TqzSkinData* TqzCustomEdit::MenuSkin() const {
  auto* self = const_cast<TqzCustomEdit*>(this);
  TCustomForm* form = EditMenuForm(self);
  TqzMenuController* controller = MenuController(form ? static_cast<TComponent*>(form) : self);
  return controller ? controller->MenuSkin() : nullptr;
}

void TqzCustomEdit::FreeMenu() {
  if (menu_) delete menu_.Get();
  menu_ = nullptr;
}

void TqzCustomEdit::WMContextMenu(TMessage& m) {
  if (PopupMenu()) return TCustomMaskEdit::WMContextMenu(m);
  TPoint at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  // From the keyboard the menu opens at the middle of the edit.
  if (at.X < 0 || at.Y < 0) at = ClientToScreen({ClientWidth() / 2, ClientHeight() / 2});
  ShowEditMenu(at);
  m.Result = 1;
}

void TqzCustomEdit::AddMenuItem(int index, bool enabled, std::function<void()> action) {
  const TqzEditMenuItemInfo& info = kEditMenuItems[index];
  auto* item = new TMenuItem(menu_.Get());
  std::string caption = info.DefaultCaption;
  TqzSkinData* skin = info.ResourceKey ? MenuSkin() : nullptr;
  if (skin && skin->ResourceStrData()) {
    std::string s = skin->ResourceStrData()->GetResourceStr(info.ResourceKey);
    if (!s.empty()) caption = s;
  }
  item->SetCaption(caption);
  item->SetEnabled(enabled);
  if (action) item->OnClick = [action](TObject*) { action(); };
  menu_->Items()->Add(item);
}

void TqzCustomEdit::ShowEditMenu(TPoint screen) {
  FreeMenu();
  TCustomForm* form = EditMenuForm(this);
  if (!form) return;
  menu_ = new TPopupMenu(form);
  TComponentRef<TqzCustomEdit> self(this);
  // Each item acts on the edit only while it lives.
  auto on = [self](void (TqzCustomEdit::*op)()) {
    return [self, op]() { if (self) (self.Get()->*op)(); };
  };
  const bool selection = SelLength() > 0, writable = !ReadOnly();
  const bool wholeText = SelStart() == 0 && SelLength() == buffer_.Length();
  AddMenuItem(0, CanUndo(), on(&TqzCustomEdit::Undo));
  AddMenuItem(1, true, nullptr);
  AddMenuItem(2, selection && writable, on(&TqzCustomEdit::CutToClipboard));
  AddMenuItem(3, selection, on(&TqzCustomEdit::CopyToClipboard));
  AddMenuItem(4, !Platform().ClipboardText().empty() && writable, on(&TqzCustomEdit::PasteFromClipboard));
  AddMenuItem(5, selection && writable, on(&TqzCustomEdit::ClearSelection));
  AddMenuItem(6, true, nullptr);
  AddMenuItem(7, !wholeText, on(&TqzCustomEdit::SelectAll));
  // Shown through the menu engine of the form's controller, drawn with the
  // skin the controller gives its menus.
  TqzMenuController* controller = MenuController(menu_.Get());
  if (controller == nullptr) return;
  controller->PopupItems(*menu_->Items(), controller->MenuSkin(), this, {screen.X, screen.Y, screen.X, screen.Y},
                         false);
}

// ---------------------------------------------------------------- numeric edit

TqzSkinNumEdit::TqzSkinNumEdit(TComponent* AOwner) : TqzCustomEdit(AOwner) {}

bool TqzSkinNumEdit::IsValidChar(char32_t key) const {
  const std::u32string& text = buffer_.Chars();
  if (!editable_ && (key == 8 || key >= 32)) return false;
  bool digit = key >= U'0' && key <= U'9';
  bool control = key < 32 && key != U'\r';
  if (key == DecimalSeparator() && float_) return text.find(key) == std::u32string::npos;
  if (key == U'-') {
    if (SelStart() != 0) return false;
    if (SelLength() > 0) return true;
    return text.find(U'-') == std::u32string::npos;
  }
  return digit || control;
}

void TqzSkinNumEdit::KeyPress(char32_t& key) {
  if (!IsValidChar(key)) {
    ++beeps_;
    key = 0;
    return;
  }
  TqzCustomEdit::KeyPress(key);
}

void TqzSkinNumEdit::KeyDown(uint16_t& key, TShiftState shift) {
  // Up and Down step the owner's value instead of moving the caret.
  if (key == VK_UP || key == VK_DOWN) {
    auto& callback = key == VK_UP ? OnUpClick : OnDownClick;
    key = 0;
    if (callback) callback();
    return;
  }
  TqzCustomEdit::KeyDown(key, shift);
}

void TqzSkinNumEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_MOUSEWHEEL) {
    int delta = static_cast<int16_t>(HIWORD(m.WParam));
    auto& callback = delta > 0 ? OnDownClick : OnUpClick;
    if (callback) callback();
    m.Result = 1;
    return;
  }
  TqzCustomEdit::Dispatch(m);
}

void TqzSkinNumEdit::CMMouseEnter(TMessage& m) {
  TComponentRef<TqzSkinNumEdit> self(this);
  TqzCustomEdit::CMMouseEnter(m);
  if (self && OnMouseEnterOwner) OnMouseEnterOwner();
}

void TqzSkinNumEdit::CMMouseLeave(TMessage& m) {
  TComponentRef<TqzSkinNumEdit> self(this);
  TqzCustomEdit::CMMouseLeave(m);
  if (self && OnMouseLeaveOwner) OnMouseLeaveOwner();
}

QZ_PUBLISHED(TqzCustomEdit, TCustomMaskEdit) {}

QZ_PUBLISHED(TqzSkinNumEdit, TqzCustomEdit) {
  using O = TqzSkinNumEdit;
  b.Factory([](TComponent* owner) { return new TqzSkinNumEdit(owner); });
  b.Prop("Text", &O::Text, &O::SetText);
  b.Prop("ReadOnly", &O::ReadOnly, &O::SetReadOnly, false);
  b.Prop("MaxLength", &O::MaxLength, &O::SetMaxLength, 0);
  b.Event<TNotifyEvent>("OnChange", &O::OnChange);
}

}  // namespace qz
