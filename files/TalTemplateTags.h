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
    // The root element read since the table was given a file (empty: none).
    const CString& GetRootName() const { return m_root; }
    void BeginFile() { m_root.Empty(); }

protected:
    CTalTemplate* GetCellTemplate(bool title) const override;
    const XmlPrepassPicture* FindPrepassPicture(XmlPictureKind kind, int32_t ordinal) const override;
    const CTalTemplate::FilePicture* GetOwnFile() const override;

private:
    void OnRootStart(const CString& name);
    void OnRootEnd(const CString& name);

    CString m_root;
};
