#include "skin/data/SkinColors.h"

#include "host/base/ColorHooks.h"

namespace qz {

void TqzSkinColors::Fields(TqzDataFields& f) {
  f.Color("cbtnface", cBtnFace);
  f.Color("cbtntext", cBtnText);
  f.Color("cwindow", cWindow);
  f.Color("cwindowtext", cWindowText);
  f.Color("chighlight", cHighLight);
  f.Color("chighlighttext", cHighLightText);
  f.Color("cbtnhighlight", cBtnHighLight);
  f.Color("cbtnshadow", cBtnShadow);
  f.Color("c3dlight", c3DLight);
  f.Color("c3ddkshadow", c3DDkShadow);
}

void TqzSkinColors::ReadData(const TqzIniFile& ini) {
  TqzFieldReader r(ini, "SKINCOLORS");
  Fields(r);
}

void TqzSkinColors::WriteData(TqzIniFile& ini) {
  ini.EraseSection("SKINCOLORS");
  TqzFieldWriter w(ini, "SKINCOLORS");
  Fields(w);
}

void TqzSkinColors::ResetToSystem() {
  cBtnFace = clBtnFace;
  cBtnText = clBtnText;
  cWindow = clWindow;
  cWindowText = clWindowText;
  cHighLight = clHighlight;
  cHighLightText = clHighlightText;
  cBtnHighLight = clBtnHighlight;
  cBtnShadow = clBtnShadow;
  c3DLight = cl3DLight;
  c3DDkShadow = cl3DDkShadow;
}

TColorRef SkinColorToRGB(TColor color) {
  if (color < 0) return GetRealSysColor(color & 0xFF);
  return static_cast<TColorRef>(color) & 0xFFFFFF;
}

namespace {

IqzSystemColorSource* g_owner = nullptr;

// The skin colour that answers a system colour index, or nullptr when the
// owner's hook set does not cover that index.
const TColor* RedirectedColor(const IqzSystemColorSource& owner, int index) {
  const TqzSkinColors& c = owner.SystemColorValues();
  TqzSystemColorHooks hooks = owner.SystemColorHookSet();
  if (hooks.Contains(qzschWindow)) {
    if (index == COLOR_WINDOW) return &c.cWindow;
    if (index == COLOR_WINDOWTEXT) return &c.cWindowText;
  }
  if (hooks.Contains(qzschHighLight)) {
    if (index == COLOR_HIGHLIGHT) return &c.cHighLight;
    if (index == COLOR_HIGHLIGHTTEXT) return &c.cHighLightText;
  }
  return nullptr;
}

TColorRef HookedGetSysColor(int index) {
  if (g_owner && g_owner->SystemColorsLoaded()) {
    if (const TColor* c = RedirectedColor(*g_owner, index)) return SkinColorToRGB(*c);
    return GetRealSysColor(index);
  }
  // A load of the owner is running: step aside until it installs us again.
  SetGetSysColorHook(nullptr);
  return GetRealSysColor(index);
}

TLogBrush HookedGetSysColorBrush(int index) {
  if (g_owner && g_owner->SystemColorsLoaded()) {
    if (const TColor* c = RedirectedColor(*g_owner, index))
      return {TBrushKind::Solid, SkinColorToRGB(*c)};
    return RealGetSysColorBrush(index);
  }
  SetGetSysColorBrushHook(nullptr);
  return RealGetSysColorBrush(index);
}

TLogPen HookedCreatePen(int style, int width, TColorRef color) {
  if (g_owner && g_owner->SystemColorsLoaded()) {
    // Pens name system colours by their index as the colour value.
    if (color <= 0xFF) {
      if (const TColor* c = RedirectedColor(*g_owner, static_cast<int>(color)))
        color = SkinColorToRGB(*c);
    }
    return RealCreatePen(style, width, color);
  }
  SetCreatePenHook(nullptr);
  return RealCreatePen(style, width, color);
}

}  // namespace

IqzSystemColorSource* SystemColorHookOwner() { return g_owner; }

bool InstallSystemColorHooks(IqzSystemColorSource* owner) {
  if (g_owner && g_owner != owner) return false;
  g_owner = owner;
  if (!IsGetSysColorHooked()) SetGetSysColorHook(&HookedGetSysColor);
  if (!IsGetSysColorBrushHooked()) SetGetSysColorBrushHook(&HookedGetSysColorBrush);
  if (!IsCreatePenHooked()) SetCreatePenHook(&HookedCreatePen);
  return true;
}

void RemoveSystemColorHooks(IqzSystemColorSource* owner) {
  if (g_owner != owner || !owner) return;
  SetGetSysColorHook(nullptr);
  SetGetSysColorBrushHook(nullptr);
  SetCreatePenHook(nullptr);
  g_owner = nullptr;
}

}  // namespace qz
