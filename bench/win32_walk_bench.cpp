// The load of a tree under Wine against the least a Windows program must do
// to see the same tree: a plain FindFirstFileExW walk. The two are taken turn
// about, and the medians and their ratio printed. Run by scripts/bench-walk:
//   wh_walk_bench.exe TREE MASKS ROUNDS GOAL
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "index/item_index.h"
#include "index/loader.h"
#include "timing.h"
#include "win32/utf16.h"
#include "win32/win32_collation.h"
#include "win32/win32_file_system.h"

namespace {

using wh::bench::Median;
using wh::bench::Now;

// Every directory listed once, hidden ones left out as the load leaves them.
std::size_t PlainWalk(const std::wstring& dir) {
  std::size_t entries = 0;
  std::vector<std::wstring> subdirectories;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileExW((dir + L"\\*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    ++entries;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] != L'.') {
      subdirectories.push_back(dir + L"\\" + data.cFileName);
    }
  } while (FindNextFileW(search, &data));
  FindClose(search);
  for (const std::wstring& s : subdirectories) entries += PlainWalk(s);
  return entries;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: wh_walk_bench TREE MASKS ROUNDS GOAL\n");
    return 2;
  }
  const std::string tree = wh::WideToUtf8(argv[1]), masks = wh::WideToUtf8(argv[2]);
  const int rounds = std::max(1, _wtoi(argv[3]));
  const double goal = _wtof(argv[4]);
  const std::wstring wideTree = wh::ExtendedLengthPath(tree);
  wh::Win32FileSystem fileSystem;
  wh::Win32Collation collation;
  std::vector<double> walks, loads;
  std::size_t entries = 0, items = 0;
  for (int round = 0; round < rounds; ++round) {
    double start = Now();
    entries = PlainWalk(wideTree);
    walks.push_back(Now() - start);
    wh::ItemIndex index(collation, "\\:");
    start = Now();
    wh::AddDirectory(index, fileSystem, tree, masks);
    loads.push_back(Now() - start);
    items = index.ItemList.Count();
  }
  std::printf(
      "%s, masks \"%s\": load %.1f ms (%zu items) against a plain walk %.1f ms (%zu "
      "entries), medians of %d: %.2fx  [<= %.2f]\n",
      tree.c_str(), masks.c_str(), Median(loads), items, Median(walks), entries, rounds,
      Median(loads) / Median(walks), goal);
  return 0;
}
