// qzdialog --file-selection run as a program on the headless platform:
// each option, the exit statuses, filters given twice, several files.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
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

struct TRun {
  int Status = -1;
  std::string Out;
};

TRun RunFileSelection(const std::vector<std::string>& args, const std::string& keys) {
  std::string command = "QZ_PLATFORM=headless QZDIALOG_HEADLESS_KEYS=" + Quoted(keys) + " " + Quoted(QzDialogPath()) +
                        " --file-selection";
  for (const std::string& a : args) command += " " + Quoted(a);
  command += " 2>/dev/null";
  TRun r;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.Out.append(buffer, n);
  const int raw = pclose(pipe);
  r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

class QzDialogFileSelection : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(QzDialogPath())) GTEST_SKIP() << "qzdialog is not built: " << QzDialogPath();
    char name[] = "/tmp/qzdialog-files-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir = name;
    for (const char* f : {"a.txt", "b.png", "b.txt", "c.jpg"}) std::ofstream(dir / f) << f;
  }
  void TearDown() override {
    std::error_code ignored;
    if (!dir.empty()) fs::remove_all(dir, ignored);
  }
  std::string P(const std::string& n) const { return (dir / n).string(); }
  fs::path dir;
};

TEST_F(QzDialogFileSelection, AnswersAndStartingPlaces) {
  const struct {
    const char* Name;
    std::vector<std::string> Args;
    std::string Keys;
    int Status;
    std::string Out;
  } cases[] = {
      {"a proposed file, Return", {"--filename=" + P("a.txt")}, "Return", 0, P("a.txt") + "\n"},
      {"a folder with its slash", {"--filename=" + P("") }, "type:b.txt,Return", 0, P("b.txt") + "\n"},
      {"a folder without it", {"--filename=" + dir.string()}, "type:c.jpg,Return", 0, P("c.jpg") + "\n"},
      {"a missing name stays open, then Escape", {"--filename=" + P("")}, "type:zz,Return,Escape", 1, ""},
      {"Escape", {"--filename=" + P("a.txt")}, "Escape", 1, ""},
      {"the window closed", {"--filename=" + P("a.txt")}, "close", 1, ""},
      {"no keys: closed", {"--filename=" + P("a.txt"), "--title=Pick one"}, "", 1, ""},
  };
  for (const auto& c : cases) {
    const TRun r = RunFileSelection(c.Args, c.Keys);
    EXPECT_EQ(r.Status, c.Status) << c.Name;
    EXPECT_EQ(r.Out, c.Out) << c.Name;
  }
}

// The first filter given is the one selected: a bare name gets its first
// pattern's extension.
TEST_F(QzDialogFileSelection, FiltersInTheOrderGiven) {
  const std::string pictures = "--file-filter=Pictures | *.png *.jpg", text = "--file-filter=Text | *.txt";
  EXPECT_EQ(RunFileSelection({"--filename=" + P(""), pictures, text}, "type:b,Return").Out, P("b.png") + "\n");
  EXPECT_EQ(RunFileSelection({"--filename=" + P(""), text, pictures}, "type:b,Return").Out, P("b.txt") + "\n");
}

TEST_F(QzDialogFileSelection, SeveralFilesJoinedBySeparator) {
  const TRun r = RunFileSelection({"--filename=" + P(""), "--multiple", "--separator=,"}, "focus-list,Ctrl+A,Return");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, P("a.txt") + "," + P("b.png") + "," + P("b.txt") + "," + P("c.jpg") + "\n");
  const TRun bar = RunFileSelection({"--filename=" + P(""), "--multiple"}, "focus-list,Ctrl+A,Return");
  EXPECT_EQ(bar.Out, P("a.txt") + "|" + P("b.png") + "|" + P("b.txt") + "|" + P("c.jpg") + "\n");
}

TEST_F(QzDialogFileSelection, UsageErrors) {
  EXPECT_EQ(RunFileSelection({"--multiple=yes"}, "").Status, 2);
  EXPECT_EQ(RunFileSelection({"--file-filter"}, "").Status, 2);
}

}  // namespace
