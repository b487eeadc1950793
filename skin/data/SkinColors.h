// Skin colours ([SKINCOLORS]) and the process-wide redirection of the
// system colour queries to them.
//
// The redirection goes through the host's in-process hooks (GetSysColor,
// GetSysColorBrush, CreatePen in host/base/Color.h). At most one colour
// source owns them at a time: the first skin data that asks while loaded.
#pragma once

#include "host/base/Color.h"
#include "host/base/Set.h"
#include "skin/data/SkinIni.h"

namespace qz {

class TqzSkinColors {
 public:
  // Ten colour values; all 0 until the first reset or read.
  TColor cBtnFace = 0, cBtnText = 0, cWindow = 0, cWindowText = 0, cHighLight = 0,
         cHighLightText = 0, cBtnHighLight = 0, cBtnShadow = 0, c3DLight = 0, c3DDkShadow = 0;

  void ReadData(const TqzIniFile& ini);
  void WriteData(TqzIniFile& ini);
  // The value after a clear: the host system colours (clBtnFace ...).
  void ResetToSystem();

 private:
  void Fields(TqzDataFields& f);
};

enum TqzSystemColorHook { qzschHighLight, qzschWindow };
using TqzSystemColorHooks = TSet<TqzSystemColorHook>;

// What the redirection asks its owner.
class IqzSystemColorSource {
 public:
  virtual ~IqzSystemColorSource() = default;
  // False while no skin is loaded (also while a load runs).
  virtual bool SystemColorsLoaded() const = 0;
  virtual TqzSystemColorHooks SystemColorHookSet() const = 0;
  virtual const TqzSkinColors& SystemColorValues() const = 0;
};

// The current owner of the redirection, or null.
IqzSystemColorSource* SystemColorHookOwner();
// Makes `owner` the owner and installs the three hooks (installing an
// installed hook does nothing). Fails (returns false) when another owns them.
bool InstallSystemColorHooks(IqzSystemColorSource* owner);
// Removes the three hooks and clears the owner, if `owner` is the owner.
void RemoveSystemColorHooks(IqzSystemColorSource* owner);

// A skin colour as RGB. System colour values are resolved against the
// platform's own table, so a skin colour never asks the redirection itself.
TColorRef SkinColorToRGB(TColor color);

}  // namespace qz
