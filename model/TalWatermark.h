#pragma once
// CTalWatermark: the plain record of one watermark of the report: a text, an
// image or the page number, repeated on the section pages of the generated
// report. Owned by the document properties (not counted).
#include <cstdint>

#include "framework/KWDoubleRect.h"
#include "framework/KWPictureHold.h"
#include "model/TalTextFormat.h"
#include "platform/classlib/String.h"

class CTalWatermark {
public:
    enum : int32_t { kText = 0, kImage = 1, kPageNumber = 2 };
    // Unit codes of the measurement-unit table that the watermark uses. Every
    // code other than millimetres counts as inches, the default 7 included.
    enum : int32_t { kUnitInch = 4, kUnitDefault = 7, kUnitMillimetre = 8 };
    // Place codes: row * 3 + column over a 3 x 3 grid of the page.
    enum : int32_t { kPlaceTopLeft = 0, kPlaceTopCentre = 1, kPlaceCentre = 4, kPlaceBottomRight = 8 };
    static constexpr double kInchesPerMillimetre = 0.03937007874015748;

    CTalWatermark() = default;
    CTalWatermark(const CTalWatermark& other) = default;
    CTalWatermark& operator=(const CTalWatermark& other) = default;
    virtual ~CTalWatermark();

    // Width and height of an image watermark in inches (millimetres are converted).
    double GetWidthInInches() const { return ToInches(m_width); }
    double GetHeightInInches() const { return ToInches(m_height); }
    // The image's rectangle on a page of the given size (inches, no margins)
    // for the place code: column 0 left edge, 1 centred, 2 right edge; rows alike.
    CKWDoubleRect GetImageRect(double pageWidth, double pageHeight) const;
    // The number shown on the report page at pageIndex (0 = the first page of
    // the report): the first number plus the pages before it, a leading title
    // page not counted (a contents page counts).
    int32_t GetPageNumber(int32_t pageIndex, bool titlePageFirst) const;
    // The text of a page-number watermark on that page ("%d").
    CString FormatPageNumber(int32_t pageIndex, bool titlePageFirst) const;
    bool IsMillimetres() const { return m_unit == kUnitMillimetre; }

    int32_t m_kind = kText;
    uint8_t m_sendToFront = 0;
    CString m_name;
    int32_t m_place = kPlaceTopCentre;
    CTalTextFormat m_textFormat;
    CString m_text;
    int32_t m_firstNumber = 1;
    // The image part, copied as one unit; the picture is held while named.
    CKWPictureHold m_pictureId;
    uint8_t m_constrain = 1;
    int32_t m_unit = kUnitDefault;
    double m_width = 0;
    double m_height = 0;
    // Copied with the watermark; nothing reads it.
    CKWDoubleRect m_spareRect;

private:
    double ToInches(double value) const { return IsMillimetres() ? value * kInchesPerMillimetre : value; }
};

// Equality of every field, the spare rectangle included.
bool operator==(const CTalWatermark& a, const CTalWatermark& b);
