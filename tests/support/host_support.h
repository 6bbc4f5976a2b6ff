#pragma once
// Checks on objects of the host contract, for tests that need nothing but the contract.

#include <initializer_list>
#include <vector>

#include <rescalo/host/error.h>
#include <rescalo/host/object.h>

namespace rescalo::testing_support {

// The classic error number the call fails with; 0 when it succeeds.
inline int errorOf(auto&& f) {
  try {
    f();
  } catch (const host::HostError& e) {
    return e.number();
  }
  return 0;
}

// Numeric members read by name, to compare several at once.
inline std::vector<double> numbers(host::Object& o, std::initializer_list<const char*> names) {
  std::vector<double> out;
  for (const char* name : names) out.push_back(o.get(name).toDouble());
  return out;
}

}  // namespace rescalo::testing_support
