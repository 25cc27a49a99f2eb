// A tag table for the archive tests: elements registered from a list, every
// handler call recorded as a line, and hooks that tests set per element.
#pragma once

#include "files/NewXmlArch.h"
#include "files/TagTable.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class CRecordingTags : public CTagTable {
public:
    struct Element {
        const char* name;
        const char* parent;
    };

    explicit CRecordingTags(std::vector<Element> elements) : m_elements(std::move(elements)) {}

    bool RegisterTags() override
    {
        bool ok = true;
        for (const Element& e : m_elements)
            ok = AddTagList(e.name, e.parent,
                            MakeDelegate(this, &CRecordingTags::OnStart, &CRecordingTags::OnEnd),
                            CNewParamCell::kAll, nullptr, {nullptr})
                && ok;
        return ok;
    }

    // "start Name" and "end Name" lines; the end line carries the cell's
    // attributes as " k=v" and its text as " [text]".
    std::vector<std::wstring> events;
    std::map<std::wstring, std::function<void(CRecordingTags&)>> onStart;

    using CTagTable::SkipHandler;

private:
    void OnStart(const CString& name)
    {
        events.push_back(L"start " + std::wstring(name.GetString()));
        auto hook = onStart.find(name.GetString());
        if (hook != onStart.end())
            hook->second(*this);
    }
    void OnEnd(const CString& name)
    {
        std::wstring line = L"end " + std::wstring(name.GetString());
        if (const CNewParamCell* cell = GetParams(name)) {
            for (int32_t i = 0; i < cell->GetPairCount(); ++i)
                line += L" " + std::wstring(cell->GetName(i).GetString()) + L"=" + cell->GetValue(i).GetString();
            if (!cell->GetText().IsEmpty())
                line += L" [" + std::wstring(cell->GetText().GetString()) + L"]";
        }
        events.push_back(line);
    }

    std::vector<Element> m_elements;
};
