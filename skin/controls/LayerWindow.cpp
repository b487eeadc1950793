#include "skin/controls/LayerWindow.h"

#include "host/ui/Windows.h"

namespace qz {

TqzLayerWindow::TqzLayerWindow(bool topMost) : TCustomControl(nullptr), topMost_(topMost) {
  SetVisible(false);  // shown by the manager, without activation
}

void TqzLayerWindow::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.WndParent = nullptr;
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED;
  if (topMost_) params.ExStyle |= WS_EX_TOPMOST;
  params.WindowClassStyle |= CS_SAVEBITS;
}

void TqzLayerWindow::WndProc(TMessage& m) {
  if (m.Msg == WM_MOUSEACTIVATE) {
    m.Result = MA_NOACTIVATE;
    return;
  }
  inherited::WndProc(m);
}

}  // namespace qz
