// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one way this benchmark takes time: a stopwatch that reads the wall
// clock and both processor clocks, a series of runs with its statistics, and
// the "key value" lines a measuring process hands to the report.

#include <functional>
#include <vector>

namespace Bench {

// Milliseconds of one stretch of work.
struct Sample
{
    double wall = 0;
    double threadCpu = 0; // the measuring thread: other processes do not inflate it
    double processCpu = 0; // the whole process, helper threads included
};

class Stopwatch
{
public:
    Stopwatch() { restart(); }
    void restart();
    Sample elapsed() const;

private:
    double m_threadCpuStart = 0;
    double m_processCpuStart = 0;
    long long m_wallStartNs = 0;
};

class Runs
{
public:
    void add(const Sample &sample) { m_samples.push_back(sample); }
    double median(double Sample::*clock = &Sample::wall) const;
    double minimum(double Sample::*clock = &Sample::wall) const;
    // The first run, which may meet cold caches and fresh memory.
    double first() const { return m_samples.empty() ? -1 : m_samples.front().wall; }

private:
    std::vector<Sample> m_samples;
};

// `runs` timed runs of `work`; `prepare` runs untimed before each.
Runs timeRuns(int runs, const std::function<void()> &prepare, const std::function<void()> &work);

// One "key value" line for the report.
void printValue(const char *key, double value);
// The median wall time as `key`, and beside it keyMin, keyFirst, keyCpu and
// keyCpuMin (processor time of the whole process) and keyThreadCpu.
void printRuns(const char *key, const Runs &runs);

// Ends a measuring process that could not measure what it was asked to.
[[noreturn]] void fail(const char *what);

// The process's peak resident memory (VmHWM) in megabytes, -1 when unknown.
double peakMegabytes();

} // namespace Bench
