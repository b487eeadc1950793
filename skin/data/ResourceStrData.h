// The texts that skinned windows and dialogs show (system menu items,
// caption button hints, message box buttons, edit menu items, file dialog
// labels), as "NAME=text" lines. An application attaches one to a skin data
// component to translate or reword them; without one, clients use the
// built-in text, which equals the default line of the same name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/components/Component.h"
#include "host/components/Strings.h"

namespace qz {

class TqzResourceStrData : public TComponent {
  QZ_CLASS(TqzResourceStrData, TComponent)
 public:
  explicit TqzResourceStrData(TComponent* AOwner);

  // "NAME=text" lines; a new component holds the 134 default lines.
  TStrings& ResStrings() { return resStrings_; }
  const TStrings& ResStrings() const { return resStrings_; }
  void SetResStrings(const TStrings& lines) { resStrings_.Assign(lines); }
  // Font character set of the texts (1: the default character set).
  int CharSet() const { return charSet_; }
  void SetCharSet(int value) { charSet_ = value; }

  // The text after the first "=" of the first line whose name (before "=")
  // equals `name` without regard to letter case; "" when no line has it.
  std::string GetResourceStr(std::string_view name) const;

 private:
  TStringList resStrings_;
  int charSet_ = 1;
};

// The 134 default lines, in order.
const std::vector<std::string>& DefaultResourceStrings();
// The built-in text of a name (its default line's text), "" when unknown.
std::string DefaultResourceStr(std::string_view name);

}  // namespace qz
