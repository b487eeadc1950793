// TqzSkinStdLabel: the framework label drawing in the font of a skin's
// font-only description.
#include "skin/controls/SkinLabel.h"

#include "skin/data/SkinData.h"

namespace qz {

uint32_t EllipsisFlag(TqzEllipsType type) {
  switch (type) {
    case TqzEllipsType::qzetEndEllips: return DT_END_ELLIPSIS;
    case TqzEllipsType::qzetPathEllips: return DT_PATH_ELLIPSIS;
    case TqzEllipsType::qzetNone: break;
  }
  return 0;
}

TqzSkinStdLabel::TqzSkinStdLabel(TComponent* AOwner)
    : TLabel(AOwner), defaultFont_(std::make_unique<TFont>()) {
  SetTransparent(true);
  defaultFont_->SetName("Tahoma");
  defaultFont_->SetHeight(13);
  defaultFont_->OnChange = [this](TObject*) {
    TComponentRef<TqzSkinStdLabel> self(this);
    ReapplyAutoSize();
    if (self) Invalidate();
  };
}

TqzSkinStdLabel::~TqzSkinStdLabel() { defaultFont_->OnChange = nullptr; }

void TqzSkinStdLabel::SetEllipsType(TqzEllipsType value) {
  if (value == ellipsType_) return;
  ellipsType_ = value;
  Invalidate();
}

void TqzSkinStdLabel::SetUseSkinFont(bool value) {
  if (value == useSkinFont_) return;
  useSkinFont_ = value;
  TComponentRef<TqzSkinStdLabel> self(this);
  ReapplyAutoSize();
  if (self) Invalidate();
}

void TqzSkinStdLabel::SetUseSkinColor(bool value) {
  if (value == useSkinColor_) return;
  useSkinColor_ = value;
  Invalidate();
}

void TqzSkinStdLabel::SetSkinData(TqzSkinData* value) {
  SetReference(skinData_, value);
  if (value != nullptr && !value->Empty() && !InState(csDesigning)) ChangeSkinData();
}

const TqzDataSkinStdLabelControl* TqzSkinStdLabel::Description() const {
  if (skinData_ == nullptr || skinData_->Empty()) return nullptr;
  const int index = skinData_->FindControlIndex(skinDataName_);
  if (index < 0) return nullptr;
  return dynamic_cast<const TqzDataSkinStdLabelControl*>(skinData_->CtrlList()[size_t(index)].get());
}

void TqzSkinStdLabel::GetSkinData() {
  skinIndex_ = Description() != nullptr ? skinData_->FindControlIndex(skinDataName_) : -1;
}

void TqzSkinStdLabel::BeforeChangeSkinData() { skinIndex_ = -1; }

void TqzSkinStdLabel::ChangeSkinData() {
  GetSkinData();
  TComponentRef<TqzSkinStdLabel> self(this);
  ReapplyAutoSize();  // a resize handler may free the label
  if (self) Invalidate();
}

void TqzSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TLabel::Notification(AComponent, Operation);
  // The reference is already cleared when the skin data goes.
  if (Operation == opRemove && skinData_ == nullptr && skinIndex_ != -1) ChangeSkinData();
}

void TqzSkinStdLabel::SelectTextFont(TFont& font) const {
  const TqzDataSkinStdLabelControl* d = Description();
  if (d == nullptr) {
    font.Assign(useSkinFont_ ? *defaultFont_ : Font());
  } else {
    font.Assign(Font());
    if (useSkinFont_) {
      font.SetName(d->FontName);
      font.SetStyle(d->FontStyle);
      font.SetHeight(d->FontHeight);
    }
    if (useSkinColor_) font.SetColor(d->FontColor);
  }
  const TqzResourceStrData* strings = skinData_ != nullptr ? skinData_->ResourceStrData() : nullptr;
  font.SetCharset(strings != nullptr ? TFontCharset(strings->CharSet()) : defaultFont_->Charset());
}

void TqzSkinStdLabel::DoDrawText(TCanvas& canvas, TRect& r, uint32_t flags) {
  GetSkinData();
  std::string text = Caption();
  const bool measuring = (flags & DT_CALCRECT) != 0;
  if (measuring && (text.empty() || (ShowAccelChar() && text == "&"))) text = " ";
  SelectTextFont(canvas.Font());
  if (measuring) {
    // An auto-sized label always fits: measure the whole text.
    canvas.DrawText(text, r, flags);
    return;
  }
  flags |= EllipsisFlag(ellipsType_);
  if (Enabled()) {
    canvas.DrawText(text, r, flags);
    return;
  }
  const bool skinned = skinIndex_ != -1;
  const TColor highlight = skinned ? skinData_->SkinColors().cBtnHighLight : clBtnHighlight;
  const TColor shadow = skinned ? skinData_->SkinColors().cBtnShadow : clBtnShadow;
  canvas.Font().SetColor(highlight);
  canvas.DrawText(text, OffsetRect(r, 1, 1), flags);
  canvas.Font().SetColor(shadow);
  canvas.DrawText(text, r, flags);
}

TSize TqzSkinStdLabel::AutoSizeExtent(int width) {
  TCanvas measure;
  TRect r{0, 0, WordWrap() ? width : 0, 0};
  DoDrawText(measure, r, TextFlags() | DT_CALCRECT);
  return {r.Width(), r.Height()};
}

void TqzSkinStdLabel::ReapplyAutoSize() {
  if (AutoSize()) SetBounds(Left(), Top(), Width(), Height());
}

void TqzSkinStdLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (AutoSize() && !InState(csLoading)) {
    const TSize extent = AutoSizeExtent(AWidth);
    if (!WordWrap()) {
      // The aligned side stays where it was asked to be.
      if (Alignment() == taRightJustify) ALeft += AWidth - extent.cx;
      if (Alignment() == taCenter) ALeft += (AWidth - extent.cx) / 2;
      AWidth = extent.cx;
    }
    AHeight = extent.cy;
  }
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TqzSkinStdLabel::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    c.Brush().SetColor(Color());
    c.FillRect(r);
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  const uint32_t flags = TextFlags();
  if (Layout() != tlTop) {
    TRect calc = r;
    DoDrawText(c, calc, flags | DT_CALCRECT);
    const int h = calc.Height();
    r.Top += Layout() == tlCenter ? (r.Height() - h) / 2 : r.Height() - h;
  }
  DoDrawText(c, r, flags);
}

QZ_PUBLISHED(TqzSkinStdLabel, TLabel) {
  using O = TqzSkinStdLabel;
  b.Factory([](TComponent* owner) { return new TqzSkinStdLabel(owner); });
  b.Prop("Transparent", &O::Transparent, &O::SetTransparent, true);
  b.Enum("EllipsType", &O::EllipsType, &O::SetEllipsType, TqzEllipsType::qzetNone);
  b.Prop("UseSkinFont", &O::UseSkinFont, &O::SetUseSkinFont, true);
  b.Prop("UseSkinColor", &O::UseSkinColor, &O::SetUseSkinColor, true);
  b.Object("DefaultFont", [](O& o) -> TFont& { return o.DefaultFont(); });
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("stdlabel"));
}

}  // namespace qz
