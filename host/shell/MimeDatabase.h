// File types from the shared-mime-info database: the type of a file from
// its name, its kind and (for regular files only) its first bytes; the
// type's name for people, its aliases, parents and icon names.
//
// Read from each data folder's "mime" folder ($XDG_DATA_HOME, then the
// $XDG_DATA_DIRS entries: the earlier folder takes precedence): globs2,
// magic, aliases, subclasses, icons, generic-icons, and for type names
// <media>/<subtype>.xml (its <comment> without xml:lang, read on first use).
//
// Guessing a file's type, as the database's own rules recommend:
// 1. Folders and special files get their inode type (inode/directory,
//    inode/fifo, inode/socket, inode/chardevice, inode/blockdevice; a link
//    that leads nowhere inode/symlink). Special files are never opened.
// 2. The globs matching the name, keeping those of the highest weight, then
//    those of the longest pattern, then (when some are) the case-sensitive
//    ones. When they all name one type, that is it.
// 3. Otherwise, for a regular file only, its first bytes (at most
//    kMaxSniffBytes) against the magic rules. When glob types conflicted,
//    one that is the magic type or a subclass of it wins; else the magic
//    type.
// 4. Otherwise, when the first bytes look like text (no control
//    characters but tab, line ends, form feed and escape), the first
//    conflicting glob type that is text, else text/plain; when they do not
//    (or the file cannot be read), the first conflicting glob type, else
//    application/octet-stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/shell/FolderEnum.h"
#include "host/shell/MimeMagic.h"

namespace qz {

constexpr size_t kMaxSniffBytes = 8192;

// One line of globs2: "weight:type:pattern[:flags]".
struct TMimeGlob {
  int Weight = 50;  // 0 … 100
  std::string Type;
  std::string Pattern;
  bool CaseSensitive = false;  // the "cs" flag
};

// The lines of a globs2 file. Comments, blank lines and lines that do not
// read (no number, weight past 100, no type, an empty pattern, control
// characters) are skipped; the reader keeps at most 65536 lines of at most
// 4096 bytes from the first 16 MiB. A pattern "__NOGLOBS__" is kept as it
// is (it removes the type's globs of folders of lower precedence).
std::vector<TMimeGlob> ParseMimeGlobs(std::string_view text);

// The globs of a database, indexed: literal names, "*suffix" patterns by
// suffix, and the other patterns tried in turn.
class TMimeGlobIndex {
 public:
  // precedence: 0 for the folder that counts most, higher for later ones;
  // among conflicting globs those of lower precedence numbers come first.
  void Add(const TMimeGlob& glob, uint32_t precedence = 0);
  // Drops every glob of the type.
  void RemoveType(std::string_view type);
  // The types of the best-matching globs (highest weight, then longest
  // pattern, then case-sensitive), distinct, by precedence then in the
  // order added; empty when none matches.
  std::vector<std::string> Match(std::string_view name) const;
  bool Empty() const { return globs_.empty(); }

 private:
  struct TEntry {
    TMimeGlob Glob;
    uint64_t Order;  // precedence, then the order added
    std::string LowerPattern;  // for the patterns matched with fnmatch
  };
  // Lookups by string_view without making a string.
  struct THash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  using TMap = std::unordered_map<std::string, std::vector<TEntry>, THash, std::equal_to<>>;
  void Consider(const TEntry& entry, std::vector<const TEntry*>& best) const;

  std::vector<std::pair<TMimeGlob, uint32_t>> globs_;  // all with their precedence, for RemoveType
  TMap literals_;   // by lower-cased name
  TMap suffixes_;   // by lower-cased suffix
  std::vector<TEntry> others_;
  size_t maxSuffix_ = 0;
  size_t order_ = 0;
};

struct TMimeSettings {
  // The "mime" folders, highest precedence first.
  std::vector<std::string> Dirs;
};

// $XDG_DATA_HOME/mime (default $HOME/.local/share/mime), then each
// $XDG_DATA_DIRS entry + /mime (default /usr/local/share/:/usr/share/).
TMimeSettings MimeSettingsFromEnvironment();

class TMimeDatabase {
 public:
  explicit TMimeDatabase(TMimeSettings settings);
  TMimeDatabase(const TMimeDatabase&) = delete;
  TMimeDatabase& operator=(const TMimeDatabase&) = delete;

  // One database for the whole program, on the environment's settings
  // (read on first use, never destroyed).
  static TMimeDatabase& Shared();

  // The type of entry `name` of the folder open as dirFd (a folder listing's
  // entry: its kind says whether it may be read).
  std::string TypeOfEntry(int dirFd, const TFolderEntry& entry) const;
  // The same for a path (its kind from one stat).
  std::string TypeOfFile(const std::string& path) const;
  // Steps 2 to 4 on a name and the first bytes of a regular file (nothing:
  // the bytes cannot be had, as for a special file).
  std::string TypeOfNameAndData(std::string_view name, const std::optional<std::string>& data) const;
  // The glob step alone: the best glob types of a name.
  std::vector<std::string> TypesOfName(std::string_view name) const;
  // The inode type of a kind; empty for regular files and Unknown.
  static std::string_view InodeType(TEntryKind kind);

  // The canonical name of an alias (itself when it is none).
  std::string Unalias(std::string_view type) const;
  // Whether type is parent or descends from it (subclasses; every text/*
  // type from text/plain; everything but inode/* from
  // application/octet-stream).
  bool IsA(std::string_view type, std::string_view parent) const;
  // The direct parents of a type from subclasses.
  std::vector<std::string> Parents(std::string_view type) const;

  // The icon names to try for a type: its "icons" entry or the type with
  // "/" made "-", then its "generic-icons" entry or media + "-x-generic".
  std::vector<std::string> IconNames(std::string_view type) const;
  // The type's name for people (the <comment> without xml:lang of its xml
  // file), the type itself when it has none.
  std::string Comment(std::string_view type) const;

 private:
  void Load();
  void LoadDir(const std::string& dir, uint32_t precedence);
  std::string TypeOf(int dirFd, const char* openName, std::string_view name, TEntryKind kind) const;
  std::string Decide(const std::vector<std::string>& globTypes, const std::optional<std::string>& data) const;

  const TMimeSettings settings_;
  TMimeGlobIndex globs_;
  TMimeMagic magic_;
  std::unordered_map<std::string, std::string> aliases_;
  std::unordered_map<std::string, std::vector<std::string>> parents_;
  std::unordered_map<std::string, std::string> icons_;
  std::unordered_map<std::string, std::string> genericIcons_;
  mutable std::mutex commentsMutex_;
  mutable std::unordered_map<std::string, std::string> comments_;
};

// The text of the first <comment> element without an xml:lang attribute of
// a shared-mime-info type file; entities (&amp; &lt; &gt; &quot; &apos;
// and numeric ones) undone, surrounding blanks trimmed. Nothing when there
// is none. At most 256 KiB of the text are read and 1024 bytes kept.
std::optional<std::string> ReadMimeComment(std::string_view xml);

// Whether bytes look like text by the rule of step 4.
bool LooksLikeText(std::string_view bytes);

// A shared-mime-info type name: "media/subtype" of printable ASCII without
// blanks, "/", "\" or "..": safe to put into a path.
bool IsMimeTypeName(std::string_view type);

}  // namespace qz
