// Objects with published properties that can be assigned from one another
// and streamed in form resources (fonts, string lists, collections,
// components).
#pragma once

#include <string>

#include "host/base/Exception.h"
#include "host/base/Object.h"

namespace qz {

class TPersistent : public TObject {
  QZ_CLASS(TPersistent, TObject)
 public:
  // Copies source into this object. The default asks source to AssignTo this;
  // when neither side knows the other, EConvertError-like EInvalidCast is raised:
  // "Cannot assign a <source class> to a <this class>".
  virtual void Assign(const TPersistent& source) { source.AssignTo(*this); }

 protected:
  virtual void AssignTo(TPersistent& dest) const {
    throw EInvalidCast(std::string("Cannot assign a ") + ClassName() + " to a " + dest.ClassName());
  }
  friend class TPersistentAccess;
};

}  // namespace qz
