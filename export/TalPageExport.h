#pragma once
// TalPageExport: one composed page, a list of positioned objects in drawing
// order (later objects lie on top). The document keeps the list of pages it
// composed; printing, the page view and the writers only read it.
#include <cstdint>
#include <vector>

#include "export/TalObjExport.h"
#include "platform/classlib/String.h"

class CTalSection;
class CTalWatermark;

enum TalPageKind : int32_t {
    kTitlePage = 0,
    kContentsPage = 1,
    kSectionPage = 2,
};

// A writer's own attachment to a page (the HTML export keeps its file names there).
class ExportCustomData {
public:
    virtual ~ExportCustomData() {}
};

class TalPageExport {
public:
    // A null name gives the empty string; the page holds a reference to the
    // section when there is one.
    TalPageExport(int32_t kind, const wchar_t* name, CTalSection* section);
    virtual ~TalPageExport();

    // Appends the object; the page owns it. A null object is ignored.
    void AddObject(TalObjExport* object);

    const CString& GetName() const { return m_name; }
    int32_t GetKind() const { return m_kind; }
    // The section the page was composed from (no reference added); null for
    // the title and contents pages.
    CTalSection* GetSection() const { return m_section; }

    const std::vector<TalObjExport*>& GetObjects() const { return m_objects; }
    int GetObjectCount() const { return static_cast<int>(m_objects.size()); }
    TalObjExport* GetObject(int index) const { return m_objects[index]; }

    ExportCustomData* GetCache() const { return m_cache; }
    // Takes ownership; the previous attachment is deleted.
    void SetCache(ExportCustomData* cache);

    TalPageExport(const TalPageExport&) = delete;
    TalPageExport& operator=(const TalPageExport&) = delete;

private:
    CString m_name;
    std::vector<TalObjExport*> m_objects;  // owned
    ExportCustomData* m_cache = nullptr;   // owned
    int32_t m_kind;
    CTalSection* m_section;                // counted reference
};

// The document's page list: owning pointers in page order.
typedef std::vector<TalPageExport*> TalPageList;

// Every page but the title page; the offset of page-number watermarks.
int CountNumberedPages(const TalPageList& pages);
// Appends a background image when both the page and the key are non-zero.
void AddBackgroundImage(TalPageExport* page, uint32_t imageKey);
// Appends an object per watermark whose send-to-front flag equals onTop.
// Page numbers read first page number + pageOffset.
void AddWatermarks(TalPageExport* page, const std::vector<CTalWatermark*>& watermarks, bool onTop,
                   int pageOffset);
// Deletes every page and empties the list.
void DeletePages(TalPageList& pages);
