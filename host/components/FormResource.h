// Form resources: the text that describes a root component (a form) and the
// components it owns, with their published properties:
//
//   object Form1: TForm1
//     Left = 241
//     Caption = 'v. 1.0'
//     Font.Name = 'Arial'
//     BorderIcons = [biMinimize, biMinimizeToTray]
//     OnCreate = FormCreate
//     object qzSkinData1: TqzSkinData
//       CompressedStoredSkin = qzCompressedStoredSkin1
//     end
//     object qzCompressedStoredSkin1: TqzCompressedStoredSkin
//       CompressedData = {
//         789C...}
//     end
//   end
//
// Values: integers (-5, $FF), floats (1.5, 2E3), True/False, strings
// ('it''s' + #13#10 + 'x', UTF-8; #nnn is a Unicode code point), identifiers
// (alClient, clBtnFace, crHandPoint), sets [a, b], component references
// (qzSkinData1, Form1.qzSkinData2, nil), dotted sub-object properties
// (Font.Name), string lists (Items.Strings = ('a' 'b')), collections
// (Panels = < item Width = 50 end >) and binary blocks ({hex...}, spread over
// lines). Event properties name a handler the root registered
// (TComponent::RegisterHandler).
#pragma once

#include <string>
#include <string_view>

#include "host/base/Exception.h"
#include "host/components/Component.h"

namespace qz {

// Deepest nesting of objects, collection items and lists a resource may use.
constexpr int kMaxResourceNesting = 64;

// Reads `text` into an existing root (usually a form being constructed):
// - the resource's root class must be root->ClassName() or a registered
//   ancestor of it; the root takes the resource's name;
// - child objects are created in resource order (owner = root) and given the
//   enclosing object through SetParentComponent before their properties are
//   assigned in order;
// - component references (also forward ones and `Form1.x` into other
//   registered roots) are resolved after the whole text was read, so their
//   setters run then, in resource order; then the root's bound fields are
//   set;
// - finally csLoading is cleared everywhere and Loaded runs on each created
//   component in creation order, the root last.
// A broken resource raises EReadError, EPropertyError or EClassNotFound with
// the line in its message ("Line 12: Property Colr does not exist"); every
// component the failed read created is destroyed and the root's references
// and fields to them are cleared.
void ReadComponentRes(TComponent* root, std::string_view text);

// Reads the embedded resource named "form:..." whose root object's class is
// root->ClassName(). EReadError when there is none.
void ReadComponentResFromResources(TComponent* root);

// The class name in a resource's first line ("TForm1"), or "" when the text
// does not start with `object Name: Class`.
std::string ResourceRootClass(std::string_view text);

// Writes root and the components it owns (nested under their parent
// component), with the properties that differ from their defaults. Reading
// the text into a fresh root and writing again gives the same text.
std::string WriteComponentRes(const TComponent* root);

}  // namespace qz
