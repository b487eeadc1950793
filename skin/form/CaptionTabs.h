// Caption tabs: a row of tabs on a skinned form's caption (frame mode), one
// of which is selected. The controller owns the collection; the caption
// object lays the tabs out, draws them from the skin's "captiontab"
// description and selects one on a press.
#pragma once

#include <string>

#include "host/components/Collection.h"
#include "host/components/Properties.h"
#include "skin/form/CaptionPaint.h"

namespace qz {

QZ_ENUM(TqzCaptionTabPos, "qztpLeft", "qztpCenter", "qztpRight");

class TqzCaptionTab : public TCollectionItem {
  QZ_CLASS(TqzCaptionTab, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string DisplayName() const override { return Caption.empty() ? ClassName() : Caption; }

  std::string Caption;  // "&" marks the accelerator (Alt + it selects the tab)
  int ImageIndex = -1;  // in CaptionTabsImageList
  bool Visible = true;
  std::string Hint;
};

class TqzCaptionTabs : public TCollection {
  QZ_CLASS(TqzCaptionTabs, TCollection)
 public:
  explicit TqzCaptionTabs(TPersistent* owner)
      : TCollection(owner, FactoryOf<TqzCaptionTab>()) {}
  TqzCaptionTab* Items(int index) const { return ItemAs<TqzCaptionTab>(index); }
  TqzCaptionTab* Add() { return static_cast<TqzCaptionTab*>(TCollection::Add()); }
};

// The accelerator character of a caption ("&File" -> 'f', "&&" is a plain
// ampersand), lower-cased; 0 without one.
char CaptionAccelerator(const std::string& caption);

// The index of the visible tab whose accelerator is `key` (any case), -1
// when none has it: Alt + that key selects the tab.
int FindCaptionTabByAccelerator(const TqzCaptionTabs& tabs, char key);

}  // namespace qz
