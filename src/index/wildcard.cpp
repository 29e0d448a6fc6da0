#include "index/wildcard.h"

#include "index/text.h"

namespace wh {

bool GlobMatch(std::string_view text, std::string_view pattern) {
  // Greedy with one resumption point: on a mismatch only the last star needs
  // to take one more character, since every earlier star's choice can be kept.
  std::size_t t = 0, p = 0;
  std::size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size()) {
      const char c = pattern[p];
      if (c == '*') {
        starP = p++;
        starT = t;
        continue;
      }
      if (c == '?') {
        t += CharLength(text, t);
        ++p;
        continue;
      }
      if (c == text[t]) {
        ++t;
        ++p;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP + 1;
    starT += CharLength(text, starT);
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
