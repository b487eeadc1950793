// The control hierarchy of the host framework:
//   TControl        - a visual component with bounds inside a parent
//   TGraphicControl - a window-less control painted by its parent (TLabel)
//   TWinControl     - a windowed control: a window node of the window system
//                     (host/ui/WindowNode.h) with a handle (HWND = this), a
//                     non-client area, children, focus, a replaceable
//                     window procedure
//   TCustomControl  - a windowed control with a canvas and a Paint method
//
// Messages. Every message of a control goes through `WindowProc`, a
// std::function that initially calls the virtual `WndProc`. A component
// that wants to see a control's messages saves the old WindowProc and
// installs its own:
//     old_ = form->WindowProc;
//     form->WindowProc = [this](TMessage& m) { NewWndProc(m); };   // calls old_(m)
// and puts `old_` back when done. WndProc does the framework's
// pre-processing (mouse messages for graphic children, ...) and calls
// `Dispatch`, which routes to the virtual per-message handlers (WMPaint,
// WMNCHitTest, ...); messages nobody handles go to `DefaultHandler`, which
// for windowed controls is DefWindowProc (the platform's default).
//
// Bounds. Left/Top are relative to the parent's client area (screen
// coordinates for a control without parent). SetBounds is virtual; every
// change of position or size goes through it (alignment and anchors too).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Messages.h"
#include "host/base/Set.h"
#include "host/base/Types.h"
#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/components/Properties.h"
#include "host/graphics/Canvas.h"
#include "host/graphics/Region.h"
#include "host/ui/ActnList.h"
#include "host/ui/WindowNode.h"
#include "host/ui/Windows.h"

namespace qz {

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TDragObject;
struct TWindowData;

// Asked before a control's popup menu shows: MousePos in client coordinates,
// (-1, -1) when the keyboard asked; setting Handled shows no menu.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
// The screen point of a WM_CONTEXTMENU that the keyboard asked for.
inline constexpr TPoint kContextMenuFromKeyboard{-1, -1};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;
enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using enum TAnchorKind;
using TAnchors = TSet<TAnchorKind>;
QZ_ENUM(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom");
QZ_ENUM(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom");

// Mouse cursors: the framework's numbers. Screen->Cursors(c) gives the handle.
using TCursor = int;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
  crHandPoint = -21, crSizeAll = -22,
};
// The platform cursor of a framework cursor number (arrow for unknown ones).
HCURSOR CursorHandle(TCursor cursor);

// Drag and drop between controls (the engine: DragDrop.h). A control starts
// dragging on a left press (automatic) or from code (BeginDrag); dkDock is
// kept for form resources but docking is not supported.
enum class TDragMode { dmManual, dmAutomatic };
using enum TDragMode;
QZ_ENUM(TDragMode, "dmManual", "dmAutomatic");
enum class TDragKind { dkDrag, dkDock };
using enum TDragKind;
QZ_ENUM(TDragKind, "dkDrag", "dkDock");
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;
// Source: the dragged control (the drag object's control, or the drag
// object itself when it carries none). X, Y: the receiver's client
// coordinates. Target of OnEndDrag: null when the drag was cancelled or
// ended where nothing accepted it.
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

enum class TControlStyleFlag {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
  csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
  csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient,
  csMenuEvents, csNeedsBorderPaint, csParentBackground,
};
using enum TControlStyleFlag;
using TControlStyle = TSet<TControlStyleFlag>;

enum class TControlStateFlag {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
  csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking,
};
using enum TControlStateFlag;
using TControlState = TSet<TControlStateFlag>;

// What CreateParams fills in before a window is created.
struct TCreateParams {
  std::string Caption;
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  uint32_t WindowClassStyle = 0;   // CS_DBLCLKS ...
  std::string WinClassName;
};

class TControl : public TComponent {
  QZ_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // ---- tree
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);
  void SetParentComponent(TComponent* value) override;
  TComponent* GetParentComponent() const;
  bool HasParent() const { return parent_ != nullptr; }

  // ---- bounds (parent client coordinates)
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value);

  // ---- client area
  virtual TRect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int v);
  virtual void SetClientHeight(int v);
  void SetClientSize(int w, int h);
  // Screen position of the client area's top-left.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // Parent client coordinates <-> own client coordinates.
  TPoint ClientToParent(TPoint p, TWinControl* AParent = nullptr) const;
  TPoint ParentToClient(TPoint p, TWinControl* AParent = nullptr) const;

  // ---- state
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent too (and, for the top, its window is shown).
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle s) { controlStyle_ = s; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState s) { controlState_ = s; }

  // ---- appearance
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& v) { SetText(v); }
  const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont& Font() { return *font_; }
  const TFont& Font() const { return *font_; }
  void SetFont(const TFont& f) { font_->Assign(f); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);

  // ---- messages
  std::function<void(TMessage&)> WindowProc;
  LRESULT Perform(uint32_t msg, WPARAM w = 0, LPARAM l = 0);
  virtual void WndProc(TMessage& message);
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  // ---- painting
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // ---- z-order among the parent's controls
  void BringToFront();
  void SendToBack();

  // ---- mouse
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // ---- drag and drop (DragDrop.h has the rules)
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode v) { dragMode_ = v; }
  TDragKind DragKind() const { return dragKind_; }
  void SetDragKind(TDragKind v) { dragKind_ = v; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor v) { dragCursor_ = v; }
  // Starts a drag of this control: at once, or once the pointer has moved
  // more than Threshold pixels (5 when negative) with the left button down.
  void BeginDrag(bool Immediate, int Threshold = -1);
  // Ends this control's drag: dropped where the pointer is, or cancelled.
  void EndDrag(bool Drop);
  // Whether this control's drag is waiting for the threshold or running.
  bool Dragging() const;
  // Cancels whatever drag is waiting or running.
  static void CancelDrag();
  // Called by the drag engine; the defaults fire the events. DragOver sets
  // Accept to whether OnDragOver is assigned before calling it.
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual void DoEndDrag(TObject* Target, int X, int Y);

  // ---- events
  TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

  // The form that contains the control (null when none).
  TCustomForm* ParentForm() const;
  // The top-most windowed control of the chain (the top-level window).
  TWinControl* TopWindow() const;

  virtual void Click();
  virtual void DblClick();

  // ---- popup menu and action
  // The menu a right click or the context-menu key (Shift+F10) shows; a
  // control without one passes the request to its parent, up to the form.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);
  TContextPopupEvent OnContextPopup;
  // A linked action lends the control its caption, enabled and visible
  // state and hint, and runs when the control is clicked without an
  // OnClick handler of its own.
  TBasicAction* Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }
  void SetAction(TBasicAction* value);

 protected:
  // The linked action changed (or was just linked): the control takes its
  // properties. Controls with more of them (checked, image) extend it.
  virtual void ActionChange(TBasicAction& action);
  // WM_CONTEXTMENU: LParam holds the screen point, kContextMenuFromKeyboard
  // for the keyboard.
  virtual void WMContextMenu(TMessage& m);
  // Asks this control for its context menu at a screen point.
  void ContextMenuAt(TPoint screen);


  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void Resize();
  virtual void Changed() {}
  // Called when the control's visible appearance changed in a way its parent
  // must know (font/colour inheritance).
  virtual void FontChanged();
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Invalidates the control's area in its parent (graphic) or the window.
  void InvalidateControl(bool isVisible, bool isOpaque);
  // Records the distances the anchors keep to the parent's edges.
  void UpdateAnchorRules();
  friend class TWinControl;

  // Framework message handlers; overriding one replaces the default action.
  virtual void WMMouse(TMessage& m);          // all client mouse messages
  virtual void CMMouseEnter(TMessage& m);
  virtual void CMMouseLeave(TMessage& m);
  virtual void CMEnabledChanged(TMessage& m);
  virtual void CMVisibleChanged(TMessage& m);
  virtual void CMTextChanged(TMessage& m);
  virtual void CMColorChanged(TMessage& m);
  virtual void CMFontChanged(TMessage& m);
  virtual void CMHitTest(TMessage& m) { m.Result = HTCLIENT; }

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  // Anchor rules: distances to the parent's right and bottom client edges.
  int anchorRight_ = 0, anchorBottom_ = 0;
  TSize anchorParentSize_{-1, -1};
  bool visible_ = true;
  bool enabled_ = true;
  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;
  std::string text_;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  TCursor cursor_ = crDefault;
  TDragMode dragMode_ = dmManual;
  TDragKind dragKind_ = dkDrag;
  TCursor dragCursor_ = crDrag;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  std::unique_ptr<TActionLink> actionLink_;
};

// A window-less control; its parent paints it (in child order, above the
// parent's own painting and below windowed children) and passes it its mouse
// messages.
class TGraphicControl : public TControl {
  QZ_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  // Valid while painting (the paint context); otherwise a context on the
  // parent's window clipped to the control.
  TCanvas& Canvas();

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& message) override;
  virtual void WMPaint(TMessage& m);   // wParam = HDC set up by the parent

  std::unique_ptr<TCanvas> canvas_;
  HDC ownDC_ = nullptr;   // from GetDC outside painting
  bool painting_ = false;
};

class TWinControl : public TControl, public TWindowNode {
  QZ_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // ---- handle
  HWND Handle();                       // creates it when needed
  bool HandleAllocated() const { return wnd_ != nullptr; }
  void HandleNeeded();
  void RecreateWnd();
  // WindowData() (the window node's): null until the handle exists.
  // Internal to the window system.

  // ---- children (windowed and graphic, in z-order: last is on top)
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int i) const { return controls_[i]; }
  // Windowed children only, in z-order.
  std::vector<TWinControl*> WinControls() const;
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  bool ContainsControl(const TControl* c) const;
  // Whether the window is this one or inside it (false for a dead handle).
  bool ContainsControl(HWND window) const;
  // The child at a client point (graphic ones too unless allowWinControls is false).
  TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = true) const;

  // ---- alignment
  void DisableAlign();
  void EnableAlign();
  void Realign();
  virtual void AlignControls(TControl* AControl, TRect& Rect);

  // ---- focus
  int TabOrder() const;
  void SetTabOrder(int v);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  virtual bool CanFocus() const;
  virtual void SetFocus();
  bool Focused() const;
  // Tab order list of focusable descendants (depth first in tab order).
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  TWinControl* FindNextControl(TWinControl* cur, bool goForward, bool checkTabStop,
                               bool checkParent) const;
  void SelectNext(TWinControl* cur, bool goForward, bool checkTabStop);

  // ---- geometry (window)
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetVisible(bool value) override;
  void SetEnabled(bool value) override;
  void SetText(const std::string& v) override;
  bool Showing() const override;
  // Extra style bits a user adds before the handle exists.
  TBrush& Brush() { return *brush_; }

  // ---- painting
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the control and its children into dc at (x, y).
  void PaintTo(HDC dc, int x, int y);
  // Paints the visible graphic children over dc (parent client coordinates);
  // stops at `first` when given (it is not painted).
  void PaintControls(HDC dc, TControl* first);

  // ---- keyboard events
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter, OnExit;

  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void WndProc(TMessage& message) override;

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateHandle();
  virtual void DestroyHandle();
  virtual void CreateWnd();
  virtual void DestroyWnd();
  virtual void PaintWindow(HDC dc);
  void PaintHandler(TMessage& m);
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char32_t& key);
  bool DoKeyDown(TMessage& m);
  bool DoKeyUp(TMessage& m);
  bool DoKeyPress(TMessage& m);
  void Loaded() override;
  void FontChanged() override;
  // Graphic child under the mouse or captured; forwards the message. True when taken.
  bool IsControlMouseMsg(TMessage& m);

  virtual void WMPaint(TMessage& m);
  virtual void WMEraseBkgnd(TMessage& m);
  virtual void WMSize(TMessage& m);
  virtual void WMMove(TMessage& m) {}
  virtual void WMSetFocus(TMessage& m);
  virtual void WMKillFocus(TMessage& m);
  virtual void WMSetCursor(TMessage& m);
  virtual void WMKeyDown(TMessage& m);
  virtual void WMKeyUp(TMessage& m);
  virtual void WMChar(TMessage& m);
  virtual void WMNCHitTest(TMessage& m);
  virtual void CMEnter(TMessage& m);
  virtual void CMExit(TMessage& m);
  virtual void CMDialogKey(TMessage& m);
  virtual void CMDialogChar(TMessage& m);
  void CMColorChanged(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMVisibleChanged(TMessage& m) override;

  // ---- the window node (what the window system reads and writes)
  TWindowNode* WindowParent() const override;
  std::vector<TWindowNode*> WindowChildren() const override;
  void RestackChild(TWindowNode* child, HWND after) override;
  TRect WindowBounds() const override { return BoundsRect(); }
  bool WindowShowing() const override { return Showing(); }
  std::string WindowText() const override { return Text(); }
  const TFont& WindowFont() const override { return Font(); }
  void StoreWindowBounds(const TRect& bounds) override;
  void StoreWindowVisible(bool visible) override { visible_ = visible; }
  void StoreWindowEnabled(bool enabled) override { enabled_ = enabled; }
  LRESULT WindowMessage(uint32_t msg, WPARAM w, LPARAM l) override { return Perform(msg, w, l); }

  friend class TControl;
  friend class TCustomForm;

  std::vector<TControl*> controls_;   // z-order, last on top
  std::vector<TWinControl*> tabList_; // tab order
  bool tabStop_ = false;
  int alignLevel_ = 0;
  bool alignPending_ = false;
  bool aligning_ = false;
  std::unique_ptr<TBrush> brush_;
};

// A windowed control that paints itself through Paint on its Canvas.
class TCustomControl : public TWinControl {
  QZ_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  // The paint context while painting; otherwise a client context of the window.
  TCanvas& Canvas();

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;
  void DestroyWnd() override;

  std::unique_ptr<TCanvas> canvas_;
  HDC ownDC_ = nullptr;
  bool painting_ = false;
};

// Points the canvas at the context's target with the context's origins and
// clip (device clip = the context's whole clip), and the given font/brush.
void BindCanvasToDC(TCanvas& canvas, HDC dc);

// Shift state from key-state bits (MK_* of mouse messages) and the keyboard.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardStateToShiftState();
// The form that holds the control (null when none).
TCustomForm* GetParentForm(const TControl* control);

// The control of a live handle; null for null, dead or special handles and
// for windows that are not controls.
TWinControl* WindowControl(HWND hwnd);
// The top-level windows that are controls, bottom to top.
std::vector<TWinControl*> TopLevelControls();

}  // namespace qz
