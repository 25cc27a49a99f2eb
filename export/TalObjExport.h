#pragma once
// TalObjExport: one positioned object of a composed page. It owns one record
// of the ExportObjectData family and carries a serial number, unique in the
// run, that the writers use to name the objects they emit.
#include <cstdint>

#include "export/ExportObjectData.h"

class TalObjExport {
public:
    // Kind 2: a picture in a rectangle. Description and its format are set
    // afterwards on the record (SetString, SetFormat).
    TalObjExport(uint32_t pictureKey, const CKWDoubleRect& rect, int32_t rotation, bool grayscale);
    // Kind 3: a background image over the whole page.
    explicit TalObjExport(uint32_t imageKey);
    // Kind 4: a plain text in a rectangle.
    TalObjExport(const CString& text, const CKWDoubleRect& rect, const CTalTextFormat* format);
    // Kind 5: a watermark text or page number at a place.
    TalObjExport(const CString& text, int32_t place, const CTalTextFormat* format);
    // Kind 6: a watermark picture of a size at a place.
    TalObjExport(uint32_t imageKey, double width, double height, int32_t place);
    // Kind 1: a block of a text note; the lines are copied in.
    TalObjExport(CTalTextNote* note, int32_t start, int32_t end, const CKWDoubleRect& rect,
                 const TextExportLine& lines);
    virtual ~TalObjExport();

    ExportObjectData* GetData() const { return m_data; }
    int32_t GetKind() const { return m_data->GetKind(); }
    int32_t GetSerial() const { return m_serial; }

    // The record when it is an image of kind 2, 3 or 6, else null.
    ExportImageData* GetImageRecord() const;
    // The record when it is a watermark text (kind 5), else null.
    ExportWatermarkTextData* GetWatermarkTextRecord() const;

    // The serial the next object will take.
    static int32_t PeekNextSerial();

    TalObjExport(const TalObjExport&) = delete;
    TalObjExport& operator=(const TalObjExport&) = delete;

private:
    explicit TalObjExport(ExportObjectData* data);

    ExportObjectData* m_data;  // owned
    int32_t m_serial;
};
