// Making and renaming items for the file dialogs. Paths and names are
// bytes; failures throw EShellError with the system's reason.
#pragma once

#include <string>

#include "host/shell/FileManager.h"

namespace qz {

// Makes the folder `name` in `parent`; gives its path. Throws EShellError
// (errno EEXIST when the name is taken, EACCES, ENOENT, ENAMETOOLONG ...;
// EINVAL for a name that is empty, "." or "..", or holds "/" or NUL).
std::string CreateFolder(const std::string& parent, const std::string& name);
// Makes a folder named `baseName`, or "baseName (2)", "baseName (3)" ...
// when the name is taken (the first free one, race-free); gives its path.
std::string CreateNewFolder(const std::string& parent, const std::string& baseName = "New Folder");

// Renames the item at `path` to `newName` in the same folder; gives the new
// path. An existing item of that name is never replaced (EShellError with
// EEXIST). Renaming to its own name does nothing.
std::string RenameItem(const std::string& path, const std::string& newName);

namespace detail {
// What RenameItem does on file systems without an atomic rename that
// refuses to replace: a hard link (refused when the name is taken) and the
// old name removed; for folders, and file systems without hard links, a
// check just before renaming. Gives 0 or the errno.
int RenameNoReplaceFallback(const char* from, const char* to);
}  // namespace detail

}  // namespace qz
