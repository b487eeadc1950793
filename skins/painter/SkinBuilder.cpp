#include "skins/painter/SkinBuilder.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "host/graphics/BmpCodec.h"
#include "host/graphics/PngWriter.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinValidation.h"

namespace qz::skingen {

namespace {

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// The description pictures carry no alpha: BMPs of 24 bits.
TPixmap Opaque(const TPixmap& p) {
  TPixmap out = p;
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.At(x, y) |= 0xFF000000;
  return out;
}

}  // namespace

bool TAtlas::Overlaps(const TRect& r) const {
  for (const TPaintedRect& q : reserved_) {
    TRect i;
    if (IntersectRect(i, InflateRect(q.Rect, gap_, gap_), r)) return true;
  }
  return false;
}

TRect TAtlas::Place(int w, int h, std::string owner) {
  for (;;) {
    if (x_ + w > width_) NewRow();
    if (y_ + h > height_)
      throw std::runtime_error("picture full: no room for " + std::to_string(w) + "x" +
                               std::to_string(h));
    TRect r{x_, y_, x_ + w, y_ + h};
    if (!Overlaps(r)) {
      x_ += w + gap_;
      rowHeight_ = std::max(rowHeight_, h);
      painted_.push_back({r, std::move(owner)});
      return r;
    }
    x_ += 1;  // slide past a reserved rectangle
    if (x_ + w > width_) NewRow();
  }
}

void TAtlas::NewRow() {
  if (x_ == 0 && rowHeight_ == 0) return;
  y_ += rowHeight_ + gap_;
  x_ = 0;
  rowHeight_ = 0;
}

void TAtlas::Reserve(const TRect& r, std::string owner) {
  reserved_.push_back({r, std::move(owner)});
}

TRect TAtlas::Claim(const TRect& r, std::string owner) {
  painted_.push_back({r, std::move(owner)});
  return r;
}

TRect TAtlas::Fix(const TRect& r, std::string owner) {
  Reserve(r, owner);
  return Claim(r, std::move(owner));
}

TSkinBuilder::TSkinBuilder(std::string iniName, int w, int h, uint32_t background)
    : iniName_(std::move(iniName)), picture_(w, h, background) {
  colors_.ResetToSystem();
}

TPixmap& TSkinBuilder::Mask() {
  if (mask_.Empty()) mask_.Resize(picture_.Width(), picture_.Height(), 0xFF000000);
  return mask_;
}

int TSkinBuilder::AddActivePicture(std::string fileName, int w, int h, uint32_t background) {
  actives_.push_back({std::move(fileName), TPixmap(w, h, background), TAtlas(w, h)});
  return int(actives_.size()) - 1;
}

TqzDataSkinArea& TSkinBuilder::Area(const std::string& name, const TRect& r) {
  areas_.push_back(std::make_unique<TqzDataSkinArea>(name, r));
  return *areas_.back();
}

std::string TSkinBuilder::BaseName() const {
  return std::filesystem::path(iniName_).stem().string();
}

void TSkinBuilder::WriteSections(TqzIniFile& ini, bool lead) const {
  for (const auto& c : controls_)
    if ((c->IDName == lead_) == lead) c->WriteData(ini);
  for (const auto& o : objects_)
    if ((o->IDName == lead_) == lead) o->WriteData(ini);
}

std::string TSkinBuilder::DescriptionText() const {
  TqzIniFile first;
  WriteSections(first, true);

  TqzIniFile ini;
  TqzIniWriter version(ini, "VERSION");
  version.String("skinname", SkinName);
  version.String("skinauthor", SkinAuthor);
  version.String("authoremail", "");
  version.String("authorurl", "");
  version.String("skincomments", SkinComments);

  TqzIniWriter pictures(ini, "PICTURES");
  pictures.String("picture", BaseName() + ".bmp");
  pictures.String("inactivepicture", "");
  pictures.String("mask", HasMask() ? BaseName() + "mask.bmp" : "");
  pictures.String("rolluppicture", rollUpPicture_.Empty() ? "" : BaseName() + "rollup.bmp");
  pictures.String("rollupmask", rollUpMask_.Empty() ? "" : BaseName() + "rollupmask.bmp");
  std::vector<std::string> names;
  for (const auto& a : actives_) names.push_back(a.FileName);
  pictures.StringList("activepictures", names);

  formInfo_.WriteFormInfo(ini);
  if (HasPopupWindow) popup_.WriteData(ini);
  if (HasLayerFrame) layer_.WriteData(ini);
  if (HasHintWindow) hint_.WriteData(ini);
  colors_.WriteData(ini);

  std::vector<std::string> entries;
  for (const auto& a : areas_) entries.push_back(a->EntryText());
  TqzIniWriter(ini, "SKINAREAS").StringList("", entries);
  entries.clear();
  for (const auto& o : objects_) entries.push_back(o->IDName + ":" + SkinObjectKindWord(*o));
  TqzIniWriter(ini, "SKINOBJECTS").StringList("", entries);
  entries.clear();
  for (const auto& c : controls_) entries.push_back(c->IDName + ":" + SkinControlKindWord(*c));
  TqzIniWriter(ini, "SKINCONTROLS").StringList("", entries);
  WriteSections(ini, false);

  return first.Text() + ini.Text();
}

void TSkinBuilder::Save(const std::filesystem::path& dir) const {
  std::filesystem::create_directories(dir);
  WriteFile(dir / (BaseName() + ".bmp"), EncodeBmp(Opaque(picture_), 24));
  if (HasMask()) WriteFile(dir / (BaseName() + "mask.bmp"), EncodeBmp(Opaque(mask_), 1));
  if (!rollUpPicture_.Empty())
    WriteFile(dir / (BaseName() + "rollup.bmp"), EncodeBmp(Opaque(rollUpPicture_), 24));
  if (!rollUpMask_.Empty())
    WriteFile(dir / (BaseName() + "rollupmask.bmp"), EncodeBmp(Opaque(rollUpMask_), 1));
  for (const auto& a : actives_) WriteFile(dir / a.FileName, EncodeBmp(Opaque(a.Pixels), 24));
  std::string text = DescriptionText();
  WriteFile(dir / iniName_, std::vector<uint8_t>(text.begin(), text.end()));
}

void TSkinBuilder::SavePreviews(const std::filesystem::path& dir) const {
  std::filesystem::create_directories(dir);
  SavePng(Opaque(picture_), (dir / (BaseName() + ".png")).string(), false);
  if (HasMask()) SavePng(Opaque(mask_), (dir / (BaseName() + "mask.png")).string(), false);
  if (!rollUpPicture_.Empty())
    SavePng(Opaque(rollUpPicture_), (dir / (BaseName() + "rollup.png")).string(), false);
  for (const auto& a : actives_)
    SavePng(Opaque(a.Pixels),
            (dir / std::filesystem::path(a.FileName).replace_extension(".png")).string(), false);
}

void SetNine(TqzDataSkinCustomControl& d, const TRect& skin, int l, int t, int r, int b,
             int cornerX, int cornerY) {
  const int w = skin.Width(), h = skin.Height();
  const int cl = std::max(l, cornerX), ct = std::max(t, cornerY);
  const int cr = std::max(r, cornerX), cb = std::max(b, cornerY);
  d.SkinRect = skin;
  d.ClientRect = {l, t, w - r, h - b};
  d.LeftTopPoint = {cl, ct};
  d.RightTopPoint = {w - cr, ct};
  d.LeftBottomPoint = {cl, h - cb};
  d.RightBottomPoint = {w - cr, h - cb};
  d.LeftStretch = d.TopStretch = d.RightStretch = d.BottomStretch = true;
  d.StretchEffect = true;
  d.StretchType = TqzStretchType::Full;
}

void SetThreeH(TqzDataSkinCustomControl& d, const TRect& skin, int left, int right) {
  d.SkinRect = skin;
  d.LeftTopPoint = {left, 0};
  d.RightTopPoint = {skin.Width() - right, 0};
  d.LeftBottomPoint = d.RightBottomPoint = {0, 0};
  d.StretchEffect = true;
  d.StretchType = TqzStretchType::Full;
}

void SetThreeH(TqzDataSkinCustomControl& d, const TRect& skin, int left, int right,
               const TRect& client) {
  SetThreeH(d, skin, left, right);
  d.ClientRect = client;
}

void SetThreeV(TqzDataSkinCustomControl& d, const TRect& skin, int top, int bottom) {
  d.SkinRect = skin;
  d.LeftTopPoint = {0, top};
  d.LeftBottomPoint = {0, skin.Height() - bottom};
  d.RightTopPoint = d.RightBottomPoint = {0, 0};
  d.StretchEffect = true;
  d.StretchType = TqzStretchType::Full;
}

void SetThreeV(TqzDataSkinCustomControl& d, const TRect& skin, int top, int bottom,
               const TRect& client) {
  SetThreeV(d, skin, top, bottom);
  d.ClientRect = client;
}

namespace {

struct TNamedRect {
  std::string Name;
  int Picture;
  TRect Rect;
};

std::string PlaceText(const TNamedRect& r) {
  return (r.Name.empty() ? std::string("a rectangle") : r.Name) + " " + SkinRectText(r.Rect) +
         " of picture " + std::to_string(r.Picture);
}

bool Within(const TRect& r, const TRect& outer) {
  return r.Left >= outer.Left && r.Top >= outer.Top && r.Right <= outer.Right &&
         r.Bottom <= outer.Bottom;
}

bool Meet(const TNamedRect& a, const TNamedRect& b) {
  TRect common;
  return a.Picture == b.Picture && IntersectRect(common, a.Rect, b.Rect);
}

// The rects the field list cuts from the picture; `withSkinRect` false
// leaves out "skinrect" (an object's normal look on the frame picture).
// Rects of pictures that do not exist are refused here.
void CollectPictureRects(const TSkinBuilder& skin, const std::string& name, int picture,
                         const std::vector<TqzRoleField>& fields, bool withSkinRect,
                         std::vector<TNamedRect>& out) {
  if (picture < 0) return;
  for (const TqzRoleField& f : fields) {
    if (f.Role != TqzFieldRole::PictureRect || (!withSkinRect && f.Key == "skinrect")) continue;
    if (f.Rect.IsEmpty()) continue;  // the state has no look of its own
    if (picture >= skin.ActiveCount())
      throw std::runtime_error(name + ": picture index " + std::to_string(picture) +
                               " out of range");
    out.push_back({name, picture, f.Rect});
  }
}

std::vector<TNamedRect> DescribedRects(const TSkinBuilder& skin) {
  std::vector<TNamedRect> rects;
  for (const auto& c : skin.Controls())
    CollectPictureRects(skin, c->IDName, c->PictureIndex, RoleFields(*c), true, rects);
  for (const auto& o : skin.Objects())
    CollectPictureRects(skin, o->IDName, o->ActivePictureIndex, RoleFields(*o),
                        o->SkinRectInAPicture || ObjectLooksAllInActivePicture(*o), rects);
  return rects;
}

std::vector<TNamedRect> Named(const std::vector<TPaintedRect>& given, int picture) {
  std::vector<TNamedRect> out;
  for (const TPaintedRect& r : given) out.push_back({r.Owner, picture, r.Rect});
  return out;
}

void CheckInside(const TSkinBuilder& skin, const std::vector<TNamedRect>& rects) {
  for (const TNamedRect& r : rects) {
    const TSize size = skin.ActiveSize(r.Picture);
    if (r.Rect.IsEmpty())
      throw std::runtime_error(skin.IniName() + ": " + PlaceText(r) + " is empty");
    if (!Within(r.Rect, TRect{0, 0, size.cx, size.cy}))
      throw std::runtime_error(skin.IniName() + ": " + PlaceText(r) + " lies outside its picture");
  }
}

// Two different rectangles of one list may not overlap; the same one twice
// is a shared look.
void CheckApart(const TSkinBuilder& skin, const std::vector<TNamedRect>& rects) {
  for (size_t i = 0; i < rects.size(); ++i)
    for (size_t j = i + 1; j < rects.size(); ++j)
      if (rects[i].Rect != rects[j].Rect && Meet(rects[i], rects[j]))
        throw std::runtime_error(skin.IniName() + ": rectangles of " + PlaceText(rects[i]) +
                                 " and " + PlaceText(rects[j]) + " overlap");
}

// Every rectangle of `inner` that meets one of `outer` lies within it.
void CheckWithin(const TSkinBuilder& skin, const std::vector<TNamedRect>& inner,
                 const std::vector<TNamedRect>& outer) {
  for (const TNamedRect& a : inner)
    for (const TNamedRect& b : outer)
      if (Meet(a, b) && !Within(a.Rect, b.Rect))
        throw std::runtime_error(skin.IniName() + ": " + PlaceText(a) + " cuts into " +
                                 PlaceText(b));
}

}  // namespace

void CheckPictureRects(const TSkinBuilder& skin) {
  const std::vector<TNamedRect> described = DescribedRects(skin);
  std::vector<TNamedRect> painted, reserved;
  for (int i = 0; i < skin.ActiveCount(); ++i) {
    for (TNamedRect& r : Named(skin.Atlas(i).Painted(), i)) painted.push_back(std::move(r));
    for (TNamedRect& r : Named(skin.Atlas(i).Reserved(), i)) reserved.push_back(std::move(r));
  }
  CheckInside(skin, described);
  CheckInside(skin, painted);
  CheckInside(skin, reserved);
  CheckApart(skin, described);
  CheckApart(skin, painted);
  CheckWithin(skin, painted, reserved);
  CheckWithin(skin, described, painted);
}

}  // namespace qz::skingen
