#pragma once

#include <QtGlobal>
#include <vector>

namespace bench {

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double median(std::vector<double> values);
double ms(qint64 nanoseconds);
// Peak resident memory of this process so far, in MiB; negative when unknown.
double peakRssMiB();
// One figure as "key[size]=value budget=N ok|over", flushed at once.
void report(const char *key, int size, double value, double budget, int decimals = 0);

} // namespace bench
