#include "skin/controls/SkinComboBox.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"

namespace qz {

namespace {

constexpr uintptr_t kAutoScrollTimerId = 1;
constexpr int kPlainButtonWidth = 19;
// Plain-look colours shared by the library's controls.
constexpr TColor kHotFill = TColor(0xF3D4C1);
constexpr TColor kPressedFill = TColor(0xE4BCA2);
constexpr TColor kHotFrame = TColor(0xB76B3B);

TqzComboEditFactory& EditFactory() {
  static TqzComboEditFactory factory;
  return factory;
}

}  // namespace

void SetComboEditFactory(TqzComboEditFactory Factory) { EditFactory() = std::move(Factory); }

// ---------------------------------------------------------------------------
// TqzPopupListBox

TqzPopupListBox::TqzPopupListBox(TComponent* AOwner) : TqzSkinCustomListBox(AOwner) {
  visible_ = false;
  tabStop_ = false;
  ListBox().SetTabStop(false);
}

void TqzPopupListBox::CreateParams(TCreateParams& params) {
  TqzSkinCustomListBox::CreateParams(params);
  params.Style = WS_POPUP | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  params.WindowClassStyle = CS_SAVEBITS | CS_DROPSHADOW;
}

void TqzPopupListBox::Dispatch(TMessage& m) {
  if (m.Msg == WM_MOUSEACTIVATE) {
    m.Result = MA_NOACTIVATE;
    return;
  }
  TqzSkinCustomListBox::Dispatch(m);
}

bool TqzPopupListBox::IsShowing() const { return HandleAllocated() && IsWindowVisible(HWND(this)); }

void TqzPopupListBox::ShowAt(TPoint ScreenPos) {
  TComponentRef<TqzPopupListBox> self(this);
  SetBounds(ScreenPos.X, ScreenPos.Y, Width(), Height());
  if (!self) return;
  const HWND h = Handle();
  appliedAlphas_.clear();
  DWORD ex = static_cast<DWORD>(GetWindowLong(h, GWL_EXSTYLE));
  ex = alphaBlend_ ? (ex | WS_EX_LAYERED) : (ex & ~WS_EX_LAYERED);
  SetWindowLong(h, GWL_EXSTYLE, ex);
  if (!alphaBlend_) lastAlpha_ = -1;
  if (alphaBlend_ && alphaValue_ != lastAlpha_) {
    const int first = animation_ ? 0 : alphaValue_;
    SetLayeredWindowAttributes(h, 0, static_cast<uint8_t>(first), LWA_ALPHA);
    appliedAlphas_.push_back(first);
  }
  SetWindowPos(h, HWND_TOPMOST, ScreenPos.X, ScreenPos.Y, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  if (alphaBlend_ && alphaValue_ != lastAlpha_ && animation_) {
    FadeIn();
    if (!self) return;
  }
  if (alphaBlend_) lastAlpha_ = alphaValue_;
}

// Rises by value / 15 at a time, a few milliseconds apart, letting the
// application paint in between.
void TqzPopupListBox::FadeIn() {
  TComponentRef<TqzPopupListBox> self(this);
  const int step = FadeStep(alphaValue_);
  int alpha = 0;
  while (alpha < alphaValue_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(6));
    alpha = std::min<int>(alpha + step, alphaValue_);
    SetLayeredWindowAttributes(Handle(), 0, static_cast<uint8_t>(alpha), LWA_ALPHA);
    appliedAlphas_.push_back(alpha);
    Application->ProcessMessages();
    if (!self || !IsShowing()) return;
  }
}

void TqzPopupListBox::HideList() {
  if (!HandleAllocated()) return;
  SetWindowPos(HWND(this), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

QZ_PUBLISHED(TqzPopupListBox, TqzSkinCustomListBox) {}

// ---------------------------------------------------------------------------
// TqzSkinCustomComboBox: construction

TqzSkinCustomComboBox::TqzSkinCustomComboBox(TComponent* AOwner) : TqzSkinCustomControl(AOwner) {
  controlStyle_ = {csCaptureMouse, csOpaque, csDoubleClicks};
  width_ = 120;
  height_ = 20;
  tabStop_ = true;
  link_.skinDataName = "combobox";
  SetSkinControlDefaultFont(Font());
  Font().SetColor(clWindowText);
  parentFont_ = false;

  list_ = new TqzPopupListBox(this);
  list_->SetSkinDataName("");
  // The list's own window messages: presses pick, the rest hot-track.
  TqzListBox& inner = list_->ListBox();
  listOldProc_ = inner.WindowProc;
  inner.WindowProc = [this](TMessage& m) { ListMessage(m); };
  Relayout();
}

TqzSkinCustomComboBox::~TqzSkinCustomComboBox() {
  StopAutoScroll();
  DestroyInnerEdit();
  DestroyComponents();
}

const TqzDataSkinComboBox* TqzSkinCustomComboBox::ComboDescription() const {
  if (SkinIndex == -1) return nullptr;
  return dynamic_cast<const TqzDataSkinComboBox*>(SkinDescription());
}

bool TqzSkinCustomComboBox::Active() const {
  return active_ || const_cast<TqzSkinCustomComboBox*>(this)->Focused() ||
         (edit_ && edit_->EditControl().Focused());
}

// ---------------------------------------------------------------------------
// Properties

void TqzSkinCustomComboBox::SetItemIndex(int V) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  list_->SetItemIndex(V);
  const int index = list_->ItemIndex();
  if (list_->ListBox().Count() > 0 && index >= 0) {
    if (edit_) edit_->SetEditText(Items()[index]);
    SetText(Items()[index]);
    if (!self) return;
  }
  savedIndex_ = index;
  Invalidate();
  if (InState(csLoading) || InState(csDesigning)) return;
  Click();
  if (self) Change();
}

void TqzSkinCustomComboBox::SetStyle(TqzComboBoxStyle V) {
  if (V == style_) return;
  style_ = V;
  if (V == qzcbEditStyle) CreateInnerEdit();
  else DestroyInnerEdit();
  Relayout();
  Invalidate();
}

void TqzSkinCustomComboBox::SetUseSkinSize(bool V) {
  useSkinSize_ = V;
  Relayout();
  Invalidate();
}

void TqzSkinCustomComboBox::SetDefaultColor(TColor V) {
  defaultColor_ = V;
  Invalidate();
}

void TqzSkinCustomComboBox::SetToolButtonStyle(bool V) {
  toolButtonStyle_ = V;
  Relayout();
  Invalidate();
}

void TqzSkinCustomComboBox::CMTextChanged(TMessage& m) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::CMTextChanged(m);
  if (!self) return;
  if (edit_ && !updatingFromEdit_ && edit_->EditText() != Text()) edit_->SetEditText(Text());
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// Layout

void TqzSkinCustomComboBox::Relayout() {
  const int W = Width(), H = Height();
  const TqzDataSkinComboBox* d = ComboDescription();
  if (!d || toolButtonStyle_) {
    buttonRect_ = {W - kPlainButtonWidth, 0, W, H};
    itemRect_ = {2, 2, buttonRect_.Left - 1, H - 2};
  } else {
    buttonRect_ = d->ButtonRect;
    if (buttonRect_.Left >= SkinRect.Width() - RightTopPoint.X)
      buttonRect_ = OffsetRect(buttonRect_, W - SkinRect.Width(), 0);
    itemRect_ = ClRect;
    itemRect_.Right += W - SkinRect.Width();
    if (!useSkinSize_) {
      buttonRect_.Bottom += H - SkinRect.Height();
      itemRect_.Bottom += H - SkinRect.Height();
    }
  }
  if (edit_) {
    TWinControl& e = edit_->EditControl();
    TBitmap probe(1, 1);
    probe.Canvas().SetFont(e.Font());
    const int h = probe.Canvas().GetTextMetrics().tmHeight;
    e.SetBounds(itemRect_.Left, itemRect_.Top + itemRect_.Height() / 2 - h / 2, itemRect_.Width(), h);
  }
}

void TqzSkinCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (self) Relayout();
}

void TqzSkinCustomComboBox::Loaded() {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::Loaded();
  if (!self) return;
  savedIndex_ = list_->ItemIndex();
  Relayout();
}

// An inner edit freed by someone else is forgotten.
void TqzSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TqzSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == editComponent_) {
    edit_ = nullptr;
    editComponent_ = nullptr;
  }
}

void TqzSkinCustomComboBox::ChangeSkinData() {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::ChangeSkinData();
  if (!self) return;
  Relayout();
  const TqzDataSkinComboBox* d = ComboDescription();
  list_->SetSkinDataName(d ? d->ListBoxName : std::string());
  if (list_->SkinData() != SkinData()) list_->SetSkinData(d ? SkinData() : nullptr);
  else list_->ChangeSkinData();
  if (self) Invalidate();
}

// ---------------------------------------------------------------------------
// Drop-down and close-up

TRect TqzSkinCustomComboBox::DropDownRect() {
  const int rows = std::min(list_->ListBox().Count(), dropDownCount_);
  list_->SetRowCount(std::max(rows, 1));
  const int w = listBoxWidth_ > 0 ? listBoxWidth_ : Width();
  if (list_->Width() != w) list_->SetBounds(list_->Left(), list_->Top(), w, list_->Height());
  const int h = list_->Height();
  const TPoint bottomLeft = ClientToScreen({0, Height()});
  TRect r{bottomLeft.X, bottomLeft.Y, bottomLeft.X + w, bottomLeft.Y + h};
  TMonitorInfoRec info;
  const HWND me = HandleAllocated() ? HWND(this) : nullptr;
  HMONITOR monitor = me ? MonitorFromWindow(me, MONITOR_DEFAULTTONEAREST)
                        : MonitorFromPoint(bottomLeft, MONITOR_DEFAULTTONEAREST);
  TRect work;
  if (GetMonitorInfo(monitor, info)) work = info.rcWork;
  else SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  if (r.Bottom > work.Bottom) {
    const int top = ClientToScreen({0, 0}).Y - h;
    r = {r.Left, top, r.Right, top + h};
  }
  return r;
}

void TqzSkinCustomComboBox::DropDown() {
  if (dropped_ || list_->ListBox().Count() == 0) return;
  TComponentRef<TqzSkinCustomComboBox> self(this);
  StopAutoScroll();
  if (OnDropDown) OnDropDown(this);
  if (!self || list_->ListBox().Count() == 0) return;
  const TRect r = DropDownRect();
  if (edit_ && !edit_->EditControl().Focused()) {
    edit_->EditControl().SetFocus();
    if (!self) return;
  }
  savedIndex_ = list_->ItemIndex();
  if (savedIndex_ == 0 && list_->ListBox().Count() > 1) {
    // Brings the first row to the top of the list.
    list_->SetItemIndex(1);
    list_->SetItemIndex(0);
  }
  dropped_ = true;
  entered_ = false;
  Invalidate();
  if (savedIndex_ >= 0) list_->ListBox().MakeVisible(savedIndex_);
  list_->ShowAt(r.TopLeft());
}

void TqzSkinCustomComboBox::CloseUp(bool Accept) {
  if (!list_->IsShowing()) {
    dropped_ = false;
    return;
  }
  TComponentRef<TqzSkinCustomComboBox> self(this);
  StopAutoScroll();
  list_->HideList();
  const int index = list_->ItemIndex();
  bool chosen = false;
  if (index < 0) {
    list_->SetItemIndex(savedIndex_);
  } else if (index < list_->ListBox().Count() && Accept) {
    const std::string item = Items()[index];
    if (edit_) {
      edit_->SetEditText(item);
      edit_->SelectAllText();
    }
    savedIndex_ = index;
    SetText(item);
    if (!self) return;
    chosen = true;
  } else {
    list_->SetItemIndex(savedIndex_);
  }
  dropped_ = false;
  tracking_ = false;
  Invalidate();
  if (chosen) {
    Click();
    if (!self) return;
    Change();
    if (!self) return;
  }
  if (Accept && OnCloseUp) OnCloseUp(this);
}

int TqzSkinCustomComboBox::ShownIndex() const { return dropped_ ? savedIndex_ : list_->ItemIndex(); }

// ---------------------------------------------------------------------------
// Mouse

void TqzSkinCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  if (Button == mbLeft) {
    if (style_ == qzcbFixedStyle || !edit_) {
      if (CanFocus() && !Focused()) SetFocus();
      if (!self) return;
    }
    buttonHot_ = buttonRect_.Contains({X, Y});
    const bool onField = buttonHot_ || toolButtonStyle_ || (!edit_ && itemRect_.Contains({X, Y}));
    if (onField && !dropped_) {
      pressed_ = true;
      Invalidate();
      tracking_ = true;
      DropDown();
      if (!self) return;
    } else if (dropped_) {
      // A second press on the control folds the list away again.
      pressed_ = onField;
      CloseUp(false);
      if (!self) return;
    }
  }
  TqzSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TqzSkinCustomComboBox::MouseMove(TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  if (tracking_ && dropped_) {
    TqzListBox& inner = list_->ListBox();
    const TPoint p = inner.ScreenToClient(ClientToScreen({X, Y}));
    const bool hasBar = list_->VScrollBar() != nullptr;
    if (p.Y < 0 && hasBar && entered_) {
      StartAutoScroll(1);
    } else if (p.Y >= inner.Height() && hasBar && entered_) {
      StartAutoScroll(2);
    } else if (p.Y >= 0 && p.Y < inner.Height() && p.X >= 0 && p.X < inner.Width()) {
      StopAutoScroll();
      const int i = inner.ItemAtPos(p, true);
      if (i >= 0 && i != inner.ItemIndex()) inner.SetItemIndex(i);
      entered_ = true;
    }
  } else {
    const bool hot = buttonRect_.Contains({X, Y});
    if (hot != buttonHot_) {
      buttonHot_ = hot;
      Invalidate();
    }
  }
  if (self) TqzSkinCustomControl::MouseMove(Shift, X, Y);
}

void TqzSkinCustomComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  if (Button == mbLeft) {
    if (tracking_ && entered_) {
      ReleaseCapture();
      tracking_ = false;
      const HWND under = WindowFromPoint(ClientToScreen({X, Y}));
      const bool onList = list_->ListBox().HandleAllocated() && under == HWND(&list_->ListBox());
      CloseUp(onList);
      if (!self) return;
    } else {
      tracking_ = false;
    }
    StopAutoScroll();
    pressed_ = false;
    Invalidate();
  }
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// The open list's own window: a press there picks like a drag from the
// control does; the release comes to the control, which holds the mouse.
void TqzSkinCustomComboBox::ListMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: {
      TComponentRef<TqzSkinCustomComboBox> self(this);
      TqzListBox& inner = list_->ListBox();
      const int i = inner.ItemAtPos({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, true);
      if (i >= 0 && i != inner.ItemIndex()) inner.SetItemIndex(i);
      if (!self) return;
      tracking_ = true;
      entered_ = true;
      if (HandleAllocated()) SetCapture(HWND(this));
      return;
    }
    case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
      return;
    default:
      listOldProc_(m);
  }
}

void TqzSkinCustomComboBox::StartAutoScroll(int direction) {
  if (direction == scrollDirection_) return;
  scrollDirection_ = direction;
  if (HandleAllocated()) SetTimer(HWND(this), kAutoScrollTimerId, kComboAutoScrollMs);
}

void TqzSkinCustomComboBox::StopAutoScroll() {
  if (scrollDirection_ == 0) return;
  scrollDirection_ = 0;
  if (HandleAllocated()) KillTimer(HWND(this), kAutoScrollTimerId);
}

void TqzSkinCustomComboBox::AutoScrollTick() {
  TqzListBox& inner = list_->ListBox();
  const int i = inner.ItemIndex();
  if (scrollDirection_ == 1 && i > 0) inner.SetItemIndex(i - 1);
  if (scrollDirection_ == 2 && i < inner.Count() - 1) inner.SetItemIndex(i + 1);
}

void TqzSkinCustomComboBox::CMMouseEnter(TMessage& m) {
  active_ = true;
  Invalidate();
  TqzSkinCustomControl::CMMouseEnter(m);
}

void TqzSkinCustomComboBox::CMMouseLeave(TMessage& m) {
  active_ = false;
  buttonHot_ = false;
  Invalidate();
  TqzSkinCustomControl::CMMouseLeave(m);
}

// ---------------------------------------------------------------------------
// Keyboard

bool TqzSkinCustomComboBox::SelectByUser(int index) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  if (dropped_) list_->SetItemIndex(index);
  else SetItemIndex(index);
  return static_cast<bool>(self);
}

bool TqzSkinCustomComboBox::Step(int delta, bool clampToEnds) {
  const int count = list_->ListBox().Count();
  if (count == 0) return true;
  const int index = list_->ItemIndex();
  int target = index + delta;
  if (clampToEnds) target = std::clamp(target, 0, count - 1);
  else if (target < 0 || target >= count) return true;
  if (target == index) return true;
  return SelectByUser(target);
}

void TqzSkinCustomComboBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::KeyDown(Key, Shift);
  if (!self || Key == 0) return;
  const bool alt = Shift.Contains(ssAlt);
  switch (Key) {
    case VK_RETURN:
      if (!dropped_) return;
      CloseUp(true);
      break;
    case VK_ESCAPE:
      if (!dropped_) return;
      CloseUp(false);
      break;
    case VK_F4:
      if (dropped_) CloseUp(true);
      else DropDown();
      break;
    case VK_PRIOR: Step(-(dropDownCount_ + 1), true); break;
    case VK_NEXT: Step(dropDownCount_ - 1, true); break;
    case VK_UP: case VK_LEFT:
      if (alt) CloseUp(false);
      else Step(-1, false);
      break;
    case VK_DOWN: case VK_RIGHT:
      if (alt) DropDown();
      else Step(1, false);
      break;
    default: return;
  }
  if (self) Key = 0;
}

void TqzSkinCustomComboBox::KeyPress(char32_t& Key) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::KeyPress(Key);
  if (!self || !autoComplete_ || Key < 0x20 || Key >= 0x80) return;
  const uint64_t now = GetTickCount64();
  if (now - lastKeyTick_ >= kComboSearchPauseMs) search_.clear();
  lastKeyTick_ = now;
  search_ += static_cast<char>(Key);
  TqzListBox& inner = list_->ListBox();
  const int found = search_.size() == 1 ? inner.FindPrefix(search_, inner.ItemIndex())
                                        : inner.FindPrefix(search_, 0);
  if (found >= 0 && found != inner.ItemIndex()) SelectByUser(found);
}

void TqzSkinCustomComboBox::WMKillFocus(TMessage& m) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::WMKillFocus(m);
  if (!self) return;
  const HWND to = HWND::FromValue(m.WParam);
  const bool toEdit = edit_ && to && to == HWND(&edit_->EditControl());
  if (!toEdit) CloseUp(false);
  if (self) Invalidate();
}

void TqzSkinCustomComboBox::WMSetFocus(TMessage& m) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::WMSetFocus(m);
  if (self) Invalidate();
}

void TqzSkinCustomComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_TIMER:
      if (m.WParam == kAutoScrollTimerId) {
        AutoScrollTick();
        return;
      }
      break;
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<int16_t>(HIWORD(m.WParam));
      Step(delta <= 0 ? 1 : -1, false);
      m.Result = 1;
      return;
    }
    default: break;
  }
  TqzSkinCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Edit style

void TqzSkinCustomComboBox::CreateInnerEdit() {
  if (edit_ || !EditFactory()) return;
  edit_ = EditFactory()(*this);
  if (!edit_) return;
  TWinControl& e = edit_->EditControl();
  editControl_ = &e;
  editComponent_ = &e;
  e.SetParent(this);
  e.SetColor(defaultColor_);
  if (const TqzDataSkinComboBox* d = ComboDescription()) {
    e.Font().SetName(d->FontName);
    e.Font().SetHeight(d->FontHeight);
    e.Font().SetStyle(d->FontStyle);
    e.Font().SetColor(d->FontColor);
  } else {
    e.SetFont(Font());
  }
  e.SetTabStop(tabStop_);
  tabStop_ = false;
  edit_->SetEditText(Text());
  edit_->OnEditChange = [this] { EditChanged(); };
  editOldProc_ = e.WindowProc;
  e.WindowProc = [this](TMessage& m) { EditMessage(m); };
  const bool hadFocus = Focused();
  Relayout();
  if (hadFocus) e.SetFocus();
}

void TqzSkinCustomComboBox::DestroyInnerEdit() {
  if (!edit_) return;
  IqzComboEdit* gone = edit_;
  edit_ = nullptr;
  editComponent_ = nullptr;
  if (!editControl_) return;
  TWinControl* e = editControl_.Get();
  editControl_ = nullptr;
  tabStop_ = e->TabStop();
  e->WindowProc = editOldProc_;
  gone->OnEditChange = nullptr;
  delete e;
}

// Keys the edit would use for itself drive the list first.
void TqzSkinCustomComboBox::EditMessage(TMessage& m) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
    const int key = static_cast<int>(m.WParam);
    switch (key) {
      case VK_RETURN: if (dropped_) { CloseUp(true); return; } break;
      case VK_ESCAPE: if (dropped_) { CloseUp(false); return; } break;
      case VK_PRIOR: if (dropped_) { Step(-(dropDownCount_ + 1), true); return; } break;
      case VK_NEXT: if (dropped_) { Step(dropDownCount_ - 1, true); return; } break;
      case VK_F4: if (dropped_) CloseUp(true); else DropDown(); return;
      case VK_UP: case VK_DOWN: {
        const int count = list_->ListBox().Count(), index = list_->ItemIndex();
        const int target = index + (key == VK_UP ? -1 : 1);
        if (target >= 0 && target < count) {
          if (dropped_) list_->SetItemIndex(target);
          else SetItemIndex(target);
          if (self && edit_) edit_->SelectAllText();
        }
        return;
      }
      default: break;
    }
  } else if (m.Msg == WM_GETDLGCODE) {
    // The arrows belong to the list.
    editOldProc_(m);
    m.Result |= DLGC_WANTARROWS;
    return;
  } else if (m.Msg == WM_KILLFOCUS) {
    editOldProc_(m);
    if (!self) return;
    if (HWND::FromValue(m.WParam) != HWND(this)) CloseUp(false);
    if (self) Invalidate();
    return;
  } else if (m.Msg == WM_SETFOCUS) {
    editOldProc_(m);
    if (self) Invalidate();
    return;
  } else if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN) {
    CloseUp(false);
    if (!self) return;
  } else if (m.Msg == WM_MOUSEWHEEL) {
    Dispatch(m);
    return;
  }
  if (self) editOldProc_(m);
}

// Typing finds the first item that starts with the text: the list follows
// (its selection with AutoComplete, else its top row), and the control's
// text takes the edit's.
void TqzSkinCustomComboBox::EditChanged() {
  if (!edit_ || updatingFromEdit_) return;
  TComponentRef<TqzSkinCustomComboBox> self(this);
  const std::string text = edit_->EditText();
  TqzListBox& inner = list_->ListBox();
  const int found = text.empty() ? -1 : inner.FindPrefix(text, 0);
  if (found >= 0) {
    if (autoComplete_) list_->SetItemIndex(found);
    else inner.SetTopIndex(found);
  }
  updatingFromEdit_ = true;
  SetText(text);
  if (!self) return;
  updatingFromEdit_ = false;
  Change();
}

// ---------------------------------------------------------------------------
// Painting

void TqzSkinCustomComboBox::PaintPlainButton(TCanvas& c, const TRect& r, bool hot, bool pressed) {
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(pressed && hot ? kPressedFill : hot ? kHotFill : clBtnFace);
  c.FillRect(r);
  c.Brush().SetColor(hot ? kHotFrame : clBtnShadow);
  c.FrameRect(r);
}

void TqzSkinCustomComboBox::CreateControlDefaultImage(TBitmap& B) {
  TCanvas& c = B.Canvas();
  const int W = Width(), H = Height();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  if (toolButtonStyle_) {
    const bool hot = active_ || Focused();
    c.Brush().SetColor(dropped_ ? kPressedFill : hot ? kHotFill : clBtnFace);
    c.FillRect({0, 0, W, H});
    c.Brush().SetColor(dropped_ || hot ? kHotFrame : clBtnShadow);
    c.FrameRect({0, 0, W, H});
    c.SetFont(DefaultFont());
    c.SetBkMode(TRANSPARENT);
    DrawTextVCentered(c, Text(), {2, 2, W - 17, H - 2});
    B.Modified();
    return;
  }
  c.Brush().SetColor(defaultColor_);
  c.FillRect({0, 0, W, H});
  c.Brush().SetColor(clBtnShadow);
  c.FrameRect({0, 0, W, H});
  PaintPlainButton(c, buttonRect_, buttonHot_, pressed_);
  // The down arrow: rows of 7, 5, 3 and 1 pixels.
  const TColor arrow = Enabled() ? clBlack : clBtnShadow;
  const int cx = (buttonRect_.Left + buttonRect_.Right) / 2, cy = (buttonRect_.Top + buttonRect_.Bottom) / 2 - 2;
  c.Pen().SetColor(arrow);
  for (int row = 0; row < 4; ++row) {
    c.MoveTo(cx - 3 + row, cy + row);
    c.LineTo(cx + 4 - row, cy + row);
  }
  if (!edit_) PaintCurrentItem(c, nullptr);
  B.Modified();
}

void TqzSkinCustomComboBox::CreateControlSkinImage(TBitmap& B) {
  const TqzDataSkinComboBox* d = ComboDescription();
  if (!d || !Picture || toolButtonStyle_) {
    CreateControlDefaultImage(B);
    return;
  }
  const int W = Width();
  const bool lit = Active() && !d->ActiveSkinRect.IsEmpty();
  TBitmap field;
  if (!useSkinSize_) {
    const TRect source = lit ? d->ActiveSkinRect : SkinRect;
    const TRect middle = InflateRect(ClRect, -3, -1);
    CreateHSkinImage(middle.Left, SkinRect.Width() - middle.Right, field, true, W, source, *Picture);
    B.Canvas().Draw(0, 0, field);
  } else if (lit) {
    CreateHSkinImage(LeftTopPoint.X, SkinRect.Width() - RightTopPoint.X, field, StretchEffect, W,
                     d->ActiveSkinRect, *Picture);
    B.Canvas().Draw(0, 0, field);
  } else {
    TqzSkinCustomControl::CreateControlSkinImage(B);
  }
  TCanvas& c = B.Canvas();
  if (useSkinSize_) {
    TRect source;
    if (!Enabled() && !d->UnEnabledButtonRect.IsEmpty()) source = d->UnEnabledButtonRect;
    else if (pressed_ && buttonHot_) source = d->DownButtonRect;
    else if (buttonHot_) source = d->ActiveButtonRect;
    if (!source.IsEmpty())
      c.CopyRect({buttonRect_.Left, buttonRect_.Top, buttonRect_.Left + source.Width(), buttonRect_.Top + source.Height()},
                 Picture->Canvas(), source);
  }
  if (!edit_) PaintCurrentItem(c, d);
  B.Modified();
}

void TqzSkinCustomComboBox::PaintSkinItemBack(TCanvas& c, const TqzDataSkinComboBox& d, TRect& text) {
  const bool focused = Focused();
  TRect source = d.ItemRect;
  bool stretch = d.ItemStretchEffect;
  if (focused) {
    source = d.FocusItemRect.IsEmpty() ? d.ItemRect : d.FocusItemRect;
    stretch = d.FocusItemStretchEffect;
  } else if (active_ && !d.ActiveItemRect.IsEmpty() && !d.ActiveSkinRect.IsEmpty()) {
    source = d.ActiveItemRect;
  }
  const int width = itemRect_.Width();
  text = OffsetRect(d.ItemTextRect, itemRect_.Left, itemRect_.Top);
  if (source.IsEmpty()) return;  // the field shows through
  TBitmap back;
  CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, back, stretch, width, source, *Picture);
  c.Draw(itemRect_.Left, itemRect_.Top, back);
  text.Right += width - source.Width();
}

void TqzSkinCustomComboBox::PaintCurrentItem(TCanvas& c, const TqzDataSkinComboBox* d) {
  TRect text = itemRect_;
  if (d) PaintSkinItemBack(c, *d, text);
  if (d && UseSkinFont()) {
    c.Font().SetName(d->FontName);
    c.Font().SetHeight(d->FontHeight);
    c.Font().SetStyle(d->FontStyle);
  } else {
    c.SetFont(d ? DefaultFont() : Font());
  }
  if (SkinData() && SkinData()->ResourceStrData())
    c.Font().SetCharset(static_cast<TFontCharset>(SkinData()->ResourceStrData()->CharSet()));
  if (d) {
    c.Font().SetColor(Focused() ? d->FocusFontColor
                      : (active_ && !d->ActiveSkinRect.IsEmpty()) ? d->ActiveFontColor
                                                                  : d->FontColor);
  }
  if (!Enabled()) c.Font().SetColor(clGrayText);
  const int index = ShownIndex();
  if (OnComboBoxDrawItem) {
    OnComboBoxDrawItem(c, index, text);
    return;
  }
  if (index < 0 || index >= list_->ListBox().Count()) return;
  if (Focused() && d && d->ShowFocus) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(SkinData()->SkinColors().cBtnFace);
    c.FillRect(text);
    c.DrawFocusRect(text);
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.SetBkMode(TRANSPARENT);
  const int saved = c.SaveDC();
  c.IntersectClipRect(text);
  DrawTextVCentered(c, Items()[index], text);
  c.RestoreDC(saved);
}

// ---------------------------------------------------------------------------

QZ_PUBLISHED(TqzSkinCustomComboBox, TqzSkinCustomControl) {}

QZ_PUBLISHED(TqzSkinComboBox, TqzSkinCustomComboBox) {
  using O = TqzSkinComboBox;
  b.Factory([](TComponent* owner) { return new TqzSkinComboBox(owner); });
  b.Prop("SkinDataName", &O::SkinDataName,
         [](O& o, const std::string& v) { o.SetSkinDataName(v); }, std::string("combobox"));
  b.Enum("Style", &O::Style, &O::SetStyle, qzcbFixedStyle);
  b.Strings("Items", [](O& o) -> TStrings& { return o.Items(); });
  b.Prop("ItemIndex", &O::ItemIndex, &O::SetItemIndex, -1);
  b.Prop("Sorted", &O::Sorted, &O::SetSorted, false);
  b.Prop("DropDownCount", &O::DropDownCount, &O::SetDropDownCount, 8);
  b.Prop("ListBoxWidth", &O::ListBoxWidth, &O::SetListBoxWidth, 0);
  b.Prop("AutoComplete", &O::AutoComplete, &O::SetAutoComplete, true);
  b.Prop("UseSkinSize", &O::UseSkinSize, &O::SetUseSkinSize, true);
  b.Color("DefaultColor", &O::DefaultColor, &O::SetDefaultColor, clWindow);
  b.Prop("ToolButtonStyle", &O::ToolButtonStyle, &O::SetToolButtonStyle, false);
  b.Prop("ListBoxAlphaBlend", &O::ListBoxAlphaBlend, &O::SetListBoxAlphaBlend, false);
  b.Prop("ListBoxAlphaBlendAnimation", &O::ListBoxAlphaBlendAnimation, &O::SetListBoxAlphaBlendAnimation, false);
  b.Prop("ListBoxAlphaBlendValue", &O::ListBoxAlphaBlendValue, &O::SetListBoxAlphaBlendValue, 200);
  b.Event<TNotifyEvent>("OnChange", &O::OnChange);
  b.Event<TNotifyEvent>("OnDropDown", &O::OnDropDown);
  b.Event<TNotifyEvent>("OnCloseUp", &O::OnCloseUp);
  b.Event<TqzComboBoxDrawItemEvent>("OnComboBoxDrawItem", &O::OnComboBoxDrawItem);
}

}  // namespace qz
