#pragma once
// A progress interface that counts the steps a writer reports.
#include "framework/KWProgressInterface.h"

class CountingProgress : public CKWProgressInterface {
public:
    explicit CountingProgress(int upper = 100) : m_upper(upper) {}
    void StepIt() override { ++steps; }
    int GetPos() override { return steps; }
    void SetPos(int position) override { steps = position; }
    int GetUpper() override { return m_upper; }

    int steps = 0;

private:
    int m_upper;
};
