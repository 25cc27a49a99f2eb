#pragma once
// CTalTemplateManager: the program's page templates and title-page templates,
// each list sorted by title (ordinal, case-sensitive) and searched by name.
// The manager owns the templates; templates are added during the run, never
// removed, and deleted at exit. One global instance, g_TemplateManager.
#include <vector>

#include "platform/classlib/String.h"

class CTalTemplate;

class CTalTemplateManager {
public:
    CTalTemplateManager() = default;
    ~CTalTemplateManager();
    CTalTemplateManager(const CTalTemplateManager&) = delete;
    CTalTemplateManager& operator=(const CTalTemplateManager&) = delete;

    // Takes the template over and inserts it before the first one whose title
    // compares greater (behind equal titles).
    void AddPageTemplate(CTalTemplate* tmpl);
    void AddTitlePageTemplate(CTalTemplate* tmpl);
    // A template of either list whose title changed moves to its place.
    void TitleChanged(CTalTemplate* tmpl);
    // The first template of exactly that name; null when none.
    CTalTemplate* FindPageTemplate(const wchar_t* name) const;
    CTalTemplate* FindTitlePageTemplate(const wchar_t* name) const;
    // Position in the page-template list, -1 when absent.
    int IndexOfPageTemplate(const CTalTemplate* tmpl) const;

    const std::vector<CTalTemplate*>& GetPageTemplates() const { return m_pageTemplates; }
    const std::vector<CTalTemplate*>& GetTitlePageTemplates() const { return m_titlePageTemplates; }

    // Deletes every template of both lists.
    void Clear();

private:
    static void InsertSorted(std::vector<CTalTemplate*>& list, CTalTemplate* tmpl);
    static CTalTemplate* FindByName(const std::vector<CTalTemplate*>& list, const wchar_t* name);

    std::vector<CTalTemplate*> m_pageTemplates;
    std::vector<CTalTemplate*> m_titlePageTemplates;
};

extern CTalTemplateManager g_TemplateManager;

// The editor refreshes the page-template window of every open document
// frame; it installs its refresher at start-up (none: nothing happens).
typedef void (*TalTemplateWindowsRefresher)();
void SetTemplateWindowsRefresher(TalTemplateWindowsRefresher refresher);
// After the template lists changed.
void RefreshAllTemplateWindows();
