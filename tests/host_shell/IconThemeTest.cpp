// The icon theme service against themes the tests lay out in a temporary
// folder: size matching, inheritance, hicolor and the unthemed icons, the
// user's theme, the cache, hostile files; and the reader of index.theme.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "host/base/Exception.h"
#include "host/graphics/PixmapScale.h"
#include "host/graphics/StockIcons.h"
#include "host/shell/IconTheme.h"
#include "skin/draw/PngImage.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it at the end of the test.
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (fs::temp_directory_path() / "qz-icons-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TTempDir() { fs::remove_all(path_); }
  const fs::path& Path() const { return path_; }
  // Writes a file, creating its folders.
  void Write(const std::string& relative, const std::string& text = "png") const {
    fs::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << text;
  }

 private:
  fs::path path_;
};

// Passes every call to the real file system, counting them.
class TCountingAccess : public TFileAccess {
 public:
  std::vector<std::string> ListDirectory(const std::string& path) override {
    ++Touches;
    return RealFileAccess().ListDirectory(path);
  }
  std::optional<std::vector<uint8_t>> ReadFile(const std::string& path, size_t maxBytes) override {
    ++Touches;
    return RealFileAccess().ReadFile(path, maxBytes);
  }
  int Touches = 0;
};

// Two base folders ("user" before "system") and a pixmaps folder. Theme
// "Test" inherits "Parent", which inherits "Test" back (a cycle); "hicolor"
// comes last.
class IconThemeLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("system/Test/index.theme",
               "[Icon Theme]\n"
               "Name=Test\n"
               "Inherits=Parent\n"
               "Directories=16x16/apps,32x32/apps,48x48/apps,scalable/apps,22x22/thr,vector,\n"
               "ScaledDirectories=16x16@2/apps\n"
               "[16x16/apps]\nSize=16\nType=Fixed\n"
               "[16x16@2/apps]\nSize=16\nScale=2\nType=Fixed\n"
               "[32x32/apps]\nSize=32\nType=Fixed\n"
               "[48x48/apps]\nSize=48\nType=Fixed\n"
               "[scalable/apps]\nSize=64\nType=Scalable\nMinSize=40\nMaxSize=256\n"
               "[22x22/thr]\nSize=22\nType=Threshold\n"
               "[vector]\nSize=32\nType=Fixed\n");
    dir_.Write("system/Parent/index.theme",
               "[Icon Theme]\nInherits=Test\nDirectories=32x32/apps\n[32x32/apps]\nSize=32\nType=Fixed\n");
    dir_.Write("system/hicolor/index.theme",
               "[Icon Theme]\nDirectories=32x32/apps\n[32x32/apps]\nSize=32\nType=Threshold\n");
    for (const char* file :
         {"16x16/apps/app.png", "32x32/apps/app.png", "48x48/apps/app.png", "scalable/apps/big.png",
          "22x22/thr/thr.png", "16x16/apps/thr.png", "16x16@2/apps/hidpi.png", "32x32/apps/hidpi.png",
          "vector/vec.svg", "vector/vec.xpm", "48x48/apps/vec.png", "48x48/apps/far.png",
          "32x32/apps/mine.png", "32x32/apps/generic.png"})
      dir_.Write(std::string("system/Test/") + file);
    dir_.Write("user/Test/32x32/apps/mine.png");  // the user's copy, without an index.theme
    dir_.Write("system/Parent/32x32/apps/far.png");
    dir_.Write("system/Parent/32x32/apps/parent.png");
    dir_.Write("system/Parent/32x32/apps/specific.png");
    dir_.Write("system/hicolor/32x32/apps/hi.png");
    dir_.Write("system/hicolor/32x32/apps/parent.png");
    dir_.Write("pixmaps/loose.png");
    dir_.Write("pixmaps/hi.png");
  }

  TIconThemeSettings Settings(std::string theme = "Test") const {
    TIconThemeSettings settings;
    for (const char* base : {"user", "system", "pixmaps"}) settings.BaseDirs.push_back(Dir(base));
    settings.ThemeName = std::move(theme);
    return settings;
  }
  std::string Dir(const std::string& relative) const { return (dir_.Path() / relative).string(); }

  TTempDir dir_;
};

TEST_F(IconThemeLookup, FindsTheBestFileAsTheStandardSays) {
  struct Case {
    std::vector<std::string> names;
    int size, scale;
    const char* expected;  // relative to the temporary folder; nullptr: none
  } cases[] = {
      {{"app"}, 16, 1, "system/Test/16x16/apps/app.png"},       // fixed, exact
      {{"app"}, 32, 1, "system/Test/32x32/apps/app.png"},
      {{"app"}, 40, 1, "system/Test/32x32/apps/app.png"},       // nearest: 32 (8) before 48 (8): first
      {{"app"}, 44, 1, "system/Test/48x48/apps/app.png"},       // nearest
      {{"big"}, 100, 1, "system/Test/scalable/apps/big.png"},   // scalable covers 40 … 256
      {{"big"}, 16, 1, "system/Test/scalable/apps/big.png"},    // the only one, however far
      {{"thr"}, 19, 1, "system/Test/22x22/thr/thr.png"},        // threshold 20 … 24 is 1 away
      {{"thr"}, 17, 1, "system/Test/16x16/apps/thr.png"},       // fixed 16 is nearer
      {{"thr"}, 24, 1, "system/Test/22x22/thr/thr.png"},        // inside the threshold
      {{"hidpi"}, 16, 2, "system/Test/16x16@2/apps/hidpi.png"}, // scaled directory
      {{"hidpi"}, 32, 1, "system/Test/32x32/apps/hidpi.png"},   // 16@2 is not a 32@1 directory
      {{"vec"}, 32, 1, "system/Test/48x48/apps/vec.png"},       // .svg / .xpm only: not there
      {{"mine"}, 32, 1, "user/Test/32x32/apps/mine.png"},       // earlier base folder first
      {{"far"}, 32, 1, "system/Test/48x48/apps/far.png"},       // the theme's inexact before a parent's exact
      {{"parent"}, 32, 1, "system/Parent/32x32/apps/parent.png"},  // inherited, before hicolor
      {{"hi"}, 32, 1, "system/hicolor/32x32/apps/hi.png"},      // hicolor before unthemed
      {{"loose"}, 32, 1, "pixmaps/loose.png"},                  // unthemed
      {{"specific", "generic"}, 32, 1, "system/Test/32x32/apps/generic.png"},  // all names per theme
      {{"nothing", "parent"}, 32, 1, "system/Parent/32x32/apps/parent.png"},
      {{"missing"}, 32, 1, nullptr},
      {{"app"}, 0, 1, nullptr},
      {{"app"}, 32, 0, nullptr},
      {{"../Test/32x32/apps/app"}, 32, 1, nullptr},
      {{""}, 32, 1, nullptr},
      {{}, 32, 1, nullptr},
  };
  TIconTheme theme(Settings());
  for (const Case& c : cases) {
    const std::string label = (c.names.empty() ? "" : c.names[0]) + " @" + std::to_string(c.size) +
                              "x" + std::to_string(c.scale);
    const std::optional<std::string> path = theme.LookupFirst(c.names, c.size, c.scale);
    if (c.expected)
      EXPECT_EQ(path.value_or("none"), Dir(c.expected)) << label;
    else
      EXPECT_FALSE(path) << label << ": " << *path;
  }
}

TEST_F(IconThemeLookup, UserThemeComesFromTheSettingThenGtkSettingsThenAdwaitaThenHicolor) {
  struct Case {
    const char* label;
    std::string explicitName;
    const char* settingsIni;  // nullptr: no file
    bool adwaitaInstalled;
    const char* expected;
  } cases[] = {
      {"explicit", "Parent", "[Settings]\ngtk-icon-theme-name=Test\n", true, "Parent"},
      {"gtk settings", "", "[Settings]\ngtk-icon-theme-name = Test\n", true, "Test"},
      {"gtk names a missing theme", "", "[Settings]\ngtk-icon-theme-name=Gone\n", true, "Adwaita"},
      {"no gtk settings", "", nullptr, true, "Adwaita"},
      {"settings without the key", "", "[Settings]\ngtk-theme-name=Test\n", false, "hicolor"},
      {"nothing installed", "", nullptr, false, "hicolor"},
  };
  for (const Case& c : cases) {
    TTempDir config;
    if (c.settingsIni) config.Write("gtk-3.0/settings.ini", c.settingsIni);
    TTempDir adwaita;
    if (c.adwaitaInstalled) adwaita.Write("Adwaita/index.theme", "[Icon Theme]\n");
    TIconThemeSettings settings = Settings(c.explicitName);
    settings.BaseDirs.push_back(adwaita.Path().string());
    settings.ConfigDirs = {(config.Path() / "none").string(), config.Path().string()};
    EXPECT_EQ(TIconTheme(settings).ThemeName(), c.expected) << c.label;
  }
}

TEST_F(IconThemeLookup, ASecondLookupTouchesNoFile) {
  TCountingAccess files;
  TIconTheme theme(Settings(), files);
  int decodes = 0;
  const TIconDecoder decode = [&](std::span<const uint8_t> bytes) {
    ++decodes;
    return std::optional<TPixmap>(TPixmap(int(bytes.size()), 1));
  };
  for (const std::vector<std::string>& names :
       {std::vector<std::string>{"app"}, {"hi"}, {"missing"}, {"specific", "generic"}}) {
    theme.Load(names, 32, decode);
    const int touches = files.Touches;
    const int decoded = decodes;
    const auto again = theme.Load(names, 32, decode);
    EXPECT_EQ(files.Touches, touches) << names[0];
    EXPECT_EQ(decodes, decoded) << names[0];
    EXPECT_EQ(again != nullptr, names[0] != "missing") << names[0];
  }
  // The drawn stand-in when no theme has the icon, and after Reset a fresh read.
  const auto drawn = theme.LoadOrDraw({"dialog-warning"}, 16, decode);
  ASSERT_TRUE(drawn);
  EXPECT_EQ(drawn->Width(), 16);
  EXPECT_EQ(theme.LoadOrDraw({"dialog-warning"}, 16, decode), drawn);
  const int before = files.Touches;
  theme.Reset();
  EXPECT_TRUE(theme.Lookup("app", 32));
  EXPECT_GT(files.Touches, before);
}

TEST_F(IconThemeLookup, UndecodableFilesAndHostileEntriesAreNotIcons) {
  ASSERT_EQ(::mkfifo(Dir("system/Test/32x32/apps/fifo.png").c_str(), 0600), 0);
  fs::create_directories(Dir("system/Fifo"));
  ASSERT_EQ(::mkfifo(Dir("system/Fifo/index.theme").c_str(), 0600), 0);
  dir_.Write("system/Loop/index.theme",
             "[Icon Theme]\nDirectories=a/b\n[a/b]\nSize=32\n");
  fs::create_symlink("a", Dir("system/Loop/a"));  // a link to itself
  fs::create_directories(Dir("system/Test/32x32/apps/dir.png"));

  TIconTheme theme(Settings());
  EXPECT_FALSE(theme.Lookup("fifo", 32));
  EXPECT_FALSE(theme.Load({"dir"}, 32, [](auto) { return std::optional<TPixmap>(TPixmap(1, 1)); }));
  EXPECT_FALSE(RealFileAccess().ReadFile(Dir("system/Fifo/index.theme"), 100));
  EXPECT_TRUE(RealFileAccess().ListDirectory(Dir("system/Loop/a")).empty());
  for (const char* name : {"Fifo", "Loop"}) {
    TIconTheme other(Settings(name));
    EXPECT_EQ(other.Lookup("hi", 32).value_or("none"), Dir("system/hicolor/32x32/apps/hi.png")) << name;
  }
  // A decoder that refuses the file (or raises) leaves the drawn stand-in.
  for (const TIconDecoder& refuse :
       {TIconDecoder([](auto) { return std::optional<TPixmap>(); }),
        TIconDecoder([](auto) -> std::optional<TPixmap> { throw EInvalidGraphic("bad"); })}) {
    TIconTheme fresh(Settings());
    dir_.Write("system/Test/32x32/apps/folder.png", "not a png");
    EXPECT_FALSE(fresh.Load({"folder"}, 32, refuse));
    const auto drawn = fresh.LoadOrDraw({"folder"}, 32, refuse);
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->Width(), 32);
  }
}

// A compact account of an index: "inherits a,b | path:F16@1[16-16]t2 ...".
std::string Describe(const TIconThemeIndex& index) {
  std::string s = "inherits";
  for (const std::string& name : index.Inherits) s += " " + name;
  s += " |";
  for (const TIconDirectory& d : index.Directories)
    s += " " + d.Path + ":" + "FST"[int(d.Type)] + std::to_string(d.Size) + "@" +
         std::to_string(d.Scale) + "[" + std::to_string(d.MinSize) + "-" +
         std::to_string(d.MaxSize) + "]t" + std::to_string(d.Threshold);
  return s;
}

TEST(IconThemeIndex, BadFilesGiveSaneDefaultsAndNoError) {
  const std::string longLine = "Directories=" + std::string(70000, 'x') + "\n";
  struct Case {
    const char* label;
    std::string text;
    const char* expected;
  } cases[] = {
      {"empty", "", "inherits |"},
      {"binary", std::string("\0\xff[\x01]\n=\n[", 8), "inherits |"},
      {"no theme section", "[32]\nSize=32\nDirectories=32\n", "inherits |"},
      {"defaults", "[Icon Theme]\nDirectories=32\n[32]\nSize=32\n", "inherits | 32:T32@1[32-32]t2"},
      {"CR LF, spaces, comments, locale keys",
       "\xEF\xBB\xBF[Icon Theme]\r\n# c\r\n Name[de] = x \r\n Directories = a , b \r\n[a]\r\nSize = 8\r\n"
       "Type = Fixed\r\n[b]\r\nType=Scalable\r\nSize=48\r\nMinSize=16\r\nMaxSize=512\r\nScale=2\r\n",
       "inherits | a:F8@1[8-8]t2 b:S48@2[16-512]t2"},
      {"bad numbers and types",
       "[Icon Theme]\nDirectories=a,b,c,d,e\n[a]\nSize=abc\n[b]\nSize=0\n[c]\nSize=-4\n"
       "[d]\nSize=16\nType=Bogus\nScale=0\nThreshold=x\nMinSize=99999999999\n[e]\nSize=16 px\n",
       "inherits | d:T16@1[16-16]t2"},
      {"unsafe and repeated paths",
       "[Icon Theme]\nDirectories=../x,/abs,a//b,.,a/./b,ok,ok\n[../x]\nSize=1\n[/abs]\nSize=1\n"
       "[a//b]\nSize=1\n[.]\nSize=1\n[a/./b]\nSize=1\n[ok]\nSize=1\n",
       "inherits | ok:T1@1[1-1]t2"},
      {"missing section", "[Icon Theme]\nDirectories=gone,here\n[here]\nSize=5\n", "inherits | here:T5@1[5-5]t2"},
      {"inherits list", "[Icon Theme]\nInherits=a,,b , ../x,c d,hicolor\n", "inherits a b hicolor |"},
      {"first of repeated keys and sections",
       "[Icon Theme]\nDirectories=a\nDirectories=b\n[a]\nSize=1\n[a]\nSize=2\n[b]\nSize=3\n",
       "inherits | a:T1@1[1-1]t2"},
      {"overlong line skipped", "[Icon Theme]\n" + longLine + "Inherits=p\n", "inherits p |"},
      {"no final newline", "[Icon Theme]\nInherits=p", "inherits p |"},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(ParseIconThemeIndex(c.text)), c.expected) << c.label;

  // Directory count capped.
  std::string many = "[Icon Theme]\nDirectories=";
  std::string sections;
  for (size_t i = 0; i < kMaxIconDirectories + 10; ++i) {
    many += "d" + std::to_string(i) + ",";
    sections += "[d" + std::to_string(i) + "]\nSize=16\n";
  }
  EXPECT_EQ(ParseIconThemeIndex(many + "\n" + sections).Directories.size(), kMaxIconDirectories);
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

// Icons shown at one size: each file holds its own size as text and decodes
// to a square of one colour per size, so the picture tells which file it
// came from.
TEST(IconThemeSized, ScaledFromTheBestFileOrDrawn) {
  TTempDir dir;
  dir.Write("Sized/index.theme",
            "[Icon Theme]\nDirectories=16,24,32,48\n[16]\nSize=16\n[24]\nSize=24\n"
            "[32]\nSize=32\n[48]\nSize=48\n");
  for (const char* file : {"24/both.png", "48/both.png", "16/small.png", "32/exact.png"})
    dir.Write(std::string("Sized/") + file, std::string(file, std::strchr(file, '/')));
  const auto colourOf = [](int size) { return 0xFF000000u | uint32_t(size) << 16 | 0x80u; };
  const TIconDecoder decode = [&](std::span<const uint8_t> bytes) {
    const int size = std::stoi(std::string(bytes.begin(), bytes.end()));
    return std::optional<TPixmap>(TPixmap(size, size, colourOf(size)));
  };
  TCountingAccess files;
  TIconTheme theme({{dir.Path().string()}, "Sized", {}}, files);
  struct Case {
    std::string Name;
    uint32_t Centre;  // the colour in the middle of the 32 x 32 result
  } cases[] = {
      {"both", colourOf(48)},   // the nearest file is smaller: the larger one scaled down
      {"small", colourOf(16)},  // only a smaller file: scaled up
      {"exact", colourOf(32)},
      {"dialog-error", DrawStockIcon(TStockIcon::Error, 32).At(16, 16)},  // no file: drawn
  };
  for (const Case& c : cases) {
    const auto icon = theme.LoadSized({c.Name}, 32, decode);
    ASSERT_TRUE(icon) << c.Name;
    EXPECT_EQ(icon->Width(), 32) << c.Name;
    EXPECT_EQ(icon->Height(), 32) << c.Name;
    EXPECT_EQ(icon->At(16, 16), c.Centre) << c.Name;
    const int touches = files.Touches;
    EXPECT_EQ(theme.LoadSized({c.Name}, 32, decode), icon) << c.Name;
    EXPECT_EQ(files.Touches, touches) << c.Name;
  }
  EXPECT_FALSE(theme.LoadSized({"nothing-at-all"}, 32, decode));
}

// Resampling keeps solid areas exact and lends transparent pixels no colour.
TEST(PixmapScale, AreaMeanWeightedByAlpha) {
  TPixmap source(4, 2, 0);
  for (int y = 0; y < 2; ++y) {
    source.At(0, y) = source.At(1, y) = 0xFF204060u;  // opaque left half
    source.At(2, y) = 0x00FFFFFFu;                    // transparent white
    source.At(3, y) = 0x80204060u;
  }
  const TPixmap half = ResamplePixmap(source, 2, 1);
  EXPECT_EQ(half.At(0, 0), 0xFF204060u);
  EXPECT_EQ(half.At(1, 0), 0x40204060u);  // alpha averaged, colour only from the visible pixel
  const TPixmap up = ResamplePixmap(TPixmap(3, 3, 0xFF112233u), 7, 5);
  EXPECT_EQ(up.Width(), 7);
  EXPECT_EQ(up.At(6, 4), 0xFF112233u);
  EXPECT_TRUE(ResamplePixmap(source, 0, 3).Empty());
}

// The installed Adwaita theme (when there is one) through the engine's PNG
// reader: the message box icons are found and decode.
TEST(IconThemeInstalled, AdwaitaMessageIconsDecode) {
  if (!fs::exists("/usr/share/icons/Adwaita/index.theme")) GTEST_SKIP() << "Adwaita not installed";
  TIconThemeSettings settings = IconThemeSettingsFromEnvironment();
  settings.ThemeName = "Adwaita";
  TIconTheme theme(settings);
  const TIconDecoder decode = [](std::span<const uint8_t> bytes) {
    return std::optional<TPixmap>(TqzPngImage::DecodeToPixmap(bytes));
  };
  for (const char* name : {"dialog-warning", "dialog-error", "dialog-information", "dialog-question"}) {
    const std::optional<std::string> path = theme.Lookup(name, 32);
    ASSERT_TRUE(path) << name;
    EXPECT_TRUE(path->starts_with("/usr/share/icons/Adwaita/")) << *path;
    const auto picture = theme.Load({name}, 32, decode);
    ASSERT_TRUE(picture) << *path;
    EXPECT_GE(picture->Width(), 16) << *path;
  }
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

TEST(IconThemeSettings, StandardPlacesFromTheEnvironment) {
  struct Case {
    const char *home, *dataHome, *dataDirs, *configHome, *configDirs;
    std::vector<std::string> bases, configs;
  } cases[] = {
      {"/h", nullptr, nullptr, nullptr, nullptr,
       {"/h/.icons", "/h/.local/share/icons", "/usr/local/share/icons", "/usr/share/icons", "/usr/share/pixmaps"},
       {"/h/.config", "/etc/xdg", "/etc"}},
      {"/h/", "/d/", "/a/:rel:/b::", "/c", "/x:y",
       {"/h/.icons", "/d/icons", "/a/icons", "/b/icons", "/usr/share/pixmaps"},
       {"/c", "/x", "/etc"}},
      {nullptr, "rel", "", "", "",
       {"/usr/local/share/icons", "/usr/share/icons", "/usr/share/pixmaps"},
       {"/etc/xdg", "/etc"}},
  };
  const char* names[] = {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};
  std::vector<std::optional<std::string>> saved;
  for (const char* name : names)
    saved.push_back(std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);
  const auto set = [](const char* name, const char* value) {
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  };
  for (const Case& c : cases) {
    const char* values[] = {c.home, c.dataHome, c.dataDirs, c.configHome, c.configDirs};
    for (int i = 0; i < 5; ++i) set(names[i], values[i]);
    const TIconThemeSettings settings = IconThemeSettingsFromEnvironment();
    EXPECT_EQ(settings.BaseDirs, c.bases);
    EXPECT_EQ(settings.ConfigDirs, c.configs);
  }
  for (int i = 0; i < 5; ++i) set(names[i], saved[i] ? saved[i]->c_str() : nullptr);
}

}  // namespace
}  // namespace qz
