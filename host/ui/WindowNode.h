// What the window system needs of a window: one node of the window tree,
// for which it keeps a handle, window data and (at the top) a platform
// window. Windowed controls are nodes (TWinControl); the window system knows
// no other kind, so it can be read and tested on its own.
//
// A node keeps its own copy of its bounds, visibility and enabling (a
// control's fields): the window system reads them here and writes them
// through the Store calls when the window API changes them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/base/Messages.h"
#include "host/base/Types.h"
#include "host/base/WindowHandle.h"

namespace qz {

class TFont;
struct TWindowData;

class TWindowNode {
 public:
  TWindowNode(const TWindowNode&) = delete;
  TWindowNode& operator=(const TWindowNode&) = delete;

  // Null until the window system attaches the node (gives it a handle).
  TWindowData* WindowData() const { return wnd_.get(); }

  // ---- tree
  // Null for a top-level window.
  virtual TWindowNode* WindowParent() const = 0;
  // The windowed children, bottom to top.
  virtual std::vector<TWindowNode*> WindowChildren() const = 0;
  // Moves a child in the stack: HWND_TOP, HWND_TOPMOST and HWND_NOTOPMOST to
  // the top, HWND_BOTTOM below every other window, any other handle just
  // below that window (to the top when it names no sibling).
  virtual void RestackChild(TWindowNode* child, HWND after) = 0;

  // ---- state
  // Parent client coordinates (screen coordinates at the top).
  virtual TRect WindowBounds() const = 0;
  // Visible with every parent, and the top-level window shown, not minimised.
  virtual bool WindowShowing() const = 0;
  virtual std::string WindowText() const = 0;
  // The font a new device context of the window starts with.
  virtual const TFont& WindowFont() const = 0;
  virtual void StoreWindowBounds(const TRect& bounds) = 0;
  virtual void StoreWindowVisible(bool visible) = 0;
  virtual void StoreWindowEnabled(bool enabled) = 0;

  // ---- messages
  // Runs the message through the window's procedure and answers its result.
  // The handler may free the node: callers trust only the handle afterwards.
  virtual LRESULT WindowMessage(uint32_t msg, WPARAM w, LPARAM l) = 0;

 protected:
  TWindowNode();
  // Nodes are never deleted through this interface.
  virtual ~TWindowNode();

  // Set and cleared by the window system (AttachWindow / DetachWindow); the
  // owner only resets it once detached.
  std::unique_ptr<TWindowData> wnd_;

 private:
  friend class TWindowSystem;
};

}  // namespace qz
