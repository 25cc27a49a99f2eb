// The edit operations on a section's pictures.
#include "model/TalBaseDocument.h"
#include "model/TalCommand.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandStrings.h"
#include "model/TalCommander.h"
#include "model/TalPictureCommands.h"
#include "model/TalSection.h"

bool CTalCommander::EditPictureTitle(CTalSection* section, int index, const CString& title)
{
    CKWRefPtr<CTalPicture> picture = section ? section->GetPicture(index) : nullptr;
    if (!picture || picture->GetTitle() == title)
        return false;
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    CCmdEditPictureTitle edit(CTalCommand::kEditPictureTitle, section, picture.Get(), title, 0);
    Execute(&edit);
    EndStep(IDS_EDIT_IMAGE_DESCRIPTION);
    return true;
}

bool CTalCommander::InsertPictures(CTalSection* section, const CTalPictureList& pictures, int start, bool undoable)
{
    if (!section)
        return false;
    if (!undoable) {
        // Filling a section that is being built: no command, no notification.
        section->InsertPictures(pictures, nullptr);
        return true;
    }
    CTalPositionList positions;
    if (start >= 0) {
        for (size_t i = 0; i < pictures.size(); ++i)
            positions.push_back(start + static_cast<int32_t>(i));
    }
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    CCmdInsertPictures insert(CTalCommand::kInsertPictures, section, pictures, &positions);
    Execute(&insert);
    insert.ReleasePayload();
    EndStep(IDS_ADD_IMAGES);
    return true;
}

bool CTalCommander::RemovePictures(CTalSection* section, const CTalPositionList& positions)
{
    if (!section)
        return false;
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    CCmdRemovePictures remove(CTalCommand::kRemovePictures, section, &positions, CCmdRemovePictures::kUsePositions);
    Execute(&remove);
    EndStep(IDS_REMOVE_IMAGES);
    return true;
}

bool CTalCommander::MovePictures(CTalSection* target, CTalSection* source, const CTalPositionList& positions,
                                 int anchorIndex)
{
    if (!target || !source || positions.empty())
        return false;
    CTalPictureList pictures;
    source->CollectPictures(positions, pictures);
    CTalPictureList anchors;
    if (anchorIndex >= 0) {
        // The first goes behind the picture before the anchor index, each
        // next one behind the one moved before it: they stay together.
        CKWRefPtr<CTalPicture> anchor = source->GetPicture(anchorIndex - 1);
        for (const CKWRefPtr<CTalPicture>& picture : pictures) {
            anchors.push_back(anchor);
            anchor = picture;
        }
    }
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    CCmdMovePictures move(CTalCommand::kMovePictures, target, source, pictures, &anchors);
    Execute(&move);
    EndStep(IDS_MOVE_IMAGES);
    return true;
}

void CTalCommander::RotatePictures(CTalSection* section, const CTalPositionList& positions, int32_t angle)
{
    if (!section)
        return;
    CCmdRotatePictures rotate(CTalCommand::kRotatePictures, section, positions, angle);
    Execute(&rotate);
}

void CTalCommander::RotatePicturesLeft(CTalSection* section, const CTalPositionList& positions)
{
    if (!section)
        return;
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    RotatePictures(section, positions, -kRotateStep);
    EndStep(IDS_ROTATE_IMAGES_LEFT);
}

void CTalCommander::RotatePicturesRight(CTalSection* section, const CTalPositionList& positions)
{
    if (!section)
        return;
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    RotatePictures(section, positions, kRotateStep);
    EndStep(IDS_ROTATE_IMAGES_RIGHT);
}

bool CTalCommander::PropertyStep(int32_t kind, CTalSection* section, const CTalPositionList& positions,
                                 const std::vector<int32_t>& values, uint32_t label)
{
    if (!section)
        return false;
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    CCmdPropPictures prop(kind, section, positions, values);
    Execute(&prop);
    EndStep(label);
    return true;
}

bool CTalCommander::SetPicturesShowInReport(CTalSection* section, const CTalPositionList& positions, uint8_t value)
{
    return PropertyStep(CTalCommand::kSetShownInReport, section, positions,
                        std::vector<int32_t>(positions.size(), value), IDS_SHOW_IMAGES_IN_REPORT);
}

bool CTalCommander::SetPicturesUseDescription(CTalSection* section, const CTalPositionList& positions, uint8_t value)
{
    return PropertyStep(CTalCommand::kSetUseDescription, section, positions,
                        std::vector<int32_t>(positions.size(), value), IDS_INSERT_IMAGE_DESCRIPTIONS);
}

bool CTalCommander::SetPicturesGrayscale(CTalSection* section, const CTalPositionList& positions, uint8_t value)
{
    return PropertyStep(CTalCommand::kSetGrayscale, section, positions, std::vector<int32_t>(positions.size(), value),
                        IDS_CONVERT_IMAGES_TO_GRAYSCALE);
}

bool CTalCommander::SetPicturesNewPage(CTalSection* section, const CTalPositionList& positions, uint8_t value)
{
    return PropertyStep(CTalCommand::kSetNewPage, section, positions, std::vector<int32_t>(positions.size(), value),
                        IDS_TURN_IMAGES_TO_NEW_PAGE);
}

bool CTalCommander::ResolveStep(int32_t kind, CTalSection* section, const CTalPositionList& positions,
                                bool toDefault, uint32_t label)
{
    if (!section)
        return false;
    bool documentDefault = false;
    if (m_document) {
        const CTalDocProperties& properties = m_document->GetProperties();
        documentDefault = (kind == CTalCommand::kSetGrayscale ? properties.m_grayscale : properties.m_useDescription) != 0;
    }
    CTalPositionList valid;
    std::vector<int32_t> values;
    for (int32_t position : positions) {
        CKWRefPtr<CTalPicture> picture = section->GetPicture(position);
        if (!picture)
            continue;
        int32_t value = CTalPicture::kDocumentDefault;
        if (!toDefault) {
            value = kind == CTalCommand::kSetGrayscale ? picture->GetGrayscale() : picture->GetUseDescription();
            if (value == CTalPicture::kDocumentDefault)
                value = documentDefault ? CTalPicture::kYes : CTalPicture::kNo;
        }
        valid.push_back(position);
        values.push_back(value);
    }
    return PropertyStep(kind, section, valid, values, label);
}

bool CTalCommander::ResolvePicturesUseDescription(CTalSection* section, const CTalPositionList& positions,
                                                  bool toDefault)
{
    return ResolveStep(CTalCommand::kSetUseDescription, section, positions, toDefault, IDS_INSERT_IMAGE_DESCRIPTIONS);
}

bool CTalCommander::ResolvePicturesGrayscale(CTalSection* section, const CTalPositionList& positions, bool toDefault)
{
    return ResolveStep(CTalCommand::kSetGrayscale, section, positions, toDefault, IDS_CONVERT_IMAGES_TO_GRAYSCALE);
}
