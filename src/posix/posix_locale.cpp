#include "posix/posix_locale.h"

#include <langinfo.h>
#include <wchar.h>
#include <wctype.h>

#include <cstring>

#include "base/text.h"
#include "base/wtf8.h"

namespace wh {

std::u32string DecodeUtf8Lossless(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharLength(text, i);
    const auto lead = static_cast<unsigned char>(text[i]);
    if (n == 1 && lead >= 0x80) {
      out.push_back(0xDC00 + lead);
    } else if (n == 1) {
      out.push_back(lead);
    } else {
      char32_t c = lead & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
      for (std::size_t k = 1; k < n; ++k) c = (c << 6) | (text[i + k] & 0x3F);
      out.push_back(c);
    }
    i += n;
  }
  return out;
}

namespace {

bool IsUtf8Locale(locale_t locale) {
  const char* codeset = nl_langinfo_l(CODESET, locale);
  return codeset && (strcmp(codeset, "UTF-8") == 0 || strcmp(codeset, "utf8") == 0);
}

}  // namespace

PosixCollation::PosixCollation(const char* localeName) {
  collate_ = newlocale(LC_ALL_MASK, localeName, nullptr);
  if (!collate_) collate_ = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
  if (collate_ && IsUtf8Locale(collate_)) {
    ctype_ = duplocale(collate_);
  } else {
    ctype_ = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
  }
  const char* name = collate_ ? nl_langinfo_l(_NL_LOCALE_NAME(LC_COLLATE), collate_) : "C";
  codePointOrder_ = !collate_ || !name || strcmp(name, "C") == 0 || strcmp(name, "POSIX") == 0 ||
                    strncmp(name, "C.", 2) == 0 || !IsUtf8Locale(collate_);
}

PosixCollation::~PosixCollation() {
  if (ctype_) freelocale(ctype_);
  if (collate_) freelocale(collate_);
}

std::wstring PosixCollation::Fold(std::string_view text) const {
  const std::u32string decoded = DecodeUtf8Lossless(text);
  std::wstring folded;
  folded.reserve(decoded.size());
  for (char32_t c : decoded) {
    wint_t w = static_cast<wint_t>(c);
    if (c >= 'A' && c <= 'Z') {
      w = c + 32;
    } else if (c >= 0x80 && ctype_) {
      w = towlower_l(w, ctype_);
    }
    folded.push_back(static_cast<wchar_t>(w));
  }
  return folded;
}

int PosixCollation::Compare(std::string_view a, std::string_view b) const {
  const std::wstring fa = Fold(a), fb = Fold(b);
  if (codePointOrder_) return fa.compare(fb) < 0 ? -1 : (fa == fb ? 0 : 1);
  const int r = wcscoll_l(fa.c_str(), fb.c_str(), collate_);
  if (r != 0) return r;
  // Texts the locale can't tell apart still differ: keep them apart.
  return fa.compare(fb);
}

std::string PosixCollation::SortKey(std::string_view text) const {
  const std::wstring folded = Fold(text);
  std::string key;
  if (!codePointOrder_) {
    const std::size_t length = wcsxfrm_l(nullptr, folded.c_str(), 0, collate_);
    std::wstring transformed(length + 1, L'\0');
    wcsxfrm_l(transformed.data(), folded.c_str(), length + 1, collate_);
    transformed.resize(length);
    // Big-endian, so that byte order is the order of the wide characters.
    for (wchar_t w : transformed) {
      const auto u = static_cast<std::uint32_t>(w);
      for (int shift = 24; shift >= 0; shift -= 8) key.push_back(static_cast<char>(u >> shift));
    }
    key.push_back('\0');
    key.push_back('\0');
    key.push_back('\0');
    key.push_back('\0');
  }
  // The folded text last, as the tie-breaker Compare uses too. UTF-8 byte
  // order is code-point order.
  for (wchar_t w : folded) AppendUtf8(key, static_cast<char32_t>(w));
  return key;
}

std::string PosixNumberFormat::ThousandsSeparator() const {
  locale_t locale = newlocale(LC_NUMERIC_MASK, "", nullptr);
  std::string separator = ",";
  if (locale) {
    const char* s = nl_langinfo_l(THOUSEP, locale);
    // The C locale has none; the counts still read better grouped.
    if (s && *s) separator = s;
    freelocale(locale);
  }
  return separator;
}

std::string PosixTextEncoding::SystemCodePageToUtf8(std::string_view bytes) const {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace wh
