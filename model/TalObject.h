#pragma once
// CTalObject: the counted node of the report model, the base of sections,
// pictures and text notes. Every object links to its parent section with a
// counted reference, so a parent and its children keep each other alive;
// Detach breaks these cycles. Only the heading section holds the document's
// command history and font table; every other object finds them by walking up.
#include <cstdint>
#include <vector>

#include "framework/KWRefCounter.h"
#include "framework/KWRefPtr.h"

class CKWArchive;
class CKWIndexDecoder;
class CTalCommandHistory;
class CTalSection;
class CTalTemplate;

// Positions in a section's picture list.
typedef std::vector<int32_t> CTalPositionList;

class CTalObject : public CKWRefCounter {
public:
    ~CTalObject() override;
    CTalObject(const CTalObject&) = delete;
    CTalObject& operator=(const CTalObject&) = delete;

    // Releases the parent reference. Sections detach their whole subtree first.
    virtual void Detach();
    // Stores or loads the object's body through the archive (the direction
    // decides); true. Loading may throw the archive's exception.
    virtual bool Serialize(CKWArchive& ar) = 0;
    // The object's own table, else the parent's; null at the root.
    virtual CKWIndexDecoder* GetFontTable() const;
    // Stores the (not owned) table and returns it.
    virtual CKWIndexDecoder* SetFontTable(CKWIndexDecoder* table);

    // The parent with a reference added; null at the root or outside a tree.
    CKWRefPtr<CTalSection> GetParent() const;
    // The parent without a reference (for look-ups while the tree holds it).
    CTalSection* PeekParent() const;
    // References the new parent, then releases the old one.
    void SetParent(CTalSection* parent);

    // Stores the (not owned) history; only the heading section has one.
    void SetCommandHistory(CTalCommandHistory* history) { m_history = history; }
    // The object's own history, else the parent's; null at the root.
    CTalCommandHistory* GetCommandHistory() const;

    // True when the section is the parent, the parent's parent, and so on; the
    // object itself does not count.
    bool IsDescendantOf(const CTalSection* section) const;

    // From the section itself (or an object's parent) up to the first section
    // with its own template, else the heading section: the page template of
    // that section's template name in g_TemplateManager; null when the manager
    // has none of that name.
    CTalTemplate* GetPageTemplate() const;

protected:
    explicit CTalObject(CTalSection* parent = nullptr);

private:
    CKWRefPtr<CTalSection> m_parent;
    CTalCommandHistory* m_history = nullptr;
    CKWIndexDecoder* m_fontTable = nullptr;
};
