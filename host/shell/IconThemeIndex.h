// The description file of a freedesktop icon theme ("index.theme") and the
// rules that match its icon directories against a wanted size.
//
// index.theme is an INI-like text read from any theme folder, so the reader
// is strict and bounded: it never fails, skips what it cannot read, and caps
// what it keeps (bytes, lines, sections, directories), so that no file makes
// it slow or large.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

// One "[Section]" of an INI-like text: its keys in file order (the first of
// equal keys counts).
struct TIniSection {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Entries;
  // The value of key, or nullptr.
  const std::string* Find(std::string_view key) const;
};

struct TIniLimits {
  size_t MaxBytes = 1 << 20;        // text past this is ignored
  size_t MaxLines = 65536;          // lines past this are ignored
  size_t MaxLineLength = 1 << 16;   // longer lines are skipped
  size_t MaxSections = 8192;        // sections past this are ignored
  size_t MaxEntriesPerSection = 256;
};

// Reads "[Section]" headers and "key=value" lines ('#' comments, blank lines,
// CR LF line ends; spaces around key and value trimmed). Lines before the
// first header and lines that are neither are skipped. A repeated section
// name is kept once, its later copies skipped.
std::vector<TIniSection> ParseIni(std::string_view text, const TIniLimits& limits = {});

enum class TIconDirType { Fixed, Scalable, Threshold };

// One icon directory of a theme, relative to the theme's folder
// ("32x32/status"), with its size rules as the file gives them or their
// defaults.
struct TIconDirectory {
  std::string Path;
  TIconDirType Type = TIconDirType::Threshold;
  int Size = 0;
  int Scale = 1;
  int MinSize = 0;   // defaults to Size
  int MaxSize = 0;   // defaults to Size
  int Threshold = 2;
};

struct TIconThemeIndex {
  std::vector<std::string> Inherits;          // parent theme names, in order
  std::vector<TIconDirectory> Directories;    // Directories= then ScaledDirectories=
};

// Largest size, scale and directory count kept; directories past the count
// and directories whose section is missing or lacks a valid Size are left out.
constexpr int kMaxIconSize = 65535;
constexpr int kMaxIconScale = 64;
constexpr size_t kMaxIconDirectories = 4096;

// Never fails: a text without "[Icon Theme]" gives an index without parents
// or directories. Directory paths that could leave the theme folder
// (absolute, "..", empty parts) and theme names that are not plain folder
// names are dropped.
TIconThemeIndex ParseIconThemeIndex(std::string_view text);

// The lookup rules of the icon theme standard: whether a directory holds
// icons of the wanted size and scale, and how far it is from it (in pixels,
// 0 for a directory that covers the size).
bool DirectoryMatchesSize(const TIconDirectory& dir, int size, int scale);
int DirectorySizeDistance(const TIconDirectory& dir, int size, int scale);

// A name that may stand for one folder or file inside another: not empty,
// not "." or "..", without '/' or NUL, at most 255 bytes.
bool IsPlainFileName(std::string_view name);

}  // namespace qz
