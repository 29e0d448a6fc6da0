// Which desktop's words the texts use: the Windows program says what is true
// on Windows ("*.lnk", "explorer"), the Linux program what is true there
// ("*.desktop", "file manager"). The front end chooses; app/ never asks the
// compiler.
#pragma once

namespace wh {

enum class Wording { Windows, Linux };

// A text that reads one way on Windows and another on Linux; `linuxText` null
// when both read alike.
struct TwoWordings {
  const char* windows;
  const char* linuxText = nullptr;

  constexpr const char* For(Wording wording) const {
    return wording == Wording::Linux && linuxText != nullptr ? linuxText : windows;
  }
};

}  // namespace wh
