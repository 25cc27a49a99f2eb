// The handlers of the picture kinds 7 to 15.
#include <algorithm>
#include <climits>

#include "model/TalBaseDocument.h"
#include "model/TalCommand.h"
#include "model/TalCommander.h"
#include "model/TalPictureCommands.h"
#include "model/TalSection.h"

namespace {

// The positions of the pictures in the section, ascending.
CTalPositionList PositionsOf(const CTalSection* section, const CTalPictureList& pictures)
{
    CTalPositionList positions;
    for (const CKWRefPtr<CTalPicture>& picture : pictures) {
        const int index = section->IndexOfPicture(picture.Get());
        if (index >= 0)
            positions.push_back(index);
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

bool Contains(const CTalPictureList& pictures, const CTalPicture* picture)
{
    for (const CKWRefPtr<CTalPicture>& p : pictures) {
        if (p.Get() == picture)
            return true;
    }
    return false;
}

int32_t GetPictureValue(int32_t kind, const CTalPicture& picture)
{
    switch (kind) {
    case CTalCommand::kSetUseDescription:
        return picture.GetUseDescription();
    case CTalCommand::kSetShownInReport:
        return picture.GetShown();
    case CTalCommand::kSetGrayscale:
        return picture.GetGrayscale();
    default:
        return picture.GetNewPage();
    }
}

void SetPictureValue(int32_t kind, CTalPicture& picture, int32_t value)
{
    switch (kind) {
    case CTalCommand::kSetUseDescription:
        picture.SetUseDescription(value);
        break;
    case CTalCommand::kSetShownInReport:
        picture.SetShown(static_cast<uint8_t>(value));
        break;
    case CTalCommand::kSetGrayscale:
        picture.SetGrayscale(value);
        break;
    default:
        picture.SetNewPage(static_cast<uint8_t>(value));
        break;
    }
}

}  // namespace

CKWRefPtr<CTalSection> CTalCommander::DoInsertPictures(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdInsertPictures* insert = dynamic_cast<CCmdInsertPictures*>(command);
    if (!section || !insert)
        return nullptr;
    // A picture may stand in a section once: nulls and pictures the section
    // (or this list) already holds are left out, with their positions.
    const CTalPositionList& wanted = insert->GetPositions();
    CTalPictureList pictures;
    CTalPositionList positions;
    for (size_t i = 0; i < insert->GetPictures().size(); ++i) {
        CTalPicture* picture = insert->GetPictures()[i].Get();
        if (!picture || section->IndexOfPicture(picture) >= 0 || Contains(pictures, picture))
            continue;
        pictures.push_back(CKWRefPtr<CTalPicture>(picture));
        if (i < wanted.size())
            positions.push_back(wanted[i]);
    }
    if (pictures.empty())
        return section;
    const bool appending = wanted.empty();
    if (m_document)
        m_document->OnPicturesChanging(section);
    section->InsertPictures(pictures, appending ? nullptr : &positions);
    // Where the pictures ended up once all were in: a later insertion may
    // have shifted an earlier one.
    const CTalPositionList placed = PositionsOf(section.Get(), pictures);
    if (IsRecording()) {
        if (appending)
            Record(new CCmdRemovePictures(CTalCommand::kRemovePictures, section.Get(), nullptr,
                                          static_cast<int32_t>(pictures.size())));
        else
            Record(new CCmdRemovePictures(CTalCommand::kRemovePictures, section.Get(), &placed,
                                          CCmdRemovePictures::kUsePositions));
    }
    if (m_document)
        m_document->OnPicturesInserted(section, placed);
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoRemovePictures(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdRemovePictures* remove = dynamic_cast<CCmdRemovePictures*>(command);
    if (!section || !remove)
        return nullptr;
    // Positions come sorted, once each and inside the list; a count is
    // clamped to the pictures there are.
    const bool byPositions = remove->GetCount() == CCmdRemovePictures::kUsePositions;
    CTalPositionList positions;
    if (byPositions) {
        positions = section->GetValidPositions(remove->GetPositions());
    } else {
        const int count = std::clamp(remove->GetCount(), 0, section->GetPictureCount());
        for (int i = section->GetPictureCount() - count; i < section->GetPictureCount(); ++i)
            positions.push_back(i);
    }
    if (positions.empty())
        return section;
    CTalPictureList pictures;
    section->CollectPictures(positions, pictures);
    if (m_document)
        m_document->OnPicturesChanging(section);
    if (IsRecording())
        Record(new CCmdInsertPictures(CTalCommand::kInsertPictures, section.Get(), pictures,
                                      byPositions ? &positions : nullptr));
    CTalPositionList selection;
    section->RemovePictures(positions, CCmdRemovePictures::kUsePositions, &selection);
    if (m_document)
        m_document->OnPicturesRemoved(section, selection);
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoMovePictures(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdMovePictures* move = dynamic_cast<CCmdMovePictures*>(command);
    if (!section || !move)
        return nullptr;
    if (m_document)
        m_document->OnPicturesChanging(section);
    CKWRefPtr<CTalSection> source = move->GetSource();
    if (!source)
        return nullptr;
    const CTalPictureList& pictures = move->GetPictures();
    if (pictures.empty())
        return section;

    // Every picture must stand in the source, once; else nothing moves.
    std::vector<std::pair<int, CTalPicture*>> found;
    for (const CKWRefPtr<CTalPicture>& picture : pictures) {
        const int index = picture ? source->IndexOfPicture(picture.Get()) : -1;
        if (index < 0)
            return nullptr;
        for (const auto& seen : found) {
            if (seen.second == picture.Get())
                return nullptr;
        }
        found.emplace_back(index, picture.Get());
    }

    if (IsRecording()) {
        // The way back lists the pictures in their source order, each behind
        // the picture before it there: put back in that order, every anchor
        // is already in place.
        std::sort(found.begin(), found.end());
        CTalPictureList back;
        CTalPictureList anchors;
        for (const auto& entry : found) {
            back.push_back(CKWRefPtr<CTalPicture>(entry.second));
            anchors.push_back(source->GetPicture(entry.first - 1));
        }
        Record(new CCmdMovePictures(CTalCommand::kMovePictures, source.Get(), section.Get(), back, &anchors));
    }

    for (auto it = pictures.rbegin(); it != pictures.rend(); ++it)
        source->TakePicture(source->IndexOfPicture(it->Get()));

    const CTalPictureList& anchors = move->GetAnchors();
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (anchors.empty() || i >= anchors.size()) {
            section->InsertPicture(section->GetPictureCount(), pictures[i].Get());
            continue;
        }
        const CTalPicture* anchor = anchors[i].Get();
        int at = 0;
        if (anchor) {
            const int index = section->IndexOfPicture(anchor);
            at = index < 0 ? section->GetPictureCount() : index + 1;
        }
        section->InsertPicture(at, pictures[i].Get());
    }
    if (m_document)
        m_document->OnPicturesRemoved(section, PositionsOf(section.Get(), pictures));
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoEditPictureTitle(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdEditPictureTitle* edit = dynamic_cast<CCmdEditPictureTitle*>(command);
    if (!section || !edit)
        return nullptr;
    CKWRefPtr<CTalPicture> picture = edit->GetPicture();
    if (!picture)
        return nullptr;
    if (IsRecording())
        Record(new CCmdEditPictureTitle(CTalCommand::kEditPictureTitle, section.Get(), picture.Get(),
                                        picture->GetTitle(), 1));
    picture->SetTitle(edit->GetTitle());
    if (m_document)
        m_document->OnPictureTitleChanged(section, picture, edit->GetFlag() != 0);
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoPictureProperty(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdPropPictures* prop = dynamic_cast<CCmdPropPictures*>(command);
    if (!section || !prop)
        return nullptr;
    const int32_t kind = command->GetKind();
    const CTalPositionList& positions = prop->GetPositions();
    const std::vector<int32_t>& values = prop->GetValues();
    CTalPositionList used;
    std::vector<int32_t> old;
    for (size_t i = 0; i < positions.size() && i < values.size(); ++i) {
        CKWRefPtr<CTalPicture> picture = section->GetPicture(positions[i]);
        if (!picture)
            continue;
        used.push_back(positions[i]);
        old.push_back(GetPictureValue(kind, *picture));
        SetPictureValue(kind, *picture, values[i]);
    }
    if (used.empty())
        return section;
    if (IsRecording()) {
        // Backwards, so that a position listed twice ends at its first old value.
        CTalPositionList backPositions(used.rbegin(), used.rend());
        std::vector<int32_t> backValues(old.rbegin(), old.rend());
        Record(new CCmdPropPictures(kind, section.Get(), backPositions, backValues));
    }
    if (m_document) {
        if (kind == CTalCommand::kSetGrayscale)
            m_document->OnPicturesGrayscaleChanged(section, used);
        else
            m_document->OnPicturePropertiesChanged(section, used);
    }
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoRotatePictures(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdRotatePictures* rotate = dynamic_cast<CCmdRotatePictures*>(command);
    if (!section || !rotate)
        return nullptr;
    const int32_t angle = rotate->GetAngle();
    CTalPositionList used;
    for (int32_t position : rotate->GetPositions()) {
        CKWRefPtr<CTalPicture> picture = section->GetPicture(position);
        if (!picture)
            continue;
        // A true modulo: angles from files may lie anywhere.
        picture->Rotate(angle);
        used.push_back(position);
    }
    if (used.empty())
        return section;
    if (IsRecording()) {
        // The negation of the smallest integer does not exist; its turn does.
        const int32_t back = angle == INT32_MIN ? CTalPicture::NormalizeAngle(-static_cast<int64_t>(angle)) : -angle;
        Record(new CCmdRotatePictures(CTalCommand::kRotatePictures, section.Get(), used, back));
    }
    if (m_document)
        m_document->OnPicturesRotated(section, used);
    return section;
}
