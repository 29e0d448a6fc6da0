// The walk of one directory tree for files that match a list of file masks.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/file_system.h"

namespace wh {

// Runs `work` on a new thread; throws std::system_error when the system
// makes none, as std::thread does. Tests hand in one that refuses.
using ThreadStarter = std::thread (*)(std::function<void()> work);
std::thread StartThread(std::function<void()> work);

// Receives a matching file's full path and the position, in the mask list, of
// the first mask its name matches.
using FoundFileSink = std::function<void(std::string_view fullPath, std::size_t firstMask)>;

// Walks the tree at `root` depth first: the entries of a directory in listing
// order (its own files before its subdirectories' files), subdirectories in the
// order listed. Directories whose name begins with "." are not entered, and no
// directory is entered twice (links that loop or lead back into the tree).
// Directories that can't be listed are passed over. Full paths are `root`
// with a separator added if missing, the subdirectories, then the file's name.
// Masks ("*.lnk", "*.do?") are matched against the whole name, ASCII case
// ignored, "*" any run of characters, "?" exactly one. `onFile` is called on
// the caller's thread, in walk order; a large tree is listed on a second
// thread meanwhile, or on the caller's when `startThread` makes none. The
// walk is over when this returns, also when `onFile` throws.
void WalkTree(const FileSystem& fileSystem, const std::string& root,
              const std::vector<std::string>& masks, const FoundFileSink& onFile,
              ThreadStarter startThread = StartThread);

// True when `name` matches the file mask `mask` as WalkTree matches it.
bool MaskMatches(std::string_view name, std::string_view mask);

}  // namespace wh
