// The one source of truth of a generated skin: its pictures and the
// description objects that point into them. A skin painter allocates a
// rectangle, paints it and stores the same rectangle in a description
// object, so the description text and the pixels cannot drift apart.
// Save() writes the description file and its BMPs, ready for
// `skinpack build`.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/base/Types.h"
#include "host/graphics/Pixmap.h"
#include "skin/data/SkinColors.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinObjectData.h"

namespace qz::skingen {

// A rectangle of a picture handed out for painting, and who paints it
// (empty when the painter gave no name).
struct TPaintedRect {
  TRect Rect;
  std::string Owner;
};

// Shelf allocation of rectangles in a picture, left to right, rows top to
// bottom, with a gap between neighbours so that no stretched element picks
// up its neighbour's pixels. The atlas remembers every rectangle it hands
// out or is told about, so that CheckPictureRects can prove the painted
// rectangles apart.
class TAtlas {
 public:
  TAtlas() = default;
  TAtlas(int width, int height, int gap = 2) : width_(width), height_(height), gap_(gap) {}
  // A free rectangle of w x h to paint; throws when the picture is full.
  TRect Place(int w, int h, std::string owner = {});
  // Starts a new shelf (to group related elements on one row).
  void NewRow();
  // Marks a fixed area as taken: later shelves start below it when it
  // overlaps the current one. What is painted there lies within it.
  void Reserve(const TRect& r, std::string owner = {});
  // Records a rectangle painted at a fixed place (a cell of a reserved area,
  // the whole picture); the allocator is not told.
  TRect Claim(const TRect& r, std::string owner);
  // Reserve and Claim of the same rectangle.
  TRect Fix(const TRect& r, std::string owner);

  const std::vector<TPaintedRect>& Painted() const { return painted_; }
  const std::vector<TPaintedRect>& Reserved() const { return reserved_; }

 private:
  int width_ = 0, height_ = 0, gap_ = 2;
  int x_ = 0, y_ = 0, rowHeight_ = 0;
  std::vector<TPaintedRect> reserved_;
  std::vector<TPaintedRect> painted_;
  bool Overlaps(const TRect& r) const;
};

struct TActivePicture {
  std::string FileName;
  TPixmap Pixels;
  TAtlas Atlas;
};

class TSkinBuilder {
 public:
  // A skin whose description file is `iniName` ("skin.ini"), with a main
  // picture of w x h filled with `background`.
  TSkinBuilder(std::string iniName, int w, int h, uint32_t background);

  const std::string& IniName() const { return iniName_; }
  TPixmap& Picture() { return picture_; }
  // The window shape: black pixels are inside. Created on first use, all
  // black (the whole picture is inside).
  TPixmap& Mask();
  bool HasMask() const { return !mask_.Empty(); }
  // The rolled-up window's picture and shape; written only when a painter
  // gave them a size.
  TPixmap& RollUpPicture() { return rollUpPicture_; }
  TPixmap& RollUpMask() { return rollUpMask_; }

  // Appends an active picture (its index is what descriptions store).
  int AddActivePicture(std::string fileName, int w, int h, uint32_t background);
  TPixmap& Active(int index) { return actives_.at(size_t(index)).Pixels; }
  TAtlas& Atlas(int index) { return actives_.at(size_t(index)).Atlas; }
  const TAtlas& Atlas(int index) const { return actives_.at(size_t(index)).Atlas; }
  TSize ActiveSize(int index) const {
    const TPixmap& p = actives_.at(size_t(index)).Pixels;
    return {p.Width(), p.Height()};
  }
  int ActiveCount() const { return int(actives_.size()); }

  template <class T>
  T& Control(const std::string& name) {
    auto owned = std::make_unique<T>(name);
    T& ref = *owned;
    controls_.push_back(std::move(owned));
    return ref;
  }
  template <class T>
  T& Object(const std::string& name) {
    auto owned = std::make_unique<T>(name);
    T& ref = *owned;
    objects_.push_back(std::move(owned));
    return ref;
  }
  TqzDataSkinArea& Area(const std::string& name, const TRect& r);

  TqzSkinFormInfo& FormInfo() { return formInfo_; }
  TqzDataSkinPopupWindow& PopupWindow() { return popup_; }
  TqzDataSkinHintWindow& HintWindow() { return hint_; }
  TqzDataSkinLayerFrame& LayerFrame() { return layer_; }
  TqzSkinColors& Colors() { return colors_; }
  bool HasPopupWindow = false, HasHintWindow = false, HasLayerFrame = false;

  std::string SkinName, SkinAuthor = "qzskin", SkinComments;

  // The section the description text begins with (a control or object name).
  void LeadWith(std::string sectionName) { lead_ = std::move(sectionName); }

  // The whole description text.
  std::string DescriptionText() const;
  // Writes <dir>/<iniName> and every picture as a BMP (24-bit pictures,
  // 1-bit mask) into dir.
  void Save(const std::filesystem::path& dir) const;
  // Writes every picture as a PNG into dir, for looking at.
  void SavePreviews(const std::filesystem::path& dir) const;

  const std::vector<std::unique_ptr<TqzDataSkinControl>>& Controls() const { return controls_; }
  const std::vector<std::unique_ptr<TqzDataSkinObject>>& Objects() const { return objects_; }

 private:
  std::string BaseName() const;
  void WriteSections(TqzIniFile& ini, bool lead) const;

  std::string iniName_;
  TPixmap picture_;
  TPixmap mask_;
  TPixmap rollUpPicture_, rollUpMask_;
  std::vector<TActivePicture> actives_;
  std::vector<std::unique_ptr<TqzDataSkinControl>> controls_;
  std::vector<std::unique_ptr<TqzDataSkinObject>> objects_;
  std::vector<std::unique_ptr<TqzDataSkinArea>> areas_;
  mutable TqzSkinFormInfo formInfo_;
  mutable TqzDataSkinPopupWindow popup_;
  mutable TqzDataSkinHintWindow hint_;
  mutable TqzDataSkinLayerFrame layer_;
  mutable TqzSkinColors colors_;
  std::string lead_;
};

// Geometry of control descriptions.

// Nine-part: borders l, t, r, b give the client rect; the corner points sit
// at least `cornerX` pixels in from the left and right sides and `cornerY`
// from the top and bottom (never less than the border), so rounded corners
// stay whole in the fixed pieces. Everything stretches.
void SetNine(TqzDataSkinCustomControl& d, const TRect& skin, int l, int t, int r, int b,
             int cornerX = 0, int cornerY = 0);
// Three-part horizontal (height fixed): fixed left and right widths, the
// middle stretched; the client rect is left as it is unless one is given.
void SetThreeH(TqzDataSkinCustomControl& d, const TRect& skin, int left, int right);
void SetThreeH(TqzDataSkinCustomControl& d, const TRect& skin, int left, int right,
               const TRect& client);
// Three-part vertical (width fixed): fixed top and bottom heights.
void SetThreeV(TqzDataSkinCustomControl& d, const TRect& skin, int top, int bottom);
void SetThreeV(TqzDataSkinCustomControl& d, const TRect& skin, int top, int bottom,
               const TRect& client);

// Checks the rectangles of the active pictures: those the descriptions'
// field lists cut from a picture and those the atlases handed out for
// painting. Every one is non-empty and lies inside its picture; two
// different described ones or two different painted ones of one picture do
// not overlap (a shared rectangle is fine); a painted one that meets a
// reserved area lies within it, and a described one that meets a painted
// one lies within it. Throws naming the elements otherwise.
void CheckPictureRects(const TSkinBuilder& skin);

}  // namespace qz::skingen
