#include "host/platform/Platform.h"

#include <cstdlib>
#include <iostream>
#include <mutex>

#include "host/base/Exception.h"
#include "host/base/Threads.h"
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

// Workers wake the event loop when they post a call to the GUI thread
// (host/base/Threads.h); the platform may be replaced meanwhile, so the
// pointer they wake is read under a lock of its own.
std::mutex& WakeMutex() {
  static std::mutex* m = new std::mutex;  // workers may post while the process exits
  return *m;
}
IPlatform*& WakeTarget() {
  static IPlatform* target = nullptr;
  return target;
}

void InstallPlatform(std::unique_ptr<IPlatform> platform) {
  static std::once_flag once;
  std::call_once(once, [] {
    SetSynchronizeWakeup([] {
      std::lock_guard lock(WakeMutex());
      if (IPlatform* p = WakeTarget()) p->PostWakeup();
    });
  });
  std::unique_ptr<IPlatform> old;
  {
    std::lock_guard lock(WakeMutex());
    old = std::move(CurrentPlatform());
    CurrentPlatform() = std::move(platform);
    WakeTarget() = CurrentPlatform().get();
  }
  // The old one goes outside the lock: its windows may still post.
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
  if (!platform) InstallPlatform(CreatePlatform());
  return *platform;
}

void SetPlatform(std::unique_ptr<IPlatform> platform) { InstallPlatform(std::move(platform)); }

}  // namespace qz
