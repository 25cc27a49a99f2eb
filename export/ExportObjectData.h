#pragma once
// The records of the export page model: what one object of a composed page
// shows. A record says what (a picture by key, a text with a format, a piece
// of a text note), where (a rectangle in page fractions, or a place code) and
// how; it knows no output format. Consumers tell the kinds apart by GetKind.
//
// Rectangles are (left, top, right, bottom) in fractions of the page; place
// codes 0-8 are the cells of a three-by-three grid in reading order.
#include <cstdint>

#include "export/TextExportLine.h"
#include "framework/KWDoubleRect.h"
#include "platform/classlib/String.h"

class CTalDocProperties;
class CTalTextFormat;
class CTalTextNote;

enum ExportObjectKind : int32_t {
    kExportText = 1,            // ExportTextData: a block of a text note
    kExportCommonImage = 2,     // ExportCommonImageData: a section's picture (or the logo)
    kExportImage = 3,           // ExportImageData: a template's background image
    kExportSimpleText = 4,      // ExportSimpleTextData: heading, title-page text, contents entry
    kExportWatermarkText = 5,   // ExportWatermarkTextData: watermark text or page number
    kExportWmImage = 6,         // ExportWmImageData: watermark picture
};

enum : int32_t {
    kPlaceTopLeft = 0,
    kPlaceTopCentre = 1,
    kPlaceCentre = 4,
    kPlaceBottomRight = 8,
};

// GetFont's alignment values: the paragraph alignment code times 65536.
enum : int32_t {
    kExportAlignLeft = 0,
    kExportAlignCentre = 0x10000,
    kExportAlignRight = 0x20000,
};

class ExportObjectData {
public:
    explicit ExportObjectData(int32_t kind) : m_kind(kind) {}
    virtual ~ExportObjectData() {}

    virtual void SetPlace(int32_t place);
    // The whole page.
    virtual CKWDoubleRect GetRect() const;
    // The centre.
    virtual int32_t GetPlace() const;
    // Empty name, 0.0, 0, 0: the base carries no format.
    virtual void GetFont(CString& name, double& size, int& style, int& alignment,
                         const CTalDocProperties* document) const;

    int32_t GetKind() const { return m_kind; }

    ExportObjectData(const ExportObjectData&) = delete;
    ExportObjectData& operator=(const ExportObjectData&) = delete;

protected:
    // "Arial", 18.0, style 0, centred, then what the format says; the face
    // from the document's font table when a document is given.
    static void FontFromFormat(const CTalTextFormat* format, CString& name, double& size, int& style,
                               int& alignment, const CTalDocProperties* document);

private:
    int32_t m_kind;
};

// Kind 3, and the base of the picture kinds: an image by key, over the whole page.
class ExportImageData : public ExportObjectData {
public:
    explicit ExportImageData(uint32_t imageKey, int32_t kind = kExportImage)
        : ExportObjectData(kind), m_imageKey(imageKey) {}

    virtual int32_t GetRotation() const { return 0; }
    virtual CString GetString() const { return CString(); }
    virtual bool GetGrayscale() const { return false; }
    virtual const CTalTextFormat* GetFormat() const { return nullptr; }
    virtual void GetSize(double& width, double& height) const { width = height = 0.0; }
    virtual void SetRotation(int32_t) {}
    virtual void SetRect(const CKWDoubleRect&) {}
    virtual void SetString(const CString&) {}
    virtual void SetGrayscale(bool) {}
    virtual void SetFormat(const CTalTextFormat*) {}
    virtual void SetSize(double, double) {}

    uint32_t GetImageKey() const { return m_imageKey; }
    void SetImageKey(uint32_t key) { m_imageKey = key; }

private:
    uint32_t m_imageKey;
};

// Kind 2: a picture in a rectangle, with rotation, grey scale and an optional description.
class ExportCommonImageData : public ExportImageData {
public:
    explicit ExportCommonImageData(uint32_t imageKey) : ExportImageData(imageKey, kExportCommonImage) {}

    CKWDoubleRect GetRect() const override { return m_rect; }
    void GetFont(CString& name, double& size, int& style, int& alignment,
                 const CTalDocProperties* document) const override;
    int32_t GetRotation() const override { return m_rotation; }
    CString GetString() const override { return m_description; }
    bool GetGrayscale() const override { return m_grayscale != 0; }
    const CTalTextFormat* GetFormat() const override { return m_format; }
    void SetRotation(int32_t rotation) override { m_rotation = rotation; }
    void SetRect(const CKWDoubleRect& rect) override { m_rect = rect; }
    void SetString(const CString& description) override { m_description = description; }
    void SetGrayscale(bool grayscale) override { m_grayscale = grayscale ? 1 : 0; }
    void SetFormat(const CTalTextFormat* format) override { m_format = format; }

private:
    int32_t m_rotation = 0;
    CKWDoubleRect m_rect;
    CString m_description;
    uint8_t m_grayscale = 0;
    const CTalTextFormat* m_format = nullptr;  // the document's, not owned
};

// Kind 6: a watermark picture of a given size, placed by its place code.
class ExportWmImageData : public ExportImageData {
public:
    explicit ExportWmImageData(uint32_t imageKey) : ExportImageData(imageKey, kExportWmImage) {}

    void SetPlace(int32_t place) override { m_place = place; }
    int32_t GetPlace() const override { return m_place; }
    void GetSize(double& width, double& height) const override
    {
        width = m_width;
        height = m_height;
    }
    void SetSize(double width, double height) override
    {
        m_width = width;
        m_height = height;
    }

private:
    double m_width = 0.0;
    double m_height = 0.0;
    int32_t m_place = kPlaceCentre;
};

// Kind 4: a plain text in a rectangle.
class ExportSimpleTextData : public ExportObjectData {
public:
    ExportSimpleTextData() : ExportObjectData(kExportSimpleText) {}

    CKWDoubleRect GetRect() const override { return m_rect; }
    void GetFont(CString& name, double& size, int& style, int& alignment,
                 const CTalDocProperties* document) const override;
    virtual CString GetText() const { return m_text; }
    virtual const CTalTextFormat* GetFormat() const { return m_format; }
    virtual void SetRect(const CKWDoubleRect& rect) { m_rect = rect; }
    virtual void SetText(const CString& text) { m_text = text; }
    virtual void SetFormat(const CTalTextFormat* format) { m_format = format; }

private:
    CString m_text;
    CKWDoubleRect m_rect;
    const CTalTextFormat* m_format = nullptr;  // the document's, not owned
};

// Kind 5: a watermark text or page number, placed by its place code.
class ExportWatermarkTextData : public ExportObjectData {
public:
    ExportWatermarkTextData() : ExportObjectData(kExportWatermarkText) {}

    void SetPlace(int32_t place) override { m_place = place; }
    int32_t GetPlace() const override { return m_place; }
    void GetFont(CString& name, double& size, int& style, int& alignment,
                 const CTalDocProperties* document) const override;
    virtual CString GetText() const { return m_text; }
    virtual const CTalTextFormat* GetFormat() const { return m_format; }
    virtual void SetText(const CString& text) { m_text = text; }
    virtual void SetFormat(const CTalTextFormat* format) { m_format = format; }

private:
    CString m_text;
    int32_t m_place = kPlaceCentre;
    const CTalTextFormat* m_format = nullptr;  // the watermark's own, not owned
};

// Kind 1: one block of a section's text note, laid out into one rectangle.
// The runs of the note carry their own formats, so GetFont stays the base's.
class ExportTextData : public ExportObjectData {
public:
    ExportTextData() : ExportObjectData(kExportText) {}

    CKWDoubleRect GetRect() const override { return m_rect; }
    virtual void SetRect(const CKWDoubleRect& rect) { m_rect = rect; }

    CTalTextNote* GetNote() const { return m_note; }
    void SetNote(CTalTextNote* note) { m_note = note; }
    // Where the block begins in the note's text.
    int32_t GetStart() const { return m_start; }
    void SetStart(int32_t start) { m_start = start; }
    // Where the next block begins; -1 when this one runs to the end of the text.
    int32_t GetEnd() const { return m_end; }
    void SetEnd(int32_t end) { m_end = end; }
    const TextExportLine& GetLines() const { return m_lines; }
    void SetLines(const TextExportLine& lines) { m_lines.Copy(lines); }

private:
    CKWDoubleRect m_rect;
    CTalTextNote* m_note = nullptr;  // the section's, not owned
    int32_t m_start = 0;
    int32_t m_end = -1;
    TextExportLine m_lines;
};
