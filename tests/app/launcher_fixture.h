// The main window's behaviour over fakes of its platform and view, for the
// tests of both windows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/launcher.h"
#include "fakes/fake_main_platform.h"
#include "fakes/fake_main_view.h"

namespace wh {

using testing::FakeMainView;

class LauncherTest : public ::testing::Test, protected testing::MainPlatformFakes {
 protected:
  LauncherTest() {
    fs.AddFile("C:\\Menu\\Notepad.lnk");
    fs.AddFile("C:\\Menu\\Word Pad.lnk");
    folders.Set(KnownFolder::StartMenu, "C:\\Menu");
  }
  void WriteIni(const std::string& text) { fs.AddFile("C:\\Tools\\wordhopper.ini", text); }
  Launcher& Create(std::string_view argument = "") {
    launcher = std::make_unique<Launcher>(view, Platform());
    launcher->Start(argument);
    return *launcher;
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

  FakeMainView view;
  std::unique_ptr<Launcher> launcher;
};

}  // namespace wh
