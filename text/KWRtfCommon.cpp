#include "text/KWRtfCommon.h"

#include "framework/KWCodePage.h"

const char* const g_kwRtfFontFamilies[KWRTF_FAMILY_COUNT] = {"fnil",    "froman", "fswiss", "fmodern",
                                                             "fscript", "fdecor", "ftech",  "fbidi"};

int KWRtfCodePageOfCharset(int charset)
{
    const int codePage = CharsetToCodePage(charset);
    return codePage < 0 ? 1252 : codePage;
}
