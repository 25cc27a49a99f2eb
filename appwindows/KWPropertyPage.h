#pragma once
// CKWPropertyPage: the base of the program's property pages; the page record
// has the 48-byte layout and no caption id.
#include "platform/classlib/PropertyPage.h"

#include <cstdint>

class CKWPropertyPage : public CPropertyPage {
    DECLARE_DYNAMIC(CKWPropertyPage)
public:
    static constexpr DWORD kPageRecordSize = 48;

    explicit CKWPropertyPage(UINT nIDTemplate);

    bool HasHelp() const { return m_hasHelp != 0; }

protected:
    uint8_t m_hasHelp = 1;
};
