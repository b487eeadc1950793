// The open dialog's rules as plain functions, without a window: the filter
// text, the default extension, the Open logic, new folder names, the start
// folder, typed paths, name completion and the folder history. The dialog's
// window (OpenDlgForm.h) calls them; tests call them directly.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/shell/ShellItem.h"

namespace qz {

class TqzSkinData;

// One entry of a filter: "Pictures|*.png;*.jpg" gives {"Pictures", "*.png;*.jpg"}.
struct TqzFilterEntry {
  std::string Description;
  std::string Mask;
};
// Repeatedly the text up to "|" as a description and the text up to the
// next "|" (or the end) as its mask. An empty text gives no entry.
std::vector<TqzFilterEntry> ParseFilter(std::string_view filter);

// The current mask: the selected entry's; with no selection the last
// entry's; with no entries "*.*".
std::string CurrentMask(const std::vector<TqzFilterEntry>& entries, int selected);

// "." + defaultExt when it is set; else "" when the mask holds ".*"; else
// the extension of the mask's first pattern ("*.png;*.jpg" gives ".png").
std::string DefaultExtension(std::string_view defaultExt, std::string_view mask);

// The extension of the last name of a path ("" for "a", ".gz" for "a.tar.gz",
// "" for ".profile", a name that only starts with a dot).
std::string_view ExtensionOf(std::string_view path);

// What the Open button (or Enter) does.
struct TqzOpenInput {
  std::string Selected;     // the selected list item's path when it is a file, else ""
  std::string Typed;        // the file-name edit's text
  std::string Folder;       // the current folder's path ("" for a virtual folder)
  std::string DefaultExt;   // as DefaultExtension gives it ("" or ".ext")
  bool CheckFileExists = true;
  std::string Home;         // for "~" and "~/..."
};
struct TqzOpenOutcome {
  enum class TAction { Stay, Close, Browse } Action = TAction::Stay;
  std::string Path;  // Close: the chosen file; Browse: the folder to show
};
// What a path is on disk (links followed): none, a folder, something else.
enum class TqzPathKind { None, Folder, File };
using TqzPathKindFn = std::function<TqzPathKind(const std::string& path)>;
TqzPathKind PathKindOnDisk(const std::string& path);

// The Open logic. A typed name is taken in the current folder; an
// absolute path, "~" or "~/..." stands for itself. A typed name that is an
// existing folder browses there instead of being chosen as a file. In a
// virtual folder a relative name names nothing.
TqzOpenOutcome DecideOpen(const TqzOpenInput& in, const TqzPathKindFn& kindOf = PathKindOnDisk);

// The path a typed name stands for: "" when it names nothing (empty, or
// relative in a virtual folder).
std::string ResolveTyped(std::string_view typed, std::string_view folder, std::string_view home);

// The n-th new folder's name: base for n <= 1, base + "(n)" after it.
std::string NewFolderName(std::string_view base, int n);

// The folder the dialog starts in. With a folder part in fileName: that
// folder when it exists, else initialDir when it exists, else programDir.
// Without: initialDir when set and existing, else programDir.
std::string StartFolder(std::string_view fileName, std::string_view initialDir, std::string_view programDir,
                        const std::function<bool(const std::string&)>& folderExists);
// The folder part of a file name ("" when it has none; "/" for "/a").
std::string FolderPart(std::string_view fileName);
// The name part (after the last "/").
std::string NamePart(std::string_view fileName);
// The folder this program lies in ("/" when it cannot be told).
std::string ProgramFolder();
// $HOME, else "/".
std::string HomeFolder();

// The completion of a typed prefix among names: the longest text that
// every name starting with the prefix starts with (bytes, case-sensitive,
// never cut inside a UTF-8 character); empty when no name starts with it
// or the prefix is empty.
std::string CompleteName(std::string_view prefix, const std::vector<std::string>& names);

// The folders entered, oldest first, without two equal neighbours.
class TqzFolderHistory {
 public:
  // Appends unless it equals the last entry.
  void Entered(const TShellId& id);
  // With at least two entries: removes the last and gives the one before it
  // (which becomes the last); nothing otherwise.
  std::optional<TShellId> Back();
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::vector<TShellId>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  std::vector<TShellId> entries_;
};

// A resource string of the controls' skin, else the built-in text (also
// when the skin's string is empty).
std::string DialogString(const TqzSkinData* skin, std::string_view key, std::string_view builtIn);

}  // namespace qz
