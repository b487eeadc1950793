// Every program links the registering objects of the libraries whole, so a
// class is there for the form reader even when no code names it. These tests
// run in a program that names none of them: a class missing here would be
// missing from any program whose forms name it.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <set>
#include <string>
#include <string_view>

#include "host/components/Properties.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = QZ_SOURCE_DIR;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using TNameFinder = void (*)(const std::string& text, std::set<std::string>& names);

// Every class name `find` finds in the files below `folder` whose names end
// in `extension`.
std::set<std::string> NamesIn(const fs::path& folder, const std::string& extension,
                              TNameFinder find) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == extension)
      find(ReadFile(entry.path()), names);
  return names;
}

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The identifier at `at` after any blanks; empty when there is none.
std::string IdentifierAt(const std::string& text, size_t at) {
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  size_t end = at;
  while (end < text.size() && IsNameChar(text[end])) ++end;
  return text.substr(at, end - at);
}

// The classes of the QZ_PUBLISHED(Class, Parent) blocks of a source.
void FindPublished(const std::string& text, std::set<std::string>& names) {
  static constexpr std::string_view kMacro = "QZ_PUBLISHED(";
  for (size_t at = text.find(kMacro); at != std::string::npos; at = text.find(kMacro, at + 1)) {
    if (at > 0 && IsNameChar(text[at - 1])) continue;
    const std::string name = IdentifierAt(text, at + kMacro.size());
    if (name.size() > 1 && name[0] == 'T') names.insert(name);
  }
}

// The classes of the "object Name: TClass" lines of a form resource.
void FindFormClasses(const std::string& text, std::set<std::string>& names) {
  std::istringstream lines(text);
  std::string keyword, instance, className;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    if (!(words >> keyword >> instance >> className)) continue;
    if (keyword != "object" && keyword != "inherited" && keyword != "inline") continue;
    if (instance.ends_with(':') && className.starts_with('T')) names.insert(className);
  }
}

// Classes given a QZ_PUBLISHED block in the sources below `folder`.
std::set<std::string> PublishedIn(const fs::path& folder) {
  return NamesIn(folder, ".cpp", FindPublished);
}

TEST(Registration, EveryPublishedClassOfTheLibrariesIsRegistered) {
  std::set<std::string> published = PublishedIn(kSourceDir / "host");
  published.merge(PublishedIn(kSourceDir / "skin"));
  ASSERT_GT(published.size(), 20u) << "the sources were not found below " << kSourceDir;
  for (const std::string& name : published)
    EXPECT_NE(FindClassInfo(name), nullptr) << name << " is published but not registered";
}

TEST(Registration, EveryLibraryClassTheDemoFormsNameCanBeCreated) {
  std::set<std::string> named = NamesIn(kSourceDir / "app", ".qfm", FindFormClasses);
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
