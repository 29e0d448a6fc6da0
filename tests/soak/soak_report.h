// What both soak programs report while they drive the real program through
// its cycles: the counters of the program's process read at the end of each
// block of cycles, with their change against the block before; the time
// from the hot key to the keyword box ready, median and 95th percentile;
// the steps that came late and the keys that were lost. At the end, the
// counters that grew clearly after the warm-up.
//
// Platform-free: each program reads its own counters and hands them in as
// numbers, nullopt where the system does not answer.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace wh::soak {

enum class Unit { Bytes, Count };

struct Counter {
  std::string name;
  Unit unit;
};

// One value per counter, in the order of the counters; nullopt: "n/a".
using Reading = std::vector<std::optional<long long>>;

// The median and 95th percentile (nearest rank) of `values`; 0 when empty.
double Percentile(std::vector<double> values, double fraction);

// Whether a counter grew clearly after the warm-up. `values` are its readings
// at the end of the warm-up and of each block after it, `cycles` the cycles
// between the first and the last. A count (handles, objects, descriptors,
// threads) grows clearly when it rose by more than one per ten cycles in
// every block, or by more than one per two cycles at all; memory when it rose
// by more than 2 MiB in every block, or by more than 8 MiB at all. Noise of a
// few pages or objects up and down never counts. Returns the finding in
// words, or nullopt.
std::optional<std::string> ClearGrowth(const Counter& counter,
                                       const std::vector<long long>& values, int cycles);

class SoakLog {
 public:
  SoakLog(std::vector<Counter> counters, std::FILE* out);

  // The reading before the first cycle.
  void Begin(const Reading& reading);
  // Hot key to the keyword box ready, in milliseconds.
  void AddLatency(double ms);
  // Hide to the program answering again, where the soak can tell.
  void AddStall(double ms);
  // A step whose state came after the slow mark, and how long it took.
  void AddSlow(const std::string& step, double ms);
  // A key that left no trace within the time-out and was sent again.
  void AddLost(const std::string& step);
  // Ends the block at `cycles` done with the counters read now; prints its
  // line.
  void EndBlock(int cycles, const Reading& reading);
  // Prints the summary from the end of block `warmupBlocks` on (the first
  // block when 1) and returns the clear growths found, empty when none.
  std::vector<std::string> Finish(int warmupBlocks);

 private:
  struct Block {
    int cycles;
    Reading reading;
    std::vector<double> latencies;
    std::vector<double> stalls;
    int slow;
    int lost;
  };

  struct Event {
    std::string step;
    double ms;
  };

  std::string CounterText(std::size_t counter, const Reading& now, const Reading* before) const;
  static std::string Timing(const char* label, const std::vector<double>& values);
  static std::string Grouped(const std::vector<Event>& events);

  std::vector<Counter> counters_;
  std::FILE* out_;
  Reading start_;
  std::vector<Block> blocks_;
  std::vector<double> latencies_, stalls_;
  std::vector<Event> slowSteps_, lostSteps_;
  int slow_ = 0, lost_ = 0;
};

}  // namespace wh::soak
