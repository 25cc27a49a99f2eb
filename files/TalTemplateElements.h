#pragma once
// CTalTemplateElements: the elements of a page template below its root
// ("TitleTemplate" or "LeafTemplate"): the preview and background pictures
// and the cell rectangles by kind. The template files and the documents that
// carry templates register them alike. A picture element's text is read by
// the image pre-pass where it can (the element is then passed over), else
// by the parser through this table; both tables' picture elements (the
// documents' "Image" too) go through the same reading.
#include "files/TagTable.h"
#include "files/XmlPictureText.h"
#include "files/XmlPrepassPictures.h"
#include "model/TalTemplate.h"


class CTalTemplateElements : public CTagTable {
public:
    // The kinds of a template's cells.
    static const int32_t kFirstCellKind = 0;
    static const int32_t kLastCellKind = 10;

    bool TakeText(const CTagItem* item, const char* text, int length) override;
    // The files hold no element of their own: content the user does not get
    // is said, with the element's line.
    void OnUnknownElement(const CString& name) override;

protected:
    static const char kTitleTemplate[];
    static const char kLeafTemplate[];

    // Registers the elements under the two roots, which the format has
    // registered before.
    bool RegisterTemplateElements();
    // The template that receives the pictures and rectangles of a title or a
    // leaf template's elements; null when they go nowhere.
    virtual CTalTemplate* GetCellTemplate(bool title) const = 0;
    // What the image pre-pass made of the ordinal-th element of the kind;
    // null when it did not see it.
    virtual const XmlPrepassPicture* FindPrepassPicture(XmlPictureKind kind, int32_t ordinal) const = 0;
    // A template's root starts: none of its pictures has been met.
    void BeginTemplate() { m_picturesMet = 0; }

    // A picture element starts. True, with the picture, when the pre-pass
    // read its text (the element is then passed over and its end handler
    // does not run); false when the parser reads the text, until EndPicture.
    bool BeginPicture(const CString& name, XmlPictureKind kind, XmlPrepassPicture& picture);
    // True, with the picture the text gave, at the end of an element whose
    // text the parser read.
    bool EndPicture(const CString& name, XmlPrepassPicture& picture);
    // A picture whose text the parser read that the picture store could not
    // keep (the pre-pass counts those it read itself).
    virtual void OnParsedPictureUnkept(uint32_t storeError) {}
    // The template's own file being read, as a picture of it begins (the
    // file and its stamp); null when what is read is no such file.
    virtual const CTalTemplate::FilePicture* GetOwnFile() const { return nullptr; }
    // True when the template being read is a copy that gives way to the
    // template of its own file (known to the program, or read from its file
    // after the parse): what the copy lacks, that template does not.
    virtual bool GivesWayToItsFile(bool title) const { return false; }

private:
    void OnPictureStart(const CString& name);
    void OnPictureEnd(const CString& name);
    // The picture goes to the template; one that no text gave, that the
    // picture store could not keep or that does not read whole is said.
    void SetTemplatePicture(const CString& name, const XmlPrepassPicture& picture);
    void OnRectArrayStart(const CString& name);
    void OnRectItemEnd(const CString& name);
    void WarnStrayTextHandler(const CString& name);

    // The picture elements met in the template being read (preview 1, background 2).
    uint32_t m_picturesMet = 0;
    // The picture element being read: its FileFormat, and its text when the parser reads it.
    CString m_pictureFormat;
    CXmlPictureText m_pictureText;
};
