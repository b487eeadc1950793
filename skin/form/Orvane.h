// The form skinning controller: a non-visual component dropped on a form
// that takes over the form's window. It replaces the window procedure,
// answers the non-client messages from the attached skin (frame mode) or
// draws the whole skin in the client area (client mode), owns the active
// skin objects of the frame and routes the mouse to them, runs the window
// states itself (maximise, minimise, restore, roll-up) and follows the skin
// data's change messages.
//
// A skinned form in a test or a program:
//   auto* form = new TForm(Application);
//   auto* skin = new TqzSkinData(form);
//   auto* orvane = new TqzOrvane(form);   // the owner must be a form
//   orvane->SetSkinData(skin);
//   skin->LoadFromCompressedData(bytes);  // the change messages apply it
//   form->Show();
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/components/Properties.h"
#include "host/graphics/Bitmap.h"
#include "host/graphics/Font.h"
#include "host/graphics/Region.h"
#include "host/ui/Forms.h"
#include "host/ui/ImgList.h"
#include "host/ui/Menus.h"
#include "host/ui/PopupMenuWindow.h"
#include "host/ui/Timer.h"
#include "skin/base/SkinMessages.h"
#include "skin/controls/LayerManager.h"
#include "skin/form/FrameGeometry.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/MDIScrollBars.h"
#include "skin/form/ObjectHost.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinObjects.h"
#include "skin/form/WindowStates.h"
#include "skin/popups/SkinMenu.h"

namespace qz {

class TqzSkinData;
class TqzSkinMDITabsBar;
class TqzTrayIcon;

QZ_ENUM(TqzBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biRollUp", "biMinimizeToTray");

enum TqzClientInActiveEffect { qzieSemiTransparent, qzieBlur };
QZ_ENUM(TqzClientInActiveEffect, "qzieSemiTransparent", "qzieBlur");
enum TqzPositionInMonitor { qzpDefault, qzpScreenCenter, qzpDesktopCenter };
QZ_ENUM(TqzPositionInMonitor, "qzpDefault", "qzpScreenCenter", "qzpDesktopCenter");

using TChangeClientRectEvent = std::function<void(const TRect& NewClientRect)>;
using TqzOnAcceptToMDITabsBar = std::function<void(bool& Accept)>;

// The active child of an MDI form when it is shown maximised (a skinned
// child's state is its controller's), else null.
TCustomForm* MaximizedMDIChildOf(const TCustomForm& mdiForm);

// The suffix of the names of the window menu's child items.
inline constexpr const char* kMDIChildItemSuffix = "_ORVCHILDITEM";

class TqzOrvane : public TComponent,
                  public TqzObjectHost,
                  public TqzLayerBorderOwner,
                  public TqzMenuController {
  QZ_CLASS(TqzOrvane, TComponent)
  QZ_PUBLISHED_ACCESS(TqzOrvane);

 public:
  // The owner must be a form (EInvalidCast otherwise).
  explicit TqzOrvane(TComponent* AOwner);
  ~TqzOrvane() override;
  void BeforeDestruction() override;

  TCustomForm& Form() const { return *form_; }

  // ---- published properties ----
  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* value);
  TqzSkinData* MenusSkinData() const { return menusSkinData_; }
  void SetMenusSkinData(TqzSkinData* value) { SetReference(menusSkinData_, value); }
  bool SupportNCArea() const { return supportNCArea_; }
  void SetSupportNCArea(bool value);
  TqzBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TqzBorderIcons value);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState value);
  bool Sizeable() const { return sizeable_; }
  void SetSizeable(bool value) { sizeable_ = value; }
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientWidth(int v) { clientWidth_ = v; }
  void SetClientHeight(int v) { clientHeight_ = v; }
  TFont& DefCaptionFont() { return defCaptionFont_; }
  TFont& DefInActiveCaptionFont() { return defInActiveCaptionFont_; }
  TFont& DefMenuItemFont() { return defMenuItemFont_; }
  TBitmap& LogoBitMap() { return logoBitMap_; }
  std::vector<uint8_t> LogoBitMapData() const;
  void SetLogoBitMapData(const std::vector<uint8_t>& data);
  TMainMenu* MainMenu() const { return mainMenu_; }
  void SetMainMenu(TMainMenu* v) { SetReference(mainMenu_, v); }
  TPopupMenu* SystemMenu() const { return systemMenu_; }
  void SetSystemMenu(TPopupMenu* v) { SetReference(systemMenu_, v); }
  TPopupMenu* MenuButtonPopupMenu() const { return menuButtonPopupMenu_; }
  void SetMenuButtonPopupMenu(TPopupMenu* v) {
    SetReference(menuButtonPopupMenu_, v);
    ConfigureObjects();
  }
  TCustomImageList* MenuButtonImageList() const { return menuButtonImageList_; }
  void SetMenuButtonImageList(TCustomImageList* v) {
    SetReference(menuButtonImageList_, v);
    ConfigureObjects();
  }
  TqzQuickButtonItems& QuickButtons() { return quickButtons_; }
  TqzCaptionTabs& CaptionTabs() { return captionTabs_; }
  TCustomImageList* QuickImageList() const { return quickImageList_; }
  void SetQuickImageList(TCustomImageList* v) { SetReference(quickImageList_, v); }
  TCustomImageList* CaptionTabsImageList() const { return captionTabsImageList_; }
  void SetCaptionTabsImageList(TCustomImageList* v) { SetReference(captionTabsImageList_, v); }
  TqzTrayIcon* TrayIcon() const { return trayIcon_; }
  void SetTrayIcon(TqzTrayIcon* v);
  // Components whose classes come later; referenced by their base class.
  TComponent* MainMenuBar() const { return mainMenuBar_; }
  void SetMainMenuBar(TComponent* v) { SetReference(mainMenuBar_, v); }
  TqzSkinMDITabsBar* MDITabsBar() const { return mdiTabsBar_; }
  void SetMDITabsBar(TqzSkinMDITabsBar* v);
  TComponent* SkinHint() const { return skinHint_; }
  void SetSkinHint(TComponent* v) { SetReference(skinHint_, v); }
  TComponent* StatusBar() const { return statusBar_; }
  void SetStatusBar(TComponent* v) { SetReference(statusBar_, v); }

  // Plain published values (read by the controller where it needs them).
  bool MenuButtonVisible = false;
  int MenuButtonWidth = 50;
  std::string MenuButtonCaption;
  int MenuButtonImageIndex = -1, MenuButtonSpacing = 0, MenuButtonMargin = -1;
  bool ShowMDIScrollBars = true;
  int CaptionTabIndex = 0;
  TqzCaptionTabPos CaptionTabPos = qztpLeft;
  bool QuickButtonsShowHint = false;
  bool ClientInActiveEffect = false;
  TqzClientInActiveEffect ClientInActiveEffectType = qzieSemiTransparent;
  bool DisableSystemMenu = false;
  TqzPositionInMonitor PositionInMonitor = qzpDefault;
  bool UseFormCursorInNCArea = false;
  int MaxMenuItemsInWindow = 0;
  bool HideCaptionButtons = false, HideCloseButton = false;
  bool AlwaysShowInTray = false, AlwaysMinimizeToTray = false;
  bool LogoBitMapTransparent = false;
  bool UseSkinFontInMenu = true, UseSkinFontInCaption = true, UseSkinSizeInMenu = true;
  bool ShowIconProp = false;  // published as ShowIcon
  bool MaximizeOnFullScreen = false;
  bool ShowObjectHint = false, UseDefaultObjectHint = true, UseSkinCursors = false;
  int DefMenuItemHeight = 20;
  bool UseDefaultSysMenu = true;
  bool AlphaBlend = false, AlphaBlendAnimation = false;
  uint8_t AlphaBlendValue = 200;
  bool MenusAlphaBlend = false, MenusAlphaBlendAnimation = false;
  uint8_t MenusAlphaBlendValue = 200;
  int MinHeight = 0, MinWidth = 0, MaxHeight = 0, MaxWidth = 0;
  int MinClientHeight = 0, MinClientWidth = 0, MaxClientHeight = 0, MaxClientWidth = 0;
  bool DraggAble = false;
  bool NCDraggAbleProp = true;  // published as NCDraggAble
  bool Magnetic = false;
  uint8_t MagneticSize = 10;

  // ---- published events ----
  TqzCaptionPaintEvent OnCaptionPaint;
  TChangeClientRectEvent OnChangeClientRect;
  TNotifyEvent OnChangeSkinData;
  TqzObjectNotifyEvent OnMouseEnterEvent, OnMouseLeaveEvent;
  TqzObjectMouseEvent OnMouseDownEvent, OnMouseUpEvent;
  TqzObjectMouseMoveEvent OnMouseMoveEvent;
  TqzObjectPaintEvent OnPaintEvent;
  TqzSwitchChangeStateEvent OnSwitchChangeStateEvent;
  TqzObjectValueEvent OnTrackBarChangeValueEvent, OnFrameRegulatorChangeValueEvent;
  TNotifyEvent OnActivate, OnDeActivate;
  TNotifyEvent OnSkinMenuOpen, OnSkinMenuClose;
  TNotifyEvent OnChangeRollUpState;
  TNotifyEvent OnMainMenuEnter, OnMainMenuExit;
  TNotifyEvent OnMinimizeToTray, OnRestoreFromTray;
  TqzActivateCustomObjectEvent OnActivateCustomObject;
  TNotifyEvent OnMinimize, OnRestore, OnMaximize;
  TShortCutEvent OnShortCut;
  TqzOnAcceptToMDITabsBar OnAcceptToMDITabsBar;
  TNotifyEvent OnCaptionTabChange;

  // ---- operations ----
  void ChangeSkinData();
  void Maximize();
  void Minimize();
  void Restore();
  void RollUp();
  void RollDown();
  void MinimizeToTray();
  void RestoreFromTray();
  void Close();
  void SystemMenuPopup(int X, int Y);
  // The same drawn with `menuSkin` (the MDI form's skin for a child's tab);
  // null: the controller's own menu skin.
  void SystemMenuPopup(int X, int Y, TqzSkinData* menuSkin);
  // The menu mode of the form's main menu bar (keyboard or an open menu):
  // OnMainMenuEnter and OnMainMenuExit fire once per mode.
  void EnterMainMenuMode();
  void LeaveMainMenuMode();
  bool InMainMenuMode() const { return keyMenuMode_; }
  // The tray menu (restore, close) through the menu engine at a screen point.
  void TrayMenuPopup(int X, int Y);
  // ---- TqzMenuController: every menu of this form opens through the engine
  TComponent& MenuControllerComponent() override { return *this; }
  TqzSkinMenu& SkinMenu() override;
  TqzSkinData* MenuSkin() const override { return menusSkinData_ ? menusSkinData_ : skinData_; }
  void PopupItems(TMenuItem& items, TqzSkinData* skin, TControl* popupControl, const TRect& anchor,
                  bool popupToUp) override;
  void TestActive(int X, int Y, bool InFrame);
  // Places `control` over the skin area `areaName` after every client-mode
  // geometry change; ignored when the skin has no such (non-empty) area.
  void BindControlToArea(const std::string& areaName, TControl* control);
  // The magnetic snap of a window of `size` proposed at `proposed`.
  TPoint MagneticPosition(TPoint proposed, TSize size, TPoint cursor);

  // ---- MDI form ----
  // The scroll bars of the MDI client (made when first asked; null for a
  // form that is not an MDI form).
  TqzMDIScrollBars* MDIScrollBars();
  // The window menu's item for `child`, null when it has none.
  TMenuItem* MDIWindowMenuItem(const TCustomForm& child) const;
  // True while the MDI form's children are shown maximised.
  bool MDIChildrenMaximized() const;

  // ---- state queries ----
  bool Skinned() const { return skinned_; }
  bool IsRolledUp() const { return rolledUp_; }
  TWindowState ActualWindowState() const { return actualState_; }
  const TRect& NormalBounds() const { return normalBounds_; }
  const TqzFrameRects& Rects() const { return rects_; }
  TqzSizeLimits SizeLimits() const;
  TqzSkinObjectList& ObjectList() { return objects_; }
  int ActiveObject() const { return activeObject_; }
  int OldActiveObject() const { return oldActiveObject_; }
  int MouseCaptureObject() const { return mouseCaptureObject_; }
  bool MouseTimerActive() const;
  bool MorphTimerActive() const;
  bool AnimateTimerActive() const;
  TqzFormLayerBorder& LayerBorder() { return *layerBorder_; }
  // The menu the system menu popup showed last (rebuilt on every popup).
  TPopupMenu& DefaultSystemMenu() { return *sysMenu_; }
  // A menu the controller opened (system menu or an object's items) is open.
  bool MenuShowing() const;
  // Takes the MenuButton* properties over to the caption menu button again
  // (after changing them while a skin is applied).
  void ConfigureObjects();

  // ---- TqzObjectHost ----
  TqzSkinData* HostSkinData() const override;
  bool FormActive() const override;
  bool RolledUp() const override { return rolledUp_; }
  bool Maximized() const override { return actualState_ == wsMaximized; }
  bool Minimized() const override { return actualState_ == wsMinimized; }
  bool IsMainForm() const override;
  bool ClientMode() const override { return !supportNCArea_; }
  bool FullBorderLayered() const override;
  bool ShowIcon() const override { return ShowIconProp; }
  bool NCDraggAble() const override { return NCDraggAbleProp; }
  TPoint WindowToScreen(TPoint p) const override;
  TqzCaptionContext CaptionContext() const override;
  void RedrawObject(TqzActiveSkinObject& object) override;
  void RedrawCaption() override;
  void StartMorphTimer() override;
  void StartAnimateTimer() override;
  void ExecuteCommand(TqzStdCommand command) override;
  void PopupSystemMenuBelow(const TRect& objectRect) override;
  void PopupMenuBelow(TMenuItem& items, const TRect& objectRect) override;
  void StartClientDrag(TPoint p) override;
  void ShowGlowLayer(int x, int y, uint8_t alpha, const TBitmap* mask,
                     const TBitmap& picture) override;
  void HideGlowLayer() override;
  void FireMouseEnter(const std::string& id) override;
  void FireMouseLeave(const std::string& id) override;
  void FireMouseDown(const std::string& id, int x, int y, const TRect& r, TqzMouseButton b) override;
  void FireMouseUp(const std::string& id, int x, int y, const TRect& r, TqzMouseButton b) override;
  void FireMouseMove(const std::string& id, int x, int y, const TRect& r) override;
  void FirePaint(const std::string& id, TCanvas& canvas, const TRect& r) override;
  void FireSwitchChangeState(const std::string& id, TSwitchState state) override;
  void FireTrackBarChangeValue(const std::string& id, int value) override;
  void FireFrameRegulatorChangeValue(const std::string& id, int value) override;

  // ---- TqzLayerBorderOwner ----
  TCustomForm& BorderForm() const override { return *form_; }
  bool LayeredBorderAllowed() const override;
  // Full-border frames (OrvaneFullBorder.cpp): the frame objects live on
  // the layered border's top window, in the coordinates of the outer window
  // (the form enlarged by the border's extents).
  void DrawFullBorderObjects(TqzBitmap& topStrip, TPoint outerOrigin, bool active) override;
  TObjectHit FullBorderObjectAt(TPoint outer) const override;
  void FullBorderObjectMouse(int index, TObjectMouse event, TPoint outer) override;
  void FullBorderDeactivated() override;

 private:
  TPoint FullBorderOuterToScreen(TPoint outer) const;
  // Lays the objects out for the outer window's size instead of the form's.
  void PlaceOnOuterWindow(TqzObjectPlacement& placement, TqzFrameRects& outerRects) const;
  // The alpha of the caption's quick buttons and tabs in the top strip.
  void DrawCaptionExtrasAlpha(const TqzSkinCaptionObject& caption, TPixmap& strip,
                              TPoint outerOrigin) const;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

 private:
  struct TAreaBinding {
    TComponentRef<TControl> Control;
    std::unique_ptr<TqzDataSkinArea> Area;  // a copy: bindings outlive no skin
  };

  // MSG_BACK_FROM_TRAY (OrvaneStates.cpp).
  void BackFromTray();
  // ---- attachment and messages (Orvane.cpp, OrvaneMessages.cpp) ----
  void InstallWndProc();
  void RemoveWndProc();
  void NewWndProc(TMessage& m);
  void CallDefault(TMessage& m);
  bool PreProcess(TMessage& m);
  bool HandleFrameMessage(TMessage& m);
  bool HandleMouseMessage(TMessage& m);
  bool HandleSkinMessage(TMessage& m);
  bool HandleStateMessage(TMessage& m);
  void WMSize(TMessage& m);
  void WMSizeLayout(TMessage& m);
  void WMActivate(TMessage& m);
  void WMNCActivate(TMessage& m);
  void WMShowWindow(TMessage& m);
  void WMFadeTimer();
  void StartFadeIn();
  bool FadeAnimated() const;
  void FrameChanged();
  void RollUpClientResize();
  void WMEraseBkgnd(TMessage& m);
  void WMNCPaint(TMessage& m);
  void WMNCCalcSize(TMessage& m);
  void WMGetMinMaxInfo(TMessage& m);
  void WMNCHitTest(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMSysCommand(TMessage& m);
  void WMSizing(TMessage& m);
  void WMMoving(TMessage& m);
  void WMEnterSizeMove();
  void WMExitSizeMove();
  void WMSkinBeforeChange(TqzSkinData* sender);
  void WMSkinChanged(TqzSkinData* sender);
  void WMSkinnableFormChanged(TqzSkinData* sender);

  // ---- MDI: the branches of the controller that concern MDI forms or
  // children (OrvaneMessages.cpp, OrvaneMDI.cpp). ----
  // Messages 1230..1236 between MDI children and the MDI main form.
  bool HandleMDIMessage(TMessage& m);
  // An MDI child tells its main form that it moved, was restored or closed.
  void NotifyMDIMainForm(uint32_t msg, bool withHandle = true);
  // The form is an MDI child in its MDI form's client.
  bool IsMDIChild() const;
  // An MDI child shown maximised: no frame of its own, its buttons on the
  // MDI form's menu bar.
  bool IsMaximizedMDIChild() const { return IsMDIChild() && Maximized(); }
  void MaximizeMDIChild();
  // The controllers of the MDI form's children (an MDI form only).
  std::vector<TqzOrvane*> MDIChildControllers() const;
  // The MDI form's children changed (CM_MDICHANGED): scroll bars, window
  // menu, the maximised look and the caption follow.
  void SyncMDIForm();
  void UpdateMDIScrollBars(uint64_t ignore);
  void SyncWindowMenu();
  void RetireWindowItem(size_t index);
  void ActivateFromWindowMenu(TCustomForm* child);
  void FreeRetiredItems();
  void FreeWindowItems();
  // The caption with the maximised child's caption after it.
  std::string MDIFormCaption() const;
  // A child becoming active while its siblings are maximised takes the
  // maximised look before it paints.
  void TakeMaximizedLookOnActivation();
  // The MDI form passes its pre-processing on to its active child.
  void ForwardPreProcess(TMessage& m);

  // ---- geometry and painting ----
  bool HasSkin() const;
  bool Skinnable() const;
  bool Borderless() const;
  TSize PictureSize() const;
  TqzFrameSize FrameSize() const;
  void CalcRects();
  void SetFormRegion();
  void RepaintFrame();
  void PaintFrameTo(TCanvas& canvas);
  // The character set of the skin's resource strings (0 without them).
  int StringsCharSet() const;
  void RepaintCaptionArea();
  void ApplySkinAreas();
  void PlaceAllObjects();
  // Client mode: the skin's geometry and the window's shape follow the client
  // size when the skin stretches or the client has the picture's size, and
  // the form is not rolled up.
  bool ClientGeometryFollows() const;
  // Client mode: geometry, objects, region and bound controls for the size.
  void LayoutClientMode();
  void Nudge();
  // Frame mode with a skin: geometry, objects, region, frame and border for
  // the window's size.
  void LayoutFrame();
  void FireChangeClientRect();
  TqzSizeLimitInput SizeLimitInput() const;
  // The rectangles of the form's monitor (the one its window or, before it
  // has one, its bounds lie on most).
  TMonitorInfoRec MonitorRects() const;
  TRect MonitorWorkArea(bool fullScreen) const;
  TqzSizingFrame SizingFrame() const;
  bool CaptionDragPointAt(TPoint p) const;
  int FrameHit(TPoint windowPoint);
  int ClientHit(TPoint clientPoint);
  TPoint ScreenToWindow(TPoint screen) const;

  // ---- skin change ----
  void ApplyFrameModeSkin();
  void ApplyClientModeSkin();
  void ClampFrameSizeToMinimum();
  void RestoreOuterRectAfterChange();
  void UpdateButtonStates();
  void FreeObjects();
  void NotifyControls(uint32_t msg, TqzSkinData* sender);

  // ---- objects and mouse (OrvaneMouse.cpp) ----
  void UpdateActiveState(bool fullUpdate);
  void LeaveActiveObject();
  void ResetObjectStates();
  void RouteNCMouse(TMessage& m);
  void RouteClientMouse(TMessage& m);
  static TPoint ObjectPoint(const TqzActiveSkinObject& o, TPoint window);
  void BindNamedAreaControls(TWinControl* parent);
  void ObjectMouseDown(TPoint p, TqzMouseButton button, bool capture);
  void ObjectMouseUp(TPoint p, TqzMouseButton button);
  void ObjectMouseMove(TPoint p);
  void CaptionDoubleClick();
  void ClientDragTo(TPoint screen);
  void OnMouseTimer();
  void OnMorphTimer();
  void OnAnimateTimer();
  void StopTimers();
  void StartMouseTimer();
  TqzActiveSkinObject* ObjectAt(int index) const;

  // ---- window states (OrvaneStates.cpp) ----
  void ApplyWindowState(TWindowState state);
  void PositionByMonitor(TSize size);
  void RollUpFrame();
  void RollDownFrame();
  void RollUpClient();
  void RollDownClient();
  void SetRollUpState(bool up);
  void DragToTopCheck();
  void DragAway(TRect& moving);
  void MinimizeToSlot();
  void BuildSystemMenu();
  // Remembers the object a menu opens for and watches the menu until it closes.
  void MenuOpened();
  void OnMenuWatchTimer();
  // Closes the controller's open menus (on a press elsewhere, WM_CLOSESKINMENU).
  void CloseMenus();
  // The menu closed: the object that opened it leaves its pressed look and
  // OnSkinMenuClose fires.
  void MenuClosedNow();
  void SystemMenuAction(const std::string& name);
  void FormShortCut(TMessage& msg, bool& handled);
  void SelectCaptionTabByKey(uint16_t key, bool& handled);
  bool RollUpAllowed() const;

  // ---- inactive client panel, skin cursors, the application's restore
  // (OrvaneMessages.cpp, OrvaneMouse.cpp) ----
  // Covers the client with its inactive look, or uncovers it.
  void UpdateInactiveClientPanel(bool active);
  // Client mode with UseSkinCursors: the cursor for the object `index`.
  void ApplySkinCursor(int index);
  // The main form answers the application's restore unless someone else does.
  void TakeApplicationRestore();
  void ReleaseApplicationRestore();
  void ApplicationRestored();
  TComponentRef<class TqzInactiveClientPanel> inactivePanel_;

  // ---- fields ----
  TCustomForm* form_ = nullptr;
  std::function<void(TMessage&)> oldWndProc_;
  bool hooked_ = false;

  TqzSkinData* skinData_ = nullptr;
  TqzSkinData* menusSkinData_ = nullptr;
  TMainMenu* mainMenu_ = nullptr;
  TPopupMenu* systemMenu_ = nullptr;
  TPopupMenu* menuButtonPopupMenu_ = nullptr;
  TCustomImageList* menuButtonImageList_ = nullptr;
  TCustomImageList* quickImageList_ = nullptr;
  TCustomImageList* captionTabsImageList_ = nullptr;
  TqzTrayIcon* trayIcon_ = nullptr;
  // The main form is on its way back from the tray (until MSG_BACK_FROM_TRAY).
  bool backFromTray_ = false;
  TComponent* mainMenuBar_ = nullptr;
  TqzSkinMDITabsBar* mdiTabsBar_ = nullptr;
  TComponent* skinHint_ = nullptr;
  TComponent* statusBar_ = nullptr;

  bool supportNCArea_ = true;
  TqzQuickButtonItems quickButtons_{this};
  TqzCaptionTabs captionTabs_{this};
  TqzBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize, biRollUp};
  TWindowState requestedState_ = wsNormal;
  bool sizeable_ = true;
  int clientWidth_ = 0, clientHeight_ = 0;
  TFont defCaptionFont_, defInActiveCaptionFont_, defMenuItemFont_;
  TBitmap logoBitMap_;

  // state
  bool skinned_ = false;
  bool skinnable_ = true;
  TWindowState actualState_ = wsNormal;
  bool rolledUp_ = false, rolledUpWhileMaximized_ = false;
  TRect normalBounds_;
  int rollUpHeight_ = 0;
  std::vector<TComponentRef<TControl>> hiddenByRollUp_;
  TSize newSize_;
  TRect lastWindowPos_;
  TqzFrameRects rects_;
  TqzMaskStrips maskStrips_;
  TSize stripsSize_;  // the window size the mask strips were stretched to
  TqzMagneticState magnetic_;
  bool inSizeMove_ = false, sizingInLoop_ = false, fullDrag_ = false;
  bool moveBySysCommand_ = false, draggedAboveWorkArea_ = false;
  bool endedSizeMove_ = false;
  TPoint sizeMoveCursor_;
  bool clientDragging_ = false;
  TPoint clientDragLast_;
  bool firstShow_ = true, skinChanging_ = false;
  // A nudge's passing size: the frame is laid out only at the size it comes
  // back to (nothing is shown in between); `nudgeLayoutDue_` until then.
  bool nudgePassing_ = false, nudgeLayoutDue_ = false;
  bool sysMenuShown_ = false, keyMenuMode_ = false;
  bool mdiBusy_ = false;   // an MDI coordination message is being handled
  // The MDI form: its children are shown maximised (kept while the look
  // passes from a closing child to the next one).
  bool mdiChildrenMaximized_ = false;
  std::string mdiCaptionShown_;
  std::unique_ptr<TqzMDIScrollBars> mdiScroll_;
  struct TWindowItem {
    TComponentRef<TCustomForm> Child;
    TComponentRef<TMenuItem> Item;
  };
  std::vector<TWindowItem> windowItems_;
  // Items taken out of the menu; freed when no click of one is running.
  std::vector<TComponentRef<TMenuItem>> retiredItems_;
  TComponentRef<TMenuItem> windowMenuOfItems_;
  int windowItemClicks_ = 0;
  bool frameMenuShown_ = false;  // an object's items are open
  bool lastActive_ = false, hasLastActive_ = false;
  bool mouseEnteredClient_ = false;
  TRect savedOuterRect_;
  bool savedOuterEnlarged_ = false;
  // A skin changed while the window was minimised: the window system
  // restores the bounds from before, so the minimum is applied again then.
  bool clampWhenRestored_ = false;
  bool ncActive_ = false;
  int rollUpWidth_ = 0;
  TPoint moveOffset_;          // drag-away shift of the running move loop
  bool loopRanInDefault_ = false;
  // Fade-in on window timer 1: one step per tick.
  bool fadeStarted_ = false;
  int fadeAlpha_ = 0, fadeTarget_ = 255, fadeStep_ = 1;
  uint32_t fadeLastTick_ = 0;

  TqzSkinObjectList objects_;
  int activeObject_ = -1, oldActiveObject_ = -1, mouseCaptureObject_ = -1;
  std::vector<TAreaBinding> areaBindings_;

  std::unique_ptr<TTimer> mouseTimer_, morphTimer_, animateTimer_;
  // Polls the open menu: the host's popup window tells no one that it closed.
  std::unique_ptr<TTimer> menuWatchTimer_;
  int menuObject_ = -1;  // the object whose menu is open
  TComponentRef<TPopupMenuWindow> frameMenuWindow_;  // an object's items
  std::unique_ptr<TPopupMenu> sysMenu_, trayMenu_;
  std::unique_ptr<TqzSkinMenu> skinMenu_;
  // Opens items through the engine with the menu properties and skin.
  void PopupThroughEngine(TMenuItem& items, const TRect& anchor, TqzSkinData* skin = nullptr);
  std::unique_ptr<TqzFormLayerBorder> layerBorder_;
  std::unique_ptr<TqzLayerManager> glowLayer_, glowLayer2_;
};

}  // namespace qz
