// What a form's skinning controller offers the components that show menus.
// Every skinned menu opens through the menu engine (TqzSkinMenu) of a
// controller; components below the controller (controls, popup menus) find
// it through their form here and never name the controller's class.
#pragma once

namespace qz {

class TComponent;
class TControl;
class TCustomForm;
class TMenuItem;
class TqzSkinData;
class TqzSkinMenu;
struct TRect;

class TqzMenuController {
 public:
  virtual ~TqzMenuController() = default;

  // The controller as a component: references to it clear when it goes.
  virtual TComponent& MenuControllerComponent() = 0;
  // The engine the controller's menus open through.
  virtual TqzSkinMenu& SkinMenu() = 0;
  // The skin the controller's menus are drawn with (its menus' skin data,
  // else its own); may be none.
  virtual TqzSkinData* MenuSkin() const = 0;
  // Opens `items` through the engine for `popupControl` beside the anchor
  // (screen coordinates; an empty rectangle is a point), drawn with `skin`.
  // A menu open before closes first. Items that show nothing open nothing
  // and leave an open menu open.
  virtual void PopupItems(TMenuItem& items, TqzSkinData* skin, TControl* popupControl, const TRect& anchor,
                          bool popupToUp) = 0;
};

// The first controller among a component's components, or none.
TqzMenuController* FirstController(const TComponent& component);
// The controller a form's menus show through: its own, or, for an MDI child
// form, the main form's (the child's own when the main form has none).
TqzMenuController* MenuControllerOf(TCustomForm& form);
// The controller for a component's menus: that of the first form up its
// owner chain (MenuControllerOf); none without one.
TqzMenuController* MenuController(TComponent* component);

}  // namespace qz
