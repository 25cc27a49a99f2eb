#pragma once
// CKWMemFile: a CKWFile over a block of memory, with binary number forms.
// Open and Close do nothing: the memory stays open until the object is
// destroyed, so that its block can be taken (GetMemoryBlock, DetachMemory).
#include "framework/KWFile.h"

class CKWMemFile : public CKWFile {
public:
    // No data and size 0: a block that grows as it is written. Data and a
    // size: a fixed block holding that data, not owned. No data and a size:
    // a fixed block of that size, owned.
    CKWMemFile(void* data = nullptr, int32_t size = 0);

    // True; the memory is already open.
    bool Open(const wchar_t* name, uint32_t flags) override;
    // Nothing: the memory stays open until the object is destroyed.
    bool Close() override;
};
