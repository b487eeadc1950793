// The window of the images menu: showing, input and painting.
#include <algorithm>
#include <chrono>
#include <thread>

#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"
#include "skin/popups/SkinHint.h"
#include "skin/popups/SkinImagesMenu.h"

namespace qz {

namespace {

constexpr int kButtonRowImageInset = 5;

const TqzDataSkinPopupWindow* WindowLook(const TqzSkinData* skin, TBitmap** picture, TBitmap** mask) {
  if (skin == nullptr || skin->Empty()) return nullptr;
  const TqzDataSkinPopupWindow& w = skin->PopupWindow();
  TBitmap* p = skin->ActivePicture(w.WindowPictureIndex);
  if (p == nullptr) return nullptr;
  if (picture) *picture = p;
  if (mask) *mask = skin->ActivePicture(w.MaskPictureIndex);
  return &w;
}

template <class D>
const D* ControlLook(const TqzSkinData* skin, std::string_view name) {
  if (skin == nullptr || skin->Empty()) return nullptr;
  const int index = skin->FindControlIndex(name);
  if (index < 0) return nullptr;
  return dynamic_cast<const D*>(skin->CtrlList()[static_cast<size_t>(index)].get());
}

const TqzDataSkinButtonControl* CellLook(const TqzSkinData* skin) {
  for (const char* name : {"menuitembutton", "resizebutton"})
    if (const auto* d = ControlLook<TqzDataSkinButtonControl>(skin, name); d && skin->ActivePicture(d->PictureIndex))
      return d;
  return nullptr;
}

const TqzDataSkinMenuItem* MenuItemLook(const TqzSkinData* skin) {
  if (skin == nullptr || skin->Empty()) return nullptr;
  for (const char* name : {"MENUITEM", "menuitem"}) {
    const int index = skin->FindObjectIndex(name);
    if (index < 0) continue;
    if (auto* d = dynamic_cast<const TqzDataSkinMenuItem*>(skin->ObjectList()[static_cast<size_t>(index)].get()))
      return d;
  }
  return nullptr;
}

}  // namespace

TqzSkinImagesMenuPopupWindow::TqzSkinImagesMenuPopupWindow(TqzSkinImagesMenu& menu)
    : TCustomControl(Application), menu_(&menu) {
  visible_ = false;
  controlStyle_ = {csOpaque};
}

TqzSkinImagesMenuPopupWindow::~TqzSkinImagesMenuPopupWindow() {
  closing_ = true;
  StopWatchingForms();
}

void TqzSkinImagesMenuPopupWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  TqzPopupInput::SetWindowParams(params);
}

bool TqzSkinImagesMenuPopupWindow::HasWindowLook() const {
  return menu_ && WindowLook(menu_->SkinData(), nullptr, nullptr) != nullptr;
}

// ---------------------------------------------------------------- showing

void TqzSkinImagesMenuPopupWindow::ShowAt(const TRect& anchor, const TRect& workArea) {
  if (!menu_) return;
  TComponentRef<TqzSkinImagesMenuPopupWindow> self(this);
  const TqzImagesGridLayout layout = menu_->Layout();
  TqzImagesMenuItems& items = menu_->ImagesItems();
  for (int i = 0; i < items.Count() && i < static_cast<int>(layout.Rects.size()); ++i)
    items.Items(i)->ItemRect = layout.Rects[static_cast<size_t>(i)];
  size_ = layout.WindowSize;
  const TPoint at = PlaceImagesMenu(anchor, size_, workArea);
  SetBounds(at.X, at.Y, size_.cx, size_.cy);
  ApplyMask();
  // Without per-pixel alpha (no compositor) the menu shows opaque.
  const bool alpha = menu_->AlphaBlend() && Platform().SupportsPerPixelAlpha();
  const bool fade = alpha && menu_->AlphaBlendAnimation();
  const uint8_t target = menu_->AlphaBlendValue();
  if (alpha) {
    SetWindowLong(Handle(), GWL_EXSTYLE, GetWindowLong(Handle(), GWL_EXSTYLE) | intptr_t(WS_EX_LAYERED));
    SetLayeredWindowAttributes(Handle(), 0, fade ? 0 : target, LWA_ALPHA);
  }
  SetWindowPos(Handle(), HWND_TOPMOST, at.X, at.Y, size_.cx, size_.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  visible_ = true;
  if (fade) FadeIn(target);
  if (!self || closing_) return;
  TakeInput();
}

void TqzSkinImagesMenuPopupWindow::ApplyMask() {
  TBitmap *picture = nullptr, *mask = nullptr;
  const TqzDataSkinPopupWindow* look = menu_ ? WindowLook(menu_->SkinData(), &picture, &mask) : nullptr;
  // Cut before the first show: the handle is made here when needed.
  if (look == nullptr || mask == nullptr) return;
  const TqzSkinGeometry g = look->Geometry({0, 0, picture->Width(), picture->Height()});
  const TqzNewGeometry n = CalcNewGeometry(g, CalcResizeMode(g), size_.cx, size_.cy);
  if (std::optional<TRegion> region = CreateSkinRegion(g, n, size_.cx, size_.cy, *mask))
    SetWindowRgn(Handle(), std::move(*region), false);
}

// Raises the alpha by a fifteenth of the target after each 5 ms and more,
// processing pending messages in between; a handler may close the grid.
void TqzSkinImagesMenuPopupWindow::FadeIn(uint8_t target) {
  TComponentRef<TqzSkinImagesMenuPopupWindow> self(this);
  const int step = std::max(1, target / 15);
  int alpha = 0;
  Application->ProcessMessages();
  while (self && !closing_ && alpha < target) {
    std::this_thread::sleep_for(std::chrono::milliseconds(6));
    alpha = std::min<int>(alpha + step, target);
    SetLayeredWindowAttributes(Handle(), 0, static_cast<uint8_t>(alpha), LWA_ALPHA);
    Application->ProcessMessages();
  }
}

void TqzSkinImagesMenuPopupWindow::TakeInput() {
  TComponentRef<TqzSkinImagesMenuPopupWindow> self(this);
  input_.Take(*this, closing_);
  if (!self || closing_) return;
  formWatch_ = WindowSystem().AddSendWatcher([this](HWND hwnd, uint32_t msg) { FormMessage(hwnd, msg); });
}

// A form of the application moved or sized: the grid no longer sits where
// it was opened. The close is posted, as the form is in the middle of its
// move and the close runs the application's handlers.
void TqzSkinImagesMenuPopupWindow::FormMessage(HWND hwnd, uint32_t msg) {
  if ((msg != WM_MOVE && msg != WM_SIZE) || closing_ || !HandleAllocated()) return;
  TWinControl* target = WindowControl(hwnd);
  if (target == this || target == nullptr || target->Parent() != nullptr) return;
  if (dynamic_cast<TCustomForm*>(target) == nullptr) return;
  PostMessage(Handle(), WM_CANCELMODE, 0, 0);
}

void TqzSkinImagesMenuPopupWindow::StopWatchingForms() {
  if (formWatch_ != 0) WindowSystem().RemoveSendWatcher(std::exchange(formWatch_, 0));
}

void TqzSkinImagesMenuPopupWindow::CloseWindow() {
  if (closing_) return;
  closing_ = true;
  StopWatchingForms();
  visible_ = false;
  input_.Close(*this);
}

// ---------------------------------------------------------------- input

void TqzSkinImagesMenuPopupWindow::Dispatch(TMessage& m) {
  const bool inert = closing_ || !menu_;
  const TPoint client{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (!inert) MouseMoveAt(client);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!inert) PressAt(ClientToScreen(client), true);
      return;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!inert) PressAt(ClientToScreen(client), false);
      return;
    case WM_LBUTTONUP:
      if (!inert) ReleaseAt(client);
      return;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_CHAR:
    case WM_KEYUP:
      return;
    case WM_KEYDOWN:
      if (!inert) HandleKey(static_cast<uint16_t>(m.WParam));
      return;
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
      if (!inert) menu_->CloseUp(-1);
      return;
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      if (!inert) menu_->CloseUp(-1);
      return;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_ACTIVATEAPP:
    case WM_KILLFOCUS:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      // Another window took the keyboard or the pointer: the grid gives up.
      if (!inert && input_.Lost(m)) menu_->CloseUp(-1);
      if (m.Msg == WM_CAPTURECHANGED || m.Msg == WM_CANCELMODE) return;
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(m);
}

bool TqzSkinImagesMenuPopupWindow::InsideWindow(TPoint screen) {
  return HandleAllocated() && WindowFromPoint(screen) == Handle();
}

int TqzSkinImagesMenuPopupWindow::CellAt(TPoint client) const {
  if (!menu_) return -1;
  const TqzImagesMenuItems& items = menu_->ImagesItems();
  for (int i = 0; i < items.Count(); ++i) {
    const TqzImagesMenuItem* item = items.Items(i);
    if (!item->Header && item->ItemRect.Contains(client)) return i;
  }
  return -1;
}

void TqzSkinImagesMenuPopupWindow::SetHotIndex(int index) {
  if (index == hot_) return;
  hot_ = index;
  Invalidate();
  ShowCellHint();
}

void TqzSkinImagesMenuPopupWindow::ShowCellHint() {
  if (!menu_ || !menu_->ShowHints()) return;
  TqzSkinHint* hint = menu_->SkinHint();
  if (hint == nullptr) return;
  hint->HideHint();
  if (hot_ < 0 || hot_ >= menu_->ImagesItems().Count()) return;
  const std::string& text = menu_->ImagesItems().Items(hot_)->Hint;
  if (!text.empty()) hint->ShowHintText(text);
}

void TqzSkinImagesMenuPopupWindow::MouseMoveAt(TPoint client) {
  const bool inside = InsideWindow(ClientToScreen(client));
  SetHotIndex(inside ? CellAt(client) : -1);
}

void TqzSkinImagesMenuPopupWindow::PressAt(TPoint screen, bool leftButton) {
  if (!leftButton || !InsideWindow(screen)) {
    menu_->CloseUp(-1);
    return;
  }
  pressed_ = CellAt(ScreenToClient(screen)) >= 0;
}

void TqzSkinImagesMenuPopupWindow::ReleaseAt(TPoint client) {
  const bool pressed = std::exchange(pressed_, false);
  const int cell = InsideWindow(ClientToScreen(client)) ? CellAt(client) : -1;
  if (pressed && cell >= 0) {
    menu_->CloseUp(cell);
    return;
  }
  if (GetCapture() != Handle()) SetCapture(Handle());
}

void TqzSkinImagesMenuPopupWindow::HandleKey(uint16_t key) {
  switch (key) {
    case VK_RETURN:
    case VK_SPACE:
      if (hot_ >= 0) menu_->CloseUp(hot_);
      return;
    case VK_ESCAPE:
      menu_->CloseUp(-1);
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      std::vector<TqzGridCell> cells;
      const TqzImagesMenuItems& items = menu_->ImagesItems();
      for (int i = 0; i < items.Count(); ++i)
        cells.push_back({items.Items(i)->ItemRect, items.Items(i)->Header, items.Items(i)->Button});
      SetHotIndex(NextGridIndex(cells, hot_, key));
      return;
    }
    default:
      return;
  }
}

// ---------------------------------------------------------------- painting

void TqzSkinImagesMenuPopupWindow::PaintBackground(TBitmap& dest) {
  dest.SetSize(size_.cx, size_.cy);
  TBitmap* picture = nullptr;
  if (const TqzDataSkinPopupWindow* look = WindowLook(menu_ ? menu_->SkinData() : nullptr, &picture, nullptr)) {
    const TqzSkinGeometry g = look->Geometry({0, 0, picture->Width(), picture->Height()});
    const TqzNewGeometry n = CalcNewGeometry(g, CalcResizeMode(g), size_.cx, size_.cy);
    CreateSkinImage(g, n, true, size_.cx, size_.cy, *picture, dest);
    return;
  }
  TCanvas& c = dest.Canvas();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(clWindow);
  c.FillRect({0, 0, size_.cx, size_.cy});
  c.Brush().SetColor(clBtnShadow);
  c.FrameRect({0, 0, size_.cx, size_.cy});
}

void TqzSkinImagesMenuPopupWindow::Paint() {
  if (!menu_) return;
  TBitmap buffer;
  PaintBackground(buffer);
  const TqzImagesMenuItems& items = menu_->ImagesItems();
  for (int i = 0; i < items.Count(); ++i) {
    const TRect& r = items.Items(i)->ItemRect;
    if (r.IsEmpty()) continue;
    TBitmap cell;
    DrawCellImage(i, cell);
    buffer.Canvas().Draw(r.Left, r.Top, cell);
  }
  Canvas().Draw(0, 0, buffer);
}

void TqzSkinImagesMenuPopupWindow::DrawCellImage(int index, TBitmap& out) {
  if (!menu_ || index < 0 || index >= menu_->ImagesItems().Count()) return;
  const TqzImagesMenuItem& item = *menu_->ImagesItems().Items(index);
  const TRect& r = item.ItemRect;
  TBitmap background;
  PaintBackground(background);
  out.SetSize(r.Width(), r.Height());
  out.Canvas().CopyRect({0, 0, r.Width(), r.Height()}, background.Canvas(), r);
  if (item.Header) {
    DrawHeader(item, out);
  } else {
    DrawCellFrame(index, out);
    const bool picked = menu_->ShowSelectedItem() && index == menu_->ItemIndex();
    DrawCellContent(item, out, index == hot_ || picked);
  }
  out.Modified();
}

// Hot cells take the active look, the picked cell the down look.
void TqzSkinImagesMenuPopupWindow::DrawCellFrame(int index, TBitmap& out) {
  const bool hot = index == hot_;
  const bool picked = menu_->ShowSelectedItem() && index == menu_->ItemIndex();
  if (!hot && !picked) return;
  const int w = out.Width(), h = out.Height();
  const TqzSkinData* skin = menu_->SkinData();
  if (const TqzDataSkinButtonControl* d = CellLook(skin)) {
    const TqzButtonLooks looks = ResolveButtonLooks(*d);
    TBitmap look;
    ComposeButtonLook(d->Geometry(), hot ? looks.Active : looks.Down, false, w, h,
                      *skin->ActivePicture(d->PictureIndex), look);
    if (!look.Empty()) out.Canvas().Draw(0, 0, look);
    return;
  }
  TCanvas& c = out.Canvas();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(hot ? kPlainLookHotFill : kPlainLookDownFill);
  c.FillRect({0, 0, w, h});
  c.Brush().SetColor(kPlainLookHotFrame);
  c.FrameRect({0, 0, w, h});
}

void TqzSkinImagesMenuPopupWindow::DrawCellContent(const TqzImagesMenuItem& item, TBitmap& out, bool lit) {
  const TCustomImageList* images = menu_->Images();
  const bool hasImage = images && item.ImageIndex >= 0 && item.ImageIndex < images->Count();
  const int w = out.Width(), h = out.Height();
  TCanvas& c = out.Canvas();
  if (!item.Button) {
    if (hasImage) images->Draw(c, (w - images->Width()) / 2, (h - images->Height()) / 2, item.ImageIndex);
    return;
  }
  int textLeft = kButtonRowImageInset;
  if (images) {
    if (hasImage) images->Draw(c, kButtonRowImageInset, (h - images->Height()) / 2, item.ImageIndex);
    textLeft += images->Width() + kButtonRowImageInset;
  }
  const TqzDataSkinMenuItem* look = MenuItemLook(menu_->SkinData());
  if (look && menu_->UseSkinFont()) {
    c.Font().SetName(look->FontName);
    c.Font().SetHeight(look->FontHeight);
    c.Font().SetStyle(look->FontStyle);
  } else {
    c.Font().Assign(menu_->DefaultFont());
  }
  c.Font().SetColor(look ? (lit ? look->ActiveFontColor : look->FontColor) : clWindowText);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.DrawText(item.Caption, TRect{textLeft, 0, w - kButtonRowImageInset, h},
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TqzSkinImagesMenuPopupWindow::DrawHeader(const TqzImagesMenuItem& item, TBitmap& out) {
  const TqzSkinData* skin = menu_->SkinData();
  const int w = out.Width(), h = out.Height();
  TCanvas& c = out.Canvas();
  const auto* label = ControlLook<TqzDataSkinLabelControl>(skin, "label");
  const TBitmap* picture = label ? skin->ActivePicture(label->PictureIndex) : nullptr;
  if (label && picture) {
    const TqzSkinGeometry g = label->Geometry();
    TBitmap look;
    CreateSkinImage(g, CalcNewGeometry(g, CalcResizeMode(g), w, h), true, w, h, *picture, look);
    c.StretchDraw({0, 0, w, h}, look);
    c.Font().SetName(label->FontName);
    c.Font().SetHeight(label->FontHeight);
    c.Font().SetStyle(label->FontStyle);
    c.Font().SetColor(label->FontColor);
  } else {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clBtnFace);
    c.FillRect({0, 0, w, h});
    c.Font().Assign(menu_->DefaultFont());
    c.Font().SetColor(clBtnText);
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.DrawText(item.Caption, TRect{0, 0, w, h}, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace qz
