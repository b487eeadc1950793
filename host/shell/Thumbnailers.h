// External thumbnailers: the programs other packages install to make
// thumbnails of their types (videos above all), each described by a
// "*.thumbnailer" file in a thumbnailers folder of the data directories:
//   [Thumbnailer Entry]
//   TryExec=ffmpegthumbnailer
//   Exec=ffmpegthumbnailer -s %s -i %i -o %o -c png -f
//   MimeType=video/mp4;video/x-matroska;
// Exec is split into words by the desktop entry rules (no shell ever runs
// it) and its field codes are replaced: %i the input path, %o the output
// file, %s the size in pixels, %u the input's URI, %% a per cent sign.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qz {

struct TThumbnailerEntry {
  std::string File;  // the .thumbnailer file it came from
  std::string TryExec;
  std::string Exec;
  std::vector<std::string> MimeTypes;
};

// The entry of a .thumbnailer file's text; nothing without a
// [Thumbnailer Entry] group holding Exec and MimeType.
std::optional<TThumbnailerEntry> ParseThumbnailerEntry(std::string_view text);

struct TThumbnailerArguments {
  std::string Input;   // %i
  std::string Output;  // %o
  std::string Uri;     // %u
  int Size = 128;      // %s
};

// The argument words of an Exec value with the field codes replaced, or
// nothing when it has no program or an unclosed quote. Unknown field codes
// are dropped (a word that was only one is left out).
std::optional<std::vector<std::string>> ExpandThumbnailerExec(std::string_view exec,
                                                              const TThumbnailerArguments& args);

// Whether TryExec names a program that can run (searched in $PATH when it
// has no slash). An empty TryExec passes.
bool CanTryExec(const std::string& tryExec);

// The thumbnailers of a list of folders, earlier folders first: a file name
// seen in an earlier folder hides the same name in later ones, and for each
// type the first entry (by folder, then file name) is used. Entries whose
// TryExec program is missing are left out. Read when constructed; const
// afterwards, so any thread may ask.
class TThumbnailers {
 public:
  explicit TThumbnailers(const std::vector<std::string>& folders);
  const TThumbnailerEntry* ForType(std::string_view mimeType) const;
  size_t Count() const { return entries_.size(); }

 private:
  std::vector<TThumbnailerEntry> entries_;
  std::unordered_map<std::string, size_t> byType_;
};

enum class TRunResult { Exited, TimedOut, NotStarted, Cancelled };
struct TRunOutcome {
  TRunResult Result = TRunResult::NotStarted;
  int ExitStatus = -1;  // Exited: the exit code; -1 when a signal ended it
  std::string Error;
};

// Runs argv[0] (searched in $PATH) with the arguments, no shell, input and
// output on /dev/null, in a process group of its own. When it has not ended
// within the timeout the whole group is killed (SIGKILL); what it left
// running when it ended is killed too. The child is always reaped.
// `cancelled`, when given, is asked while the program runs: true ends it
// (and what it started) at once with Cancelled.
TRunOutcome RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                       const std::function<bool()>& cancelled = {});

}  // namespace qz
