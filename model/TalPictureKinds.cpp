#include "model/TalPictureKinds.h"

#include "framework/KWArchive.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalSectionWalk.h"

#include <map>

namespace {

struct Kind {
    uint8_t kind = CTalPictureKinds::kNone;
    uint32_t value = 0;  // the placeholder's state, or the store's error
    CString name;        // what names the picture to the user
    uint8_t embedded = 0;
};

}  // namespace

void CTalPictureKinds::Collect(CTalSection* root, std::vector<CTalPicture*>& pictures)
{
    TalVisitSections(root, [&pictures](CTalSection* section) {
        for (const auto& picture : section->GetPictures())
            pictures.push_back(picture.Get());
        return true;
    });
}

// Record: u32 count, then for each picture without a file: u32 its place in
// the order of Collect, u8 kind, u32 state or error, string name, u8 embedded.
void CTalPictureKinds::Store(CKWArchive& ar, const std::vector<CTalPicture*>& pictures)
{
    std::map<uint32_t, Kind> kinds;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const uint32_t id = pictures[i] ? static_cast<uint32_t>(pictures[i]->GetPictureId()) : 0;
        if (!pictures[i] || !g_rasterLib.GetImagePath(id).IsEmpty())
            continue;
        Kind& kind = kinds[static_cast<uint32_t>(i)];
        if (id == 0)
            continue;
        bool embedded = false;
        kind.name = g_rasterLib.GetPictureSource(id, &embedded);
        kind.embedded = embedded ? 1 : 0;
        DWORD error = 0;
        if (g_rasterLib.GetUnkeptError(id, error)) {
            kind.kind = kUnkept;
            kind.value = error;
        } else {
            kind.kind = kFileless;
            kind.value = static_cast<uint32_t>(g_rasterLib.GetPictureState(id, false));
        }
    }
    if (kinds.empty())
        return;
    ar.BeginRecord(kTag);
    ar.WriteU32(static_cast<uint32_t>(kinds.size()));
    for (const auto& entry : kinds) {
        ar.WriteU32(entry.first);
        ar.WriteU8(entry.second.kind);
        ar.WriteU32(entry.second.value);
        ar.WriteString(entry.second.name);
        ar.WriteU8(entry.second.embedded);
    }
    ar.EndRecord();
}

void CTalPictureKinds::Load(CKWArchive& ar, const std::vector<CTalPicture*>& pictures)
{
    std::map<uint32_t, Kind> kinds;
    const std::vector<CKWArchiveRecord>& open = ar.GetPendingRecords();
    if (!open.empty() && KWStreamGetPos(ar.GetStream()) < open.back().end && ar.BeginRecord(kTag)) {
        const uint32_t count = ar.ReadU32();
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t place = ar.ReadU32();
            Kind kind;
            kind.kind = ar.ReadU8();
            kind.value = ar.ReadU32();
            ar.ReadString(kind.name);
            kind.embedded = ar.ReadU8();
            kinds[place] = kind;
        }
        ar.EndRecord();
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        CTalPicture* picture = pictures[i];
        if (!picture || picture->GetPictureId() != 0)
            continue;
        auto found = kinds.find(static_cast<uint32_t>(i));
        uint32_t id = 0;
        if (found == kinds.end()) {
            id = g_rasterLib.AddUnkeptPicture(0);
        } else if (found->second.kind == kUnkept) {
            id = g_rasterLib.AddUnkeptPicture(found->second.value);
        } else if (found->second.kind == kFileless) {
            // Any process may write the block: a state of no known kind is a missing file.
            const uint32_t state = found->second.value;
            id = g_rasterLib.AddFilelessPicture(state <= static_cast<uint32_t>(kKWLastPictureState)
                                                    ? static_cast<KWPictureState>(state)
                                                    : KWPictureState::Missing);
            // Its report told of it when it was read; a paste does not again.
            g_rasterLib.TakeReport(id);
        }
        if (id != 0)
            g_rasterLib.SetPictureSource(id, found == kinds.end() ? L"" : found->second.name.GetString(),
                                         found != kinds.end() && found->second.embedded != 0);
        picture->SetPictureId(static_cast<int32_t>(id));
    }
}
