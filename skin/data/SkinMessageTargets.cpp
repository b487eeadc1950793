#include "skin/data/SkinMessageTargets.h"

namespace qz {

namespace {

TqzSkinMessageTargetList& InstalledTargets() {
  static TqzSkinMessageTargetList targets;
  return targets;
}

// The application's forms. Until the host's form list is wired in here, a
// skin data object without installed receivers broadcasts to nobody.
std::vector<TqzSkinMessageTarget> HostFormTargets() { return {}; }

}  // namespace

void SetSkinMessageTargets(TqzSkinMessageTargetList targets) {
  InstalledTargets() = std::move(targets);
}

std::vector<TqzSkinMessageTarget> CurrentSkinMessageTargets() {
  if (InstalledTargets()) return InstalledTargets()();
  return HostFormTargets();
}

}  // namespace qz
