// The user's locale on POSIX systems: case-blind collation, number format and
// the legacy encoding of settings files.
#pragma once

#include <locale.h>

#include "platform/collation.h"
#include "platform/number_format.h"
#include "platform/text_encoding.h"

namespace wh {

// Folds case through the whole of Unicode, then collates by the user's
// LC_COLLATE; in the C and POSIX locales that is code-point order.
class PosixCollation : public Collation {
 public:
  // `localeName` as for newlocale: "" takes the environment's.
  explicit PosixCollation(const char* localeName = "");
  ~PosixCollation() override;
  PosixCollation(const PosixCollation&) = delete;
  PosixCollation& operator=(const PosixCollation&) = delete;

  int Compare(std::string_view a, std::string_view b) const override;
  std::string SortKey(std::string_view text) const override;
  bool OrdersAsciiAsLowerCaseBytes() const override { return codePointOrder_; }

 private:
  std::wstring Fold(std::string_view text) const;

  locale_t collate_ = nullptr;  // LC_COLLATE of the user
  locale_t ctype_ = nullptr;    // a UTF-8 LC_CTYPE for the case folding
  bool codePointOrder_ = true;
};

class PosixNumberFormat : public NumberFormat {
 public:
  std::string ThousandsSeparator() const override;
};

// Settings files that are not UTF-8 are read as Latin-1, the nearest thing to
// a Windows code page that every byte of is a character.
class PosixTextEncoding : public TextEncoding {
 public:
  std::string SystemCodePageToUtf8(std::string_view bytes) const override;
};

// Decodes UTF-8; a byte that starts no valid sequence becomes U+DC00 + byte,
// so distinct byte strings stay distinct.
std::u32string DecodeUtf8Lossless(std::string_view text);

}  // namespace wh
