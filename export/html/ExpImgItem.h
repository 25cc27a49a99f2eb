#pragma once
// CExpImgItem: one image file written by an export. The HTML export keeps the
// grey-scale flag as the kind byte and the rotation as the format word, so
// two uses of a picture share a file exactly when IsSameKind holds.
#include <cstdint>

#include "platform/classlib/String.h"

class CExpImgItem {
public:
    CExpImgItem(int32_t width, int32_t height, uint16_t format, uint8_t kind, const CString& fileName);
    virtual ~CExpImgItem();

    // Same kind byte and same format word.
    bool IsSameKind(const CExpImgItem& other) const;

    uint8_t m_kind;
    uint16_t m_format;
    int32_t m_width;
    int32_t m_height;
    CString m_fileName;
};
