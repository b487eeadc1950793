#include "host/shell/FileOperations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/shell/ShellItem.h"

namespace qz {

namespace {

std::string ErrnoText(int error) {
  char buffer[256];
  return strerror_r(error, buffer, sizeof buffer);  // the GNU variant
}

std::string Quoted(std::string_view bytes) { return "\"" + DisplayNameFromBytes(bytes) + "\""; }

bool ValidName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

[[noreturn]] void Fail(const std::string& what, int error) {
  throw EShellError(what + ": " + ErrnoText(error), error);
}

}  // namespace

int detail::RenameNoReplaceFallback(const char* from, const char* to) {
  struct stat st;
  if (lstat(from, &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) {
    if (link(from, to) == 0) {
      if (unlink(from) == 0) return 0;
      const int e = errno;
      unlink(to);  // undo: the item keeps its one old name
      return e;
    }
    if (errno == EEXIST) return EEXIST;
  }
  if (lstat(to, &st) == 0) return EEXIST;
  if (errno != ENOENT) return errno;
  return rename(from, to) == 0 ? 0 : errno;
}

std::string CreateFolder(const std::string& parent, const std::string& name) {
  const std::string what = "Cannot create the folder " + Quoted(name) + " in " + Quoted(parent);
  if (!ValidName(name)) Fail(what, EINVAL);
  const std::string path = ChildOf(TShellId::FromPath(parent), name).Path;
  if (path.empty()) Fail(what, EINVAL);  // no file-system parent
  if (mkdir(path.c_str(), 0777) != 0) Fail(what, errno);
  return path;
}

std::string CreateNewFolder(const std::string& parent, const std::string& baseName) {
  constexpr int kTries = 10000;
  for (int n = 1; n <= kTries; ++n) {
    const std::string name = n == 1 ? baseName : baseName + " (" + std::to_string(n) + ")";
    try {
      return CreateFolder(parent, name);
    } catch (const EShellError& e) {
      if (e.ErrorCode() != EEXIST) throw;
    }
  }
  Fail("Cannot create a new folder in " + Quoted(parent), EEXIST);
}

std::string RenameItem(const std::string& path, const std::string& newName) {
  const TShellId id = TShellId::FromPath(path);
  const std::string what = "Cannot rename " + Quoted(LastName(id.Path)) + " to " + Quoted(newName);
  if (id.IsVirtual() || id.Path == "/") Fail(what, EINVAL);
  if (!ValidName(newName)) Fail(what, EINVAL);
  if (LastName(id.Path) == newName) return id.Path;
  const std::string target = ChildOf(ParentOf(id), newName).Path;
  if (renameat2(AT_FDCWD, id.Path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return target;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) Fail(what, errno);
  // The file system does not know the flag (some network and FUSE ones).
  if (const int error = detail::RenameNoReplaceFallback(id.Path.c_str(), target.c_str())) Fail(what, error);
  return target;
}

}  // namespace qz
