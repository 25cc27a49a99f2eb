#pragma once
// CNewSaxInterface: the SAX sink of one parse. It keeps the stack of open
// elements, checks that each stands under an allowed parent, skips misplaced
// subtrees and elements whose handlers ask for it, gathers each element's
// attributes and text into its parameter cell and calls its handlers.
//
// libxml2 reaches the sink through plain functions and one program-wide
// pointer to the current sink, so one parse runs at a time.
#include "files/TagTable.h"
#include "platform/classlib/String.h"

#include <libxml/parser.h>

#include <cstdint>
#include <vector>

class CNewXmlArch;

class CNewSaxInterface {
public:
    explicit CNewSaxInterface(CNewXmlArch* archive);
    // Stops being the current sink.
    ~CNewSaxInterface();
    CNewSaxInterface(const CNewSaxInterface&) = delete;
    CNewSaxInterface& operator=(const CNewSaxInterface&) = delete;

    // The sink of the parse that runs, or null.
    static CNewSaxInterface* GetCurrent();
    // Records that the reader refused to load an external entity.
    static void ReportRefusedEntity(const char* url);

    void SetTagTable(CTagTable* table) { m_table = table; }
    // Fills the handler table and makes this the current sink.
    xmlSAXHandler* BuildHandler();
    void SetContext(xmlParserCtxtPtr context) { m_context = context; }

    // Line and column of the parser, -1 without a locator or context.
    int32_t GetLineNumber() const;
    int32_t GetColumnNumber() const;
    CString GetPublicId() const;
    CString GetSystemId() const;
    int32_t GetDepth() const { return static_cast<int32_t>(m_stack.size()); }
    bool IsSkipping() const { return m_skipIndex >= 0; }
    // The innermost element whose end tag has not come, with the line of its
    // start tag; false when none is open.
    bool GetOpenElement(CString& name, int32_t& line) const;

    // Skips the element of that name nearest the top of the stack, from
    // now to its end tag, and deletes its current cell.
    bool SkipElement(const CString& name);

    // The SAX events.
    void OnSetDocumentLocator(xmlSAXLocatorPtr locator) { m_locator = locator; }
    void OnEndDocument();
    void OnStartElement(const char* name, const char** attributes);
    void OnEndElement(const char* name);
    void OnCharacters(const char* text, int length);
    void OnWarning(const CString& message);
    void OnError(const CString& message);
    // A handler threw: recorded as an error, which stops the parse.
    void OnFailure(bool outOfMemory);

private:
    void StartSkip(CTagItem* item, int32_t index);

    xmlSAXLocatorPtr m_locator = nullptr;
    xmlSAXHandler m_handler;
    xmlParserCtxtPtr m_context = nullptr;
    CTagTable* m_table = nullptr;
    std::vector<CTagItem*> m_stack;
    // Every open element, known or not: its name and its start tag's line.
    struct OpenElement {
        CString name;
        int32_t line;
    };
    std::vector<OpenElement> m_open;
    CString m_skipName;
    int32_t m_skipIndex = -1;
    CNewXmlArch* m_archive;
};
