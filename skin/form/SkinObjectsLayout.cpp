// Making the objects of a skin, deciding which caption buttons are enabled
// and visible, and where the objects go at the current window size.
#include <algorithm>
#include <array>

#include "host/ui/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinObjects.h"

namespace qz {

namespace {

template <class Data>
const Data* As(const TqzDataSkinObject& d) {
  return dynamic_cast<const Data*>(&d);
}

// The object a description makes; null for the menu-ish descriptions, which
// other parts of the frame draw.
std::unique_ptr<TqzActiveSkinObject> MakeObject(TqzObjectHost& host, const TqzDataSkinObject& d) {
  if (As<TqzDataSkinMainMenuBarButton>(d) || As<TqzDataSkinCaptionTab>(d) ||
      As<TqzDataSkinMenuItem>(d) || As<TqzDataSkinMainMenuItem>(d))
    return nullptr;
  if (auto* x = As<TqzDataSkinCaptionMenuButton>(d))
    return std::make_unique<TqzSkinCaptionMenuButton>(host, *x);
  if (auto* x = As<TqzDataSkinStdButton>(d)) return std::make_unique<TqzSkinStdButtonObject>(host, *x);
  if (auto* x = As<TqzDataSkinButton>(d)) return std::make_unique<TqzSkinButtonObject>(host, *x);
  if (auto* x = As<TqzDataSkinCaption>(d)) return std::make_unique<TqzSkinCaptionObject>(host, *x);
  if (auto* x = As<TqzDataSkinFrameRegulatorObject>(d))
    return std::make_unique<TqzSkinFrameRegulatorObject>(host, *x);
  if (auto* x = As<TqzDataSkinFrameGaugeObject>(d))
    return std::make_unique<TqzSkinFrameGaugeObject>(host, *x);
  if (auto* x = As<TqzDataSkinGauge>(d)) return std::make_unique<TqzSkinGaugeObject>(host, *x);
  if (auto* x = As<TqzDataUserObject>(d)) return std::make_unique<TqzUserObject>(host, *x);
  if (auto* x = As<TqzDataSkinSwitch>(d)) return std::make_unique<TqzSkinSwitchObject>(host, *x);
  if (auto* x = As<TqzDataSkinTrackBar>(d)) return std::make_unique<TqzSkinTrackBarObject>(host, *x);
  if (auto* x = As<TqzDataSkinLabel>(d)) return std::make_unique<TqzSkinLabelObject>(host, *x);
  if (auto* x = As<TqzDataSkinAnimate>(d)) return std::make_unique<TqzSkinAnimateObject>(host, *x);
  if (auto* x = As<TqzDataSkinBitLabel>(d)) return std::make_unique<TqzSkinBitLabelObject>(host, *x);
  return nullptr;
}

// A standard button that owns its description: the buttons of the frame
// drawn without a skin have no skin to hold one.
struct TOwnedStdButtonData {
  std::unique_ptr<TqzDataSkinStdButton> Owned;
};
class TDefaultStdButton : private TOwnedStdButtonData, public TqzSkinStdButtonObject {
 public:
  TDefaultStdButton(TqzObjectHost& host, std::unique_ptr<TqzDataSkinStdButton> data)
      : TOwnedStdButtonData{std::move(data)}, TqzSkinStdButtonObject(host, *Owned) {}
};

TqzSkinStdButtonObject* AsStdButton(TqzActiveSkinObject& o) {
  return dynamic_cast<TqzSkinStdButtonObject*>(&o);
}

}  // namespace

TqzSkinObjectList CreateSkinObjects(TqzObjectHost& host, const TqzSkinData& skin,
                                    const TMenu* mainMenu) {
  TqzSkinObjectList list;
  auto group = std::make_shared<TqzButtonGroup>();
  for (const auto& description : skin.ObjectList()) {
    auto object = MakeObject(host, *description);
    if (!object) continue;
    if (auto* button = dynamic_cast<TqzSkinButtonObject*>(object.get())) button->JoinGroup(group);
    list.push_back(std::move(object));
  }
  const int itemIndex = skin.FindObjectIndex("MAINMENUITEM");
  if (!mainMenu || itemIndex < 0 || !mainMenu->Items()) return list;
  const auto* itemData = As<TqzDataSkinMainMenuItem>(*skin.ObjectList()[size_t(itemIndex)]);
  if (!itemData) return list;
  TMenuItem& root = *mainMenu->Items();
  for (int i = 0; i < root.Count(); ++i) {
    TMenuItem& item = *root.Items(i);
    if (!item.Visible()) continue;
    auto object = std::make_unique<TqzSkinMainMenuItem>(host, *itemData, item);
    object->Enabled = item.Enabled();
    list.push_back(std::move(object));
  }
  return list;
}

TqzSkinObjectList CreateDefaultButtons(TqzObjectHost& host) {
  struct TDefault {
    const char* Name;
    TqzStdCommand Command;
    const char* Hint;
  };
  static constexpr std::array<TDefault, 6> kButtons{{
      {"closebutton", TqzStdCommand::Close, "Close"},
      {"maxbutton", TqzStdCommand::Maximize, "Maximize"},
      {"minbutton", TqzStdCommand::Minimize, "Minimize"},
      {"rollupbutton", TqzStdCommand::RollUp, "Roll Up"},
      {"sysmenubutton", TqzStdCommand::SysMenu, "System menu"},
      {"traybutton", TqzStdCommand::MinimizeToTray, "Minimize to tray"},
  }};
  TqzSkinObjectList list;
  for (const TDefault& b : kButtons) {
    auto data = std::make_unique<TqzDataSkinStdButton>(b.Name);
    data->Command = b.Command;
    data->Hint = b.Hint;
    data->RestoreHint = DefaultRestoreHint(data->Hint, b.Command);
    data->SkinRect = {0, 0, kDefaultButtonWidth, kDefaultButtonHeight};
    // Their looks are not part of any frame picture: a disabled one is hidden.
    data->SkinRectInAPicture = true;
    list.push_back(std::make_unique<TDefaultStdButton>(host, std::move(data)));
  }
  return list;
}

namespace {

// Buttons of the automatic row: the order from the row's start.
constexpr std::array<TqzStdCommand, 5> kRowOrder{TqzStdCommand::Close, TqzStdCommand::Maximize,
                                                 TqzStdCommand::Minimize, TqzStdCommand::RollUp,
                                                 TqzStdCommand::MinimizeToTray};

std::vector<TqzSkinStdButtonObject*> RowButtons(TqzSkinObjectList& objects, bool rollUp,
                                                bool needSkinLook) {
  std::vector<TqzSkinStdButtonObject*> row;
  auto take = [&](TqzStdCommand command) {
    for (auto& o : objects) {
      TqzSkinStdButtonObject* b = AsStdButton(*o);
      if (b && b->Visible && b->Command() == command && b->RollUp() == rollUp &&
          (!needSkinLook || b->Data().SkinRectInAPicture))
        row.push_back(b);
    }
  };
  for (TqzStdCommand c : kRowOrder) take(c);
  take(TqzStdCommand::Default);
  return row;
}

}  // namespace

void PlaceDefaultButtons(TqzSkinObjectList& objects, TSize window, int captionHeight) {
  const int border = kDefaultFrameBorder;
  const int top = border + (captionHeight - kDefaultButtonHeight) / 2;
  int right = window.cx - border - 2;
  for (TqzSkinStdButtonObject* b : RowButtons(objects, false, false)) {
    b->ObjectRect = {right - kDefaultButtonWidth, top, right, top + kDefaultButtonHeight};
    right -= kDefaultButtonWidth + 2;
  }
  for (auto& o : objects) {
    TqzSkinStdButtonObject* b = AsStdButton(*o);
    if (b && b->Command() == TqzStdCommand::SysMenu)
      b->ObjectRect = {border + 2, top, border + 2 + kDefaultButtonWidth, top + kDefaultButtonHeight};
  }
}

// ---------------------------------------------------------------------------

namespace {

void SetCloseButtonStates(TqzSkinObjectList& objects, const TqzObjectStateInput& in) {
  const bool onlySystemMenu =
      in.BorderIcons.Empty() || in.BorderIcons.Bits() == TqzBorderIcons{biSystemMenu}.Bits();
  const bool dialogCloseOnly = onlySystemMenu && in.HasDialogCloseButton;
  const bool hideClose = !in.BorderIcons.Contains(biSystemMenu) && in.HideCloseButton;
  for (auto& o : objects) {
    TqzSkinStdButtonObject* b = AsStdButton(*o);
    if (!b || b->Command() != TqzStdCommand::Close) continue;
    const bool isDialogClose = b->IDName() == "dialogclosebutton";
    if (isDialogClose != dialogCloseOnly) {
      // Not the close button of this kind of form: gone from the frame.
      b->Enabled = false;
      b->Visible = false;
      continue;
    }
    b->Enabled = !hideClose;
    b->Visible = b->Data().SkinRectInAPicture ? b->Enabled : true;
  }
}

bool CommandEnabled(TqzStdCommand command, const TqzObjectStateInput& in) {
  switch (command) {
    case TqzStdCommand::Maximize: return in.BorderIcons.Contains(biMaximize);
    case TqzStdCommand::Minimize: return in.BorderIcons.Contains(biMinimize);
    case TqzStdCommand::SysMenu:
      return in.BorderIcons.Contains(biSystemMenu) && !in.DisableSystemMenu;
    case TqzStdCommand::RollUp: return in.BorderIcons.Contains(biRollUp);
    case TqzStdCommand::MinimizeToTray: return in.BorderIcons.Contains(biMinimizeToTray);
    default: return true;
  }
}

}  // namespace

void UpdateObjectStates(TqzSkinObjectList& objects, const TqzObjectStateInput& in) {
  SetCloseButtonStates(objects, in);
  for (auto& o : objects) {
    TqzSkinStdButtonObject* b = AsStdButton(*o);
    if (!b || b->Command() == TqzStdCommand::Close) continue;
    if (b->Command() == TqzStdCommand::Default) {
      bool visible = false;
      if (in.OnActivateCustomObject) in.OnActivateCustomObject(b->IDName(), visible);
      b->Visible = visible;
      b->Enabled = visible;
      continue;
    }
    b->Enabled = CommandEnabled(b->Command(), in);
    // A look that is part of the frame picture cannot be taken off the frame.
    b->Visible = b->Data().SkinRectInAPicture ? b->Enabled : true;
  }
  if (!in.HideCaptionButtons) return;
  for (auto& o : objects) {
    if (!AsStdButton(*o) && !dynamic_cast<TqzSkinAnimateObject*>(o.get())) continue;
    o->Enabled = false;
    o->Visible = o->Visible && !o->Data().SkinRectInAPicture;
  }
}

// ---------------------------------------------------------------------------

namespace {

// The row of one roll-up state; returns the span the row covers, empty when
// no button went into it.
TRect LayOutButtonRow(TqzSkinObjectList& objects, bool rollUp, const TRect& row, bool fromLeft,
                      int offset) {
  TRect covered;
  int x = fromLeft ? row.Left : row.Right;
  for (TqzSkinStdButtonObject* b : RowButtons(objects, rollUp, true)) {
    if (b->Command() == TqzStdCommand::SysMenu) continue;
    const TSize s = b->Data().SkinRect.Size();
    const int left = fromLeft ? x : x - s.cx;
    b->ObjectRect = {left, row.Top, left + s.cx, row.Top + s.cy};
    x = fromLeft ? b->ObjectRect.Right + offset : b->ObjectRect.Left - offset;
    covered = covered.IsEmpty() ? b->ObjectRect
                                : TRect{std::min(covered.Left, b->ObjectRect.Left), row.Top,
                                        std::max(covered.Right, b->ObjectRect.Right), row.Bottom};
  }
  return covered;
}

// The system-menu button at the caption's left, centred in it; returns its
// rectangle, empty when there is none.
TRect PlaceSysMenuButton(TqzSkinObjectList& objects, bool rollUp, const TRect& caption,
                         TSize iconSize) {
  TRect placed;
  for (auto& o : objects) {
    TqzSkinStdButtonObject* b = AsStdButton(*o);
    if (!b || b->Command() != TqzStdCommand::SysMenu || b->RollUp() != rollUp || !b->Visible ||
        !b->Data().SkinRectInAPicture)
      continue;
    const TSize s = b->ShowsIcon() && iconSize.cx > 0 ? iconSize : b->Data().SkinRect.Size();
    const int top = caption.Top + (caption.Height() - s.cy) / 2;
    b->ObjectRect = {caption.Left, top, caption.Left + s.cx, top + s.cy};
    placed = b->ObjectRect;
  }
  return placed;
}

void ShortenCaptions(TqzSkinObjectList& objects, bool rollUp, const TRect& row, bool rowOnLeft,
                     const TRect& sysButton, const TqzObjectPlacement& in) {
  const int offset = in.Rects->ButtonsOffset;
  for (auto& o : objects) {
    if (!o->IsCaption() || o->RollUp() != rollUp) continue;
    TRect& r = o->ObjectRect;
    if (!row.IsEmpty()) {
      if (rowOnLeft) r.Left = std::max(r.Left, row.Right + offset);
      else r.Right = std::min(r.Right, row.Left - offset);
    }
    if (!sysButton.IsEmpty()) r.Left = std::max(r.Left, sysButton.Right);
    if (!in.MenuButtonVisible) continue;
    for (auto& m : objects) {
      if (!dynamic_cast<TqzSkinCaptionMenuButton*>(m.get()) || m->RollUp() != rollUp) continue;
      const int left = r.Left + 5;
      m->ObjectRect = {left, m->ObjectRect.Top, left + in.MenuButtonWidth, m->ObjectRect.Bottom};
      r.Left = m->ObjectRect.Right + 5;
    }
  }
}

// Frame menu items side by side on the menu area, from its left.
void PlaceFrameMenuItems(TqzSkinObjectList& objects, const TRect& menuArea) {
  int x = menuArea.Left;
  for (auto& o : objects) {
    auto* item = dynamic_cast<TqzSkinMainMenuItem*>(o.get());
    if (!item) continue;
    const int w = item->ItemWidth();
    item->ObjectRect = {x, menuArea.Top, x + w, menuArea.Bottom};
    x += w;
  }
}

}  // namespace

void PlaceObjects(TqzSkinObjectList& objects, const TqzObjectPlacement& in) {
  if (!in.Info) return;
  for (auto& o : objects) {
    if (o->IsFrameMenuItem()) continue;
    o->ObjectRect = FrameTransformRect(o->Data().SkinRect, *in.Info, in.Size);
    if (auto* menuButton = dynamic_cast<TqzSkinCaptionMenuButton*>(o.get()))
      menuButton->Visible = in.MenuButtonVisible;
  }
  if (!in.Rects) return;
  PlaceFrameMenuItems(objects, in.Rects->NewMainMenuRect);
  for (auto& o : objects)
    if (auto* caption = dynamic_cast<TqzSkinCaptionObject*>(o.get()))
      caption->SetFrameRects(*in.Rects);
  if (!in.FrameMode) return;
  const TRect rowArea =
      in.Rects->NewButtonsRect.IsEmpty() ? in.Rects->NewCaptionRect : in.Rects->NewButtonsRect;
  const bool fromLeft = in.Rects->ButtonsInLeft;
  for (bool rollUp : {false, true}) {
    const TRect row = LayOutButtonRow(objects, rollUp, rowArea, fromLeft, in.Rects->ButtonsOffset);
    const TRect sys = PlaceSysMenuButton(objects, rollUp, in.Rects->NewCaptionRect, in.IconSize);
    ShortenCaptions(objects, rollUp, row, fromLeft, sys, in);
  }
}

}  // namespace qz
