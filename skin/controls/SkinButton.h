// The skinned push, toggle and group button.
//
// The first half of this header holds the button's rules as plain functions
// (which state image shows, how missing looks fall back, the fade steps, the
// glyph frame, the caption colour, the animation frames): they need no window
// and are tested on their own. The second half is the control.
#pragma once

#include "host/base/Color.h"
#include "host/base/Types.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

class TBitmap;
class TqzDataSkinButtonControl;

// ---------------------------------------------------------------- rules

// The state rectangles of a button description after the fall-backs: an
// empty active look is the normal one, an empty down look the active one.
// Focused and Disabled stay empty when the description has none (the
// choice below then skips them).
struct TqzButtonLooks {
  TRect Normal, Active, Down, Focused, Disabled;
};
TqzButtonLooks ResolveButtonLooks(const TqzDataSkinButtonControl& d);

// Which of the looks a paint shows; Fade blends Normal into Active.
enum class TqzButtonLook { Normal, Active, Down, Focused, Disabled, Fade };

struct TqzButtonState {
  bool Enabled = true;
  bool Down = false;
  int GroupIndex = 0;
  bool MouseIn = false;
  bool Focused = false;  // has the focus and may take it (CanFocused)
  bool MouseDownFlag = false;
  bool MorphAvailable = false;
  int FadeStep = 0;  // 0 .. kButtonFadeSteps
  bool Animating = false;
  bool HasDisabledLook = false;
  bool HasFocusedLook = false;
};

struct TqzButtonLookChoice {
  TqzButtonLook Look = TqzButtonLook::Normal;
  bool IsActive = false;
  bool IsDown = false;
};
TqzButtonLookChoice ChooseButtonLook(const TqzButtonState& s);

// Whether a Down button shows its down look now: group buttons always; a
// push button only while the mouse is over it, or while it has the focus
// and the mouse did not press it (the Space key).
bool ShowsDownLook(const TqzButtonState& s);

// The fade between the normal and the active look moves in steps of a fifth
// every 20 ms. The position is kept in whole steps so that the last step
// lands exactly on the target look.
inline constexpr int kButtonFadeSteps = 5;
inline constexpr unsigned kButtonFadeIntervalMs = 20;
struct TqzFadeTick {
  int Step = 0;
  bool Stop = false;  // the fade reached its end: the timer stops
};
TqzFadeTick NextFadeTick(int step, bool towardsActive);
inline double FadeKf(int step) { return double(step) / kButtonFadeSteps; }

// The glyph frame (1-based) a state draws from a strip of numGlyphs frames.
int ButtonGlyphFrame(int numGlyphs, bool active, bool down, bool enabled);

// The caption colour of a state (see the control's colour rule).
struct TqzButtonColors {
  TColor Font = 0, Active = 0, Down = 0, Disabled = 0;
  TColor DefaultFont = 0;  // the DefaultFont's colour
  TColor SkinButtonText = 0;
};
struct TqzCaptionColorInput {
  bool Enabled = true, UseSkinFontColor = true, Active = false, Down = false;
  bool Transparent = false, HasSkin = false;
};
TColor ButtonCaptionColor(const TqzButtonColors& c, const TqzCaptionColorInput& in);

// Frame `frame` (1-based) of an animation strip: frames lie side by side when
// the strip is wider than the skin rectangle, else one below the other.
// Empty for a frame outside 1 .. frameCount.
TRect AnimationFrameRect(const TRect& strip, const TRect& skinRect, int frameCount, int frame);

// The content rectangle of a button whose size is free of the skin: the
// client rectangle grown by what the button is larger than its skin.
TRect FreeSizeContentRect(const TRect& clientRect, const TRect& skinRect, int width, int height);

// Composes the look at stateRect (a rectangle laid out like the description's
// SkinRect) into dest at width x height. With skinSized the description's
// resize rules apply (fixed axes snap to the skin size); otherwise the size is
// free and the look is scaled: a fixed-size look whole, a three-part look
// with its client rectangle as the stretched middle.
void ComposeButtonLook(const TqzSkinGeometry& g, const TRect& stateRect, bool skinSized, int width,
                       int height, const TBitmap& picture, TBitmap& dest);

// The glow picture brought to a button of width x height: its four offsets
// are fixed borders and the inside stretches. A glow picture for a
// fixed-size button is used as it is.
void ComposeGlowImage(const TBitmap& glow, const TRect& offsets, bool fixedSize, int width,
                      int height, TBitmap& dest);

}  // namespace qz
