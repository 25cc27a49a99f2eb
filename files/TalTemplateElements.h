#pragma once
// CTalTemplateElements: the elements of a page template below its root
// ("TitleTemplate" or "LeafTemplate"): the preview and background pictures,
// whose data the image pre-pass takes, and the cell rectangles by kind. The
// template files and the documents that carry templates register them alike.
#include "files/TagTable.h"

class CTalTemplate;

class CTalTemplateElements : public CTagTable {
protected:
    static const char kTitleTemplate[];
    static const char kLeafTemplate[];

    // Registers the elements under the two roots, which the format has
    // registered before.
    bool RegisterTemplateElements();
    // The template that receives the rectangles of a title or a leaf
    // template's elements; null when they go nowhere.
    virtual CTalTemplate* GetCellTemplate(bool title) const = 0;

private:
    void OnRectItemEnd(const CString& name);
};
