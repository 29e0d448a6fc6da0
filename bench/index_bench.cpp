// The index's speed and size on a large generated tree. Run:
//   build/native/bench/wh_bench            (makes /tmp/wh-bench-tree once)
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <malloc.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <new>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "bench_tree.h"
#include "base/text.h"
#include "index/directory_walk.h"
#include "index/item_index.h"
#include "index/loader.h"
#include "index/search.h"
#include "index/words.h"
#include "posix/posix_file_system.h"
#include "posix/posix_locale.h"
#include "timing.h"

// Bytes in use on the heap, for the bytes per item.
static std::int64_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

// Bytes handed out by operator new and not yet given back, and the most at
// any moment since the last reset: the peak of a load against what it keeps.
static std::atomic<std::int64_t> gHeapNow{0}, gHeapPeak{0};

static void Count(std::int64_t bytes) {
  const std::int64_t now = gHeapNow.fetch_add(bytes) + bytes;
  std::int64_t peak = gHeapPeak.load(std::memory_order_relaxed);
  while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
  }
}
static std::int64_t UsableSize(void* p) {
  return p == nullptr ? 0 : static_cast<std::int64_t>(malloc_usable_size(p));
}

// The index also keeps text in blocks it grows with realloc: the program is
// linked with realloc and free wrapped (bench/CMakeLists.txt), so those
// count too, and every block is uncounted where it is freed.
extern "C" void* __real_realloc(void* p, std::size_t size);
extern "C" void __real_free(void* p);
extern "C" void* __wrap_realloc(void* p, std::size_t size) {
  const std::int64_t before = UsableSize(p);
  void* moved = __real_realloc(p, size);
  if (moved != nullptr) Count(UsableSize(moved) - before);
  return moved;
}
extern "C" void __wrap_free(void* p) {
  Count(-UsableSize(p));
  __real_free(p);
}

static void* Counted(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  Count(UsableSize(p));
  return p;
}
static void Uncounted(void* p) { std::free(p); }
void* operator new(std::size_t size) { return Counted(size); }
void* operator new[](std::size_t size) { return Counted(size); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { Uncounted(p); }

namespace wh::bench {
namespace {

const char* kRealisticRoot = "/tmp/wh-bench-realistic";
// About 57,000 distinct keywords from 200,000 files in 20,000 folders.
const TreeShape kRealisticShape{200000, 20000, 8, 3, 57000, true};

const char* kTreeRoot = "/tmp/wh-bench-tree";
const char* kMenuRoot = "/tmp/wh-bench-menu";
const char* kUserMasks = "lnk pdf doc xls txt";

// The tree's files in the order a walk finds them, as a load hands them over.
std::vector<std::string>& TreeFiles() {
  static std::vector<std::string> files = [] {
    EnsureTree(kTreeRoot, {200000, 20000, 8, 1},
               {"lnk", "pdf", "doc", "xls", "txt", "exe", "jpg", "png", "dll", "ini"});
    std::vector<std::string> found;
    PosixFileSystem fs;
    WalkTree(fs, kTreeRoot, {"*"},
             [&found](std::string_view path, std::size_t) { found.emplace_back(path); });
    return found;
  }();
  return files;
}

void EnsureMenu() {
  static bool made = (EnsureTree(kMenuRoot, {2000, 150, 3, 2}, {"lnk"}), true);
  (void)made;
}

const PosixFileSystem& FileSystem() {
  static PosixFileSystem fs;
  return fs;
}
const PosixCollation& Collation() {
  static PosixCollation collation;
  return collation;
}

class OneFolder : public ShellFolders {
 public:
  explicit OneFolder(std::string folder) : folder_(std::move(folder)) {}
  std::string ShellFolderPath(KnownFolder folder) const override {
    return folder == KnownFolder::StartMenu ? folder_ : std::string();
  }
  std::string ShortcutExtension() const override { return "lnk"; }

 private:
  std::string folder_;
};

// The least any walk of the tree must do: list every directory.
std::size_t BareWalk(const std::string& dir) {
  std::size_t entries = 0;
  DIR* d = opendir(dir.c_str());
  if (!d) return 0;
  std::vector<std::string> subdirectories;
  while (const dirent* e = readdir(d)) {
    ++entries;
    if (e->d_type == DT_DIR && e->d_name[0] != '.') subdirectories.push_back(dir + "/" + e->d_name);
  }
  closedir(d);
  for (const std::string& s : subdirectories) entries += BareWalk(s);
  return entries;
}

void BM_BareWalk(benchmark::State& state) {
  TreeFiles();
  for (auto _ : state) benchmark::DoNotOptimize(BareWalk(kTreeRoot));
}
BENCHMARK(BM_BareWalk)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Find(benchmark::State& state) {
  TreeFiles();
  const std::string command = std::string("find ") + kTreeRoot +
                              " -name '.*' -prune -o -type f \\( -iname '*.lnk' -o -iname "
                              "'*.pdf' -o -iname '*.doc' -o -iname '*.xls' -o -iname '*.txt' \\) "
                              "-print > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
  }
}
// The work is in the child process: the iterations are counted in real time.
BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Settings that load the generated tree as the user directory, and nothing else.
Settings UserDirectoryOnly() {
  Settings settings;
  settings.UserStartMenu = settings.AllUsersStartMenu = false;
  settings.UserDeskTop = settings.AllUsersDeskTop = false;
  settings.UserDir = kTreeRoot;
  settings.UserMasks = kUserMasks;
  return settings;
}

// A load of the generated tree as the user directory, and nothing else.
struct UserDirectoryLoad {
  UserDirectoryLoad() : settings(UserDirectoryOnly()) { TreeFiles(); }
  void Run() { LoadDirectories(true, settings, index, LoadPlatform{FileSystem(), folders}); }

  Settings settings;
  OneFolder folders{""};
  ItemIndex index{Collation(), "/"};
};

void BM_LoadUserDirectory(benchmark::State& state) {
  UserDirectoryLoad load;
  for (auto _ : state) load.Run();
  state.counters["items"] = static_cast<double>(load.index.ItemList.Count());
  state.counters["keywords"] = static_cast<double>(load.index.KeywordList.Count());
}
BENCHMARK(BM_LoadUserDirectory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The load and the bare walk taken turn about, so that both meet the same
// conditions on a machine whose speed wanders; reports the median of each.
void BM_LoadAgainstBareWalk(benchmark::State& state) {
  UserDirectoryLoad load;
  std::vector<double> loads, walks;
  auto millisecondsOf = [](auto&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
  };
  for (auto _ : state) {
    walks.push_back(millisecondsOf([] { benchmark::DoNotOptimize(BareWalk(kTreeRoot)); }));
    loads.push_back(millisecondsOf([&] { load.Run(); }));
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  state.counters["load_ms"] = median(loads);
  state.counters["walk_ms"] = median(walks);
  state.counters["ratio"] = median(loads) / median(walks);
}
BENCHMARK(BM_LoadAgainstBareWalk)->Unit(benchmark::kMillisecond)->Iterations(15);

double MillisecondsOf(auto&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The realistic tree loaded as the user directory with every file matching,
// taken turn about with a bare walk of it; then the heap of one load, at its
// peak and once done, against the items it holds.
void BM_RealisticLoadAgainstBareWalk(benchmark::State& state) {
  static bool made = (EnsureTree(kRealisticRoot, kRealisticShape,
                                 {"lnk", "pdf", "doc", "xls", "txt", "exe", "jpg", "png"}),
                      true);
  (void)made;
  auto load = std::make_unique<UserDirectoryLoad>();
  load->settings.UserDir = kRealisticRoot;
  load->settings.UserMasks = "*";
  std::vector<double> loads, walks;
  for (auto _ : state) {
    walks.push_back(MillisecondsOf([] { benchmark::DoNotOptimize(BareWalk(kRealisticRoot)); }));
    loads.push_back(MillisecondsOf([&] { load->Run(); }));
  }
  state.counters["load_ms"] = Median(loads);
  state.counters["walk_ms"] = Median(walks);
  state.counters["ratio"] = Median(loads) / Median(walks);
  state.counters["items"] = static_cast<double>(load->index.ItemList.Count());
  state.counters["keywords"] = static_cast<double>(load->index.KeywordList.Count());

  load.reset();
  const std::int64_t before = gHeapNow.load();
  gHeapPeak.store(before);
  auto fresh = std::make_unique<UserDirectoryLoad>();
  fresh->settings.UserDir = kRealisticRoot;
  fresh->settings.UserMasks = "*";
  fresh->Run();
  const double peak = static_cast<double>(gHeapPeak.load() - before);
  const double final = static_cast<double>(gHeapNow.load() - before);
  state.counters["peak_MB"] = peak / 1e6;
  state.counters["final_MB"] = final / 1e6;
  state.counters["peak_over_final"] = peak / final;
  state.counters["real_bytes_per_item"] =
      final / static_cast<double>(fresh->index.ItemList.Count());
}
BENCHMARK(BM_RealisticLoadAgainstBareWalk)->Unit(benchmark::kMillisecond)->Iterations(9);

// The most the process has held resident so far, in bytes (0 where the
// system doesn't say).
std::int64_t PeakResident() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return 0;
  char line[256];
  long long kilobytes = 0;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::sscanf(line, "VmHWM: %lld kB", &kilobytes) == 1) break;
  }
  std::fclose(status);
  return kilobytes * 1024;
}

// What one build from the tree made, and the process's peak with it.
struct Built {
  long long peakBytes = 0;
  std::size_t items = 0, keywords = 0;
};

bool AsciiLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
}

// The least a build of the same names and keywords must keep: a vector of the
// display names and a sorted vector of the keywords, no paths, no tables.
struct LeanBuild {
  std::vector<std::string> suffixes;  // ".lnk" ... for the masks
  std::vector<std::string> names;
  std::vector<std::string> keywords;
  std::size_t keywordsSorted = 0;

  void SortKeywords() {
    std::sort(keywords.begin(), keywords.end());
    keywords.erase(std::unique(keywords.begin(), keywords.end()), keywords.end());
    keywordsSorted = keywords.size();
  }
  void AddName(std::string_view name) {
    names.emplace_back(name);
    WordReader reader(name);
    std::string_view word;
    while (reader.Next(word)) {
      if (CharCount(word) < 2 || IsNumber(word)) continue;
      keywords.push_back(AsciiLower(word));
    }
    // Duplicates go whenever they could have doubled the vector.
    if (keywords.size() > 2 * keywordsSorted + 1024) SortKeywords();
  }
  void Walk(const std::string& dir) {
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    std::vector<std::string> subdirectories;
    while (const dirent* e = readdir(d)) {
      const std::string_view name = e->d_name;
      if (e->d_type == DT_DIR) {
        if (!name.starts_with('.')) subdirectories.push_back(dir + "/" + e->d_name);
        continue;
      }
      for (const std::string& suffix : suffixes) {
        if (name.size() >= suffix.size() &&
            AsciiEqualIgnoringCase(name.substr(name.size() - suffix.size()), suffix)) {
          AddName(name.substr(0, name.rfind('.')));
          break;
        }
      }
    }
    closedir(d);
    for (const std::string& s : subdirectories) Walk(s);
  }
  Built Run(const Settings& settings) {
    WordReader masks(settings.UserMasks);
    std::string_view mask;
    while (masks.Next(mask)) suffixes.push_back("." + std::string(mask));
    Walk(settings.UserDir);
    // One item a name, names equal but for case being one.
    std::sort(names.begin(), names.end(), AsciiLess);
    names.erase(std::unique(names.begin(), names.end(),
                            [](std::string_view a, std::string_view b) {
                              return AsciiEqualIgnoringCase(a, b);
                            }),
                names.end());
    SortKeywords();
    WordReader ignored(settings.IgnoreList);
    std::string_view word;
    while (ignored.Next(word)) {
      const auto at = std::lower_bound(keywords.begin(), keywords.end(), word);
      if (at != keywords.end() && *at == word) keywords.erase(at);
    }
    return Built{0, names.size(), keywords.size()};
  }
};

// Run as `wh_bench --peak-of=load` or `--peak-of=lean`: one build from the
// 4,000-word tree in this fresh process, and its peak and counts on stdout.
int PeakOfFreshProcess(std::string_view build) {
  const Settings settings = UserDirectoryOnly();
  Built built;
  if (build == "load") {
    // The program's load, as it runs at a start or a reload: the index and
    // then the keywords in order for the keyword box.
    ItemIndex index(Collation(), "/");
    OneFolder folders("");
    LoadDirectories(true, settings, index, LoadPlatform{FileSystem(), folders});
    benchmark::DoNotOptimize(index.KeywordList.Words().data());
    built = Built{0, index.ItemList.Count(), index.KeywordList.Count()};
  } else if (build == "lean") {
    built = LeanBuild().Run(settings);
  } else {
    return 2;
  }
  std::printf("%lld %zu %zu\n", static_cast<long long>(PeakResident()), built.items,
              built.keywords);
  return 0;
}

// Runs this program anew for one build; peakBytes stays 0 when that failed.
Built BuildInFreshProcess(const char* build) {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self);
  Built built;
  if (length <= 0 || length >= static_cast<ssize_t>(sizeof self)) return built;
  const std::string command =
      "'" + std::string(self, static_cast<std::size_t>(length)) + "' --peak-of=" + build;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return built;
  if (std::fscanf(pipe, "%lld %zu %zu", &built.peakBytes, &built.items, &built.keywords) != 3)
    built.peakBytes = 0;
  if (pclose(pipe) != 0) built.peakBytes = 0;
  return built;
}

// The whole process's resident peak for a load of the 4,000-word tree with the
// user's masks, against that of the lean build of the same names and keywords,
// each in a process of its own, taken turn about; medians.
void BM_PeakAgainstLeanBuild(benchmark::State& state) {
  TreeFiles();
  std::vector<double> loads, leans;
  Built load, lean;
  for (auto _ : state) {
    lean = BuildInFreshProcess("lean");
    load = BuildInFreshProcess("load");
    if (lean.peakBytes == 0 || load.peakBytes == 0) {
      state.SkipWithError("a build process failed");
      return;
    }
    if (lean.items != load.items || lean.keywords != load.keywords) {
      state.SkipWithError(("the lean build made " + std::to_string(lean.items) + " items and " +
                           std::to_string(lean.keywords) + " keywords, the load " +
                           std::to_string(load.items) + " and " + std::to_string(load.keywords))
                              .c_str());
      return;
    }
    loads.push_back(static_cast<double>(load.peakBytes) / 1e6);
    leans.push_back(static_cast<double>(lean.peakBytes) / 1e6);
  }
  state.counters["load_peak_MB"] = Median(loads);
  state.counters["lean_peak_MB"] = Median(leans);
  state.counters["peak_ratio"] = Median(loads) / Median(leans);
  state.counters["items"] = static_cast<double>(load.items);
  state.counters["keywords"] = static_cast<double>(load.keywords);
}
BENCHMARK(BM_PeakAgainstLeanBuild)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_StartMenu2000(benchmark::State& state) {
  EnsureMenu();
  Settings settings;
  settings.AllUsersStartMenu = settings.UserDeskTop = settings.AllUsersDeskTop = false;
  settings.UserMasks = kUserMasks;
  OneFolder folders(std::string(kMenuRoot) + "/");
  ItemIndex index(Collation(), "/");
  for (auto _ : state) {
    LoadDirectories(true, settings, index, LoadPlatform{FileSystem(), folders});
  }
  state.counters["items"] = static_cast<double>(index.ItemList.Count());
}
BENCHMARK(BM_StartMenu2000)->Unit(benchmark::kMillisecond);

// A name far longer than any file system allows, to show that the search
// has no limit on it.
const std::string kLongName = "/x/" + std::string(10000, 'q') + " mar.lnk";

void BuildIndex(ItemIndex& index, const std::vector<std::string>& paths) {
  index.KeywordList.Clear();
  index.ItemList.Clear();
  std::vector<std::string_view> views(paths.begin(), paths.end());
  views.push_back(kLongName);
  AddItems(index, views);
  RemoveIgnoredWords(index.KeywordList, Settings().IgnoreList);
  index.ItemList.Compact();
  benchmark::DoNotOptimize(index.KeywordList.Words().data());
}

void BM_BuildIndexFromPaths(benchmark::State& state) {
  const auto& paths = TreeFiles();
  ItemIndex index(Collation(), "/");
  for (auto _ : state) BuildIndex(index, paths);
  state.counters["items"] = static_cast<double>(index.ItemList.Count());
}
BENCHMARK(BM_BuildIndexFromPaths)->Unit(benchmark::kMillisecond);

// The search structures are made at the first search after a load.
void BM_FirstSearchStructures(benchmark::State& state) {
  const auto& paths = TreeFiles();
  ItemIndex index(Collation(), "/");
  BuildIndex(index, paths);
  for (auto _ : state) {
    state.PauseTiming();
    index.ItemList.Add(paths.front());  // marks the structures stale
    state.ResumeTiming();
    benchmark::DoNotOptimize(index.ItemList.LowerNames().data());
    benchmark::DoNotOptimize(index.ItemList.ItemBoxOrder().data());
  }
}
BENCHMARK(BM_FirstSearchStructures)->Unit(benchmark::kMillisecond);

// The index the searches run over, built once from the tree's paths.
ItemIndex& SearchIndex() {
  static ItemIndex* index = [] {
    auto* built = new ItemIndex(Collation(), "/");
    BuildIndex(*built, TreeFiles());
    built->ItemList.ItemBoxOrder();
    return built;
  }();
  return *index;
}

void BM_Match(benchmark::State& state, const char* pattern) {
  ItemIndex* index = &SearchIndex();
  std::size_t found = 0;
  for (auto _ : state) {
    MatchItems(index->ItemList, pattern, index->MatchList);
    const auto ordered = index->MatchList.InItemBoxOrder(index->ItemList);
    found = ordered.size();
    benchmark::DoNotOptimize(ordered.data());
  }
  state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_Match, plain_mar, "mar")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, plain_kalo, "kalo")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, plain_rare, "vixquo")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, wild_m_r_s, "m?r*s")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, wild_question_a, "?a")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, wild_a_a_a, "a?a?a?")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, wild_trailing, "ka*")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, wild_aaaab, "a*a*a*a*a*a*a*b")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, wild_questions, "??????????")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, everything, "")->Unit(benchmark::kMicrosecond);
// Input nobody types, which must still be answered in time.
const std::string kTyped100000(100000, 'm');
const std::string kWildOnly = [] {
  std::string p;
  for (int i = 0; i < 500; ++i) p += "*?";
  return p;
}();
const std::string kQuestions5000(5000, '?');
BENCHMARK_CAPTURE(BM_Match, hostile_typed_100000, kTyped100000.c_str())
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, hostile_stars_questions_1000, kWildOnly.c_str())
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, hostile_questions_5000, kQuestions5000.c_str())
    ->Unit(benchmark::kMicrosecond);

// The baseline of the wild-card cases: a `grep -c -i` process with the
// equivalent regular expression over the same names, one a line. Its count
// goes to a pipe and must equal the index's own: GNU grep writing to
// /dev/null stops at the first match, and would be timed for a fraction of
// the work.
void BM_Grep(benchmark::State& state, const char* regex, const char* pattern) {
  static const std::string namesFile = [] {
    const ItemIndex& index = SearchIndex();
    const std::string file = "/tmp/wh-bench-names.txt";
    std::FILE* out = std::fopen(file.c_str(), "w");
    for (std::uint32_t i = 0; out != nullptr && i < index.ItemList.Count(); ++i) {
      const std::string_view name = index.ItemList.Name(i);
      std::fwrite(name.data(), 1, name.size(), out);
      std::fputc('\n', out);
    }
    if (out != nullptr) std::fclose(out);
    return file;
  }();
  ItemIndex& index = SearchIndex();
  MatchItems(index.ItemList, pattern, index.MatchList);
  const long expected = static_cast<long>(index.MatchList.Count());
  const std::string command = std::string("grep -c -i -E '") + regex + "' " + namesFile;
  long counted = -1;
  for (auto _ : state) {
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr || std::fscanf(pipe, "%ld", &counted) != 1) counted = -1;
    // grep says 1 when nothing matched, which is no failure here.
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
      state.SkipWithError("grep failed");
      break;
    }
    if (counted != expected) {
      state.SkipWithError(("grep counted " + std::to_string(counted) + " names, the index " +
                           std::to_string(expected))
                              .c_str());
      break;
    }
  }
  state.counters["matches"] = static_cast<double>(counted);
}
BENCHMARK_CAPTURE(BM_Grep, wild_m_r_s, "m.r.*s", "m?r*s")
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Grep, wild_question_a, ".a", "?a")
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Grep, wild_a_a_a, "a.a.a.", "a?a?a?")
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Grep, wild_questions, "..........", "??????????")
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// Reports the allocated bytes per item of the index and its search
// structures, measured around a build.
void BM_MemoryPerItem(benchmark::State& state) {
  const auto& paths = TreeFiles();
  double perItem = 0, perItemText = 0;
  for (auto _ : state) {
    const std::int64_t before = HeapInUse();
    auto* index = new ItemIndex(Collation(), "/");
    BuildIndex(*index, paths);
    MatchItems(index->ItemList, "mar", index->MatchList);
    index->MatchList.InItemBoxOrder(index->ItemList);
    const std::int64_t used = HeapInUse() - before;
    std::size_t pathBytes = 0;
    for (const std::string& p : paths) pathBytes += p.size();
    perItem = static_cast<double>(used) / static_cast<double>(index->ItemList.Count());
    perItemText = static_cast<double>(pathBytes) / static_cast<double>(paths.size());
    state.counters["structures_per_item"] =
        static_cast<double>(index->ItemList.MemoryBytes() + index->KeywordList.MemoryBytes()) /
        static_cast<double>(index->ItemList.Count());
    delete index;
  }
  state.counters["bytes_per_item"] = perItem;
  state.counters["path_bytes_per_item"] = perItemText;
}
BENCHMARK(BM_MemoryPerItem)->Iterations(1)->Unit(benchmark::kMillisecond);

// Keeps each run's time so that the ratios can be printed at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const double ms =
          run.GetAdjustedRealTime() * (run.time_unit == benchmark::kMicrosecond  ? 1e-3
                                       : run.time_unit == benchmark::kNanosecond ? 1e-6
                                                                                 : 1.0);
      times[run.benchmark_name()] = ms;
      for (const auto& [name, counter] : run.counters)
        counters[run.benchmark_name() + "/" + name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
  std::map<std::string, double> counters;
};

}  // namespace
}  // namespace wh::bench

int main(int argc, char** argv) {
  using wh::bench::RecordingReporter;
  if (argc == 2 && std::string_view(argv[1]).starts_with("--peak-of="))
    return wh::bench::PeakOfFreshProcess(std::string_view(argv[1]).substr(10));
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // With --benchmark_repetitions the medians speak; otherwise the one run.
  auto t = [&](const std::string& name) {
    double single = 0.0;
    for (const auto& [key, value] : reporter.times) {
      if (key.rfind(name, 0) != 0) continue;
      if (key.ends_with("_median")) return value;
      if (!key.ends_with("_mean") && !key.ends_with("_stddev") && !key.ends_with("_cv"))
        single = value;
    }
    return single;
  };
  const double load = t("BM_LoadUserDirectory"), bare = t("BM_BareWalk"), find = t("BM_Find");
  for (const auto& [key, value] : reporter.counters) {
    if (key.rfind("BM_LoadAgainstBareWalk", 0) == 0 && key.ends_with("/ratio") &&
        key.find("_mean") == std::string::npos && key.find("_stddev") == std::string::npos &&
        key.find("_cv") == std::string::npos) {
      std::printf("  load / bare walk, taken turn about (%s)  %.2f  [<= 1.30]\n",
                  key.substr(0, key.find('/')).c_str(), value);
    }
  }
  std::printf("\nSummary (milliseconds; goals in brackets)\n");
  auto counterOf = [&](const std::string& benchmark, const std::string& name) {
    for (const auto& [key, value] : reporter.counters) {
      if (key.rfind(benchmark, 0) == 0 && key.ends_with("/" + name) &&
          key.find("_mean") == std::string::npos && key.find("_stddev") == std::string::npos &&
          key.find("_cv") == std::string::npos)
        return value;
    }
    return 0.0;
  };
  auto counter = [&](const std::string& name) {
    return counterOf("BM_RealisticLoadAgainstBareWalk", name);
  };
  if (counter("ratio") > 0) {
    std::printf(
        "  realistic load / bare walk %.2f (%.0f ms against %.0f ms, %.0f items, %.0f "
        "keywords)  [<= 1.30]\n",
        counter("ratio"), counter("load_ms"), counter("walk_ms"), counter("items"),
        counter("keywords"));
    std::printf("  realistic load peak / final heap %.2f (%.1f MB against %.1f MB)  [<= 1.50]\n",
                counter("peak_over_final"), counter("peak_MB"), counter("final_MB"));
    std::printf("  realistic load, heap per item %.0f B  [<= 150]\n",
                counter("real_bytes_per_item"));
  }
  if (const double ratio = counterOf("BM_PeakAgainstLeanBuild", "peak_ratio"); ratio > 0) {
    std::printf(
        "  resident peak, load / lean build %.2f (%.1f MB against %.1f MB, fresh processes, "
        "%.0f items, %.0f keywords)  [<= 1.50]\n",
        ratio, counterOf("BM_PeakAgainstLeanBuild", "load_peak_MB"),
        counterOf("BM_PeakAgainstLeanBuild", "lean_peak_MB"),
        counterOf("BM_PeakAgainstLeanBuild", "items"),
        counterOf("BM_PeakAgainstLeanBuild", "keywords"));
  }
  if (bare > 0 && load > 0) std::printf("  load / bare walk        %.2f  [<= 1.30]\n", load / bare);
  if (find > 0 && load > 0) std::printf("  load / find             %.2f  [<= 1.00]\n", load / find);
  std::printf("  build from 200,000 paths %.1f ms  [<= 100]\n", t("BM_BuildIndexFromPaths"));
  std::printf("  first-search structures  %.1f ms\n", t("BM_FirstSearchStructures"));
  std::printf("  2,000-file Start Menu    %.2f ms  [<= 5]\n", t("BM_StartMenu2000"));
  for (const char* name :
       {"plain_mar", "plain_kalo", "plain_rare", "wild_m_r_s", "wild_question_a", "wild_a_a_a",
        "wild_trailing", "wild_aaaab", "wild_questions", "everything", "hostile_typed_100000",
        "hostile_stars_questions_1000", "hostile_questions_5000"}) {
    const std::string key = std::string("BM_Match/") + name;
    std::printf("  match %-18s %.2f ms  [<= %s]", name, t(key),
                key.find("plain") != std::string::npos ? "3" : "10");
    const double grep = t(std::string("BM_Grep/") + name);
    if (grep > 0) std::printf(", / grep -c -i %.2f  [<= 3.00]", t(key) / grep);
    std::printf("\n");
  }
  for (const auto& [key, value] : reporter.counters) {
    if (key.find("_per_item") != std::string::npos && key.find("_mean") == std::string::npos &&
        key.find("_stddev") == std::string::npos && key.find("_cv") == std::string::npos) {
      std::printf("  %-24s %.0f%s\n", key.substr(key.find('/') + 1).c_str(), value,
                  key.find("/bytes_per_item") != std::string::npos ? "  [<= 150]" : "");
    }
  }
  benchmark::Shutdown();
  return 0;
}
