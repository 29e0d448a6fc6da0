// The main window's behaviour over fakes of its platform and view, for the
// tests of both windows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "fakes/fake_main_platform.h"
#include "fakes/fake_main_view.h"

namespace wh {

using testing::FakeMainView;

class Unit1Test : public ::testing::Test, protected testing::MainPlatformFakes {
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
  std::unique_ptr<TForm1> form;
};

}  // namespace wh
