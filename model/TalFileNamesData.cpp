#include "model/TalFileNamesData.h"

#include "framework/KWArchive.h"

CTalFileNamesData::CTalFileNamesData(const std::vector<CString>& names) : m_names(names) {}

CTalFileNamesData::~CTalFileNamesData() = default;

// Block: record 3, a u32 count and the paths.
bool CTalFileNamesData::Serialize(CKWArchive& ar)
{
    if (ar.IsStoring()) {
        ar.BeginRecord(kFileNamesTag);
        ar.WriteU32(static_cast<uint32_t>(m_names.size()));
        for (const CString& name : m_names)
            ar.WriteString(name);
        ar.EndRecord();
        return true;
    }

    m_names.clear();
    if (!ar.BeginRecord(kFileNamesTag))
        return false;
    const uint32_t count = ar.ReadU32();
    for (uint32_t i = 0; i < count; ++i) {
        CString name;
        ar.ReadString(name);
        m_names.push_back(name);
    }
    ar.EndRecord();
    return true;
}
