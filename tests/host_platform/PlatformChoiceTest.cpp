// Which platform the process gets: by QZ_PLATFORM, else by the display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "host/base/Exception.h"
#include "host/platform/headless/HeadlessPlatform.h"

namespace qz {
namespace {

// Sets (or, with nullopt, removes) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(PlatformChoice, EnvironmentVariableNamesThePlatform) {
  ScopedEnv display("DISPLAY", ":0");
  {
    ScopedEnv env("QZ_PLATFORM", "headless");
    EXPECT_STREQ(CreatePlatform()->Name(), "headless");
  }
  {
    ScopedEnv env("QZ_PLATFORM", "wayland");
    try {
      CreatePlatform();
      FAIL() << "an unknown platform name must be refused";
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find("\"wayland\""), std::string::npos) << e.what();
    }
  }
  // An explicit name wins over the environment.
  ScopedEnv env("QZ_PLATFORM", "sdl");
  EXPECT_STREQ(CreatePlatform("headless")->Name(), "headless");
}

TEST(PlatformChoice, WithoutDisplayTheChoiceIsHeadless) {
  ScopedEnv env("QZ_PLATFORM", std::nullopt);
  ScopedEnv display("DISPLAY", std::nullopt);
  EXPECT_STREQ(CreatePlatform()->Name(), "headless");
  ScopedEnv empty("QZ_PLATFORM", "");  // empty counts as unset
  EXPECT_STREQ(CreatePlatform()->Name(), "headless");
}

TEST(PlatformChoice, SdlThatCannotOpenItsDisplay) {
  ScopedEnv env("QZ_PLATFORM", std::nullopt);
  ScopedEnv display("DISPLAY", ":9731");  // no server there
  // Asked for by name: an error.
  EXPECT_THROW(CreatePlatform("sdl"), Exception);
  // Chosen automatically: the headless platform, with a note on stderr.
  ::testing::internal::CaptureStderr();
  auto platform = CreatePlatform();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_STREQ(platform->Name(), "headless");
#ifdef QZ_HAVE_SDL2
  EXPECT_NE(err.find("No display: using the headless platform"), std::string::npos) << err;
#else
  EXPECT_EQ(err, "");
#endif
}

TEST(PlatformChoice, SetPlatformInstallsTheProcessPlatform) {
  auto fresh = std::make_unique<THeadlessPlatform>();
  IPlatform* raw = fresh.get();
  SetPlatform(std::move(fresh));
  EXPECT_EQ(&Platform(), raw);
  SetPlatform(nullptr);  // the next use creates one again
  ScopedEnv env("QZ_PLATFORM", "headless");
  EXPECT_STREQ(Platform().Name(), "headless");
  SetPlatform(nullptr);
}

}  // namespace
}  // namespace qz
