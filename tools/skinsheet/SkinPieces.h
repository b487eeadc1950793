// The picture pieces of a loaded skin: for every description, each rectangle
// that cuts an image out of a picture (normal, active, down ... looks, thumbs,
// arrows, tabs), the picture it cuts from, how that image is composed at
// other sizes, and what is wrong with it. Faults: a rectangle outside its
// picture, a picture index that names no picture, a client rect or button
// place outside the skin rect, a shape mask of another size, frame rects and
// areas outside the main picture. Warnings: looks of another size than the
// normal one, corner points outside or crossing, tiled spans with seams.
//
// The walk is generic: the description's field list says which rectangles
// are cut from a picture (pieces) and which are places relative to another
// rectangle (client, text and item areas, button places), which fields are
// picture indexes, and how each look is composed at other sizes. Used by
// the skinsheet tool and the skin structure tests, so that both judge a
// skin by the same rules.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/graphics/Bitmap.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinValidation.h"
#include "skin/draw/SkinGeometry.h"
#include "skin/draw/SkinLattice.h"

namespace qz::skinsheet {

// How a piece is composed at a size other than its own.
enum class TPieceLayout {
  Fixed,     // copied as it is
  Geometry,  // by the description's corner points, client rect and stretch flags
  HorzEnds,  // fixed left and right ends, middle tiled or stretched
  VertEnds,  // fixed top and bottom ends, middle tiled or stretched
};

struct TSkinPiece {
  std::string Key;                   // the description key ("activeskinrect")
  TRect Rect;                        // in the picture's coordinates
  const TBitmap* Picture = nullptr;  // null: the piece names no picture
  std::string PictureName;           // "main picture", "active picture 3"
  TPieceLayout Layout = TPieceLayout::Fixed;
  TqzSkinGeometry Geometry;          // Layout Geometry (SkinRect = Rect)
  bool WholePicture = false;         // a picture index field: the whole picture
  int EndA = 0, EndB = 0;            // HorzEnds / VertEnds: fixed end lengths
  bool Stretch = false;              // HorzEnds / VertEnds: stretch the middle

  bool InsidePicture() const {
    if (!Picture) return false;
    return Rect.Left >= 0 && Rect.Top >= 0 && Rect.Right <= Picture->Width() &&
           Rect.Bottom <= Picture->Height();
  }
};

struct TSkinDescriptionPieces {
  std::string Name;   // section name
  std::string Kind;   // kind word ("button") or the fixed section's name
  std::string Class;  // description class
  std::vector<TSkinPiece> Pieces;
  // Relative rects (client, text, button places ...), relative to "skinrect"
  // or to the look they belong to (bound OnOtherLook).
  struct TPlace {
    std::string Key;
    TRect Rect;
    TqzPlaceBound Bound = TqzPlaceBound::Free;
  };
  std::vector<TPlace> Places;
  TRect SkinRect;                     // "skinrect" (for the places)
  std::vector<std::string> Problems;  // faults of the skin (rects outside ...)
  std::vector<std::string> Warnings;  // suspicious but drawable
};

// ---------------------------------------------------------------------------
// Helpers.

inline std::string RectText(const TRect& r) { return SkinRectText(r); }

inline std::string PictureSizeText(const TBitmap& b) {
  return std::to_string(b.Width()) + " x " + std::to_string(b.Height());
}

// The picture an index of the skin names, and its display name.
struct TPictureRef {
  const TBitmap* Bitmap = nullptr;
  std::string Name;
};
inline TPictureRef ActivePictureRef(const TqzSkinData& skin, int index) {
  TBitmap* b = skin.ActivePicture(index);
  if (!b || b->Empty()) return {};
  std::string name = "active picture " + std::to_string(index);
  if (index < static_cast<int>(skin.ActivePicturesNames().size()))
    name += " (" + skin.ActivePicturesNames()[size_t(index)] + ")";
  return {b, name};
}
inline TPictureRef MainPictureRef(const TqzSkinData& skin) {
  return {&skin.Picture(), "main picture"};
}
inline TPictureRef RollUpPictureRef(const TqzSkinData& skin) {
  return {&skin.RollUpPicture(), "roll-up picture"};
}

// Gives a piece the composition its description declares for it.
inline void AssignLayout(TSkinPiece& piece, const TqzRoleField& f) {
  switch (f.Layout) {
    case TqzLookLayout::Lattice:
      piece.Layout = TPieceLayout::Geometry;
      piece.Geometry = f.Lattice;
      piece.Geometry.SkinRect = piece.Rect;
      return;
    case TqzLookLayout::ThreePart:
      piece.Layout = f.Ends.Axis == TqzLookAxis::Vertical ? TPieceLayout::VertEnds
                                                           : TPieceLayout::HorzEnds;
      piece.EndA = f.Ends.EndA;
      piece.EndB = f.Ends.EndB;
      piece.Stretch = f.Ends.Stretch;
      return;
    case TqzLookLayout::Fixed:
      return;
  }
}

// Checks a piece against its picture and records what is wrong.
inline void CheckPiece(const TSkinPiece& p, TSkinDescriptionPieces& out) {
  const std::string what = p.Key + " " + RectText(p.Rect);
  if (p.Rect.IsEmpty()) {
    out.Problems.push_back(what + " is inverted or empty");
  } else if (!p.Picture) {
    out.Problems.push_back(what + ": " + p.PictureName + " does not exist");
  } else if (!p.InsidePicture()) {
    out.Problems.push_back(what + " lies outside " + p.PictureName + " (" +
                           PictureSizeText(*p.Picture) + ")");
  }
}

// Looks of the same layout as "skinrect" should have its size.
inline void CheckStateSizes(TSkinDescriptionPieces& out) {
  const TSkinPiece* normal = nullptr;
  for (const TSkinPiece& p : out.Pieces)
    if (p.Key == "skinrect") normal = &p;
  if (!normal || normal->Rect.IsEmpty()) return;  // already a fault
  for (const TSkinPiece& p : out.Pieces) {
    if (&p == normal || p.Layout != TPieceLayout::Geometry) continue;
    if (p.Rect.Width() != normal->Rect.Width() || p.Rect.Height() != normal->Rect.Height())
      out.Warnings.push_back(p.Key + " is " + std::to_string(p.Rect.Width()) + " x " +
                             std::to_string(p.Rect.Height()) + ", skinrect " +
                             std::to_string(normal->Rect.Width()) + " x " +
                             std::to_string(normal->Rect.Height()));
  }
}

// A picture index key ("maskpictureindex", "glowlayerpictureindex" ...): a
// whole-picture piece, or a problem when the index names nothing.
inline void AddIndexedPicture(const TqzSkinData& skin, const std::string& key, int index,
                              TSkinDescriptionPieces& out) {
  if (index < 0) return;
  TPictureRef ref = ActivePictureRef(skin, index);
  if (!ref.Bitmap) {
    out.Problems.push_back(key + "=" + std::to_string(index) + " names no picture (" +
                           std::to_string(skin.ActivePictureCount()) + " active pictures)");
    return;
  }
  TSkinPiece p;
  p.Key = key;
  p.WholePicture = true;
  p.Picture = ref.Bitmap;
  p.PictureName = ref.Name;
  p.Rect = {0, 0, ref.Bitmap->Width(), ref.Bitmap->Height()};
  out.Pieces.push_back(std::move(p));
}

// Walks the rect and picture index fields of one description: picture
// rects become pieces cut from the picture `pictureFor(key)` gives; picture
// index fields other than `ownIndexKey` become whole-picture pieces.
template <class PictureFor>
void WalkFields(const TqzSkinData& skin, const std::vector<TqzRoleField>& fields,
                std::string_view ownIndexKey,
                PictureFor pictureFor, TSkinDescriptionPieces& out) {
  for (const TqzRoleField& f : fields) {
    if (f.Role == TqzFieldRole::PictureIndex) {
      if (f.Key != ownIndexKey) AddIndexedPicture(skin, f.Key, f.Index, out);
      continue;
    }
    if (f.Rect == TRect{}) continue;  // the state has no look of its own
    if (f.Role == TqzFieldRole::Place) {
      out.Places.push_back({f.Key, f.Rect, f.Bound});
      continue;
    }
    TPictureRef ref = pictureFor(f.Key);
    TSkinPiece p;
    p.Key = f.Key;
    p.Rect = f.Rect;
    p.Picture = ref.Bitmap;
    p.PictureName = ref.Name;
    AssignLayout(p, f);
    out.Pieces.push_back(std::move(p));
  }
}

// The corner points of a look composed by them must lie within it and keep
// their order, or the composition cuts corners or repeats the wrong pixels.
inline void CheckCornerPoints(TSkinDescriptionPieces& out) {
  for (const TSkinPiece& p : out.Pieces) {
    if (p.Key != "skinrect" || p.Layout != TPieceLayout::Geometry || p.Rect.IsEmpty()) continue;
    for (std::string& problem : LatticeProblems(p.Geometry)) out.Warnings.push_back(std::move(problem));
  }
}

// Seams: a tiled span repeats its source, so the step from its last column
// back to its first (or last row to first row) appears at every repetition.
// That step is seamless when the span itself contains it somewhere (a
// uniform or periodic pattern); a gradient or a lone detail does not.
class TSeamCheck {
 public:
  TSeamCheck(const TSkinPiece& p, TSkinDescriptionPieces& out) : p_(p), out_(out) {}

  // The span [a, b) along X of the rows [top, bottom) (piece coordinates,
  // clipped to the piece: a description's points may reach past it).
  void TiledAlongX(const char* what, int a, int b, int top, int bottom) {
    ClipSpan(a, b, p_.Rect.Width());
    ClipSpan(top, bottom, p_.Rect.Height());
    if (b - a < 2 || bottom <= top) return;
    std::vector<std::vector<uint32_t>> cols;
    for (int x = a; x < b; ++x) {
      cols.emplace_back();
      for (int y = top; y < bottom; ++y) cols.back().push_back(Colour(x, y));
    }
    if (!Seamless(cols)) Report(what, "column", a, b - 1);
  }
  void TiledAlongY(const char* what, int a, int b, int left, int right) {
    ClipSpan(a, b, p_.Rect.Height());
    ClipSpan(left, right, p_.Rect.Width());
    if (b - a < 2 || right <= left) return;
    std::vector<std::vector<uint32_t>> rows;
    for (int y = a; y < b; ++y) {
      rows.emplace_back();
      for (int x = left; x < right; ++x) rows.back().push_back(Colour(x, y));
    }
    if (!Seamless(rows)) Report(what, "row", a, b - 1);
  }

 private:
  static void ClipSpan(int& a, int& b, int size) {
    a = std::clamp(a, 0, size);
    b = std::clamp(b, 0, size);
  }
  static bool Seamless(const std::vector<std::vector<uint32_t>>& lines) {
    const auto& first = lines.front();
    const auto& last = lines.back();
    for (size_t i = 0; i + 1 < lines.size(); ++i)
      if (lines[i] == last && lines[i + 1] == first) return true;
    return false;
  }
  uint32_t Colour(int x, int y) const {
    return p_.Picture->Pixels().At(p_.Rect.Left + x, p_.Rect.Top + y) & 0x00FFFFFFu;
  }
  void Report(const char* what, const char* line, int first, int last) {
    out_.Warnings.push_back(p_.Key + " " + what + " is tiled, but the step from its last " +
                            line + " (" + std::to_string(last) + ") to its first (" +
                            std::to_string(first) + ") occurs nowhere in it: a seam at every "
                            "repetition");
  }
  const TSkinPiece& p_;
  TSkinDescriptionPieces& out_;
};

// Every tiled piece of the lattice at the look's own size repeats its
// source along the axes it tiles.
inline void CheckNinePartSeams(const TSkinPiece& p, TSeamCheck& seams) {
  const TqzSkinGeometry& g = p.Geometry;
  const int w = p.Rect.Width(), h = p.Rect.Height();
  const TqzNewGeometry own = CalcNewGeometry(g, TqzResizeMode::NinePart, w, h);
  for (const TqzLatticePiece& piece : NinePartPieces(g, own, w, h)) {
    // Relative to the look, as the seam check reads it.
    const TRect s{piece.Source.Left - g.SkinRect.Left, piece.Source.Top - g.SkinRect.Top,
                  piece.Source.Right - g.SkinRect.Left, piece.Source.Bottom - g.SkinRect.Top};
    const char* what = LatticePartName(piece.Part);
    const bool alongX = piece.Fill == TqzPieceFill::TileX || piece.Fill == TqzPieceFill::Tile ||
                        piece.Fill == TqzPieceFill::StretchRepeatX;
    const bool alongY = piece.Fill == TqzPieceFill::TileY || piece.Fill == TqzPieceFill::Tile ||
                        piece.Fill == TqzPieceFill::StretchRepeatY;
    if (alongX) seams.TiledAlongX(what, s.Left, s.Right, s.Top, s.Bottom);
    if (alongY) seams.TiledAlongY(what, s.Top, s.Bottom, s.Left, s.Right);
  }
}

inline void CheckSeams(TSkinDescriptionPieces& out) {
  for (const TSkinPiece& p : out.Pieces) {
    if (!p.InsidePicture() || p.Rect.IsEmpty()) continue;
    const int w = p.Rect.Width(), h = p.Rect.Height();
    TSeamCheck seams(p, out);
    if (p.Layout == TPieceLayout::HorzEnds && !p.Stretch)
      seams.TiledAlongX("middle", p.EndA, w - p.EndB, 0, h);
    if (p.Layout == TPieceLayout::VertEnds && !p.Stretch)
      seams.TiledAlongY("middle", p.EndA, h - p.EndB, 0, w);
    if (p.Layout != TPieceLayout::Geometry) continue;
    const TqzSkinGeometry& g = p.Geometry;
    switch (CalcResizeMode(g)) {
      case TqzResizeMode::NinePart:
        CheckNinePartSeams(p, seams);
        break;
      case TqzResizeMode::Horizontal:
        if (!g.StretchEffect)
          seams.TiledAlongX("middle", g.LeftTopPoint.X, g.RightTopPoint.X, 0, h);
        break;
      case TqzResizeMode::Vertical:
        if (!g.StretchEffect)
          seams.TiledAlongY("middle", g.LeftTopPoint.Y, g.LeftBottomPoint.Y, 0, w);
        break;
      default:
        break;
    }
  }
}

// Places relative to "skinrect" (client rect, button places, track area)
// must lie within its size.
inline void CheckPlaces(TSkinDescriptionPieces& out) {
  if (out.SkinRect.IsEmpty()) return;
  const int w = out.SkinRect.Width(), h = out.SkinRect.Height();
  for (const auto& [key, r, bound] : out.Places) {
    if (bound != TqzPlaceBound::InSkinRect) continue;
    if (r.Left >= 0 && r.Top >= 0 && r.Right <= w && r.Bottom <= h && !r.IsEmpty()) continue;
    out.Problems.push_back(key + " " + RectText(r) + " does not lie within skinrect's " +
                           std::to_string(w) + " x " + std::to_string(h));
  }
}

inline void FinishDescription(TSkinDescriptionPieces& out) {
  for (const TSkinPiece& p : out.Pieces)
    if (!p.WholePicture) CheckPiece(p, out);
  CheckStateSizes(out);
  CheckCornerPoints(out);
  CheckSeams(out);
  CheckPlaces(out);
}

// ---------------------------------------------------------------------------
// Descriptions.

// A control's shape mask is a picture of the size of its "skinrect".
inline void CheckShapeMask(const TqzSkinData& skin, const TqzDataSkinControl& c,
                           TSkinDescriptionPieces& out) {
  const TBitmap* mask = skin.ActivePicture(c.MaskPictureIndex);
  if (!mask || c.SkinRect.IsEmpty()) return;
  if (mask->Width() == c.SkinRect.Width() && mask->Height() == c.SkinRect.Height()) return;
  out.Problems.push_back("maskpictureindex=" + std::to_string(c.MaskPictureIndex) + ": the mask is " +
                         PictureSizeText(*mask) + ", skinrect " +
                         std::to_string(c.SkinRect.Width()) + " x " +
                         std::to_string(c.SkinRect.Height()));
}

// A control description: every piece comes from its "pictureindex" picture,
// or the main picture when it has none.
inline TSkinDescriptionPieces PiecesOfControl(const TqzSkinData& skin, TqzDataSkinControl& c) {
  TSkinDescriptionPieces out;
  out.Name = c.IDName;
  out.Kind = SkinControlKindWord(c);
  out.Class = c.ClassName();
  out.SkinRect = c.SkinRect;
  TPictureRef picture = ActivePictureRef(skin, c.PictureIndex);
  if (c.PictureIndex >= 0 && !picture.Bitmap)
    out.Problems.push_back("pictureindex=" + std::to_string(c.PictureIndex) +
                           " names no picture (" + std::to_string(skin.ActivePictureCount()) +
                           " active pictures)");
  if (!picture.Bitmap) picture = MainPictureRef(skin);
  WalkFields(skin, RoleFields(c), "pictureindex", [&](const std::string&) { return picture; },
             out);
  FinishDescription(out);
  CheckShapeMask(skin, c, out);
  return out;
}

// A form object: "skinrect" lies on the frame picture unless
// "skinrectinapicture" (or the object's kind) says it is cut from the active
// picture; every other look is cut from the active picture (the frame
// picture when the object has none).
inline TSkinDescriptionPieces PiecesOfObject(const TqzSkinData& skin, TqzDataSkinObject& o) {
  TSkinDescriptionPieces out;
  out.Name = o.IDName;
  out.Kind = SkinObjectKindWord(o);
  out.Class = o.ClassName();
  out.SkinRect = o.SkinRect;
  TPictureRef frame = o.RollUp ? RollUpPictureRef(skin) : MainPictureRef(skin);
  TPictureRef active = ActivePictureRef(skin, o.ActivePictureIndex);
  if (o.ActivePictureIndex >= 0 && !active.Bitmap)
    out.Problems.push_back("activepictureindex=" + std::to_string(o.ActivePictureIndex) +
                           " names no picture (" + std::to_string(skin.ActivePictureCount()) +
                           " active pictures)");
  const bool normalInActive = o.SkinRectInAPicture || ObjectLooksAllInActivePicture(o);
  auto pictureFor = [&](const std::string& key) {
    const bool fromActive = key != "skinrect" || normalInActive;
    return fromActive && active.Bitmap ? active : frame;
  };
  WalkFields(skin, RoleFields(o), "activepictureindex", pictureFor, out);
  FinishDescription(out);
  return out;
}

// The picture index of a fixed window section whose whole picture its
// corner points compose; null when the section declares none.
inline const TqzRoleField* WindowPictureField(const std::vector<TqzRoleField>& fields) {
  for (const TqzRoleField& f : fields)
    if (f.Role == TqzFieldRole::PictureIndex && f.Layout == TqzLookLayout::Lattice) return &f;
  return nullptr;
}

// A fixed window section ([POPUPWINDOW], [HINTWINDOW], [LAYERFRAME]): its
// window picture composed by its lattice, then its other pictures whole.
inline TSkinDescriptionPieces PiecesOfWindowSection(const TqzSkinData& skin,
                                                    TqzDataSkinSection& section) {
  TSkinDescriptionPieces out;
  out.Name = section.SectionName();
  out.Kind = LowerCaseAscii(section.SectionName());
  out.Class = section.ClassName();
  const std::vector<TqzRoleField> fields = RoleFields(section);
  const TqzRoleField* window = WindowPictureField(fields);
  if (window) {
    AddIndexedPicture(skin, window->Key, window->Index, out);
    if (!out.Pieces.empty()) {
      TSkinPiece& p = out.Pieces.front();
      p.Layout = TPieceLayout::Geometry;
      p.Geometry = window->Lattice;
      p.Geometry.SkinRect = p.Rect;
    }
  }
  for (const TqzRoleField& f : fields)
    if (f.Role == TqzFieldRole::PictureIndex && &f != window)
      AddIndexedPicture(skin, f.Key, f.Index, out);
  return out;
}

// Whether a fixed window section has a picture of its own (only those are
// shown and checked).
inline bool HasWindowPicture(TqzDataSkinSection& section) {
  const std::vector<TqzRoleField> fields = RoleFields(section);
  const TqzRoleField* window = WindowPictureField(fields);
  return window && window->Index >= 0;
}

// [FORMINFO] and [SKINAREAS]: the frame's rects and the areas lie in the
// main picture, the mask has its size. Faults only; no pieces.
inline TSkinDescriptionPieces FrameChecks(const TqzSkinData& skin) {
  TSkinDescriptionPieces out;
  out.Name = "FORMINFO";
  out.Kind = "forminfo";
  out.Class = "TqzSkinData";
  const TBitmap& picture = skin.Picture();
  const TRect bounds{0, 0, picture.Width(), picture.Height()};
  auto inside = [&](const TRect& r) {
    return r.Left >= bounds.Left && r.Top >= bounds.Top && r.Right <= bounds.Right &&
           r.Bottom <= bounds.Bottom;
  };
  const std::pair<const char*, TRect> rects[] = {
      {"clientrect", skin.ClientRect},     {"captionrect", skin.CaptionRect},
      {"buttonsrect", skin.ButtonsRect},   {"maskrectarea", skin.MaskRectArea},
      {"mainmenurect", skin.MainMenuRect}, {"iconrect", skin.IconRect},
      {"sizegriparea", skin.SizeGripArea}};
  for (const auto& [key, r] : rects)
    if (r != TRect{} && !inside(r))
      out.Problems.push_back(std::string(key) + " " + RectText(r) + " lies outside the main picture (" +
                             PictureSizeText(picture) + ")");
  for (const auto& a : skin.AreaList())
    if (!inside(a->AreaRect) || a->AreaRect.IsEmpty())
      out.Problems.push_back("area " + a->IDName + " " + RectText(a->AreaRect) +
                             " is empty or lies outside the main picture");
  const TBitmap& mask = skin.Mask();
  if (!mask.Empty() && (mask.Width() != picture.Width() || mask.Height() != picture.Height()))
    out.Problems.push_back("the mask is " + PictureSizeText(mask) + ", the main picture " +
                           PictureSizeText(picture));
  return out;
}

// Every description of the skin: the frame checks when they find a fault,
// [SKINCONTROLS], [SKINOBJECTS], then the popup window, hint window and layer
// frame when they have pictures.
inline std::vector<TSkinDescriptionPieces> AllDescriptionPieces(TqzSkinData& skin) {
  std::vector<TSkinDescriptionPieces> all;
  if (TSkinDescriptionPieces frame = FrameChecks(skin); !frame.Problems.empty())
    all.push_back(std::move(frame));
  for (const auto& c : skin.CtrlList()) all.push_back(PiecesOfControl(skin, *c));
  for (const auto& o : skin.ObjectList()) all.push_back(PiecesOfObject(skin, *o));
  TqzDataSkinSection* const windows[] = {&skin.PopupWindow(), &skin.HintWindow(),
                                         &skin.LayerFrame()};
  for (TqzDataSkinSection* section : windows)
    if (HasWindowPicture(*section)) all.push_back(PiecesOfWindowSection(skin, *section));
  return all;
}

}  // namespace qz::skinsheet
