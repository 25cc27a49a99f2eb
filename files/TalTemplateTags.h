#pragma once
// CTalTemplateTags: the elements of the page-template files (root
// "TitleTemplate" or "LeafTemplate") and their handlers. While a template
// loads, the table's target is the serializer, whose current template is the
// one being filled.
#include "files/TagTable.h"

class CTalTemplate;

class CTalTemplateTags : public CTagTable {
public:
    CTalTemplateTags() = default;
    bool RegisterTags() override;

private:
    CTalTemplate* GetTemplate() const;

    void OnRootEnd(const CString& name);
    void OnRectItemEnd(const CString& name);
};
