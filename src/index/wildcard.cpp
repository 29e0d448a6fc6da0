#include "index/wildcard.h"

#include <cstring>

#include "base/text.h"

namespace wh {

namespace {

// Where a star can next hand over to the plain character that follows it: a
// byte that starts a character can be looked for directly.
std::size_t NextCandidate(std::string_view text, std::size_t from, std::string_view pattern,
                          std::size_t afterStar) {
  const auto next = static_cast<unsigned char>(pattern[afterStar]);
  if (next == '*' || next == '?' || (next >= 0x80 && next < 0xC0)) return from;
  const void* hit = std::memchr(text.data() + from, next, text.size() - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
             : std::string_view::npos;
}

}  // namespace

bool GlobMatch(std::string_view text, std::string_view pattern) {
  // Greedy with one resumption point: on a mismatch only the last star needs
  // to take one more character, since every earlier star's choice can be kept.
  std::size_t t = 0, p = 0;
  std::size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size()) {
      const char c = pattern[p];
      if (c == '*') {
        if (p + 1 == pattern.size()) return true;  // a final star takes the rest
        starP = p++;
        starT = t = NextCandidate(text, t, pattern, p);
        if (t == std::string_view::npos) return false;
        continue;
      }
      if (c == '?') {
        t += CharLength(text, t);
        ++p;
        continue;
      }
      // Characters, not bytes, must be equal: in text that is not well-formed
      // UTF-8 a byte may stand inside a character of the other side.
      const std::size_t n = CharLength(pattern, p);
      if (CharLength(text, t) == n && text.compare(t, n, pattern, p, n) == 0) {
        t += n;
        p += n;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP + 1;
    starT = NextCandidate(text, starT + CharLength(text, starT), pattern, p);
    if (starT == std::string_view::npos) return false;
    t = starT;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string NormalizeWildcardPattern(std::string_view pattern) {
  std::string out;
  out.reserve(pattern.size() + 1);
  std::size_t lastRun = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '*') {
      ++lastRun;
      if (lastRun == 1) out.push_back('*');
    } else {
      lastRun = 0;
      out.push_back(pattern[i]);
    }
  }
  if (lastRun >= 2) {
    out.back() = '?';
    out.push_back('*');
  }
  return out;
}

bool WildcardMatch(std::string_view text, std::string_view pattern) {
  return GlobMatch(text, NormalizeWildcardPattern(pattern));
}

}  // namespace wh
