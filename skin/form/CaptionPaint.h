// The caption object's looks: its composed image (active, inactive, morphed
// between the two, or a glow-animation frame), the text with its frame,
// light, shadow, glow and reflection, placed by the description.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Types.h"
#include "skin/form/FrameGeometry.h"
#include "skin/form/ObjectHost.h"

namespace qz {

class TBitmap;
class TCanvas;
class TCustomImageList;
class TFont;
class TqzSkinData;

// ---- Quick buttons and caption tabs: what one of them shows ----

enum class TqzQuickButtonLook { Normal, Hot, Down };
struct TqzQuickButtonPaint {
  TRect Rect;  // window coordinates, from LayoutQuickButtons
  TqzQuickButtonLook Look = TqzQuickButtonLook::Normal;
  int ImageIndex = -1;
  std::string Caption;  // drawn right of the image
  bool HasPopupMenu = false;  // a small arrow at the right
  bool Enabled = true;
};

enum class TqzCaptionTabLook { Normal, Hot, Selected };
struct TqzCaptionTabPaint {
  TRect Rect;  // window coordinates, from LayoutCaptionTabs
  TqzCaptionTabLook Look = TqzCaptionTabLook::Normal;
  std::string Caption;  // "&" underlines the accelerator
  int ImageIndex = -1;
};

struct TqzCaptionPaintInput {
  const TqzDataSkinCaption* Data = nullptr;
  const TqzSkinData* Skin = nullptr;
  TRect ObjectRect;              // window rectangle of the caption
  bool Active = true;            // drawn in the active look
  double Kf = 1.0;               // morph factor
  bool MorphInProgress = false;
  int GlowFrame = 0;             // 1..framecount while the glow frames play, 0 none
  bool RolledUp = false;         // the inactive look comes from the roll-up picture
  bool FrameMode = true;
  bool FormActive = true;        // for the inactive effect
  const TqzFrameRects* Rects = nullptr;  // frame corners for the three-part look
  TqzCaptionContext Context;
  // The text room's sides as the quick buttons and caption tabs leave them
  // (window coordinates, from LayoutQuickButtons / LayoutCaptionTabs);
  // unset without them.
  std::optional<int> TextRoomLeft, TextRoomRight;
  bool QuickButtonsShown = false;  // frame mode with quick buttons: the text is centred
  bool TabsReplaceText = false;    // caption tabs centred over the caption: no text
  // Drawn over the caption's look in frame mode (empty otherwise).
  std::vector<TqzQuickButtonPaint> QuickButtons;
  const TCustomImageList* QuickImages = nullptr;
  std::vector<TqzCaptionTabPaint> Tabs;
  const TCustomImageList* TabImages = nullptr;
};
// Compose: build the caption image (true) or only draw the text over what
// the frame shows already (false).
void PaintCaption(TCanvas& canvas, const TqzCaptionPaintInput& in, bool compose);

// ---- The steps of PaintCaption, for the controller and the tests ----

// The room of the text in window coordinates: textrect at the caption's
// place, its right edge following the caption's width, narrowed by the
// quick buttons and tabs, moved inside the text frame when the description
// has one. Empty without textrect.
TRect CaptionTextRect(const TqzCaptionPaintInput& in);

// The caption font: the description's font with UseSkinFont, else
// DefCaptionFont; the colour of the look; the character set of the skin's
// resource strings when there are any.
void SelectCaptionFont(TFont& font, const TqzCaptionPaintInput& in, bool active);

// Where the text goes in `room` with the canvas's font: shortened with
// "..." to the room's width, centred vertically (one pixel higher when the
// font height is odd) and aligned by the description.
struct TqzCaptionTextPlace {
  std::string Text;  // as drawn
  TPoint Pos;        // top-left of the text
  TSize Extent;      // of the drawn text
};
TqzCaptionTextPlace PlaceCaptionText(TCanvas& canvas, const TqzDataSkinCaption& data,
                                     const TRect& room, std::string_view text,
                                     bool centred = false);

// The look of `source` rectangle `r` at the caption's window size: in a
// stretchable skin a three-part image along the frame edge the caption lies
// on (the parts inside the frame's corner pieces fixed), else a 1:1 copy.
void ComposeCaptionLook(const TqzCaptionPaintInput& in, const TBitmap& source, const TRect& r,
                        TBitmap& dest);

// Frame i (1-based) of `count` equal slices of the animation rectangle:
// stacked vertically when it is taller than the caption's skinrect, else
// side by side. Empty for an index outside 1..count.
TRect GlowFrameRect(const TRect& animateRect, int count, int index, int skinRectHeight);

// ---- Quick buttons and caption tabs (frame mode) ----
// The caption object lays them out with these, hit-tests them, narrows the
// text room by the result and hands their looks to PaintCaption.

// One quick button: a plate over the caption's look (none when normal,
// lighter when hot, darker when down; its opacity shaped by the picture of
// quickbuttonalphamaskpictureindex when that names one), the image centred
// in the room left of the caption text and menu arrow, the caption text in
// the caption's font.
void PaintQuickButton(TCanvas& canvas, const TqzCaptionPaintInput& in,
                      const TqzQuickButtonPaint& button);

// The skin's "captiontab" description; null without one.
const TqzDataSkinCaptionTab* FindCaptionTabData(const TqzSkinData& skin);

// One caption tab: the description's skinrect (normal), activeskinrect (hot)
// or downrect (selected) as a horizontal three-part image of the tab's
// width (leftoffset / rightoffset fixed), falling back selected -> hot ->
// normal for empty rects; image and text centred in the clientrect, whose
// right edge follows the width, in the font colour of the look.
void PaintCaptionTab(TCanvas& canvas, const TqzSkinData& skin, const TqzDataSkinCaptionTab& data,
                     const TqzCaptionTabPaint& tab, const TCustomImageList* images);

struct TqzQuickButtonInfo {
  bool Visible = true;
  bool RightSide = false;     // qzqbpRight: runs leftwards from the caption's right
  bool HasPopupMenu = false;  // widened by 7 for the menu arrow
  int CaptionWidth = -1;      // text width of its caption, -1 without one
};
struct TqzQuickButtonLayout {
  std::vector<TRect> Buttons;  // one per button asked for, empty when invisible
  int TextLeft = 0, TextRight = 0;
};
// `caption` is the caption's window rectangle, `image` the size of the
// quick image list's images, `iconShown` whether the form icon sits at the
// caption's left (dividerrect's width then comes before the buttons).
// textLeft/textRight: the text room's sides before the buttons.
TqzQuickButtonLayout LayoutQuickButtons(const TqzSkinData& skin, const TqzDataSkinCaption& data,
                                        const TRect& caption, TSize image, bool iconShown,
                                        const std::vector<TqzQuickButtonInfo>& buttons,
                                        int textLeft, int textRight);

enum TqzCaptionTabPos { qztpLeft, qztpCenter, qztpRight };
struct TqzCaptionTabInfo {
  bool Visible = true;
  int TextWidth = 0;
};
// Tabs from `start` (the caption's left + 5, or past the quick buttons)
// to the caption's right: each is the "captiontab" description's skinrect
// height tall and text width + 20 wide (+ imageWidth + 5 with images);
// invisible tabs and tabs passing the caption's end get an empty
// rectangle. None at all without the description.
std::vector<TRect> LayoutCaptionTabs(const TqzSkinData& skin, const TRect& caption, int start,
                                     const std::vector<TqzCaptionTabInfo>& tabs, int imageWidth,
                                     TqzCaptionTabPos pos);

}  // namespace qz
