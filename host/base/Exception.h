// Error classes. Every error carries a message that says what went wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace qz {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A stream or resource could not be read (truncated, malformed).
class EReadError : public Exception { using Exception::Exception; };
class EWriteError : public Exception { using Exception::Exception; };
// A file format reader refused its input.
class EInvalidGraphic : public Exception { using Exception::Exception; };
// A property or component reference in a form resource is wrong.
class EPropertyError : public Exception { using Exception::Exception; };
class EComponentError : public Exception { using Exception::Exception; };
class EClassNotFound : public Exception { using Exception::Exception; };
// The host's invalid type conversion (an owner that is not a form, ...).
class EInvalidCast : public Exception { using Exception::Exception; };
class EOutOfResources : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EFOpenError : public Exception { using Exception::Exception; };

}  // namespace qz
