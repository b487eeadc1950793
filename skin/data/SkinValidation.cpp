#include "skin/data/SkinValidation.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinLattice.h"

namespace qz {

namespace {

// Records the rect and picture index fields and the declarations of how
// looks are composed; every other field is passed by.
class TRoleCollector : public TqzDataFields {
 public:
  void Integer(const char*, int&, int) override {}
  void Flag(const char*, bool&) override {}
  void Color(const char*, TColor&, TColor) override {}
  void String(const char*, std::string&, const char*) override {}
  void Point(const char*, TPoint&) override {}
  void EnumInt(const char*, int&, const TqzEnumWords&) override {}
  void FontStyle(const char*, TFontStyles&) override {}
  void LineList(const char*, std::vector<std::string>&) override {}

  void Rect(const char* key, TRect& field) override {
    Record(RectField(key, TqzFieldRole::PictureRect, field));
  }
  void SkinRectLook(const char* key, TRect& field) override {
    TqzRoleField f = RectField(key, TqzFieldRole::PictureRect, field);
    f.Layout = TqzLookLayout::Lattice;
    Record(std::move(f));
  }
  void Place(const char* key, TRect& field, TqzPlaceBound bound) override {
    TqzRoleField f = RectField(key, TqzFieldRole::Place, field);
    f.Bound = bound;
    Record(std::move(f));
  }
  void PictureIndex(const char* key, int& field) override {
    Record(IndexField(key, field));
  }
  void LatticePictureIndex(const char* key, int& field) override {
    TqzRoleField f = IndexField(key, field);
    f.Layout = TqzLookLayout::Lattice;
    Record(std::move(f));
  }
  void ThreePartLook(std::initializer_list<const char*> keys, int endA, int endB, bool stretch,
                     TqzLookAxis axis) override {
    for (const char* key : keys) threeParts_.push_back({LowerCaseAscii(key), {endA, endB, stretch, axis}});
  }

  // The fields with their layouts resolved, once the walk is over.
  std::vector<TqzRoleField> Finish() {
    for (TqzRoleField& f : fields_) ResolveLayout(f);
    return std::move(fields_);
  }

 protected:
  void Lattice(const TqzLatticeFields& g, const TRect& clientRect) override {
    lattice_ = &g;
    latticeClient_ = &clientRect;
  }

 private:
  struct TDeclaredEnds {
    std::string Key;
    TqzThreePartEnds Ends;
  };

  static TqzRoleField RectField(const char* key, TqzFieldRole role, const TRect& rect) {
    TqzRoleField f;
    f.Key = LowerCaseAscii(key);
    f.Role = role;
    f.Rect = rect;
    return f;
  }
  static TqzRoleField IndexField(const char* key, int index) {
    TqzRoleField f;
    f.Key = LowerCaseAscii(key);
    f.Role = TqzFieldRole::PictureIndex;
    f.Index = index;
    return f;
  }

  void Record(TqzRoleField f) {
    for (TqzRoleField& earlier : fields_)
      if (earlier.Key == f.Key) {
        earlier = std::move(f);
        return;
      }
    fields_.push_back(std::move(f));
  }

  // The lattice comes first, as for the skin rect itself; a look that would
  // follow it in a description without corner points falls back to its
  // three-part declaration.
  void ResolveLayout(TqzRoleField& f) {
    if (f.Layout == TqzLookLayout::Lattice) {
      if (lattice_) {
        f.Lattice = TqzSkinGeometry(f.Role == TqzFieldRole::PictureRect ? f.Rect : TRect{},
                                    *lattice_);
        f.Lattice.ClientRect = *latticeClient_;
        return;
      }
      f.Layout = TqzLookLayout::Fixed;
    }
    if (f.Role != TqzFieldRole::PictureRect) return;
    for (auto it = threeParts_.rbegin(); it != threeParts_.rend(); ++it)
      if (it->Key == f.Key) {
        f.Layout = TqzLookLayout::ThreePart;
        f.Ends = it->Ends;
        return;
      }
  }

  std::vector<TqzRoleField> fields_;
  std::vector<TDeclaredEnds> threeParts_;
  const TqzLatticeFields* lattice_ = nullptr;
  const TRect* latticeClient_ = nullptr;
};

std::string RectText(const TRect& r) { return SkinRectText(r); }

bool Inside(const TRect& r, int w, int h) {
  return r.Left >= 0 && r.Top >= 0 && r.Right <= w && r.Bottom <= h;
}

// The checks shared by controls and objects; `pictureFor` gives the picture
// a picture rect is cut from (null when there is none to cut from).
template <class PictureFor>
void CheckFields(const TqzSkinData& skin, const std::string& name,
                 const std::vector<TqzRoleField>& fields, const TRect& skinRect,
                 PictureFor pictureFor, std::vector<std::string>& out) {
  for (const TqzRoleField& f : fields) {
    switch (f.Role) {
      case TqzFieldRole::PictureIndex:
        if (f.Index >= 0 && !skin.ActivePicture(f.Index))
          out.push_back(name + ": " + f.Key + "=" + std::to_string(f.Index) + " names no picture");
        break;
      case TqzFieldRole::Place:
        if (f.Bound == TqzPlaceBound::InSkinRect && f.Rect != TRect{} && !skinRect.IsEmpty() &&
            (f.Rect.IsEmpty() || !Inside(f.Rect, skinRect.Width(), skinRect.Height())))
          out.push_back(name + ": " + f.Key + " " + RectText(f.Rect) +
                        " does not lie within skinrect's " + std::to_string(skinRect.Width()) +
                        " x " + std::to_string(skinRect.Height()));
        break;
      case TqzFieldRole::PictureRect: {
        if (f.Rect == TRect{}) break;  // the state has no look of its own
        const TBitmap* picture = pictureFor(f.Key);
        if (f.Rect.IsEmpty())
          out.push_back(name + ": " + f.Key + " " + RectText(f.Rect) + " is inverted or empty");
        else if (picture && !Inside(f.Rect, picture->Width(), picture->Height()))
          out.push_back(name + ": " + f.Key + " " + RectText(f.Rect) + " lies outside its picture");
        break;
      }
    }
  }
}

const TBitmap* Usable(const TBitmap* b) { return b && !b->Empty() ? b : nullptr; }

}  // namespace

std::vector<TqzRoleField> RoleFields(TqzDataSkinControl& control) {
  TRoleCollector c;
  control.VisitFields(c);
  return c.Finish();
}

std::vector<TqzRoleField> RoleFields(TqzDataSkinObject& object) {
  TRoleCollector c;
  object.VisitFields(c);
  return c.Finish();
}

std::vector<TqzRoleField> RoleFields(TqzDataSkinSection& section) {
  TRoleCollector c;
  section.VisitFields(c);
  return c.Finish();
}

bool ObjectLooksAllInActivePicture(const TqzDataSkinObject& o) {
  return Is<TqzDataSkinMenuItem>(&o) || Is<TqzDataSkinMainMenuItem>(&o) ||
         Is<TqzDataSkinCaptionTab>(&o) || Is<TqzDataSkinCaptionMenuButton>(&o);
}

std::vector<std::string> ValidateDescriptions(TqzSkinData& skin) {
  std::vector<std::string> out;
  const TBitmap* main = Usable(&skin.Picture());
  for (const auto& c : skin.CtrlList()) {
    const TBitmap* own = Usable(skin.ActivePicture(c->PictureIndex));
    const TBitmap* picture = own ? own : main;
    CheckFields(skin, c->IDName, RoleFields(*c), c->SkinRect,
                [&](const std::string&) { return picture; }, out);
    if (auto* custom = dynamic_cast<const TqzDataSkinCustomControl*>(c.get());
        custom && CalcResizeMode(custom->Geometry()) != TqzResizeMode::None)
      for (const std::string& p : LatticeProblems(custom->Geometry()))
        out.push_back(c->IDName + ": " + p);
  }
  for (const auto& o : skin.ObjectList()) {
    const TBitmap* frame = Usable(o->RollUp ? &skin.RollUpPicture() : &skin.Picture());
    const TBitmap* active = Usable(skin.ActivePicture(o->ActivePictureIndex));
    const bool normalInActive = o->SkinRectInAPicture || ObjectLooksAllInActivePicture(*o);
    auto pictureFor = [&](const std::string& key) {
      const bool fromActive = key != "skinrect" || normalInActive;
      return fromActive && active ? active : frame;
    };
    CheckFields(skin, o->IDName, RoleFields(*o), o->SkinRect, pictureFor, out);
  }
  return out;
}

}  // namespace qz
