#include "skin/controls/SkinComboBox.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "host/graphics/TextEngine.h"
#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/Edit.h"
#include "host/ui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinComboBoxEdit.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"

namespace qz {

namespace {

constexpr uintptr_t kAutoScrollTimerId = 1;
constexpr int kPlainButtonWidth = 19;
// Text in these double-byte charsets is composed by an input method: the
// combo box leaves its keys alone.
constexpr int kShiftJisCharset = 128, kGb2312Charset = 134, kChineseBig5Charset = 136;
// The tool-button style leaves this much of the right side free of text.
constexpr int kToolButtonTextRightGap = 17;
constexpr int kToolButtonTextLeft = 6;
// Where a tool-button style combo draws its drop-down arrow: the right gap.
TRect ToolButtonArrowRect(int W, int H) { return {W - kToolButtonTextRightGap, 0, W - 3, H}; }

TqzComboEditFactory& EditFactory() {
  static TqzComboEditFactory factory = MakeDefaultComboEdit;
  return factory;
}

int CharCount(const std::string& utf8) { return static_cast<int>(DecodeUtf8(utf8).size()); }

// The first item from `start` on (wrapping round) that begins with `prefix`,
// ignoring case; one character or many alike, whatever its UTF-8 length.
int FindItemFrom(const TCustomListBox& list, const std::string& prefix, int start) {
  return list.FindPrefix(prefix, prefix.size() == 1 ? start - 1 : start);
}

// The first button description among `names` in the skin.
const TqzDataSkinButtonControl* FindButtonDescription(const TqzSkinData* skin,
                                                      std::initializer_list<const char*> names) {
  if (!skin || skin->Empty()) return nullptr;
  for (const char* name : names) {
    const int index = skin->FindControlIndex(name);
    if (index < 0) continue;
    if (auto* d = dynamic_cast<const TqzDataSkinButtonControl*>(skin->CtrlList()[index].get())) return d;
  }
  return nullptr;
}

// A button look of a description composed nine-part to w x h.
bool ComposeButtonNinePart(const TqzSkinData& skin, const TqzDataSkinButtonControl& d, const TRect& look,
                           int w, int h, TBitmap& out) {
  const TBitmap* picture = skin.ActivePicture(d.PictureIndex);
  if (!picture || look.IsEmpty() || w <= 0 || h <= 0) return false;
  TqzSkinGeometry g = d.Geometry();
  g.SkinRect = look;
  CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, w, h), true, w, h, *picture, out);
  return true;
}

}  // namespace

void SetComboEditFactory(TqzComboEditFactory Factory) {
  EditFactory() = Factory ? std::move(Factory) : TqzComboEditFactory(MakeDefaultComboEdit);
}

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
  // Without per-pixel alpha (no compositor) the list shows opaque, asked on
  // every show.
  const bool layered = alphaBlend_ && Platform().SupportsPerPixelAlpha();
  DWORD ex = static_cast<DWORD>(GetWindowLong(h, GWL_EXSTYLE));
  ex = layered ? (ex | WS_EX_LAYERED) : (ex & ~WS_EX_LAYERED);
  SetWindowLong(h, GWL_EXSTYLE, ex);
  if (!layered) lastAlpha_ = -1;
  if (layered && alphaValue_ != lastAlpha_) {
    const int first = animation_ ? 0 : alphaValue_;
    SetLayeredWindowAttributes(h, 0, static_cast<uint8_t>(first), LWA_ALPHA);
    appliedAlphas_.push_back(first);
  }
  SetWindowPos(h, HWND_TOPMOST, ScreenPos.X, ScreenPos.Y, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  if (layered && alphaValue_ != lastAlpha_ && animation_) {
    FadeIn();
    if (!self) return;
  }
  if (layered) lastAlpha_ = alphaValue_;
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

void TqzSkinCustomComboBox::SetImages(TCustomImageList* V) {
  list_->SetImages(V);
  Invalidate();
}

void TqzSkinCustomComboBox::SetImageIndex(int V) {
  list_->SetImageIndex(V);
  Invalidate();
}

void TqzSkinCustomComboBox::SetHideSelection(bool V) {
  hideSelection_ = V;
  if (auto* e = edit_ ? dynamic_cast<TCustomEdit*>(&edit_->EditControl()) : nullptr) e->SetHideSelection(V);
}

void TqzSkinCustomComboBox::SetCharCase(TEditCharCase V) {
  charCase_ = V;
  if (auto* e = edit_ ? dynamic_cast<TCustomEdit*>(&edit_->EditControl()) : nullptr) e->SetCharCase(V);
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
  if (edit_) edit_->EditControl().SetColor(V);
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
    if (buttonRect_.Left >= Geom.SkinRect.Width() - Geom.RightTopPoint.X)
      buttonRect_ = OffsetRect(buttonRect_, W - Geom.SkinRect.Width(), 0);
    itemRect_ = Geom.ClientRect;
    itemRect_.Right += W - Geom.SkinRect.Width();
    if (!useSkinSize_) {
      buttonRect_.Bottom += H - Geom.SkinRect.Height();
      itemRect_.Bottom += H - Geom.SkinRect.Height();
    }
  }
  if (edit_) {
    TWinControl& e = edit_->EditControl();
    TCanvas measure;
    measure.SetFont(e.Font());
    const int h = measure.GetTextMetrics().tmHeight;
    e.SetBounds(itemRect_.Left, itemRect_.Top + itemRect_.Height() / 2 - h / 2, itemRect_.Width(), h);
  }
}

// Without the skin's size only the width follows the skin's rules: the
// height stays what the caller asked for.
void TqzSkinCustomComboBox::CalcSize(int& W, int& H) {
  const int asked = H;
  TqzSkinCustomControl::CalcSize(W, H);
  if (!useSkinSize_) H = asked;
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

void TqzSkinCustomComboBox::SetSkinData(TqzSkinData* Value) {
  TqzSkinCustomControl::SetSkinData(Value);
  if (Value == nullptr && !InState(csDesigning)) ChangeSkinData();
}

void TqzSkinCustomComboBox::ChangeSkinData() {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::ChangeSkinData();
  if (!self) return;
  ApplyEditFont();
  Relayout();
  const TqzDataSkinComboBox* d = ComboDescription();
  list_->SetSkinDataName(d ? d->ListBoxName : std::string());
  if (list_->SkinData() != SkinData()) list_->SetSkinData(d ? SkinData() : nullptr);
  else list_->ChangeSkinData();
  if (!self) return;
  // The edit's font may have changed its height: the size rule and the
  // layout run again with it.
  if (edit_) SetBounds(Left(), Top(), Width(), Height());
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
  const HMONITOR monitor = HandleAllocated() ? MonitorFromWindow(HWND(this), MONITOR_DEFAULTTONEAREST)
                                             : MonitorFromPoint(bottomLeft, MONITOR_DEFAULTTONEAREST);
  const TRect work = MonitorRectsOrPrimary(monitor).rcWork;
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
  savedText_ = Text();
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
  ApplyEditFont();
  Invalidate();
  TqzSkinCustomControl::CMMouseEnter(m);
}

void TqzSkinCustomComboBox::CMMouseLeave(TMessage& m) {
  active_ = false;
  buttonHot_ = false;
  ApplyEditFont();
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
      // Enter and Escape close an open list before any form button sees them.
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (dropped_ ? DLGC_WANTALLKEYS : 0);
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
  if (auto* host = dynamic_cast<TCustomEdit*>(&e)) {
    host->SetHideSelection(hideSelection_);
    host->SetCharCase(charCase_);
  }
  ApplyEditFont();
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

// The inner edit's font: the description's (or DefaultFont) with its
// colours, the lit colour while focused or hovered over a field that lights
// up, the skin's charset. Unskinned: the control's Font. Its background.
void TqzSkinCustomComboBox::ApplyEditFont() {
  if (!edit_) return;
  TWinControl& e = edit_->EditControl();
  TFont font;
  const TqzDataSkinComboBox* d = ComboDescription();
  if (!d) {
    font.Assign(Font());
  } else {
    font.Assign(DefaultFont());
    if (UseSkinFont()) {
      font.SetName(d->FontName);
      font.SetHeight(d->FontHeight);
      font.SetStyle(d->FontStyle);
    }
    const bool lit = !d->ActiveSkinRect.IsEmpty() && (active_ || e.Focused());
    font.SetColor(lit ? d->ActiveFontColor : d->FontColor);
  }
  if (SkinData() && SkinData()->ResourceStrData())
    font.SetCharset(static_cast<TFontCharset>(SkinData()->ResourceStrData()->CharSet()));
  e.Font().SetData(font.Data());
  edit_->SetDisabledTextColor(DisabledFontColor());
  // Over a skinned field the edit shows the field's picture; the plain
  // field is DefaultColor, which the edit fills itself with.
  if (auto* skinned = dynamic_cast<TqzCustomEdit*>(&e)) skinned->SetTransparent(d != nullptr);
}

// The disabled text colour of the skin's "edit" description when it differs
// from its normal one, else the system's grey text.
TColor TqzSkinCustomComboBox::DisabledFontColor() const {
  const TqzSkinData* skin = SkinData();
  if (!ComboDescription() || !skin) return clGrayText;
  const int index = skin->FindControlIndex("edit");
  const auto* d = index < 0 ? nullptr : dynamic_cast<const TqzDataSkinEditControl*>(skin->CtrlList()[index].get());
  return d && d->DisabledFontColor != d->FontColor ? d->DisabledFontColor : clGrayText;
}

void TqzSkinCustomComboBox::CMEnabledChanged(TMessage& m) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  TqzSkinCustomControl::CMEnabledChanged(m);
  if (!self) return;
  if (edit_) edit_->EditControl().SetEnabled(Enabled());
  Invalidate();
}

// Keys the edit would use for itself drive the list first. True when the
// combo box took the key.
bool TqzSkinCustomComboBox::EditKeyDown(int key, bool alt) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  switch (key) {
    case VK_RETURN:
      if (!dropped_) return false;
      swallowChar_ = true;
      CloseUp(true);
      return true;
    case VK_ESCAPE:
      if (!dropped_) return false;
      swallowChar_ = true;
      CancelDropDown();
      return true;
    case VK_PRIOR: case VK_NEXT:
      if (!dropped_) return false;
      Step(key == VK_PRIOR ? -(dropDownCount_ + 1) : dropDownCount_ - 1, true);
      return true;
    case VK_F4:
      if (dropped_) CloseUp(true);
      else DropDown();
      return true;
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: {
      if (alt) {
        const bool opening = key == VK_DOWN || key == VK_RIGHT;
        if (opening && !dropped_) DropDown();
        else if (!opening && dropped_) CancelDropDown();
        return true;
      }
      if (key == VK_LEFT || key == VK_RIGHT) return false;  // the caret's
      const int count = list_->ListBox().Count(), index = list_->ItemIndex();
      const int target = index + (key == VK_UP ? -1 : 1);
      if (target >= 0 && target < count) {
        if (dropped_) list_->SetItemIndex(target);
        else SetItemIndex(target);
        if (self && edit_) edit_->SelectAllText();
      }
      return true;
    }
    default:
      return false;
  }
}

void TqzSkinCustomComboBox::EditMessage(TMessage& m) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  switch (m.Msg) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: {
      swallowChar_ = false;
      typedByKey_ = false;
      keyDownIndex_ = list_->ItemIndex();
      const bool alt = (m.LParam & KF_ALTDOWN_LPARAM) != 0;
      if (EditKeyDown(static_cast<int>(m.WParam), alt)) return;
      break;
    }
    case WM_CHAR:
      // The Enter or Escape that closed the list goes no further (not to
      // the form's default or cancel button).
      if (swallowChar_ && (m.WParam == '\r' || m.WParam == 27)) {
        swallowChar_ = false;
        return;
      }
      break;
    case WM_KEYUP: {
      const int key = static_cast<int>(m.WParam);
      editOldProc_(m);
      if (!self || !edit_) return;
      const int charset = edit_->EditControl().Font().Charset();
      const bool inputMethod =
          charset == kShiftJisCharset || charset == kGb2312Charset || charset == kChineseBig5Charset;
      if (key >= '0' && !inputMethod) CompleteEditText();
      return;
    }
    case WM_GETDLGCODE:
      // The arrows belong to the list; while it is open, Enter and Escape
      // too (not the form's default and cancel buttons).
      editOldProc_(m);
      m.Result |= DLGC_WANTARROWS | (dropped_ ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_KILLFOCUS:
      editOldProc_(m);
      if (!self) return;
      if (HWND::FromValue(m.WParam) != HWND(this)) CloseUp(false);
      if (!self) return;
      ApplyEditFont();
      Invalidate();
      return;
    case WM_SETFOCUS:
      editOldProc_(m);
      if (!self) return;
      ApplyEditFont();
      Invalidate();
      return;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN:
      CloseUp(false);
      if (!self) return;
      break;
    case WM_MOUSEWHEEL:
      Dispatch(m);
      return;
    case CM_MOUSEENTER: case CM_MOUSELEAVE:
      // The pointer over the edit is over the combo box.
      editOldProc_(m);
      if (!self) return;
      active_ = m.Msg == CM_MOUSEENTER;
      ApplyEditFont();
      Invalidate();
      return;
    default: break;
  }
  editOldProc_(m);
}

// Typing finds the first item that starts with the text: the list follows
// (its selection with AutoComplete, else its top row), and the control's
// text takes the edit's.
void TqzSkinCustomComboBox::EditChanged() {
  if (!edit_ || updatingFromEdit_) return;
  const std::string text = edit_->EditText();
  TqzListBox& inner = list_->ListBox();
  const int found = text.empty() ? -1 : FindItemFrom(inner, text, 0);
  if (found >= 0) {
    if (autoComplete_) list_->SetItemIndex(found);
    else inner.SetTopIndex(found);
  }
  typedByKey_ = true;
  TakeEditText(text);
}

bool TqzSkinCustomComboBox::TakeEditText(const std::string& text) {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  updatingFromEdit_ = true;
  SetText(text);
  if (!self) return false;
  updatingFromEdit_ = false;
  Change();
  return static_cast<bool>(self);
}

// A typed prefix becomes the first item it begins (one character: the first
// after the item current before it was typed), and the edit selects the
// completed tail so that typing on replaces it. Runs only when the key
// changed the text, so keys that type nothing (Ctrl+A, Ctrl+C) leave the
// text and its selection alone.
void TqzSkinCustomComboBox::CompleteEditText() {
  if (!autoComplete_ || !edit_ || !typedByKey_) return;
  const uint64_t now = GetTickCount64();
  if (completedOnce_ && now - lastCompletionTick_ < kComboCompletionPauseMs) return;
  completedOnce_ = true;
  lastCompletionTick_ = now;
  typedByKey_ = false;
  const std::string typed = edit_->EditText();
  const int typedLength = CharCount(typed);
  if (typedLength == 0) return;
  TqzListBox& inner = list_->ListBox();
  const int found = FindItemFrom(inner, typed, typedLength == 1 ? keyDownIndex_ + 1 : 0);
  if (found < 0) return;
  TComponentRef<TqzSkinCustomComboBox> self(this);
  const std::string item = Items()[found];
  if (dropped_) {
    list_->SetItemIndex(found);
    edit_->SetEditText(item);
    if (!TakeEditText(item)) return;
  } else {
    SetItemIndex(found);
    if (!self) return;
  }
  if (edit_) edit_->SelectText(typedLength, CharCount(item) - typedLength);
}

void TqzSkinCustomComboBox::CancelDropDown() {
  TComponentRef<TqzSkinCustomComboBox> self(this);
  CloseUp(false);
  if (!self || !edit_ || Text() == savedText_) return;
  SetText(savedText_);
  if (self && edit_) edit_->SelectAllText();
}

// ---------------------------------------------------------------------------
// Painting

void TqzSkinCustomComboBox::PaintPlainButton(TCanvas& c, const TRect& r, bool hot, bool pressed) {
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(pressed && hot ? kPlainLookDownFill : hot ? kPlainLookHotFill : clBtnFace);
  c.FillRect(r);
  c.Brush().SetColor(hot ? kPlainLookHotFrame : clBtnShadow);
  c.FrameRect(r);
}

void TqzSkinCustomComboBox::CreateControlDefaultImage(TBitmap& B) {
  TCanvas& c = B.Canvas();
  const int W = Width(), H = Height();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  if (toolButtonStyle_) {
    PaintToolButton(c);
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

// The whole control as one tool button: from the skin's tool-button
// description when there is one (pressed while dropped, hot while hovered
// or focused), else in the plain colours; the text in DefaultFont or the
// description's font.
void TqzSkinCustomComboBox::PaintToolButton(TCanvas& c) {
  const int W = Width(), H = Height();
  const bool hot = active_ || Focused();
  const TqzDataSkinButtonControl* d =
      ComboDescription() ? FindButtonDescription(SkinData(), {"resizetoolbutton", "toolbutton"}) : nullptr;
  TBitmap look;
  if (d) {
    const TqzButtonLooks looks = ResolveButtonLooks(*d);
    const TRect source = !Enabled() && !looks.Disabled.IsEmpty() ? looks.Disabled
                         : dropped_                              ? looks.Down
                         : hot                                   ? looks.Active
                                                                 : looks.Normal;
    if (!ComposeButtonNinePart(*SkinData(), *d, source, W, H, look)) d = nullptr;
  }
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  if (d) {
    c.Draw(0, 0, look);
  } else {
    c.Brush().SetColor(dropped_ ? kPlainLookDownFill : hot ? kPlainLookHotFill : clBtnFace);
    c.FillRect({0, 0, W, H});
    c.Brush().SetColor(dropped_ || hot ? kPlainLookHotFrame : clBtnShadow);
    c.FrameRect({0, 0, W, H});
  }
  c.SetFont(DefaultFont());
  if (d && UseSkinFont()) {
    c.Font().SetName(d->FontName);
    c.Font().SetHeight(d->FontHeight);
    c.Font().SetStyle(d->FontStyle);
  }
  if (d) c.Font().SetColor(!Enabled() ? d->DisabledFontColor : dropped_ ? d->DownFontColor
                                       : hot ? d->ActiveFontColor : d->FontColor);
  else if (!Enabled()) c.Font().SetColor(clBtnShadow);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.SetBkMode(TRANSPARENT);
  DrawTextVCentered(c, Text(), {kToolButtonTextLeft, 2, W - kToolButtonTextRightGap, H - 2});
  // The drop-down arrow in the gap the text leaves, in the text's colour, in
  // every state.
  DrawArrowImage(c, ToolButtonArrowRect(W, H), c.Font().Color(), 4);
}

// Without the skin's size the button is composed at its own size from the
// first generic button description of the skin.
void TqzSkinCustomComboBox::PaintFreeSizeButton(TCanvas& c, const TqzDataSkinComboBox& /*d*/) {
  const TqzDataSkinButtonControl* b = FindButtonDescription(SkinData(), {"combobutton", "editbutton", "resizebutton"});
  if (!b) return;
  const TqzButtonLooks looks = ResolveButtonLooks(*b);
  const TRect source = pressed_ && buttonHot_ ? looks.Down : buttonHot_ ? looks.Active : looks.Normal;
  TBitmap look;
  if (ComposeButtonNinePart(*SkinData(), *b, source, buttonRect_.Width(), buttonRect_.Height(), look))
    c.Draw(buttonRect_.Left, buttonRect_.Top, look);
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
    const TRect source = lit ? d->ActiveSkinRect : Geom.SkinRect;
    const TRect middle = InflateRect(Geom.ClientRect, -3, -1);
    CreateHSkinImage(middle.Left, Geom.SkinRect.Width() - middle.Right, field, true, W, source, *Picture);
    B.Canvas().Draw(0, 0, field);
  } else if (lit) {
    CreateHSkinImage(Geom.LeftTopPoint.X, Geom.SkinRect.Width() - Geom.RightTopPoint.X, field, Geom.StretchEffect, W,
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
  } else {
    PaintFreeSizeButton(c, *d);
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
  if (source.IsEmpty()) {
    // The field shows through; the text still has the field's whole width.
    text.Right += width - Geom.ClientRect.Width();
    return;
  }
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
  if (!Enabled()) c.Font().SetColor(DisabledFontColor());
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
  PaintFieldItem(c, index, text);
}

// The item's image (ImageIndex, or the item's own index when negative) at
// the text's left, centred vertically; the text after it, tabbed when
// TabWidths has stops, else one line, clipped to the text rectangle.
void TqzSkinCustomComboBox::PaintFieldItem(TCanvas& c, int index, TRect text) {
  const int saved = c.SaveDC();
  c.IntersectClipRect(text);
  if (const TCustomImageList* images = list_->Images()) {
    const int image = list_->ImageIndex() < 0 ? index : list_->ImageIndex();
    if (image >= 0 && image < images->Count())
      images->Draw(c, text.Left, text.Top + (text.Height() - images->Height()) / 2, image, Enabled());
    text.Left += images->Width() + 2;
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.SetBkMode(TRANSPARENT);
  const std::vector<int> stops = list_->TabStops();
  if (stops.empty()) {
    DrawTextVCentered(c, Items()[index], text);
  } else {
    int y = text.Top + (text.Height() - c.TextHeight("0")) / 2;
    if (c.GetTextMetrics().tmHeight % 2 != 0) y -= 1;
    DrawTabbedText(c, Items()[index], text.Left + 2, y, stops);
  }
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
  b.Prop("HideSelection", &O::HideSelection, &O::SetHideSelection, true);
  b.Enum("CharCase", &O::CharCase, &O::SetCharCase, ecNormal);
  b.Ref<TCustomImageList>("Images", &O::Images, &O::SetImages);
  b.Prop("ImageIndex", &O::ImageIndex, &O::SetImageIndex, -1);
  b.Strings("TabWidths", [](O& o) -> TStrings& { return o.TabWidths(); });
  b.Prop("HorizontalExtent", &O::HorizontalExtent, &O::SetHorizontalExtent, false);
  b.Prop("ListBoxCaption", &O::ListBoxCaption, &O::SetListBoxCaption, std::string());
  b.Prop("ListBoxCaptionMode", &O::ListBoxCaptionMode, &O::SetListBoxCaptionMode, false);
  b.Enum("ListBoxCaptionAlignment", &O::ListBoxCaptionAlignment, &O::SetListBoxCaptionAlignment, taLeftJustify);
  b.Object("ListBoxDefaultFont", [](O& o) -> TFont& { return o.ListBoxDefaultFont(); });
  b.Object("ListBoxDefaultCaptionFont", [](O& o) -> TFont& { return o.ListBoxDefaultCaptionFont(); });
  b.Prop("ListBoxDefaultItemHeight", &O::ListBoxDefaultItemHeight, &O::SetListBoxDefaultItemHeight, 20);
  b.Prop("ListBoxUseSkinFont", &O::ListBoxUseSkinFont, &O::SetListBoxUseSkinFont, true);
  b.Prop("ListBoxUseSkinItemHeight", &O::ListBoxUseSkinItemHeight, &O::SetListBoxUseSkinItemHeight, true);
  b.Event<TNotifyEvent>("OnChange", &O::OnChange);
  b.Event<TNotifyEvent>("OnDropDown", &O::OnDropDown);
  b.Event<TNotifyEvent>("OnCloseUp", &O::OnCloseUp);
  b.Event<TqzComboBoxDrawItemEvent>("OnComboBoxDrawItem", &O::OnComboBoxDrawItem);
  b.Event<TqzDrawSkinItemEvent>("OnListBoxDrawItem", &O::SetOnListBoxDrawItem);
}

}  // namespace qz
