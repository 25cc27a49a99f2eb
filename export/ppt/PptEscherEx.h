#pragma once
// PptEscherEx: the Office drawing records on top of the record layer: one
// drawing per slide (and one for the master), each with its block of shape
// ids, the patriarch group, shape atoms and anchors, and the id clusters that
// the drawing group atom lists.
#include "export/ppt/EscherEx.h"
#include "export/ppt/SvMemoryStream.h"

#include <cstdint>

class PptEscherEx : public EscherEx {
public:
    // Record types of the drawing layer.
    enum : uint16_t {
        kDggContainer = 0xF000,
        kDgContainer = 0xF002,
        kSpgrContainer = 0xF003,
        kSpContainer = 0xF004,
        kDgg = 0xF006,
        kDg = 0xF008,
        kSpgr = 0xF009,
        kSp = 0xF00A,
        kOpt = 0xF00B,
        kClientTextbox = 0xF00D,
        kChildAnchor = 0xF00F,
        kSplitMenuColors = 0xF11E,
    };
    // Shape flags.
    enum : uint32_t {
        kFlagGroup = 0x001,
        kFlagChild = 0x002,
        kFlagPatriarch = 0x004,
        kFlagHaveAnchor = 0x200,
        kFlagBackground = 0x400,
        kFlagHaveShapeType = 0x800,
    };
    static constexpr uint32_t kIdsPerBlock = 1024;
    // Persist table keys.
    static constexpr uint32_t kDrawingAtomKey = 0x20000;
    static constexpr uint32_t kGroupAtomKey = 0x50000;

    // drawingCount: the drawings the file declares (page count + 1).
    PptEscherEx(PPTOutStream& stream, uint32_t drawingCount);

    // A drawing container opened outside a drawing starts the next drawing
    // (its atom is written at once); a group container inside one makes the
    // shapes written until it closes count.
    void BeginContainer(uint16_t type, uint16_t instance = 0) override;
    // Closing a drawing fills its atom and adds its id clusters.
    void EndContainer() override;

    uint32_t TakeShapeId();
    // id 0 takes a new one. Shapes below the patriarch's level get the child flag.
    void WriteShapeAtom(uint16_t shapeType, uint32_t flags, uint32_t id = 0);
    // Left, top, right, bottom in master units.
    void WriteChildAnchor(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Opens the (empty) patriarch group of the drawing; returns its shape id.
    uint32_t BeginGroup();
    void EndGroup();

    // For the drawing group atom.
    uint32_t GetNextShapeId() const { return m_nextShapeId; }
    uint32_t GetClusterCount() const { return m_clusterCount; }
    uint32_t GetTotalCountedShapes() const { return m_totalCounted; }
    uint32_t GetDrawingCount() const { return m_drawingCount; }
    uint32_t GetCurrentDrawingId() const { return m_drawingId; }
    uint32_t GetGroupLevel() const { return m_groupLevel; }
    // The (drawing id, ids) pairs, 8 bytes each.
    const SvMemoryStream& GetClusters() const { return m_clusters; }

private:
    uint32_t m_drawingCount;
    uint32_t m_clusterCount;
    uint32_t m_drawingId = 0;
    uint32_t m_nextShapeId = 0;
    uint32_t m_lastShapeId = 0;
    uint32_t m_countedInDrawing = 0;
    uint32_t m_takenInDrawing = 0;
    uint32_t m_totalCounted = 0;
    uint32_t m_groupLevel = 0;
    bool m_inDrawing = false;
    bool m_inGroup = false;
    SvMemoryStream m_clusters;
};
