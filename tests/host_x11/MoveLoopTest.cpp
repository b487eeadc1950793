// The window system's own move loop on real X windows: a drag on a form's
// caption, made with XTEST, moves the real window (no window manager runs).
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "XTestDisplay.h"
#include "XvfbServer.h"
#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/Windows.h"

namespace qz {
namespace {

class MoveLoopTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = testing::XvfbServer::Start(whyNoServer_).release();
    if (server_) setenv("DISPLAY", server_->Display().c_str(), 1);
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
#ifndef QZ_HAVE_SDL2
    GTEST_SKIP() << "the SDL backend is not built in";
#endif
    if (!server_) GTEST_SKIP() << "no X server for the test: " << whyNoServer_;
    TApplication::ResetForTesting(CreatePlatform("sdl"));
    x_ = testing::XTestDisplay::Open(server_->Display());
    ASSERT_NE(x_, nullptr);
  }
  void TearDown() override {
    x_.reset();
    TApplication::ResetForTesting(CreatePlatform("headless"));
  }

  // Processes messages until `done` holds, for at most about five seconds.
  template <class F>
  bool PumpUntil(F done) {
    for (int i = 0; i < 200 && !done(); ++i) {
      Application->ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return done();
  }

  static inline testing::XvfbServer* server_ = nullptr;
  static inline std::string whyNoServer_;
  std::unique_ptr<testing::XTestDisplay> x_;
};

TEST_F(MoveLoopTest, CaptionDragMovesTheRealWindow) {
  auto* form = new TForm(Application);
  form->SetBorderStyle(bsSizeable);
  form->SetColor(clWhite);
  form->SetBoundsRect({100, 100, 400, 300});
  form->Show();
  // The client area shows white on the black root once the window is up.
  ASSERT_TRUE(PumpUntil([&] { return x_->Rgb(250, 200) == 0xFFFFFF; }));

  x_->Move(250, 110);  // on the caption
  ASSERT_TRUE(PumpUntil([&] {
    TPoint p;
    return GetCursorPos(p) && p == TPoint{250, 110};
  }));
  x_->Button(1, true);
  x_->Move(300, 150);
  x_->Move(350, 210);
  x_->Button(1, false);
  ASSERT_TRUE(PumpUntil([&] { return form->Left() == 200 && form->Top() == 200; }))
      << form->Left() << "," << form->Top();
  // The real window followed: white where the client now is, the root where it was.
  EXPECT_TRUE(PumpUntil([&] { return x_->Rgb(350, 300) == 0xFFFFFF; }));
  EXPECT_EQ(x_->Rgb(120, 150), 0x000000u);
}

}  // namespace
}  // namespace qz
