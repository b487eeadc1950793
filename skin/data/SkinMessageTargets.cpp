#include "skin/data/SkinMessageTargets.h"

#include <string_view>

#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/Windows.h"

namespace qz {

namespace {

TqzSkinMessageTargetList& InstalledTargets() {
  static TqzSkinMessageTargetList targets;
  return targets;
}

bool StillAForm(const TCustomForm* form) {
  if (!Screen) return false;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (Screen->Forms(i) == form) return true;
  return false;
}

// The application's forms in the screen's form order. A form destroyed by an
// earlier receiver is skipped; a form whose window does not exist yet gets
// the message directly.
std::vector<TqzSkinMessageTarget> HostFormTargets() {
  std::vector<TqzSkinMessageTarget> out;
  if (!Screen) return out;
  out.reserve(static_cast<size_t>(Screen->FormCount()));
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (!form) continue;
    const bool layer = std::string_view(form->ClassName()) == "TqzFormLayerWindow";
    const HWND window = form->HandleAllocated() ? form->Handle() : HWND();
    out.push_back({form, layer, [form, window](uint32_t msg, WPARAM w, LPARAM l) {
                     if (IsWindow(window)) SendMessage(window, msg, w, l);
                     else if (StillAForm(form)) form->Perform(msg, w, l);
                   }});
  }
  return out;
}

}  // namespace

void SetSkinMessageTargets(TqzSkinMessageTargetList targets) {
  InstalledTargets() = std::move(targets);
}

std::vector<TqzSkinMessageTarget> CurrentSkinMessageTargets() {
  if (InstalledTargets()) return InstalledTargets()();
  return HostFormTargets();
}

}  // namespace qz
