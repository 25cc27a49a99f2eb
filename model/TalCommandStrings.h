#pragma once
// String-table texts of the command history: the Undo and Redo menu texts
// and the labels of the edit operations' steps.
#include <cstdint>

#include "platform/classlib/String.h"

enum TalCommandStringId : uint32_t {
    IDS_CANT_UNDO = 32797,
    IDS_CANT_REDO = 32798,
    IDS_UNDO_PREFIX = 32799,
    IDS_REDO_PREFIX = 32800,
    IDS_UNDO_SUFFIX = 32801,
    IDS_REDO_SUFFIX = 32802,
    IDS_ADD_SECTION = 32803,
    IDS_ADD_SUBSECTION = 32804,
    IDS_REMOVE_SECTION = 32805,
    IDS_MOVE_SECTION_LEFT = 32815,
    IDS_MOVE_SECTION_RIGHT = 32816,
    IDS_MOVE_SECTION_UP = 32817,
    IDS_MOVE_SECTION_DOWN = 32818,
    IDS_EDIT_IMAGE_DESCRIPTION = 32851,
    IDS_EDIT_SECTION_NAME = 32865,
    IDS_ADD_IMAGES = 32866,
    IDS_REMOVE_IMAGES = 32867,
    IDS_ROTATE_IMAGES_LEFT = 32869,
    IDS_ROTATE_IMAGES_RIGHT = 32870,
    IDS_CONVERT_IMAGES_TO_GRAYSCALE = 32871,
    IDS_INSERT_IMAGE_DESCRIPTIONS = 32872,
    IDS_SHOW_IMAGES_IN_REPORT = 32873,
    IDS_TURN_IMAGES_TO_NEW_PAGE = 32874,
    IDS_MOVE_IMAGES = 32875,
    IDS_MOVE_SECTION = 32876,
    IDS_SET_USE_TEMPLATE = 32877,
    IDS_SET_TEMPLATE = 32878,
    IDS_EDIT_TEXT_NOTE = 32896,
    IDS_CHANGE_TEXT_NOTE_PROPERTIES = 32897,
};

// The text of an id; empty for an id the table does not hold (label 0).
CString TalCommandString(uint32_t id);
