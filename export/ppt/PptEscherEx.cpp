#include "export/ppt/PptEscherEx.h"

PptEscherEx::PptEscherEx(PPTOutStream& stream, uint32_t drawingCount)
    : EscherEx(stream), m_drawingCount(drawingCount), m_clusterCount(drawingCount), m_clusters(512, 64)
{
}

void PptEscherEx::BeginContainer(uint16_t type, uint16_t instance)
{
    EscherEx::BeginContainer(type, instance);
    if (type == kDgContainer && !m_inDrawing) {
        m_inDrawing = true;
        ++m_drawingId;
        // Every drawing takes its ids from a fresh block.
        m_nextShapeId = (m_lastShapeId & ~(kIdsPerBlock - 1)) + kIdsPerBlock;
        m_countedInDrawing = 0;
        m_takenInDrawing = 0;
        WriteRecordHeader(8, kDg, 0, static_cast<uint16_t>(m_drawingId));
        RememberOffset(kDrawingAtomKey + m_drawingId, Tell());
        GetStream().WriteU32(0).WriteU32(0);
    } else if (type == kSpgrContainer && m_inDrawing) {
        m_inGroup = true;
    }
}

void PptEscherEx::EndContainer()
{
    const uint16_t type = GetInnermostType();
    EscherEx::EndContainer();
    if (type == kDgContainer && m_inDrawing) {
        m_inDrawing = false;
        const uint32_t back = Tell();
        SeekToOffset(kDrawingAtomKey + m_drawingId);
        GetStream().WriteU32(m_countedInDrawing).WriteU32(m_lastShapeId);
        GetStream().Seek(back);
        m_totalCounted += m_countedInDrawing;
        if (m_countedInDrawing == 0) {
            m_clusters.WriteU32(0);
            m_clusters.WriteU32(0);
        } else {
            uint32_t left = m_takenInDrawing;
            bool first = true;
            do {
                uint32_t ids = left > kIdsPerBlock ? kIdsPerBlock : left % kIdsPerBlock;
                if (ids == 0)
                    ids = kIdsPerBlock;
                m_clusters.WriteU32(m_drawingId);
                m_clusters.WriteU32(ids);
                if (!first)
                    ++m_clusterCount;
                first = false;
                left = left > kIdsPerBlock ? left - kIdsPerBlock : 0;
            } while (left > 0);
        }
    } else if (type == kSpgrContainer) {
        m_inGroup = false;
    }
}

uint32_t PptEscherEx::TakeShapeId()
{
    const uint32_t id = m_nextShapeId++;
    m_lastShapeId = id;
    ++m_takenInDrawing;
    return id;
}

void PptEscherEx::WriteShapeAtom(uint16_t shapeType, uint32_t flags, uint32_t id)
{
    WriteRecordHeader(8, kSp, 2, shapeType);
    if (id == 0)
        id = TakeShapeId();
    if (flags != kFlagGroup && m_groupLevel > 1)
        flags |= kFlagChild;
    GetStream().WriteU32(id).WriteU32(flags);
    if (m_inGroup)
        ++m_countedInDrawing;
}

void PptEscherEx::WriteChildAnchor(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    WriteRecordHeader(16, kChildAnchor, 0, 0);
    GetStream()
        .WriteU32(static_cast<uint32_t>(left))
        .WriteU32(static_cast<uint32_t>(top))
        .WriteU32(static_cast<uint32_t>(right))
        .WriteU32(static_cast<uint32_t>(bottom));
}

uint32_t PptEscherEx::BeginGroup()
{
    BeginContainer(kSpgrContainer);
    BeginContainer(kSpContainer);
    SetOffset(kGroupAtomKey + m_groupLevel, Tell());
    WriteRecordHeader(16, kSpgr, 1, 0);
    GetStream().WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(0);
    const uint32_t id = TakeShapeId();
    WriteShapeAtom(0, m_groupLevel == 0 ? (kFlagGroup | kFlagPatriarch) : kFlagGroup, id);
    EndContainer();
    ++m_groupLevel;
    return id;
}

void PptEscherEx::EndGroup()
{
    if (m_groupLevel > 0)
        --m_groupLevel;
    EndContainer();
}
