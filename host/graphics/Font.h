// TFont: the logical font of a canvas or control (name, height, style, colour).
// The face behind it is chosen and rendered by the text engine (TextEngine.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/base/Color.h"
#include "host/base/Set.h"
#include "host/components/Persistent.h"

namespace qz {

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

enum : int { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, RUSSIAN_CHARSET = 204,
             EASTEUROPE_CHARSET = 238, GREEK_CHARSET = 161, TURKISH_CHARSET = 162,
             BALTIC_CHARSET = 186, OEM_CHARSET = 255 };

// Screen resolution the framework assumes for point sizes.
constexpr int kScreenPixelsPerInch = 96;

// The plain values of a font; what a canvas saves and compares.
struct TFontData {
  std::string name = "Tahoma";  // UTF-8 family name
  // < 0: character (em) height in pixels; > 0: cell height (ascent + descent);
  // 0: the default height (-11).
  int height = -11;
  TColor color = clWindowText;
  TFontStyles style;
  TFontCharset charset = DEFAULT_CHARSET;
  TFontPitch pitch = TFontPitch::fpDefault;
  friend bool operator==(const TFontData&, const TFontData&) = default;
};

class TFont : public TPersistent {
  QZ_CLASS(TFont, TPersistent)
 public:
  TFont() = default;

  const std::string& Name() const { return data_.name; }
  void SetName(const std::string& v) { Set(data_.name, v); }
  int Height() const { return data_.height; }
  void SetHeight(int v) { Set(data_.height, v); }
  // Points at 96 pixels per inch: Size = -Height * 72 / 96 (rounded half away
  // from zero as the framework's MulDiv does). A positive (cell) height gives a
  // negative size, as the framework reports it.
  int Size() const;
  void SetSize(int points);  // Height := -(points * 96 / 72), rounded
  TColor Color() const { return data_.color; }
  void SetColor(TColor v) { Set(data_.color, v); }
  TFontStyles Style() const { return data_.style; }
  void SetStyle(TFontStyles v) { Set(data_.style, v); }
  TFontCharset Charset() const { return data_.charset; }
  void SetCharset(TFontCharset v) { Set(data_.charset, v); }
  TFontPitch Pitch() const { return data_.pitch; }
  void SetPitch(TFontPitch v) { Set(data_.pitch, v); }

  const TFontData& Data() const { return data_; }
  void SetData(const TFontData& d) { Set(data_, d); }

  // Copies name, height, colour, style, charset and pitch from another TFont.
  void Assign(const TPersistent& source) override;

  std::function<void(TObject* sender)> OnChange;

 private:
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
  }
  TFontData data_;
};

}  // namespace qz
