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

// The application's forms in the screen's form order. A form destroyed by an
// earlier receiver is skipped (the window check is made at send time).
std::vector<TqzSkinMessageTarget> HostFormTargets() {
  std::vector<TqzSkinMessageTarget> out;
  if (!Screen) return out;
  out.reserve(static_cast<size_t>(Screen->FormCount()));
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (!form) continue;
    const bool layer = std::string_view(form->ClassName()) == "TqzFormLayerWindow";
    HWND hwnd = form;
    out.push_back({form, layer, [hwnd](uint32_t msg, WPARAM w, LPARAM l) {
                     if (IsWindow(hwnd)) SendMessage(hwnd, msg, w, l);
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
