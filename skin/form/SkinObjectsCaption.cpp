// The caption object's state: the active flag it shows, its morph between
// the inactive and active looks and the glow-frame animation. Its looks are
// painted by PaintCaption.
#include <algorithm>
#include <climits>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/ui/ImgList.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QzText.h"
#include "skin/form/CaptionPaint.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinObjects.h"

namespace qz {

TqzSkinCaptionObject::TqzSkinCaptionObject(TqzObjectHost& host, const TqzDataSkinCaption& data)
    : TqzActiveSkinObject(host, data), extras_(std::make_unique<TqzCaptionExtras>()) {
  // A caption follows the form, not the mouse: it starts in the form's look.
  Active = host.FormActive();
  Kf = Active ? 1.0 : 0.0;
}

TqzSkinCaptionObject::~TqzSkinCaptionObject() = default;

bool TqzSkinCaptionObject::GlowFramesAvailable() const {
  const TqzSkinData* skin = Skin();
  return skin && skin->EnableSkinEffects && !CaptionData().AnimateSkinRect.IsEmpty() &&
         CaptionData().FrameCount > 0;
}

// Quick buttons and caption tabs take their own presses; the rest drags.
bool TqzSkinCaptionObject::CaptionDragPoint(TPoint p) const {
  return ObjectRect.Contains(p) && QuickButtonAt(p) < 0 && TabAt(p) < 0;
}

void TqzSkinCaptionObject::SetFormActive(bool active, bool shown) {
  const bool changed = Active != active;
  Active = active;
  if (!active) ClearQuickButtonMarks();
  if (!shown) {
    // Off-state captions only follow the form's look for a later roll-up change.
    if (MorphingApplies()) host_.StartMorphTimer();
    else Kf = active ? 1.0 : 0.0;
    return;
  }
  if (changed && GlowFramesAvailable()) {
    frameDelay_ = 25;
    host_.StartAnimateTimer();
  }
  Changed();
}

void TqzSkinCaptionObject::SyncGlowFrame() {
  if (!GlowFramesAvailable()) return;
  if (!Active && !CaptionData().InActiveAnimation) glowFrame_ = 0;
  else if (Active && glowFrame_ == 0) glowFrame_ = 1;
}

bool TqzSkinCaptionObject::AnimateStep() {
  if (!GlowFramesAvailable()) return false;
  const int target = Active ? CaptionData().FrameCount : 0;
  if (glowFrame_ == target) return false;
  if (frameDelay_ < CaptionData().AnimateInterval) {
    frameDelay_ += 25;
    return true;
  }
  glowFrame_ += glowFrame_ < target ? 1 : -1;
  frameDelay_ = 25;
  host_.RedrawObject(*this);
  return true;
}

void TqzSkinCaptionObject::Draw(TCanvas& canvas, bool compose) {
  if (!Skin()) return;
  SyncGlowFrame();
  TqzCaptionPaintInput in;
  in.Data = &CaptionData();
  in.Skin = Skin();
  in.ObjectRect = ObjectRect;
  in.Active = Active;
  in.Kf = Kf;
  in.MorphInProgress = MorphInProgress();
  in.GlowFrame = glowFrame_;
  in.RolledUp = host_.RolledUp();
  in.FrameMode = !host_.ClientMode();
  in.FormActive = host_.FormActive();
  in.Rects = hasRects_ ? &rects_ : nullptr;
  in.Context = host_.CaptionContext();
  FillExtras(in);
  PaintCaption(canvas, in, compose);
}

void TqzSkinCaptionObject::MouseDown(int x, int y, TqzMouseButton button) {
  const TPoint p{ObjectRect.Left + x, ObjectRect.Top + y};
  const bool left = button == TqzMouseButton::mbLeft;
  const int tab = left ? TabAt(p) : -1;
  const int quick = left && tab < 0 ? QuickButtonAt(p) : -1;
  if (left && host_.ClientMode() && !host_.Maximized() && host_.NCDraggAble())
    host_.StartClientDrag(p);
  // The object's own press event goes out first: the tab change, the
  // click or the menu may free the form and with it this object.
  const TLiveness alive = Liveness();
  TqzActiveSkinObject::MouseDown(x, y, button);
  if (!alive) return;
  if (tab >= 0) PressTab(tab);
  else if (quick >= 0) PressQuickButton(quick, p);
}

void TqzSkinCaptionObject::MouseUp(int x, int y, TqzMouseButton button) {
  const int pressed = pressedButton_;
  const TqzCaptionExtras& e = *extras_;
  const bool clickPending = pressed >= 0 && button == TqzMouseButton::mbLeft && e.QuickButtons &&
                            pressed < e.QuickButtons->Count() &&
                            !e.QuickButtons->Items(pressed)->PopupMenu();
  if (clickPending) {
    pressedButton_ = -1;
    host_.RedrawCaption();
  }
  const TLiveness alive = Liveness();
  TqzActiveSkinObject::MouseUp(x, y, button);
  // A click needs the release over the button that was pressed.
  if (alive && clickPending && QuickButtonAt({ObjectRect.Left + x, ObjectRect.Top + y}) == pressed) {
    TqzQuickButtonItem& item = *e.QuickButtons->Items(pressed);
    if (TNotifyEvent click = item.OnClick) click(&item);
  }
}

void TqzSkinCaptionObject::MouseMove(int x, int y) {
  TrackHot({ObjectRect.Left + x, ObjectRect.Top + y});
  TqzActiveSkinObject::MouseMove(x, y);
}

// Hovering never changes the caption's own look, only its buttons' and tabs'.
void TqzSkinCaptionObject::MouseEnter() { RunEnter(false); }

void TqzSkinCaptionObject::MouseLeave() {
  if (hotButton_ >= 0 || hotTab_ >= 0) {
    hotButton_ = hotTab_ = -1;
    host_.RedrawCaption();
  }
  RunLeave(false);
}

void TqzSkinCaptionObject::MenuClosed() {
  if (pressedButton_ < 0) return;
  pressedButton_ = -1;
  host_.RedrawCaption();
}

// ---- Quick buttons and caption tabs ----

namespace {

bool AnyShown(const std::vector<TRect>& rects) {
  return std::any_of(rects.begin(), rects.end(), [](const TRect& r) { return !r.IsEmpty(); });
}

struct TRowExtent {
  int Left = INT_MAX, Right = INT_MIN;
};

TRowExtent ShownExtent(const std::vector<TRect>& rects) {
  TRowExtent extent;
  for (const TRect& r : rects) {
    if (r.IsEmpty()) continue;
    extent.Left = std::min(extent.Left, r.Left);
    extent.Right = std::max(extent.Right, r.Right);
  }
  return extent;
}

int IndexAt(const std::vector<TRect>& rects, TPoint p) {
  for (size_t i = 0; i < rects.size(); ++i)
    if (rects[i].Contains(p)) return static_cast<int>(i);
  return -1;
}

}  // namespace

TqzSkinCaptionObject::TExtrasLayout TqzSkinCaptionObject::LayoutExtras() const {
  TExtrasLayout out;
  const TqzSkinData* skin = Skin();
  const TqzCaptionExtras& e = *extras_;
  if (!skin || host_.ClientMode()) return out;
  TCanvas measure;  // no target: it measures the text only
  const TRect caption = ObjectRect;
  int tabStart = caption.Left + 5, tabEnd = caption.Right;

  if (e.QuickButtons && e.QuickImageList && e.QuickButtons->Count() > 0) {
    TqzCaptionPaintInput fontInput;
    fontInput.Data = &CaptionData();
    fontInput.Context = host_.CaptionContext();
    SelectCaptionFont(measure.Font(), fontInput, Active);
    std::vector<TqzQuickButtonInfo> infos;
    for (int i = 0; i < e.QuickButtons->Count(); ++i) {
      const TqzQuickButtonItem& item = *e.QuickButtons->Items(i);
      infos.push_back({item.Visible, item.Position == qzqbpRight, item.PopupMenu() != nullptr,
                       item.Caption.empty() ? -1 : measure.TextWidth(item.Caption)});
    }
    const bool iconShown = host_.ShowIcon() && !CaptionData().DividerRect.IsEmpty();
    const TqzQuickButtonLayout layout =
        LayoutQuickButtons(*skin, CaptionData(), caption,
                           {e.QuickImageList->Width(), e.QuickImageList->Height()}, iconShown,
                           infos, caption.Left, caption.Right);
    out.QuickButtons = layout.Buttons;
    out.QuickButtonsShown = AnyShown(out.QuickButtons);
    if (layout.TextLeft > caption.Left) {
      out.TextLeft = layout.TextLeft;
      tabStart = layout.TextLeft + 2;
    }
    if (layout.TextRight < caption.Right) {
      out.TextRight = layout.TextRight;
      tabEnd = layout.TextRight - 2;  // tabs never run under right-hand buttons
    }
  }

  const TqzDataSkinCaptionTab* tabData = FindCaptionTabData(*skin);
  if (e.CaptionTabs && e.CaptionTabs->Count() > 0 && tabData) {
    measure.Font().SetName(tabData->FontName);
    measure.Font().SetHeight(tabData->FontHeight);
    measure.Font().SetStyle(tabData->FontStyle);
    std::vector<TqzCaptionTabInfo> infos;
    for (int i = 0; i < e.CaptionTabs->Count(); ++i) {
      const TqzCaptionTab& tab = *e.CaptionTabs->Items(i);
      infos.push_back({tab.Visible, GetTextWidthNoPrefix(measure, tab.Caption)});
    }
    const int imageWidth = e.CaptionTabsImageList ? e.CaptionTabsImageList->Width() : 0;
    const TRect room{caption.Left, caption.Top, tabEnd, caption.Bottom};
    out.Tabs = LayoutCaptionTabs(*skin, room, tabStart, infos, imageWidth, e.TabPos);
    if (AnyShown(out.Tabs)) {
      const TRowExtent tabs = ShownExtent(out.Tabs);
      if (e.TabPos == qztpLeft) out.TextLeft = std::max(out.TextLeft.value_or(INT_MIN), tabs.Right);
      if (e.TabPos == qztpRight) out.TextRight = std::min(out.TextRight.value_or(INT_MAX), tabs.Left);
      if (e.TabPos == qztpCenter) out.TabsReplaceText = true;
    }
  }
  return out;
}

std::string TqzSkinCaptionObject::Hint() const {
  const TqzCaptionExtras& e = *extras_;
  if (e.ShowHint && e.QuickButtons && hotButton_ >= 0 && hotButton_ < e.QuickButtons->Count())
    return e.QuickButtons->Items(hotButton_)->Hint;
  if (e.CaptionTabs && hotTab_ >= 0 && hotTab_ < e.CaptionTabs->Count() &&
      !e.CaptionTabs->Items(hotTab_)->Hint.empty())
    return e.CaptionTabs->Items(hotTab_)->Hint;
  return TqzActiveSkinObject::Hint();
}

int TqzSkinCaptionObject::QuickButtonAt(TPoint p) const {
  if (!ObjectRect.Contains(p)) return -1;
  return IndexAt(LayoutExtras().QuickButtons, p);
}

int TqzSkinCaptionObject::TabAt(TPoint p) const {
  if (!ObjectRect.Contains(p)) return -1;
  return IndexAt(LayoutExtras().Tabs, p);
}

void TqzSkinCaptionObject::FillExtras(TqzCaptionPaintInput& in) const {
  const TExtrasLayout layout = LayoutExtras();
  const TqzCaptionExtras& e = *extras_;
  in.TextRoomLeft = layout.TextLeft;
  in.TextRoomRight = layout.TextRight;
  in.QuickButtonsShown = layout.QuickButtonsShown;
  in.TabsReplaceText = layout.TabsReplaceText;
  in.QuickImages = e.QuickImageList;
  in.TabImages = e.CaptionTabsImageList;
  for (size_t i = 0; i < layout.QuickButtons.size(); ++i) {
    if (layout.QuickButtons[i].IsEmpty()) continue;
    const TqzQuickButtonItem& item = *e.QuickButtons->Items(int(i));
    const int index = int(i);
    TqzQuickButtonLook look = TqzQuickButtonLook::Normal;
    const bool held = pressedButton_ == index && (hotButton_ == index || item.PopupMenu());
    if (item.Down || held) look = TqzQuickButtonLook::Down;
    else if (hotButton_ == index) look = TqzQuickButtonLook::Hot;
    in.QuickButtons.push_back({layout.QuickButtons[i], look, item.ImageIndex, item.Caption,
                               item.PopupMenu() != nullptr, item.Enabled});
  }
  const int selected = e.CaptionTabIndex ? *e.CaptionTabIndex : -1;
  for (size_t i = 0; i < layout.Tabs.size(); ++i) {
    if (layout.Tabs[i].IsEmpty()) continue;
    const TqzCaptionTab& tab = *e.CaptionTabs->Items(int(i));
    TqzCaptionTabLook look = TqzCaptionTabLook::Normal;
    if (selected == int(i)) look = TqzCaptionTabLook::Selected;
    else if (hotTab_ == int(i)) look = TqzCaptionTabLook::Hot;
    in.Tabs.push_back({layout.Tabs[i], look, tab.Caption, tab.ImageIndex});
  }
}

bool TqzSkinCaptionObject::PressTab(int index) {
  TqzCaptionExtras& e = *extras_;
  if (!e.CaptionTabIndex || *e.CaptionTabIndex == index) return false;
  *e.CaptionTabIndex = index;
  host_.RedrawCaption();
  if (std::function<void()> changed = e.OnTabChange) changed();
  return true;
}

void TqzSkinCaptionObject::PressQuickButton(int index, TPoint p) {
  TqzQuickButtonItem& item = *extras_->QuickButtons->Items(index);
  if (!item.Enabled) return;
  if (item.Checkable) {
    item.Down = !item.Down;
    host_.RedrawCaption();
    if (TNotifyEvent click = item.OnClick) click(&item);
    return;
  }
  const TRect r = LayoutExtras().QuickButtons[size_t(index)];
  pressedButton_ = index;
  host_.RedrawCaption();
  if (TPopupMenu* menu = item.PopupMenu()) {
    host_.PopupMenuBelow(*menu->Items(), r);
    return;
  }
  if (TMouseEvent down = item.OnMouseDown) down(&item, mbLeft, {}, p.X - r.Left, p.Y - r.Top);
}

void TqzSkinCaptionObject::TrackHot(TPoint p) {
  int button = QuickButtonAt(p);
  if (button >= 0 && !extras_->QuickButtons->Items(button)->Enabled) button = -1;
  const int tab = TabAt(p);
  if (button == hotButton_ && tab == hotTab_) return;
  hotButton_ = button;
  hotTab_ = tab;
  host_.RedrawCaption();
}

void TqzSkinCaptionObject::ClearQuickButtonMarks() {
  if (hotButton_ < 0 && pressedButton_ < 0) return;
  hotButton_ = pressedButton_ = -1;
  host_.RedrawCaption();
}

}  // namespace qz
