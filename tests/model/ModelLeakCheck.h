#pragma once
// A fixture that fails a test which leaves counted model objects alive:
// whatever the test built must be freed by its end.
#include <gtest/gtest.h>

#include "framework/KWRefCounter.h"

class ModelLeakCheck : public ::testing::Test {
protected:
    void SetUp() override { m_liveAtStart = CKWRefCounter::GetLiveCount(); }
    void TearDown() override
    {
        EXPECT_EQ(m_liveAtStart, CKWRefCounter::GetLiveCount()) << "counted objects leaked by the test";
    }

private:
    int32_t m_liveAtStart = 0;
};
