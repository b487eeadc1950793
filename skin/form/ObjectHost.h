// What an active skin object needs from the window it lives on. The form
// skinning controller implements this; objects, the caption painter and the
// tests see the window only through it, so each side can be tested alone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/base/Set.h"
#include "host/base/Types.h"
#include "host/components/Events.h"
#include "skin/data/SkinObjectData.h"

namespace qz {

class TCanvas;
class TBitmap;
class TFont;
class TMenuItem;
class TqzSkinData;
class TqzActiveSkinObject;

enum TSwitchState { swsOn, swsOff };
// The caption buttons a skinned form offers (bit 0 to bit 4 of the set).
enum TqzBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TqzBorderIcons = TSet<TqzBorderIcon>;
enum class TqzMouseButton { mbLeft, mbRight, mbMiddle };

// Events the controller raises for its objects; the first argument names the
// object by its description's section name.
using TqzObjectNotifyEvent = std::function<void(const std::string& IDName)>;
using TqzObjectMouseEvent = std::function<void(const std::string& IDName, int X, int Y,
                                               const TRect& ObjectRect, TqzMouseButton Button)>;
using TqzObjectMouseMoveEvent =
    std::function<void(const std::string& IDName, int X, int Y, const TRect& ObjectRect)>;
using TqzObjectPaintEvent =
    std::function<void(const std::string& IDName, TCanvas& Canvas, const TRect& ObjectRect)>;
using TqzSwitchChangeStateEvent = std::function<void(const std::string& IDName, TSwitchState State)>;
using TqzObjectValueEvent = std::function<void(const std::string& IDName, int Value)>;
using TqzActivateCustomObjectEvent =
    std::function<void(const std::string& IDName, bool& ObjectVisible)>;
using TqzCaptionPaintEvent = std::function<void(TCanvas& Cnvs, const TRect& R, bool AActive)>;

// The caption's share of the window: its text, fonts and the user's paint hook.
struct TqzCaptionContext {
  std::string Text;               // the form's caption
  bool UseSkinFont = true;        // UseSkinFontInCaption
  const TFont* DefCaptionFont = nullptr;
  const TFont* DefInActiveCaptionFont = nullptr;
  int CharSet = 0;                // of the skin's resource strings, 0 when none
  bool RightToLeft = false;       // the form's bidirectional mode
  TqzCaptionPaintEvent OnCaptionPaint;
};

class TqzObjectHost {
 public:
  virtual ~TqzObjectHost() = default;

  // --- the window ---
  virtual TqzSkinData* HostSkinData() const = 0;  // null without skin
  virtual bool FormActive() const = 0;            // the form counts as active
  virtual bool RolledUp() const = 0;
  virtual bool Maximized() const = 0;
  virtual bool Minimized() const = 0;
  virtual bool IsMainForm() const = 0;
  virtual bool ClientMode() const = 0;              // the skin is drawn in the client area
  virtual bool FullBorderLayered() const = 0;       // the layered border draws the frame
  virtual bool ShowIcon() const = 0;                // ShowIcon and a form icon exist
  virtual bool NCDraggAble() const = 0;
  virtual TPoint WindowToScreen(TPoint p) const = 0;  // window (frame) coordinates to screen
  virtual TqzCaptionContext CaptionContext() const = 0;

  // --- repainting and timers ---
  virtual void RedrawObject(TqzActiveSkinObject& object) = 0;
  virtual void RedrawCaption() = 0;
  virtual void StartMorphTimer() = 0;
  virtual void StartAnimateTimer() = 0;

  // --- commands and menus ---
  // Runs a standard button's command with the controller's rules (refusals,
  // minimise to tray, restore of a minimised frame-mode form, close last).
  virtual void ExecuteCommand(TqzStdCommand command) = 0;
  // Pops the system menu up below an object (rect in window coordinates).
  virtual void PopupSystemMenuBelow(const TRect& objectRect) = 0;
  // Pops the children of `items` up below an object.
  virtual void PopupMenuBelow(TMenuItem& items, const TRect& objectRect) = 0;
  // Starts the client-mode drag from a press on the caption (client coordinates).
  virtual void StartClientDrag(TPoint p) = 0;

  // --- glow under a hovered caption button (screen coordinates) ---
  virtual void ShowGlowLayer(int x, int y, uint8_t alpha, const TBitmap* mask,
                             const TBitmap& picture) = 0;
  virtual void HideGlowLayer() = 0;

  // --- events raised on the controller ---
  virtual void FireMouseEnter(const std::string& id) = 0;
  virtual void FireMouseLeave(const std::string& id) = 0;
  virtual void FireMouseDown(const std::string& id, int x, int y, const TRect& r,
                             TqzMouseButton b) = 0;
  virtual void FireMouseUp(const std::string& id, int x, int y, const TRect& r,
                           TqzMouseButton b) = 0;
  virtual void FireMouseMove(const std::string& id, int x, int y, const TRect& r) = 0;
  virtual void FirePaint(const std::string& id, TCanvas& canvas, const TRect& r) = 0;
  virtual void FireSwitchChangeState(const std::string& id, TSwitchState state) = 0;
  virtual void FireTrackBarChangeValue(const std::string& id, int value) = 0;
  virtual void FireFrameRegulatorChangeValue(const std::string& id, int value) = 0;
};

}  // namespace qz
