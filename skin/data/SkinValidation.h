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

struct TqzRoleField {
  std::string Key;  // lower case
  TqzFieldRole Role = TqzFieldRole::PictureRect;
  TRect Rect;       // PictureRect and Place
  TqzPlaceBound Bound = TqzPlaceBound::Free;  // Place
  int Index = -1;   // PictureIndex
};

// The rect and picture index fields in the order of the field list. A key
// listed twice keeps its first place and takes the value and role of its
// last listing, as the written description does.
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
