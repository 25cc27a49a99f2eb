#pragma once
// The image gallery's entries: CImItem, one image of a folder (its picture
// id, 0 until the thumbnail is first drawn, and its file path), and
// CFlItem, one opened folder with its images in the order of the scan and
// a serial number taken from a counter of the run.
#include "controls/KWPlItem.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <vector>

class CImItem : public CKWPlItem {
public:
    CImItem(const CString& path, uint32_t pictureId) : m_pictureId(pictureId), m_path(path) {}

    uint32_t m_pictureId;
    CString m_path;
};

class CFlItem : public CKWPlItem {
public:
    explicit CFlItem(const CString& path);
    ~CFlItem() override;

    virtual void AddImage(const CString& path, uint32_t pictureId);

    const CString& GetPath() const { return m_path; }
    const std::vector<CImItem>& GetImages() const { return m_images; }
    int GetSerial() const { return m_serial; }
    // The last component of the path, a trailing backslash ignored.
    CString GetName() const;

private:
    CString m_path;
    std::vector<CImItem> m_images;
    int m_serial;
};
