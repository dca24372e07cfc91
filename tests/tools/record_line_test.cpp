#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "record_line.h"

namespace {

std::string Printed(const NxTrainingOutput& record) {
  char line[1200];
  std::snprintf(line, sizeof line, "%8u  %12.6f  %12.6f  %12.6f  %7u\n", record.Epoch, record.MaxError,
                record.MeanAbsError, record.RmsError, record.WorstPattern);
  return line;
}

std::string Built(const NxTrainingOutput& record) {
  const RecordLine line(record);
  return std::string(line.data(), line.size());
}

// Errors as training gives them, values whose seventh decimal is an exact
// tie (n / 128 and the like), numbers too wide for their field, the
// extremes of a double and of the counters.
TEST(RecordLine, WritesWhatPrintfWrites) {
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  const double special[] = {0.0, -0.0, 0.0078125, 0.5, 1.0 / 128, 3.0 / 1024, 0.0000005, 0.00000049999, 999999.9999995,
                            1e7, 12345678.9, 1e300, DBL_MAX, -DBL_MAX, DBL_MIN, -1.5, inf, -inf, nan};
  for (double value : special)
    for (unsigned counter : {0u, 7u, 12345678u, 123456789u, 4294967295u}) {
      const NxTrainingOutput record{counter, value, value, value, counter};
      ASSERT_EQ(Built(record), Printed(record)) << value;
    }
  for (int i = 0; i < 200000; ++i) {
    const double scale = std::ldexp(1.0, static_cast<int>(random() % 40) - 30);
    const NxTrainingOutput record{static_cast<uint32_t>(random()), unit(random), unit(random) * scale,
                                  static_cast<double>(random() % 4096) / 4096, static_cast<uint32_t>(random() % 100000)};
    ASSERT_EQ(Built(record), Printed(record)) << i;
  }
}

}  // namespace
