#include "confusion_summary.h"

#include <cstdio>

namespace {

// Wider tables would not fit a terminal's line.
constexpr unsigned MAX_TABLE_CLASSES = 12;

unsigned Count(const nx::Evaluation& e, unsigned target, unsigned predicted) {
  return e.Confusion[size_t(target) * e.Classes + predicted];
}

void PrintClassLine(const nx::Evaluation& e, unsigned target) {
  unsigned total = 0;
  unsigned worst = target;
  for (unsigned p = 0; p < e.Classes; ++p) {
    total += Count(e, target, p);
    if (p != target && (worst == target || Count(e, target, p) > Count(e, target, worst))) worst = p;
  }
  const unsigned right = Count(e, target, target);
  std::printf("class %u: %u of %u right", target, right, total);
  if (total > 0) std::printf(" (%.1f%%)", 100.0 * right / total);
  if (worst != target && Count(e, target, worst) > 0)
    std::printf(", most often taken for class %u (%u)", worst, Count(e, target, worst));
  std::printf("\n");
}

void PrintTable(const nx::Evaluation& e) {
  std::printf("confusion (rows: target class, columns: output class):\n%6s", "");
  for (unsigned p = 0; p < e.Classes; ++p) std::printf(" %5u", p);
  std::printf("\n");
  for (unsigned t = 0; t < e.Classes; ++t) {
    std::printf("%6u", t);
    for (unsigned p = 0; p < e.Classes; ++p) std::printf(" %5u", Count(e, t, p));
    std::printf("\n");
  }
}

}  // namespace

void PrintConfusionSummary(const nx::Evaluation& evaluation, size_t patterns) {
  const size_t right = static_cast<size_t>(evaluation.Accuracy * patterns + 0.5);
  std::printf("accuracy %.2f%% (%zu of %zu patterns classified right, one-of-%u targets)\n",
              100 * evaluation.Accuracy, right, patterns, evaluation.Classes);
  for (unsigned t = 0; t < evaluation.Classes; ++t) PrintClassLine(evaluation, t);
  if (evaluation.Classes <= MAX_TABLE_CLASSES) PrintTable(evaluation);
}
