#include "skin/popups/SkinPopupInput.h"

#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"

namespace qz {

void TqzPopupInput::SetWindowParams(TCreateParams& params) {
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.WindowClassStyle = CS_SAVEBITS | CS_DROPSHADOW;
}

bool TqzPopupInput::Lost(const TMessage& m) const {
  if (!owns_) return false;
  switch (m.Msg) {
    case WM_ACTIVATEAPP:
      return m.WParam == 0;
    case WM_KILLFOCUS:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      return true;
    default:
      return false;
  }
}

void TqzPopupInput::Take(TWinControl& window, const bool& closing) {
  TComponentRef<TWinControl> alive(&window);
  owns_ = true;
  SetCapture(window.Handle());
  // This object is part of the window: nothing is read once it went.
  if (!alive || closing) return;
  previousFocus_ = GetFocus();
  ::qz::SetFocus(window.Handle());
}

void TqzPopupInput::Close(TWinControl& window) {
  const HWND self = window.HandleAllocated() ? window.Handle() : nullptr;
  if (self) ShowWindow(self, SW_HIDE);
  WindowSystem().DeferDelete(&window);
  if (!owns_ || self == nullptr) return;
  const HWND previous = previousFocus_;
  if (GetCapture() == self) ReleaseCapture();
  if (GetFocus() == self) ::qz::SetFocus(IsWindow(previous) ? previous : nullptr);
}

}  // namespace qz
