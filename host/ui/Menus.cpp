#include "host/ui/Menus.h"

#include <algorithm>
#include <cctype>

#include "host/base/Messages.h"
#include "host/base/Stream.h"
#include "host/components/Properties.h"
#include "host/ui/ActnList.h"
#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "host/ui/PopupMenuWindow.h"

namespace qz {

// ---------------------------------------------------------------------------
// Shortcuts

namespace {

struct TKeyName {
  uint16_t key;
  const char* name;
};
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},     {VK_ESCAPE, "Esc"},  {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"},   {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},   {VK_UP, "Up"},       {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},  {VK_DELETE, "Del"},
};
constexpr TShortCut kKeyMask = 0x00FF;

std::string KeyName(uint16_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
  for (const TKeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return "";
}

uint16_t KeyFromName(std::string_view name) {
  if (name.size() == 1) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return static_cast<uint16_t>(c);
  }
  for (uint16_t key = VK_F1; key <= VK_F12; ++key)
    if (SameText(name, KeyName(key))) return key;
  for (const TKeyName& k : kKeyNames)
    if (SameText(name, k.name)) return k.key;
  return 0;
}

bool ConsumePrefix(std::string_view& text, std::string_view prefix) {
  if (text.size() <= prefix.size() || !SameText(text.substr(0, prefix.size()), prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  // Only the low byte is a key; anything else could alias the modifier bits.
  if ((key & ~kKeyMask) != 0) return 0;
  TShortCut result = key;
  if (shift.Contains(ssShift)) result |= scShift;
  if (shift.Contains(ssCtrl)) result |= scCtrl;
  if (shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
  key = shortCut & kKeyMask;
  shift = {};
  if (shortCut & scShift) shift.Include(ssShift);
  if (shortCut & scCtrl) shift.Include(ssCtrl);
  if (shortCut & scAlt) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
  std::string name = KeyName(shortCut & kKeyMask);
  if (name.empty()) return "";
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(std::string_view text) {
  TShortCut mods = 0;
  for (;;) {
    if (ConsumePrefix(text, "Shift+")) mods |= scShift;
    else if (ConsumePrefix(text, "Ctrl+")) mods |= scCtrl;
    else if (ConsumePrefix(text, "Alt+")) mods |= scAlt;
    else break;
  }
  uint16_t key = KeyFromName(text);
  return key == 0 ? 0 : static_cast<TShortCut>(key | mods);
}

std::string StripHotkey(std::string_view caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    // "&x" shows x; "&&" shows "&"; a trailing "&" shows nothing.
    if (caption[i] == '&' && ++i == caption.size()) break;
    out += caption[i];
  }
  return out;
}

char GetHotkey(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner)
    : TComponent(AOwner), bitmap_(std::make_unique<TBitmap>()) {
  bitmap_->OnChange = [this](TObject*) { MenuChanged(); };
}

TMenuItem::~TMenuItem() {
  destroying_ = true;
  bitmap_->OnChange = nullptr;
  // Sub-items go too (last first), whoever owns them; each leaves our list.
  while (!items_.empty()) {
    TMenuItem* item = items_.back();
    delete item;
    if (!items_.empty() && items_.back() == item) items_.pop_back();
  }
  if (parent_ != nullptr) parent_->Remove(this);
}

#define QZ_MENU_SETTER(field, value)     \
  do {                                   \
    if ((field) == (value)) return;      \
    (field) = (value);                   \
    MenuChanged();                       \
  } while (false)

void TMenuItem::SetCaption(const std::string& value) { QZ_MENU_SETTER(caption_, value); }
void TMenuItem::SetShortCut(TShortCut value) { QZ_MENU_SETTER(shortCut_, value); }
void TMenuItem::SetGroupIndex(int value) { QZ_MENU_SETTER(groupIndex_, value); }
void TMenuItem::SetEnabled(bool value) { QZ_MENU_SETTER(enabled_, value); }
void TMenuItem::SetVisible(bool value) { QZ_MENU_SETTER(visible_, value); }
void TMenuItem::SetDefault(bool value) { QZ_MENU_SETTER(default_, value); }
void TMenuItem::SetImageIndex(int value) { QZ_MENU_SETTER(imageIndex_, value < -1 ? -1 : value); }
void TMenuItem::SetHint(const std::string& value) { QZ_MENU_SETTER(hint_, value); }
void TMenuItem::SetBreak(TMenuBreak value) { QZ_MENU_SETTER(break_, value); }
void TMenuItem::SetAutoLineReduction(TMenuAutoFlag value) { QZ_MENU_SETTER(autoLineReduction_, value); }

bool TMenuItem::ReducesLines() const {
  const TMenuItem* p = this;
  while (p->autoLineReduction_ == maParent && p->parent_ != nullptr) p = p->parent_;
  if (p->autoLineReduction_ != maParent) return p->autoLineReduction_ == maAutomatic;
  // The root left at maParent: its menu decides; an item in no menu reduces.
  return p->menu_ == nullptr || p->menu_->AutoLineReduction() != maManual;
}

std::vector<TMenuItem*> TMenuItem::ShownItems(int startIndex) const {
  const auto from = items_.begin() + std::clamp(startIndex, 0, Count());
  return ShownMenuItems({from, items_.end()}, ReducesLines());
}

bool TMenuItem::HasShownItems(int startIndex) const {
  // Leading, trailing and doubled separators never decide it: a level of
  // separators alone is empty with or without reduction.
  const auto from = items_.begin() + std::clamp(startIndex, 0, Count());
  return AnyShownCommand({from, items_.end()});
}

void TMenuItem::SetRadioItem(bool value) {
  if (radioItem_ == value) return;
  radioItem_ = value;
  TComponentRef<TMenuItem> self(this);
  if (radioItem_ && checked_) UncheckGroupSiblings();
  if (self) MenuChanged();
}

void TMenuItem::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  TComponentRef<TMenuItem> self(this);
  if (checked_ && radioItem_) UncheckGroupSiblings();
  if (self) MenuChanged();
}

void TMenuItem::UncheckGroupSiblings() {
  // While a resource is read the checked item may come first; the last
  // checked radio item of a group wins either way.
  // The menu's OnChange runs for every unchecked sibling and may free items.
  if (parent_ == nullptr) return;
  TComponentRef<TMenuItem> self(this);
  std::vector<TComponentRef<TMenuItem>> siblings(parent_->items_.begin(), parent_->items_.end());
  for (const auto& ref : siblings) {
    if (!self) return;
    TMenuItem* sibling = ref.Get();
    if (sibling && sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ &&
        sibling->checked_) {
      sibling->checked_ = false;
      sibling->MenuChanged();
    }
  }
}

void TMenuItem::SetBitmap(const TBitmap& value) { bitmap_->Assign(value); }

std::vector<uint8_t> TMenuItem::BitmapData() const {
  if (bitmap_->Empty()) return {};
  TMemoryStream stream;
  bitmap_->WriteData(stream);
  return stream.Data();
}

void TMenuItem::SetBitmapData(const std::vector<uint8_t>& data) {
  if (data.empty()) {
    bitmap_->Clear();
    return;
  }
  TBytesStream stream(data.data(), data.size());
  bitmap_->ReadData(stream);
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (OnClick) {
    OnClick(this);
  } else if (actionLink_) {
    actionLink_->Execute();
  }
}

TBasicAction* TMenuItem::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* value) {
  if (value == Action()) return;
  if (value == nullptr) {
    actionLink_.reset();
    return;
  }
  if (!actionLink_) actionLink_ = std::make_unique<TActionLink>([this](TBasicAction& a) { ActionChange(a); });
  actionLink_->SetAction(value);
  ActionChange(*value);
}

void TMenuItem::InitiateAction() {
  if (TBasicAction* action = Action()) action->Update();
}

// Each setter tells the menu; its handlers may free the item.
void TMenuItem::ActionChange(TBasicAction& action) {
  auto* a = dynamic_cast<TCustomAction*>(&action);
  if (a == nullptr) return;
  TComponentRef<TMenuItem> self(this);
  SetCaption(a->Caption());
  if (self) SetEnabled(a->Enabled());
  if (self) SetChecked(a->Checked());
  if (self) SetVisible(a->Visible());
  if (self) SetHint(a->Hint());
  if (self) SetImageIndex(a->ImageIndex());
  if (self) SetShortCut(a->ShortCut());
}

std::vector<bool> RedundantLines(const std::vector<TMenuItem*>& items) {
  std::vector<bool> redundant(items.size(), false);
  int lastShown = -1;        // the last shown entry kept so far
  bool lastIsLine = true;    // nothing shown yet counts as a line: a leading one goes
  for (size_t i = 0; i < items.size(); ++i) {
    const TMenuItem* item = items[i];
    if (item == nullptr || !item->Visible()) continue;
    if (item->IsLine() && lastIsLine) {
      redundant[i] = true;
      continue;
    }
    lastShown = static_cast<int>(i);
    lastIsLine = item->IsLine();
  }
  if (lastShown >= 0 && lastIsLine) redundant[static_cast<size_t>(lastShown)] = true;
  return redundant;
}

std::vector<TMenuItem*> ShownMenuItems(const std::vector<TMenuItem*>& items, bool reduceLines) {
  const std::vector<bool> redundant = reduceLines ? RedundantLines(items) : std::vector<bool>(items.size());
  std::vector<TMenuItem*> shown;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] != nullptr && items[i]->Visible() && !redundant[i]) shown.push_back(items[i]);
  return shown;
}

bool AnyShownCommand(const std::vector<TMenuItem*>& items) {
  return std::any_of(items.begin(), items.end(),
                     [](const TMenuItem* i) { return i != nullptr && i->Visible() && !i->IsLine(); });
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EMenuError("Menu index " + std::to_string(index) + " out of range");
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::CheckNewChild(TMenuItem* item) const {
  if (item == nullptr) throw EMenuError("Cannot insert a nil menu item");
  if (item->parent_ != nullptr || item->menu_ != nullptr)
    throw EMenuError("Menu item \"" + item->Name() + "\" is already inserted");
  for (const TMenuItem* p = this; p != nullptr; p = p->parent_)
    if (p == item) throw EMenuError("A menu item cannot contain itself");
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  CheckNewChild(item);
  if (index < 0 || index > Count())
    throw EMenuError("Menu index " + std::to_string(index) + " out of range");
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (item->checked_ && item->radioItem_) item->UncheckGroupSiblings();
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  MenuChanged();
}

void TMenuItem::Delete(int index) { delete Items(index); }

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(std::string_view caption) const {
  std::string wanted = StripHotkey(caption);
  for (TMenuItem* item : items_)
    if (SameText(StripHotkey(item->caption_), wanted)) return item;
  return nullptr;
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int value) {
  if (parent_ == nullptr) return;
  TMenuItem* p = parent_;
  int current = MenuIndex();
  value = std::clamp(value, 0, p->Count() - 1);
  if (value == current) return;
  p->items_.erase(p->items_.begin() + current);
  p->items_.insert(p->items_.begin() + value, this);
  MenuChanged();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_ != nullptr) root = root->parent_;
  return root->menu_;
}

void TMenuItem::MenuChanged() {
  // Nothing to report while the tree is being torn down or read.
  for (const TMenuItem* p = this; p != nullptr; p = p->parent_)
    if (p->destroying_) return;
  TMenu* menu = GetParentMenu();
  if (menu != nullptr && !menu->InState(csDestroying) && !menu->InState(csLoading))
    menu->MenuChanged(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  TMenuItem* target = nullptr;
  if (auto* item = dynamic_cast<TMenuItem*>(parent)) target = item;
  else if (auto* menu = dynamic_cast<TMenu*>(parent)) target = menu->Items();
  if (target == nullptr)
    throw EReadError("A menu item must sit in a menu or a menu item, not in " +
                     (parent ? parent->ClassName() : std::string("nothing")));
  if (parent_ == target) return;
  if (parent_ != nullptr) parent_->Remove(this);
  target->Add(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ == nullptr) return nullptr;
  if (parent_->menu_ != nullptr) return parent_->menu_;
  return parent_;
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(this)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  // The tree goes while this menu is still whole, so that nothing reaches a
  // half-destroyed menu.
  SetStateFlag(csDestroying, true);
  delete items_;
  items_ = nullptr;
}

void TMenu::SetAutoLineReduction(TMenuAutoFlag value) {
  if (autoLineReduction_ == value) return;
  autoLineReduction_ = value;
  MenuChanged(nullptr);
}

void TMenu::SetImages(TCustomImageList* value) {
  if (images_ == value) return;
  SetReference(images_, value);
  MenuChanged(nullptr);
}

namespace {
template <class Pred>
TMenuItem* FindInTree(const TMenuItem* root, const Pred& pred) {
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    if (pred(item)) return item;
    if (TMenuItem* found = FindInTree(item, pred)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(TShortCut shortCut) const {
  if (shortCut == 0) return nullptr;
  return FindInTree(items_, [shortCut](const TMenuItem* i) {
    return i->Visible() && i->ShortCut() == shortCut;
  });
}

TMenuItem* TMenu::FindItemByCaption(std::string_view caption) const {
  std::string wanted = StripHotkey(caption);
  return FindInTree(items_, [&wanted](const TMenuItem* i) {
    return SameText(StripHotkey(i->Caption()), wanted);
  });
}

void TMenu::MenuChanged(TMenuItem* /*source*/) {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// TPopupMenu

void TPopupMenu::Popup(int x, int y) {
  TComponentRef<TPopupMenu> self(this);
  if (OnPopup) OnPopup(this);
  if (self) DoPopup(x, y);
}

TPopupMenu::~TPopupMenu() { ClosePopup(); }

void TPopupMenu::DoPopup(int x, int y) {
  if (PopupHook) {
    PopupHook(*this, x, y);
    return;
  }
  // A menu with nothing but hidden items and separators opens no window:
  // no input is taken and a window of this menu already open stays.
  if (!Items()->HasShownItems()) return;
  ClosePopup();
  if (Application == nullptr) return;
  // Owned by the application, not by this menu: the window deletes itself
  // (deferred) when it closes and may outlive the menu by that much.
  auto* window = new TPopupMenuWindow(Application, Items());
  window_ = window;
  window->Popup({x, y}, Alignment());
}

TPopupMenuWindow* TPopupMenu::PopupWindow() const {
  return window_ && window_->IsOpen() ? window_.Get() : nullptr;
}

bool TPopupMenu::IsShowing() const { return PopupWindow() != nullptr; }

TRect TPopupMenu::PopupRect() const {
  TPopupMenuWindow* window = PopupWindow();
  return window ? window->BoundsRect() : TRect{};
}

void TPopupMenu::ClosePopup() {
  if (TPopupMenuWindow* window = PopupWindow()) window->CloseMenu();
  window_ = nullptr;
}

// ---------------------------------------------------------------------------
// Published properties

QZ_PUBLISHED(TMenuItem, TComponent) {
  b.Factory([](TComponent* owner) { return new TMenuItem(owner); });
  b.Prop("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  b.Prop("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false);
  b.Prop("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false);
  b.Prop("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true);
  b.Prop("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0);
  b.Prop("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false);
  b.Prop("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0);
  b.Prop("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
  b.Prop("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1);
  b.Prop("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  b.Enum("Break", &TMenuItem::Break, &TMenuItem::SetBreak, mbNone);
  b.Enum("AutoLineReduction", &TMenuItem::AutoLineReduction, &TMenuItem::SetAutoLineReduction, maParent);
  b.Binary("Bitmap", &TMenuItem::BitmapData, &TMenuItem::SetBitmapData);
  b.Prop("Tag", &TMenuItem::Tag, &TMenuItem::SetTag, 0);
  b.Ref<TBasicAction>("Action", &TMenuItem::Action, &TMenuItem::SetAction);
  b.Event<TNotifyEvent>("OnClick", &TMenuItem::OnClick);
}

QZ_PUBLISHED(TMenu, TComponent) {
  b.Ref<TCustomImageList>("Images", &TMenu::Images, &TMenu::SetImages);
  b.Enum("AutoLineReduction", &TMenu::AutoLineReduction, &TMenu::SetAutoLineReduction, maAutomatic);
  b.Event<TNotifyEvent>("OnChange", &TMenu::OnChange);
}

QZ_PUBLISHED(TMainMenu, TMenu) {
  b.Factory([](TComponent* owner) { return new TMainMenu(owner); });
}

QZ_PUBLISHED(TPopupMenu, TMenu) {
  b.Factory([](TComponent* owner) { return new TPopupMenu(owner); });
  b.Enum("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment, paLeft);
  b.Prop("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true);
  b.Event<TNotifyEvent>("OnPopup", &TPopupMenu::OnPopup);
}

}  // namespace qz
