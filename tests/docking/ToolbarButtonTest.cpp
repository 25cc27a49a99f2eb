// Tool-bar buttons: their archive record, how they measure, the commands the
// library reserves, the default look, and the clipboard format.
#include "DockingTestSupport.h"

#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/OleDataSource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace docking_test;

namespace {

// Data offered in the tool-bar button format: the class, then the object's record.
CQMXPToolbarButton* ThroughOleData(const CRuntimeClass* pClass, CObject& object) {
    CSharedFile file(GMEM_MOVEABLE, 4096);
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteClass(pClass);
        object.Serialize(ar);
    }
    auto* pSource = new COleDataSource;
    pSource->CacheGlobalData(CQMXPToolbarButton::GetClipboardFormat(), file.Detach());
    COleDataObject data;
    data.Attach(pSource->GetDataObject(TRUE));
    CQMXPToolbarButton* pButton = CQMXPToolbarButton::LoadFromOleData(&data);
    data.Release();
    pSource->InternalRelease();
    return pButton;
}

TEST(ToolbarButtonTest, AUserImageRecordIsByteExactAndLoadsIntoTheUserField) {
    // Locked: the command manager is left alone.
    CQMXPToolbarButton button(ID_DOCKTEST_HANDLED, 5, L"&Go", TRUE, TRUE);
    const std::vector<BYTE> expected = {
        0xA6, 0x4A, 0, 0,  // command id 19110
        0, 0, 0, 0,        // style
        5, 0, 0, 0,        // the image in use, the user image
        0xFF, 0xFE, 0xFF, 3, '&', 0, 'G', 0, 'o', 0,
        1, 0, 0, 0,  // user image
        0, 0, 0, 0,  // not dragged from a command list
        0, 0, 0, 0,  // no text shown
        1, 0, 0, 0,  // image shown
    };
    EXPECT_EQ(StoredBytes(button), expected);

    CQMXPToolbarButton loaded;
    LoadBytes(loaded, expected);
    EXPECT_TRUE(loaded.m_bUserButton);
    EXPECT_EQ(loaded.m_iUserImage, 5);
    EXPECT_EQ(loaded.m_iImage, -1);
    EXPECT_EQ(CString(L"&Go"), loaded.m_strText);
    QMXTheCommandManager()->ClearUserImage(ID_DOCKTEST_HANDLED);
}

TEST(ToolbarButtonTest, SeparatorsAndTextsMeasure) {
    CClientDC dc(nullptr);
    CFont* pOldFont = dc.SelectObject(&globalData.fontRegular);
    const CSize sizeDefault(23, 22);
    struct SeparatorCase {
        int nWidth;
        BOOL bHorz;
        CSize size;
    };
    for (const SeparatorCase& test : {SeparatorCase{0, TRUE, CSize(8, 22)}, SeparatorCase{0, FALSE, CSize(23, 8)},
                                      SeparatorCase{12, TRUE, CSize(12, 22)}}) {
        CQMXPToolbarButton separator;
        separator.m_nStyle = TBBS_SEPARATOR;
        separator.SetImage(test.nWidth);
        EXPECT_EQ(CSize(separator.OnCalcSize(&dc, sizeDefault, test.bHorz)), test.size) << test.nWidth;
    }
    // Without an image a button is as wide as its text without mnemonic marks, plus 9.
    // Its key is the letter its label underlines.
    struct TextCase {
        const wchar_t* text;
        const wchar_t* measured;
        wchar_t key;
    };
    for (const TextCase& test : {TextCase{L"R&&D", L"R&D", 0}, TextCase{L"&Save", L"Save", L'S'},
                                 TextCase{L"Fish && &chips", L"Fish & chips", L'C'}}) {
        CQMXPToolbarButton button;
        button.m_strText = test.text;
        button.m_bText = TRUE;
        EXPECT_EQ(button.OnCalcSize(&dc, sizeDefault, TRUE).cx, dc.GetTextExtent(test.measured).cx + 9) << test.text;
        EXPECT_EQ(CQMXPToolBar::MnemonicOf(button), test.key) << test.text;
    }
    dc.SelectObject(pOldFont);
}

TEST(ToolbarButtonTest, ReservedAndExcludedCommandsAreNotPermitted) {
    CQMXPToolBar::m_lstUnpermittedCommands.AddTail(0x8001);
    const struct {
        UINT uiID;
        BOOL bPermitted;
    } cases[] = {{0xE110, FALSE}, {0xE11F, FALSE}, {0xE120, TRUE},  {0xF000, FALSE}, {0xF1EF, FALSE},
                 {0xF1F0, TRUE},  {0xFF00, FALSE}, {0xE210, FALSE}, {0x8000, TRUE},  {0x8001, FALSE}};
    for (const auto& test : cases) {
        CQMXPToolbarButton button;
        button.m_nID = test.uiID;
        EXPECT_EQ(button.IsPermitted(), test.bPermitted) << std::hex << test.uiID;
    }
    CQMXPToolBar::m_lstUnpermittedCommands.RemoveAll();
}

TEST(ToolbarButtonTest, ResetWithoutADefaultImageShowsTheCommandsShortName) {
    // Tool bars of other tests may have given the command a default image.
    CQMXPToolBar::m_DefaultImages.RemoveKey(ID_DOCKTEST_HANDLED);
    CQMXPToolbarButton handled(ID_DOCKTEST_HANDLED, -1);
    handled.ResetToDefault();
    EXPECT_EQ(CString(L"Handled"), handled.m_strText);
    EXPECT_TRUE(handled.m_bText);
    EXPECT_FALSE(handled.m_bImage);
    CQMXPToolbarButton noBreak(ID_DOCKTEST_NO_TIP, -1);
    noBreak.ResetToDefault();
    EXPECT_TRUE(noBreak.m_strText.IsEmpty());
    // With a default image the button shows that image.
    CQMXPToolBar::m_DefaultImages.SetAt(ID_DOCKTEST_CHECK, 3);
    CQMXPToolbarButton withImage(ID_DOCKTEST_CHECK, -1);
    withImage.ResetToDefault();
    EXPECT_FALSE(withImage.m_bUserButton);
    EXPECT_EQ(withImage.GetImage(), 3);
    CQMXPToolBar::m_DefaultImages.RemoveKey(ID_DOCKTEST_CHECK);
}

TEST(ToolbarButtonTest, OnlyToolbarButtonsComeOutOfTheirClipboardFormat) {
    CQMXPToolbarButton button(ID_DOCKTEST_HANDLED, 2, L"Take", FALSE, TRUE);
    auto* pSource = new COleDataSource;
    EXPECT_TRUE(button.PutOnClipboard(pSource));
    COleDataObject data;
    data.Attach(pSource->GetDataObject(TRUE));
    CQMXPToolbarButton* pCopy = CQMXPToolbarButton::LoadFromOleData(&data);
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(pCopy->m_nID, static_cast<UINT>(ID_DOCKTEST_HANDLED));
    EXPECT_EQ(CString(L"Take"), pCopy->m_strText);
    delete pCopy;
    data.Release();
    pSource->InternalRelease();

    // Another class named in the data, or a text no button has, makes nothing.
    CCmdUsageCount counts;
    EXPECT_EQ(ThroughOleData(RUNTIME_CLASS(CCmdUsageCount), counts), nullptr);
    CQMXPToolbarButton huge(0, -1, CString(L'x', 2000));
    EXPECT_EQ(ThroughOleData(RUNTIME_CLASS(CQMXPToolbarButton), huge), nullptr);
    EXPECT_EQ(CQMXPToolbarButton::LoadFromOleData(nullptr), nullptr);
}

}  // namespace
