// SPDX-License-Identifier: GPL-3.0-or-later
#include "Timing.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace Bench {

namespace {

double clockMs(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

long long wallNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

std::vector<double> sorted(const std::vector<Sample> &samples, double Sample::*clock)
{
    std::vector<double> values;
    values.reserve(samples.size());
    for (const Sample &sample : samples)
        values.push_back(sample.*clock);
    std::sort(values.begin(), values.end());
    return values;
}

} // namespace

// The processor clocks are read outside the wall-clock interval, so that
// their cost does not count there.
void Stopwatch::restart()
{
    m_processCpuStart = clockMs(CLOCK_PROCESS_CPUTIME_ID);
    m_threadCpuStart = clockMs(CLOCK_THREAD_CPUTIME_ID);
    m_wallStartNs = wallNs();
}

Sample Stopwatch::elapsed() const
{
    Sample sample;
    sample.wall = double(wallNs() - m_wallStartNs) / 1e6;
    sample.threadCpu = clockMs(CLOCK_THREAD_CPUTIME_ID) - m_threadCpuStart;
    sample.processCpu = clockMs(CLOCK_PROCESS_CPUTIME_ID) - m_processCpuStart;
    return sample;
}

double Runs::median(double Sample::*clock) const
{
    if (m_samples.empty())
        return -1;
    const std::vector<double> values = sorted(m_samples, clock);
    return values[values.size() / 2];
}

double Runs::minimum(double Sample::*clock) const
{
    return m_samples.empty() ? -1 : sorted(m_samples, clock).front();
}

Runs timeRuns(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    Runs result;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const Stopwatch watch;
        work();
        result.add(watch.elapsed());
    }
    return result;
}

void printValue(const char *key, double value)
{
    std::printf("%s %.4f\n", key, value);
}

void printRuns(const char *key, const Runs &runs)
{
    const auto print = [key](const char *suffix, double value) {
        printValue(QByteArray(QByteArray(key) + suffix).constData(), value);
    };
    print("", runs.median());
    print("Min", runs.minimum());
    print("First", runs.first());
    print("Cpu", runs.median(&Sample::processCpu));
    print("CpuMin", runs.minimum(&Sample::processCpu));
    print("ThreadCpu", runs.median(&Sample::threadCpu));
}

void fail(const char *what)
{
    std::fprintf(stderr, "benchmark: %s\n", what);
    std::exit(2);
}

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

} // namespace Bench
