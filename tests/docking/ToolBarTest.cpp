// The visual manager's class.
#include "DockingTestSupport.h"

#include "docking/toolbars/QMXPVisualManager.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class CCountingManager : public CQMXPVisualManager {
    DECLARE_DYNCREATE(CCountingManager)
public:
    CCountingManager() { ++s_nLive; }
    ~CCountingManager() override { --s_nLive; }
    static int s_nLive;
};
IMPLEMENT_DYNCREATE(CCountingManager, CQMXPVisualManager)
int CCountingManager::s_nLive = 0;

TEST(VisualManagerTest, SelectingAClassReplacesTheManager) {
    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CCountingManager));
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    EXPECT_TRUE(pManager->IsKindOf(RUNTIME_CLASS(CCountingManager)));
    EXPECT_EQ(CCountingManager::s_nLive, 1);
    EXPECT_EQ(CQMXPVisualManager::GetInstance(), pManager);
    CQMXPVisualManager::SelectManagerClass(nullptr);  // as the application does at its end
    EXPECT_EQ(CCountingManager::s_nLive, 0);
    EXPECT_FALSE(CQMXPVisualManager::GetInstance()->IsKindOf(RUNTIME_CLASS(CCountingManager)));
    CQMXPVisualManager::SelectManagerClass(nullptr);
}

}  // namespace
