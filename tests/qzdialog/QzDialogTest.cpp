// qzdialog run as a program on the headless platform, answered by scripted
// keys: the exit status of every answer, option errors and broken skins.
#include <gtest/gtest.h>
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

// The program beside this test's folder in the build tree.
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
  std::string Err;
};

TRun RunQzDialog(const std::vector<std::string>& args, const std::string& keys = "", const std::string& env = "") {
  const fs::path err = fs::temp_directory_path() / ("qzdialog-test-" + std::to_string(getpid()) + ".err");
  std::string command =
      "QZ_PLATFORM=headless " + env + " QZDIALOG_HEADLESS_KEYS=" + Quoted(keys) + " " + Quoted(QzDialogPath());
  for (const std::string& a : args) command += " " + Quoted(a);
  command += " >/dev/null 2>" + Quoted(err.string());
  const int raw = std::system(command.c_str());
  TRun r;
  r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(err);
  std::stringstream text;
  text << in.rdbuf();
  r.Err = text.str();
  fs::remove(err);
  return r;
}

class QzDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(QzDialogPath())) GTEST_SKIP() << "qzdialog is not built: " << QzDialogPath();
  }
};

TEST_F(QzDialog, ExitStatusOfEveryAnswer) {
  struct Case {
    std::vector<std::string> args;
    std::string keys;
    int status;
  };
  const std::vector<Case> cases = {
      {{"--info", "--text=Done"}, "Return", 0},
      {{"--warning", "--text", "Careful"}, "Escape", 0},  // OK is also the cancel button
      {{"--error", "--text=Failed"}, "close", 1},
      {{"--question", "--text=Go?"}, "Return", 0},
      {{"--question", "--text=Go?"}, "Escape", 1},
      {{"--question", "--text=Go?"}, "Tab,Return", 1},
      {{"--question", "--text=Go?"}, "n", 1},
      {{"--question", "--text=Go?", "--ok-label=&Go", "--cancel-label=&Stop"}, "g", 0},
      {{"--question", "--text=Go?"}, "close", 1},
      {{"--info", "--title", "T", "--no-wrap", "--width=500", "--height=300"}, "Return", 0},
      {{"--help"}, "", 0},
      {{"--version"}, "", 0},
  };
  for (const Case& c : cases) {
    const TRun r = RunQzDialog(c.args, c.keys);
    EXPECT_EQ(r.Status, c.status) << c.args.front() << " " << c.keys << ": " << r.Err;
  }
}

// The headless tray clicks the icon after a second; without a tray the
// notification cannot be shown and says so.
TEST_F(QzDialog, NotificationEndsWhenClickedAndFailsWithoutATray) {
  const TRun clicked = RunQzDialog({"--notification", "--text=Conversion done"});
  EXPECT_EQ(clicked.Status, 0) << clicked.Err;
  const TRun noTray = RunQzDialog({"--notification", "--text=Conversion done"}, "", "QZDIALOG_HEADLESS_TRAY=absent");
  EXPECT_EQ(noTray.Status, 1);
  EXPECT_NE(noTray.Err.find("no tray"), std::string::npos) << noTray.Err;
}

TEST_F(QzDialog, BadUsageNamesTheOption) {
  struct Case {
    std::vector<std::string> args;
    std::string named;
  };
  const std::vector<Case> cases = {
      {{"--info", "--bogus"}, "--bogus"},
      {{"--info", "--title"}, "--title"},
      {{"--info", "--width=wide"}, "--width"},
      {{"--info", "--height=0"}, "--height"},
      {{"--info", "--no-wrap=yes"}, "--no-wrap"},
      {{"--info", "--question"}, "--question"},
      {{"--text=No mode"}, "--info"},
  };
  for (const Case& c : cases) {
    const TRun r = RunQzDialog(c.args);
    EXPECT_EQ(r.Status, 2) << c.named;
    EXPECT_NE(r.Err.find(c.named), std::string::npos) << r.Err;
  }
}

TEST_F(QzDialog, BrokenOrMissingSkinIsAClearError) {
  const fs::path broken = fs::temp_directory_path() / ("qzdialog-broken-" + std::to_string(getpid()) + ".skn");
  std::ofstream(broken) << "this is no skin";
  for (const std::string& file : {broken.string(), std::string("/nonexistent/dialog.skn")}) {
    const TRun r = RunQzDialog({"--info", "--text=x", "--skin=" + file}, "Return");
    EXPECT_EQ(r.Status, 255) << file;
    EXPECT_NE(r.Err.find(file), std::string::npos) << r.Err;
  }
  fs::remove(broken);
}

#ifdef QZ_SKINS_DIR
TEST_F(QzDialog, AnySkinFileDressesTheDialog) {
  EXPECT_EQ(RunQzDialog({"--question", "--text=Go?", std::string("--skin=") + QZ_SKINS_DIR + "/dialog.skn"}, "Return").Status, 0);
}
#endif

}  // namespace
