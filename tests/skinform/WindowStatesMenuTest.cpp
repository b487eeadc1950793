// The system and tray menu items per window state, their captions with and
// without the skin's strings, and how they are written into host menus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ui/Menus.h"
#include "skin/data/ResourceStrData.h"
#include "skin/form/WindowStates.h"

namespace qz {
namespace {

using Names = std::vector<std::string>;

Names NamesOf(const std::vector<TqzSysMenuItem>& items) {
  Names names;
  for (const auto& item : items) names.push_back(item.Name);
  return names;
}

const TqzSysMenuItem& Named(const std::vector<TqzSysMenuItem>& items, const std::string& name) {
  for (const auto& item : items)
    if (item.Name == name) return item;
  throw std::runtime_error("no item " + name);
}

TEST(WindowStatesMenu, ItemsPerState) {
  struct Case {
    const char* what;
    TqzSysMenuState state;
    Names names;
  };
  TqzSysMenuState rolledUpMaximized;
  rolledUpMaximized.Maximized = rolledUpMaximized.RolledUp = true;
  TqzSysMenuState maximizedChild;
  maximizedChild.Maximized = maximizedChild.MDIChild = maximizedChild.MaximizedMDIChild = true;
  const Case cases[] = {
      {"normal",
       {},
       {"ORV_MINITEM", "ORV_MAXITEM", "ORV_ROLLUP", "ORV_MINTOTRAY", "-", "ORV_CLOSE"}},
      {"maximised",
       {.Maximized = true},
       {"ORV_MINITEM", "ORV_RESTORE", "ORV_ROLLUP", "ORV_MINTOTRAY", "-", "ORV_CLOSE"}},
      {"minimised",
       {.Minimized = true},
       {"ORV_MAXITEM", "ORV_RESTORE", "ORV_MINTOTRAY", "-", "ORV_CLOSE"}},
      {"rolled up",
       {.RolledUp = true},
       {"ORV_MINITEM", "ORV_MAXITEM", "ORV_RESTORE", "ORV_MINTOTRAY", "-", "ORV_CLOSE"}},
      {"rolled up while maximised",
       rolledUpMaximized,
       {"ORV_MINITEM", "ORV_RESTORE", "ORV_MINTOTRAY", "-", "ORV_CLOSE"}},
      {"MDI child",
       {.MDIChild = true},
       {"ORV_MINITEM", "ORV_MAXITEM", "ORV_ROLLUP", "ORV_MINTOTRAY", "-", "ORV_CLOSE"}},
      {"maximised MDI child",
       maximizedChild,
       {"ORV_MINITEM", "ORV_RESTORE", "ORV_MINTOTRAY", "-", "ORV_CLOSE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto items = SystemMenuItems(c.state, nullptr);
    EXPECT_EQ(NamesOf(items), c.names);
    EXPECT_EQ(Named(items, "ORV_CLOSE").ShortCut, c.state.MDIChild ? "Ctrl+F4" : "Alt+F4");
    EXPECT_TRUE(Named(items, "-").IsSeparator());
  }
}

TEST(WindowStatesMenu, MaximizeLeftOutOfACustomMenuWithoutTheMaximizeIcon) {
  TqzSysMenuState state;
  state.MaximizeAllowed = false;
  EXPECT_EQ(NamesOf(SystemMenuItems(state, nullptr))[1], "ORV_MAXITEM");
  state.CustomMenu = true;
  EXPECT_EQ(NamesOf(SystemMenuItems(state, nullptr)),
            (Names{"ORV_MINITEM", "ORV_ROLLUP", "ORV_MINTOTRAY", "-", "ORV_CLOSE"}));
}

TEST(WindowStatesMenu, BuiltInCaptionsWithoutSkinStrings) {
  TqzSysMenuState minimized{.Minimized = true};
  const auto normal = SystemMenuItems({}, nullptr);
  const auto restore = SystemMenuItems(minimized, nullptr);
  EXPECT_EQ(Named(normal, "ORV_MINITEM").Caption, "Mi&nimize");
  EXPECT_EQ(Named(normal, "ORV_MAXITEM").Caption, "Ma&ximize");
  EXPECT_EQ(Named(normal, "ORV_ROLLUP").Caption, "Ro&llUp");
  EXPECT_EQ(Named(normal, "ORV_MINTOTRAY").Caption, "Minimize to &Tray");
  EXPECT_EQ(Named(normal, "ORV_CLOSE").Caption, "&Close");
  EXPECT_EQ(Named(restore, "ORV_RESTORE").Caption, "&Restore");
}

TEST(WindowStatesMenu, SkinStringsReplaceCaptionsAndMissingOnesFallBack) {
  TqzResourceStrData strings(nullptr);
  TStringList lines;
  lines.Add("mi_mincaption=Ver&kleinern");  // names compare without case
  lines.Add("MI_CLOSECAPTION=&Schliessen");
  lines.Add("MI_RESTORECAPTION=Wieder&herstellen");
  lines.Add("MI_ROLLUPCAPTION=");  // empty: a blank item would be useless
  strings.SetResStrings(lines);
  const auto items = SystemMenuItems({.RolledUp = true}, &strings);
  EXPECT_EQ(Named(items, "ORV_MINITEM").Caption, "Ver&kleinern");
  EXPECT_EQ(Named(items, "ORV_CLOSE").Caption, "&Schliessen");
  EXPECT_EQ(Named(items, "ORV_RESTORE").Caption, "Wieder&herstellen");
  EXPECT_EQ(Named(items, "ORV_MAXITEM").Caption, "Ma&ximize");
  EXPECT_EQ(Named(items, "ORV_MINTOTRAY").Caption, "Minimize to &Tray");
  EXPECT_EQ(Named(SystemMenuItems({}, &strings), "ORV_ROLLUP").Caption, "Ro&llUp");

  const auto tray = TrayMenuItems(false, &strings);
  EXPECT_EQ(NamesOf(tray), (Names{"TRAY_ORV_RESTORE", "-", "TRAY_ORV_CLOSE"}));
  EXPECT_EQ(tray[0].Caption, "Wieder&herstellen");
  EXPECT_EQ(tray[2].Caption, "&Schliessen");
  EXPECT_EQ(tray[2].ShortCut, "Alt+F4");
  EXPECT_EQ(TrayMenuItems(true, nullptr)[2].ShortCut, "Ctrl+F4");
  EXPECT_EQ(TrayMenuItems(true, nullptr)[0].Caption, "&Restore");
}

// ---- Host menus ----

Names CaptionsOf(const TMenuItem& root) {
  Names captions;
  for (int i = 0; i < root.Count(); ++i) captions.push_back(root.Items(i)->Caption());
  return captions;
}

TEST(WindowStatesMenu, FillsTheWholeMenuWithWorkingItems) {
  TPopupMenu menu(nullptr);
  TMenuItem& root = *menu.Items();
  root.Add(new TMenuItem(nullptr));  // left over from before: replaced
  std::vector<std::string> clicked;
  auto onClick = [&](const std::string& name) { clicked.push_back(name); };
  FillSystemMenu(root, SystemMenuItems({}, nullptr), false, onClick);
  FillSystemMenu(root, SystemMenuItems({}, nullptr), false, onClick);
  const Names expected{"Mi&nimize", "Ma&ximize", "Ro&llUp", "Minimize to &Tray", "-", "&Close"};
  ASSERT_EQ(CaptionsOf(root), expected);
  EXPECT_TRUE(root.Items(4)->IsLine());
  EXPECT_EQ(ShortCutToText(root.Items(5)->ShortCut()), "Alt+F4");
  EXPECT_EQ(root.Items(0)->ShortCut(), scNone);
  root.Items(5)->Click();
  root.Items(1)->Click();
  EXPECT_EQ(clicked, (std::vector<std::string>{"ORV_CLOSE", "ORV_MAXITEM"}));

  // The tray menu, for an MDI child, without a click handler.
  FillSystemMenu(root, TrayMenuItems(true, nullptr), false, {});
  EXPECT_EQ(CaptionsOf(root), (Names{"&Restore", "-", "&Close"}));
  EXPECT_EQ(ShortCutToText(root.Items(2)->ShortCut()), "Ctrl+F4");
  root.Items(0)->Click();  // no handler: nothing happens
}

TEST(WindowStatesMenu, CustomMenuKeepsItsItemsAndGetsNoDuplicates) {
  TPopupMenu menu(nullptr);
  TMenuItem& root = *menu.Items();
  auto* help = new TMenuItem(nullptr);
  help->SetCaption("&Help");
  auto* line = new TMenuItem(nullptr);
  line->SetCaption("-");
  auto* about = new TMenuItem(nullptr);
  about->SetCaption("&About");
  root.Add(help);
  root.Add(line);
  root.Add(about);

  FillSystemMenu(root, SystemMenuItems({}, nullptr), true, {});
  EXPECT_EQ(CaptionsOf(root), (Names{"Mi&nimize", "Ma&ximize", "Ro&llUp", "Minimize to &Tray", "-",
                                     "&Close", "&Help", "-", "&About"}));
  // Maximised now: the maximise item of the first call must not stay.
  FillSystemMenu(root, SystemMenuItems({.Maximized = true}, nullptr), true, {});
  EXPECT_EQ(CaptionsOf(root), (Names{"Mi&nimize", "&Restore", "Ro&llUp", "Minimize to &Tray", "-",
                                     "&Close", "&Help", "-", "&About"}));
  EXPECT_EQ(root.Items(6), help);
  EXPECT_EQ(root.Items(7), line);
  EXPECT_EQ(root.Items(8), about);
}

}  // namespace
}  // namespace qz
