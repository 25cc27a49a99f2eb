// The format list handed out by CreateFormatList: chains of format and extension
// records whose 32-bit layout the program shares (it deep-copies them). Each record
// starts with a table of one slot, its deleting destructor, called like a member
// function (this in ECX, the flags on the stack, popped by the callee; bit 0 of the
// flags frees the record).
#pragma once

#include <cstddef>
#include <cstdint>

namespace rasterlib {

struct ExtensionRecord;
struct FormatRecord;

typedef void*(__attribute__((thiscall)) * ExtensionDeleter)(ExtensionRecord* self, unsigned flags);
typedef void*(__attribute__((thiscall)) * FormatDeleter)(FormatRecord* self, unsigned flags);

struct ExtensionVtable {
    ExtensionDeleter deletingDestructor;
};

struct FormatVtable {
    FormatDeleter deletingDestructor;
};

struct ExtensionRecord {
    const ExtensionVtable* vtable;
    char* extension;  // without the dot
    uint32_t fileType;
    uint8_t firstFlag;   // readable
    uint8_t secondFlag;  // writable
    uint8_t pad[2];
    uint32_t extensionId;
    ExtensionRecord* previous;
    ExtensionRecord* next;
};

struct FormatRecord {
    const FormatVtable* vtable;
    wchar_t* name;
    uint32_t formatId;
    ExtensionRecord* extensions;
    uint8_t firstFlag;   // readable
    uint8_t secondFlag;  // writable
    uint8_t pad[2];
    FormatRecord* previous;
    FormatRecord* next;
};

static_assert(sizeof(void*) == 4, "the record layout is the 32-bit one");
static_assert(sizeof(ExtensionRecord) == 28, "extension record size");
static_assert(offsetof(ExtensionRecord, extension) == 4 && offsetof(ExtensionRecord, fileType) == 8 &&
                  offsetof(ExtensionRecord, firstFlag) == 12 && offsetof(ExtensionRecord, secondFlag) == 13 &&
                  offsetof(ExtensionRecord, extensionId) == 16 && offsetof(ExtensionRecord, previous) == 20 &&
                  offsetof(ExtensionRecord, next) == 24,
              "extension record layout");
static_assert(sizeof(FormatRecord) == 28, "format record size");
static_assert(offsetof(FormatRecord, name) == 4 && offsetof(FormatRecord, formatId) == 8 &&
                  offsetof(FormatRecord, extensions) == 12 && offsetof(FormatRecord, firstFlag) == 16 &&
                  offsetof(FormatRecord, secondFlag) == 17 && offsetof(FormatRecord, previous) == 20 &&
                  offsetof(FormatRecord, next) == 24,
              "format record layout");

// Format id of every image format of the library.
constexpr uint32_t kImageFormatId = 1024;

// One record per format of the format table, linked both ways; null when memory is
// short.
FormatRecord* BuildFormatList();

// Frees a chain from its first record (the deleting destructor of that record).
void FreeFormatList(FormatRecord* first);

}  // namespace rasterlib
