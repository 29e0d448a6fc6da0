// The main window's behaviour over fakes of its platform and view, for the
// tests of both windows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_key_names.h"
#include "fakes/fake_main_view.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_text_encoding.h"

namespace wh {

using testing::FakeMainView;

class FakeStartupEntries : public StartupEntryStore {
 public:
  bool RunValueExists(const std::string& name) const override { return values.count(name) > 0; }
  void WriteRunValue(const std::string& name, const std::string& command) override {
    if (refuse) throw StartupEntryError("Failed to set data for '" + name + "'");
    values[name] = command;
  }
  void DeleteRunValue(const std::string& name) override { values.erase(name); }
  std::map<std::string, std::string> values;
  bool refuse = false;
};

class FakeShell : public ShellRequests {
 public:
  bool OpenExplorer(const std::string& path) override {
    requests.push_back("explorer " + path);
    return startSucceeds;
  }
  bool OpenAddress(const std::string& address) override {
    requests.push_back("address " + address);
    return startSucceeds;
  }
  void FindInFolder(const std::string& folder) override { requests.push_back("find " + folder); }
  bool OpenItem(const std::string& path) override {
    requests.push_back("open " + path);
    return startSucceeds;
  }
  std::vector<std::string> requests;
  bool startSucceeds = true;
};

class FakeFigures : public SystemFigures {
 public:
  MemoryFigures Memory() const override { return memory; }
  std::optional<std::uint64_t> ProcessCount() const override { return processes; }
  MemoryFigures memory{1000ull << 20, 500ull << 20, 2097152000, 524288000};
  std::optional<std::uint64_t> processes = 1500;
};

class Unit1Test : public ::testing::Test {
 protected:
  Unit1Test() {
    fs.AddFile("C:\\Menu\\Notepad.lnk");
    fs.AddFile("C:\\Menu\\Word Pad.lnk");
    folders.Set("Start Menu", false, "C:\\Menu");
  }
  void WriteIni(const std::string& text) { fs.AddFile("C:\\Tools\\wordhopper.ini", text); }
  TForm1& Create(std::string_view argument = "") {
    form = std::make_unique<TForm1>(view, Platform());
    form->FormCreate(argument);
    return *form;
  }
  MainPlatform Platform() {
    return {fs,        folders, numbers,    encoding, keyNames,
            collation, entries, shell,      figures,  "C:\\Tools\\wh.exe",
            "\\:",     ".exe",  settingsDir};
  }
  std::vector<std::string> EventsWithout(std::initializer_list<const char*> noise) const {
    std::vector<std::string> events;
    for (const std::string& e : view.events) {
      if (std::none_of(noise.begin(), noise.end(), [&](const char* n) { return e == n; })) {
        events.push_back(e);
      }
    }
    return events;
  }

  testing::FakeFileSystem fs{'\\'};
  testing::FakeShellFolders folders;
  testing::FakeNumberFormat numbers;
  testing::FakeTextEncoding encoding;
  testing::FakeKeyNames keyNames;
  testing::FakeCollation collation;
  FakeStartupEntries entries;
  FakeShell shell;
  FakeFigures figures;
  std::string settingsDir;  // empty: beside the executable
  FakeMainView view;
  std::unique_ptr<TForm1> form;
};

}  // namespace wh
