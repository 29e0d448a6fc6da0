// A sorted combo box filled in one go holds what adding each entry gives.
#include "win32/sorted_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "win32/utf16.h"

namespace wh {
namespace {

std::vector<std::string> EntriesOf(HWND box) {
  std::vector<std::string> entries;
  const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)), L'\0');
    SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    entries.push_back(WideToUtf8(text));
  }
  return entries;
}

TEST(SortedBoxTest, FillingInOneGoGivesWhatAddingEachEntryGives) {
  // The boxes go with their parent, a window that is never shown.
  struct Parent {
    HWND hwnd;
    ~Parent() { DestroyWindow(hwnd); }
  } parent{CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 200, 200, HWND_MESSAGE, nullptr, nullptr,
                           nullptr)};
  ASSERT_NE(parent.hwnd, nullptr);
  auto makeBox = [&] {
    return CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_SIMPLE | CBS_SORT, 0, 0, 100, 200,
                           parent.hwnd, nullptr, nullptr, nullptr);
  };
  HWND filled = makeBox(), added = makeBox();
  ASSERT_NE(filled, nullptr) << "Wine makes windows only with a display (scripts/with-display)";

  std::vector<std::string> shuffled;
  std::mt19937 random(11);
  const char* syllables[] = {"an", "Be", "\xC3\xA9t", "lo", "MAR", "zu", "\xC3\xBC", "-", "o'"};
  for (int i = 0; i < 600; ++i) {
    std::string word;
    for (int n = 1 + random() % 3; n > 0; --n) word += syllables[random() % std::size(syllables)];
    shuffled.push_back(word);
  }
  std::vector<std::string> ordered = shuffled;
  std::sort(ordered.begin(), ordered.end());  // bytewise: mostly, not wholly, the box's order
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"notepad", "paint", "wordpad"},
      {"wordpad", "paint", "notepad"},
      {"apple", "Apple", "APPLE", "banana", "apple"},
      shuffled,
      ordered,
  };
  for (const std::vector<std::string>& entries : cases) {
    SCOPED_TRACE(entries.size());
    FillSortedBox(filled, entries);
    SendMessageW(added, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries) {
      SendMessageW(added, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(entry).c_str()));
    }
    EXPECT_EQ(EntriesOf(filled), EntriesOf(added));
  }
}

}  // namespace
}  // namespace wh
