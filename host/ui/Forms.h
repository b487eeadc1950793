// Forms: top-level windows (windowed controls without a parent) with a
// border style, border icons, window state, modal loops and closing.
//
// A form class made from a form resource registers its event handlers and
// field bindings in its constructor and then calls InitFromResource():
//   TForm1::TForm1(TComponent* owner) : TForm(owner) {
//     RegisterHandler("Button1Click", TNotifyEvent([this](TObject* s) { Button1Click(s); }));
//     BindField("Button1", Button1);
//     InitFromResource();   // reads "form:..." whose root class is TForm1, fires OnCreate
//   }
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ui/Controls.h"
#include "host/ui/MDI.h"

namespace qz {

class TMainMenu;
class TMenuItem;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
// Not imported into the namespace: skin components have border icon sets of their own.
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum class TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter,
};
using enum TPosition;
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
using enum TFormStyle;
enum class TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateFlag>;

using TModalResult = int;
enum : TModalResult {
  mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
  mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10,
};

// The form's short-cut hook: the key message and whether it was handled.
QZ_ENUM(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin");
QZ_ENUM(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp");
QZ_ENUM(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
        "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter");
QZ_ENUM(TWindowState, "wsNormal", "wsMinimized", "wsMaximized");
QZ_ENUM(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop");

using TShortCutEvent = std::function<void(TMessage& Msg, bool& Handled)>;

class TCustomForm : public TCustomControl {
  QZ_CLASS(TCustomForm, TCustomControl)
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  // Fires OnDestroy while the whole form (a subclass's members, the
  // controls) still exists.
  void BeforeDestruction() override;

  // Reads the form resource of this class and fires OnCreate.
  void InitFromResource();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState v);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v);
  TFormState FormState() const { return formState_; }

  // ---- MDI (an fsMDIForm form and its fsMDIChild children)
  // The client window of an MDI form (null for other forms).
  TMDIClient* MDIClient() const { return mdiClient_; }
  // The client an MDI child lives in (null for other forms).
  TMDIClient* MDIParentClient() const;
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  // In activation order: 0 is the active child.
  TCustomForm* MDIChildren(int i) const;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();
  TTileMode TileMode() const { return tileMode_; }
  void SetTileMode(TTileMode v) { tileMode_ = v; }
  // The form's main menu; an active MDI child's menu merges into its MDI
  // form's menu (MergedMenuItems).
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* v);
  // The item of the main menu under which an MDI form lists its children.
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* v);
  // An MDI child became the active child of its client, or stopped being it.
  void MDIActivated(bool active);

  // Client size kept through frame changes.
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;

  void SetVisible(bool value) override;
  void Show();
  void Hide() { SetVisible(false); }
  int ShowModal();
  void Close();
  // Destroys the form once the current message is done.
  void Release();
  bool CloseQuery();

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  bool Active() const { return active_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* c);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v) { autoScroll_ = v; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool v);
  uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(uint8_t v);

  // Focus bookkeeping (called by the controls).
  void FocusControl(TWinControl* c);
  bool SetFocusedControl(TWinControl* c);
  void ControlRemoved(TControl* c);
  // Short cuts: OnShortCut first. True when handled.
  virtual bool IsShortCut(TMessage& keyMsg);

  TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

  void Dispatch(TMessage& message) override;
  void WndProc(TMessage& message) override;

 protected:
  friend class TMDIClient;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  void Loaded() override;
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();
  void WMSetFocus(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;
  void WMEraseBkgnd(TMessage& m) override;
  void WMSize(TMessage& m) override;

  // Places the form by Position when first shown.
  void ApplyPosition();
  void FireOnDestroy();
  void RecreateKeepingClient();
  void CreateMDIClient();
  // Moves the form into the client of the application's MDI form and shows it.
  void BecomeMDIChild();
  static TCustomForm* FindMDIForm();
  void SetMDIChildVisible(bool value);

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize, TBorderIcon::biMaximize};
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TFormStyle formStyle_ = fsNormal;
  TFormState formState_;
  TModalResult modalResult_ = mrNone;
  bool active_ = false;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  bool keyPreview_ = false;
  bool autoScroll_ = false;
  bool scaled_ = true;
  bool alphaBlend_ = false;
  uint8_t alphaBlendValue_ = 255;
  bool positioned_ = false;
  bool releasing_ = false;
  bool destroyFired_ = false;   // OnDestroy ran (once, the earliest possible)
  TMDIClient* mdiClient_ = nullptr;   // a child control: the form's window owns it
  TRect mdiNormalBounds_;             // an MDI child's bounds before maximise/minimise
  TTileMode tileMode_ = tbHorizontal;
  TMainMenu* menu_ = nullptr;
  TMenuItem* windowMenu_ = nullptr;
  // Streamed by form designers; kept so that such resources read and write back.
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  bool oldCreateOrder_ = false;
  QZ_PUBLISHED_ACCESS(TCustomForm);
};

class TForm : public TCustomForm {
  QZ_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

}  // namespace qz
