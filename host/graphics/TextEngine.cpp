#include "host/graphics/TextEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include FT_OUTLINE_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>

#include "host/base/Exception.h"

namespace qz {

// ---------------------------------------------------------------- UTF-8

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const size_t n = s.size();
  size_t i = 0;
  while (i < n) {
    const unsigned c = p[i];
    int len = 0;
    char32_t cp = 0, min = 0;
    if (c < 0x80) { out.push_back(c); ++i; continue; }
    if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; min = 0x80; }
    else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; min = 0x800; }
    else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; min = 0x10000; }
    else { out.push_back(0xFFFD); ++i; continue; }
    int k = 1;
    for (; k < len && i + k < n && (p[i + k] & 0xC0) == 0x80; ++k) cp = (cp << 6) | (p[i + k] & 0x3F);
    if (k < len) {  // truncated sequence: replace what was read
      out.push_back(0xFFFD);
      i += k;
      continue;
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    out.push_back(cp);
    i += len;
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t c : s) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

int TFontFace::Width(std::u32string_view text) {
  int w = 0;
  for (char32_t c : text) w += Glyph(c).advance;
  return w;
}

namespace {

constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr const char* kWineTahoma[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                       "/usr/share/wine/fonts/tahomabd.ttf"};
// Glyph load flags: light (vertical-only) hinting, outlines only so that
// synthetic styles always have an outline to work on.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;

// The Wine project's Tahoma Bold carries bold advances but the regular
// outlines; its strokes are thickened (advances kept) so bold text looks bold.
bool IsThinBoldFace(const std::string& file) {
  const std::string suffix = "/wine/fonts/tahomabd.ttf";
  return file.size() >= suffix.size() && file.compare(file.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

// How much the thin bold face's strokes are widened (26.6 pixels): a
// twelfth of the em, across only. Thickening up and down as well would
// close the gaps between a stroke and a dot above it (the "i" and "j"
// read as "l" at 11 to 14 pixels).
FT_Pos ThickeningX(int emPixels) { return static_cast<FT_Pos>(emPixels) * 64 / 12; }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class TFreeTypeFace final : public TFontFace {
 public:
  TFreeTypeFace(FT_Face face, TFontMatch match, const TFontRequest& request)
      : face_(face), match_(std::move(match)) {
    synthBold_ = request.bold && !match_.faceBold;
    synthItalic_ = request.italic && !match_.faceItalic;
    thickenOnly_ = request.bold && match_.faceBold && IsThinBoldFace(match_.file);
    ComputeSize(request.height);
    metrics_.bold = request.bold;
    metrics_.italic = request.italic;
  }
  ~TFreeTypeFace() override { FT_Done_Face(face_); }

  const TFaceMetrics& Metrics() const override { return metrics_; }
  const TFontMatch& Match() const override { return match_; }

  const TGlyph& Glyph(char32_t ch) override {
    std::lock_guard lock(mutex_);
    auto it = glyphs_.find(ch);
    if (it != glyphs_.end()) return it->second;
    return glyphs_.emplace(ch, Render(ch)).first->second;
  }

 private:
  // Vertical design metrics as the platform reads them: the OS/2 win
  // ascent/descent when present, else the horizontal header's.
  void DesignMetrics(double& ascent, double& descent, double& lineGap) const {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      ascent = os2->usWinAscent;
      descent = os2->usWinDescent;
      lineGap = 0;
      if (hhea) {
        const double hheaHeight = hhea->Ascender - hhea->Descender;
        lineGap = std::max(0.0, hhea->Line_Gap - ((ascent + descent) - hheaHeight));
      }
    } else {
      ascent = face_->ascender;
      descent = -face_->descender;
      lineGap = std::max(0, face_->height - (face_->ascender - face_->descender));
    }
    if (ascent + descent <= 0) {
      ascent = face_->units_per_EM * 0.8;
      descent = face_->units_per_EM * 0.2;
    }
  }

  void ComputeSize(int logicalHeight) {
    if (logicalHeight == 0) logicalHeight = -11;
    double asc, desc, gap;
    DesignMetrics(asc, desc, gap);
    const double upem = face_->units_per_EM > 0 ? face_->units_per_EM : 2048;
    double scale;  // pixels per design unit
    TFaceMetrics& m = metrics_;
    if (logicalHeight < 0) {
      m.emPixels = -logicalHeight;
      scale = m.emPixels / upem;
      m.ascent = RoundToInt(asc * scale);
      m.descent = RoundToInt(desc * scale);
    } else {
      scale = logicalHeight / (asc + desc);
      m.emPixels = std::max(1, RoundToInt(upem * scale));
      m.ascent = RoundToInt(asc * scale);
      m.descent = logicalHeight - m.ascent;
    }
    m.emPixels = std::clamp(m.emPixels, 1, 2048);
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - m.emPixels);
    m.externalLeading = RoundToInt(gap * scale);
    FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(m.emPixels));

    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
      m.aveCharWidth = std::max(1, RoundToInt(os2->xAvgCharWidth * scale));
    else
      m.aveCharWidth = std::max(1, Glyph('x').advance);
    m.maxCharWidth = std::max(m.aveCharWidth, RoundToInt(face_->max_advance_width * scale));
    if (synthBold_) {
      m.aveCharWidth += 1;
      m.maxCharWidth += 1;
    }

    m.underlineThickness = std::max(1, RoundToInt(face_->underline_thickness * scale));
    m.underlinePosition = std::max(1, RoundToInt(-face_->underline_position * scale));
    m.underlinePosition =
        std::clamp(m.underlinePosition, 0, std::max(0, m.descent - m.underlineThickness));
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
      m.strikeoutThickness = std::max(1, RoundToInt(os2->yStrikeoutSize * scale));
      m.strikeoutPosition = RoundToInt(os2->yStrikeoutPosition * scale);
    } else {
      m.strikeoutThickness = m.underlineThickness;
      m.strikeoutPosition = RoundToInt(m.emPixels * 0.3);
    }
    m.strikeoutPosition = std::clamp(m.strikeoutPosition, m.strikeoutThickness, std::max(m.strikeoutThickness, m.ascent));
  }

  TGlyph Render(char32_t ch) {
    TGlyph g;
    const FT_UInt index = FT_Get_Char_Index(face_, ch);
    if (FT_Load_Glyph(face_, index, kLoadFlags) != 0) return g;
    FT_GlyphSlot slot = face_->glyph;
    if (synthItalic_) FT_GlyphSlot_Oblique(slot);
    if (synthBold_) FT_GlyphSlot_Embolden(slot);
    if (thickenOnly_ && slot->format == FT_GLYPH_FORMAT_OUTLINE)
      FT_Outline_EmboldenXY(&slot->outline, ThickeningX(metrics_.emPixels), 0);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (synthBold_ && slot->format != FT_GLYPH_FORMAT_OUTLINE) g.advance += 1;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_LIGHT) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.coverage.resize(size_t(g.width) * g.height);
    const int levels = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
    for (int y = 0; y < g.height; ++y) {
      const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
      if (bm.pitch < 0) row = bm.buffer + static_cast<ptrdiff_t>(g.height - 1 - y) * -bm.pitch;
      for (int x = 0; x < g.width; ++x)
        g.coverage[size_t(y) * g.width + x] =
            static_cast<uint8_t>(levels == 255 ? row[x] : row[x] * 255 / levels);
    }
    return g;
  }

  FT_Face face_;
  TFontMatch match_;
  TFaceMetrics metrics_;
  bool synthBold_ = false;
  bool synthItalic_ = false;
  bool thickenOnly_ = false;
  std::mutex mutex_;
  std::unordered_map<char32_t, TGlyph> glyphs_;
};

class TFontconfigEngine final : public TTextEngine {
 public:
  TFontconfigEngine() {
    if (FT_Init_FreeType(&library_) != 0) throw EOutOfResources("Cannot initialise FreeType");
    FcInit();
    config_ = FcConfigGetCurrent();
    for (const char* path : kWineTahoma) {
      std::error_code ec;
      if (std::filesystem::exists(path, ec))
        FcConfigAppFontAddFile(config_, reinterpret_cast<const FcChar8*>(path));
    }
  }
  ~TFontconfigEngine() override {
    faces_.clear();
    FT_Done_FreeType(library_);
  }

  std::shared_ptr<TFontFace> Face(const TFontRequest& request) override {
    std::lock_guard lock(mutex_);
    const auto key = std::make_tuple(request.family, request.height, request.bold, request.italic);
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second;
    auto face = Open(request);
    // Programs use a handful of fonts; a bound keeps a font-size sweep from
    // holding every size forever.
    if (faces_.size() >= 256) faces_.clear();
    faces_.emplace(key, face);
    return face;
  }

  TFontMatch Resolve(const std::string& family, bool bold, bool italic) override {
    std::lock_guard lock(mutex_);
    return ResolveLocked(family, bold, italic);
  }

  bool HasFamily(const std::string& family) override {
    std::lock_guard lock(mutex_);
    const std::string wanted = Lower(family);
    FcPattern* pat = BuildPattern(family, false, false);
    FcResult result;
    FcPattern* match = FcFontMatch(config_, pat, &result);
    FcPatternDestroy(pat);
    bool found = false;
    if (match) {
      FcChar8* name = nullptr;
      for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (Lower(reinterpret_cast<const char*>(name)) == wanted) found = true;
      FcPatternDestroy(match);
    }
    return found;
  }

 private:
  FcPattern* BuildPattern(const std::string& family, bool bold, bool italic) {
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    return pat;
  }

  TFontMatch ResolveLocked(const std::string& family, bool bold, bool italic) {
    const auto key = std::make_tuple(family, bold, italic);
    auto it = matches_.find(key);
    if (it != matches_.end()) return it->second;
    TFontMatch m;
    FcPattern* pat = BuildPattern(family.empty() ? kFallbackFamily : family, bold, italic);
    FcResult result;
    FcPattern* match = FcFontMatch(config_, pat, &result);
    FcPatternDestroy(pat);
    if (match) {
      FcChar8* s = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &s) == FcResultMatch) m.file = reinterpret_cast<const char*>(s);
      if (FcPatternGetString(match, FC_FAMILY, 0, &s) == FcResultMatch) m.family = reinterpret_cast<const char*>(s);
      int v = 0;
      if (FcPatternGetInteger(match, FC_INDEX, 0, &v) == FcResultMatch) m.index = v;
      FcPatternDestroy(match);
    }
    // fontconfig reports the requested style where it plans synthesis; the
    // face itself says what it really is.
    if (FT_Face face = LoadScalable(m)) {
      m.faceItalic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
      m.faceBold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
      if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
          os2 && os2->version != 0xFFFF && os2->usWeightClass >= 600)
        m.faceBold = true;
      FT_Done_Face(face);
    }
    matches_.emplace(key, m);
    return m;
  }

  std::shared_ptr<TFontFace> Open(const TFontRequest& request) {
    TFontMatch match = ResolveLocked(request.family, request.bold, request.italic);
    FT_Face face = LoadScalable(match);
    if (!face) {
      match = ResolveLocked(kFallbackFamily, request.bold, request.italic);
      face = LoadScalable(match);
    }
    if (!face) throw EOutOfResources("No usable font face for \"" + request.family + "\"");
    return std::make_shared<TFreeTypeFace>(face, std::move(match), request);
  }

  FT_Face LoadScalable(const TFontMatch& match) {
    if (match.file.empty()) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, match.file.c_str(), match.index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face)) {
      FT_Done_Face(face);
      return nullptr;
    }
    return face;
  }

  FT_Library library_ = nullptr;
  FcConfig* config_ = nullptr;
  std::mutex mutex_;
  std::map<std::tuple<std::string, int, bool, bool>, std::shared_ptr<TFontFace>> faces_;
  std::map<std::tuple<std::string, bool, bool>, TFontMatch> matches_;
};

}  // namespace

TTextEngine& TTextEngine::Instance() {
  // Never destroyed: faces held by long-lived canvases may outlive static
  // destruction, and their FreeType library must stay valid until then.
  static TFontconfigEngine* engine = new TFontconfigEngine;
  return *engine;
}

}  // namespace qz
