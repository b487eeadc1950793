// qzdialog --file-selection --directory run as a program on the headless
// platform: the folder printed for Enter (after keys that move in the
// tree), nothing and status 1 for Escape or a closed window.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string QzDialogPath() {
  const fs::path self = fs::read_symlink("/proc/self/exe");
  return (self.parent_path().parent_path() / "tools" / "qzdialog").string();
}

std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct TRun {
  int Status = -1;
  std::string Out;
};

TRun RunFolderDialog(const std::vector<std::string>& args, const std::string& keys) {
  const fs::path out = fs::temp_directory_path() / ("qzdialog-dir-" + std::to_string(getpid()) + ".out");
  std::string command = "QZ_PLATFORM=headless QZDIALOG_HEADLESS_KEYS=" + Quoted(keys) + " " + Quoted(QzDialogPath());
  for (const std::string& a : args) command += " " + Quoted(a);
  command += " >" + Quoted(out.string()) + " 2>/dev/null";
  const int raw = std::system(command.c_str());
  TRun r;
  r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.Out = ReadAll(out);
  fs::remove(out);
  return r;
}

TEST(QzDialogDirectory, PrintsTheChosenFolder) {
  if (!fs::exists(QzDialogPath())) GTEST_SKIP() << "qzdialog is not built";
  char tmpl[] = "/tmp/qz-qzdialog-dir-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  for (const char* d : {"alpha", "beta"}) mkdir((dir + "/" + d).c_str(), 0755);
  struct TCase {
    std::vector<std::string> args;
    std::string keys;
    int status;
    std::string out;
  };
  const std::vector<TCase> cases = {
      {{"--file-selection", "--directory", "--filename=" + dir}, "Return", 0, dir + "\n"},
      {{"--file-selection", "--directory", "--filename", dir + "/"}, "Down,Return", 0, dir + "/alpha\n"},
      {{"--file-selection", "--directory", "--filename=" + dir}, "Down,Down,Return", 0, dir + "/beta\n"},
      {{"--file-selection", "--directory", "--filename=" + dir}, "Escape", 1, ""},
      {{"--file-selection", "--directory", "--filename=" + dir}, "close", 1, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.keys);
    const TRun r = RunFolderDialog(c.args, c.keys);
    EXPECT_EQ(r.Status, c.status);
    EXPECT_EQ(r.Out, c.out);
  }
  fs::remove_all(dir);
}

}  // namespace
