// The open dialog's rules without a window: filter text, default
// extension, the Open logic as a table, new folder names, the start
// folder, typed paths, completion and the folder history.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "skin/dialogs/OpenDialogRules.h"

namespace qz {
namespace {

TEST(OpenDialogRules, FilterTextAndCurrentMask) {
  const auto e = ParseFilter("Pictures|*.png;*.jpg|All files|*.*");
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].Description, "Pictures");
  EXPECT_EQ(e[0].Mask, "*.png;*.jpg");
  EXPECT_EQ(e[1].Mask, "*.*");
  EXPECT_EQ(CurrentMask(e, 0), "*.png;*.jpg");
  EXPECT_EQ(CurrentMask(e, -1), "*.*") << "no selection: the last entry";
  EXPECT_EQ(CurrentMask({}, 0), "*.*") << "no entries";
  // A description without a mask, and nothing at all.
  const auto odd = ParseFilter("Only a name");
  ASSERT_EQ(odd.size(), 1u);
  EXPECT_EQ(odd[0].Mask, "");
  EXPECT_TRUE(ParseFilter("").empty());
}

TEST(OpenDialogRules, DefaultExtension) {
  const struct {
    const char* DefaultExt;
    const char* Mask;
    const char* Want;
  } cases[] = {
      {"txt", "*.png", ".txt"},       {".txt", "*.*", ".txt"},  {"", "*.*", ""},
      {"", "*.png;*.jpg", ".png"},    {"", "*.tar.gz", ".gz"},  {"", "*", ""},
      {"", "*.t?t", ""},              {"", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DefaultExtension(c.DefaultExt, c.Mask), c.Want) << c.DefaultExt << " " << c.Mask;
}

// A fake disk: paths that are files and folders.
TqzPathKindFn Disk(std::set<std::string> files, std::set<std::string> folders) {
  return [files, folders](const std::string& p) {
    if (files.count(p)) return TqzPathKind::File;
    if (folders.count(p)) return TqzPathKind::Folder;
    return TqzPathKind::None;
  };
}

TEST(OpenDialogRules, OpenLogic) {
  using A = TqzOpenOutcome::TAction;
  const auto disk = Disk({"/d/a.txt", "/d/b.png", "/d/noext", "/h/x.txt"}, {"/d", "/d/sub", "/h"});
  const struct {
    const char* Name;
    const char* Selected;
    const char* Typed;
    bool Check;
    const char* Ext;
    A Action;
    const char* Path;
  } cases[] = {
      {"selected file", "/d/a.txt", "a.txt", true, "", A::Close, "/d/a.txt"},
      {"selected, edit emptied", "/d/a.txt", "", true, "", A::Stay, ""},
      {"typed existing", "", "a.txt", true, "", A::Close, "/d/a.txt"},
      {"typed missing, checked", "", "zz.txt", true, "", A::Stay, ""},
      {"typed missing, unchecked", "", "zz.txt", false, "", A::Close, "/d/zz.txt"},
      {"typed without extension gets the mask's", "", "b", true, ".png", A::Close, "/d/b.png"},
      {"extension added only when missing", "", "a.txt", true, ".png", A::Close, "/d/a.txt"},
      {"unchecked name gets the default extension", "", "new", false, ".txt", A::Close, "/d/new.txt"},
      {"no extension to add finds the bare name", "", "noext", true, "", A::Close, "/d/noext"},
      {"bare name missing with extension added", "", "noext", true, ".png", A::Stay, ""},
      {"nothing typed", "", "", true, "", A::Stay, ""},
      {"nothing typed, unchecked", "", "", false, "", A::Stay, ""},
      {"typed folder browses", "", "sub", true, "", A::Browse, "/d/sub"},
      {"typed folder browses, unchecked", "", "sub", false, "", A::Browse, "/d/sub"},
      {"absolute path", "", "/h/x.txt", true, "", A::Close, "/h/x.txt"},
      {"absolute folder", "", "/h", true, "", A::Browse, "/h"},
      {"home", "", "~", true, "", A::Browse, "/h"},
      {"in home", "", "~/x.txt", true, "", A::Close, "/h/x.txt"},
  };
  for (const auto& c : cases) {
    TqzOpenInput in;
    in.Selected = c.Selected;
    in.Typed = c.Typed;
    in.Folder = "/d";
    in.DefaultExt = c.Ext;
    in.CheckFileExists = c.Check;
    in.Home = "/h";
    const TqzOpenOutcome out = DecideOpen(in, disk);
    EXPECT_EQ(out.Action, c.Action) << c.Name;
    EXPECT_EQ(out.Path, c.Path) << c.Name;
  }
}

TEST(OpenDialogRules, RelativeNameInAVirtualFolderNamesNothing) {
  TqzOpenInput in;
  in.Typed = "a.txt";
  in.CheckFileExists = false;
  EXPECT_EQ(DecideOpen(in, Disk({"a.txt"}, {})).Action, TqzOpenOutcome::TAction::Stay);
}

// The first pattern's extension is looked for in the current folder.
TEST(OpenDialogRules, TwoPatternMaskLooksForTheFirstExtension) {
  TqzOpenInput in;
  in.Typed = "clip";
  in.Folder = "/d";
  in.DefaultExt = DefaultExtension("", "*.avi;*.mp4");
  const TqzOpenOutcome out = DecideOpen(in, Disk({"/d/clip.avi", "/d/clip.mp4"}, {}));
  EXPECT_EQ(out.Path, "/d/clip.avi");
}

TEST(OpenDialogRules, NewFolderNames) {
  EXPECT_EQ(NewFolderName("New Folder", 1), "New Folder");
  EXPECT_EQ(NewFolderName("New Folder", 2), "New Folder(2)");
  EXPECT_EQ(NewFolderName("Neu", 12), "Neu(12)");
}

TEST(OpenDialogRules, StartFolder) {
  const std::set<std::string> existing{"/d", "/init"};
  auto exists = [&](const std::string& p) { return existing.count(p) > 0; };
  const struct {
    const char* FileName;
    const char* InitialDir;
    const char* Want;
  } cases[] = {
      {"/d/a.txt", "/init", "/d"},   {"/gone/a.txt", "/init", "/init"}, {"/gone/a.txt", "/gone", "/prog"},
      {"a.txt", "/init", "/init"},   {"a.txt", "", "/prog"},            {"", "/missing", "/prog"},
      {"/a.txt", "", "/prog"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StartFolder(c.FileName, c.InitialDir, "/prog", exists), c.Want) << c.FileName << " " << c.InitialDir;
  EXPECT_EQ(FolderPart("/a.txt"), "/");
  EXPECT_EQ(NamePart("/d/a.txt"), "a.txt");
}

TEST(OpenDialogRules, Completion) {
  const std::vector<std::string> names{"holiday.mp4", "holiday.txt", "Holland", "notes.txt", "h\xC3\xA9llo",
                                       "h\xC3\xA8re"};
  const struct {
    const char* Prefix;
    const char* Want;
  } cases[] = {
      {"ho", "holiday."}, {"holiday.m", "holiday.mp4"}, {"H", "Holland"}, {"x", ""},
      {"", ""},           {"n", "notes.txt"},
      // The common part of the two ends inside "é"/"è": never cut there.
      {"h\xC3", "h\xC3"},
  };
  for (const auto& c : cases) EXPECT_EQ(CompleteName(c.Prefix, names), c.Want) << c.Prefix;
}

TEST(OpenDialogRules, HistoryBackAfterEnteringAgain) {
  TqzFolderHistory h;
  const TShellId a = TShellId::FromPath("/a"), b = TShellId::FromPath("/b"), c = TShellId::FromPath("/c"),
                 d = TShellId::FromPath("/d");
  h.Entered(a);
  h.Entered(a);
  EXPECT_EQ(h.Count(), 1) << "an equal neighbour is not recorded";
  EXPECT_FALSE(h.Back()) << "one entry: nothing to go back to";
  h.Entered(b);
  h.Entered(c);
  EXPECT_EQ(h.Back(), b);
  // From b the user enters d: Back comes to b, where d was entered from.
  h.Entered(d);
  EXPECT_EQ(h.Back(), b);
  EXPECT_EQ(h.Back(), a);
  EXPECT_FALSE(h.Back());
}

}  // namespace
}  // namespace qz
