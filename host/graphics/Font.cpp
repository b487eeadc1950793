#include "host/graphics/Font.h"

#include <cstdlib>

#include "host/components/Properties.h"

namespace qz {

namespace {

// a * b / c rounded half away from zero, as the framework's MulDiv.
int MulDivRound(int a, int b, int c) {
  const long long n = static_cast<long long>(a) * b;
  const long long q = (std::llabs(n) * 2 + std::llabs(static_cast<long long>(c))) /
                      (2 * std::llabs(static_cast<long long>(c)));
  return static_cast<int>(((n < 0) != (c < 0)) ? -q : q);
}

}  // namespace

int TFont::Size() const { return -MulDivRound(data_.height, 72, kScreenPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDivRound(points, kScreenPixelsPerInch, 72)); }

void TFont::Assign(const TPersistent& source) {
  if (const auto* f = dynamic_cast<const TFont*>(&source)) {
    SetData(f->data_);
    return;
  }
  inherited::Assign(source);
}

QZ_ENUM(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut");
QZ_ENUM(TFontPitch, "fpDefault", "fpVariable", "fpFixed");

// Form resources store Height; Size is derived from it and never written.
QZ_PUBLISHED(TFont, TPersistent) {
  b.Prop("Charset", &TFont::Charset, &TFont::SetCharset, TFontCharset(DEFAULT_CHARSET));
  b.Color("Color", &TFont::Color, &TFont::SetColor, clWindowText);
  b.Prop("Height", &TFont::Height, &TFont::SetHeight, -11);
  b.Prop("Name", [](TFont& f) { return f.Name(); }, [](TFont& f, std::string v) { f.SetName(v); },
         std::string("Tahoma"));
  b.Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, TFontPitch::fpDefault);
  b.Prop("Size", &TFont::Size, &TFont::SetSize).Stored([](const TFont&) { return false; });
  b.Set("Style", &TFont::Style, &TFont::SetStyle, TFontStyles{});
}

}  // namespace qz
