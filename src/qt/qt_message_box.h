// The program's message boxes on Linux: its name as the title, one OK button.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace wh {

// `text` as a message box shows it: a quoted run without spaces
// ("smb://server/share", "c:\temp") is bound with word joiners (U+2060),
// which nothing displays, so that a narrow box never breaks a path at a
// slash, where it would read as two.
QString MessageBoxText(const std::string& text);

// Shows `text` until OK is pressed; over `owner` when given, else on its
// own and, with `onTop`, above other programs' windows.
void ShowMessageBox(const std::string& text, QWidget* owner, bool onTop = false);

}  // namespace wh
