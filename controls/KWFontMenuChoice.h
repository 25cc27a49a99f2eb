#pragma once
// What the user last chose from the tool bars' font menus: a font name from
// the font-name menu button (command 32902) and a size in points from the
// font-size menu button (command 32903). The text commands of those two
// buttons read them.
#include "platform/classlib/String.h"

const CString& GetChosenFontName();
void SetChosenFontName(const CString& name);
// 0 while none was chosen; at most 1670.
int GetChosenFontSize();
void SetChosenFontSize(int size);
