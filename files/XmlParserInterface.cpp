#include "files/XmlParserInterface.h"

#include "files/NewSaxInterface.h"

#include <libxml/tree.h>
#include <libxml/xmlmemory.h>

#include <cstdlib>
#include <cstring>

namespace {

CXmlParserInterface* g_interface = nullptr;
int g_uses = 0;

char* RuntimeStrdup(const char* text)
{
    if (!text)
        return nullptr;
    size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy)
        std::memcpy(copy, text, size);
    return copy;
}

xmlExternalEntityLoader g_defaultLoader = nullptr;

// Files of this system carry no external entities; one that names a file or a
// URL must not make the reader open it. Other users of the library keep its
// own loader.
xmlParserInputPtr RefuseExternalEntity(const char* url, const char* id, xmlParserCtxtPtr context)
{
    if (!CNewSaxInterface::GetCurrent())
        return g_defaultLoader ? g_defaultLoader(url, id, context) : nullptr;
    // The context given here is the entity's own, not the one our sink serves.
    CNewSaxInterface::ReportRefusedEntity(url);
    return nullptr;
}

// The library's global state is freed once, at the end of the program: a
// cleanup while other code may still use the library is not safe.
struct CleanupAtExit {
    ~CleanupAtExit() { xmlCleanupParser(); }
};

void InstallLibrarySettings()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    xmlMemSetup(std::free, std::malloc, std::realloc, RuntimeStrdup);
    xmlInitParser();
    g_defaultLoader = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(RefuseExternalEntity);
    static CleanupAtExit cleanup;
}

}  // namespace

CXmlParserInterface* CXmlParserInterface::Acquire()
{
    if (!g_interface)
        g_interface = new CXmlParserInterface();
    ++g_uses;
    return g_interface;
}

void CXmlParserInterface::Release()
{
    if (g_uses > 0 && --g_uses == 0) {
        delete g_interface;
        g_interface = nullptr;
    }
}

CXmlParserInterface* CXmlParserInterface::Get()
{
    return g_interface;
}

CXmlParserInterface::CXmlParserInterface()
{
    InstallLibrarySettings();
}

CXmlParserInterface::~CXmlParserInterface()
{
    FreeContext();
}

void CXmlParserInterface::FreeContext()
{
    if (!m_context)
        return;
    // With entity replacement the parser keeps declared entities on a
    // document of its own, which freeing the context leaves behind.
    if (m_context->myDoc) {
        xmlFreeDoc(m_context->myDoc);
        m_context->myDoc = nullptr;
    }
    xmlFreeParserCtxt(m_context);
    m_context = nullptr;
}
