#pragma once
// The commands whose payload is a plain value: flags, indices, pairs of
// numbers, colours and strings.
#include <cstdint>

#include "framework/KWColor.h"
#include "model/TalCommand.h"
#include "platform/classlib/String.h"

// Kinds 1, 4, 6: a flag.
class CCmdBoolData : public CTalCommand {
public:
    CCmdBoolData(int32_t kind, CTalObject* target, uint8_t value)
        : CTalCommand(kind, target), m_value(value) {}
    uint8_t GetValue() const { return m_value; }

private:
    uint8_t m_value;
};

// Kinds 39, 40: a run or paragraph index.
class CCmdIntData : public CTalCommand {
public:
    CCmdIntData(int32_t kind, CTalObject* target, int32_t index)
        : CTalCommand(kind, target), m_index(index) {}
    int32_t GetIndex() const { return m_index; }

private:
    int32_t m_index;
};

// Kinds 16, 24: an index and a byte (style flags, alignment).
class CCmdIntByteData : public CCmdIntData {
public:
    CCmdIntByteData(int32_t kind, CTalObject* target, int32_t index, uint8_t value)
        : CCmdIntData(kind, target, index), m_value(value) {}
    uint8_t GetValue() const { return m_value; }

private:
    uint8_t m_value;
};

// Kinds 18, 20, 22, 28: an index and a value; kind 50: a text range.
class CCmdIntIntData : public CCmdIntData {
public:
    CCmdIntIntData(int32_t kind, CTalObject* target, int32_t first, int32_t second)
        : CCmdIntData(kind, target, first), m_second(second) {}
    int32_t GetFirst() const { return GetIndex(); }
    int32_t GetSecond() const { return m_second; }

private:
    int32_t m_second;
};

// Kinds 25, 26, 27: an index and an indent.
class CCmdIntFloatData : public CCmdIntData {
public:
    CCmdIntFloatData(int32_t kind, CTalObject* target, int32_t index, float value)
        : CCmdIntData(kind, target, index), m_value(value) {}
    float GetValue() const { return m_value; }

private:
    float m_value;
};

// Kind 21: an index and a run colour.
class CCmdIntColorData : public CCmdIntData {
public:
    CCmdIntColorData(int32_t kind, CTalObject* target, int32_t index, const CKWColor& color)
        : CCmdIntData(kind, target, index), m_color(color) {}
    const CKWColor& GetColor() const { return m_color; }

private:
    CKWColor m_color;
};

// Kind 35: the colour of a text's box attributes.
class CCmdColorData : public CTalCommand {
public:
    CCmdColorData(int32_t kind, CTalObject* target, const CKWColor& color)
        : CTalCommand(kind, target), m_color(color) {}
    const CKWColor& GetColor() const { return m_color; }

private:
    CKWColor m_color;
};

// Kind 5: a page-template name.
class CCmdStringData : public CTalCommand {
public:
    CCmdStringData(int32_t kind, CTalObject* target, const CString& text)
        : CTalCommand(kind, target), m_text(text) {}
    CString GetText() const { return m_text; }

private:
    CString m_text;
};
