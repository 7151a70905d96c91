// The benchmark's output: each input's times step by step, then the one table the README quotes.
#pragma once

#include <string>
#include <vector>

#include "LoadBench.h"

void PrintLegend(int runs);
void PrintDetails(const InputResult& result);
struct RunConditions {
    std::string machine;
    double emptyWindowBytes = 0;
    int timedRuns = 0;
    std::uint32_t catalogueEntries = 0;
};
void PrintSummary(const std::vector<InputResult>& results, const RunConditions& conditions);
