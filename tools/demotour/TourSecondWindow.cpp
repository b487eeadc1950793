// The second window with its controls: shown over the main window at its
// designed size, a radio button picked, the track bar's thumb dragged and
// the check box toggled.
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinTrackBar.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

constexpr int kDesignedClientWidth = 688;
constexpr int kDesignedClientHeight = 337;

// Earlier parts of the tour sized, maximised and moved the window; its
// controls are meant to be seen at the size they were laid out for.
void ShowAtDesignedSize(TTour& tour, TForm2& second) {
  second.Show();
  tour.Settle(600);  // the fade-in
  const int frameWidth = second.Width() - second.ClientWidth();
  const int frameHeight = second.Height() - second.ClientHeight();
  const TRect screen = Screen->WorkAreaRect();
  const int width = kDesignedClientWidth + frameWidth, height = kDesignedClientHeight + frameHeight;
  second.SetBounds(screen.Left + (screen.Width() - width) / 2,
                   screen.Top + (screen.Height() - height) / 2, width, height);
  second.SetFocus();
  tour.Settle(600);
}

void DragThumb(TTour& tour, TqzSkinTrackBar& bar, int toValue) {
  const TqzTrackGeometry g = bar.ThumbGeometry();
  const TPoint centre = TTour::Centre(g.Thumb);
  const int range = bar.MaxValue() - bar.MinValue();
  const int along = g.Start + (g.End - g.Start) * (toValue - bar.MinValue()) / (range == 0 ? 1 : range);
  const TPoint from = bar.ClientToScreen(centre);
  const TPoint to = bar.ClientToScreen({along, centre.Y});
  tour.Press(from);
  tour.MoveTo({(from.X + to.X) / 2, from.Y});
  tour.Shot("second-trackbar-dragging");
  tour.Release(to);
}

}  // namespace

void TourSecondWindow(TTour& tour, TForm1& main, TForm2& second) {
  ShowAtDesignedSize(tour, second);
  const TPoint away = TTour::OnScreen(second, {-40, -40});
  tour.MoveTo(away);
  tour.Shot("second-controls");

  TqzSkinCheckRadioBox& radio = *second.qzSkinCheckRadioBox3;
  tour.MoveTo(TTour::CentreOf(radio));
  tour.Shot("second-radio-hover");
  tour.Press(TTour::CentreOf(radio));
  tour.Release(TTour::CentreOf(radio));
  tour.MoveTo(away);
  tour.Settle(600);  // the fade back from the hover look
  tour.Shot("second-radio-picked");

  DragThumb(tour, *second.qzSkinTrackBar1, 80);
  tour.MoveTo(away);
  tour.Shot("second-trackbar-dragged");

  TqzSkinCheckRadioBox& check = *second.qzSkinCheckRadioBox1;
  tour.Press(TTour::CentreOf(check));
  tour.Release(TTour::CentreOf(check));
  tour.MoveTo(away);
  tour.Settle(600);
  tour.Shot("second-checkbox-checked");

  second.Hide();
  main.SetFocus();
  tour.Settle();
}

}  // namespace qz::tour
