#pragma once
// CTalTemplate: the layout of a report page as rectangles (cells, in page
// fractions) grouped by cell kind, with a name (the key the manager finds it
// by), a title (shown and sorted by) and the picture ids of its background
// and preview images (0: none), which it holds in the picture store.
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "framework/KWDoubleRect.h"
#include "framework/KWPictureHold.h"
#include "platform/classlib/String.h"

typedef std::vector<CKWDoubleRect> CTalCellList;

class CTalTemplate {
public:
    // Cell kinds of a page template.
    enum : int32_t { kCellHeading = 1, kCellText = 2, kCellPictures = 3 };
    // Cell kinds of a title-page template.
    enum : int32_t {
        kCellTitle = 4,
        kCellSubject = 5,
        kCellAuthor = 6,
        kCellCompany = 7,
        kCellDescription = 8,
        kCellLogo = 9,
        kCellDate = 10,
    };

    CTalTemplate() = default;
    virtual ~CTalTemplate();
    CTalTemplate(const CTalTemplate&) = delete;
    CTalTemplate& operator=(const CTalTemplate&) = delete;

    virtual CString GetName() const { return m_name; }
    virtual CString GetTitle() const { return m_title; }
    virtual int32_t GetBackgroundPictureId() const { return m_backgroundId; }
    virtual int32_t GetPreviewPictureId() const { return m_previewId; }
    virtual void SetName(const CString& name) { m_name = name; }
    virtual void SetTitle(const CString& title) { m_title = title; }
    virtual void SetBackgroundPictureId(int32_t id) { m_backgroundId = id; }
    virtual void SetPreviewPictureId(int32_t id) { m_previewId = id; }
    // Appends a copy of the rectangle to the kind's list, making the list first.
    virtual void AddCell(int32_t kind, const CKWDoubleRect& rect);
    // The kind's list in the order added; null when the kind has no cell.
    virtual const CTalCellList* GetCells(int32_t kind) const;

    // Pictures of the file it was read from that the picture store could not
    // keep: it lacks them, so it is written nowhere, and a file that holds it
    // whole fills it again.
    bool HasUnkeptPictures() const { return m_unkeptPictures; }
    // error: the system's error the store met (0: a write that fell short).
    void SetUnkeptPictures(bool unkept, uint32_t error = 0)
    {
        m_unkeptPictures = unkept;
        m_unkeptError = unkept ? error : 0;
    }
    uint32_t GetUnkeptError() const { return m_unkeptError; }
    // A picture the picture store could not keep that the template's own
    // file holds whole: the file, where the picture's text lies in it, the
    // text's digest and its format. A template written while it has no
    // picture of its own takes the text from there, whatever the store.
    struct FilePicture {
        CString file;
        int64_t textStart = -1;
        int64_t textEnd = -1;
        // The digest of the text as it was read.
        std::array<uint8_t, 32> textDigest{};
        CString format;
    };
    void SetFilePicture(bool background, const FilePicture& picture) { m_filePictures[background ? 1 : 0] = picture; }
    // Null when its file holds no such picture.
    const FilePicture* GetFilePicture(bool background) const
    {
        const FilePicture& picture = m_filePictures[background ? 1 : 0];
        return picture.file.IsEmpty() ? nullptr : &picture;
    }
    void ClearFilePictures() { m_filePictures[0] = m_filePictures[1] = FilePicture(); }
    // Takes the title, pictures and cells of the other template, which is
    // left empty; the name stays.
    void TakeContent(CTalTemplate& other);

private:
    int32_t m_unused = -1;  // set at construction, read by nothing
    std::map<int32_t, CTalCellList> m_cells;
    CString m_name;
    CString m_title;
    CKWPictureHold m_backgroundId;
    CKWPictureHold m_previewId;
    bool m_unkeptPictures = false;
    uint32_t m_unkeptError = 0;
    FilePicture m_filePictures[2];  // preview, background
};
