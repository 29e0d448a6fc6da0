// A generated directory tree for the benchmarks, made once and kept.
#pragma once

#include <string>
#include <vector>

namespace wh::bench {

struct TreeShape {
  int files;
  int directories;
  int maxDepth;
  unsigned seed;
  // Distinct words the names are made of. A large vocabulary, picked from
  // unevenly as real names are, with a few common names (readme.txt,
  // setup.exe ...) in many folders, makes a tree shaped like a user's disk.
  int vocabulary = 4000;
  bool realistic = false;
};

// Makes the tree under `root` unless a finished one of the same shape is
// there already. Returns the full paths of all files made, in creation order.
std::vector<std::string> EnsureTree(const std::string& root, const TreeShape& shape,
                                    const std::vector<std::string>& extensions);

}  // namespace wh::bench
