// The export properties dialog in the test's own process, its boxes clicked
// from a timer of its own.
#include "editor/ExportPropDlg.h"
#include "model/TalDocProperties.h"
#include "model/TalPrefs.h"
#include "document/TalDocumentApp.h"
#include "resources/ExportPropDialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Clicks the boxes, then presses the button, once the dialog shows.
class CClickedExportPropDlg : public CExportPropDlg {
public:
    CClickedExportPropDlg(CTalDocProperties* properties, std::vector<int> clicks, int button)
        : CExportPropDlg(properties), m_clicks(std::move(clicks)), m_button(button)
    {
    }

    std::vector<int> checkedAtStart;

    BOOL OnInitDialog() override
    {
        const BOOL result = CExportPropDlg::OnInitDialog();
        for (int id : {IDC_EXP_TITLE_PAGE, IDC_EXP_CONTENTS, IDC_EXP_NUMBERING, IDC_EXP_GRAYSCALE,
                       IDC_EXP_DESCRIPTIONS, IDC_EXP_WATERMARKS, IDC_EXP_SHOW_AGAIN}) {
            if (IsDlgButtonChecked(id) == BST_CHECKED)
                checkedAtStart.push_back(id);
        }
        SetTimer(1, 20);
        return result;
    }

protected:
    afx_msg void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        for (int id : m_clicks)
            ::SendMessageW(GetItemWindow(id), BM_CLICK, 0, 0);
        PostMessage(WM_COMMAND, m_button, 0);
    }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<int> m_clicks;
    int m_button;
};

BEGIN_MESSAGE_MAP(CClickedExportPropDlg, CExportPropDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST(CExportPropDlg, ShowsTheOptionsAndTellsWhatOkChanged)
{
    CTalPrefs& prefs = GetTalDocumentApp()->GetPrefs();
    const struct {
        std::vector<int> clicks;
        int button;
        bool changed, grayscaleChanged, showAgain;
        uint8_t titlePage, grayscale;
    } cases[] = {
        {{}, IDOK, false, false, true, 1, 0},
        {{IDC_EXP_SHOW_AGAIN}, IDOK, false, false, false, 1, 0},
        {{IDC_EXP_GRAYSCALE}, IDOK, true, true, true, 1, 1},
        {{IDC_EXP_TITLE_PAGE}, IDOK, true, false, true, 0, 0},
        {{IDC_EXP_TITLE_PAGE, IDC_EXP_GRAYSCALE, IDC_EXP_SHOW_AGAIN}, IDCANCEL, false, false, true, 1, 0},
    };
    for (const auto& c : cases) {
        prefs.SetShowExportDialog(true);
        CTalDocProperties properties;
        properties.m_insertContents = 0;
        properties.m_grayscale = 0;
        CClickedExportPropDlg dialog(&properties, c.clicks, c.button);
        EXPECT_EQ(c.button, dialog.DoModal());
        EXPECT_EQ((std::vector<int>{IDC_EXP_TITLE_PAGE, IDC_EXP_NUMBERING, IDC_EXP_DESCRIPTIONS, IDC_EXP_WATERMARKS,
                                    IDC_EXP_SHOW_AGAIN}),
                  dialog.checkedAtStart);
        EXPECT_EQ(c.changed, dialog.OptionsChanged()) << c.clicks.size() << " " << c.button;
        EXPECT_EQ(c.grayscaleChanged, dialog.GrayscaleChanged()) << c.clicks.size() << " " << c.button;
        EXPECT_EQ(c.showAgain, prefs.GetShowExportDialog()) << c.clicks.size() << " " << c.button;
        EXPECT_EQ(c.titlePage, properties.m_insertTitlePage) << c.clicks.size() << " " << c.button;
        EXPECT_EQ(c.grayscale, properties.m_grayscale) << c.clicks.size() << " " << c.button;
        EXPECT_EQ(0, properties.m_insertContents);
    }
    prefs.SetShowExportDialog(true);
}
