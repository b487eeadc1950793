// What the layers above the window system tell it. The window system keeps
// windows for window nodes and routes platform events to them; controls,
// forms and drag and drop, which it names nowhere, install their part here
// once (from their own sources, when the program starts). A hook left empty
// does nothing.
#pragma once

#include <functional>

#include "host/base/Types.h"

namespace qz {

class TWindowNode;
struct TMessage;
struct TPlatformEvent;

struct TWindowSystemHooks {
  // A top-level window that keeps to the normal stacking layers whatever
  // its popup styles say (forms): it never becomes a popup window.
  std::function<bool(const TWindowNode*)> keepsNormalLayer;
  // Mouse and key events before the window system routes them; true when
  // taken (a drag in progress).
  std::function<bool(const TPlatformEvent&)> takesMouse;
  std::function<bool(int vk, bool down)> takesKey;
  // The form that sees a window's keys first (null when none): its short
  // cuts (true when one took the key), then its dialog keys and characters
  // (CM_DIALOGKEY, CM_DIALOGCHAR).
  std::function<TWindowNode*(const TWindowNode*)> keyForm;
  std::function<bool(TWindowNode* form, TMessage& keyMsg)> shortCut;
  // The pointer moved over `window` (null: over none of the program's
  // enabled windows), before the mouse message goes out: the control under
  // it hears of the pointer entering and leaving.
  std::function<void(TWindowNode* window, TPoint screen)> pointerOver;
  // The mouse capture moved or its window went.
  std::function<void()> captureChanged;
  // The window system was reset: what the hooks keep starts afresh.
  std::function<void()> reset;
};

// The one set of hooks of the process's window system.
TWindowSystemHooks& WindowSystemHooks();

}  // namespace qz
