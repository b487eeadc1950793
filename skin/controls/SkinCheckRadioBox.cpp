// The skinned check box and radio button: properties, the state and the
// group rule, mouse, keyboard and focus, and the hover fade. Painting and
// the rules it uses are in SkinCheckRadioBoxPaint.cpp.
#include "skin/controls/SkinCheckRadioBox.h"

#include <algorithm>
#include <vector>

#include "host/ui/ActnList.h"
#include "host/ui/ImgList.h"
#include "host/ui/StdCtrls.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"

namespace qz {

namespace {

constexpr uintptr_t kFadeTimerId = 1;

}  // namespace

TqzSkinCheckRadioBox::TqzSkinCheckRadioBox(TComponent* AOwner)
    : TqzSkinCustomControl(AOwner), fade_(*this, kFadeTimerId) {
  // Clicks are the box's own business (press, release inside, Space); the
  // framework's click on every release is switched off.
  controlStyle_ = {csCaptureMouse, csDoubleClicks, csOpaque, csSetCaption};
  width_ = 150;
  height_ = 25;
  tabStop_ = false;
  link_.skinDataName = "checkbox";
}

TqzSkinCheckRadioBox::~TqzSkinCheckRadioBox() = default;

// ---------------------------------------------------------------- properties

void TqzSkinCheckRadioBox::SetWordWrap(bool v) {
  wordWrap_ = v;
  Invalidate();
}

void TqzSkinCheckRadioBox::SetAllowGrayed(bool v) {
  allowGrayed_ = v;
  Invalidate();
}

void TqzSkinCheckRadioBox::SetImages(TCustomImageList* v) {
  SetReference(images_, v);
  Invalidate();
}

void TqzSkinCheckRadioBox::SetImageIndex(int v) {
  imageIndex_ = v;
  Invalidate();
}

void TqzSkinCheckRadioBox::SetUseSkinFontColor(bool v) {
  useSkinFontColor_ = v;
  Invalidate();
}

void TqzSkinCheckRadioBox::SetCanFocused(bool v) {
  canFocused_ = v;
  SetTabStop(v);
}

void TqzSkinCheckRadioBox::SetRadio(bool V) {
  radio_ = V;
  if (ComponentState().Contains(csDesigning)) {
    SetSkinDataName(V ? "radiobox" : "checkbox");
    groupIndex_ = V ? 1 : 0;
  }
  Invalidate();
}

void TqzSkinCheckRadioBox::SetFlat(bool v) {
  if (flat_ == v) return;
  flat_ = v;
  if (ComponentState().Contains(csLoading)) return;
  // The plate has the description's size rules and mask; the flat box not.
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  ChangeSkinData();
  if (self) Invalidate();
}

void TqzSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
  TqzSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && !images_ && imageIndex_ >= 0) Invalidate();
}

// ---------------------------------------------------------------- state

void TqzSkinCheckRadioBox::SetChecked(bool V) {
  if (V)
    ApplyState(cbChecked, true);
  else
    ApplyState(state_ == cbGrayed ? cbGrayed : cbUnchecked, true);
}

void TqzSkinCheckRadioBox::SetState(TqzCheckBoxState V) { ApplyState(V, true); }

void TqzSkinCheckRadioBox::Toggle() {
  if (radio_) {
    if (!checked_) SetChecked(true);
    return;
  }
  SetChecked(!checked_);
}

bool TqzSkinCheckRadioBox::ApplyState(TqzCheckBoxState V, bool fireClick) {
  const bool changed = V != state_;
  const bool becameChecked = V == cbChecked && !checked_;
  state_ = V;
  checked_ = V == cbChecked;
  if (!changed) return true;
  Invalidate();
  // Events wait until the form resource is read: the stored state is no
  // change by the user.
  if (ComponentState().Contains(csLoading)) return true;
  if (checked_ && groupIndex_ != 0 && !UncheckGroup()) return false;
  // A radio button reports only that it became checked.
  const bool clickFollows = fireClick && (!radio_ || becameChecked);
  if (!CheckLinkedAction(clickFollows)) return false;
  if (!FireChange()) return false;
  if (clickFollows) return FireClick();
  return true;
}

bool TqzSkinCheckRadioBox::CheckLinkedAction(bool clickFollows) {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  if (!action || action->Checked() == checked_) return true;
  if (action->AutoCheck() && clickFollows && !OnClick) return true;
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  action->SetChecked(checked_);
  return static_cast<bool>(self);
}

void TqzSkinCheckRadioBox::ActionChange(TBasicAction& action) {
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  TqzSkinCustomControl::ActionChange(action);
  auto* a = dynamic_cast<TCustomAction*>(&action);
  if (!self || a == nullptr) return;
  // The action's state is no click on the box.
  if (a->Checked() != checked_) {
    const TqzCheckBoxState state = a->Checked() ? cbChecked : (state_ == cbGrayed ? cbGrayed : cbUnchecked);
    if (!ApplyState(state, false)) return;
  }
  if (!images_ && a->ActionList() && a->ActionList()->Images()) SetImages(a->ActionList()->Images());
  SetImageIndex(a->ImageIndex());
}

// Every other checked box of the group under the same parent is unchecked.
bool TqzSkinCheckRadioBox::UncheckGroup() {
  TWinControl* parent = Parent();
  if (!parent) return true;
  std::vector<TComponentRef<TqzSkinCheckRadioBox>> others;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* box = As<TqzSkinCheckRadioBox>(parent->Controls(i));
    if (box && box != this && box->groupIndex_ == groupIndex_ && box->checked_) others.emplace_back(box);
  }
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  for (const auto& box : others) {
    if (box) box->SetChecked(false);
    if (!self) return false;
  }
  return true;
}

bool TqzSkinCheckRadioBox::FireChange() {
  if (!OnChange) return true;
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  OnChange(this);
  return static_cast<bool>(self);
}

bool TqzSkinCheckRadioBox::FireClick() {
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  Click();
  return static_cast<bool>(self);
}

bool TqzSkinCheckRadioBox::ClickByUser() {
  const TqzCheckBoxState next = NextClickState(state_, allowGrayed_, radio_);
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  if (next == cbGrayed)
    SetState(cbGrayed);
  else
    Toggle();
  return static_cast<bool>(self);
}

// ---------------------------------------------------------------- mouse

void TqzSkinCheckRadioBox::WMMouse(TMessage& m) {
  const bool press = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK;
  if (press && canFocused_ && !Focused() && !ComponentState().Contains(csDesigning)) {
    // The press first takes the focus; it is dropped when that fails.
    TComponentRef<TqzSkinCheckRadioBox> self(this);
    if (CanFocus()) SetFocus();
    if (!self || !Focused()) return;
  }
  TqzSkinCustomControl::WMMouse(m);
}

void TqzSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && !ComponentState().Contains(csDesigning)) {
    pressed_ = true;
    HoverChanged(true);
  }
  TqzSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TqzSkinCheckRadioBox::MouseMove(TShiftState Shift, int X, int Y) {
  // While the button is held the box follows the pointer in and out.
  if (pressed_) HoverChanged(X >= 0 && X <= Width() && Y >= 0 && Y <= Height());
  TqzSkinCustomControl::MouseMove(Shift, X, Y);
}

void TqzSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && pressed_) {
    pressed_ = false;
    if (mouseIn_ && ClientRect().Contains({X, Y}) && !ClickByUser()) return;
  }
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TqzSkinCheckRadioBox::CMMouseEnter(TMessage& m) {
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  TqzSkinCustomControl::CMMouseEnter(m);  // OnMouseEnter
  if (self && !ComponentState().Contains(csDesigning)) HoverChanged(true);
}

void TqzSkinCheckRadioBox::CMMouseLeave(TMessage& m) {
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  TqzSkinCustomControl::CMMouseLeave(m);  // OnMouseLeave
  if (self && !ComponentState().Contains(csDesigning)) HoverChanged(false);
}

void TqzSkinCheckRadioBox::HoverChanged(bool in) {
  if (mouseIn_ == in) return;
  mouseIn_ = in;
  StartFade();
}

void TqzSkinCheckRadioBox::CMEnabledChanged(TMessage& m) {
  StopFade();
  fade_.SnapTo(false);
  mouseIn_ = false;
  pressed_ = false;
  TqzSkinCustomControl::CMEnabledChanged(m);
  Invalidate();
}

// ---------------------------------------------------------------- keyboard

bool TqzSkinCheckRadioBox::HasFocusNow() const { return canFocused_ && Focused(); }

void TqzSkinCheckRadioBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (canFocused_ && Key == VK_SPACE) spaceDown_ = true;
  const bool arrow = Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
  if (canFocused_ && arrow && radio_ && groupIndex_ != 0) {
    if (!MoveInGroup(Key == VK_RIGHT || Key == VK_DOWN)) return;
    Key = 0;
  }
  TqzSkinCustomControl::KeyDown(Key, Shift);
}

void TqzSkinCheckRadioBox::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (canFocused_ && Key == VK_SPACE && spaceDown_) {
    spaceDown_ = false;
    if (HasFocusNow() && !ClickByUser()) return;
  }
  TqzSkinCustomControl::KeyUp(Key, Shift);
}

// The radio buttons of the group in tab order; the next one (round the
// end) that can take the focus takes it and becomes checked.
bool TqzSkinCheckRadioBox::MoveInGroup(bool forward) {
  TWinControl* parent = Parent();
  if (!parent) return true;
  std::vector<TWinControl*> order;
  parent->GetTabOrderList(order);
  std::vector<TqzSkinCheckRadioBox*> group;
  for (TWinControl* w : order) {
    auto* box = As<TqzSkinCheckRadioBox>(w);
    if (box && box->Parent() == parent && box->radio_ && box->groupIndex_ == groupIndex_)
      group.push_back(box);
  }
  const auto at = std::find(group.begin(), group.end(), this);
  if (at == group.end() || group.size() < 2) return true;
  const int n = static_cast<int>(group.size());
  const int from = static_cast<int>(at - group.begin());
  for (int step = 1; step < n; ++step) {
    const int i = ((from + (forward ? step : -step)) % n + n) % n;
    TComponentRef<TqzSkinCheckRadioBox> next(group[size_t(i)]);
    if (!next->canFocused_ || !next->CanFocus()) continue;
    TComponentRef<TqzSkinCheckRadioBox> self(this);
    next->SetFocus();
    if (next && next->Focused()) next->SetChecked(true);
    return static_cast<bool>(self);
  }
  return true;
}

void TqzSkinCheckRadioBox::CMDialogChar(TMessage& m) {
  m.Result = 0;
  if (!canFocused_ || !IsAccel(static_cast<char32_t>(m.WParam), Caption()) || !CanFocus()) return;
  m.Result = 1;
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  SetFocus();
  if (self && Focused()) ClickByUser();
}

void TqzSkinCheckRadioBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      // A radio button of a group moves through it by the arrow keys.
      if (radio_ && groupIndex_ != 0) {
        m.Result = DLGC_WANTARROWS;
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TComponentRef<TqzSkinCheckRadioBox> self(this);
      TqzSkinCustomControl::Dispatch(m);
      if (!self) return;
      if (m.Msg == WM_KILLFOCUS) spaceDown_ = false;
      StartFade();
      return;
    }
    case WM_TIMER:
      if (m.WParam == kFadeTimerId) {
        FadeTick();
        return;
      }
      break;
    default:
      break;
  }
  TqzSkinCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------- fade

bool TqzSkinCheckRadioBox::MorphAvailable() const {
  const TqzSkinData* skin = SkinData();
  return !flat_ && hasCheckSkin_ && skin_.Morphing && skin && !skin->Empty() &&
         skin->EnableSkinEffects;
}

double TqzSkinCheckRadioBox::MorphKf() const { return fade_.Kf(); }

void TqzSkinCheckRadioBox::StartFade() {
  if (MorphAvailable() && fade_.Start()) return;
  fade_.SnapTo(mouseIn_ || HasFocusNow());
  Invalidate();
}

void TqzSkinCheckRadioBox::StopFade() { fade_.Stop(); }

void TqzSkinCheckRadioBox::FadeTick() {
  fade_.Tick(MorphAvailable(), mouseIn_ || HasFocusNow());
  Invalidate();
}

// ---------------------------------------------------------------- skin change

void TqzSkinCheckRadioBox::ChangeSkinData() {
  StopFade();
  TComponentRef<TqzSkinCheckRadioBox> self(this);
  TqzSkinCustomControl::ChangeSkinData();
  if (!self) return;
  fade_.SnapTo(mouseIn_ || HasFocusNow());
  Invalidate();
}

void TqzSkinCheckRadioBox::BeforeChangeSkinData() {
  hasCheckSkin_ = false;
  TqzSkinCustomControl::BeforeChangeSkinData();
}

}  // namespace qz
