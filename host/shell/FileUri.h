// File URIs of paths, as file managers, thumbnail caches and the desktop's
// D-Bus services write them.
#pragma once

#include <string>
#include <string_view>

namespace qz {

// The canonical URI of an absolute path: "file://" + the path's bytes, those
// other than letters, digits and -._~!$&'()*+,=:@/ written as %XX (upper
// case), as file managers write it. The path is taken as it is (bytes, not
// text: a name that is not UTF-8 keeps its bytes).
std::string FileUriFromPath(std::string_view absolutePath);

}  // namespace qz
