#include "skin/popups/SkinHint.h"

#include <algorithm>
#include <vector>

#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QzComposition.h"
#include "skin/draw/QzRegions.h"
#include "skin/popups/SkinPopupWindow.h"

namespace qz {

namespace {

constexpr uintptr_t kFadeTimerId = 1;
constexpr int kPlainMargin = 2;      // each side: 1-pixel frame and a 1-pixel gap
constexpr int kSkinExtraWidth = 5;   // room beside the text in a skinned window
constexpr int kImageGap = 10;        // between the image and the title and text
constexpr int kTitleGap = 10;        // between the title and the text
constexpr int kImageTitleSlack = 5;  // the extended hint is at least image + title + this high
constexpr uint32_t kTextFlags = DT_NOPREFIX;

// Every live hint component, in the order they were made.
std::vector<TqzSkinHint*>& LiveHints() {
  static std::vector<TqzSkinHint*> hints;
  return hints;
}

// The component whose look the application's hint window takes.
TqzSkinHint* FindActiveHint() {
  if (Application && Application->MainForm()) {
    TCustomForm* main = Application->MainForm();
    for (int i = 0; i < main->ComponentCount(); ++i)
      if (auto* h = As<TqzSkinHint>(main->Components(i)); h && h->Active()) return h;
  }
  for (TqzSkinHint* h : LiveHints())
    if (h->Active()) return h;
  return nullptr;
}

// Installed into the application as plain functions, so that no handler of
// a component outlives it and the application can tell they are ours.
void RouteShowHint(std::string& text, bool& canShow, THintInfo& info);
THintWindow* MakeSkinHintWindow(TComponent* owner) { return new TqzSkinHintWindow(owner); }

using TRouteFn = void (*)(std::string&, bool&, THintInfo&);
using TMakeFn = THintWindow* (*)(TComponent*);

bool OurHandlerInstalled() {
  const TRouteFn* fn = Application->OnShowHint.target<TRouteFn>();
  return fn != nullptr && *fn == &RouteShowHint;
}
bool OurWindowClassInstalled() {
  const TMakeFn* fn = Application->HintWindowClass.target<TMakeFn>();
  return fn != nullptr && *fn == &MakeSkinHintWindow;
}

// Makes the application drop its hint window so the next one is of the
// current class.
void RecreateApplicationHintWindow() {
  const bool show = Application->ShowHint();
  Application->SetShowHint(!show);
  Application->SetShowHint(show);
}

// The text's extent; a width above 0 wraps it at word breaks.
TSize MeasureText(TCanvas& canvas, const std::string& text, int maxWidth = 0) {
  TRect r{0, 0, maxWidth > 0 ? maxWidth : 0, 0};
  canvas.DrawText(text, r, DT_CALCRECT | kTextFlags | (maxWidth > 0 ? DT_WORDBREAK : 0u));
  return {r.Width(), r.Height()};
}

}  // namespace

// ---------------------------------------------------------------- TqzSkinHintWindow

TqzSkinHintWindow::TqzSkinHintWindow(TComponent* AOwner, TqzSkinHint* hint)
    : THintWindow(AOwner), owner_(hint) {}

TqzSkinHintWindow::~TqzSkinHintWindow() { StopFade(); }

void TqzSkinHintWindow::CreateParams(TCreateParams& params) {
  THintWindow::CreateParams(params);
  params.Style &= ~static_cast<uint32_t>(WS_BORDER);
  params.WindowClassStyle |= CS_DROPSHADOW;
}

TqzSkinHint* TqzSkinHintWindow::HintComponent() const {
  if (owner_) return owner_.Get();
  return FindActiveHint();
}

TqzSkinData* TqzSkinHintWindow::SkinData() const { return skin_.Get(); }
void TqzSkinHintWindow::SetSkinData(TqzSkinData* skin) { skin_ = skin; }

TqzSkinData* TqzSkinHintWindow::ActiveSkin() const {
  const TqzSkinHint* c = HintComponent();
  TqzSkinData* skin = skin_ ? skin_.Get() : c ? c->SkinData() : nullptr;
  if (!skin || skin->Empty()) return nullptr;
  const int index = skin->HintWindow().WindowPictureIndex;
  if (index == -1) return nullptr;
  const TBitmap* picture = skin->ActivePicture(index);
  return picture && !picture->Empty() ? skin : nullptr;
}

void TqzSkinHintWindow::SetupFont(TFont& font, bool bold) const {
  const TqzSkinHint* c = HintComponent();
  const TqzSkinData* skin = ActiveSkin();
  if (!c || (skin_ && skin)) {
    font.Assign(c ? c->DefaultFont() : Font());
    if (skin_ && skin) {
      const TqzDataSkinHintWindow& d = skin->HintWindow();
      font.SetName(d.FontName);
      font.SetHeight(d.FontHeight);
      font.SetStyle(d.FontStyle);
    }
  } else if (skin && c->UseSkinFont) {
    const TqzDataSkinHintWindow& d = skin->HintWindow();
    font.Assign(c->DefaultFont());
    font.SetName(d.FontName);
    font.SetHeight(d.FontHeight);
    font.SetStyle(d.FontStyle);
  } else {
    font.Assign(c->DefaultFont());
  }
  if (skin && skin->ResourceStrData()) font.SetCharset(static_cast<TFontCharset>(skin->ResourceStrData()->CharSet()));
  if (bold) {
    TFontStyles style = font.Style();
    style.Include(TFontStyle::fsBold);
    font.SetStyle(style);
  }
}

// Title and image (when captured) go top-left, the text below the title;
// everything is relative to the content's top-left until offset at the end.
void TqzSkinHintWindow::Measure(const std::string& hint) {
  TqzSkinHint* c = HintComponent();
  text_ = c ? c->FormatText(hint) : hint;
  layout_ = {};
  TCanvas canvas;
  SetupFont(canvas.Font(), false);
  const TSize textSize = MeasureText(canvas, text_, maxWidth_);
  TSize content = textSize;
  layout_.BodyRect = {0, 0, textSize.cx, textSize.cy};
  const std::string title = c ? c->Title() : std::string();
  const TCustomImageList* images = c ? c->ImageList() : nullptr;
  layout_.Extended = !title.empty() || images != nullptr;
  if (layout_.Extended) {
    TSize titleSize{0, 0};
    if (!title.empty()) {
      // The bold title wraps at the maximum width as the text does.
      SetupFont(canvas.Font(), true);
      titleSize = MeasureText(canvas, title, maxWidth_);
    }
    const int left = images ? images->Width() + kImageGap : 0;
    const int bodyTop = title.empty() ? 0 : titleSize.cy + kTitleGap;
    layout_.TitleRect = {left, 0, left + titleSize.cx, titleSize.cy};
    layout_.BodyRect = {left, bodyTop, left + textSize.cx, bodyTop + textSize.cy};
    content.cx = left + std::max(titleSize.cx, textSize.cx);
    content.cy = bodyTop + textSize.cy;
    if (images) content.cy = std::max(content.cy, images->Height() + titleSize.cy + kImageTitleSlack);
  }

  const TqzSkinData* skin = ActiveSkin();
  layout_.Skinned = skin != nullptr;
  if (!skin) {
    layout_.Size = {content.cx + 2 * kPlainMargin, content.cy + 2 * kPlainMargin};
    layout_.TextRect = {kPlainMargin, kPlainMargin, kPlainMargin + content.cx, kPlainMargin + content.cy};
  } else {
    const TqzDataSkinHintWindow& d = skin->HintWindow();
    const TBitmap& picture = *skin->ActivePicture(d.WindowPictureIndex);
    const int pw = picture.Width(), ph = picture.Height();
    const TRect& cl = d.ClientRect;
    int dx = content.cx + cl.Left + pw - cl.Right + kSkinExtraWidth - pw;
    int dy = content.cy + cl.Top + ph - cl.Bottom - ph;
    // The moved right and bottom corner points must not cross the fixed ones.
    dx = std::max({dx, d.LeftTopPoint.X - d.RightTopPoint.X, d.LeftBottomPoint.X - d.RightBottomPoint.X});
    dy = std::max({dy, d.LeftTopPoint.Y - d.LeftBottomPoint.Y, d.RightTopPoint.Y - d.RightBottomPoint.Y});
    layout_.Size = {pw + dx, ph + dy};
    layout_.TextRect = {cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy};
    layout_.NewClRect = layout_.TextRect;
    layout_.NewLTPoint = d.LeftTopPoint;
    layout_.NewRTPoint = {d.RightTopPoint.X + dx, d.RightTopPoint.Y};
    layout_.NewLBPoint = {d.LeftBottomPoint.X, d.LeftBottomPoint.Y + dy};
    layout_.NewRBPoint = {d.RightBottomPoint.X + dx, d.RightBottomPoint.Y + dy};
  }
  // The content block sits in the middle of the text rectangle, which may be
  // larger than the content (the skin's slack, corner points held apart).
  const TPoint origin{layout_.TextRect.Left + (layout_.TextRect.Width() - content.cx) / 2,
                      layout_.TextRect.Top + (layout_.TextRect.Height() - content.cy) / 2};
  layout_.TitleRect = OffsetRect(layout_.TitleRect, origin.X, origin.Y);
  layout_.BodyRect = OffsetRect(layout_.BodyRect, origin.X, origin.Y);
  layout_.ImagePos = origin;
}

TRect TqzSkinHintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
  maxWidth_ = std::max(maxWidth, 0);
  Measure(hint);
  return {0, 0, layout_.Size.cx, layout_.Size.cy};
}

void TqzSkinHintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
  StopFade();
  Measure(hint);
  TRect placed{rect.Left, rect.Top, rect.Left + layout_.Size.cx, rect.Top + layout_.Size.cy};
  // Handle() before the styles change: the window must exist to take them.
  Handle();
  ApplyTransparency(placed);
  SetBounds(placed.Left, placed.Top, placed.Width(), placed.Height());
  ApplyRegion();
  THintWindow::ActivateHint(placed, hint);
  const TqzSkinHint* c = HintComponent();
  if (wasLayered_ && c && alpha_ < c->AlphaBlendValue) {
    // Bound to this window's handle: the timer goes with the window.
    fadeTimer_ = SetTimer(Handle(), kFadeTimerId, kFadeIntervalMs,
                          [this](HWND, UINT, uintptr_t, DWORD) { FadeStep(); });
  }
}

void TqzSkinHintWindow::ReleaseHint() {
  StopFade();
  THintWindow::ReleaseHint();
  if (!owner_)
    if (TqzSkinHint* c = HintComponent()) c->ClearCaptured();
}

void TqzSkinHintWindow::ApplyTransparency(const TRect& placed) {
  const TqzSkinHint* c = HintComponent();
  alpha_ = 255;
  const bool support = c && c->AlphaBlendSupport();
  softwareAlpha_ = c && c->AlphaBlend && !support;
  if (softwareAlpha_) CaptureScreen(placed, this, screenUnder_);
  if (!support && !wasLayered_) return;
  const HWND h = Handle();
  const intptr_t ex = GetWindowLong(h, GWL_EXSTYLE);
  // A window layered before per-pixel alpha went away is layered no more.
  if ((c && c->AlphaBlend) || wasLayered_) SetWindowLong(h, GWL_EXSTYLE, ex & ~intptr_t(WS_EX_LAYERED));
  wasLayered_ = false;
  if (!support || !c->AlphaBlend) return;
  SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
  alpha_ = c->AlphaBlendAnimation ? 0 : c->AlphaBlendValue;
  SetLayeredWindowAttributes(h, 0, static_cast<uint8_t>(alpha_), LWA_ALPHA);
  wasLayered_ = true;
}

void TqzSkinHintWindow::FadeStep() {
  const TqzSkinHint* c = HintComponent();
  if (!c || !wasLayered_) {
    StopFade();
    return;
  }
  const int target = c->AlphaBlendValue;
  const int step = std::max(1, target / 10);
  alpha_ = std::min(alpha_ + step, target);
  SetLayeredWindowAttributes(Handle(), 0, static_cast<uint8_t>(alpha_), LWA_ALPHA);
  Invalidate();
  if (alpha_ >= target) StopFade();
}

void TqzSkinHintWindow::StopFade() {
  if (fadeTimer_ && HandleAllocated()) KillTimer(HWND(this), kFadeTimerId);
  fadeTimer_ = 0;
}

void TqzSkinHintWindow::ApplyRegion() {
  const TqzSkinData* skin = layout_.Skinned ? ActiveSkin() : nullptr;
  const TBitmap* mask = skin ? skin->ActivePicture(skin->HintWindow().MaskPictureIndex) : nullptr;
  if (!mask || mask->Empty()) {
    SetWindowRgn(Handle(), std::unique_ptr<TRegion>(), false);
    return;
  }
  const TqzDataSkinHintWindow& d = skin->HintWindow();
  TBitmap sized;
  const TqzNewGeometry n{layout_.Size.cx, layout_.Size.cy, layout_.NewLTPoint, layout_.NewRTPoint,
                         layout_.NewLBPoint, layout_.NewRBPoint, layout_.NewClRect};
  CreateSkinImage(d.Geometry({0, 0, mask->Width(), mask->Height()}), n, true, n.Width, n.Height, *mask, sized);
  std::optional<TRegion> region = CreateRegionFromMask(sized);
  SetWindowRgn(Handle(), region ? std::make_unique<TRegion>(*region) : std::unique_ptr<TRegion>(), false);
}

void TqzSkinHintWindow::Paint() {
  TBitmap image;
  image.SetSize(Width(), Height());
  if (layout_.Skinned && ActiveSkin()) PaintSkinned(image.Canvas());
  else PaintPlain(image.Canvas());
  const TqzSkinHint* c = HintComponent();
  if (softwareAlpha_ && c) BlendOverScreen(image, screenUnder_, {0, 0}, c->AlphaBlendValue);
  Canvas().Draw(0, 0, image);
}

void TqzSkinHintWindow::PaintPlain(TCanvas& canvas) {
  const TRect client{0, 0, Width(), Height()};
  canvas.Brush().SetColor(clInfoBk);
  canvas.FillRect(client);
  canvas.Brush().SetColor(clBtnShadow);
  canvas.FrameRect(client);
  PaintContent(canvas, clInfoText);
}

void TqzSkinHintWindow::PaintSkinned(TCanvas& canvas) {
  const TqzSkinData& skin = *ActiveSkin();
  const TqzDataSkinHintWindow& d = skin.HintWindow();
  const TBitmap& picture = *skin.ActivePicture(d.WindowPictureIndex);
  const TqzNewGeometry n{Width(), Height(), layout_.NewLTPoint, layout_.NewRTPoint,
                         layout_.NewLBPoint, layout_.NewRBPoint, layout_.NewClRect};
  TBitmap composed;
  CreateSkinImage(d.Geometry({0, 0, picture.Width(), picture.Height()}), n, true, n.Width, n.Height, picture,
                  composed);
  canvas.Draw(0, 0, composed);
  PaintContent(canvas, d.FontColor);
}

void TqzSkinHintWindow::PaintContent(TCanvas& canvas, TColor textColor) {
  canvas.SetBkMode(TRANSPARENT);
  const TqzSkinHint* c = HintComponent();
  // Wrapped title and text break within their measured widths, so the lines
  // are those that were measured.
  const uint32_t wrap = maxWidth_ > 0 ? DT_WORDBREAK : 0u;
  if (layout_.Extended && c) {
    if (const TCustomImageList* images = c->ImageList())
      images->Draw(canvas, layout_.ImagePos.X, layout_.ImagePos.Y, c->ImageIndex());
    SetupFont(canvas.Font(), true);
    canvas.Font().SetColor(textColor);
    canvas.DrawText(c->Title(), layout_.TitleRect, DT_LEFT | kTextFlags | wrap);
  }
  SetupFont(canvas.Font(), false);
  canvas.Font().SetColor(textColor);
  if (layout_.Skinned && !layout_.Extended) {
    // Each line centred in the text rectangle; the block centred down it.
    TRect r = layout_.TextRect;
    r.Top = layout_.BodyRect.Top;
    if (wrap) r = layout_.BodyRect;
    canvas.DrawText(text_, r, DT_CENTER | kTextFlags | wrap);
  } else {
    canvas.DrawText(text_, layout_.BodyRect, DT_LEFT | kTextFlags | wrap);
  }
}

// ---------------------------------------------------------------- TqzSkinHint

namespace {

void RouteShowHint(std::string& text, bool& canShow, THintInfo& info) {
  if (TqzSkinHint* h = FindActiveHint()) h->HandleShowHintFor(text, canShow, info);
}

}  // namespace

TqzSkinHint::TqzSkinHint(TComponent* AOwner) : TComponent(AOwner), defaultFont_(std::make_unique<TFont>()) {
  SetAlphaBlendSupport(true);
  LiveHints().push_back(this);
  if (!InState(csDesigning)) Install();
}

TqzSkinHint::~TqzSkinHint() {
  StopTimer();
  auto& live = LiveHints();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  Uninstall();
}

void TqzSkinHint::Install() {
  if (!Application) return;
  Application->HintWindowClass = &MakeSkinHintWindow;
  RecreateApplicationHintWindow();
  Application->OnShowHint = &RouteShowHint;
  Application->SetHintShortPause(100);
}

// The last component gone gives the application its plain hints back.
void TqzSkinHint::Uninstall() {
  if (!Application || !LiveHints().empty()) return;
  if (OurHandlerInstalled()) Application->OnShowHint = nullptr;
  if (OurWindowClassInstalled()) {
    Application->HintWindowClass = nullptr;
    RecreateApplicationHintWindow();
  }
}

void TqzSkinHint::Loaded() {
  TComponent::Loaded();
  if (active_) SetActive(true);
}

void TqzSkinHint::SetActive(bool v) {
  active_ = v;
  if (!v || InState(csLoading)) return;
  for (TqzSkinHint* other : LiveHints())
    if (other != this) other->active_ = false;
  if (Application && !InState(csDesigning)) Application->OnShowHint = &RouteShowHint;
}

void TqzSkinHint::SetSkinData(TqzSkinData* v) { SetReference(skinData_, v); }

void TqzSkinHint::SetAlphaBlendSupport(bool v) { alphaBlendSupport_ = v; }

bool TqzSkinHint::AlphaBlendSupport() const {
  return alphaBlendSupport_ && (InState(csDesigning) || Platform().SupportsPerPixelAlpha());
}

std::string TqzSkinHint::FormatText(const std::string& hint) const {
  if (LineSeparator.empty()) return hint;
  std::string out;
  size_t from = 0;
  for (size_t at = hint.find(LineSeparator); at != std::string::npos; at = hint.find(LineSeparator, from)) {
    out.append(hint, from, at - from);
    out += '\n';
    from = at + LineSeparator.size();
  }
  out.append(hint, from, std::string::npos);
  return out;
}

void TqzSkinHint::ClearCaptured() {
  title_.clear();
  SetReference(imageList_, static_cast<TCustomImageList*>(nullptr));
  imageIndex_ = 0;
}

void TqzSkinHint::CaptureFrom(TControl* control) {
  if (auto* s = As<TqzSkinControl>(control)) {
    title_ = s->HintTitle();
    SetReference(imageList_, s->HintImageList());
    imageIndex_ = s->HintImageIndex();
  } else if (auto* g = As<TqzGraphicSkinControl>(control)) {
    title_ = g->HintTitle();
    SetReference(imageList_, g->HintImageList());
    imageIndex_ = g->HintImageIndex();
  }
}

void TqzSkinHint::HandleShowHintFor(std::string& text, bool& canShow, THintInfo& info) {
  ClearCaptured();
  CaptureFrom(info.HintControl);
  if (OnShowHint) {
    TShowHintEvent handler = OnShowHint;
    handler(text, canShow, info);
  }
}

TqzSkinHintWindow* TqzSkinHint::Window() {
  if (!window_) window_ = new TqzSkinHintWindow(this, this);
  return window_.Get();
}

void TqzSkinHint::ShowHintText(const std::string& text) {
  StopTimer();
  text_ = text;
  ClearCaptured();
  StartTimer(static_cast<unsigned>(Application->HintPause()), true);
}

void TqzSkinHint::ActivateHint(TPoint screen, const std::string& text) {
  StopTimer();
  text_ = text;
  ClearCaptured();
  Open(screen, text);
  StartTimer(static_cast<unsigned>(Application->HintHidePause()), false);
}

void TqzSkinHint::HideHintText() {
  StopTimer();
  if (window_ && window_->IsShowing()) window_->ReleaseHint();
  ClearCaptured();
}

void TqzSkinHint::Open(TPoint screen, const std::string& text) {
  TqzSkinHintWindow* window = Window();
  const TRect size = window->CalcHintRect(0, text);
  window->ActivateHint(PlaceHintRect(screen, {size.Width(), size.Height()}, HintWorkArea(screen)), text);
}

void TqzSkinHint::StartTimer(unsigned ms, bool pending) {
  StopTimer();
  pending_ = pending;
  timer_ = SetTimer(nullptr, 0, ms, [this](HWND, UINT, uintptr_t, DWORD) { TimerFired(); });
}

void TqzSkinHint::StopTimer() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
  pending_ = false;
}

void TqzSkinHint::TimerFired() {
  const bool wasPending = pending_;
  StopTimer();
  if (!wasPending) {
    HideHintText();
    return;
  }
  TPoint cursor;
  GetCursorPos(cursor);
  Open({cursor.X, cursor.Y + kCursorVisibleHeight}, text_);
  StartTimer(static_cast<unsigned>(Application->HintHidePause()), false);
}

}  // namespace qz

#include "host/components/Properties.h"

namespace qz {

QZ_PUBLISHED(TqzSkinHint, TComponent) {
  using O = TqzSkinHint;
  b.Factory([](TComponent* owner) { return new TqzSkinHint(owner); });
  b.Prop("Active", &O::Active, &O::SetActive, true);
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Object("DefaultFont", [](O& o) -> TFont& { return o.DefaultFont(); });
  b.Prop("UseSkinFont", &O::UseSkinFont, true);
  b.Prop("LineSeparator", &O::LineSeparator, std::string("@"));
  b.Prop("AlphaBlend", &O::AlphaBlend, false);
  b.Prop("AlphaBlendValue", &O::AlphaBlendValue, uint8_t(200));
  b.Prop("AlphaBlendAnimation", &O::AlphaBlendAnimation, false);
  b.Prop("AlphaBlendSupport", &O::AlphaBlendSupport, &O::SetAlphaBlendSupport, true);
  b.Event<TShowHintEvent>("OnShowHint", &O::OnShowHint);
}

}  // namespace qz
