#pragma once
// The clipboard operations of the edit box that a list or tree view opens
// for a label being edited; each answers false (and does nothing) without
// such a box.
#include <windows.h>

bool KWLabelEditHasSelection(HWND edit);
// Cut and copy need a selection; clear takes the character after the caret
// when nothing is selected; paste needs text on the clipboard.
bool KWLabelEditCut(HWND edit);
bool KWLabelEditCopy(HWND edit);
bool KWLabelEditClear(HWND edit);
bool KWLabelEditPaste(HWND edit);
bool KWLabelEditCanPaste(HWND edit);
