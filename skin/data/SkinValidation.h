// The rectangle and picture fields of a description by their roles, read
// from its field list, and the problems of a loaded skin found from them:
// rectangles outside the picture they are cut from, picture indexes that
// name no picture, places outside the skin rect, unsound corner points.
#pragma once

#include <string>
#include <vector>

#include "skin/data/SkinIni.h"

namespace qz {

class TqzSkinData;
class TqzDataSkinControl;
class TqzDataSkinObject;
class TqzDataSkinSection;

enum class TqzFieldRole { PictureRect, Place, PictureIndex };

// How a look is composed at sizes other than its own.
enum class TqzLookLayout {
  Fixed,      // copied as it is
  Lattice,    // by the description's corner points, client rect and stretch flags
  ThreePart,  // fixed ends, the middle tiled or stretched
};

struct TqzThreePartEnds {
  int EndA = 0, EndB = 0;  // the fixed lengths at the start and the end
  bool Stretch = false;    // the middle is stretched, else tiled
  TqzLookAxis Axis = TqzLookAxis::Horizontal;
};

struct TqzRoleField {
  std::string Key;  // lower case
  TqzFieldRole Role = TqzFieldRole::PictureRect;
  TRect Rect;       // PictureRect and Place
  TqzPlaceBound Bound = TqzPlaceBound::Free;  // Place
  int Index = -1;   // PictureIndex
  // PictureRect, and a PictureIndex whose whole picture is composed.
  TqzLookLayout Layout = TqzLookLayout::Fixed;
  TqzSkinGeometry Lattice;  // Layout Lattice; SkinRect is Rect (empty for a picture index)
  TqzThreePartEnds Ends;    // Layout ThreePart
};

// The rect and picture index fields in the order of the field list. A key
// listed twice keeps its first place and takes the value and role of its
// last listing, as the written description does. A look laid out like the
// skin rect is composed by the lattice when the description declares one;
// otherwise by its three-part declaration (the last one naming it), else
// it is fixed.
std::vector<TqzRoleField> RoleFields(TqzDataSkinControl& control);
std::vector<TqzRoleField> RoleFields(TqzDataSkinObject& object);
std::vector<TqzRoleField> RoleFields(TqzDataSkinSection& section);

// Objects whose every look, the normal one included, is cut from their
// active picture (menu items and the caption's tab and menu buttons); other
// objects cut their normal look from the frame picture unless
// SkinRectInAPicture says otherwise.
bool ObjectLooksAllInActivePicture(const TqzDataSkinObject& object);

// The faults of the loaded skin's controls and objects, one line each,
// "<section>: <what is wrong>". Empty for a sound skin.
std::vector<std::string> ValidateDescriptions(TqzSkinData& skin);

}  // namespace qz
