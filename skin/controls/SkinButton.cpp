// The skinned button: its properties, the down state and the group rule,
// mouse, keyboard and focus, dialog keys, and the fade, animation and
// repeat timers. Painting is in SkinButtonPaint.cpp.
#include "skin/controls/SkinButton.h"

#include <algorithm>
#include <utility>

#include "host/base/Stream.h"
#include "host/ui/ImgList.h"
#include "host/ui/StdCtrls.h"
#include "host/ui/Windows.h"
#include "skin/controls/LayerManager.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"

namespace qz {

namespace {

// Window timers of the button.
constexpr uintptr_t kFadeTimerId = 1;
constexpr uintptr_t kAnimationTimerId = 2;
constexpr uintptr_t kRepeatTimerId = 3;
constexpr unsigned kRepeatDelayMs = 500;

// Posted to itself on mouse enter: the glow frame shows once the enter
// message is done.
constexpr uint32_t MSG_SHOW_BUTTON_GLOW = WM_USER + 1600;

HWND HandleFromWParam(WPARAM w) { return HWND::FromValue(static_cast<uint64_t>(w)); }

// Hover and focus changes start the fade and the animation only where the
// look really changes: a down group button and a focused push button
// already show their look.
bool HoverChangesLook(int groupIndex, bool down, bool focused) {
  return groupIndex != 0 ? !down : (!focused || down);
}

}  // namespace

TqzSkinButton::TqzSkinButton(TComponent* AOwner)
    : TqzSkinCustomControl(AOwner), glyph_(std::make_unique<TBitmap>()), fade_(*this, kFadeTimerId) {
  // Clicks are the button's own business (press, release, group rule); the
  // framework's click on every release is switched off.
  controlStyle_ = {csCaptureMouse, csDoubleClicks, csOpaque, csSetCaption};
  width_ = 75;
  height_ = 25;
  tabStop_ = true;
  link_.skinDataName = "button";
}

TqzSkinButton::~TqzSkinButton() = default;

// ---------------------------------------------------------------- properties

void TqzSkinButton::SetTransparent(bool v) {
  if (transparent_ == v) return;
  transparent_ = v;
  Invalidate();
}

void TqzSkinButton::SetCheckedMode(bool v) {
  if (v)
    SetGroupIndex(-1);
  else if (groupIndex_ == -1)
    SetGroupIndex(0);
}

void TqzSkinButton::SetImageList(TCustomImageList* v) {
  SetReference(imageList_, v);
  Invalidate();
}

void TqzSkinButton::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  Invalidate();
}

void TqzSkinButton::SetUseSkinSize(bool v) {
  if (useSkinSize_ == v) return;
  useSkinSize_ = v;
  if (ComponentState().Contains(csLoading)) return;
  GetSkinData();
  SetControlRegion();
  Invalidate();
}

void TqzSkinButton::SetUseSkinFontColor(bool v) {
  if (useSkinFontColor_ == v) return;
  useSkinFontColor_ = v;
  Invalidate();
}

void TqzSkinButton::SetCanFocused(bool v) {
  canFocused_ = v;
  SetTabStop(v);
}

void TqzSkinButton::SetGroupIndex(int V) {
  groupIndex_ = V;
  if (V != 0) SetCanFocused(false);
}

void TqzSkinButton::SetGlyph(const TBitmap& v) {
  glyph_->Assign(v);
  Invalidate();
}

void TqzSkinButton::SetNumGlyphs(int v) {
  if (v < 1 || v > 4 || v == numGlyphs_) return;
  numGlyphs_ = v;
  Invalidate();
}

void TqzSkinButton::SetMargin(int v) {
  if (v < -1 || v == margin_) return;
  margin_ = v;
  Invalidate();
}

void TqzSkinButton::SetSpacing(int v) {
  if (v == spacing_) return;
  spacing_ = v;
  Invalidate();
}

void TqzSkinButton::SetLayout(TqzButtonLayout v) {
  if (v == layout_) return;
  layout_ = v;
  Invalidate();
}

void TqzSkinButton::SetDefault(bool V) {
  const bool highlighted = default_ && mouseIn_ && !HasFocusNow();
  default_ = V;
  if (ComponentState().Contains(csDesigning)) return;
  if (!V && highlighted) {
    mouseIn_ = false;
    StartFade();
  }
  // The default emphasis of every button of the form follows.
  if (canFocused_)
    NotifyFormFocus(FocusedInForm());
  else
    FocusChanged(FocusedInForm());
}

TWinControl* TqzSkinButton::FocusedInForm() const {
  TWinControl* focused = WindowControl(GetFocus());
  const TCustomForm* form = GetParentForm(this);
  return focused && form && form->ContainsControl(focused) ? focused : nullptr;
}

std::vector<uint8_t> TqzSkinButton::GlyphData() const {
  if (glyph_->Empty()) return {};
  TMemoryStream stream;
  glyph_->WriteData(stream);
  return stream.Data();
}

void TqzSkinButton::SetGlyphData(const std::vector<uint8_t>& data) {
  if (data.empty()) {
    glyph_->Clear();
  } else {
    TBytesStream stream(data.data(), data.size());
    glyph_->ReadData(stream);
  }
  Invalidate();
}

void TqzSkinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TqzSkinCustomControl::Notification(AComponent, Operation);
  // The reference slot is cleared before this runs; a button that drew an
  // image of a list that went draws its glyph now.
  if (Operation == opRemove && !imageList_ && imageIndex_ >= 0) Invalidate();
}

// ---------------------------------------------------------------- down state

void TqzSkinButton::SetDown(bool V) {
  down_ = V;
  if (MorphAvailable()) {
    fade_.SnapTo(true);
    if (V)
      StopFade();
    else
      StartFade();
  }
  Invalidate();
  TComponentRef<TqzSkinButton> self(this);
  if (V && groupIndex_ > 0 && !allowAllUp_) ReleaseGroup();
  if (self) CheckLinkedAction(V);
}

// Every other button of the group under the same parent comes up.
void TqzSkinButton::ReleaseGroup() {
  TWinControl* parent = Parent();
  if (!parent) return;
  std::vector<TComponentRef<TqzSkinButton>> others;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* b = As<TqzSkinButton>(parent->Controls(i));
    if (b && b != this && b->groupIndex_ == groupIndex_ && b->down_) others.emplace_back(b);
  }
  for (const auto& b : others)
    if (b) b->SetDown(false);
}

// ---------------------------------------------------------------- action

void TqzSkinButton::CheckLinkedAction(bool checked) {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  if (action && groupIndex_ != 0 && action->Checked() != checked) action->SetChecked(checked);
}

void TqzSkinButton::ActionChange(TBasicAction& action) {
  TComponentRef<TqzSkinButton> self(this);
  TqzSkinCustomControl::ActionChange(action);
  auto* a = dynamic_cast<TCustomAction*>(&action);
  if (!self || a == nullptr) return;
  if (groupIndex_ != 0 && down_ != a->Checked()) SetDown(a->Checked());
  if (!self) return;
  if (!imageList_ && a->ActionList() && a->ActionList()->Images())
    SetImageList(a->ActionList()->Images());
  SetImageIndex(a->ImageIndex());
}

// ---------------------------------------------------------------- clicks

void TqzSkinButton::ButtonClick() {
  if (canFocused_ && modalResult_ != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  Click();
}

bool TqzSkinButton::ClickGuarded() {
  TComponentRef<TqzSkinButton> self(this);
  ButtonClick();
  return static_cast<bool>(self);
}

// A press by the mouse or the Space key.
bool TqzSkinButton::Press() {
  StopAnimation();
  if (down_) {
    pressedWhileDown_ = true;
    return true;
  }
  pressedWhileDown_ = false;
  SetDown(true);
  if (CheckedMode()) {
    ignoreNextRelease_ = true;
    return ClickGuarded();
  }
  if (repeatMode_ && groupIndex_ == 0) {
    StartRepeat();
    return true;
  }
  if (groupIndex_ != 0) return ClickGuarded();
  return true;
}

// The release that ends a press; `inside`: over the button.
bool TqzSkinButton::Release(bool inside) {
  const bool pressedWhileDown = std::exchange(pressedWhileDown_, false);
  if (CheckedMode()) {
    if (std::exchange(ignoreNextRelease_, false)) return true;
    if (!inside) return true;
    SetDown(false);
    return ClickGuarded();
  }
  if (groupIndex_ == 0) {
    const bool wasDown = down_;
    StopRepeat();
    if (!inside) {
      down_ = false;
      Invalidate();
      return true;
    }
    SetDown(false);
    return wasDown ? ClickGuarded() : true;
  }
  // A group button: a press on the button that was already down.
  if (!pressedWhileDown || !inside || !down_) return true;
  if (allowAllUp_) SetDown(false);
  return ClickGuarded();
}

// ---------------------------------------------------------------- mouse

void TqzSkinButton::WMMouse(TMessage& m) {
  const bool press = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK;
  if (press && canFocused_ && !HasFocusNow() && !ComponentState().Contains(csDesigning)) {
    // The press first takes the focus; it is dropped when that fails.
    TComponentRef<TqzSkinButton> self(this);
    if (CanFocus()) SetFocus();
    if (!self || !HasFocusNow()) return;
  }
  TqzSkinCustomControl::WMMouse(m);
}

void TqzSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && !ComponentState().Contains(csDesigning)) {
    mouseDownFlag_ = true;
    mouseIn_ = true;
    if (!Press()) return;
  }
  TqzSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TqzSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && mouseDownFlag_) {
    mouseDownFlag_ = false;
    if (!Release(ClientRect().Contains({X, Y}))) return;
  }
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TqzSkinButton::CMMouseEnter(TMessage& m) {
  TComponentRef<TqzSkinButton> self(this);
  TqzSkinCustomControl::CMMouseEnter(m);  // OnMouseEnter
  if (!self || ComponentState().Contains(csDesigning)) return;
  mouseIn_ = true;
  if (HoverChangesLook(groupIndex_, down_, HasFocusNow())) {
    if (down_) {
      if (MorphAvailable()) fade_.SnapTo(true);
      Invalidate();
    } else {
      StartAnimation(true);
      StartFade();
    }
  }
  if (down_ && repeatMode_ && groupIndex_ == 0 && mouseDownFlag_) StartRepeat();
  if (HandleAllocated()) PostMessage(Handle(), MSG_SHOW_BUTTON_GLOW);
}

void TqzSkinButton::CMMouseLeave(TMessage& m) {
  TComponentRef<TqzSkinButton> self(this);
  TqzSkinCustomControl::CMMouseLeave(m);  // OnMouseLeave
  if (!self || ComponentState().Contains(csDesigning)) return;
  const bool focused = HasFocusNow();
  // The highlighted default button keeps its highlight.
  if (!(canFocused_ && default_ && isDefaultActive_ && !focused)) mouseIn_ = false;
  if (HoverChangesLook(groupIndex_, down_, focused)) {
    StartAnimation(false);
    StartFade();
  }
  if (down_ && groupIndex_ == 0) StopRepeat();
  HideGlowFrame();
}

void TqzSkinButton::CMEnabledChanged(TMessage& m) {
  StopFade();
  fade_.SnapTo(false);
  mouseIn_ = false;
  TqzSkinCustomControl::CMEnabledChanged(m);
  Invalidate();
}

// ---------------------------------------------------------------- keyboard

void TqzSkinButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (canFocused_ && Key == VK_SPACE) {
    const bool repeats = repeatMode_ && groupIndex_ == 0;
    if (!spaceDown_) {
      spaceDown_ = true;
      if (repeats) {
        // The key's own repetition repeats the clicks: no repeat timer.
        SetDown(true);
        if (!ClickGuarded()) return;
      } else if (!Press()) {
        return;
      }
    } else if (repeats) {
      if (!ClickGuarded()) return;
    }
  } else if (canFocused_ && Key == VK_RETURN) {
    if (!ClickGuarded()) return;
  }
  TqzSkinCustomControl::KeyDown(Key, Shift);
}

void TqzSkinButton::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (canFocused_ && Key == VK_SPACE && spaceDown_) {
    spaceDown_ = false;
    if (!Release(true)) return;
  }
  TqzSkinCustomControl::KeyUp(Key, Shift);
}

void TqzSkinButton::CMDialogKey(TMessage& m) {
  m.Result = 0;
  bool takes = false;
  if (m.WParam == VK_RETURN)
    takes = isDefaultActive_ && Enabled() && Showing();
  else if (m.WParam == VK_ESCAPE)
    takes = cancel_ && canFocused_ && GetKeyState(VK_SHIFT) >= 0 && CanFocus();
  if (!takes) return;
  m.Result = 1;
  ClickGuarded();
}

void TqzSkinButton::CMDialogChar(TMessage& m) {
  m.Result = 0;
  if (!canFocused_ || !IsAccel(static_cast<char32_t>(m.WParam), Caption()) || !CanFocus()) return;
  m.Result = 1;
  TComponentRef<TqzSkinButton> self(this);
  SetFocus();
  if (self) ClickGuarded();
}

// ---------------------------------------------------------------- focus

bool TqzSkinButton::HasFocusNow() const { return canFocused_ && Focused(); }

void TqzSkinButton::NotifyFormFocus(TWinControl* focused) {
  TCustomForm* form = GetParentForm(this);
  TWinControl* root = form ? static_cast<TWinControl*>(form) : Parent();
  if (!root) {
    FocusChanged(focused);
    return;
  }
  std::vector<TComponentRef<TqzSkinButton>> buttons;
  std::vector<TWinControl*> stack{root};
  while (!stack.empty()) {
    TWinControl* w = stack.back();
    stack.pop_back();
    if (auto* b = As<TqzSkinButton>(w)) buttons.emplace_back(b);
    for (TWinControl* child : w->WinControls()) stack.push_back(child);
  }
  for (const auto& b : buttons)
    if (b) b->FocusChanged(focused);
}

void TqzSkinButton::FocusChanged(TWinControl* focused) {
  const bool toButton = Is<TqzSkinButton>(focused);
  isDefaultActive_ = toButton ? focused == this : default_;
  if (!canFocused_ || !default_ || focused == this) return;
  if (toButton) {
    if (!mouseIn_) return;
    mouseIn_ = false;
    StartFade();
  } else {
    mouseIn_ = true;
    if (MorphAvailable()) fade_.SnapTo(true);
    Invalidate();
  }
}

void TqzSkinButton::HandleFocusIn() {
  TComponentRef<TqzSkinButton> self(this);
  NotifyFormFocus(this);
  if (!self) return;
  StartAnimation(true);
  StartFade();
}

void TqzSkinButton::HandleFocusOut(HWND newFocus) {
  StopRepeat();
  spaceDown_ = false;
  if (down_ && groupIndex_ == 0) down_ = false;  // released silently
  StartAnimation(false);
  StartFade();
  Invalidate();
  TWinControl* next = WindowControl(newFocus);
  if (!Is<TqzSkinButton>(next)) NotifyFormFocus(next);
}

void TqzSkinButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = default_ ? DLGC_DEFPUSHBUTTON | DLGC_BUTTON : DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON;
      return;
    case WM_SETFOCUS: {
      TComponentRef<TqzSkinButton> self(this);
      TqzSkinCustomControl::Dispatch(m);
      if (self) HandleFocusIn();
      return;
    }
    case WM_KILLFOCUS: {
      TComponentRef<TqzSkinButton> self(this);
      const HWND next = HandleFromWParam(m.WParam);
      TqzSkinCustomControl::Dispatch(m);
      if (self) HandleFocusOut(next);
      return;
    }
    case WM_TIMER: {
      switch (m.WParam) {
        case kFadeTimerId: FadeTick(); return;
        case kAnimationTimerId: AnimationTick(); return;
        case kRepeatTimerId: RepeatTick(); return;
        default: break;
      }
      break;
    }
    case MSG_SHOW_BUTTON_GLOW:
      if (mouseIn_) ShowGlowFrame();
      return;
    default:
      break;
  }
  TqzSkinCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------- timers

bool TqzSkinButton::SetButtonTimer(uintptr_t id, unsigned ms) {
  if (!HandleAllocated()) return false;
  return SetTimer(Handle(), id, ms) != 0;
}

void TqzSkinButton::KillButtonTimer(uintptr_t id, bool& running) {
  if (running && HandleAllocated()) KillTimer(Handle(), id);
  running = false;
}

bool TqzSkinButton::MorphAvailable() const {
  const TqzSkinData* skin = SkinData();
  return hasButtonSkin_ && skin_.Morphing && skin && !skin->Empty() && skin->EnableSkinEffects;
}

void TqzSkinButton::StartFade() {
  if (MorphAvailable() && SkinIndex != -1 && fade_.Start()) return;
  Invalidate();
}

void TqzSkinButton::StopFade() { fade_.Stop(); }

void TqzSkinButton::FadeTick() {
  fade_.Tick(MorphAvailable(), mouseIn_ || HasFocusNow());
  Invalidate();
}

void TqzSkinButton::StartAnimation(bool forward) {
  const TqzSkinData* skin = SkinData();
  if (!hasButtonSkin_ || skin_.AnimateSkinRect.IsEmpty() || skin_.FrameCount <= 0 || !skin ||
      !skin->EnableSkinEffects)
    return;
  animForward_ = forward;
  animFrame_ = forward ? 1 : skin_.FrameCount;
  if (!animTimer_)
    animTimer_ = SetButtonTimer(kAnimationTimerId, static_cast<unsigned>(std::max(1, skin_.AnimateInterval)));
  Invalidate();
}

void TqzSkinButton::StopAnimation() {
  if (!animTimer_) return;
  KillButtonTimer(kAnimationTimerId, animTimer_);
  animFrame_ = 0;
  Invalidate();
}

void TqzSkinButton::AnimationTick() {
  animFrame_ += animForward_ ? 1 : -1;
  if (animFrame_ > skin_.FrameCount || animFrame_ < 1) StopAnimation();
  Invalidate();
}

void TqzSkinButton::StartRepeat() {
  StopRepeat();
  repeatStarted_ = false;
  repeatTimer_ = SetButtonTimer(kRepeatTimerId, kRepeatDelayMs);
}

void TqzSkinButton::StopRepeat() { KillButtonTimer(kRepeatTimerId, repeatTimer_); }

bool TqzSkinButton::RepeatTick() {
  if (!repeatStarted_) {
    // After the first delay the clicks follow every RepeatInterval.
    repeatStarted_ = true;
    repeatTimer_ = SetButtonTimer(kRepeatTimerId, static_cast<unsigned>(std::max(1, repeatInterval_)));
  }
  return ClickGuarded();
}

// ---------------------------------------------------------------- skin change

void TqzSkinButton::ChangeSkinData() {
  StopFade();
  StopAnimation();
  fade_.SnapTo(false);
  TComponentRef<TqzSkinButton> self(this);
  TqzSkinCustomControl::ChangeSkinData();
  if (!self) return;
  if ((mouseIn_ || HasFocusNow()) && MorphAvailable()) fade_.SnapTo(true);
  if (mouseIn_) ShowGlowFrame();
  Invalidate();
}

void TqzSkinButton::BeforeChangeSkinData() {
  HideGlowFrame();
  hasButtonSkin_ = false;
  TqzSkinCustomControl::BeforeChangeSkinData();
}

}  // namespace qz
