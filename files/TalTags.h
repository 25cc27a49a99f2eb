#pragma once
// CTalTags: the elements of the report documents (root "TallierDocument")
// and the handlers that rebuild the document model from them. One table
// serves one parse; its target is the CTalXmlSerializer of the load, whose
// load state holds the pictures of the image pre-pass and collects the
// templates to reload or write.
#include "files/TalTemplateElements.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWPictureHold.h"
#include "framework/KWRefPtr.h"
#include "model/TalTextFormat.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class CTalDocProperties;
class CTalPageTemplate;
class CTalSection;
class CTalTemplate;
class CTalWatermark;
class CTalXmlSerializer;
struct CTalDocumentLoad;

class CTalTags : public CTalTemplateElements {
public:
    // Sections nest at most this deep; deeper ones are placed under the heading.
    static const int32_t kMaxSectionDepth = 256;
    // Characters may be spread or squeezed by this many points at most.
    static constexpr double kMaxCharacterSpacing = 1000.0;
    // Indents, spacings and sizes, in tenths of a millimetre or inches: ten metres.
    static constexpr double kMaxLength = 100000.0;

    CTalTags();
    ~CTalTags() override;
    bool RegisterTags() override;

    // After the parse: a file that ended early is completed as far as it was
    // read (tree linked, pictures and templates resolved).
    void FinishDocument();


protected:
    CTalTemplate* GetCellTemplate(bool title) const override;
    const XmlPrepassPicture* FindPrepassPicture(XmlPictureKind kind, int32_t ordinal) const override;
    bool GivesWayToItsFile(bool title) const override;

private:
    // One section read from the file (a "Leaf").
    struct PendingPicture {
        int32_t key = 0;
        int32_t grayscale = 0;
        CString description;
        int32_t angle = 0;
        uint8_t shown = 1;
        int32_t useDescription = 1;
        uint8_t newPage = 1;
    };
    struct SectionRecord {
        int32_t id = 0;
        int32_t parentId = 0;
        int32_t templateNumber = -1;
        CKWRefPtr<CTalSection> section;
        std::vector<PendingPicture> pending;
        int32_t depth = 0;  // below the heading
        bool linked = false;
        // The section's template number and note are read from the first
        // element of each; a later one is skipped with a warning.
        bool templateRead = false;
        bool noteRead = false;
    };
    // A model field that receives the picture of a key once the file named
    // it; the warning to give when the file holds no image of that key.
    struct PendingReference {
        CKWPictureHold* field;
        int32_t key;
        CString missing;
    };
    struct EmbeddedTemplate {
        std::unique_ptr<CTalTemplate> tmpl;
        int32_t id;
    };

    CTalXmlSerializer* GetSerializer() const;
    CTalDocumentLoad* GetLoad() const;
    int32_t GetStorageMode() const;
    // The record of the innermost open "Leaf", made from its cell when missing; -1 outside.
    int32_t CurrentRecord();
    void LinkTree();
    void AddPicture(SectionRecord& record, const PendingPicture& picture, int32_t id);
    // A refused link too long for an embedded picture's start tag, whole on
    // an element that names the picture of the key.
    void NoteWholeLink(const CNewParamCell& cell, int32_t key);
    // The picture an "Image" of storage mode 0 gave (0: none) goes to its
    // key; one the picture store could not keep is a picture of no file.
    void AddEmbeddedPicture(const XmlPrepassPicture& picture);
    // An "Image" of no data that names a refused link: its placeholder, named so.
    void AddRefusedLink();
    void OnParsedPictureUnkept(uint32_t storeError) override;
    void ResolvePictures();
    void ResolveTemplates();
    void ReadTextStyle(const CNewParamCell& cell, CTalTextFormat& format) const;
    // The path an "Image" of storage mode 1 or 2 names; empty (with a
    // warning) when the reference would leave the document's picture folder
    // or open a device.
    CString ResolvePicturePath(const CString& reference, int32_t mode);
    // Font indices as the file wrote them to the document's table: runs and
    // text formats read by this parse name the fonts the file meant.
    void MoveFontIndices();
    // A font index named by a text note, text format or watermark style; one
    // the file's font list does not hold is said once, with the font that
    // stands in for it.
    void NoteFontIndex(uint32_t index, const wchar_t* what);
    void WarnMissingFonts();

    // Handlers (start or end of the element named).
    // Elements that stand once in a document: a later one is skipped.
    void OnOnceStart(const CString& name);
    void OnRootStart(const CString& name);
    void OnRootEnd(const CString& name);
    void OnPageSizeEnd(const CString& name);
    void OnPrintEnd(const CString& name);
    void OnFontNameEnd(const CString& name);
    void OnFontArrayEnd(const CString& name);
    void OnTitlePageEnd(const CString& name);
    void OnExportEnd(const CString& name);
    void OnCharMapItemEnd(const CString& name);
    void OnWatermarkStart(const CString& name);
    void OnWCharMapItemStart(const CString& name);
    void OnWCharMapItemEnd(const CString& name);
    void OnWatermarkEnd(const CString& name);
    void OnTitleTemplateStart(const CString& name);
    void OnLeafTemplateStart(const CString& name);
    void OnTreeEnd(const CString& name);
    void OnLeafStart(const CString& name);
    void OnLeafEnd(const CString& name);
    void OnLeafsStart(const CString& name);
    void OnCurLeafTemplateStart(const CString& name);
    void OnCurLeafTemplateEnd(const CString& name);
    void OnImageListItemEnd(const CString& name);
    void OnImagesStart(const CString& name);
    void OnImageStart(const CString& name);
    void OnImageEnd(const CString& name);
    void OnTextNoteStart(const CString& name);
    void OnTextNoteEnd(const CString& name);
    void OnCharacterItemEnd(const CString& name);
    void OnParagrafItemEnd(const CString& name);

    CTalDocProperties* m_props = nullptr;
    std::vector<SectionRecord> m_records;
    int32_t m_headingRecord = -1;
    size_t m_linkedRecords = 0;  // records whose ID problems were reported
    std::vector<int32_t> m_leafStack;
    int32_t m_noteRecord = -1;
    std::vector<PendingReference> m_pendingReferences;
    std::vector<EmbeddedTemplate> m_embeddedTemplates;
    // Pictures named by "Image" elements (storage modes 1 and 2): key to id.
    std::map<int32_t, int32_t> m_filePictures;
    // The keys of the "Image" elements met.
    std::set<int32_t> m_imageKeys;
    // The "Image" being read: its key (when it has one) and the name of the
    // empty file whose placeholder it holds (empty for any other picture).
    bool m_imageKeyRead = false;
    int32_t m_imageKey = 0;
    CString m_imageEmptyFile;
    CString m_imageRefusedLink;
    // Refused links too long for an embedded picture's start tag, as the
    // elements naming their pictures hold them whole: key to link.
    std::map<int32_t, CString> m_listedLinks;
    CKWIndexMap m_fontNames;
    // File font index to the document table's, where they differ.
    std::map<uint32_t, uint32_t> m_fontMoves;
    // The indices the file's font list gives, and those named elsewhere
    // with what first named them.
    std::set<uint32_t> m_fileFontIndices;
    std::map<uint32_t, const wchar_t*> m_namedFonts;
    // The elements met that stand once in a document.
    std::set<std::wstring> m_onceMet;
    // The text-format ids read, and the watermarks read.
    std::set<int32_t> m_textFormatIds;
    std::vector<CTalWatermark*> m_watermarksRead;
    // The title template whose cells the file carries, when it is new.
    CTalTemplate* m_titleCells = nullptr;
    bool m_watermarkStyleRead = false;
    // The latest watermark style read in the file, whichever watermark held it.
    bool m_anyWatermarkStyle = false;
    CTalTextFormat m_watermarkStyle;
    bool m_rootStarted = false;
    bool m_rootEnded = false;
};
