// The pressable objects: buttons, standard caption buttons, the caption menu
// button and animated buttons.
#include <algorithm>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/ui/ImgList.h"
#include "host/ui/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/draw/PixelOps.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"
#include "skin/form/SkinObjects.h"

namespace qz {

// ---------------------------------------------------------------------------
// Button

TqzSkinButtonObject::TqzSkinButtonObject(TqzObjectHost& host, const TqzDataSkinButton& data)
    : TqzActiveSkinObject(host, data) {}

TqzSkinButtonObject::~TqzSkinButtonObject() {
  if (group_) std::erase(*group_, this);
}

void TqzSkinButtonObject::JoinGroup(std::shared_ptr<TqzButtonGroup> group) {
  if (group_) std::erase(*group_, this);
  group_ = std::move(group);
  if (group_) group_->push_back(this);
}

// A menu whose items are all hidden opens nothing: the button acts as one
// without a menu.
bool TqzSkinButtonObject::HasMenu() const { return Menu && Menu->HasShownItems(); }

void TqzSkinButtonObject::SetDown(bool value) {
  if (down_ == value) return;
  down_ = value;
  if (down_ && InGroup() && group_) {
    for (TqzSkinButtonObject* other : *group_) {
      if (other == this || !other->down_ || other->ButtonData().GroupIndex != ButtonData().GroupIndex)
        continue;
      other->down_ = false;
      host_.RedrawObject(*other);
    }
  }
  host_.RedrawObject(*this);
}

void TqzSkinButtonObject::Draw(TCanvas& canvas, bool compose) {
  if (!Skin()) return;
  const TqzDataSkinButton& d = ButtonData();
  const TRect disabled = ActiveLook(d.DisableSkinRect);
  const TRect downLook = ActiveLook(d.DownRect);
  if (!Enabled && !disabled.IsEmpty()) {
    DrawPiece(canvas, ActivePicture(), disabled);
  } else if (down_ && !downLook.IsEmpty() && (InGroup() || MouseIn)) {
    DrawPiece(canvas, ActivePicture(), downLook);
  } else {
    TqzActiveSkinObject::Draw(canvas, compose);
  }
}

void TqzSkinButtonObject::DrawAlphaLayer(TCanvas& canvas, TPixmap& bitmap) {
  Draw(canvas, true);
  const TqzSkinData* skin = Skin();
  if (!skin) return;
  const TqzDataSkinButton& d = ButtonData();
  // The state's mask and the look whose cell it covers.
  int index = d.AlphaMaskPictureIndex;
  TRect look = d.SkinRect;
  if (!host_.FormActive() && d.AlphaMaskInActivePictureIndex != -1) {
    index = d.AlphaMaskInActivePictureIndex;
    look = d.InActiveSkinRect;
  } else if (down_ && MouseIn && d.AlphaMaskActivePictureIndex != -1) {
    index = d.AlphaMaskActivePictureIndex;
    look = d.DownRect;
  } else if (Active && d.AlphaMaskActivePictureIndex != -1) {
    index = d.AlphaMaskActivePictureIndex;
    look = d.ActiveSkinRect;
  }
  const TBitmap* mask = skin->ActivePicture(index);
  if (!mask) return;
  const TPixmap& m = mask->Pixels();
  // A mask as large as the object is read from its top-left, a larger one
  // at the look's cell.
  const TPoint origin = look.Right <= m.Width() && look.Bottom <= m.Height() && look.Left >= 0 &&
                                look.Top >= 0 && !look.IsEmpty()
                            ? look.TopLeft()
                            : TPoint{0, 0};
  const int w = std::min({ObjectRect.Width(), m.Width() - origin.X, bitmap.Width() - ObjectRect.Left});
  const int h =
      std::min({ObjectRect.Height(), m.Height() - origin.Y, bitmap.Height() - ObjectRect.Top});
  for (int y = std::max(0, -ObjectRect.Top); y < h; ++y) {
    for (int x = std::max(0, -ObjectRect.Left); x < w; ++x) {
      const uint32_t p = m.At(origin.X + x, origin.Y + y);
      const int sum = int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF);
      const uint32_t alpha = uint32_t(RoundHalfEven(sum / 3.0));
      uint32_t& dest = bitmap.At(ObjectRect.Left + x, ObjectRect.Top + y);
      dest = (dest & 0xFFFFFF) | alpha << 24;
    }
  }
}

bool TqzSkinButtonObject::PressButton(TqzMouseButton button) {
  if (!Enabled || button != TqzMouseButton::mbLeft || down_) return false;
  SetDown(true);
  return HasMenu();
}

void TqzSkinButtonObject::ReleaseButton(TqzMouseButton button) {
  if (!Enabled || button != TqzMouseButton::mbLeft) return;
  if (down_ && !HasMenu() && !InGroup()) SetDown(false);
}

// A menu may run a command that frees the form and its objects, so it opens
// last, after the object's own press and its event.
void TqzSkinButtonObject::MouseDown(int x, int y, TqzMouseButton button) {
  const bool opensMenu = PressButton(button);
  const TLiveness alive = Liveness();
  TqzActiveSkinObject::MouseDown(x, y, button);
  if (alive && opensMenu) host_.PopupMenuBelow(*Menu, ObjectRect);
}

void TqzSkinButtonObject::MouseUp(int x, int y, TqzMouseButton button) {
  ReleaseButton(button);
  TqzActiveSkinObject::MouseUp(x, y, button);
}

void TqzSkinButtonObject::MenuClosed() {
  if (down_ && !InGroup()) SetDown(false);
}

// ---------------------------------------------------------------------------
// Standard button

TqzSkinStdButtonObject::TqzSkinStdButtonObject(TqzObjectHost& host,
                                               const TqzDataSkinStdButton& data)
    : TqzSkinButtonObject(host, data) {}

bool TqzSkinStdButtonObject::AlternateState() const {
  switch (Command()) {
    case TqzStdCommand::Maximize: return host_.Maximized();
    // The main form minimises the whole application and is never seen minimised.
    case TqzStdCommand::Minimize: return !host_.IsMainForm() && host_.Minimized();
    case TqzStdCommand::RollUp: return host_.RolledUp();
    default: return false;
  }
}

std::string TqzSkinStdButtonObject::Hint() const {
  if (AlternateState() && !StdData().RestoreHint.empty()) return StdData().RestoreHint;
  return data_.Hint;
}

bool TqzSkinStdButtonObject::ShowsIcon() const {
  return Command() == TqzStdCommand::SysMenu && data_.SkinRectInAPicture && host_.ShowIcon();
}

bool TqzSkinStdButtonObject::InActiveArea(int x, int y) const {
  return ShowsIcon() || TqzSkinButtonObject::InActiveArea(x, y);
}

void TqzSkinStdButtonObject::ShowLayer() {
  if (!ShowsIcon()) TqzSkinButtonObject::ShowLayer();
}

void TqzSkinStdButtonObject::MouseEnter() {
  if (!ShowsIcon()) return TqzSkinButtonObject::MouseEnter();
  RunEnter(false);  // the icon has no hover look
}

void TqzSkinStdButtonObject::MouseLeave() {
  if (!ShowsIcon()) return TqzSkinButtonObject::MouseLeave();
  RunLeave(false);
}

void TqzSkinStdButtonObject::DrawAlternate(TCanvas& canvas, bool compose) {
  const TqzDataSkinStdButton& d = StdData();
  const TRect downLook = ActiveLook(d.RestoreDownRect);
  const TRect inactive = ActiveLook(d.RestoreInActiveRect);
  if (!host_.FormActive() && !inactive.IsEmpty()) {
    DrawPiece(canvas, ActivePicture(), inactive);
  } else if (down_ && MouseIn && !downLook.IsEmpty()) {
    DrawPiece(canvas, ActivePicture(), downLook);
  } else {
    DrawLooks(canvas, compose, {d.RestoreRect, ActiveLook(d.RestoreActiveRect), {}});
  }
}

void TqzSkinStdButtonObject::DrawDefault(TCanvas& canvas) {
  if (Active || down_) {
    canvas.Brush().SetColor(down_ && MouseIn ? kPlainLookDownFill : kPlainLookHotFill);
    canvas.FillRect(ObjectRect);
    canvas.Brush().SetColor(kPlainLookHotFrame);
    canvas.FrameRect(ObjectRect);
  } else {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(ObjectRect);
  }
  const TColor color = Enabled ? clBtnText : clBtnShadow;
  const int x = ObjectRect.Left + (ObjectRect.Width() - 10) / 2;
  const int y = ObjectRect.Top + (ObjectRect.Height() - 10) / 2;
  const bool alternate = AlternateState();
  switch (Command()) {
    case TqzStdCommand::Close: DrawCloseGlyph(canvas, x, y, color); break;
    case TqzStdCommand::Maximize:
      alternate ? DrawRestoreGlyph(canvas, x, y, color) : DrawMaximizeGlyph(canvas, x, y, color);
      break;
    case TqzStdCommand::Minimize:
      alternate ? DrawRestoreGlyph(canvas, x, y, color) : DrawMinimizeGlyph(canvas, x, y, color);
      break;
    case TqzStdCommand::RollUp:
      alternate ? DrawRollDownGlyph(canvas, x, y, color) : DrawRollUpGlyph(canvas, x, y, color);
      break;
    case TqzStdCommand::SysMenu: DrawSysMenuGlyph(canvas, x, y, color); break;
    case TqzStdCommand::MinimizeToTray: DrawMinimizeToTrayGlyph(canvas, x, y, color); break;
    case TqzStdCommand::Default: break;
  }
}

void TqzSkinStdButtonObject::Draw(TCanvas& canvas, bool compose) {
  if (!Skin()) return DrawDefault(canvas);
  if (ShowsIcon()) {
    if (FormIcon) canvas.Draw(ObjectRect.Left, ObjectRect.Top, *FormIcon);
    return;
  }
  if (AlternateState()) return DrawAlternate(canvas, compose);
  TqzSkinButtonObject::Draw(canvas, compose);
}

void TqzSkinStdButtonObject::DblClick() {
  if (Enabled && Command() == TqzStdCommand::SysMenu) host_.ExecuteCommand(TqzStdCommand::Close);
}

void TqzSkinStdButtonObject::MouseDown(int x, int y, TqzMouseButton button) {
  if (Command() != TqzStdCommand::SysMenu) return TqzSkinButtonObject::MouseDown(x, y, button);
  // The system menu opens on the press, below the button, as the last step.
  const bool opens = Enabled && button == TqzMouseButton::mbLeft && !down_;
  if (opens) SetDown(true);
  const TLiveness alive = Liveness();
  TqzActiveSkinObject::MouseDown(x, y, button);
  if (alive && opens) host_.PopupSystemMenuBelow(ObjectRect);
}

void TqzSkinStdButtonObject::MouseUp(int x, int y, TqzMouseButton button) {
  const bool runs = Enabled && Active && button == TqzMouseButton::mbLeft &&
                    Command() != TqzStdCommand::SysMenu && Command() != TqzStdCommand::Default;
  const TLiveness alive = Liveness();
  if (Command() == TqzStdCommand::SysMenu) {
    // Down stays while the system menu is open (MenuClosed releases it).
    TqzActiveSkinObject::MouseUp(x, y, button);
  } else {
    // The button's own release comes first: closing may free the form.
    TqzSkinButtonObject::MouseUp(x, y, button);
  }
  if (!alive || !runs) return;
  HideLayer();
  host_.ExecuteCommand(Command());
}

// ---------------------------------------------------------------------------
// Caption menu button

TqzSkinCaptionMenuButton::TqzSkinCaptionMenuButton(TqzObjectHost& host,
                                                   const TqzDataSkinCaptionMenuButton& data)
    : TqzSkinButtonObject(host, data) {}

void TqzSkinCaptionMenuButton::Draw(TCanvas& canvas, bool) {
  TBitmap* picture = ActivePicture();
  if (!picture || ObjectRect.IsEmpty()) return;
  const TqzDataSkinCaptionMenuButton& d = MenuData();
  TRect look = d.SkinRect;
  TColor color = d.FontColor;
  if (down_ && !d.DownRect.IsEmpty()) {
    look = d.DownRect;
    color = d.DownFontColor;
  } else if (Active && !d.ActiveSkinRect.IsEmpty()) {
    look = d.ActiveSkinRect;
    color = d.ActiveFontColor;
  } else if (!host_.FormActive()) {
    if (!d.InActiveSkinRect.IsEmpty()) look = d.InActiveSkinRect;
    color = d.InActiveFontColor;
  }
  if (look.IsEmpty()) return;
  TBitmap image;
  CreateHSkinImage(d.LeftOffset, d.RightOffset, image, true, ObjectRect.Width(), look,
                   *picture);
  canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);

  // Image and caption centred in clientrect, whose right edge follows the width.
  TRect client = d.ClientRect.IsEmpty() ? TRect{0, 0, look.Width(), look.Height()} : d.ClientRect;
  client.Right += ObjectRect.Width() - look.Width();
  client = OffsetRect(client, ObjectRect.Left, ObjectRect.Top);
  canvas.Font().SetName(d.FontName);
  canvas.Font().SetHeight(d.FontHeight);
  canvas.Font().SetStyle(d.FontStyle);
  canvas.Font().SetColor(color);
  const int imageWidth = Images && ImageIndex >= 0 && ImageIndex < Images->Count() ? Images->Width() : 0;
  const int textWidth = Caption.empty() ? 0 : canvas.TextWidth(Caption);
  const int gap = imageWidth > 0 && textWidth > 0 ? 3 : 0;
  int x = client.Left + (client.Width() - imageWidth - gap - textWidth) / 2;
  if (imageWidth > 0) {
    Images->Draw(canvas, x, client.Top + (client.Height() - Images->Height()) / 2, ImageIndex, Enabled);
    x += imageWidth + gap;
  }
  if (textWidth > 0) {
    canvas.SetBkMode(TRANSPARENT);
    canvas.TextOut(x, client.Top + (client.Height() - canvas.TextHeight(Caption)) / 2, Caption);
  }
}

// ---------------------------------------------------------------------------
// Animate object

TqzSkinAnimateObject::TqzSkinAnimateObject(TqzObjectHost& host, const TqzDataSkinAnimate& data)
    : TqzActiveSkinObject(host, data) {}

int TqzSkinAnimateObject::Interval() const { return std::max(25, AnimData().TimerInterval); }

bool TqzSkinAnimateObject::AlternateState() const {
  switch (AnimData().Command) {
    case TqzStdCommand::Maximize: return host_.Maximized();
    case TqzStdCommand::Minimize: return !host_.IsMainForm() && host_.Minimized();
    case TqzStdCommand::RollUp: return host_.RolledUp();
    default: return false;
  }
}

std::string TqzSkinAnimateObject::Hint() const {
  if (AlternateState() && !AnimData().RestoreHint.empty()) return AnimData().RestoreHint;
  return data_.Hint;
}

void TqzSkinAnimateObject::Play(bool forwards) {
  forwards_ = forwards;
  playing_ = true;
  delay_ = 25;
  host_.StartAnimateTimer();
}

bool TqzSkinAnimateObject::AnimateStep() {
  if (!playing_) return false;
  if (delay_ < Interval()) {
    delay_ += 25;
    return true;
  }
  delay_ = 25;
  if (forwards_) {
    frame_ = frame_ >= FrameCount() ? 1 : frame_ + 1;
    if (!AnimData().Cycle && frame_ == FrameCount()) playing_ = false;
  } else {
    frame_ = frame_ <= 1 ? FrameCount() : frame_ - 1;
    if (frame_ == 1) playing_ = false;
  }
  host_.RedrawObject(*this);
  return true;
}

void TqzSkinAnimateObject::Draw(TCanvas& canvas, bool) {
  TBitmap* picture = ActivePicture();
  if (!picture) return;
  const TqzDataSkinAnimate& d = AnimData();
  const bool alternate = AlternateState();
  const TRect first = alternate && !d.RestoreRect.IsEmpty() ? d.RestoreRect : d.SkinRect;
  const TRect downLook = alternate ? d.RestoreDownRect : d.DownSkinRect;
  const TRect inactive = alternate ? d.RestoreInActiveRect : d.InActiveSkinRect;
  auto cell = [&](int frame) {
    const int left = first.Left + (frame - 1) * first.Width();
    return TRect{left, first.Top, left + first.Width(), first.Bottom};
  };
  if (menuOpen_) DrawPiece(canvas, picture, cell(FrameCount()));
  else if (!host_.FormActive() && !inactive.IsEmpty()) DrawPiece(canvas, picture, inactive);
  else if (down_ && MouseIn && !downLook.IsEmpty()) DrawPiece(canvas, picture, downLook);
  else DrawPiece(canvas, picture, cell(frame_));
}

void TqzSkinAnimateObject::MouseEnter() {
  if (AnimData().ButtonStyle && Enabled) Play(true);
  TqzActiveSkinObject::MouseEnter();
}

void TqzSkinAnimateObject::MouseLeave() {
  if (AnimData().ButtonStyle) Play(false);
  TqzActiveSkinObject::MouseLeave();
}

void TqzSkinAnimateObject::MouseDown(int x, int y, TqzMouseButton button) {
  const TqzDataSkinAnimate& d = AnimData();
  const bool left = Enabled && button == TqzMouseButton::mbLeft;
  if (left && !d.DownSkinRect.IsEmpty()) {
    down_ = true;
    frame_ = FrameCount();
    host_.RedrawObject(*this);
  }
  const TLiveness alive = Liveness();
  TqzActiveSkinObject::MouseDown(x, y, button);
  if (!alive || !left) return;
  // Menus open last: a command from them may free the object.
  if (d.Command == TqzStdCommand::SysMenu) {
    menuOpen_ = true;
    host_.PopupSystemMenuBelow(ObjectRect);
  } else if (Menu && Menu->HasShownItems()) {
    menuOpen_ = true;
    host_.PopupMenuBelow(*Menu, ObjectRect);
  }
}

void TqzSkinAnimateObject::MouseUp(int x, int y, TqzMouseButton button) {
  const TqzDataSkinAnimate& d = AnimData();
  const bool runs = Enabled && MouseIn && d.ButtonStyle && button == TqzMouseButton::mbLeft &&
                    d.Command != TqzStdCommand::SysMenu && d.Command != TqzStdCommand::Default;
  if (down_ && button == TqzMouseButton::mbLeft) {
    down_ = false;
    host_.RedrawObject(*this);
  }
  const TLiveness alive = Liveness();
  TqzActiveSkinObject::MouseUp(x, y, button);
  if (!alive || !runs) return;
  HideLayer();
  host_.ExecuteCommand(d.Command);
}

void TqzSkinAnimateObject::DblClick() {
  if (Enabled && AnimData().Command == TqzStdCommand::SysMenu)
    host_.ExecuteCommand(TqzStdCommand::Close);
}

void TqzSkinAnimateObject::MenuClosed() {
  if (!menuOpen_) return;
  menuOpen_ = false;
  host_.RedrawObject(*this);
}

}  // namespace qz
