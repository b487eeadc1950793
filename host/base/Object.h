// Root of the class hierarchy: every event sender is a TObject.
#pragma once

#include <string>

namespace qz {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  // The class name as form resources write it ("TForm1", "TqzSkinButton").
  virtual const char* ClassName() const { return "TObject"; }
};

// Declares ClassName() and `inherited` in a class body:
//   class TButton : public TWinControl { QZ_CLASS(TButton, TWinControl) ... };
#define QZ_CLASS(Self, Parent)                                        \
 public:                                                              \
  using inherited = Parent;                                           \
  const char* ClassName() const override { return #Self; }            \
                                                                      \
 private:

// Runtime type test: Is<TForm>(obj) and As<TForm>(obj) (nullptr when not).
template <class T, class U>
bool Is(const U* p) {
  return dynamic_cast<const T*>(p) != nullptr;
}
template <class T, class U>
T* As(U* p) {
  return dynamic_cast<T*>(p);
}

}  // namespace qz
