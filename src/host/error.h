#pragma once
// The runtime's error object: what a trapped failure carries (number, description, source).

#include <stdexcept>
#include <string>
#include <string_view>

namespace rescalo::host {

// Classic error numbers used across the system.
enum ErrorNumber : int {
  kInvalidProcedureCall = 5,
  kOverflow = 6,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  kObjectNotSet = 91,
  kInvalidUseOfNull = 94,
  kInvalidPropertyValue = 380,
  kInvalidArrayIndex = 381,
  kPropertyReadOnly = 383,
  kCantMoveMinMax = 384,
  kObjectRequired = 424,
  kNoSuchMember = 438,
  kArgumentNotOptional = 449,
  kWrongArgumentCount = 450,
  kDuplicateKey = 457,
  kIndexOutOfBounds = 35600,
  kElementNotFound = 35601,
  kKeyNotUnique = 35602,
  kImageListBound = 35617,
};

// The standard text of a classic error number ("Application-defined or object-defined error"
// for numbers it does not know).
std::string_view standardDescription(int number);

class HostError : public std::runtime_error {
 public:
  HostError(int number, std::string description, std::string source = {});
  explicit HostError(int number) : HostError(number, std::string(standardDescription(number))) {}

  int number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

 private:
  int number_;
  std::string description_;
  std::string source_;
};

[[noreturn]] void raise(int number);
[[noreturn]] void raise(int number, std::string description);

}  // namespace rescalo::host
