#pragma once
// CTalTemplateTags: the elements of the page-template files (root
// "TitleTemplate" or "LeafTemplate") and their handlers. While a template
// loads, the table's target is the serializer, whose current template is the
// one being filled.
#include "files/TalTemplateElements.h"

class CTalTemplateTags : public CTalTemplateElements {
public:
    CTalTemplateTags() = default;
    bool RegisterTags() override;

protected:
    CTalTemplate* GetCellTemplate(bool title) const override;

private:
    void OnRootEnd(const CString& name);
};
