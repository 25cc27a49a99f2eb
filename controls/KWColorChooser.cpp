#include "controls/KWColorChooser.h"

#include "platform/classlib/ColorDialog.h"

bool CKWColorChooser::DoModal(CWnd* parent)
{
    CColorDialog dialog(m_initial, CC_ANYCOLOR, parent);
    if (dialog.DoModal() != IDOK)
        return false;
    m_chosen = dialog.GetColor();
    return true;
}
