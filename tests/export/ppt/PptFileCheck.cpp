#include "tests/export/ppt/PptFileCheck.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// {64818D10-4F9B-11CF-86EA-00AA00B929E8}
const CLSID kPowerPoint = {0x64818D10, 0x4F9B, 0x11CF, {0x86, 0xEA, 0x00, 0xAA, 0x00, 0xB9, 0x29, 0xE8}};

const PptRecord* RecordAt(const PptRecord& root, uint32_t offset)
{
    for (const PptRecord& child : root.children) {
        if (child.offset == offset)
            return &child;
    }
    return nullptr;
}

// The slide persist atoms of a SlideListWithText: their persist references.
std::vector<uint32_t> PersistReferences(const std::vector<uint8_t>& bytes, const PptRecord& list)
{
    std::vector<uint32_t> refs;
    for (const PptRecord* atom : list.Children(1011)) {
        EXPECT_EQ(20u, atom->length);
        refs.push_back(U32At(bytes, atom->Body()));
    }
    return refs;
}

void DecodeText(const std::vector<uint8_t>& bytes, const PptRecord& box, ShapeInfo& shape)
{
    const PptRecord* header = box.Find(3999);
    const PptRecord* chars = box.Find(4000);
    const PptRecord* style = box.Find(4001);
    ASSERT_TRUE(header && chars && style);
    shape.hasText = true;
    shape.textType = U32At(bytes, header->Body());
    ASSERT_EQ(0u, chars->length % 2);
    for (uint32_t i = 0; i < chars->length; i += 2)
        shape.text.push_back(static_cast<wchar_t>(U16At(bytes, chars->Body() + i)));
    const uint32_t total = static_cast<uint32_t>(shape.text.size()) + 1;

    uint32_t p = style->Body();
    uint32_t sum = 0;
    while (sum < total && p < style->End()) {
        ParagraphRun run;
        run.count = U32At(bytes, p);
        EXPECT_EQ(0, U16At(bytes, p + 4)) << "indent level";
        run.mask = U32At(bytes, p + 6);
        p += 10;
        EXPECT_EQ(0u, run.mask & ~0x800u) << "unexpected paragraph fields";
        if (run.mask & 0x800) {
            run.alignment = U16At(bytes, p);
            p += 2;
        }
        EXPECT_GT(run.count, 0u);
        sum += run.count;
        shape.paragraphs.push_back(run);
    }
    EXPECT_EQ(total, sum) << "paragraph runs";
    sum = 0;
    while (sum < total && p < style->End()) {
        CharacterRun run;
        run.count = U32At(bytes, p);
        run.mask = U32At(bytes, p + 4);
        p += 8;
        EXPECT_EQ(0u, run.mask & ~0x70117u) << "unexpected character fields";
        if (run.mask & 0x117) {
            run.style = U16At(bytes, p);
            p += 2;
        }
        if (run.mask & 0x10000) {
            run.font = U16At(bytes, p);
            p += 2;
        }
        if (run.mask & 0x20000) {
            run.size = U16At(bytes, p);
            p += 2;
        }
        if (run.mask & 0x40000) {
            run.color = U32At(bytes, p);
            p += 4;
        }
        EXPECT_GT(run.count, 0u);
        sum += run.count;
        shape.characters.push_back(run);
    }
    EXPECT_EQ(total, sum) << "character runs";
    EXPECT_EQ(style->End(), p) << "style atom fully read";
}

ShapeInfo DecodeShape(const std::vector<uint8_t>& bytes, const PptRecord& container)
{
    ShapeInfo shape;
    for (const PptRecord& child : container.children) {
        switch (child.type) {
        case 0xF00A:
            shape.shapeType = child.instance;
            shape.id = U32At(bytes, child.Body());
            shape.flags = U32At(bytes, child.Body() + 4);
            break;
        case 0xF00F:
            shape.hasAnchor = true;
            shape.left = static_cast<int32_t>(U32At(bytes, child.Body()));
            shape.top = static_cast<int32_t>(U32At(bytes, child.Body() + 4));
            shape.right = static_cast<int32_t>(U32At(bytes, child.Body() + 8));
            shape.bottom = static_cast<int32_t>(U32At(bytes, child.Body() + 12));
            break;
        case 0xF00B: {
            EXPECT_EQ(3, child.version);
            uint32_t data = child.Body() + 6 * child.instance;
            uint16_t previous = 0;
            for (uint16_t i = 0; i < child.instance; ++i) {
                const uint16_t id = U16At(bytes, child.Body() + 6 * i);
                const uint32_t value = U32At(bytes, child.Body() + 6 * i + 2);
                EXPECT_LT(previous, id & 0x3FFF) << "properties sorted";
                previous = id & 0x3FFF;
                shape.properties[id & 0x3FFF] = value;
                shape.propertyFlags[id & 0x3FFF] = id & 0xC000;
                if (id & 0x8000) {
                    shape.complex[id & 0x3FFF].assign(bytes.begin() + data, bytes.begin() + data + value);
                    data += value;
                }
            }
            EXPECT_EQ(child.End(), data) << "property record fully read";
            break;
        }
        case 0xF00D:
            DecodeText(bytes, child, shape);
            break;
        default:
            break;
        }
    }
    return shape;
}

}  // namespace

void LoadPresentation(const std::wstring& path, size_t slides, Presentation& out)
{
    out.file = ReadCompoundFile(path);
    ASSERT_TRUE(out.file.opened) << "not a compound file";
    EXPECT_TRUE(IsEqualCLSID(kPowerPoint, out.file.classId));
    ASSERT_EQ(3u, out.file.streams.size());
    ASSERT_EQ(1u, out.file.streams.count(L"PowerPoint Document"));
    ASSERT_EQ(1u, out.file.streams.count(L"Current User"));
    ASSERT_EQ(1u, out.file.streams.count(L"\x0005" L"DocumentSummaryInformation"));
    out.doc = out.file.streams[L"PowerPoint Document"];
    const std::vector<uint8_t>& user = out.file.streams[L"Current User"];
    EXPECT_EQ(228u, out.file.streams[L"\x0005" L"DocumentSummaryInformation"].size());

    ASSERT_EQ(44u, user.size());
    EXPECT_EQ(4086, U16At(user, 2));
    EXPECT_EQ(36u, U32At(user, 4));
    EXPECT_EQ(0xE391C05Fu, U32At(user, 12));
    EXPECT_EQ(0, std::memcmp("Current User", user.data() + 28, 12));
    out.userEdit = U32At(user, 16);

    std::string error;
    ASSERT_TRUE(ParseTree(out.doc, out.root, error)) << error;

    // The stream ends with the persist directory and the user edit it points at.
    const PptRecord* edit = RecordAt(out.root, out.userEdit);
    ASSERT_NE(nullptr, edit) << "Current User points at no record";
    ASSERT_EQ(4085, edit->type);
    ASSERT_EQ(28u, edit->length);
    EXPECT_EQ(out.doc.size(), edit->End());
    EXPECT_EQ(256u, U32At(out.doc, edit->Body()));
    EXPECT_EQ(0x0DBC, U16At(out.doc, edit->Body() + 4));
    EXPECT_EQ(3, out.doc[edit->Body() + 7]);
    EXPECT_EQ(0u, U32At(out.doc, edit->Body() + 8));
    out.persistDirectory = U32At(out.doc, edit->Body() + 12);
    EXPECT_EQ(1u, U32At(out.doc, edit->Body() + 16));
    out.persistSeed = U32At(out.doc, edit->Body() + 20);
    EXPECT_EQ(1, U16At(out.doc, edit->Body() + 24));

    const PptRecord* directory = RecordAt(out.root, out.persistDirectory);
    ASSERT_NE(nullptr, directory) << "the user edit points at no record";
    ASSERT_EQ(6002, directory->type);
    std::map<uint32_t, uint32_t> persist;  // id to offset
    for (uint32_t p = directory->Body(); p < directory->End();) {
        const uint32_t entry = U32At(out.doc, p);
        const uint32_t first = entry & 0xFFFFF;
        const uint32_t count = entry >> 20;
        p += 4;
        ASSERT_LE(p + 4 * count, directory->End());
        for (uint32_t k = 0; k < count; ++k, p += 4)
            persist[first + k] = U32At(out.doc, p);
    }
    ASSERT_EQ(slides + 2, persist.size());
    EXPECT_EQ(slides + 2, out.persistSeed);

    out.document = RecordAt(out.root, persist[1]);
    ASSERT_NE(nullptr, out.document) << "persist id 1 points at no record";
    EXPECT_EQ(1000, out.document->type);
    EXPECT_EQ(0u, out.document->offset);
    out.master = RecordAt(out.root, persist[2]);
    ASSERT_NE(nullptr, out.master);
    EXPECT_EQ(1016, out.master->type);
    for (size_t i = 0; i < slides; ++i) {
        const PptRecord* slide = RecordAt(out.root, persist[static_cast<uint32_t>(3 + i)]);
        ASSERT_NE(nullptr, slide) << "slide " << i;
        EXPECT_EQ(1006, slide->type);
        out.slides.push_back(slide);
    }

    // The slide lists refer to the same persist ids.
    const std::vector<const PptRecord*> lists = out.document->Children(4080);
    ASSERT_EQ(2u, lists.size());
    EXPECT_EQ(1, lists[0]->instance);
    EXPECT_EQ(std::vector<uint32_t>{2}, PersistReferences(out.doc, *lists[0]));
    EXPECT_EQ(0, lists[1]->instance);
    std::vector<uint32_t> expected;
    for (size_t i = 0; i < slides; ++i)
        expected.push_back(static_cast<uint32_t>(3 + i));
    EXPECT_EQ(expected, PersistReferences(out.doc, *lists[1]));
}

std::vector<ShapeInfo> SlideShapes(const Presentation& p, const PptRecord& slide)
{
    std::vector<ShapeInfo> shapes;
    const PptRecord* drawing = slide.Find(0xF002);
    if (!drawing)
        return shapes;
    for (const PptRecord& child : drawing->children) {
        if (child.type == 0xF003) {
            for (const PptRecord& inner : child.children) {
                if (inner.type == 0xF004)
                    shapes.push_back(DecodeShape(p.doc, inner));
            }
        } else if (child.type == 0xF004) {
            shapes.push_back(DecodeShape(p.doc, child));
        }
    }
    return shapes;
}

static std::vector<ShapeInfo> ShapesOfType(const Presentation& p, const PptRecord& slide, uint16_t type)
{
    std::vector<ShapeInfo> shapes;
    for (ShapeInfo& shape : SlideShapes(p, slide)) {
        if (shape.shapeType == type)
            shapes.push_back(shape);
    }
    return shapes;
}

std::vector<ShapeInfo> TextBoxes(const Presentation& p, const PptRecord& slide) { return ShapesOfType(p, slide, 202); }

std::vector<ShapeInfo> Pictures(const Presentation& p, const PptRecord& slide) { return ShapesOfType(p, slide, 75); }

std::wstring ComplexText(const std::vector<uint8_t>& bytes)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const wchar_t ch = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (ch == 0)
            break;
        text.push_back(ch);
    }
    return text;
}
