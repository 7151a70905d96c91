// Repeated measurements of one quantity and their median and range.
#pragma once

#include <algorithm>
#include <vector>

class Samples {
public:
    void Add(double value) { m_values.push_back(value); }
    bool Empty() const { return m_values.empty(); }

    double Median() const
    {
        std::vector<double> sorted = m_values;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        if (n == 0)
            return 0;
        return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double Min() const { return m_values.empty() ? 0 : *std::min_element(m_values.begin(), m_values.end()); }
    double Max() const { return m_values.empty() ? 0 : *std::max_element(m_values.begin(), m_values.end()); }

private:
    std::vector<double> m_values;
};
