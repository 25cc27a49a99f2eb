// Drawings, shape ids, clusters and shape property tables.
#include <gtest/gtest.h>

#include "export/ppt/PptEscherEx.h"
#include "export/ppt/ShapePropertyTable.h"
#include "tests/export/ppt/PptTestSupport.h"

namespace {

struct DrawingFixture {
    PPTOutStream out;
    std::unique_ptr<PptEscherEx> escher;
    explicit DrawingFixture(uint32_t drawings = 2)
    {
        out.Attach(NewMemoryStream());
        escher.reset(new PptEscherEx(out, drawings));
    }
    std::vector<uint8_t> Bytes() { return StreamBytes(out.Get()); }

    // A drawing with the patriarch group holding shapes shapes, then one
    // background shape outside the group.
    void Drawing(int shapes)
    {
        escher->BeginContainer(PptEscherEx::kDgContainer);
        escher->BeginGroup();
        for (int i = 0; i < shapes; ++i) {
            escher->BeginContainer(PptEscherEx::kSpContainer);
            escher->WriteShapeAtom(202, 0xA00, escher->TakeShapeId());
            escher->EndContainer();
        }
        escher->EndGroup();
        escher->BeginContainer(PptEscherEx::kSpContainer);
        escher->WriteShapeAtom(1, 0xC00, escher->TakeShapeId());
        escher->EndContainer();
        escher->EndContainer();
    }
};

std::vector<std::pair<uint32_t, uint32_t>> Clusters(const PptEscherEx& escher)
{
    std::vector<std::pair<uint32_t, uint32_t>> pairs;
    const SvMemoryStream& stream = escher.GetClusters();
    std::vector<uint8_t> bytes(stream.GetData(), stream.GetData() + stream.GetSize());
    for (size_t i = 0; i + 8 <= bytes.size(); i += 8)
        pairs.emplace_back(U32At(bytes, i), U32At(bytes, i + 4));
    return pairs;
}

}  // namespace

TEST(EscherDrawing, DrawingsStartOnFreshBlocksOf1024Ids)
{
    DrawingFixture f;
    f.Drawing(2);
    const std::vector<uint8_t> first = f.Bytes();
    PptRecord root;
    std::string error;
    ASSERT_TRUE(ParseTree(first, root, error)) << error;
    const PptRecord* dg = root.Find(PptEscherEx::kDg);
    ASSERT_NE(nullptr, dg);
    EXPECT_EQ(1, dg->instance);
    // The group shape and two shapes are counted; the background is not.
    EXPECT_EQ(3u, U32At(first, dg->Body()));
    EXPECT_EQ(1027u, U32At(first, dg->Body() + 4));
    std::vector<const PptRecord*> atoms;
    root.FindAll(PptEscherEx::kSp, atoms);
    ASSERT_EQ(4u, atoms.size());
    EXPECT_EQ(1024u, U32At(first, atoms[0]->Body()));
    EXPECT_EQ(0x5u, U32At(first, atoms[0]->Body() + 4));  // group and patriarch
    EXPECT_EQ(0, atoms[0]->instance);
    EXPECT_EQ(2, atoms[0]->version);
    EXPECT_EQ(1025u, U32At(first, atoms[1]->Body()));
    EXPECT_EQ(0xA00u, U32At(first, atoms[1]->Body() + 4));
    EXPECT_EQ(1027u, U32At(first, atoms[3]->Body()));

    // After ids up to 1030 the next drawing begins at 2048.
    DrawingFixture g;
    g.Drawing(5);
    EXPECT_EQ(1031u, g.escher->GetNextShapeId());
    g.Drawing(0);
    EXPECT_EQ(2050u, g.escher->GetNextShapeId());
    const std::vector<uint8_t> bytes = g.Bytes();
    ASSERT_TRUE(ParseTree(bytes, root, error)) << error;
    atoms.clear();
    root.children[1].FindAll(PptEscherEx::kSp, atoms);
    ASSERT_EQ(2u, atoms.size());
    EXPECT_EQ(2048u, U32At(bytes, atoms[0]->Body()));
    EXPECT_EQ(2, g.escher->GetCurrentDrawingId());
}

TEST(EscherDrawing, ClustersCountTheIdsOfEachDrawing)
{
    DrawingFixture f(3);
    f.Drawing(2);  // ids 1024..1027: 4 taken, 3 counted
    EXPECT_EQ(3u, f.escher->GetTotalCountedShapes());

    // A drawing without counted shapes.
    f.escher->BeginContainer(PptEscherEx::kDgContainer);
    f.escher->EndContainer();

    // A drawing taking 1030 ids spans two blocks.
    f.escher->BeginContainer(PptEscherEx::kDgContainer);
    f.escher->BeginGroup();
    for (int i = 0; i < 1029; ++i)
        f.escher->WriteShapeAtom(202, 0xA00);
    f.escher->EndGroup();
    f.escher->EndContainer();

    const std::vector<std::pair<uint32_t, uint32_t>> expected = {{1, 4}, {0, 0}, {3, 1024}, {3, 6}};
    EXPECT_EQ(expected, Clusters(*f.escher));
    EXPECT_EQ(4u, f.escher->GetClusterCount());  // 3 declared + 1 extra block
    EXPECT_EQ(3u + 1030, f.escher->GetTotalCountedShapes());

    const std::vector<uint8_t> bytes = f.Bytes();
    PptRecord root;
    std::string error;
    ASSERT_TRUE(ParseTree(bytes, root, error)) << error;
    ASSERT_EQ(3u, root.children.size());
    const PptRecord* empty = root.children[1].Find(PptEscherEx::kDg);
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, U32At(bytes, empty->Body()));
}

TEST(ShapeProperties, SortedByIdWithComplexDataAfter)
{
    ShapePropertyTable table;
    table.SetProperty(0x01FF, 0x00090000);
    const uint8_t name[6] = {'a', 0, 'b', 0, 0, 0};
    table.SetProperty(0x0105, 6, true, name, 6);
    table.SetProperty(0x0080, 8007620);
    table.SetProperty(0x0106, 13);
    table.SetProperty(0x0080, 8007716);  // replaces the first value
    EXPECT_EQ(4u, table.GetCount());
    EXPECT_EQ(4u * 6 + 6, table.GetTotalSize());
    EXPECT_TRUE(table.HasComplexData());

    PPTOutStream out;
    out.Attach(NewMemoryStream());
    table.WriteTo(out, 3);
    const std::vector<uint8_t> bytes = StreamBytes(out.Get());
    ASSERT_EQ(8u + 30, bytes.size());
    EXPECT_EQ(0x0043, U16At(bytes, 0));  // 4 entries, version 3
    EXPECT_EQ(0xF00B, U16At(bytes, 2));
    EXPECT_EQ(30u, U32At(bytes, 4));
    const struct {
        uint16_t id;
        uint32_t value;
    } expected[] = {{0x0080, 8007716}, {0xC105, 6}, {0x0106, 13}, {0x01FF, 0x00090000}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i].id, U16At(bytes, 8 + 6 * i)) << i;
        EXPECT_EQ(expected[i].value, U32At(bytes, 10 + 6 * i)) << i;
    }
    EXPECT_EQ('a', bytes[32]);
    EXPECT_EQ('b', bytes[34]);

    // Replacing complex data by a plain value gives its bytes back.
    table.SetProperty(0x0105, 1);
    EXPECT_EQ(4u * 6, table.GetTotalSize());
    uint32_t value = 0;
    ASSERT_TRUE(table.GetValue(0x0105, value));
    EXPECT_EQ(1u, value);
}

TEST(ShapeProperties, RotationIsSixteenDotSixteenDegrees)
{
    const struct {
        int32_t angle;   // hundredths of a degree
        int32_t degrees; // stored, 0..359
    } cases[] = {{-9000, 270}, {9000, 90}, {27000, 270}, {-27000, 90}, {4500, 45}, {18000, 180}, {100, 1}};
    for (const auto& c : cases) {
        ShapePropertyTable table;
        table.SetRotation(c.angle);
        uint32_t value = 0;
        ASSERT_TRUE(table.GetValue(ShapePropertyTable::kRotation, value)) << c.angle;
        EXPECT_EQ(static_cast<uint32_t>(c.degrees) << 16, value) << c.angle;
    }
    ShapePropertyTable none;
    none.SetRotation(0);
    EXPECT_EQ(0u, none.GetCount());

    ShapePropertyTable exact;
    exact.SetRotation(-9000);
    uint32_t value = 0;
    exact.GetValue(ShapePropertyTable::kRotation, value);
    EXPECT_EQ(0x010E0000u, value);
}
