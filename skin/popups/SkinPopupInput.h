// The input of a never-activated popup window (menu levels, the images
// menu): while open it holds the mouse capture and the keyboard focus, and
// when it closes it hides, gives both back and is freed once the current
// message is done.
#pragma once

#include "host/ui/Controls.h"

namespace qz {

class TqzPopupInput {
 public:
  // A top-most tool window that is never activated, with a drop shadow.
  static void SetWindowParams(TCreateParams& params);

  // Takes the capture, then (unless the window went or `closing` turned
  // true meanwhile) the focus, remembering who had it. The capture change
  // reaches other windows' handlers, which may close or free the window.
  void Take(TWinControl& window, const bool& closing);
  // Hides the window, frees it after the current message and, when it took
  // the input, gives capture and focus back. Giving the focus back reaches
  // the control's handlers: the caller touches nothing of the window after.
  void Close(TWinControl& window);
  bool Owns() const { return owns_; }
  // While the input is held: whether `m` tells that it went elsewhere (the
  // application was deactivated, another window took the focus or the
  // capture, or a cancel), which closes the popup.
  bool Lost(const TMessage& m) const;

 private:
  bool owns_ = false;
  HWND previousFocus_ = nullptr;
};

}  // namespace qz
