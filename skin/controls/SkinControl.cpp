// The windowed skin control bases and what all four bases share: the skin
// link, the off-screen paint with its blend, and the skin-change walk.
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinControlShared.h"

#include <vector>

#include "host/ui/ImgList.h"
#include "skin/controls/SkinChangeClient.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"

namespace qz {

// ---------------------------------------------------------------------------
// Plain look

TColor PlainFaceColor() { return static_cast<TColor>(ColorToRGB(clBtnFace)); }
TColor PlainHighlightColor() { return static_cast<TColor>(ColorToRGB(clBtnHighlight)); }
TColor PlainShadowColor() { return static_cast<TColor>(ColorToRGB(clBtnShadow)); }

void SetSkinControlDefaultFont(TFont& font) {
  font.SetName("Tahoma");
  font.SetHeight(13);
  font.SetStyle({});
}

// ---------------------------------------------------------------------------
// Shared by the windowed and the graphic bases

namespace skin_control_detail {

int FindSkinIndex(const TqzSkinLinkState& link) {
  if (link.skinData == nullptr || link.skinData->Empty()) return -1;
  return link.skinData->FindControlIndex(link.skinDataName);
}

TqzDataSkinControl* Description(const TqzSkinLinkState& link, int index) {
  if (link.skinData == nullptr || index < 0) return nullptr;
  const auto& list = link.skinData->CtrlList();
  return index < static_cast<int>(list.size()) ? list[size_t(index)].get() : nullptr;
}

TCursor SkinCursor(const TqzSkinData* skin, int cursorIndex) {
  if (cursorIndex == -1 || skin == nullptr) return crDefault;
  return skin->StartCursorIndex() + cursorIndex;
}

void DrawComposed(TControl& control, const TqzSkinLinkState& link, const TBitmap& image,
                  TCanvas& canvas) {
  if (!link.alphaBlend) {
    canvas.Draw(0, 0, image);
    return;
  }
  // Each channel = value/255 * control + (1 - value/255) * background.
  TBitmap background(image.Width(), image.Height());
  TComponentRef<TControl> alive(&control);
  GetParentImage(&control, background.Canvas());
  if (!alive) return;
  TqzEffectBmp blended(image);
  blended.Morph(TqzEffectBmp(background), 1.0 - link.alphaBlendValue / 255.0);
  TBitmap out;
  out.SetSize(blended.Width(), blended.Height());
  out.Pixels() = blended.ToPixmap();
  out.Modified();
  canvas.Draw(0, 0, out);
}

void RefreshChildren(TControl& control) {
  auto* container = dynamic_cast<TWinControl*>(&control);
  if (container == nullptr) return;
  std::vector<TComponentRef<TControl>> children;
  for (int i = 0; i < container->ControlCount(); ++i) children.emplace_back(container->Controls(i));
  for (auto& child : children) {
    if (!child) continue;
    auto* windowed = dynamic_cast<TWinControl*>(child.Get());
    if (windowed != nullptr && windowed->HandleAllocated())
      SendMessage(windowed->Handle(), MSG_REFRESH_ALPHABLEND);
    else
      child->Perform(MSG_REFRESH_ALPHABLEND);
  }
}

bool ForgetRemovedSkin(TqzSkinLinkState& link, const TComponent* removed, TOperation operation) {
  if (operation != opRemove || removed != link.linkedSkin) return false;
  link.linkedSkin = nullptr;
  return true;
}

int PlaceTopInParent(const TWinControl* parent, int top, int height) {
  if (auto* placer = dynamic_cast<const IqzSkinControlPlacer*>(parent))
    return placer->PlaceChildTop(top, height);
  return top;
}

void AssignFontQuietly(TFont& font, const TFont& value) {
  auto handler = std::move(font.OnChange);
  font.OnChange = nullptr;
  font.Assign(value);
  font.OnChange = std::move(handler);
}

void FillWithButtonFace(TBitmap& bitmap, const TRect& r) {
  TCanvas& c = bitmap.Canvas();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(clBtnFace);
  c.FillRect(r);
}

}  // namespace skin_control_detail

using namespace skin_control_detail;

// ---------------------------------------------------------------------------
// The skin-change walk

namespace {

TqzSkinData* SkinDataOf(TControl* c, bool& skinned) {
  if (auto* w = dynamic_cast<TqzSkinControl*>(c)) {
    skinned = true;
    return w->SkinData();
  }
  if (auto* g = dynamic_cast<TqzGraphicSkinControl*>(c)) {
    skinned = true;
    return g->SkinData();
  }
  if (auto* client = dynamic_cast<IqzSkinChangeClient*>(c)) {
    skinned = true;
    return client->SkinData();
  }
  skinned = false;
  return nullptr;
}

void NotifyOne(TControl* c, uint32_t msg) {
  const bool before = msg == MSG_SKIN_BEFORE_CHANGE;
  if (auto* w = dynamic_cast<TqzSkinControl*>(c)) {
    before ? w->BeforeChangeSkinData() : w->ChangeSkinData();
  } else if (auto* g = dynamic_cast<TqzGraphicSkinControl*>(c)) {
    before ? g->BeforeChangeSkinData() : g->ChangeSkinData();
  } else if (auto* client = dynamic_cast<IqzSkinChangeClient*>(c)) {
    before ? client->BeforeChangeSkinData() : client->ChangeSkinData();
  }
}

}  // namespace

void NotifySkinControls(TWinControl* root, uint32_t msg, TqzSkinData* skin) {
  if (root == nullptr || (msg != MSG_SKIN_BEFORE_CHANGE && msg != MSG_SKIN_CHANGED)) return;
  // The children are taken first: a control may free itself or a sibling
  // while it follows the skin.
  std::vector<TComponentRef<TControl>> children;
  for (int i = 0; i < root->ControlCount(); ++i) children.emplace_back(root->Controls(i));
  for (auto& child : children) {
    if (!child) continue;
    bool skinned = false;
    TqzSkinData* own = SkinDataOf(child.Get(), skinned);
    if (skinned && (skin == nullptr || own == skin)) NotifyOne(child.Get(), msg);
    if (!child) continue;
    if (auto* container = dynamic_cast<TWinControl*>(child.Get()))
      NotifySkinControls(container, msg, skin);
  }
}

// ---------------------------------------------------------------------------
// TqzSkinControlFace: the body both framework bases share

template <class Framework>
void TqzSkinControlFace<Framework>::SetHintImageList(TCustomImageList* v) {
  this->SetReference(link_.hintImageList, v);
}

template <class Framework>
void TqzSkinControlFace<Framework>::SetAlphaBlend(bool Value) {
  link_.alphaBlend = Value;
  this->Invalidate();
}

template <class Framework>
void TqzSkinControlFace<Framework>::SetAlphaBlendValue(uint8_t Value) {
  link_.alphaBlendValue = Value;
  this->Invalidate();
}

template <class Framework>
void TqzSkinControlFace<Framework>::GetSkinData() {
  SkinIndex = FindSkinIndex(link_);
}

template <class Framework>
void TqzSkinControlFace<Framework>::SetSkinData(TqzSkinData* Value) {
  this->SetReference(link_.skinData, Value);
  link_.linkedSkin = Value;
  if (Value != nullptr && !Value->Empty() && !this->InState(csDesigning)) ChangeSkinData();
}

template <class Framework>
void TqzSkinControlFace<Framework>::CreateControlDefaultImage(TBitmap&) {}
template <class Framework>
void TqzSkinControlFace<Framework>::CreateControlSkinImage(TBitmap&) {}

template <class Framework>
void TqzSkinControlFace<Framework>::ChangeSkinData() {
  GetSkinData();
  ApplySkinCursor();
  this->Invalidate();
}

template <class Framework>
void TqzSkinControlFace<Framework>::BeforeChangeSkinData() {
  SkinIndex = -1;
}

template <class Framework>
void TqzSkinControlFace<Framework>::RefreshAlphaBlend() {
  if (!link_.alphaBlend) return;
  TComponentRef<TControl> self(this);
  this->Invalidate();
  if (self) RefreshChildren(*this);
}

template <class Framework>
TqzDataSkinControl* TqzSkinControlFace<Framework>::SkinDescription() const {
  return Description(link_, SkinIndex);
}

template <class Framework>
void TqzSkinControlFace<Framework>::Paint() {
  if (this->Width() <= 0 || this->Height() <= 0) return;
  TComponentRef<TControl> self(this);
  GetSkinData();
  if (self) PaintThroughBitmap();
}

template <class Framework>
void TqzSkinControlFace<Framework>::PaintThroughBitmap() {
  TComponentRef<TControl> self(this);
  TBitmap image(this->Width(), this->Height());
  if (SkinIndex != -1)
    CreateControlSkinImage(image);
  else if (link_.drawDefault)
    CreateControlDefaultImage(image);
  if (self) DrawComposed(*this, link_, image, this->Canvas());
}

template <class Framework>
void TqzSkinControlFace<Framework>::Dispatch(TMessage& m) {
  if (m.Msg == MSG_REFRESH_ALPHABLEND) {
    RefreshAlphaBlend();
    return;
  }
  Framework::Dispatch(m);
}

template <class Framework>
void TqzSkinControlFace<Framework>::Notification(TComponent* AComponent, TOperation Operation) {
  Framework::Notification(AComponent, Operation);
  // The slot is already cleared; the control follows as it does a skin
  // change, into its plain look.
  if (ForgetRemovedSkin(link_, AComponent, Operation) && !this->InState(csDestroying))
    ChangeSkinData();
}

template <class Framework>
void TqzSkinControlFace<Framework>::CMMouseEnter(TMessage& m) {
  if (!this->InState(csDesigning)) Framework::CMMouseEnter(m);
}

template <class Framework>
void TqzSkinControlFace<Framework>::CMMouseLeave(TMessage& m) {
  if (!this->InState(csDesigning)) Framework::CMMouseLeave(m);
}

template <class Framework>
void TqzSkinControlFace<Framework>::ApplySkinCursor() {
  if (link_.useSkinCursor) this->SetCursor(SkinCursor(link_.skinData, CursorIndex));
}

template class TqzSkinControlFace<TCustomControl>;
template class TqzSkinControlFace<TGraphicControl>;

// ---------------------------------------------------------------------------
// TqzSkinCustomFace: the resizable layer both framework bases share

template <class Face>
TqzSkinCustomFace<Face>::TqzSkinCustomFace(TComponent* AOwner)
    : Face(AOwner), defaultFont_(std::make_unique<TFont>()) {
  SetSkinControlDefaultFont(*defaultFont_);
  defaultFont_->OnChange = [this](TObject*) { OnDefaultFontChange(); };
}

template <class Face>
TqzSkinCustomFace<Face>::~TqzSkinCustomFace() {
  defaultFont_->OnChange = nullptr;
}

template <class Face>
void TqzSkinCustomFace<Face>::SetDefaultFont(const TFont& Value) {
  AssignFontQuietly(*defaultFont_, Value);
  OnDefaultFontChange();
}

template <class Face>
void TqzSkinCustomFace<Face>::OnDefaultFontChange() {
  TComponentRef<TControl> self(this);
  DefaultFontChanged();
  if (self && this->SkinIndex == -1) this->Invalidate();
}

template <class Face>
void TqzSkinCustomFace<Face>::SetDefaultWidth(int Value) {
  defaultWidth_ = Value;
  if (this->SkinIndex == -1 && Value > 0) this->SetWidth(Value);
}

template <class Face>
void TqzSkinCustomFace<Face>::SetDefaultHeight(int Value) {
  defaultHeight_ = Value;
  if (this->SkinIndex == -1 && Value > 0) this->SetHeight(Value);
}

template <class Face>
void TqzSkinCustomFace<Face>::GetSkinData() {
  Face::GetSkinData();
  TakeDescription(this->SkinIndex == -1 ? nullptr : this->SkinDescription(), this->SkinData(),
                  this->CursorIndex);
}

template <class Face>
void TqzSkinCustomFace<Face>::CreateControlDefaultImage(TBitmap& B) {
  FillWithButtonFace(B, this->ClientRect());
}

template <class Face>
void TqzSkinCustomFace<Face>::CreateControlSkinImage(TBitmap& B) {
  ComposeSkinImage(B, this->Width(), this->Height());
}

template <class Face>
void TqzSkinCustomFace<Face>::DefaultFontChanged() {}

template <class Face>
void TqzSkinCustomFace<Face>::CalcSize(int& W, int& H) {
  CalcSizeRule(this->SkinIndex != -1, W, H);
}

template <class Face>
TRect TqzSkinCustomFace<Face>::CalcNewRect(const TRect& SkinRelativeRect) const {
  return CalcNewRectRule(SkinRelativeRect, this->Width(), this->Height());
}

template <class Face>
int TqzSkinCustomFace<Face>::AdjustTopForParent(int ATop, int AHeight) const {
  return PlaceTopInParent(this->Parent(), ATop, AHeight);
}

template <class Face>
void TqzSkinCustomFace<Face>::Paint() {
  if (this->Width() < 1 || this->Height() < 1) return;
  TComponentRef<TControl> self(this);
  // The lookup and CalcSize bring the New geometry up to date first.
  this->GetSkinData();
  if (!self) return;
  int w = this->Width(), h = this->Height();
  CalcSize(w, h);
  if (this->SkinIndex != -1 && FrameOnlyPaint && ResizeMode == 1 && !this->AlphaBlend()) {
    PaintFrameOnlyPath();
    return;
  }
  if (self) this->PaintThroughBitmap();
}

template <class Face>
void TqzSkinCustomFace<Face>::PaintFrameOnlyPath() {
  TComponentRef<TControl> self(this);
  TBitmap scratch;
  CreateControlSkinImage(scratch);  // a hook: subclasses add to the frame
  if (!self) return;
  PaintFrameOnly(this->Canvas(), this->Width(), this->Height());
}

// ---------------------------------------------------------------------------
// TqzSkinControl

TqzSkinControl::TqzSkinControl(TComponent* AOwner) : TqzSkinControlFace(AOwner) {}
TqzSkinControl::~TqzSkinControl() = default;

void TqzSkinControl::SetSkinDataName(const std::string& Value) { link_.skinDataName = Value; }

// The paint covers every pixel, so erasing first would only flicker.
void TqzSkinControl::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TqzSkinControl::WMMove(TMessage& m) {
  TCustomControl::WMMove(m);
  // A blended control shows what lies under it, which moved.
  if (link_.alphaBlend) Invalidate();
}

template class TqzSkinCustomFace<TqzSkinControl>;
template class TqzSkinCustomFace<TqzGraphicSkinControl>;

// ---------------------------------------------------------------------------
// TqzSkinCustomControl

TqzSkinCustomControl::TqzSkinCustomControl(TComponent* AOwner) : TqzSkinCustomFace(AOwner) {}
TqzSkinCustomControl::~TqzSkinCustomControl() = default;

void TqzSkinCustomControl::ChangeSkinData() {
  TComponentRef<TqzSkinCustomControl> self(this);
  GetSkinData();
  ApplySkinCursor();
  const bool described = SkinIndex != -1;
  const TSize size = SizeAfterSkinChange(*this);
  const bool resized = size.cx != Width() || size.cy != Height();
  if (resized) SetBounds(Left(), Top(), size.cx, size.cy);
  // A described control's resize sets the region and repaints.
  if (!self || (resized && described)) return;
  SetControlRegion();
  if (self) Invalidate();
}

void TqzSkinCustomControl::SetControlRegion() {
  if (Parent() == nullptr) return;
  if (MaskPicture == nullptr || SkinIndex == -1) {
    if (region_) {
      region_.reset();
      if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, true);
    }
    return;
  }
  int w = Width(), h = Height();
  CalcSize(w, h);
  region_ = BuildMaskRegion(Width(), Height());
  ApplyRegion();
}

void TqzSkinCustomControl::ApplyRegion() {
  if (!HandleAllocated()) return;  // CreateWnd gives it to the window
  if (region_)
    SetWindowRgn(Handle(), *region_, true);
  else
    SetWindowRgn(Handle(), nullptr, true);
}

void TqzSkinCustomControl::CreateWnd() {
  TqzSkinCustomFace::CreateWnd();
  if (region_) ApplyRegion();
}

void TqzSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TComponentRef<TqzSkinCustomControl> self(this);
  const bool changing = FitRequestedSize(*this, AWidth, AHeight);
  const bool described = SkinIndex != -1;
  ATop = AdjustTopForParent(ATop, AHeight);
  TqzSkinCustomFace::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!self) return;
  if (changing) {
    SetControlRegion();
    Invalidate();
  }
  if (described && Geom.StretchEffect) RefreshChildren(*this);
}

// ---------------------------------------------------------------------------
// Registration

QZ_PUBLISHED(TqzSkinControl, TCustomControl) {
  b.Factory([](TComponent* owner) { return new TqzSkinControl(owner); });
  PublishSkinLink(b);
}

QZ_PUBLISHED(TqzSkinCustomControl, TqzSkinControl) {
  b.Factory([](TComponent* owner) { return new TqzSkinCustomControl(owner); });
  PublishCustomFace(b);
}

}  // namespace qz
