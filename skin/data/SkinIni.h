// The skin description text: an INI text parsed into memory as a whole, and
// the value syntaxes its keys use (integers, flags, colours, rects, points,
// enumeration words, font styles, string lists and line lists).
//
// Section and key names are looked up without regard to letter case and the
// first of duplicate sections or keys wins. Values never raise errors except a
// rect or point field without digits, which stops the load of the skin.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Exception.h"
#include "host/base/Set.h"
#include "host/base/Types.h"
#include "skin/draw/SkinGeometry.h"

#if __has_include("host/graphics/Font.h")
#include "host/graphics/Font.h"
#define QZ_SKIN_HAVE_HOST_FONT_STYLE 1
#elif __has_include("host/graphics/Canvas.h")
#include "host/graphics/Canvas.h"
#define QZ_SKIN_HAVE_HOST_FONT_STYLE 1
#endif

namespace qz {

#ifndef QZ_SKIN_HAVE_HOST_FONT_STYLE
// Private stand-in until the host's font header exists; same shape as the host's.
enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
#endif

// A rect or point value of the description has a field without digits.
class ESkinValueError : public Exception { using Exception::Exception; };

// One "key=value" line of a section. A line without "=" is kept (hasValue
// false) but never answers a key lookup.
struct TqzIniEntry {
  std::string key;
  std::string value;
  bool hasValue = false;
};

struct TqzIniSection {
  std::string name;
  std::vector<TqzIniEntry> entries;
  // Lower-case key -> index of its first entry.
  std::unordered_map<std::string, size_t> index;
};

// The in-memory description text. Parsing never fails.
class TqzIniFile {
 public:
  TqzIniFile() = default;
  explicit TqzIniFile(std::string_view text) { SetText(text); }

  // Replaces the contents by the parsed text (lines ended by CR LF, LF or CR).
  void SetText(std::string_view text);
  // The text again: sections with their lines, each line ended by CR LF.
  std::string Text() const;

  bool SectionExists(std::string_view section) const;
  const TqzIniSection* FindSection(std::string_view section) const;
  // The value of the first entry with that key; nullptr when there is none.
  const std::string* Find(std::string_view section, std::string_view key) const;
  // Number of entries (lines) of a section; 0 when it does not exist.
  size_t EntryCount(std::string_view section) const;
  size_t SectionCount() const { return sections_.size(); }
  const std::vector<TqzIniSection>& Sections() const { return sections_; }

  // Writing (for WriteData): replaces the first entry of the key or appends one.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void EraseSection(std::string_view section);
  void Clear();

 private:
  TqzIniSection& AddSection(std::string_view name);
  TqzIniSection* MutableSection(std::string_view section);

  std::vector<TqzIniSection> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;
};

std::string LowerCaseAscii(std::string_view s);
// Trims blanks and control characters (bytes up to 32) at both ends.
std::string_view TrimSkinText(std::string_view s);

// Integer conversion of the description: decimal with an optional sign, "$" or
// "0x"/"0X" for hexadecimal (up to 32 bits, read as signed); false when the text
// does not convert or is out of range.
bool TryParseSkinInteger(std::string_view text, int& out);

// Rect and point parsing: commas separate fields; of every other character only
// the digits 0-9 count (blanks and minus signs are dropped). A rect takes the
// first four fields and a point the first two; further fields are ignored.
// A missing field or a field without digits raises ESkinValueError.
TRect ParseSkinRect(std::string_view text, std::string_view what = {});
TPoint ParseSkinPoint(std::string_view text, std::string_view what = {});

// The word table of an enumeration value kind. Reading compares with exact
// letter case; a word not in the table gives `fallback`, a missing key
// `missing`. Writing uses names[value].
struct TqzEnumWords {
  std::span<const char* const> names;
  int fallback = 0;
  int missing = 0;
  int Parse(std::string_view word) const;
  const char* Name(int value) const;
};

// The enumeration kinds of the description text.
enum : int { qzTaLeftJustify = 0, qzTaRightJustify = 1, qzTaCenter = 2 };  // alignment
extern const TqzEnumWords kStretchTypeWords;      // stfull, sthorz, stvert (TqzStretchType)
extern const TqzEnumWords kMorphKindWords;        // mkdefault ... mkpush
extern const TqzEnumWords kInactiveEffectWords;   // iebrightness ... ieinvert
extern const TqzEnumWords kAlignmentWords;        // taleftjustify, tarightjustify, tacenter
extern const TqzEnumWords kFramesPlacementWords;  // fphorizontal, fpvertical
extern const TqzEnumWords kRegulatorKindWords;    // rkround, rkhorizontal, rkvertical
extern const TqzEnumWords kGaugeKindWords;        // gkhorizontal, gkvertical
extern const TqzEnumWords kStdCommandWords;       // cmclose ... cmminimizetotray

TFontStyles ParseFontStyle(std::string_view text);
std::string FontStyleText(TFontStyles styles);

// Typed readers over one section. Every reader takes its default when the
// key is missing.
class TqzIniReader {
 public:
  TqzIniReader(const TqzIniFile& ini, std::string_view section) : ini_(ini), section_(section) {}
  const std::string& Section() const { return section_; }
  bool Has(std::string_view key) const { return ini_.Find(section_, key) != nullptr; }

  std::string String(std::string_view key, std::string_view def = {}) const;
  int Integer(std::string_view key, int def = 0) const;
  bool Flag(std::string_view key) const { return Integer(key, 0) == 1; }
  TColor Color(std::string_view key, TColor def = 0) const { return Integer(key, def); }
  TRect Rect(std::string_view key) const;
  TPoint Point(std::string_view key) const;
  int Enum(std::string_view key, const TqzEnumWords& words) const;
  TFontStyles FontStyle(std::string_view key) const;
  // "<name>count" and the keys "0" ... ; no more items than the section has lines.
  std::vector<std::string> StringList(std::string_view name) const;
  // "<name>linecount" and the keys "<name>line0" ... ; bounded the same way.
  std::vector<std::string> LineList(std::string_view name) const;

 private:
  const TqzIniFile& ini_;
  std::string section_;
};

// Typed writers producing the same syntaxes.
class TqzIniWriter {
 public:
  TqzIniWriter(TqzIniFile& ini, std::string_view section) : ini_(ini), section_(section) {}
  void String(std::string_view key, std::string_view value);
  void Integer(std::string_view key, int value);
  void Flag(std::string_view key, bool value) { Integer(key, value ? 1 : 0); }
  void Rect(std::string_view key, const TRect& r);
  void Point(std::string_view key, const TPoint& p);
  void Enum(std::string_view key, int value, const TqzEnumWords& words);
  void FontStyle(std::string_view key, TFontStyles styles);
  void StringList(std::string_view name, const std::vector<std::string>& items);
  void LineList(std::string_view name, const std::vector<std::string>& lines);

 private:
  TqzIniFile& ini_;
  std::string section_;
};

std::string SkinRectText(const TRect& r);
std::string SkinPointText(const TPoint& p);

// Where a place (a rect relative to another one) must lie.
enum class TqzPlaceBound {
  Free,        // a text or item area, not checked
  InSkinRect,  // within the size of the description's "skinrect"
  OnOtherLook, // relative to another look (a frame's or an item's text area), not checked
};

// The direction along which a three-part look keeps its ends fixed.
enum class TqzLookAxis { Horizontal, Vertical };

// The field list of a description object, walked once for reading and once
// for writing so that both use the same keys, order and syntax. Each method
// names the role of its field, so that checks walk the same list: Rect is a
// rectangle cut from a picture, Place a rectangle relative to another one,
// Point a point relative to the skin rect, PictureIndex an index of the
// skin's active pictures; the rest are numbers, flags, colours, texts,
// enumeration words and fonts. Readers and writers treat the roles of one
// syntax alike.
//
// The list also says how each look is composed at sizes other than its own:
// SkinRectLook marks a look laid out like the skin rect, composed by the
// corner points when the description has them (CornerPoints);
// LatticePictureIndex a picture composed whole by them; ThreePartLook
// declares looks with two fixed ends. Declarations read and write nothing.
class TqzDataFields {
 public:
  virtual ~TqzDataFields() = default;
  virtual void Integer(const char* key, int& field, int def = 0) = 0;
  virtual void Flag(const char* key, bool& field) = 0;
  virtual void Color(const char* key, TColor& field, TColor def = 0) = 0;
  virtual void String(const char* key, std::string& field, const char* def = "") = 0;
  virtual void Rect(const char* key, TRect& field) = 0;
  virtual void Point(const char* key, TPoint& field) = 0;
  virtual void Place(const char* key, TRect& field, TqzPlaceBound bound = TqzPlaceBound::Free) {
    Rect(key, field);
  }
  // -1 (none) when the key is missing.
  virtual void PictureIndex(const char* key, int& field) { Integer(key, field, -1); }
  virtual void SkinRectLook(const char* key, TRect& field) { Rect(key, field); }
  virtual void LatticePictureIndex(const char* key, int& field) { PictureIndex(key, field); }
  // The looks `keys` keep ends of `endA` and `endB` pixels along `axis` and
  // tile their middle, or stretch it when `stretch`. The values are the
  // loaded description's; readers and writers pass the declaration by.
  virtual void ThreePartLook(std::initializer_list<const char*> keys, int endA, int endB,
                             bool stretch, TqzLookAxis axis) {}
  virtual void EnumInt(const char* key, int& field, const TqzEnumWords& words) = 0;
  virtual void FontStyle(const char* key, TFontStyles& field) = 0;
  virtual void LineList(const char* name, std::vector<std::string>& field) = 0;

  // Typed enumeration fields (scoped enums with int values).
  template <class E>
  void Enum(const char* key, E& field, const TqzEnumWords& words) {
    int v = static_cast<int>(field);
    EnumInt(key, v, words);
    field = static_cast<E>(v);
  }
  // The font group: "fontname" (Tahoma), "fontheight" (13), "fontstyle", "fontcolor" (0).
  void FontGroup(std::string& name, int& height, TFontStyles& style, TColor& color,
                 const char* nameKey = "fontname");

  // The nine-part keys: the four corner points ("lefttoppoint" ...), and the
  // stretch flags of the sides followed by "stretcheffect" and
  // "stretchtype". Descriptions list the sides in one of two orders.
  // The corner points also declare the lattice that composes the skin rect
  // looks, with `g`'s client rect or `clientRect` (a popup window's items
  // rect) as its client rect.
  enum class TSideOrder { LeftTopRightBottom, LeftRightTopBottom };
  void CornerPoints(TqzLatticeFields& g) { CornerPoints(g, g.ClientRect); }
  void CornerPoints(TqzLatticeFields& g, const TRect& clientRect);
  void StretchFlags(TqzLatticeFields& g, TSideOrder order);

 protected:
  // Called by CornerPoints; `g` and `clientRect` are fields of the visited
  // description and may be read once the walk is over.
  virtual void Lattice(const TqzLatticeFields& g, const TRect& clientRect) {}
};

class TqzFieldReader : public TqzDataFields {
 public:
  TqzFieldReader(const TqzIniFile& ini, std::string_view section) : r_(ini, section) {}
  void Integer(const char* key, int& field, int def) override { field = r_.Integer(key, def); }
  void Flag(const char* key, bool& field) override { field = r_.Flag(key); }
  void Color(const char* key, TColor& field, TColor def) override { field = r_.Color(key, def); }
  void String(const char* key, std::string& field, const char* def) override {
    field = r_.String(key, def);
  }
  void Rect(const char* key, TRect& field) override { field = r_.Rect(key); }
  void Point(const char* key, TPoint& field) override { field = r_.Point(key); }
  void EnumInt(const char* key, int& field, const TqzEnumWords& words) override {
    field = r_.Enum(key, words);
  }
  void FontStyle(const char* key, TFontStyles& field) override { field = r_.FontStyle(key); }
  void LineList(const char* name, std::vector<std::string>& field) override {
    field = r_.LineList(name);
  }

 private:
  TqzIniReader r_;
};

class TqzFieldWriter : public TqzDataFields {
 public:
  TqzFieldWriter(TqzIniFile& ini, std::string_view section) : w_(ini, section) {}
  void Integer(const char* key, int& field, int) override { w_.Integer(key, field); }
  void Flag(const char* key, bool& field) override { w_.Flag(key, field); }
  void Color(const char* key, TColor& field, TColor) override { w_.Integer(key, field); }
  void String(const char* key, std::string& field, const char*) override { w_.String(key, field); }
  void Rect(const char* key, TRect& field) override { w_.Rect(key, field); }
  void Point(const char* key, TPoint& field) override { w_.Point(key, field); }
  void EnumInt(const char* key, int& field, const TqzEnumWords& words) override {
    w_.Enum(key, field, words);
  }
  void FontStyle(const char* key, TFontStyles& field) override { w_.FontStyle(key, field); }
  void LineList(const char* name, std::vector<std::string>& field) override {
    w_.LineList(name, field);
  }

 private:
  TqzIniWriter w_;
};

}  // namespace qz
