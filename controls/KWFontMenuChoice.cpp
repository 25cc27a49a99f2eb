#include "controls/KWFontMenuChoice.h"

namespace {

// The largest size a text run takes, in points.
const int kMaxFontSize = 1670;

CString& ChosenName()
{
    static CString s_name;
    return s_name;
}

int s_chosenSize = 0;

}  // namespace

const CString& GetChosenFontName()
{
    return ChosenName();
}

void SetChosenFontName(const CString& name)
{
    ChosenName() = name;
}

int GetChosenFontSize()
{
    return s_chosenSize;
}

void SetChosenFontSize(int size)
{
    s_chosenSize = size > kMaxFontSize ? kMaxFontSize : size;
}
