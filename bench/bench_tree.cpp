#include "bench_tree.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

namespace wh::bench {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Vocabulary(std::mt19937& random, int size, bool distinct) {
  const char* syllables[] = {"ka",  "lo",  "mi",  "ne",  "ro",  "su",  "ta",  "vi",  "dor", "fen",
                             "gal", "har", "jin", "kor", "lum", "mar", "nis", "por", "quo", "ras",
                             "sel", "tor", "ul",  "ven", "wix", "yar", "zed", "bre", "cla"};
  std::vector<std::string> words;
  std::set<std::string> seen;
  while (static_cast<int>(words.size()) < size) {
    std::string w;
    for (int n = 2 + random() % 3; n > 0; --n) w += syllables[random() % std::size(syllables)];
    if (distinct && !seen.insert(w).second) continue;
    if (random() % 3 == 0) w[0] = static_cast<char>(w[0] - 32);  // some capitalised
    words.push_back(w);
  }
  return words;
}

}  // namespace

std::vector<std::string> EnsureTree(const std::string& root, const TreeShape& shape,
                                    const std::vector<std::string>& extensions) {
  std::mt19937 random(shape.seed);
  const std::vector<std::string> words = Vocabulary(random, shape.vocabulary, shape.realistic);
  // Uniform picks by default; a realistic tree takes its first words far more
  // often than its last, as real names share a few common words and hold many
  // rare ones.
  auto pick = [&]() -> const std::string& {
    if (!shape.realistic) return words[random() % words.size()];
    const double u = static_cast<double>(random()) / 4294967296.0;
    return words[static_cast<std::size_t>(u * u * static_cast<double>(words.size()))];
  };
  const char* common[] = {"readme.txt", "License.txt", "setup.exe",  "Uninstall.lnk",
                          "index.html", "desktop.ini", "Thumbs.db",  "changelog.txt",
                          "config.ini", "icon.png",    "Manual.pdf", "notes.doc"};

  // Directory tree: each new directory under a random one not yet at depth.
  std::vector<std::string> dirs = {root};
  std::vector<int> depth = {0};
  while (static_cast<int>(dirs.size()) < shape.directories) {
    const std::size_t parent = random() % dirs.size();
    if (depth[parent] >= shape.maxDepth) continue;
    dirs.push_back(dirs[parent] + "/" + pick() +
                   (shape.realistic ? std::string() : std::to_string(dirs.size())));
    depth.push_back(depth[parent] + 1);
  }
  std::vector<std::string> files;
  files.reserve(shape.files);
  std::set<std::string> drawn;  // a realistic tree may draw the same path twice
  for (int i = 0; i < shape.files; ++i) {
    if (shape.realistic && random() % 20 == 0) {
      std::string path = dirs[random() % dirs.size()] + "/" + common[random() % std::size(common)];
      if (drawn.insert(path).second) files.push_back(std::move(path));
      continue;
    }
    std::string name;
    for (int n = 2 + random() % 4; n > 0; --n) {
      if (!name.empty()) name += ' ';
      name += pick();
    }
    if (!shape.realistic) {
      files.push_back(dirs[random() % dirs.size()] + "/" + name + " " + std::to_string(i % 97) +
                      "." + extensions[random() % extensions.size()]);
      continue;
    }
    std::string path =
        dirs[random() % dirs.size()] + "/" + name + "." + extensions[random() % extensions.size()];
    if (drawn.insert(path).second) files.push_back(std::move(path));
  }

  // The stamp, written last, names the shape the tree was made for.
  const fs::path stamp = fs::path(root) / ".complete";
  const std::string made = std::to_string(shape.files) + " " + std::to_string(shape.directories) +
                           " " + std::to_string(shape.maxDepth) + " " + std::to_string(shape.seed) +
                           " " + std::to_string(shape.vocabulary) + (shape.realistic ? " r" : "");
  std::string found;
  std::getline(std::ifstream(stamp), found);
  if (found == made) return files;
  fs::remove_all(root);
  for (const std::string& d : dirs) fs::create_directories(d);
  for (const std::string& f : files) std::ofstream{f};
  std::ofstream(stamp) << made << '\n';
  return files;
}

}  // namespace wh::bench
