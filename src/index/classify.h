// What ENTER in the keyword box does with the typed text.
#pragma once

#include <string_view>

#include "platform/file_system.h"

namespace wh {

enum class EnterAction {
  OpenExplorer,  // an existing directory with a drive part, or a "\\" path
  OpenAddress,   // a web, news or mail address: the shell opens it
  Search,        // anything else is a search pattern
};

// True when `text` counts as a web, news or mail address.
bool IsURL(std::string_view text);

// Decides, without opening anything, which of the three ways the `typed`
// text goes, read as the file system reads a typed path (ExpandTypedPath).
EnterAction ClassifyEnter(std::string_view typed, const FileSystem& fileSystem);

}  // namespace wh
