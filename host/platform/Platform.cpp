#include "host/platform/Platform.h"

#include <cstdlib>
#include <iostream>

#include "host/base/Exception.h"
#include "host/platform/headless/HeadlessPlatform.h"

#ifdef QZ_HAVE_SDL2
#include "host/platform/sdl/SdlPlatform.h"
#endif

namespace qz {

namespace {

std::unique_ptr<IPlatform>& CurrentPlatform() {
  static std::unique_ptr<IPlatform> platform;
  return platform;
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::string(value);
}

std::unique_ptr<IPlatform> CreateSdlOrThrow() {
#ifdef QZ_HAVE_SDL2
  return CreateSdlPlatform();
#else
  throw Exception("platform \"sdl\" is not built into this program");
#endif
}

}  // namespace

std::unique_ptr<IPlatform> CreatePlatform(std::optional<std::string> name) {
  if (!name) name = Environment("QZ_PLATFORM");
  if (name) {
    if (*name == "headless") return std::make_unique<THeadlessPlatform>();
    if (*name == "sdl") return CreateSdlOrThrow();
    throw Exception("unknown platform \"" + *name + "\" (expected \"headless\" or \"sdl\")");
  }
#ifdef QZ_HAVE_SDL2
  if (Environment("DISPLAY")) {
    try {
      return CreateSdlPlatform();
    } catch (const Exception&) {
      std::cerr << "No display: using the headless platform\n";
    }
  }
#endif
  return std::make_unique<THeadlessPlatform>();
}

IPlatform& Platform() {
  auto& platform = CurrentPlatform();
  if (!platform) platform = CreatePlatform();
  return *platform;
}

void SetPlatform(std::unique_ptr<IPlatform> platform) { CurrentPlatform() = std::move(platform); }

}  // namespace qz
