#include "controls/KWFontMenuButtons.h"

IMPLEMENT_DYNCREATE(CKWFontMenuButtonBase, CQMXPToolbarButton)
IMPLEMENT_DYNCREATE(CQMXPToolbarFontNameMenuButton, CKWFontMenuButtonBase)
IMPLEMENT_DYNCREATE(CQMXPToolbarFontSizeMenuButton, CKWFontMenuButtonBase)

void CKWFontMenuButtonBase::AssignFrom(const CQMXPToolbarButton& src)
{
    CQMXPToolbarButton::AssignFrom(src);
    if (const auto* other = dynamic_cast<const CKWFontMenuButtonBase*>(&src))
        m_items = other->m_items;
}
