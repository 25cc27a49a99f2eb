#include "model/TalCommandStrings.h"

#include <iterator>

namespace {

struct StringEntry {
    uint32_t id;
    const wchar_t* text;
};

const StringEntry kStrings[] = {
    {IDS_CANT_UNDO, L"Can't Undo"},
    {IDS_CANT_REDO, L"Can't Redo"},
    {IDS_UNDO_PREFIX, L"&Undo "},
    {IDS_REDO_PREFIX, L"&Redo "},
    {IDS_UNDO_SUFFIX, L"\tCtrl+Z"},
    {IDS_REDO_SUFFIX, L"\tCtrl+Y"},
    {IDS_ADD_SECTION, L"Add Section"},
    {IDS_ADD_SUBSECTION, L"Add Subsection"},
    {IDS_REMOVE_SECTION, L"Remove Section"},
    {IDS_MOVE_SECTION_LEFT, L"Move Section Left"},
    {IDS_MOVE_SECTION_RIGHT, L"Move Section Right"},
    {IDS_MOVE_SECTION_UP, L"Move Section Up"},
    {IDS_MOVE_SECTION_DOWN, L"Move Section Down"},
    {IDS_EDIT_IMAGE_DESCRIPTION, L"Edit Image Description"},
    {IDS_EDIT_SECTION_NAME, L"Edit Section Name"},
    {IDS_ADD_IMAGES, L"Add Images"},
    {IDS_REMOVE_IMAGES, L"Remove Images"},
    {IDS_ROTATE_IMAGES_LEFT, L"Rotate Images Left"},
    {IDS_ROTATE_IMAGES_RIGHT, L"Rotate Images Right"},
    {IDS_CONVERT_IMAGES_TO_GRAYSCALE, L"Convert Images To Grayscale"},
    {IDS_INSERT_IMAGE_DESCRIPTIONS, L"Insert Image Descriptions In Report"},
    {IDS_SHOW_IMAGES_IN_REPORT, L"Show Images In Report"},
    {IDS_TURN_IMAGES_TO_NEW_PAGE, L"Turn Images To New Page"},
    {IDS_MOVE_IMAGES, L"Move Images"},
    {IDS_MOVE_SECTION, L"Move Section"},
    {IDS_SET_USE_TEMPLATE, L"Set Use Template"},
    {IDS_SET_TEMPLATE, L"Set Template"},
    {IDS_EDIT_TEXT_NOTE, L"Edit Text Note"},
    {IDS_CHANGE_TEXT_NOTE_PROPERTIES, L"Change Text Note Properties"},
};

}  // namespace

CString TalCommandString(uint32_t id)
{
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id)
            return CString(entry.text);
    }
    return CString();
}
