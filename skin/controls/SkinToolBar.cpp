// TqzSkinToolBar: the settings it hands to its tool buttons, the vertical
// centring of its children and the placement of skinned ones.
#include "skin/controls/SkinToolBar.h"

#include <algorithm>
#include <vector>

#include "host/ui/ImgList.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"

namespace qz {

TqzSkinToolBar::TqzSkinToolBar(TComponent* AOwner) : TqzSkinPanel(AOwner) {
  SetSkinDataName("toolpanel");
  SetBorderStyle(TqzSkinBorderStyle::bvNone);
  height_ = 25;
}

TqzSkinToolBar::~TqzSkinToolBar() { StopScrollTimer(); }

// ---------------------------------------------------------------- settings

void TqzSkinToolBar::ForEachToolButton(void (*fn)(IqzToolBarButton&, bool), bool value) {
  std::vector<TComponentRef<TControl>> children;
  for (int i = 0; i < ControlCount(); ++i) children.emplace_back(Controls(i));
  for (auto& child : children)
    if (auto* button = child ? dynamic_cast<IqzToolBarButton*>(child.Get()) : nullptr)
      fn(*button, value);
}

void TqzSkinToolBar::SetFlat(bool v) {
  flat_ = v;
  ForEachToolButton([](IqzToolBarButton& b, bool on) { b.SetFlat(on); }, v);
}

void TqzSkinToolBar::SetShowCaptions(bool v) {
  if (v == showCaptions_) return;
  showCaptions_ = v;
  TComponentRef<TqzSkinToolBar> self(this);
  if (autoShowHideCaptions_)
    ForEachToolButton([](IqzToolBarButton& b, bool on) { b.SetShowCaption(on); }, v);
  if (!self || widthWithCaptions_ == 0 || widthWithoutCaptions_ == 0) return;
  SetWidth(v ? widthWithCaptions_ : widthWithoutCaptions_);
}

void TqzSkinToolBar::TellImagesChanged() {
  ForEachToolButton([](IqzToolBarButton& b, bool) { b.ToolBarImagesChanged(); }, false);
}

void TqzSkinToolBar::SetImages(TCustomImageList* v) {
  SetReference(images_, v);
  TellImagesChanged();
}

void TqzSkinToolBar::SetHotImages(TCustomImageList* v) {
  SetReference(hotImages_, v);
  TellImagesChanged();
}

void TqzSkinToolBar::SetDisabledImages(TCustomImageList* v) {
  SetReference(disabledImages_, v);
  TellImagesChanged();
}

// ---------------------------------------------------------------- layout

void TqzSkinToolBar::SetAdjustControls(bool v) {
  if (v == adjustControls_) return;
  adjustControls_ = v;
  if (v) Realign();
}

int TqzSkinToolBar::PlaceChildTop(int top, int height) const {
  if (!adjustControls_) return top;
  const TRect client = const_cast<TqzSkinToolBar*>(this)->PanelClientRect();
  return client.Top + client.Height() / 2 - height / 2;
}

// Skinned controls place themselves through PlaceChildTop; aligned
// children follow their alignment.
void TqzSkinToolBar::CentreChild(TControl& child, const TRect& client) {
  if (child.Align() != alNone || Is<TqzSkinControl>(&child) || Is<TqzGraphicSkinControl>(&child)) return;
  const int top = client.Top + client.Height() / 2 - child.Height() / 2;
  if (child.Top() != top) child.SetTop(top);
}

void TqzSkinToolBar::CentreChildren() {
  const TRect client = PanelClientRect();
  std::vector<TComponentRef<TControl>> children;
  for (int i = 0; i < ControlCount(); ++i) children.emplace_back(Controls(i));
  for (auto& child : children)
    if (child) CentreChild(*child, client);
}

// A child that was added, moved or resized by itself is centred at once
// and may change whether the row fits.
void TqzSkinToolBar::ChildChanged(TControl* child) {
  if (relayingOut_ || aligning_ || !child || child->Parent() != this) return;
  TComponentRef<TqzSkinToolBar> self(this);
  if (adjustControls_) CentreChild(*child, PanelClientRect());
  if (self) UpdateScrolling();
}

void TqzSkinToolBar::ReplaceChildren() {
  std::vector<TComponentRef<TControl>> children;
  for (int i = 0; i < ControlCount(); ++i) children.emplace_back(Controls(i));
  for (auto& child : children)
    if (child) child->SetBounds(child->Left(), child->Top(), child->Width(), child->Height());
}

void TqzSkinToolBar::AlignControls(TControl* AControl, TRect& Rect) {
  TComponentRef<TqzSkinToolBar> self(this);
  TqzSkinPanel::AlignControls(AControl, Rect);
  if (!self || relayingOut_) return;
  if (adjustControls_) CentreChildren();
  if (self) UpdateScrolling();
}

void TqzSkinToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int oldWidth = Width(), oldHeight = Height();
  TComponentRef<TqzSkinToolBar> self(this);
  relayingOut_ = true;
  TqzSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!self) return;
  relayingOut_ = false;
  if (Width() == oldWidth && Height() == oldHeight) return;
  // A bar that grew first gives the row back what it scrolled away.
  const int growth = Width() - oldWidth;
  if (growth > 0 && scrollPosition_ > 0) {
    const int back = std::min(growth, scrollPosition_);
    MoveChildren(back);
    scrollPosition_ -= back;
  }
  if (adjustControls_) {
    ReplaceChildren();
    if (self) CentreChildren();
  }
  if (self) UpdateScrolling();
}

// ---------------------------------------------------------------- skin

void TqzSkinToolBar::BeforeChangeSkinData() {
  arrowDescription_ = nullptr;
  TqzSkinPanel::BeforeChangeSkinData();
}

void TqzSkinToolBar::ChangeSkinData() {
  TComponentRef<TqzSkinToolBar> self(this);
  TqzSkinPanel::ChangeSkinData();
  if (!self) return;
  arrowDescription_ = nullptr;
  if (SkinIndex == -1 || !SkinData()) return;
  const int index = SkinData()->FindControlIndex("resizebutton");
  if (index >= 0)
    arrowDescription_ =
        dynamic_cast<const TqzDataSkinButtonControl*>(SkinData()->CtrlList()[size_t(index)].get());
  if (arrowsShown_) RedrawWindow(HWND(this), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

QZ_PUBLISHED(TqzSkinToolBar, TqzSkinPanel) {
  using O = TqzSkinToolBar;
  b.Factory([](TComponent* owner) { return new TqzSkinToolBar(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("toolpanel"));
  b.Enum("BorderStyle", &O::BorderStyle, &O::SetBorderStyle, TqzSkinBorderStyle::bvNone);
  b.Prop("AdjustControls", &O::AdjustControls, &O::SetAdjustControls, true);
  b.Prop("CanScroll", &O::CanScroll, &O::SetCanScroll, false);
  b.Prop("HotScroll", &O::HotScroll, &O::SetHotScroll, false);
  b.Prop("ScrollOffset", &O::ScrollOffset, &O::SetScrollOffset, 0);
  b.Prop("ScrollTimerInterval", &O::ScrollTimerInterval, &O::SetScrollTimerInterval, 50);
  b.Prop("AutoShowHideCaptions", &O::AutoShowHideCaptions, &O::SetAutoShowHideCaptions, false);
  b.Prop("WidthWithCaptions", &O::WidthWithCaptions, &O::SetWidthWithCaptions, 0);
  b.Prop("WidthWithoutCaptions", &O::WidthWithoutCaptions, &O::SetWidthWithoutCaptions, 0);
  b.Prop("ShowCaptions", &O::ShowCaptions, &O::SetShowCaptions, false);
  b.Prop("Flat", &O::Flat, &O::SetFlat, false);
  b.Ref<TCustomImageList>("Images", &O::Images, &O::SetImages);
  b.Ref<TCustomImageList>("HotImages", &O::HotImages, &O::SetHotImages);
  b.Ref<TCustomImageList>("DisabledImages", &O::DisabledImages, &O::SetDisabledImages);
}

}  // namespace qz
