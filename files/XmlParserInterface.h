#pragma once
// CXmlParserInterface: the program's one binding to libxml2, shared by every
// archive: the runtime's allocator for the library, external entities and
// network access refused, and the parser context of the parse that runs.
// The archives count their uses; the last one deletes it.
#include <libxml/parser.h>

class CXmlParserInterface {
public:
    // Takes one use, creating the interface on the first.
    static CXmlParserInterface* Acquire();
    // Drops one use; the last deletes the interface.
    static void Release();
    // The interface while some archive holds a use, else null.
    static CXmlParserInterface* Get();

    xmlParserCtxtPtr GetContext() const { return m_context; }
    void SetContext(xmlParserCtxtPtr context) { m_context = context; }
    // Frees the context with anything the parser left on it.
    void FreeContext();

    CXmlParserInterface(const CXmlParserInterface&) = delete;
    CXmlParserInterface& operator=(const CXmlParserInterface&) = delete;

private:
    CXmlParserInterface();
    ~CXmlParserInterface();

    xmlParserCtxtPtr m_context = nullptr;
};
