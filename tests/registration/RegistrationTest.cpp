// Every program links the registering objects of the libraries whole, so a
// class is there for the form reader even when no code names it. These tests
// run in a program that names none of them: a class missing here would be
// missing from any program whose forms name it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "host/components/Properties.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = QZ_SOURCE_DIR;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every class name that `pattern` (one capture group) finds in the files
// below `folder` whose names end in `extension`.
std::set<std::string> NamesIn(const fs::path& folder, const std::string& extension,
                              const std::regex& pattern) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().extension() != extension) continue;
    const std::string text = ReadFile(entry.path());
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
      names.insert((*it)[1].str());
  }
  return names;
}

// Classes given a QZ_PUBLISHED block in the sources below `folder`.
std::set<std::string> PublishedIn(const fs::path& folder) {
  static const std::regex published(R"(QZ_PUBLISHED\(\s*(T\w+)\s*,)");
  return NamesIn(folder, ".cpp", published);
}

TEST(Registration, EveryPublishedClassOfTheLibrariesIsRegistered) {
  std::set<std::string> published = PublishedIn(kSourceDir / "host");
  published.merge(PublishedIn(kSourceDir / "skin"));
  ASSERT_GT(published.size(), 20u) << "the sources were not found below " << kSourceDir;
  for (const std::string& name : published)
    EXPECT_NE(FindClassInfo(name), nullptr) << name << " is published but not registered";
}

TEST(Registration, EveryLibraryClassTheDemoFormsNameCanBeCreated) {
  static const std::regex object(R"((?:^|\n)\s*(?:object|inherited|inline)\s+\w+\s*:\s*(T\w+))");
  std::set<std::string> named = NamesIn(kSourceDir / "app", ".qfm", object);
  ASSERT_FALSE(named.empty()) << "no form resources below " << kSourceDir / "app";
  // The program's own forms are registered by the program, not the libraries.
  for (const std::string& own : PublishedIn(kSourceDir / "app")) named.erase(own);
  for (const std::string& name : named) {
    const TClassInfo* info = FindClassInfo(name);
    ASSERT_NE(info, nullptr) << name << " is named by a form but not registered";
    EXPECT_TRUE(info->CanCreate()) << name << " is named by a form but cannot be created";
  }
}

}  // namespace
}  // namespace qz
