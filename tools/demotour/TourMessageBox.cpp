// The skinned message box: the demo's "Show message" dialog, a question
// with Yes hot and then pressed, the show-again check box, a long message
// wrapped within half the screen, and a custom image from an image list.
#include <functional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/dialogs/SkinMessage.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

// A dialog still open this long past its last step is ended, so that the
// tour never hangs.
constexpr int kPatienceMs = 3000;

TqzMessageForm* OpenDialog() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TqzMessageForm*>(Screen->Forms(i)))
      if (f->FormState().Contains(TFormStateFlag::fsModal)) return f;
  return nullptr;
}

// Steps the modal loop runs whenever it waits for input while a message
// box is open: each injects input, takes a picture or lets 25 ms pass.
class TDialogSteps {
 public:
  explicit TDialogSteps(THeadlessPlatform& platform) : p_(platform) {}
  void Add(std::function<void()> step) { steps_.push_back(std::move(step)); }
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 25) Add([this] { p_.AdvanceClock(25); });
  }
  // Runs `show` with the steps installed.
  void Run(const std::function<void()>& show) {
    p_.SetIdleHandler([this] { return Idle(); });
    show();
    p_.SetIdleHandler({});
    if (stuck_) std::fprintf(stderr, "demotour: a message box did not close by its steps\n");
  }

 private:
  bool Idle() {
    TqzMessageForm* open = OpenDialog();
    if (open == nullptr) return false;
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
    open->SetModalResult(mrAbort);
    return true;
  }

  THeadlessPlatform& p_;
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  int waited_ = 0;
  bool stuck_ = false;
};

// The fade-in of the dialog: the loop's turns each let 25 ms pass; the
// window shows its picture from the fade's first step and is taken once
// the fade has ended.
constexpr int kFadeInMs = 900;

// Picture, then a key that answers the dialog.
void ShotAndAnswer(TTour& tour, TDialogSteps& steps, const std::string& name, int vk) {
  steps.Wait(kFadeInMs);
  steps.Add([&tour, name] { tour.ShotAsIs(name); });
  steps.Add([&tour, vk] { tour.Platform().InjectKey(vk); });
}

// A film frame drawn for the custom image: a dark strip with holes and a
// blue picture in the middle.
void DrawFilmFrame(TBitmap& b) {
  b.SetSize(32, 32);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(RGB(40, 40, 48));
  c.FillRect({0, 0, 32, 32});
  c.Brush().SetColor(RGB(230, 230, 230));
  for (int y = 2; y < 32; y += 7) {
    c.FillRect({2, y, 6, y + 4});
    c.FillRect({26, y, 30, y + 4});
  }
  c.Brush().SetColor(RGB(70, 140, 220));
  c.FillRect({9, 6, 23, 26});
}

}  // namespace

void TourMessageBox(TTour& tour, TForm1& main, TForm2& second) {
  const TPoint away = ShowMainButtonsPage(tour, main, second);
  THeadlessPlatform& p = tour.Platform();
  TqzSkinMessage& message = *main.qzSkinMessage1;

  {  // The demo's own message box, from its button.
    TDialogSteps steps(p);
    ShotAndAnswer(tour, steps, "message-demo", VK_RETURN);
    steps.Run([&] {
      tour.Press(TTour::CentreOf(*main.qzSkinButton10));
      tour.Release(TTour::CentreOf(*main.qzSkinButton10));
    });
  }
  {  // A question: Yes under the pointer, then pressed with it.
    TDialogSteps steps(p);
    steps.Wait(kFadeInMs);
    steps.Add([&] {
      if (TqzMessageForm* f = OpenDialog()) p.InjectMouseMove(TTour::CentreOf(*f->Button(qzmbYes)));
    });
    steps.Wait(300);  // the hot look fades in
    steps.Add([&] { tour.ShotAsIs("message-question-yes-hot"); });
    steps.Add([&] { p.InjectMouseDown(); });
    steps.Wait(100);
    steps.Add([&] { tour.ShotAsIs("message-question-yes-pressed"); });
    steps.Add([&] { p.InjectMouseUp(); });
    steps.Run([&] { message.ShowMessageDialog("Convert the file now?", qzmtConfirmation, {qzmbYes, qzmbNo}, 0); });
    tour.MoveTo(away);
  }
  {  // The show-again check box.
    TDialogSteps steps(p);
    ShotAndAnswer(tour, steps, "message-show-again", VK_RETURN);
    message.ShowAgainFlag = true;
    steps.Run([&] { message.ShowMessageDialog("The file is converted.", qzmtInformation, {qzmbOK}, 0); });
    message.ShowAgainFlag = false;
    message.ShowAgainFlagValue = false;
  }
  {  // A long message wraps and keeps the window within half the screen.
    TDialogSteps steps(p);
    ShotAndAnswer(tour, steps, "message-long-wrapped", VK_ESCAPE);
    std::string text;
    while (text.size() < 1500)
      text += "The video could not be converted because the codec of its audio track is not supported. ";
    steps.Run([&] { message.ShowMessageDialog(text, qzmtError, {qzmbAbort, qzmbRetry, qzmbCancel}, 0); });
  }
  {  // A custom image from an image list.
    TImageList images(nullptr);
    images.SetSize(32, 32);
    TBitmap frame;
    DrawFilmFrame(frame);
    images.Add(frame);
    TDialogSteps steps(p);
    ShotAndAnswer(tour, steps, "message-custom-image", VK_RETURN);
    steps.Run([&] {
      message.ShowCustomMessageDialog("Frame 1 of 4520 is ready.", "Preview", &images, 0, {qzmbOK, qzmbCancel}, 0);
    });
  }
  tour.MoveTo(away);
  tour.Settle(600);
  tour.Shot("message-closed-main-back");
}

}  // namespace qz::tour
