// "dialog.ini": the light, neutral skin of the message box, the file and
// folder dialogs and the second window. The frame is a sizeable window in
// frame mode with rounded top corners, a caption with its five buttons and
// a soft layered shadow around it.
#include <cmath>

#include "skins/DialogSkinParts.h"
#include "skins/Skins.h"

namespace qz::skingen {

namespace dialogskin {

namespace {

const TRadii kWindowRadii{frame::kTopRadius, frame::kTopRadius, frame::kBottomRadius,
                          frame::kBottomRadius};

// The window's outline, caption and borders; the client area is the plain
// dialog background (it is tiled or stretched behind the controls).
void PaintWindowPicture(TPixmap& pic) {
  TPainter p(pic);
  const TRectF shape(0, 0, frame::kWidth, frame::kHeight);
  p.Set(pic.Bounds(), tone::kOutside);
  p.FillRoundRect(shape, kWindowRadii, tone::kCaptionBottom);
  p.SetClip({0, 0, frame::kWidth, frame::kCaptionHeight});
  p.FillRoundRect(shape, kWindowRadii,
                  TFill::Vertical(TRectF(0, 1, frame::kWidth, frame::kCaptionHeight - 1),
                                  tone::kCaptionTop, tone::kCaptionBottom));
  p.ResetClip();
  // A white line under the top edge, the line between caption and client and
  // a thin line around the client area.
  p.StrokeRoundRect(shape.Inflated(-1), TRadii::Top(frame::kTopRadius - 1), 1,
                    TFill::Vertical(TRectF(0, 1, frame::kWidth, 6), Hex(0xFFFFFF),
                                    Fade(Hex(0xFFFFFF), 0)));
  const TRect& cl = frame::kClient;
  p.Set(InflateRect(cl, 1, 1), tone::kInnerLine);
  p.Set(cl, tone::kBody);
  p.StrokeRoundRect(shape, kWindowRadii, 1, tone::kOutline);
}

// Black inside the window: every pixel whose centre lies in the rounded shape.
void PaintWindowMask(TPixmap& mask) {
  const TRectF shape(0, 0, frame::kWidth, frame::kHeight);
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      mask.At(x, y) = RoundRectDistance(shape, kWindowRadii, x + 0.5, y + 0.5) <= 0 ? 0xFF000000
                                                                                   : 0xFFFFFFFF;
}

// The rolled-up window: the caption rows and the bottom edge of `from`,
// as the frame shows them when the client part is folded away.
TPixmap FoldedWindow(const TPixmap& from) {
  const int top = frame::kClient.Top, bottom = frame::kHeight - frame::kClient.Bottom;
  TPixmap folded(from.Width(), top + bottom);
  for (int y = 0; y < folded.Height(); ++y) {
    const int source = y < top ? y : frame::kClient.Bottom + (y - top);
    for (int x = 0; x < from.Width(); ++x) folded.At(x, y) = from.At(x, source);
  }
  return folded;
}

void SetFormInfo(TqzSkinFormInfo& f) {
  const int w = frame::kWidth, h = frame::kHeight;
  // The corner pieces hold the rounded corners; edges and the client stretch.
  f.LeftTopPoint = {12, frame::kCaptionHeight + 4};
  f.RightTopPoint = {w - 12, frame::kCaptionHeight + 4};
  f.LeftBottomPoint = {12, h - 12};
  f.RightBottomPoint = {w - 12, h - 12};
  f.ClientRect = frame::kClient;
  f.LeftStretch = f.RightStretch = f.TopStretch = f.BottomStretch = true;
  f.StretchEffect = true;
  f.StretchType = TqzStretchType::Full;
  f.ButtonsRect = frame::kButtonsRect;
  f.CaptionRect = frame::kCaptionRect;
  f.ButtonsOffset = frame::kButtonsOffset;
  f.MaskRectArea = frame::kClient;
  // Diagonal sizing in the corners, 10 pixels each way.
  f.HitTestLeftTopPoint = {10, 10};
  f.HitTestRightTopPoint = {w - 10, 10};
  f.HitTestLeftBottomPoint = {10, h - 10};
  f.HitTestRightBottomPoint = {w - 10, h - 10};
  f.BorderWidth = frame::kBorder;
  // Room for the system-menu icon, a short title and the button row.
  f.FormMinWidth = 220;
  // The rolled-up window stretches between its rounded corners.
  f.RollUpLeftPoint = {12, 0};
  f.RollUpRightPoint = {w - 12, 0};
}

// The caption of the window; `rollUp` makes the twin shown while the window
// is rolled up (the frame then keeps only its caption and bottom edge, cut
// from the same main picture, so the twin has the same looks).
void AddCaption(TSkinBuilder& skin, const char* name, bool rollUp) {
  auto& cap = skin.Object<TqzDataSkinCaption>(name);
  cap.RollUp = rollUp;
  cap.SkinRect = frame::kCaptionRect;
  cap.DefaultCaption = true;
  cap.TextRect = {6, 0, frame::kCaptionRect.Width() - 6, frame::kCaptionRect.Height()};
  SetFont(cap, 13, true, style::kLight.TextDim);
  cap.FontName = style::kCaptionFont;
  cap.ActiveFontColor = Col(style::kLight.Text);
  cap.Alignment = qzTaLeftJustify;
}

}  // namespace

void PaintFrame(TContext& c) {
  PaintWindowPicture(c.Skin.Picture());
  PaintWindowMask(c.Skin.Mask());
  SetFormInfo(c.Skin.FormInfo());
  AddCaption(c.Skin, "caption", false);
}

void PaintRolledUpFrame(TContext& c) {
  c.Skin.RollUpPicture() = FoldedWindow(c.Skin.Picture());
  c.Skin.RollUpMask() = FoldedWindow(c.Skin.Mask());
  AddCaption(c.Skin, "rollupcaption", true);
}

void SetSkinColors(TSkinBuilder& skin) {
  TqzSkinColors& k = skin.Colors();
  const style::TPalette& pal = style::kLight;
  k.cBtnFace = Col(pal.Background);
  k.cBtnText = Col(pal.Text);
  k.cWindow = 16777215;        // white fields
  k.cWindowText = Col(pal.Text);
  k.cHighLight = 11250603;     // neutral grey selection
  k.cHighLightText = Col(pal.Text);
  k.cBtnHighLight = Col(Hex(0xFFFFFF));
  k.cBtnShadow = 4473924;      // dark grey: disabled text shadows, plain frames
  k.c3DLight = Col(Hex(0xE4E7EB));
  k.c3DDkShadow = Col(pal.BorderStrong);
}

}  // namespace dialogskin

std::unique_ptr<TSkinBuilder> BuildDialogSkin() {
  using namespace dialogskin;
  auto owned = std::make_unique<TSkinBuilder>("dialog.ini", frame::kWidth, frame::kHeight,
                                              tone::kBody);
  TSkinBuilder& skin = *owned;
  skin.SkinName = "Dialogs";
  skin.SkinComments = "Light skin of the message box, the file dialogs and the second window";

  TContext c{skin, {}};
  c.Pics.Controls = skin.AddActivePicture("dlgcontrols.bmp", 512, 352, tone::kBody);
  c.Pics.Popup = skin.AddActivePicture("dlgpopup.bmp", 40, 40, tone::kField);
  c.Pics.CaptionButtons = skin.AddActivePicture("dlgcaption.bmp", 400, 160, tone::kBody);
  c.Pics.Hint = skin.AddActivePicture("dlghint.bmp", 40, 40, tone::kHint);
  c.Pics.WindowMask = skin.AddActivePicture("dlgwindowmask.bmp", 40, 40, Hex(0x000000));
  c.Pics.Layer = skin.AddActivePicture("dlglayer.bmp", 132, 132, Hex(0x000000));
  c.Pics.LayerAlpha = skin.AddActivePicture("dlglayeralpha.bmp", 132, 132, Hex(0x000000));

  PaintFrame(c);
  PaintCaptionButtons(c);  // fixed bands first: they reserve their rows
  PaintRolledUpFrame(c);   // after the window's own objects, which keep their order
  PaintPushButtons(c);     // fixed places of [button] first in the controls picture
  PaintTrackBars(c);
  PaintChecks(c);
  PaintFields(c);
  PaintScrollBars(c);
  PaintPanels(c);
  PaintLabels(c);
  PaintMenus(c);
  PaintHint(c);
  PaintLayerFrame(c);
  SetSkinColors(skin);
  CheckPictureRects(skin);
  skin.LeadWith("trackbar");
  return owned;
}

}  // namespace qz::skingen
