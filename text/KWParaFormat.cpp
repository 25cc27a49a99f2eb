#include "text/KWParaFormat.h"

#include "framework/KWArchive.h"

double CKWParaFormat::ApplyLineSpacing(double naturalHeight) const
{
    if (m_lineSpacing > 0.0f)
        return m_lineSpacing;
    if (m_lineSpacing < 0.0f)
        return naturalHeight * (-static_cast<double>(m_lineSpacing) / 100.0);
    return naturalHeight;
}

void CKWParaFormat::Serialize(CKWArchive& ar)
{
    float* const values[6] = {&m_leftIndent, &m_rightIndent, &m_firstLine,
                              &m_spaceBefore, &m_spaceAfter, &m_lineSpacing};
    if (ar.IsStoring()) {
        ar.WriteU32(m_count);
        for (float* v : values)
            ar.WriteFloat(*v);
        ar.WriteU8(m_align);
    } else {
        m_count = ar.ReadU32();
        for (float* v : values)
            *v = ar.ReadFloat();
        m_align = ar.ReadU8();
    }
}

const CKWParaFormat& CKWParaFormat::GetDefault()
{
    static const CKWParaFormat defaultFormat;
    return defaultFormat;
}
