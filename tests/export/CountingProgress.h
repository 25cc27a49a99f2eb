#pragma once
// A progress interface that counts the steps a writer reports and records
// every position a bar would show.
#include <vector>

#include "framework/KWProgressInterface.h"

class CountingProgress : public CKWProgressInterface {
public:
    explicit CountingProgress(int upper = 100) : m_upper(upper) {}
    void StepIt() override { SetPos(steps + 1); }
    int GetPos() override { return steps; }
    void SetPos(int position) override { positions.push_back(steps = position); }
    int GetUpper() override { return m_upper; }

    int steps = 0;
    std::vector<int> positions;

private:
    int m_upper;
};
