// The tray icon: a non-visual component that puts an icon into the
// desktop's notification area through the platform's tray service, animates
// it, reports the mouse on it, opens a popup menu from it, and hides the
// application into the tray and brings it back.
//
// Clicks: a left press starts the double-click timer (the platform's
// double-click time); a release after the timer ran out is OnClick at once,
// one before it leaves the click pending until the timer runs out, and a
// double click in between (OnDblClick) cancels it. A tray host that reports
// its own activation (StatusNotifierItem) gives OnClick and then what a
// double click does.
//
// Tooltip: a tray that shows none itself (XEmbed, the headless panel) gets
// the hint as a skinned hint window near the icon, after the host's hint
// pause with the pointer resting on the icon; it goes when the pointer
// leaves, on a press, or after the host's hide pause.
//
// Never into a tray that is not there: HideApplicationToTray hides the
// forms only when the icon is really shown in a tray (and answers false
// otherwise); when the tray goes away while the forms are hidden, they come
// back.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/components/Properties.h"
#include "host/graphics/Bitmap.h"
#include "host/platform/Tray.h"
#include "host/ui/Forms.h"
#include "host/ui/ImgList.h"
#include "host/ui/Timer.h"
#include "skin/popups/SkinMenu.h"

namespace qz {

using TCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;

// The longest tooltip, in characters; a longer hint is cut.
inline constexpr size_t kTrayTipLength = 127;
// Cuts UTF-8 text after `count` characters (never inside a character).
std::string CutToCharacters(const std::string& text, size_t count);

class TqzSkinData;
class TqzSkinHintWindow;

// The gap between a tray icon and its tooltip.
inline constexpr int kTrayTipGap = 4;
// Where a tooltip of `size` goes for an icon at `icon` (screen): centred on
// the icon, above it when the icon lies in the lower half of the screen (a
// panel at the bottom), else below it, and kept on `screen`.
TPoint TrayToolTipPlace(const TRect& icon, TSize size, const TRect& screen);

class TqzTrayIcon : public TComponent {
  QZ_CLASS(TqzTrayIcon, TComponent)
  QZ_PUBLISHED_ACCESS(TqzTrayIcon);

 public:
  explicit TqzTrayIcon(TComponent* AOwner);
  ~TqzTrayIcon() override;
  void BeforeDestruction() override;

  // ---- published properties ----
  bool DesignPreview = false;
  TCustomImageList* IconList() const { return iconList_; }
  void SetIconList(TCustomImageList* v);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool v);
  unsigned AnimateTimerInterval() const { return animateInterval_; }
  void SetAnimateTimerInterval(unsigned v);
  bool Enabled = true;
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  TBitmap& Icon() { return icon_; }
  std::vector<uint8_t> IconData() const;
  void SetIconData(const std::vector<uint8_t>& data);
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool v);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int v);
  TqzSkinPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TqzSkinPopupMenu* v) { SetReference(popupMenu_, v); }
  bool PopupByLeftButton = false;
  bool MinimizedOnStart = false;
  bool MinimizeToTray = false;

  // ---- published events ----
  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintClick;

  // ---- operations ----
  // The icon is shown in a tray right now.
  bool Embedded() const;
  // The application is hidden in the tray.
  bool InTray() const { return inTray_; }
  // Shows the icon and, when it is really in a tray, hides every visible
  // form; false (nothing hidden) when there is no tray to go to.
  bool HideApplicationToTray();
  // The forms come back (the main form made normal when it was minimised)
  // and MSG_BACK_FROM_TRAY is posted to the main form.
  void RestoreApplication();
  // Opens the popup menu at a screen point (the cursor when none).
  void PopupAt(TPoint screen);
  // The tooltip handed to the tray: the hint cut to kTrayTipLength when
  // ShowHint, else empty.
  std::string ToolTip() const;
  // What the tray shows: the list's image at IconIndex, else Icon, else the
  // built-in picture.
  TPixmap ShownPicture() const;
  // The platform's icon (null before it is first made or on a platform
  // without a tray service).
  IPlatformTrayIcon* PlatformIcon() const { return platformIcon_.get(); }
  // The tooltip this component shows itself (null before the first one).
  TqzSkinHintWindow* ToolTipWindow() const;
  bool ToolTipShown() const;

  // Set by a form skinning controller that uses this icon: the menu it
  // opens when no PopupMenu is set, and what a double click does when
  // OnDblClick is not set; also told when the tray went away with the
  // application in it (it restores). Cleared by Unlink.
  struct TControllerLink {
    std::function<void(TPoint)> menu;
    std::function<void()> restore;
    std::function<TqzSkinData*()> skin;  // the tooltip's skin
  };
  void Link(TControllerLink link) { link_ = std::move(link); }
  void Unlink() { link_ = {}; }

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  struct TMinimizeHook;
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  IPlatformTrayIcon* EnsurePlatformIcon();
  void UpdateIcon();
  void HandleTrayInput(const TTrayInput& input);
  void LeftDown(TShiftState shift, TPoint at);
  void LeftUp(TShiftState shift, TPoint at);
  void DoubleClick();
  void PrimaryAction();
  void DoubleClickTimerFired();
  void AnimateTick();
  void HostChanged();
  void ClickDefaultItem();
  void PopupMenuAt(TPoint at);
  int ImageCount() const;
  bool DrawsToolTip() const;
  void Hovered(TPoint at);
  void ToolTipTimerFired();
  void ShowToolTip();
  void HideToolTip();
  void RefreshToolTip();

  TCustomImageList* iconList_ = nullptr;
  bool cycleIcons_ = false;
  unsigned animateInterval_ = 0;
  std::string hint_;
  bool showHint_ = true;
  TBitmap icon_;
  bool iconVisible_ = true;
  int iconIndex_ = 0;
  TqzSkinPopupMenu* popupMenu_ = nullptr;

  std::unique_ptr<IPlatformTrayIcon> platformIcon_;
  std::unique_ptr<TTimer> animateTimer_, dblClickTimer_, tipTimer_;
  TComponentRef<TqzSkinHintWindow> tipWindow_;
  bool hovering_ = false;  // the pointer rests on the icon (tooltip pending or shown)
  TPoint hoverPos_;
  bool leftDown_ = false, clickPending_ = false, dblClickSeen_ = false;
  bool inTray_ = false;
  std::vector<TComponentRef<TCustomForm>> hiddenForms_;
  TControllerLink link_;
};

}  // namespace qz
