// The command line the tools share: what scripts and CI read from a tool's
// exit code and its first line of output.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/common/ToolMain.h"

namespace qz::tool {
namespace {

struct TRunResult {
  int Code = -1;
  std::string Out, Err;
  bool Ran = false;
};

TRunResult RunTool(std::vector<std::string> args, bool usageAfterError,
                   const std::function<int(const std::vector<std::string>&)>& run) {
  std::vector<char*> argv{const_cast<char*>("tool")};
  for (std::string& a : args) argv.push_back(a.data());
  TRunResult r;
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  r.Code = ToolMain(int(argv.size()), argv.data(), {"tool", "USAGE\n", usageAfterError},
                    [&](const std::vector<std::string>& a) {
                      r.Ran = true;
                      return run(a);
                    });
  r.Out = ::testing::internal::GetCapturedStdout();
  r.Err = ::testing::internal::GetCapturedStderr();
  return r;
}

TEST(ToolMain, ExitCodesAndMessages) {
  const auto ok = [](const std::vector<std::string>& a) { return a.size() == 2 ? 0 : 7; };
  const auto usage = [](const std::vector<std::string>&) -> int { throw TUsageError{"bad option"}; };
  const auto fails = [](const std::vector<std::string>&) -> int { throw std::runtime_error("no file"); };
  struct TCase {
    const char* name;
    std::vector<std::string> args;
    bool usageAfterError;
    std::function<int(const std::vector<std::string>&)> run;
    int code;
    bool ran;
    std::string out, err;
  } cases[] = {
      {"run's own code", {"a", "b"}, true, ok, 0, true, "", ""},
      {"help anywhere, before the run", {"a", "--help"}, true, usage, kExitSuccess, false, "USAGE\n", ""},
      {"short help", {"-h"}, true, fails, kExitSuccess, false, "USAGE\n", ""},
      {"wrong usage with the usage", {"x"}, true, usage, kExitUsage, true, "", "tool: bad option\n\nUSAGE\n"},
      {"wrong usage with a pointer", {"x"}, false, usage, kExitUsage, true, "",
       "tool: bad option\n(tool --help lists the options)\n"},
      {"failure", {}, true, fails, kExitFailure, true, "", "tool: error: no file\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TRunResult r = RunTool(c.args, c.usageAfterError, c.run);
    EXPECT_EQ(r.Code, c.code);
    EXPECT_EQ(r.Ran, c.ran);
    EXPECT_EQ(r.Out, c.out);
    EXPECT_EQ(r.Err, c.err);
  }
}

TEST(ToolMain, OptionValuesAndSizes) {
  const std::vector<std::string> args{"--size", "3x4", "--size=5X6", "--size"};
  std::string value;
  size_t i = 0;
  ASSERT_TRUE(OptionValue(args, i, "--size", value));
  EXPECT_EQ(i, 1u);
  EXPECT_EQ(ParseSizeOption("--size", value, 10), (TSize{3, 4}));
  i = 2;
  ASSERT_TRUE(OptionValue(args, i, "--size", value));
  EXPECT_EQ(ParseSizeOption("--size", value, 10), (TSize{5, 6}));
  EXPECT_FALSE(OptionValue(args, i, "--mode", value));
  i = 3;
  EXPECT_THROW(OptionValue(args, i, "--size", value), TUsageError);
  for (const char* bad : {"0x4", "4x11", "4x", "4x4x", "4*4", "-1x3", ""}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(ParseSizeOption("--size", bad, 10), TUsageError);
  }
}

}  // namespace
}  // namespace qz::tool
