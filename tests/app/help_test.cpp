// The help message as a message box shows it, and the version text.
#include "app/help.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace wh {
namespace {

// Splits at CR LF; a lone CR or LF stays inside its line, so the tests see it.
std::vector<std::string> SplitAtCrLf(const std::string& text, std::string* rest) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  *rest = text.substr(start);
  return lines;
}

TEST(HelpTextTest, TwentyLinesEachEndedByCrLfWithBlankLinesBetweenParagraphs) {
  const std::string text = HelpText();
  std::string rest;
  const std::vector<std::string> lines = SplitAtCrLf(text, &rest);

  EXPECT_EQ(rest, "") << "the last line must be followed by CR LF too";
  ASSERT_EQ(lines.size(), 20u);

  const std::set<std::size_t> blank = {2, 7, 9, 13, 16, 19};
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const std::string& line = lines[number - 1];
    SCOPED_TRACE("line " + std::to_string(number));
    EXPECT_EQ(line.empty(), blank.count(number) == 1) << line;
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break";
  }
}

TEST(HelpTextTest, LinesReadAsWritten) {
  const std::string text = HelpText();
  std::string rest;
  const std::vector<std::string> lines = SplitAtCrLf(text, &rest);
  ASSERT_EQ(lines.size(), 20u);

  struct Line {
    std::size_t number;
    std::string text;
  };
  const std::vector<Line> exact = {
      {1, "Quick intro:"},
      {3, "Wordhopper is a simple launcher for items in your Start Menu, Favorites, etc."},
      {4,
       "I wrote the program when I started to develop RSI (Computer Related Repetitive Strain "
       "Injury)."},
      {8, "Quick help:"},
      {12,
       "Press ESCAPE to cancel and clear your selection. Press ESCAPE again to hide "
       "Wordhopper."},
      {14,
       R"(Typing a valid directory or network path like "c:\temp" or "\\server" will launch explorer.)"},
      {17, "The Hot-key (default F4) will show Wordhopper from the system tray."},
      {18, "Use the right mouse button for options like settings, etc."},
  };
  for (const Line& line : exact) {
    EXPECT_EQ(lines[line.number - 1], line.text) << "line " << line.number;
  }
}

TEST(HelpTextTest, AddressLinesQuoteAWebAddressAndEndInAMailAddress) {
  const std::string text = HelpText();
  std::string rest;
  const std::vector<std::string> lines = SplitAtCrLf(text, &rest);
  ASSERT_EQ(lines.size(), 20u);

  const std::string prefix = "Typing a valid url like \"";
  const std::string suffix = "\" will launch the default browser.";
  const std::string& url = lines[14];
  ASSERT_TRUE(url.starts_with(prefix)) << url;
  ASSERT_TRUE(url.ends_with(suffix)) << url;
  ASSERT_GT(url.size(), prefix.size() + suffix.size());
  const std::string address = url.substr(prefix.size(), url.size() - prefix.size() - suffix.size());
  EXPECT_TRUE(address.starts_with("http://") || address.starts_with("https://")) << address;
  EXPECT_EQ(address.find_first_of("\" "), std::string::npos) << address;

  const std::string contact = "Suggestions, comments and donations: ";
  const std::string& mail = lines[19];
  ASSERT_TRUE(mail.starts_with(contact)) << mail;
  const std::string mailAddress = mail.substr(contact.size());
  const std::size_t at = mailAddress.find('@');
  ASSERT_NE(at, std::string::npos) << mailAddress;
  EXPECT_GT(at, 0u) << mailAddress;
  EXPECT_NE(mailAddress.find('.', at), std::string::npos) << mailAddress;
  EXPECT_EQ(mailAddress.find(' '), std::string::npos) << mailAddress;
}

// Answers with one version for one path and zeros for every other path, as a
// file without version information gives.
class FakeVersionInfo : public VersionInfo {
 public:
  FakeVersionInfo(std::string path, FileVersion version)
      : path_(std::move(path)), version_(version) {}
  FileVersion GetFileVersion(const std::string& path) const override {
    return path == path_ ? version_ : FileVersion{};
  }

 private:
  std::string path_;
  FileVersion version_;
};

TEST(VersionTextTest, FormatsEachNumberInDecimalWithoutLeadingZeros) {
  const std::string path = R"(C:\Program Files\Wordhopper\wordhopper.exe)";
  struct Case {
    FileVersion version;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{1, 5, 0, 9}, "1.5.0 (Build 9)"},
      {{2, 10, 3, 1205}, "2.10.3 (Build 1205)"},
      {{0, 0, 0, 0}, "0.0.0 (Build 0)"},
      {{65535, 65535, 65535, 65535}, "65535.65535.65535 (Build 65535)"},
      {{10, 0, 100, 1000}, "10.0.100 (Build 1000)"},
      {{4, 3, 2, 1}, "4.3.2 (Build 1)"},  // the order of the four numbers
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(GetVersionText(FakeVersionInfo(path, c.version), path), c.text);
  }
}

TEST(VersionTextTest, AsksAboutTheGivenPath) {
  const FakeVersionInfo info(R"(C:\a\wordhopper.exe)", {2, 10, 3, 1205});
  EXPECT_EQ(GetVersionText(info, R"(C:\a\wordhopper.exe)"), "2.10.3 (Build 1205)");
  EXPECT_EQ(GetVersionText(info, R"(C:\b\notes.txt)"), "0.0.0 (Build 0)");
}

TEST(HelpTextTest, EachDesktopGetsItsOwnWordsInTheSameShape) {
  std::string rest;
  const std::vector<std::string> windows = SplitAtCrLf(HelpText(Wording::Windows), &rest);
  const std::vector<std::string> onLinux = SplitAtCrLf(HelpText(Wording::Linux), &rest);
  EXPECT_EQ(HelpText(), HelpText(Wording::Windows));
  ASSERT_EQ(onLinux.size(), windows.size());
  std::vector<std::size_t> differing;
  for (std::size_t i = 0; i < onLinux.size(); ++i) {
    if (onLinux[i] != windows[i]) differing.push_back(i + 1);
    EXPECT_EQ(onLinux[i].find("explorer"), std::string::npos) << onLinux[i];
    EXPECT_EQ(onLinux[i].find("c:\\"), std::string::npos) << onLinux[i];
    EXPECT_EQ(onLinux[i].find("Windows"), std::string::npos) << onLinux[i];
  }
  EXPECT_EQ(differing, (std::vector<std::size_t>{3, 5, 14}));
  EXPECT_NE(onLinux[13].find("\"/tmp\""), std::string::npos);
  EXPECT_NE(onLinux[13].find("file manager"), std::string::npos);
}

}  // namespace
}  // namespace wh
