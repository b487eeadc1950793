// Shell items: the identifiers of folders and files and the names shown for
// them.
//
// A file-system item is identified by its absolute path kept as bytes:
// Linux names are bytes, not text, and every later use (opening, renaming,
// listing, watching) takes those bytes, never the name shown. The virtual
// folders have no path: the root "Computer" (home, "/", the mounted volumes)
// and "Network" (the network mounts), which lies in Computer.
#pragma once

#include <string>
#include <string_view>

namespace qz {

enum class TShellPlace {
  FileSystem,  // a file or folder at Path
  Computer,    // the virtual root
  Network,     // the network mounts
};

struct TShellId {
  TShellPlace Place = TShellPlace::Computer;
  std::string Path;  // absolute, without trailing slash ("/" alone stays); FileSystem only

  static TShellId Computer() { return {TShellPlace::Computer, {}}; }
  static TShellId Network() { return {TShellPlace::Network, {}}; }
  // The item at an absolute path, normalised: repeated and trailing slashes
  // dropped, "." components dropped. ".." is kept as it is (a folder
  // reached through a link has another parent than its text says).
  // A relative or empty path gives Computer.
  static TShellId FromPath(std::string_view path);

  bool IsVirtual() const { return Place != TShellPlace::FileSystem; }
  bool operator==(const TShellId&) const = default;
};

// The folder holding an item: Computer holds "/" and Network; "/" holds
// "/usr"; Computer has none (returns Computer itself, check IsRoot).
TShellId ParentOf(const TShellId& id);
inline bool IsRoot(const TShellId& id) { return id.Place == TShellPlace::Computer; }
// The item named `name` (bytes, one component) in folder `folder`
// (FileSystem only; a virtual folder gives Computer).
TShellId ChildOf(const TShellId& folder, std::string_view name);
// The last component of a path ("/a/b" → "b", "/" → "/").
std::string_view LastName(std::string_view path);

// The text shown for a name made of bytes: valid UTF-8 as it is, each
// maximal invalid sequence as one U+FFFD replacement character, and control
// characters (C0 and DEL: a newline in a name) as U+FFFD too, so that a name
// always shows on one line. Use it for display only.
std::string DisplayNameFromBytes(std::string_view bytes);
// Whether the bytes are valid UTF-8 without control characters (what
// DisplayNameFromBytes leaves as it is).
bool IsDisplayableName(std::string_view bytes);

// Dot files are hidden, as file managers have it ("." and ".." too).
inline bool IsHiddenName(std::string_view name) { return !name.empty() && name.front() == '.'; }

}  // namespace qz
