// Any bytes as a settings file, and any key and value written into it: no
// crash; what is written reads back, or the write is refused and changes
// nothing; no other key appears, vanishes or changes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "base/text.h"
#include "posix/posix_locale.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"

namespace {

// Says which property broke, then stops the run as a crash.
[[noreturn]] void Fail(int line) {
  std::fprintf(stderr, "property at line %d broken\n", line);
  std::abort();
}

using wh::IniDocument;

// A file system that holds one file, for ReadSettings.
class OneFile : public wh::FileSystem {
 public:
  explicit OneFile(std::string contents) : contents_(std::move(contents)) {}
  char Separator() const override { return '/'; }
  bool ListDirectory(const std::string&, const wh::DirectoryEntrySink&,
                     std::optional<wh::DirectoryId>*) const override {
    return false;
  }
  bool DirectoryExists(const std::string&) const override { return false; }
  bool FileExists(const std::string&) const override { return true; }
  std::optional<std::string> ReadWholeFile(const std::string&,
                                           std::size_t maxBytes) const override {
    if (contents_.size() > maxBytes) return std::nullopt;
    return contents_;
  }
  void WriteFileReplacing(const std::string&, std::string_view) const override {}

 private:
  std::string contents_;
};

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Every (section, key) that a line of the text could stand for.
std::set<std::pair<std::string, std::string>> Candidates(const std::string& text) {
  std::set<std::pair<std::string, std::string>> found;
  std::string section;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string_view line = Trim(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.starts_with('[')) {
      std::string_view name = line.substr(1);
      section = std::string(Trim(name.substr(0, name.find(']'))));
    } else if (auto eq = line.find('='); eq != std::string_view::npos) {
      found.emplace(section, std::string(Trim(line.substr(0, eq))));
    }
  }
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const wh::PosixTextEncoding encoding;
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string value = input.ConsumeRandomLengthString(3000);
  const std::string file = input.ConsumeRemainingBytesAsString();

  // Reading any file gives a record, never a crash.
  (void)wh::ReadSettings(OneFile(file), encoding, "/x/wordhopper.ini");

  const IniDocument before = IniDocument::Parse(file, encoding);
  IniDocument after = before;
  const bool written = after.Write(section, key, value);
  if (!written) {
    if (after.Text() != before.Text()) Fail(__LINE__);  // a refusal changes nothing
    return 0;
  }
  const auto read = after.Read(section, key);
  if (!read || *read != value) Fail(__LINE__);  // what was written reads back
  // ... also once the file has been stored and read again.
  const IniDocument reread = IniDocument::Parse(after.Bytes(), encoding);
  if (reread.Read(section, key) != read) Fail(__LINE__);

  auto candidates = Candidates(before.Text());
  for (const auto& c : Candidates(after.Text())) candidates.insert(c);
  for (const auto& [s, k] : candidates) {
    if (wh::AsciiEqualIgnoringCase(Trim(s), Trim(section)) &&
        wh::AsciiEqualIgnoringCase(Trim(k), Trim(key))) {
      continue;
    }
    if (before.Read(s, k) != after.Read(s, k)) Fail(__LINE__);  // no other key changed
  }
  return 0;
}
