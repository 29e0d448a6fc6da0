// A keyboard layout for tests: names for the virtual keys it is given, none for
// the others.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/key_names.h"

namespace wh::testing {

class FakeKeyNames : public KeyNames {
 public:
  FakeKeyNames() = default;
  explicit FakeKeyNames(std::map<int, std::string> names) : names_(std::move(names)) {}

  std::string LayoutKeyName(int virtualKey) const override {
    auto found = names_.find(virtualKey);
    return found == names_.end() ? std::string() : found->second;
  }

 private:
  std::map<int, std::string> names_;
};

}  // namespace wh::testing
