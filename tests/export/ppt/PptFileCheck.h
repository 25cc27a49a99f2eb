#pragma once
// Reads a written presentation back and checks it the way a reader would:
// the compound file with its class id and streams, every record length, the
// persist directory and every reference into it, the user edit and the
// Current User stream. Then decodes shapes and text boxes for the tests.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/export/ppt/PptTestSupport.h"

struct Presentation {
    CompoundFile file;
    std::vector<uint8_t> doc;  // "PowerPoint Document"
    PptRecord root;
    const PptRecord* document = nullptr;
    const PptRecord* master = nullptr;
    std::vector<const PptRecord*> slides;  // in persist order
    uint32_t persistDirectory = 0;
    uint32_t userEdit = 0;
    uint32_t persistSeed = 0;
};

// Loads and checks (gtest failures on every violation); slides is the
// number of slides expected.
void LoadPresentation(const std::wstring& path, size_t slides, Presentation& out);

struct ParagraphRun {
    uint32_t count = 0;
    uint32_t mask = 0;
    uint16_t alignment = 0;
};

struct CharacterRun {
    uint32_t count = 0;
    uint32_t mask = 0;
    uint16_t style = 0;
    uint16_t font = 0;
    uint16_t size = 0;
    uint32_t color = 0;
};

struct ShapeInfo {
    uint16_t shapeType = 0;
    uint32_t id = 0;
    uint32_t flags = 0;
    bool hasAnchor = false;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::map<uint16_t, uint32_t> properties;        // by id without flags
    std::map<uint16_t, uint16_t> propertyFlags;      // 0x4000 / 0x8000 of each id
    std::map<uint16_t, std::vector<uint8_t>> complex;
    bool hasText = false;
    uint32_t textType = 0;
    std::wstring text;
    std::vector<ParagraphRun> paragraphs;
    std::vector<CharacterRun> characters;
};

// The shapes of a slide's (or the master's) drawing in stream order: the
// ones in the patriarch group, then the background shape.
std::vector<ShapeInfo> SlideShapes(const Presentation& p, const PptRecord& slide);

// The text boxes of a slide, in order.
std::vector<ShapeInfo> TextBoxes(const Presentation& p, const PptRecord& slide);
// The picture frames of a slide, in order.
std::vector<ShapeInfo> Pictures(const Presentation& p, const PptRecord& slide);

// The UTF-16 text of complex property data without its terminating zero.
std::wstring ComplexText(const std::vector<uint8_t>& bytes);
