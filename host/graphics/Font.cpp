#include "host/graphics/Font.h"

#include <cstdlib>

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

}  // namespace qz
