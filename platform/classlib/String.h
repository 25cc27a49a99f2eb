#pragma once
// CString: a UTF-16 string with shared, reference-counted storage that is
// copied on the first write (copies of a string are cheap and frequent).
#include <cstdarg>
#include <cstddef>

class CString {
public:
    CString();
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(const wchar_t* text);
    CString(const wchar_t* text, int length);
    CString(wchar_t ch, int repeat = 1);
    // ANSI text, converted with the ANSI code page.
    explicit CString(const char* ansi);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const wchar_t* text);
    CString& operator=(wchar_t ch);

    int GetLength() const { return Data()->length; }
    bool IsEmpty() const { return GetLength() == 0; }
    void Empty();

    operator const wchar_t*() const { return m_text; }
    const wchar_t* GetString() const { return m_text; }

    wchar_t GetAt(int index) const { return m_text[index]; }
    wchar_t operator[](int index) const { return m_text[index]; }
    void SetAt(int index, wchar_t ch);

    // Direct access: the buffer holds at least minLength characters plus the
    // terminator until ReleaseBuffer sets the length (-1: up to the first NUL).
    wchar_t* GetBuffer(int minLength = 0);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);
    void Append(const wchar_t* text, int length);

    // Ordinal comparison of UTF-16 code units.
    int Compare(const wchar_t* text) const;
    int CompareNoCase(const wchar_t* text) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* text, int start = 0) const;
    int ReverseFind(wchar_t ch) const;

    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* text);
    int Delete(int index, int count = 1);
    int Remove(wchar_t ch);
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(const wchar_t* oldText, const wchar_t* newText);

    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

    // printf-style formatting with the C runtime's wide conventions; pass
    // wide string arguments with %ls so the meaning is the same everywhere.
    void Format(const wchar_t* format, ...);
    void AppendFormat(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);

private:
    struct Header {
        long refs;
        int length;
        int capacity;
        wchar_t* Text() { return reinterpret_cast<wchar_t*>(this + 1); }
    };

    Header* Data() const { return reinterpret_cast<Header*>(m_text) - 1; }
    static Header* Allocate(int capacity);
    static wchar_t* EmptyText();
    void Release();
    void Assign(const wchar_t* text, int length);
    // Makes the storage unshared with room for capacity characters, keeping the text.
    void PrepareWrite(int capacity);

    wchar_t* m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const wchar_t* b);
bool operator==(const wchar_t* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const wchar_t* b);
bool operator!=(const wchar_t* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
