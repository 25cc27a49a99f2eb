#pragma once
// CTalXmlSerializer: reads and writes the report's XML files. One object
// serves one save or one load. It holds the writer shared by all files
// (header, TAB indentation, start tags with attributes in apostrophes,
// end-tag lines, images as Base64), the page-template files and the report
// documents with their pictures.
#include "files/TalDocumentLoad.h"
#include "files/XmlFile.h"
#include "files/XmlValueForms.h"
#include "framework/KWWriteFailureReason.h"
#include "model/TalTemplate.h"
#include "platform/classlib/String.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CKWProgressInterface;
class CTalBaseDocument;
class CTalLoadReport;
class CTalPicture;
class CTalPictureRelocation;
class CTalSection;
class CTalTags;
class CTalTemplateTags;
class CTalTextFormat;

class CTalXmlSerializer {
public:
    CTalXmlSerializer();
    virtual ~CTalXmlSerializer();
    CTalXmlSerializer(const CTalXmlSerializer&) = delete;
    CTalXmlSerializer& operator=(const CTalXmlSerializer&) = delete;

    // Writes the document to the file with its pictures placed by the
    // document's picture storage mode (one outside 0..2 counts as 0). The
    // file is replaced only when everything was written; on false the
    // previous file, the picture files and the model's picture ids are as
    // they were. Picture files that do not exist are listed in the error
    // dialog; the save still succeeds.
    virtual bool SaveDocument(CTalBaseDocument* document, const wchar_t* path, CKWProgressInterface* progress);
    // The next save writes a copy of the document (an archive, a template):
    // its pictures are copied, never moved, and the model keeps its ids.
    void SetSavesCopy(bool copy) { m_savesCopy = copy; }
    // After a save that returned false: the first file or folder that could
    // not be written and the reason; empty when none was met. The document
    // tells only that the save failed.
    CString GetSaveFailure() const;
    // Reads a report file into an empty document through a registered table
    // (the fourth argument is not used). True when the file parsed without
    // error; problems are shown in the error dialog.
    virtual bool LoadDocument(const wchar_t* path, CTalBaseDocument* document, CTalTags* tags, int32_t unused,
                              CKWProgressInterface* progress);

    // Write the template into the template folder under its name; false
    // when the file could not be written in full (a previous file then stays).
    virtual bool SaveTitleTemplate(CTalTemplate* tmpl);
    virtual bool SaveLeafTemplate(CTalTemplate* tmpl);
    // Reads a template file into an empty template of the file's kind
    // through a registered table; true when the file was read without error
    // and holds a template of that kind. The problems met, errors and
    // warnings, are added to problems one per line.
    virtual bool LoadTemplate(const wchar_t* path, CTalTemplateTags* tags, CTalTemplate* tmpl,
                              std::vector<CString>* problems = nullptr);

    // The folder of template files, ending in a path separator; the program
    // folder's "Data" folder unless set.
    void SetTemplateFolder(const CString& folder) { m_templateFolder = folder; }
    const CString& GetTemplateFolder() const { return m_templateFolder; }
    // The file in the template folder that holds the template of that name
    // and kind; empty for a name no template file may have.
    CString GetTemplatePath(const CString& name, bool title) const;
    // The template being loaded, and what the image pre-pass read of its file.
    CTalTemplate* GetCurrentTemplate() const { return m_currentTemplate; }
    const XmlPrepassPictures* GetTemplatePictures() const { return m_templatePictures; }
    // The template file being read with its stamp, while its own bytes are
    // read (not a UTF-8 copy of them); else null.
    const CTalTemplate::FilePicture* GetTemplateFile() const
    {
        return m_templateFile.file.IsEmpty() ? nullptr : &m_templateFile;
    }
    // The document being loaded or saved.
    CTalBaseDocument* GetDocument() const { return m_document; }
    // The state of the load in progress, for the document table.
    CTalDocumentLoad& GetLoad() { return m_load; }

protected:
    // How problems reach the user: the error dialog and a message box.
    virtual void ShowErrors(const CString& heading, const std::vector<CString>& lines);
    virtual void ShowMessage(const CString& text);
    // The output file object (tests give one that fails on purpose).
    void ReplaceStream(std::unique_ptr<CXmlFile> stream) { m_stream = std::move(stream); }
    // Copies a picture file of the document to a target not there yet; 0 or
    // the system's error code (tests give a disk that fills up).
    virtual DWORD CopyPictureFile(const CString& source, const CString& target);

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
    // stored into pictureId. A file that cannot be read is taken anew from
    // where it was read; a report's save that cannot returns false (the
    // failure kept), a template file's writes the element without content.
    bool WriteImageElement(const char* name, int32_t& pictureId);
    // The FileFormat of the file of a picture whose own file is named
    // picture: the type the file's bytes show, else what the picture's name
    // tells (CXmlPreprocessFile::WrittenFormat), which every reader takes.
    std::string PictureFormat(const CString& file, const CString& picture);
    // The Base64 text of a whole file; false when it cannot be opened
    // (GetReadError tells why). WasReadShort tells whether the file gave
    // fewer bytes than its length.
    bool WriteFileAsBase64(const CString& path);
    bool WasReadShort() const { return m_readShort; }
    DWORD GetReadError() const { return m_readError; }
    // The text of the last file written as Base64 stands in the file being
    // written from start on: it is the picture's (of the id, or of the key of
    // a document's picture, whose id is known once the save succeeded).
    void NoteWrittenPicture(const char* element, int64_t start, uint32_t id, int32_t key = 0);
    // After the file was put in place: the store's record of each picture
    // noted names the file, so that a later save takes a picture from there
    // once its store file is gone. A copy written elsewhere leaves the
    // pictures to the file their record names.
    void RecordWrittenPictures(const CString& path);
    // The template's pictures and cells, as the template files hold them;
    // false (the failure kept) when a picture its own file holds could not
    // be read from there as it was.
    bool WriteTemplateContent(CTalTemplate* tmpl, bool title);
    // The picture element with the text of the picture in the template's file.
    bool WriteFilePicture(const char* name, const CTalTemplate::FilePicture& picture);

private:
    struct SaveContext;

    bool SaveTemplate(CTalTemplate* tmpl, bool title);
    bool ReadTemplate(const wchar_t* path, CTalTemplateTags* tags, CTalTemplate* tmpl, CTalLoadReport& report);

    // Document writing.
    void WriteDocumentProperties(SaveContext& save);
    // The format's attributes, after "Type" when a type is given.
    void WriteTextStyle(const char* name, const int32_t* type, const CTalTextFormat& format);
    void WriteWatermarks(SaveContext& save);
    void WriteTree(SaveContext& save, CTalSection* heading);
    uint32_t WriteLeaf(SaveContext& save, CTalSection* section, uint32_t parentId);
    void WriteTextNote(CTalSection* section);
    // The whole link of a refused picture of the key, on an element that
    // names it, where the picture's own start tag holds only its end.
    void WriteWholeLink(SaveContext& save, int32_t key);
    void WriteImages(SaveContext& save);
    void WriteTemplates(SaveContext& save);
    // The key written for a picture; the model learns the new id on success.
    int32_t PlacePicture(SaveContext& save, int32_t pictureId, CKWPictureHold* field, CTalPicture* picture);
    void Advance(SaveContext& save);

    // Document loading, after the parse.
    void ReloadTemplates();
    // Fills the template from its file; its problems join the report.
    bool ReloadTemplate(CTalTemplate* tmpl, bool title, CTalTemplateTags& tags);
    void WriteCarriedTemplates();
    // The report of a load's problems: the first lines shown and the rest
    // counted, also the messages the archive only counted.
    void ReportLoadProblems(int32_t error, const CString& errors, const CString& warnings, int32_t unrecorded);

    std::unique_ptr<CXmlFile> m_stream;
    CString m_targetPath;
    CString m_tempPath;
    int32_t m_depth = 0;
    bool m_readShort = false;
    uint64_t m_readBytes = 0;
    DWORD m_readError = 0;
    // The digest of the bytes the last file written as Base64 gave.
    bool m_readDigested = false;
    std::array<uint8_t, 32> m_readDigest{};
    struct WrittenPicture {
        uint32_t id;
        int32_t key;
        std::string element;
        int64_t start;
        uint64_t bytes;
        std::array<uint8_t, 32> digest;
    };
    std::vector<WrittenPicture> m_writtenPictures;
    bool m_savesCopy = false;
    // The first thing a save could not write, and why: the reason for the
    // system's error, or a reason of its own.
    CString m_failedPath;
    CString m_failedReason;
    // What names each picture a save could not read, nor take anew; the
    // template pictures it took anew, held while the serializer lives.
    std::vector<CString> m_unreadLines;
    std::vector<CKWPictureHold> m_restoredHolds;
    // A report's save refuses to write a picture without its bytes; a
    // template file's writes the element empty.
    bool m_refusesUnread = false;
    void FailSave(const CString& path, const CString& reason);
    void FailSave(const CString& path, DWORD error, KWWriteStep step);
    // The save of a document whose pictures the picture store could not
    // keep fails before anything is written: the file keeps them.
    void FailUnkeptPictures(const CString& path, DWORD error);
    CXmlIndentation m_indentation;
    CString m_templateFolder;
    CTalTemplate* m_currentTemplate = nullptr;
    const XmlPrepassPictures* m_templatePictures = nullptr;
    CTalTemplate::FilePicture m_templateFile;
    CTalBaseDocument* m_document = nullptr;
    CTalDocumentLoad m_load;
};
