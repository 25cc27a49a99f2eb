#pragma once
// CTalTemplateElements: the elements of a page template below its root
// ("TitleTemplate" or "LeafTemplate"): the preview and background pictures,
// whose data the image pre-pass takes, and the cell rectangles by kind. The
// template files and the documents that carry templates register them alike.
#include "files/TagTable.h"

class CTalTemplate;

class CTalTemplateElements : public CTagTable {
public:
    // The kinds of a template's cells.
    static const int32_t kFirstCellKind = 0;
    static const int32_t kLastCellKind = 10;

protected:
    static const char kTitleTemplate[];
    static const char kLeafTemplate[];

    // Registers the elements under the two roots, which the format has
    // registered before.
    bool RegisterTemplateElements();
    // The template that receives the rectangles of a title or a leaf
    // template's elements; null when they go nowhere.
    virtual CTalTemplate* GetCellTemplate(bool title) const = 0;
    // The picture the image pre-pass gave the preview or the background of
    // the template being read (0: none could be read); -1 when not known.
    virtual int32_t GetPrepassPicture(bool title, bool preview) const = 0;
    // A template's root starts: none of its pictures has been met.
    void BeginTemplate() { m_picturesMet = 0; }

private:
    void OnPictureStart(const CString& name);
    void OnRectArrayStart(const CString& name);
    void OnRectItemEnd(const CString& name);
    void WarnStrayTextHandler(const CString& name);

    // The picture elements met in the template being read (preview 1, background 2).
    uint32_t m_picturesMet = 0;
};
