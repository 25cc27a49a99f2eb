#include "model/TalTemplateManager.h"

#include <algorithm>

#include "model/TalTemplate.h"

CTalTemplateManager g_TemplateManager;

namespace {

TalTemplateWindowsRefresher s_refresher = nullptr;

// Ordinal comparison of UTF-16 code units (upper case sorts before lower).
int CompareOrdinal(const CString& a, const CString& b)
{
    const int length = std::min(a.GetLength(), b.GetLength());
    for (int i = 0; i < length; ++i) {
        const unsigned ca = static_cast<unsigned>(a[i]);
        const unsigned cb = static_cast<unsigned>(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.GetLength() == b.GetLength() ? 0 : (a.GetLength() < b.GetLength() ? -1 : 1);
}

}  // namespace

CTalTemplateManager::~CTalTemplateManager() { Clear(); }

void CTalTemplateManager::Clear()
{
    for (CTalTemplate* tmpl : m_pageTemplates)
        delete tmpl;
    m_pageTemplates.clear();
    for (CTalTemplate* tmpl : m_titlePageTemplates)
        delete tmpl;
    m_titlePageTemplates.clear();
}

void CTalTemplateManager::InsertSorted(std::vector<CTalTemplate*>& list, CTalTemplate* tmpl)
{
    if (!tmpl)
        return;
    const CString title = tmpl->GetTitle();
    auto it = list.begin();
    while (it != list.end() && CompareOrdinal((*it)->GetTitle(), title) <= 0)
        ++it;
    list.insert(it, tmpl);
}

void CTalTemplateManager::AddPageTemplate(CTalTemplate* tmpl) { InsertSorted(m_pageTemplates, tmpl); }

void CTalTemplateManager::AddTitlePageTemplate(CTalTemplate* tmpl) { InsertSorted(m_titlePageTemplates, tmpl); }

void CTalTemplateManager::TitleChanged(CTalTemplate* tmpl)
{
    for (std::vector<CTalTemplate*>* list : {&m_pageTemplates, &m_titlePageTemplates}) {
        auto found = std::find(list->begin(), list->end(), tmpl);
        if (found == list->end())
            continue;
        list->erase(found);
        InsertSorted(*list, tmpl);
        return;
    }
}

CTalTemplate* CTalTemplateManager::FindByName(const std::vector<CTalTemplate*>& list, const wchar_t* name)
{
    const CString key(name ? name : L"");
    for (CTalTemplate* tmpl : list) {
        if (CompareOrdinal(tmpl->GetName(), key) == 0)
            return tmpl;
    }
    return nullptr;
}

CTalTemplate* CTalTemplateManager::FindPageTemplate(const wchar_t* name) const
{
    return FindByName(m_pageTemplates, name);
}

CTalTemplate* CTalTemplateManager::FindTitlePageTemplate(const wchar_t* name) const
{
    return FindByName(m_titlePageTemplates, name);
}

int CTalTemplateManager::IndexOfPageTemplate(const CTalTemplate* tmpl) const
{
    for (size_t i = 0; i < m_pageTemplates.size(); ++i) {
        if (m_pageTemplates[i] == tmpl)
            return static_cast<int>(i);
    }
    return -1;
}

void SetTemplateWindowsRefresher(TalTemplateWindowsRefresher refresher) { s_refresher = refresher; }

void RefreshAllTemplateWindows()
{
    if (s_refresher)
        s_refresher();
}
