// Active skin objects: the live elements on a skinned frame (caption,
// caption buttons, animated buttons, labels, gauges, track bars, switches,
// regulators, user objects). Each is made from one object description of
// the skin, placed by the frame transform, fed mouse input by the
// controller and painted from the skin's pictures.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/base/Types.h"
#include "skin/data/SkinObjectData.h"
#include "skin/form/FrameGeometry.h"
#include "skin/form/ObjectHost.h"

namespace qz {

class TCanvas;
class TPixmap;
class TMenu;

class TqzActiveSkinObject {
 public:
  TqzActiveSkinObject(TqzObjectHost& host, const TqzDataSkinObject& data);
  virtual ~TqzActiveSkinObject();
  TqzActiveSkinObject(const TqzActiveSkinObject&) = delete;
  TqzActiveSkinObject& operator=(const TqzActiveSkinObject&) = delete;

  TqzObjectHost& Host() const { return host_; }
  const TqzDataSkinObject& Data() const { return data_; }
  const std::string& IDName() const { return data_.IDName; }
  // The hint shown over the object (a restore hint in the alternate state).
  virtual std::string Hint() const { return data_.Hint; }
  // The object belongs to the rolled-up look ("rollup").
  bool RollUp() const { return data_.RollUp; }
  bool ShownIn(bool rolledUp) const { return RollUp() == rolledUp; }

  // Window rectangle: the frame transform of skinrect, or the button row's place.
  TRect ObjectRect;
  bool Enabled = true, Visible = true;
  bool MouseIn = false, Active = false;
  double Kf = 0.0;  // morph factor, 0 normal look .. 1 active look

  // Point test relative to ObjectRect's top-left (mask pixels when the
  // description has a mask picture).
  virtual bool InActiveArea(int x, int y) const;
  virtual void Changed();
  virtual void ShowLayer();
  virtual void HideLayer();
  virtual bool RedrawsCaption() const { return false; }
  // Drawing into a 32-bit layered frame (full-border layered mode).
  virtual void DrawAlphaLayer(TCanvas& canvas, TPixmap& bitmap);
  virtual void Draw(TCanvas& canvas, bool compose);
  virtual void DblClick();
  virtual void MouseDown(int x, int y, TqzMouseButton button);
  virtual void MouseUp(int x, int y, TqzMouseButton button);
  virtual void MouseMove(int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool CanMorphing() const;
  // One morph tick (Kf +- 0.2, clamped); true when the object moved.
  bool MorphStep();
  // One animation tick of 25 ms (animate objects, caption glow frames);
  // true while something still moves.
  virtual bool AnimateStep() { return false; }
  // Whether morphing applies at all (description, skin effects, no layered frame).
  bool MorphingApplies() const;

  // What the controller asks of particular kinds without knowing them.
  virtual bool IsCaption() const { return false; }        // captions take no capture
  virtual bool IsFrameMenuItem() const { return false; }  // drawn into the menu's strip
  // P (window coordinates) drags the window: a caption's rectangle except
  // its tabs and quick buttons.
  virtual bool CaptionDragPoint(TPoint) const { return false; }
  // The form's active state changed; `shown`: the object belongs to the
  // current roll-up state (others only morph towards the new look).
  virtual void SetFormActive(bool /*active*/, bool /*shown*/) {}

 protected:
  TqzObjectHost& host_;
  const TqzDataSkinObject& data_;
};

using TqzSkinObjectList = std::vector<std::unique_ptr<TqzActiveSkinObject>>;

// The objects of a skin, in the order of its object list, plus one frame
// menu item object per visible top-level item of `mainMenu` when the skin
// describes "MAINMENUITEM".
TqzSkinObjectList CreateSkinObjects(TqzObjectHost& host, const TqzSkinData& skin,
                                    const TMenu* mainMenu);
// The six standard buttons of the frame drawn without a skin.
TqzSkinObjectList CreateDefaultButtons(TqzObjectHost& host);

// What decides which standard buttons are enabled and visible.
struct TqzObjectStateInput {
  TqzBorderIcons BorderIcons;
  bool DisableSystemMenu = false;
  bool HideCloseButton = false;
  bool HideCaptionButtons = false;
  bool HasDialogCloseButton = false;  // the skin has an object "dialogclosebutton"
  TqzActivateCustomObjectEvent OnActivateCustomObject;
};
void UpdateObjectStates(TqzSkinObjectList& objects, const TqzObjectStateInput& in);

// Where the objects go at the current window size: every object's
// ObjectRect from the frame transform; in frame mode the automatic button
// row, the system-menu button and the caption's shortened rectangle.
struct TqzObjectPlacement {
  const TqzSkinFormInfo* Info = nullptr;
  TqzFrameSize Size;
  const TqzFrameRects* Rects = nullptr;
  bool FrameMode = true;
  bool MenuButtonVisible = false;
  int MenuButtonWidth = 50;
  TSize IconSize;  // of the form icon when the system-menu button shows it
};
void PlaceObjects(TqzSkinObjectList& objects, const TqzObjectPlacement& in);

}  // namespace qz
