#include "app/completion.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace wh {
namespace {

TEST(CompletionTest, TypedCharactersCompleteFromTheFirstKeywordInListOrder) {
  const std::vector<std::string> keywords = {"notepad", "notes", "été", "wordpad"};
  testing::FakeCollation collation;
  const struct {
    const char* label;
    EditState before;
    const char* typed;
    bool handled;
    EditState after;
    int entry;
  } cases[] = {
      {"first letter", {"", 0, 0}, "n", true, {"notepad", 1, 7}, 0},
      {"typing on over the completion", {"notepad", 1, 7}, "o", true, {"notepad", 2, 7}, 0},
      {"a better keyword", {"notepad", 4, 7}, "s", true, {"notes", 5, 5}, 1},
      {"typed case kept", {"", 0, 0}, "N", true, {"Notepad", 1, 7}, 0},
      {"no keyword: ordinary typing", {"notepad", 1, 7}, "z", false, {}, -1},
      {"caret inside: the whole text counts", {"wor", 1, 1}, "d", true, {"wordpad", 4, 7}, 3},
      {"enter never completes", {"notepad", 7, 7}, "\r", false, {}, -1},
      {"escape untouched", {"no", 2, 2}, "\x1b", false, {}, -1},
      {"tab untouched", {"no", 2, 2}, "\t", false, {}, -1},
      {"backspace removes a selected rest", {"notepad", 1, 7}, "\b", true, {"n", 1, 1}, -1},
      {"backspace removes one character", {"abc", 3, 3}, "\b", true, {"ab", 2, 2}, -1},
      {"backspace at the caret", {"abc", 1, 1}, "\b", true, {"bc", 0, 0}, -1},
      {"backspace a whole character", {"xé", 3, 3}, "\b", true, {"x", 1, 1}, -1},
      {"backspace on nothing", {"", 0, 0}, "\b", true, {"", 0, 0}, -1},
      {"letters above ASCII by the collation", {"", 0, 0}, "É", true, {"Été", 2, 5}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const CompletionStep step = CompleteKeyword(c.before, c.typed, keywords, collation);
    EXPECT_EQ(step.handled, c.handled);
    if (!c.handled) continue;
    EXPECT_EQ(step.field.text, c.after.text);
    EXPECT_EQ(step.field.selStart, c.after.selStart);
    EXPECT_EQ(step.field.selEnd, c.after.selEnd);
    EXPECT_EQ(step.entry, c.entry);
  }
}

}  // namespace
}  // namespace wh
