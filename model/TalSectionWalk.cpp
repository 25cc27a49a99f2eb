#include "model/TalSectionWalk.h"

#include "model/TalSection.h"

#include <set>
#include <vector>

bool TalVisitSections(CTalSection* root, const std::function<bool(CTalSection*)>& visit)
{
    std::vector<CTalSection*> pending{root};
    std::set<CTalSection*> seen;
    while (!pending.empty()) {
        CTalSection* section = pending.back();
        pending.pop_back();
        if (!section || !seen.insert(section).second)
            continue;
        if (!visit(section))
            return false;
        for (const auto& child : section->GetSubSections())
            pending.push_back(child.Get());
    }
    return true;
}
