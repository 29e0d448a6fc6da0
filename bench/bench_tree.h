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
};

// Makes the tree under `root` unless a finished one of the same shape is
// there already. Returns the full paths of all files made, in creation order.
std::vector<std::string> EnsureTree(const std::string& root, const TreeShape& shape,
                                    const std::vector<std::string>& extensions);

}  // namespace wh::bench
