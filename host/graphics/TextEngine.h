// The text engine: faces chosen by fontconfig, glyphs rendered by FreeType.
//
// Face choice: a family name, a pixel height and bold/italic. fontconfig picks
// the face ("Arial" resolves to a metric-compatible face such as Liberation
// Sans through the system's alias rules). The real Tahoma of the Wine fonts
// (/usr/share/wine/fonts/tahoma.ttf, tahomabd.ttf) lies outside fontconfig's
// folders; it is added to the application font set when present. When nothing
// matches, DejaVu Sans is used. Bold and italic come from the face's own
// styles when it has them, otherwise they are synthesised (outline embolden,
// 12-degree shear).
//
// Hinting: FT_LOAD_TARGET_LIGHT (vertical hinting only), anti-aliased 8-bit
// coverage, integer pixel advances (the hinted advance rounded), no kerning.
// All metrics are integers, so layouts are deterministic.
//
// Sizes follow the platform's logical font height: height < 0 asks for an em
// (character) height of -height pixels; height > 0 for a cell height
// (ascent + descent from the face's OS/2 win metrics) of height pixels.
//
// Faces and rendered glyphs are cached (per face file, pixel size, synthetic
// style and glyph). The engine is safe to use from several threads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

struct TFontRequest {
  std::string family = "Tahoma";
  int height = -11;  // logical height as TFont::Height
  bool bold = false;
  bool italic = false;
  friend bool operator==(const TFontRequest&, const TFontRequest&) = default;
};

// Where fontconfig found a face.
struct TFontMatch {
  std::string file;
  int index = 0;
  std::string family;     // the matched face's family name
  bool faceBold = false;  // the face itself is bold (no synthesis needed)
  bool faceItalic = false;
};

struct TGlyph {
  int left = 0;     // bitmap offset from the pen position
  int top = 0;      // rows above the baseline of the bitmap's first row
  int width = 0;
  int height = 0;
  int advance = 0;  // pixels
  std::vector<uint8_t> coverage;  // width * height, 0..255
};

struct TFaceMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;            // ascent + descent
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int emPixels = 0;
  int underlinePosition = 0;   // rows below the baseline of the underline's top row
  int underlineThickness = 1;
  int strikeoutPosition = 0;   // rows above the baseline of the strike-out's top row
  int strikeoutThickness = 1;
  bool bold = false;
  bool italic = false;
};

class TFontFace {
 public:
  virtual ~TFontFace() = default;
  virtual const TFaceMetrics& Metrics() const = 0;
  virtual const TFontMatch& Match() const = 0;
  // The rendered glyph of a code point (the face's missing-glyph box when the
  // face lacks it). The reference stays valid as long as the face lives.
  virtual const TGlyph& Glyph(char32_t ch) = 0;
  // Sum of advances.
  int Width(std::u32string_view text);
};

class TTextEngine {
 public:
  static TTextEngine& Instance();
  virtual ~TTextEngine() = default;
  // Never null: falls back to DejaVu Sans and, failing that, to any face
  // fontconfig knows. Raises EOutOfResources only when no face at all loads.
  virtual std::shared_ptr<TFontFace> Face(const TFontRequest& request) = 0;
  virtual TFontMatch Resolve(const std::string& family, bool bold, bool italic) = 0;
  // True when fontconfig's match for family really is that family (not a
  // fallback or alias). Tests use it to skip when a font is not installed.
  virtual bool HasFamily(const std::string& family) = 0;
};

// UTF-8 to code points; malformed sequences become U+FFFD.
std::u32string DecodeUtf8(std::string_view s);
std::string EncodeUtf8(std::u32string_view s);

}  // namespace qz
