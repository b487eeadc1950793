#include "skin/dialogs/OpenDialogRules.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "skin/data/ResourceStrData.h"
#include "skin/data/SkinData.h"

namespace qz {

std::vector<TqzFilterEntry> ParseFilter(std::string_view filter) {
  std::vector<TqzFilterEntry> out;
  size_t from = 0;
  while (from < filter.size()) {
    const size_t bar = std::min(filter.find('|', from), filter.size());
    TqzFilterEntry e;
    e.Description = std::string(filter.substr(from, bar - from));
    from = bar + 1;
    if (from <= filter.size()) {
      const size_t end = std::min(filter.find('|', from), filter.size());
      e.Mask = std::string(filter.substr(from, end - from));
      from = end + 1;
    }
    out.push_back(std::move(e));
  }
  return out;
}

std::string CurrentMask(const std::vector<TqzFilterEntry>& entries, int selected) {
  if (entries.empty()) return "*.*";
  if (selected < 0 || selected >= static_cast<int>(entries.size())) return entries.back().Mask;
  return entries[size_t(selected)].Mask;
}

std::string_view ExtensionOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return name.substr(dot);
}

std::string DefaultExtension(std::string_view defaultExt, std::string_view mask) {
  if (!defaultExt.empty()) return defaultExt.front() == '.' ? std::string(defaultExt) : "." + std::string(defaultExt);
  if (mask.find(".*") != std::string_view::npos) return {};
  const std::string_view first = mask.substr(0, std::min(mask.find(';'), mask.size()));
  const std::string_view ext = ExtensionOf(first);
  // A pattern's extension with wildcards in it ("*.t?t") is no extension to add.
  if (ext.find_first_of("*?") != std::string_view::npos) return {};
  return std::string(ext);
}

TqzPathKind PathKindOnDisk(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return TqzPathKind::None;
  return S_ISDIR(st.st_mode) ? TqzPathKind::Folder : TqzPathKind::File;
}

std::string ResolveTyped(std::string_view typed, std::string_view folder, std::string_view home) {
  if (typed.empty()) return {};
  if (typed.front() == '/') return std::string(typed);
  if (typed == "~") return std::string(home);
  if (typed.size() >= 2 && typed.substr(0, 2) == "~/") {
    std::string h(home);
    if (h.empty() || h.back() != '/') h += '/';
    return h + std::string(typed.substr(2));
  }
  if (folder.empty()) return {};
  std::string d(folder);
  if (d.back() != '/') d += '/';
  return d + std::string(typed);
}

namespace {

std::string WithDefaultExt(std::string path, const std::string& ext) {
  if (ExtensionOf(path).empty()) path += ext;
  return path;
}

}  // namespace

TqzOpenOutcome DecideOpen(const TqzOpenInput& in, const TqzPathKindFn& kindOf) {
  using A = TqzOpenOutcome::TAction;
  const std::string typed = ResolveTyped(in.Typed, in.Folder, in.Home);
  // A typed folder is entered, never chosen as a file.
  if (in.Selected.empty() && !typed.empty() && kindOf(typed) == TqzPathKind::Folder) return {A::Browse, typed};
  if (in.Typed.empty()) return {};
  if (in.Selected.empty() && typed.empty()) return {};
  if (in.CheckFileExists) {
    const std::string chosen = in.Selected.empty() ? WithDefaultExt(typed, in.DefaultExt) : in.Selected;
    if (kindOf(chosen) == TqzPathKind::File) return {A::Close, chosen};
    return {};
  }
  return {A::Close, in.Selected.empty() ? WithDefaultExt(typed, in.DefaultExt) : in.Selected};
}

std::string NewFolderName(std::string_view base, int n) {
  std::string name(base);
  if (n > 1) name += "(" + std::to_string(n) + ")";
  return name;
}

std::string FolderPart(std::string_view fileName) {
  const size_t slash = fileName.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(fileName.substr(0, slash));
}

std::string NamePart(std::string_view fileName) {
  const size_t slash = fileName.rfind('/');
  return std::string(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1));
}

std::string StartFolder(std::string_view fileName, std::string_view initialDir, std::string_view programDir,
                        const std::function<bool(const std::string&)>& folderExists) {
  const std::string folder = FolderPart(fileName);
  if (!folder.empty() && folderExists(folder)) return folder;
  const std::string initial(initialDir);
  if (!initial.empty() && folderExists(initial)) return initial;
  return std::string(programDir);
}

std::string ProgramFolder() {
  std::string buffer(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return "/";
  buffer.resize(size_t(n));
  const std::string folder = FolderPart(buffer);
  return folder.empty() ? std::string("/") : folder;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir == '/') return pw->pw_dir;
  return "/";
}

std::string CompleteName(std::string_view prefix, const std::vector<std::string>& names) {
  if (prefix.empty()) return {};
  std::optional<std::string_view> common;
  for (const std::string& name : names) {
    if (name.size() < prefix.size() || std::string_view(name).substr(0, prefix.size()) != prefix) continue;
    if (!common) {
      common = name;
      continue;
    }
    size_t n = 0;
    while (n < common->size() && n < name.size() && (*common)[n] == name[n]) ++n;
    common = common->substr(0, n);
  }
  if (!common) return {};
  // Never end inside a UTF-8 sequence.
  size_t end = common->size();
  if (end < 1) return {};
  size_t lead = end;
  while (lead > 0 && (static_cast<unsigned char>((*common)[lead - 1]) & 0xC0) == 0x80) --lead;
  if (lead > 0 && lead < end + 1) {
    const unsigned char c = static_cast<unsigned char>((*common)[lead - 1]);
    const size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (end - (lead - 1) < need) end = lead - 1;
  }
  return std::string(common->substr(0, std::max(end, prefix.size())));
}

void TqzFolderHistory::Entered(const TShellId& id) {
  if (entries_.empty() || !(entries_.back() == id)) entries_.push_back(id);
}

std::optional<TShellId> TqzFolderHistory::Back() {
  if (entries_.size() < 2) return std::nullopt;
  entries_.pop_back();
  return entries_.back();
}

std::string DialogString(const TqzSkinData* skin, std::string_view key, std::string_view builtIn) {
  if (skin != nullptr && skin->ResourceStrData() != nullptr) {
    std::string s = skin->ResourceStrData()->GetResourceStr(key);
    if (!s.empty()) return s;
  }
  return std::string(builtIn);
}

}  // namespace qz
