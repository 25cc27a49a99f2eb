#pragma once
// CTalFileNamesData: the drag-and-drop record of image file paths from the
// image gallery: record 3 holds a count and the paths.
#include <cstdint>
#include <vector>

#include "framework/KWSerialData.h"
#include "platform/classlib/String.h"

class CTalFileNamesData : public CKWSerialData {
public:
    enum : uint8_t { kFileNamesTag = 3 };

    explicit CTalFileNamesData(const std::vector<CString>& names = std::vector<CString>());
    ~CTalFileNamesData() override;

    // Loading empties the list first; false when the block lacks the record.
    bool Serialize(CKWArchive& ar) override;

    const std::vector<CString>& GetNames() const { return m_names; }

private:
    std::vector<CString> m_names;
};
