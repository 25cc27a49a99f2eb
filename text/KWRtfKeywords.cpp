// The RTF reader's keyword table. A word's index is its position in its
// class unless the entry gives another (shared indexes are kept: "annotation"
// reads as a colour table, "field" shares its index with "atnid").
#include "text/KWRtfKeywords.h"

#include "text/KWRtfCommon.h"

#include <cstring>
#include <initializer_list>
#include <vector>

namespace {

struct Keyword {
    const char* word;
    uint8_t keywordClass;
    uint8_t index;
};

// Words of one class whose indexes are their positions.
void AddClass(std::vector<Keyword>& table, uint8_t keywordClass, std::initializer_list<const char*> words)
{
    uint8_t index = 0;
    for (const char* word : words)
        table.push_back({word, keywordClass, index++});
}

std::vector<Keyword> BuildTable()
{
    std::vector<Keyword> table;
    const uint8_t special = KWRTF_CLASS_SPECIAL;
    AddClass(table, special, {"chpgn", "chftn", "chpict", "chdate", "chtime", "|", "~", "-", "_", "page", "line",
                              "par", "sect", "tab", "cell", "row"});
    uint8_t index = 19;
    for (const char* word : {"chatn", "chftnsep", "chftnsepc", "column", "*", "vern", "creatim", "revtim",
                             "printim", "buptim", "edmins", "yr", "mo", "dy", "hr", "min", "nofpages", "nofwords",
                             "nofchars", "id", "uc", "u", "rquote", "rdblquote", "lquote", "ldblquote"})
        table.push_back({word, special, index++});
    AddClass(table, KWRTF_CLASS_CHAR_ATTR,
             {"plain", "b", "i", "strike", "outl", "shad", "scaps", "caps", "v", "f", "fs", "expnd", "ul", "ulw",
              "uld", "uldb", "ulnone", "up", "dn", "super", "sub", "nosupersub", "revised", "cf", "cb", "gray"});
    AddClass(table, KWRTF_CLASS_PARAGRAPH_ATTR,
             {"pard",   "s",      "ql",    "qr",     "qj",    "qc",     "fi",       "li",     "ri",   "sb",   "sa",
              "sl",     "intbl",  "keep",  "keepn",  "sbys",  "pagebb", "noline",   "tx",     "tqr",  "tqc",  "tqdec",
              "tb",     "brdrt",  "brdrb", "brdrl",  "brdrr", "box",    "bar",      "brdrbtw", "brdrs", "brdrth",
              "brdrsh", "brdrdb", "brdrdot", "brdrhair", "brsp", "tldot", "tlhyph", "tlul",   "tlth"});
    AddClass(table, KWRTF_CLASS_SECTION_ATTR,
             {"sectd",    "sbknone",    "sbkcol",      "sbkpage",  "sbkeven",  "sbkodd",  "pgnstarts",
              "pgncont",  "pgnrestart", "pgndec",      "pgnucrm",  "pgnlcrm",  "pgnucltr", "pgnlcltr",
              "pgnx",     "pgny",       "headery",     "footery",  "linemod",  "linex",   "linestarts",
              "linerestart", "lineppage", "linecont",  "vertalt",  "vertal",   "vertalc", "vertalj",
              "cols",     "colsx",      "linebetcol",  "endnhere", "titlepg"});
    AddClass(table, KWRTF_CLASS_DOCUMENT_ATTR,
             {"paperw",   "paperh",   "margl",     "margr",      "margt",      "margb",     "facingp", "gutter",
              "deftab",   "widowctrl", "hyphhotz", "endnotes",   "enddoc",     "ftntj",     "ftnbj",   "ftnstart",
              "ftnrestart", "pgnstart", "linestart", "landscape", "fracwidth",  "nextfile",  "template", "makeback",
              "defformat", "revisions", "margmirror", "revprop",  "revbar"});
    AddClass(table, KWRTF_CLASS_STYLE_ATTR, {"sbasedon", "snext"});
    AddClass(table, KWRTF_CLASS_PICTURE_ATTR,
             {"macpict", "wmetafile", "wbitmap", "picw", "pich", "picwgoal", "pichgoal", "picscalex", "picscaley",
              "picscaled", "piccropt", "piccropb", "piccropl", "piccropr", "wbmbitspixel", "wbmplanes",
              "wbmwidthbytes", "bin"});
    table.push_back({"picwGoal", KWRTF_CLASS_PICTURE_ATTR, 5});
    table.push_back({"pichGoal", KWRTF_CLASS_PICTURE_ATTR, 6});
    AddClass(table, KWRTF_CLASS_PICTURE_SIZE, {"width", "height"});
    AddClass(table, KWRTF_CLASS_TOC_ATTR, {"tcf", "tcl"});
    table.push_back({"fcharset", KWRTF_CLASS_CHARSET, 0});
    table.push_back({"deff", KWRTF_CLASS_DEFAULT_FONT, 0});
    AddClass(table, KWRTF_CLASS_DESTINATION,
             {"pict", "NeXTGraphic", "footnote", "header", "headerl", "headerr", "headerf", "footer", "footerl",
              "footerr", "footerf", "ftnsep", "ftnsepc", "ftncn", "info", "stylesheet", "fonttbl", "colortbl"});
    const uint8_t destination = KWRTF_CLASS_DESTINATION;
    table.push_back({"annotation", destination, 17});
    table.push_back({"atnid", destination, 18});
    table.push_back({"field", destination, 18});
    index = 19;
    for (const char* word : {"fldinst", "fldrslt", "xe", "bxe", "ixe", "txe", "rxe", "tc", "bkmkstart", "bkmkend",
                             "title", "subject", "author", "operator", "keywords", "comment", "version", "doccomm"})
        table.push_back({word, destination, index++});
    AddClass(table, KWRTF_CLASS_COLOR_NAME, {"red", "green", "blue"});
    for (uint8_t family = 0; family < KWRTF_FAMILY_COUNT; ++family)
        table.push_back({g_kwRtfFontFamilies[family], KWRTF_CLASS_FONT_FAMILY, family});
    return table;
}

// The sum of a word's bytes taken as signed 8-bit values: compared before the words.
int WordHash(const char* word)
{
    int hash = 0;
    for (const char* p = word; *p; ++p)
        hash += static_cast<signed char>(*p);
    return hash;
}

struct PreparedKeyword {
    Keyword keyword;
    int hash;
};

const std::vector<PreparedKeyword>& PreparedTable()
{
    static const std::vector<PreparedKeyword> prepared = [] {
        std::vector<PreparedKeyword> out;
        for (const Keyword& keyword : BuildTable())
            out.push_back({keyword, WordHash(keyword.word)});
        return out;
    }();
    return prepared;
}

}  // namespace

bool KWRtfLookupKeyword(const char* word, uint8_t& keywordClass, uint8_t& index)
{
    const int hash = WordHash(word);
    for (const PreparedKeyword& entry : PreparedTable()) {
        if (entry.hash == hash && std::strcmp(entry.keyword.word, word) == 0) {
            keywordClass = entry.keyword.keywordClass;
            index = entry.keyword.index;
            return true;
        }
    }
    return false;
}
