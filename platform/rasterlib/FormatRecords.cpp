#include "platform/rasterlib/FormatRecords.h"

#include "platform/rasterlib/FormatTable.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace rasterlib {

namespace {

void* __attribute__((thiscall)) DeleteExtension(ExtensionRecord* self, unsigned flags);
void* __attribute__((thiscall)) DeleteFormat(FormatRecord* self, unsigned flags);

const ExtensionVtable kExtensionVtable = {&DeleteExtension};
const FormatVtable kFormatVtable = {&DeleteFormat};

// Destroys the record and the rest of its chain after it, unlinking it from the one
// before.
void DestroyExtensionChain(ExtensionRecord* self)
{
    if (self->previous)
        self->previous->next = nullptr;
    ExtensionRecord* rest = self->next;
    std::free(self->extension);
    self->extension = nullptr;
    while (rest) {
        ExtensionRecord* after = rest->next;
        std::free(rest->extension);
        std::free(rest);
        rest = after;
    }
    self->next = nullptr;
}

void DestroyFormatChain(FormatRecord* self)
{
    if (self->previous)
        self->previous->next = nullptr;
    FormatRecord* record = self;
    while (record) {
        FormatRecord* after = record->next;
        std::free(record->name);
        if (record->extensions)
            record->extensions->vtable->deletingDestructor(record->extensions, 1);
        if (record != self)
            std::free(record);
        record = after;
    }
    self->name = nullptr;
    self->extensions = nullptr;
    self->next = nullptr;
}

void* __attribute__((thiscall)) DeleteExtension(ExtensionRecord* self, unsigned flags)
{
    DestroyExtensionChain(self);
    if (flags & 1)
        std::free(self);
    return self;
}

void* __attribute__((thiscall)) DeleteFormat(FormatRecord* self, unsigned flags)
{
    DestroyFormatChain(self);
    if (flags & 1)
        std::free(self);
    return self;
}

ExtensionRecord* NewExtension(const char* text, uint32_t fileType, uint32_t id)
{
    auto* record = static_cast<ExtensionRecord*>(std::calloc(1, sizeof(ExtensionRecord)));
    if (!record)
        return nullptr;
    record->vtable = &kExtensionVtable;
    const size_t length = std::strlen(text) + 1;
    record->extension = static_cast<char*>(std::malloc(length));
    if (!record->extension) {
        std::free(record);
        return nullptr;
    }
    std::memcpy(record->extension, text, length);
    record->fileType = fileType;
    record->firstFlag = 1;
    record->secondFlag = 1;
    record->extensionId = id;
    return record;
}

FormatRecord* NewFormat(const FormatEntry& entry)
{
    auto* record = static_cast<FormatRecord*>(std::calloc(1, sizeof(FormatRecord)));
    if (!record)
        return nullptr;
    record->vtable = &kFormatVtable;
    const size_t length = std::wcslen(entry.displayName) + 1;
    record->name = static_cast<wchar_t*>(std::malloc(length * sizeof(wchar_t)));
    if (!record->name) {
        std::free(record);
        return nullptr;
    }
    std::memcpy(record->name, entry.displayName, length * sizeof(wchar_t));
    record->formatId = kImageFormatId;
    record->firstFlag = 1;
    record->secondFlag = 1;
    ExtensionRecord* last = nullptr;
    uint32_t id = entry.firstExtensionId;
    for (const char* const* ext = entry.extensions; *ext; ++ext, ++id) {
        ExtensionRecord* added = NewExtension(*ext, entry.typeCode, id);
        if (!added) {
            DeleteFormat(record, 1);
            return nullptr;
        }
        added->previous = last;
        if (last)
            last->next = added;
        else
            record->extensions = added;
        last = added;
    }
    return record;
}

}  // namespace

FormatRecord* BuildFormatList()
{
    size_t count = 0;
    const FormatEntry* entries = FormatEntries(count);
    FormatRecord* first = nullptr;
    FormatRecord* last = nullptr;
    for (size_t i = 0; i < count; ++i) {
        FormatRecord* added = NewFormat(entries[i]);
        if (!added) {
            FreeFormatList(first);
            return nullptr;
        }
        added->previous = last;
        if (last)
            last->next = added;
        else
            first = added;
        last = added;
    }
    return first;
}

void FreeFormatList(FormatRecord* first)
{
    if (first)
        first->vtable->deletingDestructor(first, 1);
}

}  // namespace rasterlib
