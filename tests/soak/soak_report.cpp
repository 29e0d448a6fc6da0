#include "soak/soak_report.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wh::soak {

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

std::string Format(const char* format, double a, double b = 0, double c = 0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

std::string ValueText(Unit unit, long long value) {
  return unit == Unit::Bytes ? Format("%.2f MB", static_cast<double>(value) / kMiB)
                             : std::to_string(value);
}

std::string ChangeText(Unit unit, long long change) {
  return unit == Unit::Bytes ? Format("%+.2f", static_cast<double>(change) / kMiB)
                             : Format("%+.0f", static_cast<double>(change));
}

}  // namespace

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

std::optional<std::string> ClearGrowth(const Counter& counter,
                                       const std::vector<long long>& values, int cycles) {
  if (values.size() < 2 || cycles <= 0) return std::nullopt;
  const long long rise = values.back() - values.front();
  bool everyBlock = rise > 0;
  for (std::size_t i = 1; i < values.size(); ++i) everyBlock = everyBlock && values[i] > values[i - 1];
  double steadyLimit, anyLimit;
  if (counter.unit == Unit::Bytes) {
    steadyLimit = 2 * kMiB;
    anyLimit = 8 * kMiB;
  } else {
    steadyLimit = cycles / 10.0;
    anyLimit = cycles / 2.0;
  }
  const bool grew = (everyBlock && static_cast<double>(rise) > steadyLimit) ||
                    static_cast<double>(rise) > anyLimit;
  if (!grew) return std::nullopt;
  return counter.name + " rose by " + ChangeText(counter.unit, rise) +
         (counter.unit == Unit::Bytes ? " MB" : "") + " in " + std::to_string(cycles) +
         " cycles after the warm-up" + (everyBlock ? ", in every block" : "");
}

SoakLog::SoakLog(std::vector<Counter> counters, std::FILE* out)
    : counters_(std::move(counters)), out_(out) {}

void SoakLog::Begin(const Reading& reading) {
  start_ = reading;
  std::string line = "cycles 0";
  for (std::size_t i = 0; i < counters_.size(); ++i) line += " | " + CounterText(i, reading, nullptr);
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
  blocks_.push_back({0, reading, {}, {}, 0, 0});
}

void SoakLog::AddLatency(double ms) {
  latencies_.push_back(ms);
  blocks_.back().latencies.push_back(ms);
}

void SoakLog::AddStall(double ms) {
  stalls_.push_back(ms);
  blocks_.back().stalls.push_back(ms);
}

void SoakLog::AddSlow(const std::string& step, double ms) {
  ++slow_;
  ++blocks_.back().slow;
  slowSteps_.push_back({step, ms});
}

void SoakLog::AddLost(const std::string& step) {
  ++lost_;
  ++blocks_.back().lost;
  lostSteps_.push_back({step, 0});
}

std::string SoakLog::CounterText(std::size_t counter, const Reading& now,
                                 const Reading* before) const {
  const Counter& kind = counters_[counter];
  if (!now[counter]) return kind.name + " n/a";
  std::string text = kind.name + " " + ValueText(kind.unit, *now[counter]);
  if (before != nullptr && (*before)[counter]) {
    text += " " + ChangeText(kind.unit, *now[counter] - *(*before)[counter]);
  }
  return text;
}

std::string SoakLog::Timing(const char* label, const std::vector<double>& values) {
  if (values.empty()) return std::string(label) + " -";
  return label + Format(" median %.1f ms, p95 %.1f ms (n %.0f)", Percentile(values, 0.5),
                        Percentile(values, 0.95), static_cast<double>(values.size()));
}

// "[step] x N" for each step, in the order first seen: the longest time a
// slow step took, how often a key was lost.
std::string SoakLog::Grouped(const std::vector<Event>& events) {
  std::vector<std::pair<Event, int>> steps;
  for (const Event& event : events) {
    auto seen = std::find_if(steps.begin(), steps.end(),
                             [&](const auto& step) { return step.first.step == event.step; });
    if (seen == steps.end()) {
      steps.push_back({event, 1});
    } else {
      seen->first.ms = std::max(seen->first.ms, event.ms);
      ++seen->second;
    }
  }
  std::string text;
  for (const auto& [event, count] : steps) {
    text += " [" + event.step + (event.ms > 0 ? Format(", up to %.0f ms", event.ms) : "") + "] x" +
            std::to_string(count);
  }
  return text;
}

void SoakLog::EndBlock(int cycles, const Reading& reading) {
  Block& block = blocks_.back();
  const Reading& before = block.reading;
  std::string line = "cycles " + std::to_string(cycles);
  for (std::size_t i = 0; i < counters_.size(); ++i) line += " | " + CounterText(i, reading, &before);
  line += " | " + Timing("hot key to box", block.latencies);
  if (!block.stalls.empty()) line += " | " + Timing("hide to answering", block.stalls);
  line += " | slow " + std::to_string(block.slow) + " | lost " + std::to_string(block.lost);
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
  blocks_.push_back({cycles, reading, {}, {}, 0, 0});
}

std::vector<std::string> SoakLog::Finish(int warmupBlocks) {
  std::vector<std::string> findings;
  // blocks_[k] holds the reading at the end of block k (0: the start).
  const std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(warmupBlocks),
                                                 blocks_.size() - 1);
  const Block& first = blocks_[from];
  const Block& last = blocks_.back();
  std::string line = "after the warm-up, cycles " + std::to_string(first.cycles) + " to " +
                     std::to_string(last.cycles) + ":";
  for (std::size_t i = 0; i < counters_.size(); ++i) {
    line += " | " + CounterText(i, last.reading, &first.reading);
    std::vector<long long> values;
    for (std::size_t b = from; b < blocks_.size(); ++b) {
      if (blocks_[b].reading[i]) values.push_back(*blocks_[b].reading[i]);
    }
    if (values.size() != blocks_.size() - from) continue;
    if (auto growth = ClearGrowth(counters_[i], values, last.cycles - first.cycles)) {
      findings.push_back(*growth);
    }
  }
  std::fprintf(out_, "%s\n", line.c_str());
  std::fprintf(out_, "all cycles: %s\n", Timing("hot key to box", latencies_).c_str());
  if (!stalls_.empty()) std::fprintf(out_, "all cycles: %s\n", Timing("hide to answering", stalls_).c_str());
  std::fprintf(out_, "slow steps %d%s\nlost keys %d%s\n", slow_, Grouped(slowSteps_).c_str(),
               lost_, Grouped(lostSteps_).c_str());
  for (const std::string& finding : findings) std::fprintf(out_, "CLEAR GROWTH: %s\n", finding.c_str());
  std::fflush(out_);
  return findings;
}

}  // namespace wh::soak
