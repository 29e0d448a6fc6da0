// Named instance records shared by "processes" within one test, and the
// windows a second start reaches.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/instance_record.h"

namespace wh::testing {

// Named records shared by "processes" within the test; a record lives while
// any mapping of it is open, as the system's named mappings do.
class FakeMappings : public InstanceMappings {
 public:
  struct Block {
    InstanceRecord record{};
    int handles = 0;
  };

  class Mapping : public MappedInstanceRecord {
   public:
    Mapping(FakeMappings& owner, std::string name) : owner_(owner), name_(std::move(name)) {
      ++owner_.blocks[name_].handles;
    }
    ~Mapping() override {
      if (--owner_.blocks[name_].handles == 0) owner_.blocks.erase(name_);
    }
    InstanceRecord& Record() override { return owner_.blocks[name_].record; }

   private:
    FakeMappings& owner_;
    std::string name_;
  };

  Created Create(const std::string& name) override {
    createdNames.push_back(name);
    if (failCreate) throw SystemError(5, "Access is denied.");
    const bool existed = blocks.count(name) > 0;
    Created created{std::make_unique<Mapping>(*this, name), existed};
    if (afterCreate) afterCreate();
    return created;
  }
  std::unique_ptr<MappedInstanceRecord> Open(const std::string& name) override {
    if (failOpen || blocks.count(name) == 0) return nullptr;
    return std::make_unique<Mapping>(*this, name);
  }

  InstanceRecord* Find(const std::string& name) {
    auto found = blocks.find(name);
    return found == blocks.end() ? nullptr : &found->second.record;
  }

  std::map<std::string, Block> blocks;
  std::vector<std::string> createdNames;
  bool failCreate = false;
  bool failOpen = false;
  // Runs once a record is created or found, as another process may between
  // two calls.
  std::function<void()> afterCreate;
};

class FakeWindows : public InstanceWindows {
 public:
  bool IsMinimized(std::uint32_t window) const override { return minimized.count(window) > 0; }
  void Restore(std::uint32_t window) override {
    calls.push_back("restore " + std::to_string(window));
  }
  void BringToFront(std::uint32_t window) override {
    calls.push_back("front " + std::to_string(window));
  }
  std::map<std::uint32_t, bool> minimized;
  std::vector<std::string> calls;
};

}  // namespace wh::testing
