// File types against a small database the tests write (globs2, magic,
// aliases, subclasses, icons, comments, two folders of different
// precedence), the readers on their own, and a few checks against the
// installed database when there is one.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/shell/MimeDatabase.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

// One rule line of a magic file.
std::string Rule(int indent, int offset, const std::string& value, const std::string& suffix = "",
                 const std::string& mask = "") {
  std::string line = (indent ? std::to_string(indent) : "") + ">" + std::to_string(offset) + "=";
  line += char(value.size() >> 8);
  line += char(value.size() & 0xFF);
  line += value;
  if (!mask.empty()) line += "&" + mask;
  return line + suffix + "\n";
}

std::string Magic(const std::string& body) { return std::string("MIME-Magic\0\n", 12) + body; }

const std::string kPng = "\x89PNG\r\n\x1a\n";

TEST(MimeMagicReader, RulesNestMaskRangeAndWordSize) {
  const TMimeMagic magic = TMimeMagic::Parse(Magic(
      "[50:image/png]\n" + Rule(0, 0, kPng) +
      "[60:application/x-nested]\n" + Rule(0, 0, "NEST") + Rule(1, 8, "OK") + Rule(1, 8, "YO") +
      "[40:application/x-masked]\n" + Rule(0, 0, std::string("\x50\x00", 2), "", std::string("\xF0\x00", 2)) +
      "[50:application/x-ranged]\n" + Rule(0, 4, "RNG", "+8") +
      "[50:application/x-word]\n" + Rule(0, 0, "\x01\x02\x03\x04", "~2") +
      "[50:application/x-extended]\n" + Rule(0, 0, "EXT", "!future") + Rule(0, 0, "EX2")));
  const struct {
    std::string data, type;
  } cases[] = {
      {kPng + "rest", "image/png"},
      {"NEST....OK", "application/x-nested"},
      {"NEST....YO", "application/x-nested"},  // either child
      {"NEST....no", ""},                      // the parent alone is not enough
      {"\x5A\x01", "application/x-masked"},
      {"\x6A\x01", ""},
      {"xxxxxxRNG", "application/x-ranged"},   // offset 6 is inside 4 … 11
      {"xxxxxxxxxxxxRNG", ""},                 // 12 is not
      {"\x02\x01\x04\x03", "application/x-word"},  // 16-bit words, this machine's order
      {"EX2", "application/x-extended"},       // the unknown extension's line is skipped
      {"EXT", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    const auto match = magic.Match(c.data);
    EXPECT_EQ(match ? match->Type : "", c.type) << c.data;
  }
  EXPECT_EQ(magic.Match("NEST....OK")->Priority, 60);
  EXPECT_EQ(magic.Extent(), 4u + 7 + 3);  // the ranged rule reaches farthest
}

TEST(MimeMagicReader, BrokenFilesKeepWhatCameBefore) {
  const std::string good = "[50:image/png]\n" + Rule(0, 0, kPng);
  const struct {
    std::string file;
    size_t sections;
  } cases[] = {
      {Magic(good), 1},
      {"MIME-Magic\n" + good, 0},                                  // no header
      {Magic(good + "[50:text/x-cut]\n>0=" + std::string("\x00\x09", 2) + "short"), 1},  // value past the end
      {Magic(good + "[x:text/bad]\n" + Rule(0, 0, "a")), 1},       // priority not a number
      {Magic(good + "[50:no-slash]\n" + Rule(0, 0, "a")), 1},
      {Magic(good + "[50:text/a]\n?>0=" + std::string("\x00\x01", 2) + "a\n"), 1},
      {Magic("[50:text/a]\n" + Rule(0, 0, "ab", "~3") + good), 1},  // length not whole words: rule skipped
      {Magic("[50:text/a]\n" + Rule(99, 0, "ab") + good), 1},       // too deep
      {Magic(good + "[101:text/a]\n" + Rule(0, 0, "a")), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(TMimeMagic::Parse(c.file).Sections().size(), c.sections);
}

TEST(MimeGlobsReader, FieldsFlagsAndBadLines) {
  const std::vector<TMimeGlob> globs = ParseMimeGlobs(
      "# comment\n"
      "50:text/x-csrc:*.c\n"
      "50:text/x-c++src:*.C:cs\n"
      "60:text/x-future:*.f:cs,later:more\n"
      "40:text/x-flags:*.g:other\r\n"
      "101:text/x-heavy:*.h\n"
      "x:text/x-bad:*.b\n"
      "50::*.e\n"
      "50:text/x-empty:\n"
      "50:no-slash:*.n\n"
      "50:text/x-ctl:a\tb\n"
      "50:text/x-c++src:__NOGLOBS__\n");
  ASSERT_EQ(globs.size(), 5u);
  EXPECT_FALSE(globs[0].CaseSensitive);
  EXPECT_TRUE(globs[1].CaseSensitive);
  EXPECT_TRUE(globs[2].CaseSensitive);
  EXPECT_EQ(globs[2].Pattern, "*.f");
  EXPECT_EQ(globs[3].Pattern, "*.g");
  EXPECT_FALSE(globs[3].CaseSensitive);
  EXPECT_EQ(globs[4].Pattern, "__NOGLOBS__");
}

TEST(MimeCommentReader, TheCommentWithoutLanguage) {
  const struct {
    std::string xml;
    std::optional<std::string> comment;
  } cases[] = {
      {"<mime-type><!-- <comment>not this</comment> --><comment xml:lang=\"de\">Bild</comment>"
       "<comment>PNG &amp; &#x263A; image</comment></mime-type>",
       "PNG & \xE2\x98\xBA image"},
      {"<comment>\n  spaced  \n</comment>", "spaced"},
      {"<commentary>no</commentary><comment/><comment >yes</comment>", "yes"},
      {"<comment xml:lang=\"fr\">seul</comment>", std::nullopt},
      {"<comment>unterminated", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadMimeComment(c.xml), c.comment) << c.xml;
}

// A database of two folders: "high" takes precedence over "low".
class MimeTypes : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qz-mime-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    Write("low/globs2",
          "50:text/x-csrc:*.c\n"
          "50:text/x-c++src:*.C:cs\n"
          "50:image/png:*.png\n"
          "50:application/gzip:*.gz\n"
          "50:application/x-compressed-tar:*.tar.gz\n"
          "50:text/x-makefile:Makefile\n"
          "60:text/x-readme:README*\n"
          "40:text/x-longer:README.txt\n"
          "50:text/plain:*.txt\n"
          "50:application/msword:*.doc\n"
          "50:text/x-doc:*.doc\n"
          "50:application/x-conflict-a:*.amb\n"
          "50:application/x-conflict-b:*.amb\n"
          "50:text/x-cc:*.cc\n");
    Write("high/globs2", "50:text/x-cc:__NOGLOBS__\n50:text/x-cc:*.cxx\n");
    Write("low/magic",
          Magic("[50:image/png]\n" + Rule(0, 0, kPng) +
                "[50:application/x-ole-storage]\n" + Rule(0, 0, "\xD0\xCF\x11\xE0") +
                "[40:application/x-nested]\n" + Rule(0, 0, "NEST")));
    Write("low/aliases", "image/x-png image/png\n");
    Write("low/subclasses", "application/msword application/x-ole-storage\n");
    Write("low/icons", "image/png:low-png\n");
    Write("high/icons", "image/png:custom-png\n");
    Write("low/generic-icons", "image/png:image-x-generic\ntext/x-csrc:text-x-script\n");
    Write("low/image/png.xml", "<mime-type><comment xml:lang=\"de\">PNG-Bild</comment>"
                               "<comment>PNG image</comment></mime-type>");
    Write("high/image/png.xml", "<mime-type><comment>Custom PNG</comment></mime-type>");
    db_ = std::make_unique<TMimeDatabase>(TMimeSettings{{Path("high"), Path("low")}});
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Path(const std::string& relative) const { return (root_ / relative).string(); }
  void Write(const std::string& relative, const std::string& bytes) const {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << bytes;
  }

  fs::path root_;
  std::unique_ptr<TMimeDatabase> db_;
};

TEST_F(MimeTypes, TypeOfNameAndContents) {
  const std::string ole = "\xD0\xCF\x11\xE0 rest";
  const struct {
    std::string name;
    std::optional<std::string> data;  // nothing: cannot be read
    std::string type;
  } cases[] = {
      {"photo.png", "not even a png", "image/png"},     // one glob type settles it
      {"photo.PNG", std::nullopt, "image/png"},         // globs ignore case …
      {"prog.c", std::nullopt, "text/x-csrc"},
      {"prog.C", std::nullopt, "text/x-c++src"},        // … unless "cs": that match wins the tie
      {"archive.tar.gz", std::nullopt, "application/x-compressed-tar"},  // the longer pattern
      {"README.txt", std::nullopt, "text/x-readme"},    // weight before length
      {"Makefile", std::nullopt, "text/x-makefile"},
      {"makefile", std::nullopt, "text/x-makefile"},
      {"old.cc", "int x;", "text/plain"},               // removed by the folder that counts more
      {"new.cxx", std::nullopt, "text/x-cc"},
      {"letter.doc", ole, "application/msword"},        // conflict: the glob type under the magic one
      {"notes.doc", "plain words\n", "text/x-doc"},     // conflict, no magic, text: the text glob type
      {"x.amb", "NEST", "application/x-nested"},        // conflict: magic decides
      {"x.amb", std::string("\x00\x01", 2), "application/x-conflict-a"},
      {"noext", kPng, "image/png"},                     // magic alone
      {"noext", "hello\n", "text/plain"},
      {"noext", "tab\tand\x1b[0m\r\n\f", "text/plain"},
      {"noext", std::string("a\x00", 2), "application/octet-stream"},
      {"noext", "", "text/plain"},
      {"noext", std::nullopt, "application/octet-stream"},
  };
  for (const auto& c : cases) EXPECT_EQ(db_->TypeOfNameAndData(c.name, c.data), c.type) << c.name;
}

TEST_F(MimeTypes, FilesOnDiskSpecialOnesNeverOpened) {
  Write("files/photo", kPng);
  Write("files/text", "words\n");
  fs::create_directory(Path("files/folder.png"));
  ASSERT_EQ(::mkfifo(Path("files/pipe.txt").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(Path("files/pipe").c_str(), 0600), 0);  // would block a reader without writer
  fs::create_symlink("nowhere.png", Path("files/dead.png"));
  fs::create_symlink("photo", Path("files/link"));
  const struct {
    std::string name, type;
  } cases[] = {
      {"photo", "image/png"},         {"text", "text/plain"},        {"folder.png", "inode/directory"},
      {"pipe.txt", "inode/fifo"},     {"pipe", "inode/fifo"},        {"dead.png", "inode/symlink"},
      {"link", "image/png"},          {"missing", "application/octet-stream"},
  };
  for (const auto& c : cases) EXPECT_EQ(db_->TypeOfFile(Path("files/" + c.name)), c.type) << c.name;
  // The same through a folder listing.
  const TFolderListing listing = EnumerateFolder(
      Path("files"), {TShellObjectType::otFolders, TShellObjectType::otNonFolders});
  const int dirFd = ::open(Path("files").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(dirFd, 0);
  for (const TFolderEntry& entry : listing.Entries) {
    const auto expected = std::find_if(std::begin(cases), std::end(cases),
                                       [&](const auto& c) { return c.name == entry.Name; });
    ASSERT_NE(expected, std::end(cases));
    EXPECT_EQ(db_->TypeOfEntry(dirFd, entry), expected->type) << entry.Name;
  }
  ::close(dirFd);
}

TEST_F(MimeTypes, AliasesParentsIconsAndComments) {
  EXPECT_EQ(db_->Unalias("image/x-png"), "image/png");
  EXPECT_TRUE(db_->IsA("application/msword", "application/x-ole-storage"));
  EXPECT_TRUE(db_->IsA("text/x-csrc", "text/plain"));
  EXPECT_TRUE(db_->IsA("image/x-png", "application/octet-stream"));
  EXPECT_FALSE(db_->IsA("inode/directory", "application/octet-stream"));
  EXPECT_FALSE(db_->IsA("text/plain", "text/x-csrc"));
  const struct {
    std::string type;
    std::vector<std::string> names;
  } icons[] = {
      {"image/x-png", {"custom-png", "image-png", "image-x-generic"}},  // the folder that counts more
      {"text/x-csrc", {"text-x-csrc", "text-x-script"}},
      {"video/mp4", {"video-mp4", "video-x-generic"}},
  };
  for (const auto& c : icons) EXPECT_EQ(db_->IconNames(c.type), c.names) << c.type;
  EXPECT_EQ(db_->Comment("image/x-png"), "Custom PNG");
  EXPECT_EQ(db_->Comment("text/x-nothing"), "text/x-nothing");
  EXPECT_EQ(db_->Comment("../../etc/passwd"), "../../etc/passwd");  // never a path
}

TEST(InstalledMimeDatabase, KnowsCommonTypes) {
  if (!fs::exists("/usr/share/mime/globs2")) GTEST_SKIP() << "shared-mime-info is not installed";
  const TMimeDatabase db(TMimeSettings{{"/usr/share/mime"}});
  EXPECT_EQ(db.TypeOfNameAndData("photo.png", std::nullopt), "image/png");
  EXPECT_EQ(db.TypeOfNameAndData("movie.mkv", std::nullopt), "video/x-matroska");
  EXPECT_EQ(db.TypeOfNameAndData("noname", kPng + std::string(100, '\0')), "image/png");
  EXPECT_EQ(db.TypeOfNameAndData("notes", "just words\n"), "text/plain");
  EXPECT_EQ(db.Comment("image/png"), "PNG image");
  EXPECT_EQ(db.Comment("inode/directory"), "folder");
  EXPECT_EQ(db.IconNames("inode/directory").back(), "folder");
}

}  // namespace
}  // namespace qz
