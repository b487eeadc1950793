#include "tools/skingen/SkinBuilder.h"

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
  for (const TRect& q : reserved_) {
    TRect i;
    if (IntersectRect(i, InflateRect(q, gap_, gap_), r)) return true;
  }
  return false;
}

TRect TAtlas::Place(int w, int h) {
  for (;;) {
    if (x_ + w > width_) NewRow();
    if (y_ + h > height_)
      throw std::runtime_error("picture full: no room for " + std::to_string(w) + "x" +
                               std::to_string(h));
    TRect r{x_, y_, x_ + w, y_ + h};
    if (!Overlaps(r)) {
      x_ += w + gap_;
      rowHeight_ = std::max(rowHeight_, h);
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

void TAtlas::Reserve(const TRect& r) { reserved_.push_back(r); }

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
  pictures.String("rolluppicture", "");
  pictures.String("rollupmask", "");
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
  for (const auto& a : actives_) WriteFile(dir / a.FileName, EncodeBmp(Opaque(a.Pixels), 24));
  std::string text = DescriptionText();
  WriteFile(dir / iniName_, std::vector<uint8_t>(text.begin(), text.end()));
}

void TSkinBuilder::SavePreviews(const std::filesystem::path& dir) const {
  std::filesystem::create_directories(dir);
  SavePng(Opaque(picture_), (dir / (BaseName() + ".png")).string(), false);
  if (HasMask()) SavePng(Opaque(mask_), (dir / (BaseName() + "mask.png")).string(), false);
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

void Need(TSkinBuilder& skin, std::vector<TNamedRect>& out, const std::string& name, int picture,
          const TRect& r) {
  if (r.IsEmpty()) return;
  if (picture < 0 || picture >= skin.ActiveCount())
    throw std::runtime_error(name + ": picture index " + std::to_string(picture) + " out of range");
  const TPixmap& pic = skin.Active(picture);
  if (r.Left < 0 || r.Top < 0 || r.Right > pic.Width() || r.Bottom > pic.Height())
    throw std::runtime_error(name + ": rectangle outside its picture");
  out.push_back({name, picture, r});
}

// The rects the field list cuts from the picture; `withSkinRect` false
// leaves out "skinrect" (an object's normal look on the frame picture).
void CollectPictureRects(TSkinBuilder& skin, const std::string& name, int picture,
                         const std::vector<TqzRoleField>& fields, bool withSkinRect,
                         std::vector<TNamedRect>& out) {
  if (picture < 0) return;
  for (const TqzRoleField& f : fields)
    if (f.Role == TqzFieldRole::PictureRect && (withSkinRect || f.Key != "skinrect"))
      Need(skin, out, name, picture, f.Rect);
}

}  // namespace

void CheckPictureRects(const TSkinBuilder& skin) {
  // Reading picture sizes does not change the pictures.
  TSkinBuilder& pictures = const_cast<TSkinBuilder&>(skin);
  std::vector<TNamedRect> rects;
  for (const auto& c : skin.Controls())
    CollectPictureRects(pictures, c->IDName, c->PictureIndex, RoleFields(*c), true, rects);
  for (const auto& o : skin.Objects())
    CollectPictureRects(pictures, o->IDName, o->ActivePictureIndex, RoleFields(*o),
                        o->SkinRectInAPicture || ObjectLooksAllInActivePicture(*o), rects);
  for (size_t i = 0; i < rects.size(); ++i)
    for (size_t j = i + 1; j < rects.size(); ++j) {
      const TNamedRect& a = rects[i];
      const TNamedRect& b = rects[j];
      TRect overlap;
      if (a.Picture == b.Picture && !(a.Rect == b.Rect) && IntersectRect(overlap, a.Rect, b.Rect))
        throw std::runtime_error(skin.IniName() + ": rectangles of " + a.Name + " and " + b.Name +
                                 " overlap");
    }
}

}  // namespace qz::skingen
