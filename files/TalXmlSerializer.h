#pragma once
// CTalXmlSerializer: reads and writes the report's XML files. One object
// serves one save or one load. This part holds the writer shared by all
// files (header, TAB indentation, start tags with attributes in apostrophes,
// end-tag lines, images as Base64) and the page-template files.
#include "files/XmlFile.h"
#include "files/XmlValueForms.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <memory>
#include <string>

class CTalTemplate;
class CTalTemplateTags;

class CTalXmlSerializer {
public:
    CTalXmlSerializer();
    virtual ~CTalXmlSerializer();
    CTalXmlSerializer(const CTalXmlSerializer&) = delete;
    CTalXmlSerializer& operator=(const CTalXmlSerializer&) = delete;

    // Write the template into the template folder under its name; false
    // when the file could not be written in full (a previous file then stays).
    virtual bool SaveTitleTemplate(CTalTemplate* tmpl);
    virtual bool SaveLeafTemplate(CTalTemplate* tmpl);
    // Reads a template file into an empty template of the file's kind
    // through a registered table; true when the file was read without error.
    virtual bool LoadTemplate(const wchar_t* path, CTalTemplateTags* tags, CTalTemplate* tmpl);

    // The folder of template files, ending in a path separator.
    void SetTemplateFolder(const CString& folder) { m_templateFolder = folder; }
    const CString& GetTemplateFolder() const { return m_templateFolder; }
    // The template being loaded.
    CTalTemplate* GetCurrentTemplate() const { return m_currentTemplate; }

protected:
    // Writing goes to a new file beside the target, which replaces the
    // target only when everything was written.
    bool OpenStream(const CString& path);
    bool CommitStream();
    void DiscardStream();
    CXmlFile& GetStream() { return *m_stream; }

    void WriteHeader();
    // Indentation, "<" and the name; attributes follow, then EndStartTag.
    void BeginStartTag(const char* name);
    // " name='value'" with the value as given (already in its form).
    void WriteAttribute(const char* name, const std::string& value);
    void WriteTextAttribute(const char* name, const CString& value);
    void WriteIntAttribute(const char* name, int32_t value);
    void WriteRealAttribute(const char* name, double value);
    void WriteShortRealAttribute(const char* name, double value);
    // ">" and a line feed; one level deeper.
    void EndStartTag();
    // One level up; indentation, the end tag and a line feed.
    void WriteEndTag(const char* name);
    // An image element whose content is the Base64 text of the picture's
    // file, copied into the picture store first; the id of the copy is
    // stored into pictureId.
    void WriteImageElement(const char* name, int32_t& pictureId);
    // The Base64 text of a whole file; false when it cannot be opened.
    bool WriteFileAsBase64(const CString& path);

private:
    bool SaveTemplate(CTalTemplate* tmpl, bool title);

    std::unique_ptr<CXmlFile> m_stream;
    CString m_targetPath;
    CString m_tempPath;
    int32_t m_depth = 0;
    CXmlIndentation m_indentation;
    CString m_templateFolder;
    CTalTemplate* m_currentTemplate = nullptr;
};
