#include "skin/form/CaptionTabs.h"

#include <cctype>

namespace qz {

char CaptionAccelerator(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // an escaped ampersand
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

int FindCaptionTabByAccelerator(const TqzCaptionTabs& tabs, char key) {
  const char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
  if (wanted == 0) return -1;
  for (int i = 0; i < tabs.Count(); ++i) {
    const TqzCaptionTab& tab = *tabs.Items(i);
    if (tab.Visible && CaptionAccelerator(tab.Caption) == wanted) return i;
  }
  return -1;
}

QZ_PUBLISHED(TqzCaptionTab, TCollectionItem) {
  b.Prop("Caption", &TqzCaptionTab::Caption);
  b.Prop("ImageIndex", &TqzCaptionTab::ImageIndex, -1);
  b.Prop("Visible", &TqzCaptionTab::Visible, true);
  b.Prop("Hint", &TqzCaptionTab::Hint);
}

QZ_PUBLISHED(TqzCaptionTabs, TCollection) {}

}  // namespace qz
