// One of the four windows of a layered border: a borderless top-level host
// form that shows a per-pixel alpha strip beside the form it decorates. It
// never takes the activation (a click activates the decorated form), and
// where the border asks for it, it turns presses into sizing or moving of
// that form.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "host/base/Types.h"
#include "host/components/Component.h"
#include "host/ui/Forms.h"
#include "skin/form/LayerBorder.h"

namespace qz {

class TPixmap;

class TqzFormLayerWindow : public TCustomForm {
  QZ_CLASS(TqzFormLayerWindow, TCustomForm)
 public:
  // The hit code (HTLEFT ... HTBOTTOMRIGHT, HTCAPTION, HTOBJECT or
  // HTCLIENT) of a screen point.
  using THitTest = std::function<int(TPoint screen)>;
  // Sees the window's mouse messages first; true when it handled one. It
  // may free this window (a click that closes the decorated form).
  using TMouseRoute = std::function<bool(TMessage& message)>;

  // mouseTransparent: the pointer passes through (the frame has neither a
  // border rect nor a hit-test rect). stayOnTop follows the decorated form.
  TqzFormLayerWindow(TqzBorderSide side, TCustomForm& decorated, bool mouseTransparent,
                     bool stayOnTop, THitTest hitTest);

  TqzBorderSide Side() const { return side_; }
  // Whether a press on this window runs a size or move loop of the
  // decorated form now.
  bool SizingOwner() const { return sizingOwner_; }
  // The top window of a full-border frame routes the mouse to the frame's
  // objects through this.
  void SetMouseRoute(TMouseRoute route) { mouseRoute_ = std::move(route); }

  // Places the window at `bounds` showing `premultiplied` at `opacity`, and
  // shows it without activation; an empty picture hides the window instead.
  // `samePicture`: the picture is the one shown last; a shown window then
  // only moves and takes the opacity.
  void ShowPicture(const TRect& bounds, const TPixmap& premultiplied, uint8_t opacity,
                   bool samePicture = false);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  void ActivateDecorated();
  void RunLoop(WPARAM command, LPARAM pos);
  void ToggleMaximized();

  TqzBorderSide side_;
  TComponentRef<TCustomForm> decorated_;
  bool mouseTransparent_;
  THitTest hitTest_;
  TMouseRoute mouseRoute_;
  bool sizingOwner_ = false;
};

}  // namespace qz
