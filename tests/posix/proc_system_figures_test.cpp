#include "posix/proc_system_figures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace wh {
namespace {

namespace fs = std::filesystem;

TEST(ProcSystemFiguresTest, MeminfoAndProcessEntries) {
  std::string pattern = (fs::temp_directory_path() / "wh-proc-XXXXXX").string();
  const fs::path root = mkdtemp(pattern.data());
  ProcSystemFigures figures(root.string());
  EXPECT_EQ(figures.Memory().totalPhys, 0u);

  std::ofstream(root / "meminfo") << "MemTotal:       16000000 kB\n"
                                     "MemFree:         1000000 kB\n"
                                     "MemAvailable:    8000000 kB\n"
                                     "SwapTotal:       2048000 kB\n"
                                     "SwapFree:         512000 kB\n";
  for (const char* dir : {"1", "42", "self", "sys", "7a"}) fs::create_directory(root / dir);
  const MemoryFigures memory = figures.Memory();
  EXPECT_EQ(memory.totalPhys, 16000000ull * 1024);
  EXPECT_EQ(memory.availPhys, 8000000ull * 1024);
  EXPECT_EQ(memory.totalPageFile, 2048000ull * 1024);
  EXPECT_EQ(memory.availPageFile, 512000ull * 1024);
  EXPECT_EQ(figures.ProcessCount(), 2u);

  // Older kernels have no MemAvailable.
  std::ofstream(root / "meminfo") << "MemTotal: 100 kB\nMemFree: 30 kB\n";
  EXPECT_EQ(figures.Memory().availPhys, 30u * 1024);
  fs::remove_all(root);
  EXPECT_EQ(ProcSystemFigures(root.string()).ProcessCount(), std::nullopt);

  // The real system answers with something sensible.
  ProcSystemFigures real;
  EXPECT_GT(real.Memory().totalPhys, real.Memory().availPhys);
  EXPECT_GE(real.ProcessCount().value_or(0), 1u);
}

}  // namespace
}  // namespace wh
