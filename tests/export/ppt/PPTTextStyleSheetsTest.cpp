// The master's text styles: eight atoms, their sizes and the values of each level.
#include <gtest/gtest.h>

#include "export/ppt/EscherEx.h"
#include "export/ppt/PPTTextStyleSheets.h"
#include "tests/export/ppt/PptTestSupport.h"

namespace {

struct DecodedLevel {
    uint32_t paraMask = 0;
    uint16_t bulletFlags = 0, bulletChar = 0, spaceBefore = 0, leftMargin = 0, indent = 0, tab = 0;
    uint32_t charMask = 0;
    uint16_t size = 0;
    uint32_t color = 0;
};

// Reads one atom body the way a reader of the format does, by its masks.
std::vector<DecodedLevel> Decode(const std::vector<uint8_t>& bytes, const PptRecord& atom)
{
    std::vector<DecodedLevel> levels;
    size_t p = atom.Body();
    const uint16_t count = U16At(bytes, p);
    p += 2;
    for (uint16_t level = 0; level < count; ++level) {
        DecodedLevel d;
        if (atom.instance >= 5)
            p += 2;  // the level number
        d.paraMask = U32At(bytes, p);
        d.bulletFlags = U16At(bytes, p + 4);
        d.bulletChar = U16At(bytes, p + 6);
        d.spaceBefore = U16At(bytes, p + 20);
        d.leftMargin = U16At(bytes, p + 24);
        d.indent = U16At(bytes, p + 26);
        p += 28;
        if (d.paraMask & 0x00010000) {  // tab size and the fields after it
            d.tab = U16At(bytes, p);
            p += 10;
        }
        d.charMask = U32At(bytes, p);
        p += 8;  // mask, style flags, font
        if (d.charMask & 0x00200000)
            p += 6;  // East-Asian, ANSI and symbol fonts
        d.size = U16At(bytes, p);
        d.color = U32At(bytes, p + 2);
        p += 6;
        if (d.charMask & 0x00080000)
            p += 2;  // position
        levels.push_back(d);
    }
    EXPECT_EQ(atom.End(), p) << "instance " << atom.instance;
    return levels;
}

}  // namespace

TEST(PPTTextStyleSheets, EightAtomsOfTheRightSizes)
{
    PPTOutStream out;
    out.Attach(NewMemoryStream());
    EscherEx escher(out);
    PPTTextStyleSheets sheets(125);
    sheets.Write(escher);
    const std::vector<uint8_t> bytes = StreamBytes(out.Get());
    PptRecord root;
    std::string error;
    ASSERT_TRUE(ParseTree(bytes, root, error)) << error;
    ASSERT_EQ(8u, root.children.size());
    const uint16_t instances[8] = {0, 1, 2, 4, 5, 6, 7, 8};
    for (size_t i = 0; i < 8; ++i) {
        const PptRecord& atom = root.children[i];
        EXPECT_EQ(4003, atom.type);
        EXPECT_EQ(0, atom.version);
        EXPECT_EQ(instances[i], atom.instance);
        EXPECT_EQ(atom.instance < 5 ? 262u : 222u, atom.length) << atom.instance;
    }
}

TEST(PPTTextStyleSheets, LevelValuesByType)
{
    PPTOutStream out;
    out.Attach(NewMemoryStream());
    EscherEx escher(out);
    PPTTextStyleSheets(125).Write(escher);
    const std::vector<uint8_t> bytes = StreamBytes(out.Get());
    PptRecord root;
    std::string error;
    ASSERT_TRUE(ParseTree(bytes, root, error)) << error;

    const struct {
        uint16_t type;
        int level;
        uint16_t bulletFlags, bulletChar, spaceBefore, leftMargin, indent, size;
    } cases[] = {
        {0, 0, 14, 0x2022, 0, 0, 0, 44},     {0, 1, 14, 0x2013, 0, 468, 288, 44},
        {1, 0, 15, 0x2022, 20, 216, 0, 32},  {1, 4, 15, 0x00BB, 20, 1296, 1152, 20},
        {2, 0, 14, 0x2022, 30, 0, 0, 12},    {4, 2, 14, 0x2022, 0, 720, 576, 24},
        {5, 1, 15, 0x2013, 20, 468, 288, 28}, {6, 0, 14, 0x2022, 0, 0, 0, 44},
        {8, 3, 15, 0x2013, 20, 1008, 864, 20},
    };
    for (const auto& c : cases) {
        const PptRecord* atom = nullptr;
        for (const PptRecord& child : root.children)
            if (child.instance == c.type)
                atom = &child;
        ASSERT_NE(nullptr, atom);
        const std::vector<DecodedLevel> levels = Decode(bytes, *atom);
        ASSERT_EQ(5u, levels.size());
        const DecodedLevel& d = levels[c.level];
        const std::string where = "type " + std::to_string(c.type) + " level " + std::to_string(c.level);
        EXPECT_EQ(c.bulletFlags, d.bulletFlags) << where;
        EXPECT_EQ(c.bulletChar, d.bulletChar) << where;
        EXPECT_EQ(c.spaceBefore, d.spaceBefore) << where;
        EXPECT_EQ(c.leftMargin, d.leftMargin) << where;
        EXPECT_EQ(c.indent, d.indent) << where;
        EXPECT_EQ(c.size, d.size) << where;
        EXPECT_EQ(0xFE000000u, d.color) << where;
        EXPECT_EQ(c.level == 0 && c.type < 5 ? 0x003FFDFFu : 0x00007DFFu, d.paraMask) << where;
        EXPECT_EQ(c.type < 5 ? 0x00EFFFFFu : 0x0007FFFFu, d.charMask) << where;
        if (c.level == 0 && c.type < 5)
            EXPECT_EQ(125, d.tab) << where;
    }
}
