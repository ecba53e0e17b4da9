#include "Measure.h"

#include <algorithm>
#include <cstdio>
#include <QByteArray>
#include <QFile>
#include <QList>

namespace bench {

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

double ms(qint64 nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1e6;
}

double peakRssMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return -1.0;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:")) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            bool ok = false;
            const double kib = parts.size() >= 2 ? parts[1].toDouble(&ok) : 0.0;
            return ok ? kib / 1024.0 : -1.0;
        }
    }
    return -1.0;
}

void report(const char *key, int size, double value, double budget, int decimals)
{
    std::printf("%s[%d]=%.*f budget=%.0f %s\n", key, size, decimals, value, budget,
                value >= 0 && value <= budget ? "ok" : "over");
    std::fflush(stdout);
}

} // namespace bench
