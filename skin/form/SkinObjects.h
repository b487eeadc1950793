// Active skin objects: the live elements on a skinned frame (caption,
// caption buttons, animated buttons, labels, gauges, track bars, switches,
// regulators, user objects). Each is made from one object description of
// the skin, placed by the frame transform, fed mouse input by the
// controller and painted from the skin's pictures.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/base/Color.h"

#include "host/base/Types.h"
#include "skin/data/SkinObjectData.h"
#include "skin/form/FrameGeometry.h"
#include "skin/form/ObjectHost.h"

namespace qz {

class TCanvas;
class TPixmap;
class TMenu;
class TMenuItem;
class TBitmap;
class TGraphic;
class TCustomImageList;
struct TqzCaptionExtras;
struct TqzCaptionPaintInput;

class TqzActiveSkinObject {
 public:
  TqzActiveSkinObject(TqzObjectHost& host, const TqzDataSkinObject& data);
  virtual ~TqzActiveSkinObject();
  TqzActiveSkinObject(const TqzActiveSkinObject&) = delete;
  TqzActiveSkinObject& operator=(const TqzActiveSkinObject&) = delete;

  TqzObjectHost& Host() const { return host_; }
  const TqzDataSkinObject& Data() const { return data_; }
  const std::string& IDName() const { return idName_; }
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
  // A menu the object opened (its own, or the system menu) has closed; the
  // object leaves its pressed look.
  virtual void MenuClosed() {}

 protected:
  // Which rectangles make up the object's looks (the restore looks of a
  // standard button in its alternate state replace the usual ones).
  struct TLooks {
    TRect Normal, Active, Inactive;
  };
  TqzSkinData* Skin() const { return host_.HostSkinData(); }
  // The picture of "activepictureindex"; null without skin or for a bad index.
  TBitmap* ActivePicture() const;
  // The main picture, or the roll-up picture for a roll-up object.
  TBitmap* FramePicture() const;
  // Where the normal look is cut from: the active picture with
  // skinrectinapicture, else the frame picture.
  TBitmap* NormalPicture() const;
  TBitmap* MaskPicture() const;
  // A look of the active picture counts only when that picture exists.
  TRect ActiveLook(const TRect& r) const;
  TLooks BaseLooks() const;
  // Kf lies strictly between the two looks and still moves.
  bool MorphInProgress() const;
  // The base drawing rules applied to a set of looks.
  void DrawLooks(TCanvas& canvas, bool compose, const TLooks& looks);
  // Copies `src` of `picture` to the object's top-left (nothing for a null
  // picture or an empty piece).
  void DrawPiece(TCanvas& canvas, const TBitmap* picture, const TRect& src) const;
  void DrawMorph(TCanvas& canvas, const TBitmap& from, const TRect& fromRect, const TBitmap& to,
                 const TRect& toRect) const;
  // Mouse enter and leave; the host's event is raised last of all.
  void RunEnter(bool changeLook, bool showLayer = false);
  void RunLeave(bool changeLook, bool hideLayer = false);

  // An event handler the object raises may free the form, and every object
  // with it. Code that goes on after raising one holds this and asks it.
  class TLiveness {
   public:
    explicit TLiveness(std::shared_ptr<const bool> alive) : alive_(std::move(alive)) {}
    explicit operator bool() const { return *alive_; }

   private:
    std::shared_ptr<const bool> alive_;
  };
  TLiveness Liveness() const { return TLiveness(alive_); }

  TqzObjectHost& host_;
  const TqzDataSkinObject& data_;
  std::string idName_;

 private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// ---------------------------------------------------------------------------
// The family.

// Paints nothing itself: the application paints it through the paint event.
class TqzUserObject : public TqzActiveSkinObject {
 public:
  using TqzActiveSkinObject::TqzActiveSkinObject;
  void Draw(TCanvas& canvas, bool compose) override;
};

class TqzSkinButtonObject;
// The button objects of one object list; a button pressed in a group
// releases the others of its group.
using TqzButtonGroup = std::vector<TqzSkinButtonObject*>;

// A push button, or a button of a group that stays down, with an optional
// menu popping up below it.
class TqzSkinButtonObject : public TqzActiveSkinObject {
 public:
  TqzSkinButtonObject(TqzObjectHost& host, const TqzDataSkinButton& data);
  ~TqzSkinButtonObject() override;

  bool Down() const { return down_; }
  void SetDown(bool value);
  // The item whose children pop up below the button on a press (not owned).
  TMenuItem* Menu = nullptr;
  void JoinGroup(std::shared_ptr<TqzButtonGroup> group);

  void Draw(TCanvas& canvas, bool compose) override;
  // On a layered frame: the look, then the alpha of the state's mask picture.
  void DrawAlphaLayer(TCanvas& canvas, TPixmap& bitmap) override;
  void MouseDown(int x, int y, TqzMouseButton button) override;
  void MouseUp(int x, int y, TqzMouseButton button) override;
  void MenuClosed() override;

 protected:
  const TqzDataSkinButton& ButtonData() const { return static_cast<const TqzDataSkinButton&>(data_); }
  bool InGroup() const { return ButtonData().GroupIndex != -1; }
  bool HasMenu() const;
  // The button's own press and release without the base events; the press
  // answers whether the button's menu is to open.
  bool PressButton(TqzMouseButton button);
  void ReleaseButton(TqzMouseButton button);

  bool down_ = false;
  std::shared_ptr<TqzButtonGroup> group_;
};

// A caption button with one of the standard commands.
class TqzSkinStdButtonObject : public TqzSkinButtonObject {
 public:
  TqzSkinStdButtonObject(TqzObjectHost& host, const TqzDataSkinStdButton& data);

  TqzStdCommand Command() const { return StdData().Command; }
  // Maximise while maximised, minimise of a minimised non-main form, roll-up
  // while rolled up: the button then shows its restore looks.
  bool AlternateState() const;
  std::string Hint() const override;
  // The system-menu button shows the form's icon instead of its looks.
  bool ShowsIcon() const;
  // The form's icon, set by the controller when ShowIcon is on (not owned).
  const TGraphic* FormIcon = nullptr;

  bool InActiveArea(int x, int y) const override;
  void ShowLayer() override;
  void Draw(TCanvas& canvas, bool compose) override;
  void DblClick() override;
  void MouseDown(int x, int y, TqzMouseButton button) override;
  void MouseUp(int x, int y, TqzMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;

 protected:
  const TqzDataSkinStdButton& StdData() const {
    return static_cast<const TqzDataSkinStdButton&>(data_);
  }
  void DrawAlternate(TCanvas& canvas, bool compose);
  // The glyph look of the frame drawn without a skin.
  void DrawDefault(TCanvas& canvas);
};

// The menu button drawn on the caption: a three-part look stretched to its
// width, an optional image and a caption; repainting it repaints the caption.
class TqzSkinCaptionMenuButton : public TqzSkinButtonObject {
 public:
  TqzSkinCaptionMenuButton(TqzObjectHost& host, const TqzDataSkinCaptionMenuButton& data);
  bool RedrawsCaption() const override { return true; }
  void Draw(TCanvas& canvas, bool compose) override;

  std::string Caption;                     // MenuButtonCaption
  const TCustomImageList* Images = nullptr;  // MenuButtonImageList
  int ImageIndex = -1;                     // MenuButtonImageIndex

 private:
  const TqzDataSkinCaptionMenuButton& MenuData() const {
    return static_cast<const TqzDataSkinCaptionMenuButton&>(data_);
  }
};

// The caption: its look is painted by PaintCaption; the object keeps the
// caption's active flag, morph factor and glow-frame animation, and in
// frame mode runs the quick buttons and caption tabs the controller hands
// it through Extras().
class TqzSkinCaptionObject : public TqzActiveSkinObject {
 public:
  TqzSkinCaptionObject(TqzObjectHost& host, const TqzDataSkinCaption& data);
  ~TqzSkinCaptionObject() override;

  // Over a quick button (with QuickButtonsShowHint) or a caption tab: its hint.
  std::string Hint() const override;
  bool IsCaption() const override { return true; }
  bool CaptionDragPoint(TPoint p) const override;
  void SetFormActive(bool active, bool shown) override;
  bool AnimateStep() override;
  void Draw(TCanvas& canvas, bool compose) override;
  void MouseDown(int x, int y, TqzMouseButton button) override;
  void MouseUp(int x, int y, TqzMouseButton button) override;
  void MouseMove(int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MenuClosed() override;

  int GlowFrame() const { return glowFrame_; }
  int FrameDelay() const { return frameDelay_; }
  // The frame laid out for the current size (three-part caption looks).
  void SetFrameRects(const TqzFrameRects& rects) { rects_ = rects; hasRects_ = true; }

  // The controller's quick buttons and caption tabs (see QuickButtons.h).
  TqzCaptionExtras& Extras() { return *extras_; }
  const TqzCaptionExtras& Extras() const { return *extras_; }

  // Where the quick buttons and tabs lie now (window coordinates, one
  // rectangle per item, empty for items not shown) and the text room they
  // leave. Nothing in client mode.
  struct TExtrasLayout {
    std::vector<TRect> QuickButtons, Tabs;
    std::optional<int> TextLeft, TextRight;
    bool QuickButtonsShown = false, TabsReplaceText = false;
  };
  TExtrasLayout LayoutExtras() const;
  // The quick button / tab under P (window coordinates), -1 for none.
  int QuickButtonAt(TPoint p) const;
  int TabAt(TPoint p) const;
  int HotQuickButton() const { return hotButton_; }
  int PressedQuickButton() const { return pressedButton_; }
  int HotTab() const { return hotTab_; }

 private:
  const TqzDataSkinCaption& CaptionData() const {
    return static_cast<const TqzDataSkinCaption&>(data_);
  }
  bool GlowFramesAvailable() const;
  void SyncGlowFrame();
  void FillExtras(TqzCaptionPaintInput& in) const;
  bool PressTab(int index);
  void PressQuickButton(int index, TPoint p);
  void TrackHot(TPoint p);
  void ClearQuickButtonMarks();

  int glowFrame_ = 0;
  int frameDelay_ = 25;
  TqzFrameRects rects_;
  bool hasRects_ = false;
  std::unique_ptr<TqzCaptionExtras> extras_;
  int hotButton_ = -1, pressedButton_ = -1, hotTab_ = -1;
};

// Frames side by side in the active picture, played on hover (button style)
// or shown still; runs a standard command like a caption button.
class TqzSkinAnimateObject : public TqzActiveSkinObject {
 public:
  TqzSkinAnimateObject(TqzObjectHost& host, const TqzDataSkinAnimate& data);

  int Frame() const { return frame_; }
  bool Down() const { return down_; }
  bool Playing() const { return playing_; }
  int Interval() const;  // timerinterval, at least 25 ms
  bool AlternateState() const;
  std::string Hint() const override;
  TMenuItem* Menu = nullptr;  // items popped up below the object (not owned)

  bool AnimateStep() override;
  void Draw(TCanvas& canvas, bool compose) override;
  void DblClick() override;
  void MouseDown(int x, int y, TqzMouseButton button) override;
  void MouseUp(int x, int y, TqzMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MenuClosed() override;

 private:
  const TqzDataSkinAnimate& AnimData() const { return static_cast<const TqzDataSkinAnimate&>(data_); }
  int FrameCount() const { return AnimData().CountFrames < 1 ? 1 : AnimData().CountFrames; }
  void Play(bool forwards);

  int frame_ = 1;
  bool forwards_ = true;
  bool playing_ = false;
  int delay_ = 25;
  bool down_ = false;
  bool menuOpen_ = false;
};

// Two states toggled by left presses; hovering does not change the look.
class TqzSkinSwitchObject : public TqzActiveSkinObject {
 public:
  using TqzActiveSkinObject::TqzActiveSkinObject;
  TSwitchState State() const { return state_; }
  void SetState(TSwitchState state);
  void Draw(TCanvas& canvas, bool compose) override;
  void MouseDown(int x, int y, TqzMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  TSwitchState state_ = swsOff;
};

// A thumb moving between two points of the object (coordinates relative to
// the object); its place maps linearly onto minvalue..maxvalue.
class TqzSkinTrackBarObject : public TqzActiveSkinObject {
 public:
  TqzSkinTrackBarObject(TqzObjectHost& host, const TqzDataSkinTrackBar& data);
  bool Vertical() const;
  int Value() const { return value_; }
  void SetValue(int value);
  // The thumb's rectangle relative to the object.
  TRect ThumbRect() const;

  void Draw(TCanvas& canvas, bool compose) override;
  void MouseDown(int x, int y, TqzMouseButton button) override;
  void MouseUp(int x, int y, TqzMouseButton button) override;
  void MouseMove(int x, int y) override;

 private:
  const TqzDataSkinTrackBar& TrackData() const {
    return static_cast<const TqzDataSkinTrackBar&>(data_);
  }
  // The track's ends along the moving axis: low value end first.
  int TrackLow() const;
  int TrackHigh() const;
  int ValueAt(int pos) const;
  int PosOf(int value) const;
  void MoveThumbTo(int pos);

  int pos_ = 0;  // thumb centre along the moving axis
  int value_ = 0;
  bool dragging_ = false;
  int dragOffset_ = 0;
};

// A bar filled from activeskinrect by the value's share of the range.
class TqzSkinGaugeObject : public TqzActiveSkinObject {
 public:
  TqzSkinGaugeObject(TqzObjectHost& host, const TqzDataSkinGauge& data);
  int Value() const { return value_; }
  void SetValue(int value);
  // The value's share of the range, 0..1 (0 for an empty range).
  double Fraction() const;
  void Draw(TCanvas& canvas, bool compose) override;

 private:
  const TqzDataSkinGauge& GaugeData() const { return static_cast<const TqzDataSkinGauge&>(data_); }
  int value_ = 0;
  bool filled_ = false;  // the last drawing showed some of the fill
};

// Base of the frame-strip objects: frame n (1-based) of the object's size,
// cut from the active picture from activeskinrect's top-left.
class TqzSkinFrameObject : public TqzActiveSkinObject {
 public:
  TqzSkinFrameObject(TqzObjectHost& host, const TqzDataSkinFrameGaugeObject& data);
  int Value() const { return value_; }
  // The frame shown for the current value, 1..countframes.
  int CurrentFrame() const;
  void Draw(TCanvas& canvas, bool compose) override;

 protected:
  const TqzDataSkinFrameGaugeObject& FrameData() const {
    return static_cast<const TqzDataSkinFrameGaugeObject&>(data_);
  }
  int FrameCount() const { return FrameData().CountFrames < 1 ? 1 : FrameData().CountFrames; }
  int value_ = 0;
};

class TqzSkinFrameGaugeObject : public TqzSkinFrameObject {
 public:
  using TqzSkinFrameObject::TqzSkinFrameObject;
  void SetValue(int value);
};

// A knob or slider of frames; dragging changes the value.
class TqzSkinFrameRegulatorObject : public TqzSkinFrameObject {
 public:
  TqzSkinFrameRegulatorObject(TqzObjectHost& host, const TqzDataSkinFrameRegulatorObject& data);
  // Values outside the range or equal to the current one are ignored;
  // otherwise the object repaints and raises the change event.
  void SetValue(int value);
  void MouseDown(int x, int y, TqzMouseButton button) override;
  void MouseUp(int x, int y, TqzMouseButton button) override;
  void MouseMove(int x, int y) override;

 private:
  TqzRegulatorKind Kind() const {
    return static_cast<const TqzDataSkinFrameRegulatorObject&>(data_).Kind;
  }
  int ValueFromDrag(int x, int y) const;
  bool dragging_ = false;
  TPoint dragStart_;
  int dragValue_ = 0;
};

// Text in the object's rectangle over its look, in the active colour while hovered.
class TqzSkinLabelObject : public TqzActiveSkinObject {
 public:
  TqzSkinLabelObject(TqzObjectHost& host, const TqzDataSkinLabel& data);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  void Draw(TCanvas& canvas, bool compose) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  const TqzDataSkinLabel& LabelData() const { return static_cast<const TqzDataSkinLabel&>(data_); }
  std::string text_;
};

// Text drawn with a bitmap font cut from the active picture.
class TqzSkinBitLabelObject : public TqzActiveSkinObject {
 public:
  TqzSkinBitLabelObject(TqzObjectHost& host, const TqzDataSkinBitLabel& data);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  // The cell of a character in the active picture; empty when not a symbol.
  TRect SymbolCell(char c) const;
  void Draw(TCanvas& canvas, bool compose) override;

 private:
  const TqzDataSkinBitLabel& BitData() const { return static_cast<const TqzDataSkinBitLabel&>(data_); }
  std::string text_;
};

// A top-level item of the main menu drawn on the frame's menu area.
class TqzSkinMainMenuItem : public TqzActiveSkinObject {
 public:
  TqzSkinMainMenuItem(TqzObjectHost& host, const TqzDataSkinMainMenuItem& data, TMenuItem& item);
  bool IsFrameMenuItem() const override { return true; }
  TMenuItem& Item() const { return item_; }
  bool Down() const { return down_; }
  // The width the item takes on the menu area.
  int ItemWidth() const;

  void Draw(TCanvas& canvas, bool compose) override;
  void MouseDown(int x, int y, TqzMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MenuClosed() override;

 private:
  const TqzDataSkinMainMenuItem& ItemData() const {
    return static_cast<const TqzDataSkinMainMenuItem&>(data_);
  }
  TMenuItem& item_;
  bool down_ = false;
};

using TqzSkinObjectList = std::vector<std::unique_ptr<TqzActiveSkinObject>>;

// The objects of a skin, in the order of its object list, plus one frame
// menu item object per visible top-level item of `mainMenu` when the skin
// describes "MAINMENUITEM".
TqzSkinObjectList CreateSkinObjects(TqzObjectHost& host, const TqzSkinData& skin,
                                    const TMenu* mainMenu);
// The six standard buttons of the frame drawn without a skin.
TqzSkinObjectList CreateDefaultButtons(TqzObjectHost& host);
// Places the default buttons on the default caption of a window of that
// size: the visible ones from the caption's right end leftwards (close,
// maximise, minimise, roll-up, tray), the system-menu button at its left.
inline constexpr int kDefaultButtonWidth = 16, kDefaultButtonHeight = 14;
void PlaceDefaultButtons(TqzSkinObjectList& objects, TSize window, int captionHeight = 19);

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
