// "Show dialog form" on the main window's first page: the second window
// modal over the disabled main window with all its controls, then closed by
// its caption's close button, the main window usable again.
#include <functional>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinObjects.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

constexpr int kDesignedClientWidth = 688;
constexpr int kDesignedClientHeight = 337;
// A modal loop still running after this much virtual time past its last
// step is ended, so that the tour never hangs.
constexpr int kPatienceMs = 3000;

// Steps run by the modal loop whenever it waits for input: each either
// injects input, takes a picture, or lets 25 ms of virtual time pass.
class TModalSteps {
 public:
  TModalSteps(THeadlessPlatform& platform, TForm2& form) : p_(platform), form_(form) {}

  void Add(std::function<void()> step) { steps_.push_back(std::move(step)); }
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 25) Add([this] { p_.AdvanceClock(25); });
  }
  void Install() {
    p_.SetIdleHandler([this] { return Idle(); });
  }
  void Uninstall() { p_.SetIdleHandler({}); }
  bool Stuck() const { return stuck_; }

 private:
  bool Idle() {
    if (!form_.FormState().Contains(TFormStateFlag::fsModal)) return false;
    if (next_ < steps_.size()) {
      steps_[next_++]();
      return true;
    }
    if (waited_ < kPatienceMs) {
      waited_ += 25;
      p_.AdvanceClock(25);
      return true;
    }
    stuck_ = true;
    form_.SetModalResult(mrAbort);
    return true;
  }

  THeadlessPlatform& p_;
  TForm2& form_;
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  int waited_ = 0;
  bool stuck_ = false;
};

TqzActiveSkinObject* CloseButton(TqzOrvane& controller) {
  for (auto& object : controller.ObjectList())
    if (object->IDName() == "closebutton") return object.get();
  return nullptr;
}

// Earlier parts of the tour may have sized the window otherwise; the
// controls are meant to be seen where the form lays them out.
void CentreAtDesignedSize(TForm2& second) {
  if (second.ClientWidth() == kDesignedClientWidth && second.ClientHeight() == kDesignedClientHeight) return;
  const int width = kDesignedClientWidth + second.Width() - second.ClientWidth();
  const int height = kDesignedClientHeight + second.Height() - second.ClientHeight();
  const TRect screen = Screen->WorkAreaRect();
  second.SetBounds(screen.Left + (screen.Width() - width) / 2, screen.Top + (screen.Height() - height) / 2,
                   width, height);
}

}  // namespace

void TourModalSecondWindow(TTour& tour, TForm1& main, TForm2& second) {
  const TPoint away = ShowMainButtonsPage(tour, main, second);

  TModalSteps steps(tour.Platform(), second);
  steps.Wait(600);  // the fade-in
  steps.Add([&] { CentreAtDesignedSize(second); });
  steps.Wait(300);
  steps.Add([&] { tour.ShotAsIs("second-modal"); });
  steps.Add([&] {
    if (TqzActiveSkinObject* close = CloseButton(*second.qzOrvane1))
      tour.Platform().InjectMouseMove(TTour::OnScreen(second, TTour::Centre(close->ObjectRect)));
  });
  steps.Wait(100);  // the controller's mouse tracking finds the button
  steps.Add([&] { tour.Platform().InjectMouseDown(); });
  steps.Wait(100);
  steps.Add([&] { tour.Platform().InjectMouseUp(); });
  steps.Install();
  // The click's handler runs the modal loop; it returns once the window closed.
  tour.Press(TTour::CentreOf(*main.qzSkinButton11));
  tour.Release(TTour::CentreOf(*main.qzSkinButton11));
  steps.Uninstall();
  if (steps.Stuck()) std::fprintf(stderr, "demotour: the modal second window did not close by its button\n");
  tour.MoveTo(away);
  tour.Settle(600);
  tour.Shot("second-modal-closed-main-back");
}

}  // namespace qz::tour
