// Tables that map the kind words of a description text ("button", "caption")
// to the description classes, both ways.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace qz {

template <class Base>
struct TqzKind {
  const char* word;
  const char* className;
  std::unique_ptr<Base> (*make)(std::string idName);
};

template <class Base, class T>
std::unique_ptr<Base> MakeKind(std::string idName) {
  return std::make_unique<T>(std::move(idName));
}

// A new description of the class the word names; null for an unknown word.
template <class Base, size_t N>
std::unique_ptr<Base> CreateByKindWord(const TqzKind<Base> (&table)[N], std::string_view word,
                                       std::string idName) {
  for (const auto& k : table)
    if (word == k.word) return k.make(std::move(idName));
  return nullptr;
}

// The word of a description's class; empty for a class the table lacks.
template <class Base, size_t N>
const char* KindWordOf(const TqzKind<Base> (&table)[N], const Base& data) {
  const std::string_view cls = data.ClassName();
  for (const auto& k : table)
    if (cls == k.className) return k.word;
  return "";
}

}  // namespace qz
