#include "skin/form/FormLayerWindow.h"

#include <utility>

#include "host/graphics/Pixmap.h"
#include "host/ui/Windows.h"

namespace qz {

namespace {

// Posted to itself when the window system made a border window active
// (restoring the application, or choosing the next window after one
// closed): the decorated form takes the activation once that is done.
constexpr UINT kPassActivation = WM_APP + 0x151;

bool IsMouseMessage(UINT msg) {
  return (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) ||
         (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST);
}

bool IsSizingHit(int hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

int SizingCursor(int hit) {
  switch (hit) {
    case HTLEFT: case HTRIGHT: return IDC_SIZEWE;
    case HTTOP: case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT: case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT: case HTBOTTOMLEFT: return IDC_SIZENESW;
    default: return IDC_ARROW;
  }
}

}  // namespace

TqzFormLayerWindow::TqzFormLayerWindow(TqzBorderSide side, TCustomForm& decorated,
                                       bool mouseTransparent, bool stayOnTop, THitTest hitTest)
    : TCustomForm(nullptr),
      side_(side),
      decorated_(&decorated),
      mouseTransparent_(mouseTransparent),
      hitTest_(std::move(hitTest)) {
  SetBorderStyle(bsNone);
  if (stayOnTop) SetFormStyle(fsStayOnTop);
}

void TqzFormLayerWindow::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.Style &= ~uint32_t(WS_VISIBLE);
  params.ExStyle |= WS_EX_LAYERED;
  // It shows only the pictures it is given, never paints itself: its first
  // back buffer is not filled ahead of the first picture.
  params.WindowClassStyle |= CS_OPAQUEPAINT;
  if (mouseTransparent_) params.ExStyle |= WS_EX_TRANSPARENT;
}

void TqzFormLayerWindow::ShowPicture(const TRect& bounds, const TPixmap& premultiplied,
                                     uint8_t opacity, bool samePicture) {
  const HWND self = Handle();
  if (premultiplied.Width() == 0 || premultiplied.Height() == 0) {
    if (IsWindowVisible(self)) ShowWindow(self, SW_HIDE);
    return;
  }
  const TPoint pos{bounds.Left, bounds.Top};
  if (samePicture && IsWindowVisible(self) && Width() == premultiplied.Width() &&
      Height() == premultiplied.Height() && MoveLayeredWindow(self, &pos, opacity))
    return;
  const TSize size{premultiplied.Width(), premultiplied.Height()};
  TBlendFunction blend;
  blend.SourceConstantAlpha = opacity;
  UpdateLayeredWindow(self, &pos, &size, premultiplied, &blend, ULW_ALPHA);
  if (IsWindow(self) && !IsWindowVisible(self)) ShowWindow(self, SW_SHOWNA);
}

// A click on the border is a click on the decorated form: that form takes
// the activation, the border window never does.
void TqzFormLayerWindow::ActivateDecorated() {
  if (!decorated_ || !decorated_->HandleAllocated()) return;
  const HWND form = decorated_->Handle();
  if (IsWindowEnabled(form) && GetActiveWindow() != form) SetActiveWindow(form);
}

// The decorated form runs its own size or move loop from the press, so its
// controller sees it exactly as from a native border or caption.
void TqzFormLayerWindow::RunLoop(WPARAM command, LPARAM pos) {
  if (!decorated_ || !decorated_->HandleAllocated()) return;
  const HWND form = decorated_->Handle();
  if (!IsWindowEnabled(form)) return;
  TComponentRef<TqzFormLayerWindow> self(this);
  sizingOwner_ = true;
  SendMessage(form, WM_SYSCOMMAND, command, pos);
  if (!self) return;
  sizingOwner_ = false;
}

void TqzFormLayerWindow::ToggleMaximized() {
  if (!decorated_ || !decorated_->HandleAllocated()) return;
  const HWND form = decorated_->Handle();
  if (IsWindowEnabled(form))
    SendMessage(form, WM_SYSCOMMAND, IsZoomed(form) ? SC_RESTORE : SC_MAXIMIZE, 0);
}

void TqzFormLayerWindow::WndProc(TMessage& m) {
  if (mouseRoute_ && IsMouseMessage(m.Msg)) {
    TComponentRef<TqzFormLayerWindow> self(this);
    // A copy: the route may free this window and the route with it.
    const TMouseRoute route = mouseRoute_;
    const bool handled = route(m);
    if (!self || handled) return;
  }
  switch (m.Msg) {
    case WM_NCHITTEST: {
      const TPoint screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      m.Result = mouseTransparent_ ? HTTRANSPARENT : hitTest_ ? hitTest_(screen) : HTCLIENT;
      return;
    }
    case WM_MOUSEACTIVATE:
      ActivateDecorated();
      m.Result = MA_NOACTIVATE;
      return;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE) PostMessage(Handle(), kPassActivation);
      m.Result = 0;
      return;
    case kPassActivation:
      ActivateDecorated();
      return;
    case WM_SETCURSOR:
      ::qz::SetCursor(LoadCursor(nullptr, SizingCursor(static_cast<int16_t>(LOWORD(m.LParam)))));
      m.Result = 1;
      return;
    case WM_NCLBUTTONDOWN:
      if (IsSizingHit(static_cast<int>(m.WParam)))
        RunLoop(WPARAM(SC_SIZE) | WPARAM(m.WParam - HTLEFT + WMSZ_LEFT), m.LParam);
      else if (m.WParam == HTCAPTION)
        RunLoop(WPARAM(SC_MOVE) | WPARAM(HTCAPTION), m.LParam);
      m.Result = 0;
      return;
    case WM_NCLBUTTONDBLCLK:
      if (m.WParam == HTCAPTION) ToggleMaximized();
      m.Result = 0;
      return;
    // Other presses on the border do nothing (the defaults would move or
    // size the border window itself).
    case WM_NCLBUTTONUP: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDOWN: case WM_NCMBUTTONUP: case WM_NCMBUTTONDBLCLK:
      m.Result = 0;
      return;
    default:
      inherited::WndProc(m);
  }
}

}  // namespace qz
