#pragma once
// CKWTextLine: one text segment of a laid-out line as the exports draw it:
// characters [start, end) of one run, placed in the rectangle the lines were
// laid out in. Geometry in tenths of a millimetre from that rectangle's left
// and top edges: the segment's top-left corner, its top-right corner, the end
// of its baseline and its bottom-left corner.
#include <cstdint>
#include <vector>

class CKWCharFormat;

struct CKWTextLine {
    double m_left = 0;         // where the first character starts
    double m_top = 0;          // top of the run's font box
    double m_topRightX = 0;    // = m_right
    double m_topRightY = 0;    // = m_top
    double m_right = 0;        // where the last character ends
    double m_baseline = 0;     // the line's baseline: text is set on it
    double m_bottomLeftX = 0;  // = m_left
    double m_bottom = 0;       // bottom of the run's line box
    int32_t m_start = 0;       // first character
    int32_t m_end = 0;         // after the last character
    const CKWCharFormat* m_format = nullptr;  // the run's format, not owned

    // Copies the eight geometry values of another record.
    void CopyBox(const CKWTextLine& other)
    {
        m_left = other.m_left;
        m_top = other.m_top;
        m_topRightX = other.m_topRightX;
        m_topRightY = other.m_topRightY;
        m_right = other.m_right;
        m_baseline = other.m_baseline;
        m_bottomLeftX = other.m_bottomLeftX;
        m_bottom = other.m_bottom;
    }
};

class CKWTextLineVector : public std::vector<CKWTextLine> {
public:
    int GetSize() const { return static_cast<int>(size()); }
};
