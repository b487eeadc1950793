// The skinned page control and its tab sheets. Every pixel comes from a tab
// description of the skin (kind "tab"): the band behind the tabs, each tab
// in its state (normal, hot, active, active and focused), the frame around
// the pages and the page background of the sheets. Without a description
// the control draws a plain look in system colours.
//
// The control keeps the host page control's tab list (one computed list for
// painting and hit testing); the description only sizes the tabs and the
// page area. A row that does not fit gets a TqzSkinUpDown scroller, skinned
// from the up-down description the tab description names. Button-style tabs
// (Style buttons or flat buttons) have no page frame and take their faces
// from the ButtonTabSkinDataName button description.
//
// It links to the skin on its own (it is not one of the skin control bases)
// and follows the controller's skin-change walk as an IqzSkinChangeClient;
// painting looks the description up again as well, so a stale description
// is never drawn.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Font.h"
#include "host/ui/ComCtrls.h"
#include "skin/controls/ButtonLayoutNames.h"
#include "skin/controls/SkinChangeClient.h"
#include "skin/draw/ParentImage.h"
#include "skin/draw/QzText.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

class TqzSkinData;
class TqzDataSkinTabControl;
class TqzDataSkinButtonControl;
class TCustomImageList;

// Asked before a page is closed by its tab's close button.
using TqzCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
// Draws a tab's content instead of the control (caption rectangle in tab coordinates).
using TqzDrawSkinTabEvent =
    std::function<void(int TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas& Cnvs)>;

// What the control copies from its tab description at every lookup.
struct TqzTabLook {
  TqzSkinGeometry Page;  // SkinRect, points, ClientRect, page stretch flags
  TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect;
  int TabLeftOffset = 0, TabRightOffset = 0;
  TRect TabsBGRect;
  bool TabStretchEffect = false;
  std::string FontName = "Tahoma";
  int FontHeight = 13;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
  bool ShowFocus = false;
  int FocusOffsetX = 0, FocusOffsetY = 0;
  TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TRect TabLeftBottomActiveRect, TabLeftBottomFocusRect;
  std::string UpDown;            // the tab scroller's up-down description
  TBitmap* Picture = nullptr;    // the description's picture (not owned)
  TBitmap* BGPicture = nullptr;  // the page background picture (not owned)

  // Border thicknesses of the page frame (from ClientRect inside SkinRect).
  TRect Borders() const;
  // Copies `d` with the fall-backs: no active look -> normal, no focused -> active.
  static TqzTabLook From(const TqzDataSkinTabControl& d, const TqzSkinData& skin);
};

class TqzSkinPageControl;
class TqzSkinUpDown;

// Where one tab's picture and its close button are: painting draws by it and
// the mouse tests against it, so the button is hit where it shows. All
// rectangles are half-open (Right and Bottom lie outside).
struct TqzTabPlacement {
  // Where the tab's picture lands on the control; the active tab on the
  // bottom or right reaches towards the page by its extra height.
  TRect Item;
  // The picture as composed, in tab orientation (before the quarter turn of
  // tabs on the left or right).
  TSize Picture;
  // The close button on the picture when it is drawn: at the picture's
  // right end, centred across it (empty without close buttons). Tabs whose
  // caption stays horizontal are turned before it is drawn, so it lies on
  // the turned picture.
  TRect Close;
  // The same button where it shows on the control: turned with the tab, it
  // sits at the tab's far end in reading direction (the top end of a left
  // tab, the bottom end of a right tab).
  TRect CloseShown;
};

// Children that capture their parent's image get the sheet background
// through IqzBackgroundPainter.
class TqzSkinCustomTabSheet : public TTabSheet, public IqzBackgroundPainter {
  QZ_CLASS(TqzSkinCustomTabSheet, TTabSheet)
 public:
  explicit TqzSkinCustomTabSheet(TComponent* AOwner);

  TBitmap& WallPaper() { return wallPaper_; }
  const TBitmap& WallPaper() const { return wallPaper_; }
  void SetWallPaper(const TBitmap& value);
  // The wallpaper as streamed (empty when there is none).
  std::vector<uint8_t> WallPaperData() const;
  void SetWallPaperData(const std::vector<uint8_t>& data);

  // The sheet background: wallpaper, the description's background picture
  // or page piece, or the button face.
  void PaintBackground(TCanvas& canvas) override;

  // The close button of the tab (control coordinates) and its marks.
  TRect CloseButtonRect;
  bool CloseButtonDown = false;
  bool CloseButtonHot = false;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Paint() override;
  void WMEraseBkgnd(TMessage& m) override { m.Result = 1; }  // Paint covers everything

 private:
  TqzSkinPageControl* SkinPageControl() const;
  TBitmap wallPaper_;
};

class TqzSkinTabSheet : public TqzSkinCustomTabSheet {
  QZ_CLASS(TqzSkinTabSheet, TqzSkinCustomTabSheet)
 public:
  using TqzSkinCustomTabSheet::TqzSkinCustomTabSheet;
};

class TqzSkinPageControl : public TPageControl, public IqzSkinChangeClient {
  QZ_CLASS(TqzSkinPageControl, TPageControl)
 public:
  explicit TqzSkinPageControl(TComponent* AOwner);
  ~TqzSkinPageControl() override;

  // ---- published
  const std::string& ButtonTabSkinDataName() const { return buttonTabSkinDataName_; }
  void SetButtonTabSkinDataName(const std::string& v);
  bool MouseWheelSupport() const { return mouseWheelSupport_; }
  void SetMouseWheelSupport(bool v) { mouseWheelSupport_ = v; }
  int TabsOffset() const { return tabsOffset_; }
  void SetTabsOffset(int v);
  bool TabExtededDraw() const { return tabExtededDraw_; }
  void SetTabExtededDraw(bool v);
  int TabMargin() const { return tabMargin_; }
  void SetTabMargin(int v);
  int TabSpacing() const { return tabSpacing_; }
  void SetTabSpacing(int v);
  TqzButtonLayout TabLayout() const { return tabLayout_; }
  void SetTabLayout(TqzButtonLayout v);
  bool TextInHorizontal() const { return textInHorizontal_; }
  void SetTextInHorizontal(bool v);
  bool TabsInCenter() const { return tabsInCenter_; }
  void SetTabsInCenter(bool v);
  bool FreeOnClose() const { return freeOnClose_; }
  void SetFreeOnClose(bool v) { freeOnClose_ = v; }
  bool ShowCloseButtons() const { return showCloseButtons_; }
  void SetShowCloseButtons(bool v);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  bool TabsBGTransparent() const { return tabsBGTransparent_; }
  void SetTabsBGTransparent(bool v);
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  void SetDefaultFont(const TFont& v) { defaultFont_->Assign(v); }
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool v);
  int DefaultItemHeight() const { return defaultItemHeight_; }
  void SetDefaultItemHeight(int v);
  TqzSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TqzSkinData* v);
  const std::string& SkinDataName() const { return skinDataName_; }
  void SetSkinDataName(const std::string& v);

  TqzCloseEvent OnClose;
  TNotifyEvent OnAfterClose;
  TqzDrawSkinTabEvent OnDrawSkinTab;

  // ---- skin
  // The description looked up now (null: plain look). Painting looks it up
  // again every time, so pictures of a replaced skin are never used.
  const TqzDataSkinTabControl* Description() const;
  // The copy of the description the control paints from (empty: plain look).
  const std::optional<TqzTabLook>& Look() const { return look_; }
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override;

  // ---- tabs
  // Hides the tab row for good: the active page covers the whole control.
  void HideTabs();
  bool TabsHidden() const { return tabsHidden_; }
  // The scroller at the end of a row that does not fit (null until one was
  // needed; hidden while the row fits).
  TqzSkinUpDown* TabScroller() const { return upDown_; }
  // The visible tab under the mouse (-1 none).
  int HotTab() const { return hotTab_; }
  // The active tab's item rectangle extended towards the page by the extra
  // height of the active look (empty without an active tab).
  TRect ActiveTabJoinedRect() const;
  TRect DisplayRect() const override;
  // The frame around the pages (display rectangle grown by the borders).
  TRect PageFrameRect() const;

  // ---- drawing pieces (public for the sheets and for checks)
  // One tab's picture at its size, with caption, in tab orientation.
  void DrawTabImage(TBitmap& out, int tabIndex, bool active, bool mouseIn);
  // Where tab `tabIndex` is drawn in the given state (empty for no tab).
  TqzTabPlacement TabPlacement(int tabIndex, bool active, bool mouseIn) const;
  // The same for the tab's present state (selected, under the mouse).
  TqzTabPlacement TabPlacement(int tabIndex) const;
  // The page background over `rect` of a canvas.
  void PaintPageBackground(TCanvas& canvas, const TRect& rect);

 protected:
  int TabItemHeight() const override;
  int TabItemWidth(const TTabSheet& page) const override;
  int TabRowStart(int rowLength) const override;
  TSize TabScrollerSize() const override;
  bool TabRowShown() const override { return !tabsHidden_; }
  void UpdateTabScroller() override;
  void Change() override;
  void Paint() override;
  void MouseMove(TShiftState s, int x, int y) override;
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
  void CMMouseLeave(TMessage& m) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& m) override;
  void Loaded() override;

 private:
  void RefreshLook();
  void ApplyFont();
  void PaintPlain(TCanvas& c);
  void PaintSkinned(TCanvas& c);
  void PaintFrame(TCanvas& c);
  void PaintBand(TCanvas& c);
  void PaintTabContent(TCanvas& c, int tabIndex, const TRect& area, bool active, bool mouseIn);
  void PaintCloseButton(TCanvas& c, const TTabSheet& page, const TRect& r, bool active);
  // The picture of the tab-description close button in its state (empty
  // when the description has none).
  TRect ClosePiece(const TTabSheet& page, bool active) const;
  TSize CloseButtonSize(const TTabSheet& page, bool active) const;
  // The state a tab is drawn in: a disabled tab does not light up.
  bool TabLightsUp(int tabIndex, bool mouseIn) const;
  // The close button from the ButtonTabSkinDataName button description; false without one.
  bool PaintButtonCloseButton(TCanvas& c, const TRect& r, bool hot, bool down);
  TRect StateRect(bool active, bool mouseIn) const;
  // The button description of button-style tabs and close buttons (null
  // without one that has a look and a picture).
  const TqzDataSkinButtonControl* ButtonTabDescription() const;
  // A button-style tab's face at w x h; returns its caption colour.
  TColor DrawButtonTab(TBitmap& out, int w, int h, bool active, bool mouseIn);
  TColor CaptionColor(bool active, bool mouseIn) const;
  void SetHotTab(int tab);
  void TrackCloseButton(int x, int y);
  void InvalidateTab(int tab);
  void CloseActivePage();
  bool WheelPage(int delta);

  TqzSkinData* skinData_ = nullptr;
  std::string skinDataName_ = "tab";
  std::string buttonTabSkinDataName_ = "resizetoolbutton";
  bool mouseWheelSupport_ = false;
  int tabsOffset_ = 0;
  bool tabExtededDraw_ = false;
  int tabMargin_ = -1;
  int tabSpacing_ = 1;
  TqzButtonLayout tabLayout_ = blGlyphLeft;
  bool textInHorizontal_ = false;
  bool tabsInCenter_ = false;
  bool freeOnClose_ = false;
  bool showCloseButtons_ = false;
  TCustomImageList* images_ = nullptr;
  bool tabsBGTransparent_ = false;
  std::unique_ptr<TFont> defaultFont_;
  bool useSkinFont_ = true;
  int defaultItemHeight_ = 20;

  std::optional<TqzTabLook> look_;
  bool tabsHidden_ = false;
  TqzSkinUpDown* upDown_ = nullptr;  // owned as a component of this control
  int hotTab_ = -1;
  int oldHotTab_ = -1;
};

}  // namespace qz
