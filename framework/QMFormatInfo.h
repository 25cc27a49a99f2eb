#pragma once
// The format and extension records of the raster-image library. The library
// builds chains of them and the program deep-copies those chains, so the
// layout (32-bit, 28 bytes each, the virtual table first) is shared with the
// library and must not change.
#include <cstdint>

class CQMExtensionInfo {
public:
    // Copies text; links next (when given) back to the new record.
    CQMExtensionInfo(uint32_t extensionId, const char* text, uint32_t fileType, uint8_t firstFlag,
                     uint8_t secondFlag, CQMExtensionInfo* next);
    // Deep copy of the record and of the rest of its chain.
    CQMExtensionInfo(const CQMExtensionInfo& other);
    CQMExtensionInfo& operator=(const CQMExtensionInfo&) = delete;
    // Unlinks the record and deletes the rest of the chain after it.
    virtual ~CQMExtensionInfo();

    // Links a deep copy of source and of its whole tail after the last record.
    void Append(const CQMExtensionInfo& source);

    const char* GetText() const { return m_text; }
    uint32_t GetFileType() const { return m_fileType; }
    uint8_t GetFirstFlag() const { return m_firstFlag; }
    uint8_t GetSecondFlag() const { return m_secondFlag; }
    uint32_t GetExtensionId() const { return m_extensionId; }
    CQMExtensionInfo* GetPrevious() const { return m_previous; }
    CQMExtensionInfo* GetNext() const { return m_next; }

private:
    char* m_text;             // without the dot; may be null
    uint32_t m_fileType;      // four characters packed, or 0
    uint8_t m_firstFlag;
    uint8_t m_secondFlag;
    uint32_t m_extensionId;
    CQMExtensionInfo* m_previous;
    CQMExtensionInfo* m_next;
};

class CQMFormatInfo {
public:
    // Copies name and takes extensions (owned); links next back to the new record.
    CQMFormatInfo(uint32_t formatId, uint8_t firstFlag, uint8_t secondFlag, const wchar_t* name,
                  CQMExtensionInfo* extensions, CQMFormatInfo* next);
    // Deep copy: name, values, the extension chain, then the rest of the format chain.
    CQMFormatInfo(const CQMFormatInfo& other);
    CQMFormatInfo& operator=(const CQMFormatInfo&) = delete;
    // Frees the name and the extensions, unlinks the record and deletes the rest of the chain.
    virtual ~CQMFormatInfo();

    void Append(const CQMFormatInfo& source);

    const wchar_t* GetName() const { return m_name; }
    uint32_t GetFormatId() const { return m_formatId; }
    CQMExtensionInfo* GetExtensions() const { return m_extensions; }
    uint8_t GetFirstFlag() const { return m_firstFlag; }
    uint8_t GetSecondFlag() const { return m_secondFlag; }
    CQMFormatInfo* GetPrevious() const { return m_previous; }
    CQMFormatInfo* GetNext() const { return m_next; }

private:
    wchar_t* m_name;
    uint32_t m_formatId;  // a bit value of the application's file-format flags
    CQMExtensionInfo* m_extensions;
    uint8_t m_firstFlag;
    uint8_t m_secondFlag;
    CQMFormatInfo* m_previous;
    CQMFormatInfo* m_next;
};
