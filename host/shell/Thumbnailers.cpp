#include "host/shell/Thumbnailers.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unordered_set>

#include "host/shell/BoundedRead.h"

extern char** environ;

namespace qz {

namespace {

constexpr size_t kMaxEntryFileBytes = 64 * 1024;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The escapes of desktop entry string values: \s \n \t \r \\ (others are
// kept as they are, for the Exec quoting rules to read).
std::string UnescapeValue(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out.push_back(value[i]);
      continue;
    }
    const char next = value[++i];
    switch (next) {
      case 's': out.push_back(' '); break;
      case 'n': out.push_back('\n'); break;
      case 't': out.push_back('\t'); break;
      case 'r': out.push_back('\r'); break;
      case '\\': out.push_back('\\'); break;
      default: out.push_back('\\'), out.push_back(next); break;
    }
  }
  return out;
}

std::vector<std::string> SplitList(std::string_view value) {
  std::vector<std::string> items;
  size_t at = 0;
  while (at <= value.size()) {
    size_t end = value.find(';', at);
    if (end == std::string_view::npos) end = value.size();
    const std::string_view item = Trim(value.substr(at, end - at));
    if (!item.empty()) items.emplace_back(item);
    at = end + 1;
  }
  return items;
}

// The words of an Exec value: split at unquoted blanks; inside double
// quotes a backslash escapes " ` $ and \.
std::optional<std::vector<std::string>> SplitExec(std::string_view exec) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < exec.size() && std::strchr("\"`$\\", exec[i + 1])) {
        word.push_back(exec[++i]);
      } else {
        word.push_back(c);
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(std::move(word)), word.clear();
      inWord = false;
    } else {
      inWord = true;
      if (c == '"') quoted = true;
      else word.push_back(c);
    }
  }
  if (quoted) return std::nullopt;
  if (inWord) words.push_back(std::move(word));
  return words;
}

// Replaces the field codes of one word; false when the word was nothing
// but unknown codes.
bool ExpandWord(const std::string& word, const TThumbnailerArguments& args, std::string& out) {
  bool dropped = false;
  out.clear();
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%' || i + 1 == word.size()) {
      out.push_back(word[i]);
      continue;
    }
    switch (word[++i]) {
      case 'i': out += args.Input; break;
      case 'o': out += args.Output; break;
      case 'u': out += args.Uri; break;
      case 's': out += std::to_string(args.Size); break;
      case '%': out.push_back('%'); break;
      default: dropped = true; break;
    }
  }
  return !(dropped && out.empty());
}

std::vector<std::string> ThumbnailerFileNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  constexpr std::string_view kSuffix = ".thumbnailer";
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() > kSuffix.size() && name.substr(name.size() - kSuffix.size()) == kSuffix &&
        names.size() < 4096)
      names.emplace_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

enum class TWaitResult { Ended, Gone, TimedOut, Cancelled };

// Waits up to `timeout` for the child to end, without reaping it (its
// process group id cannot be reused while it is a zombie). Gone when it was
// reaped elsewhere (SIGCHLD ignored).
TWaitResult WaitForEnd(pid_t pid, std::chrono::milliseconds timeout, const std::function<bool()>& cancelled) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::milliseconds(1);
  while (true) {
    siginfo_t info{};
    const int r = ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT);
    if (r == 0 && info.si_pid == pid) return TWaitResult::Ended;
    if (r != 0 && errno != EINTR) return TWaitResult::Gone;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return TWaitResult::TimedOut;
    if (cancelled && cancelled()) return TWaitResult::Cancelled;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

// posix_spawn's attribute and file action objects, destroyed on every path.
struct TSpawnSetup {
  posix_spawnattr_t Attributes;
  posix_spawn_file_actions_t Actions;
  TSpawnSetup() {
    posix_spawnattr_init(&Attributes);
    posix_spawn_file_actions_init(&Actions);
  }
  TSpawnSetup(const TSpawnSetup&) = delete;
  TSpawnSetup& operator=(const TSpawnSetup&) = delete;
  ~TSpawnSetup() {
    posix_spawn_file_actions_destroy(&Actions);
    posix_spawnattr_destroy(&Attributes);
  }
};

}  // namespace

std::optional<TThumbnailerEntry> ParseThumbnailerEntry(std::string_view text) {
  TThumbnailerEntry entry;
  bool inGroup = false, hasMimeType = false;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(at, end - at));
    at = end + 1;
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inGroup = line == "[Thumbnailer Entry]";
      continue;
    }
    const size_t equals = line.find('=');
    if (!inGroup || equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string value = UnescapeValue(Trim(line.substr(equals + 1)));
    if (key == "TryExec") entry.TryExec = value;
    else if (key == "Exec") entry.Exec = value;
    else if (key == "MimeType") entry.MimeTypes = SplitList(value), hasMimeType = true;
  }
  if (entry.Exec.empty() || !hasMimeType || entry.MimeTypes.empty()) return std::nullopt;
  return entry;
}

std::optional<std::vector<std::string>> ExpandThumbnailerExec(std::string_view exec,
                                                              const TThumbnailerArguments& args) {
  std::optional<std::vector<std::string>> words = SplitExec(exec);
  if (!words || words->empty()) return std::nullopt;
  std::vector<std::string> argv;
  std::string expanded;
  for (const std::string& word : *words)
    if (ExpandWord(word, args, expanded)) argv.push_back(expanded);
  if (argv.empty() || argv.front().empty()) return std::nullopt;
  return argv;
}

bool CanTryExec(const std::string& tryExec) {
  if (tryExec.empty()) return true;
  if (tryExec.find('/') != std::string::npos) return ::access(tryExec.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const size_t colon = dirs.find(':');
    const std::string_view dir = dirs.substr(0, colon);
    if (!dir.empty() && ::access((std::string(dir) + "/" + tryExec).c_str(), X_OK) == 0) return true;
    if (colon == std::string_view::npos) return false;
    dirs.remove_prefix(colon + 1);
  }
}

TThumbnailers::TThumbnailers(const std::vector<std::string>& folders) {
  std::unordered_set<std::string> seen;
  for (const std::string& folder : folders) {
    for (const std::string& name : ThumbnailerFileNames(folder)) {
      if (!seen.insert(name).second) continue;  // hidden by an earlier folder
      const std::string path = folder + "/" + name;
      std::optional<std::string> text = ReadRegularFilePrefix(path, kMaxEntryFileBytes);
      if (!text) continue;
      std::optional<TThumbnailerEntry> entry = ParseThumbnailerEntry(*text);
      if (!entry || !CanTryExec(entry->TryExec)) continue;
      entry->File = path;
      for (const std::string& type : entry->MimeTypes) byType_.try_emplace(type, entries_.size());
      entries_.push_back(std::move(*entry));
    }
  }
}

const TThumbnailerEntry* TThumbnailers::ForType(std::string_view mimeType) const {
  auto it = byType_.find(std::string(mimeType));
  return it == byType_.end() ? nullptr : &entries_[it->second];
}

TRunOutcome RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                       const std::function<bool()>& cancelled) {
  TRunOutcome outcome;
  if (argv.empty()) {
    outcome.Error = "no program to run";
    return outcome;
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  TSpawnSetup setup;
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGCHLD);
  posix_spawnattr_setpgroup(&setup.Attributes, 0);
  posix_spawnattr_setsigmask(&setup.Attributes, &none);
  posix_spawnattr_setsigdefault(&setup.Attributes, &defaults);
  posix_spawnattr_setflags(&setup.Attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&setup.Actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  // Nothing else of this process reaches the program.
  posix_spawn_file_actions_addclosefrom_np(&setup.Actions, 3);

  pid_t pid = 0;
  const int error = ::posix_spawnp(&pid, args[0], &setup.Actions, &setup.Attributes, args.data(), environ);
  if (error != 0) {
    outcome.Error = "cannot start " + argv[0] + ": " + std::strerror(error);
    return outcome;
  }
  const TWaitResult waited = WaitForEnd(pid, timeout, cancelled);
  if (waited == TWaitResult::Gone) {
    outcome.Result = TRunResult::Exited;
    outcome.ExitStatus = 0;  // its status is lost: it is judged by its output
    return outcome;
  }
  // The whole group: on time-out the program and what it started; after it
  // ended, whatever it left behind.
  ::kill(-pid, SIGKILL);
  ::kill(pid, SIGKILL);
  int status = 0;
  pid_t reaped;
  do reaped = ::waitpid(pid, &status, 0);
  while (reaped < 0 && errno == EINTR);
  if (waited == TWaitResult::Cancelled) {
    outcome.Result = TRunResult::Cancelled;
    outcome.Error = argv[0] + " was stopped";
    return outcome;
  }
  if (waited == TWaitResult::TimedOut) {
    outcome.Result = TRunResult::TimedOut;
    outcome.Error = argv[0] + " did not finish within " + std::to_string(timeout.count()) + " ms";
    return outcome;
  }
  outcome.Result = TRunResult::Exited;
  if (reaped == pid && WIFEXITED(status)) outcome.ExitStatus = WEXITSTATUS(status);
  if (outcome.ExitStatus != 0) outcome.Error = argv[0] + " failed (status " + std::to_string(outcome.ExitStatus) + ")";
  return outcome;
}

}  // namespace qz
