// The menu button: the drop-down part, opening and closing the menu, keys,
// and the painting of the drop-down part and the content.
#include "skin/popups/SkinMenuButton.h"

#include <utility>

#include "host/base/Stream.h"
#include "host/ui/ImgList.h"
#include "host/ui/StdCtrls.h"
#include "host/ui/Windows.h"
#include "skin/base/SkinMessages.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"
#include "skin/draw/QzGlyphs.h"
#include "skin/popups/SkinImagesMenu.h"
#include "skin/popups/SkinMenu.h"

namespace qz {

namespace {

constexpr int kArrowKindDown = 4;
constexpr int kPressedArrowShift = 2;

void FillFramed(TCanvas& c, const TRect& r, TColor fill, TColor frame) {
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(fill);
  c.FillRect(r);
  c.Brush().SetColor(frame);
  c.FrameRect(r);
}

}  // namespace

bool IsGenericButtonLook(const std::string& name) {
  return name == "resizebutton" || name == "resizetoolbutton" || name == "toolbutton" || name == "bigtoolbutton";
}

TRect MenuButtonDropDownRect(const TqzDropDownInput& in) {
  if (!in.HasMenu) return {};
  if (!in.TrackButtonMode) return {0, 0, in.Width, in.Height};
  if (!in.Described) return {in.Width - kMenuButtonDropDownWidth, 0, in.Width, in.Height};
  TRect r = in.TrackButtonRect;
  if (in.ResizeMode == 2) r = OffsetRect(r, in.Width - in.SkinSize.cx, 0);
  if (in.ResizeMode == 3) r = OffsetRect(r, 0, in.Height - in.SkinSize.cy);
  return r;
}

TqzSkinMenuButton::TqzSkinMenuButton(TComponent* AOwner) : TqzSkinButton(AOwner) {
  link_.skinDataName = "toolmenubutton";
}

TqzSkinMenuButton::~TqzSkinMenuButton() = default;

// ---------------------------------------------------------------- properties

void TqzSkinMenuButton::SetSkinPopupMenu(TqzSkinPopupMenu* v) { SetReference(popupMenu_, v); }
void TqzSkinMenuButton::SetSkinImagesMenu(TqzSkinImagesMenu* v) {
  SetReference(imagesMenu_, v);
  Invalidate();
}

void TqzSkinMenuButton::SetTrackButtonMode(bool v) {
  trackButtonMode_ = v;
  Invalidate();
}

void TqzSkinMenuButton::SetUseImagesMenuImage(bool v) {
  useImagesMenuImage_ = v;
  Invalidate();
}

void TqzSkinMenuButton::SetUseImagesMenuCaption(bool v) {
  useImagesMenuCaption_ = v;
  Invalidate();
}

void TqzSkinMenuButton::GetSkinData() {
  TqzSkinButton::GetSkinData();
  const auto* d = dynamic_cast<const TqzDataSkinMenuButtonControl*>(SkinDescription());
  trackButtonRect_ = d ? d->TrackButtonRect : TRect{};
  downSkinRect_ = d ? d->DownSkinRect : TRect{};
  described_ = d != nullptr && !IsGenericButtonLook(SkinDataName());
}

TRect TqzSkinMenuButton::DropDownRect() const {
  TqzDropDownInput in;
  in.HasMenu = HasMenu();
  in.TrackButtonMode = trackButtonMode_;
  in.Described = described_;
  in.TrackButtonRect = trackButtonRect_;
  in.SkinSize = {Geom.SkinRect.Width(), Geom.SkinRect.Height()};
  in.ResizeMode = ResizeMode;
  in.Width = Width();
  in.Height = Height();
  return MenuButtonDropDownRect(in);
}

// ---------------------------------------------------------------- the menu

bool TqzSkinMenuButton::OpenMenu() {
  TComponentRef<TqzSkinMenuButton> self(this);
  menuOpen_ = true;
  if (!Down()) SetDown(true);
  if (!self) return false;
  Invalidate();
  const TPoint topLeft = ClientToScreen({0, 0});
  const TRect anchor{topLeft.X, topLeft.Y, topLeft.X + Width(), topLeft.Y + Height()};
  bool opened = false;
  if (popupMenu_) {
    popupMenu_->PopupFromRect(this, anchor, false);
    if (!self) return false;
    const TqzMenuRoute route = popupMenu_ ? FindMenuRoute(popupMenu_) : TqzMenuRoute{};
    opened = route.Menu && route.Menu->Visible();
  } else if (imagesMenu_) {
    openImagesMenu_ = imagesMenu_;
    imagesMenu_->Popup(anchor, [ref = TComponentRef<TqzSkinMenuButton>(this)] {
      if (ref) ref->MenuClosed();
    });
    if (!self) return false;
    opened = imagesMenu_ && imagesMenu_->Opened();
  }
  if (!menuOpen_) return true;  // closed again while it opened
  if (!opened) {
    // Nothing could show (no skinned form, no images): the button comes up.
    MenuClosed();
    return static_cast<bool>(self);
  }
  // The menu took the focus, which lets a focused push button up silently.
  if (!Down()) SetDown(true);
  return static_cast<bool>(self);
}

void TqzSkinMenuButton::MenuClosed() {
  if (!menuOpen_) return;
  menuOpen_ = false;
  spaceOpenedMenu_ = false;
  openImagesMenu_ = nullptr;
  TComponentRef<TqzSkinMenuButton> self(this);
  SetDown(false);
  if (!self) return;
  TPoint cursor;
  GetCursorPos(cursor);
  const bool over = HandleAllocated() && WindowFromPoint(cursor) == Handle();
  mouseIn_ = over;
  if (OnHideTrackMenu) {
    OnHideTrackMenu(this);
    if (!self) return;
  }
  // The button's own hover look (and its glow frame) follows the pointer.
  if (over != MouseIn()) {
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
    if (!self) return;
  }
  Invalidate();
}

void TqzSkinMenuButton::Dispatch(TMessage& m) {
  if (m.Msg == WM_CLOSESKINMENU) {
    MenuClosed();
    return;
  }
  TqzSkinButton::Dispatch(m);
}

// An images menu freed while open for this button never calls back: the
// button comes up once the current message is done.
void TqzSkinMenuButton::Notification(TComponent* AComponent, TOperation Operation) {
  TqzSkinButton::Notification(AComponent, Operation);
  if (Operation != opRemove || !menuOpen_ || AComponent != openImagesMenu_) return;
  openImagesMenu_ = nullptr;
  if (HandleAllocated()) PostMessage(Handle(), WM_CLOSESKINMENU);
}

// ---------------------------------------------------------------- mouse

void TqzSkinMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && !ComponentState().Contains(csDesigning)) {
    mouseIn_ = true;
    if (DropDownRect().Contains({X, Y})) {
      OpenMenu();
      return;
    }
    menuOpen_ = false;
  }
  TqzSkinButton::MouseDown(Button, Shift, X, Y);
}

void TqzSkinMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && menuOpen_) return;
  TqzSkinButton::MouseUp(Button, Shift, X, Y);
}

void TqzSkinMenuButton::CMMouseEnter(TMessage& m) {
  mouseIn_ = true;
  if (menuOpen_) return;
  TqzSkinButton::CMMouseEnter(m);
}

void TqzSkinMenuButton::CMMouseLeave(TMessage& m) {
  mouseIn_ = false;
  TqzSkinButton::CMMouseLeave(m);
}

// ---------------------------------------------------------------- keyboard

void TqzSkinMenuButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (Key == VK_SPACE && CanFocused() && HasMenu() && !trackButtonMode_) {
    Key = 0;
    if (spaceOpenedMenu_) return;
    spaceOpenedMenu_ = true;
    OpenMenu();
    return;
  }
  TqzSkinButton::KeyDown(Key, Shift);
}

void TqzSkinMenuButton::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (Key == VK_SPACE && spaceOpenedMenu_) {
    Key = 0;
    if (!menuOpen_) spaceOpenedMenu_ = false;
    return;
  }
  TqzSkinButton::KeyUp(Key, Shift);
}

void TqzSkinMenuButton::CMDialogChar(TMessage& m) {
  const bool opens = !trackButtonMode_ && HasMenu() && CanFocused() &&
                     IsAccel(static_cast<char32_t>(m.WParam), Caption()) && CanFocus();
  if (!opens) {
    TqzSkinButton::CMDialogChar(m);
    return;
  }
  m.Result = 1;
  TComponentRef<TqzSkinMenuButton> self(this);
  SetFocus();
  if (self) OpenMenu();
}

// ---------------------------------------------------------------- painting

bool TqzSkinMenuButton::ShowsImagesMenuSelection() const {
  if (!useImagesMenuImage_ || imagesMenu_ == nullptr || imagesMenu_->Images() == nullptr) return false;
  return imagesMenu_->SelectedItem() != nullptr;
}

void TqzSkinMenuButton::DrawContent(TCanvas& canvas, const TRect& r, bool isDown) {
  TqzImageAndTextOptions options;
  options.Layout = Layout();
  options.Margin = Margin();
  options.Spacing = Spacing();
  options.Pressed = isDown;
  if (ShowsImagesMenuSelection()) {
    const TqzImagesMenuItem& item = *imagesMenu_->SelectedItem();
    const std::string& caption = useImagesMenuCaption_ ? item.Caption : Caption();
    DrawImageAndText(canvas, r, caption, imagesMenu_->Images(), item.ImageIndex, Enabled(), options);
    return;
  }
  if (ImageList() && ImageIndex() >= 0 && ImageIndex() < ImageList()->Count()) {
    DrawImageAndText(canvas, r, Caption(), ImageList(), ImageIndex(), Enabled(), options);
    return;
  }
  const int frame = ButtonGlyphFrame(NumGlyphs(), mouseIn_, isDown, Enabled());
  const bool hasFrame = frame <= NumGlyphs() && !Glyph().Empty();
  DrawImageAndText(canvas, r, Caption(), hasFrame ? &Glyph() : nullptr, hasFrame ? frame : 1, NumGlyphs(),
                   options);
}

void TqzSkinMenuButton::CreateControlDefaultImage(TBitmap& B) {
  const int w = std::max(Width(), 1), h = std::max(Height(), 1);
  B.SetSize(w, h);
  TCanvas& c = B.Canvas();
  const bool pressed = Down() && mouseIn_;
  const bool hot = mouseIn_ || (CanFocused() && Focused());
  const int split = w - kMenuButtonDropDownWidth;
  if (trackButtonMode_) {
    const TRect main{0, 0, split, h}, drop{split, 0, w, h};
    if (menuOpen_) {
      FillFramed(c, main, kPlainLookHotFill, kPlainLookHotFrame);
      FillFramed(c, drop, kPlainLookDownFill, kPlainLookDownFill);
    } else if (pressed) {
      FillFramed(c, main, kPlainLookDownFill, kPlainLookHotFrame);
      FillFramed(c, drop, kPlainLookDownFill, kPlainLookHotFrame);
    } else if (hot) {
      FillFramed(c, main, kPlainLookHotFill, kPlainLookHotFrame);
      FillFramed(c, drop, kPlainLookHotFill, kPlainLookHotFrame);
    } else {
      FillFramed(c, main, clBtnFace, clBtnShadow);
      FillFramed(c, drop, clBtnFace, clBtnShadow);
    }
  } else if (pressed || hot) {
    FillFramed(c, {0, 0, w, h}, pressed ? kPlainLookDownFill : kPlainLookHotFill, kPlainLookHotFrame);
  } else {
    FillFramed(c, {0, 0, w, h}, clBtnFace, clBtnShadow);
  }
  c.Font().Assign(DefaultFont());
  if (const TqzSkinData* skin = SkinData(); skin && skin->ResourceStrData())
    c.Font().SetCharset(static_cast<TFontCharset>(skin->ResourceStrData()->CharSet()));
  if (!Enabled()) c.Font().SetColor(clBtnShadow);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  DrawContent(c, {0, 0, split, h}, Down());
  const bool shifted = pressed || menuOpen_;
  const TRect arrow = shifted ? TRect{w - kMenuButtonDropDownWidth + kPressedArrowShift, kPressedArrowShift, w,
                                      h + kPressedArrowShift}
                              : TRect{split, 0, w, h};
  DrawArrowImage(c, arrow, clBtnText, kArrowKindDown);
  B.Modified();
}

void TqzSkinMenuButton::CreateControlSkinImage(TBitmap& B) {
  const bool splitLook = described_ && menuOpen_ && trackButtonMode_ && !trackButtonRect_.IsEmpty() &&
                         !downSkinRect_.IsEmpty() && Picture != nullptr;
  if (!splitLook) {
    TqzSkinButton::CreateControlSkinImage(B);
    return;
  }
  TComponentRef<TqzSkinMenuButton> self(this);
  CreateButtonImage(B, SkinValues().Looks.Active, true, false);
  if (self) DrawDropDownFromDownLook(B);
}

// The part of the down look at the track button's place, onto the placed
// drop-down part.
void TqzSkinMenuButton::DrawDropDownFromDownLook(TBitmap& B) {
  if (B.Empty() || Picture == nullptr) return;
  const TRect& t = trackButtonRect_;
  const TRect source{downSkinRect_.Left + t.Left, downSkinRect_.Top + t.Top, downSkinRect_.Left + t.Right,
                     downSkinRect_.Top + t.Bottom};
  B.Canvas().CopyRect(DropDownRect(), Picture->Canvas(), source);
  B.Modified();
}

// With the images menu's selection shown, the look is composed here and the
// selection drawn as the content; otherwise the button draws itself.
void TqzSkinMenuButton::CreateButtonImage(TBitmap& Bitmap, const TRect& StateRect, bool IsActive, bool IsDown) {
  if (!ShowsImagesMenuSelection() || Picture == nullptr) {
    TqzSkinButton::CreateButtonImage(Bitmap, StateRect, IsActive, IsDown);
    return;
  }
  const TqzSkinGeometry g = Geometry();
  ComposeButtonLook(g, StateRect, UseSkinSize(), Width(), Height(), *Picture, Bitmap);
  if (Bitmap.Empty()) return;
  TCanvas& c = Bitmap.Canvas();
  const TqzButtonSkinValues& v = SkinValues();
  if (UseSkinFont()) {
    c.Font().SetName(v.FontName);
    c.Font().SetHeight(v.FontHeight);
    c.Font().SetStyle(v.FontStyle);
  } else {
    c.Font().Assign(DefaultFont());
  }
  TqzButtonColors colors{v.FontColor, v.ActiveFontColor, v.DownFontColor, v.DisabledFontColor,
                         DefaultFont().Color(), 0};
  if (SkinData()) colors.SkinButtonText = SkinData()->SkinColors().cBtnText;
  TqzCaptionColorInput in;
  in.Enabled = Enabled();
  in.UseSkinFontColor = UseSkinFontColor();
  in.Active = IsActive;
  in.Down = IsDown;
  in.Transparent = Transparent();
  in.HasSkin = SkinData() != nullptr;
  c.Font().SetColor(ButtonCaptionColor(colors, in));
  c.Brush().SetStyle(TBrushStyle::bsClear);
  const TqzResizeMode mode = CalcResizeMode(g);
  const TRect content = UseSkinSize() || mode == TqzResizeMode::NinePart
                            ? CalcNewGeometry(g, mode, Bitmap.Width(), Bitmap.Height()).NewClRect
                            : FreeSizeContentRect(g.ClientRect, StateRect, Bitmap.Width(), Bitmap.Height());
  DrawContent(c, content, IsDown);
  Bitmap.Modified();
}

QZ_PUBLISHED(TqzSkinMenuButton, TqzSkinButton) {
  using B = TqzSkinMenuButton;
  b.Factory([](TComponent* owner) { return new TqzSkinMenuButton(owner); });
  b.Prop("SkinDataName", &B::SkinDataName, [](B& o, const std::string& v) { o.SetSkinDataName(v); },
         std::string("toolmenubutton"));
  b.Ref<TqzSkinPopupMenu>("SkinPopupMenu", &B::SkinPopupMenu, &B::SetSkinPopupMenu);
  b.Ref<TqzSkinImagesMenu>("SkinImagesMenu", &B::SkinImagesMenu, &B::SetSkinImagesMenu);
  b.Prop("TrackButtonMode", &B::TrackButtonMode, &B::SetTrackButtonMode, false);
  b.Prop("UseImagesMenuImage", &B::UseImagesMenuImage, &B::SetUseImagesMenuImage, false);
  b.Prop("UseImagesMenuCaption", &B::UseImagesMenuCaption, &B::SetUseImagesMenuCaption, false);
  b.Event<TNotifyEvent>("OnHideTrackMenu", &B::OnHideTrackMenu);
}

}  // namespace qz
