#include "app/completion.h"

#include "base/text.h"

namespace wh {
namespace {

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The byte length of the first `characters` characters of `text`, or npos
// when it is shorter.
std::size_t PrefixBytes(std::string_view text, std::size_t characters) {
  std::size_t bytes = 0;
  for (; characters > 0; --characters) {
    if (bytes >= text.size()) return std::string_view::npos;
    bytes += CharLength(text, bytes);
  }
  return bytes;
}

// Where the entry's rest after `candidate` starts, or npos when the entry
// doesn't begin with it.
std::size_t MatchPrefix(std::string_view entry, std::string_view candidate, bool asciiCandidate,
                        std::size_t candidateCharacters, const Collation& collation) {
  if (asciiCandidate) {
    if (entry.size() < candidate.size()) return std::string_view::npos;
    return AsciiEqualIgnoringCase(entry.substr(0, candidate.size()), candidate)
               ? candidate.size()
               : std::string_view::npos;
  }
  const std::size_t bytes = PrefixBytes(entry, candidateCharacters);
  if (bytes == std::string_view::npos) return bytes;
  return collation.Compare(entry.substr(0, bytes), candidate) == 0 ? bytes : std::string_view::npos;
}

}  // namespace

CompletionStep CompleteKeyword(const EditState& field, std::string_view typed,
                               const std::vector<std::string>& entries,
                               const Collation& collation) {
  CompletionStep step;
  if (typed == "\x1b" || typed == "\t") return step;

  const bool selected = field.selEnd > field.selStart;
  if (typed == "\b") {
    step.handled = true;
    step.field = field;
    std::string& text = step.field.text;
    if (selected) {
      text.erase(field.selStart, field.selEnd - field.selStart);
      step.field.selStart = step.field.selEnd = field.selStart;
    } else if (field.selStart > 0) {
      // Back to the start of the character before the caret.
      std::size_t start = field.selStart - 1;
      while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
      text.erase(start, field.selStart - start);
      step.field.selStart = step.field.selEnd = start;
    }
    return step;
  }

  const std::string candidate =
      (selected ? field.text.substr(0, field.selStart) : field.text) + std::string(typed);
  const bool ascii = IsAscii(candidate);
  const std::size_t characters = ascii ? candidate.size() : CharCount(candidate);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t rest = MatchPrefix(entries[i], candidate, ascii, characters, collation);
    if (rest == std::string_view::npos) continue;
    step.handled = true;
    step.entry = static_cast<int>(i);
    step.field.text = candidate + entries[i].substr(rest);
    step.field.selStart = candidate.size();
    step.field.selEnd = step.field.text.size();
    return step;
  }
  return step;
}

}  // namespace wh
