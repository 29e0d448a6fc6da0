// The word splitter, the number test, keywords, addresses and the ENTER
// classification on any text: no crash, and every keyword has two or more
// characters, no separator, no ASCII capital, and is no number.
#include <cstdio>
#include <cstdlib>

#include "index/classify.h"
#include "index/item_index.h"
#include "index/words.h"
#include "posix/posix_locale.h"

namespace {

// Says which property broke, then stops the run as a crash.
[[noreturn]] void Fail(int line) {
  std::fprintf(stderr, "property at line %d broken\n", line);
  std::abort();
}

// Directories exist where the text says so: every path ending in "d".
class Answering : public wh::FileSystem {
 public:
  char Separator() const override { return '\\'; }
  bool ListDirectory(const std::string&, const wh::DirectoryEntrySink&,
                     std::optional<wh::DirectoryId>*) const override {
    return false;
  }
  bool DirectoryExists(const std::string& path) const override {
    return !path.empty() && path.back() == 'd';
  }
  bool FileExists(const std::string&) const override { return false; }
  std::optional<std::string> ReadWholeFile(const std::string&, std::size_t) const override {
    return std::nullopt;
  }
  void WriteFileReplacing(const std::string&, std::string_view) const override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const wh::PosixCollation collation("C.UTF-8");
  const std::string text(reinterpret_cast<const char*>(data), size);

  // Words: non-empty, free of separators, and all of the text's other bytes.
  std::string rest = text, word, joined;
  while (wh::NextWord(rest, word)) {
    if (word.empty()) Fail(__LINE__);
    for (char c : word) {
      if (wh::IsWordSeparator(c)) Fail(__LINE__);
    }
    joined += word;
  }
  if (!rest.empty() || !word.empty()) Fail(__LINE__);
  std::string expected;
  for (char c : text) {
    if (!wh::IsWordSeparator(c)) expected.push_back(c);
  }
  if (joined != expected) Fail(__LINE__);

  wh::KeywordList keywords(collation);
  wh::ExtractKeywords(keywords, text);
  for (const std::string& k : keywords.Words()) {
    if (k.size() < 2 || wh::IsNumber(k)) Fail(__LINE__);
    for (char c : k) {
      if (wh::IsWordSeparator(c) || (c >= 'A' && c <= 'Z')) Fail(__LINE__);
    }
  }
  (void)wh::IsURL(text);
  (void)wh::ClassifyEnter(text, Answering());
  return 0;
}
