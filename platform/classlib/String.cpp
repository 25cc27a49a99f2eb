#include "platform/classlib/String.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>
#include <utility>

namespace {
// The shared empty string is never freed; a negative count marks it.
struct EmptyBlock {
    long refs = -1;
    int length = 0;
    int capacity = 0;
    wchar_t text[1] = {0};
} g_empty;

int TextLength(const wchar_t* text) { return text ? static_cast<int>(std::wcslen(text)) : 0; }
}  // namespace

wchar_t* CString::EmptyText() { return g_empty.text; }

CString::Header* CString::Allocate(int capacity) {
    if (capacity < 0) throw std::bad_alloc();
    size_t bytes = sizeof(Header) + (static_cast<size_t>(capacity) + 1) * sizeof(wchar_t);
    auto* h = static_cast<Header*>(std::malloc(bytes));
    if (!h) throw std::bad_alloc();
    h->refs = 1;
    h->length = 0;
    h->capacity = capacity;
    h->Text()[0] = 0;
    return h;
}

void CString::Release() {
    if (m_text != EmptyText()) {
        Header* h = Data();
        if (::InterlockedDecrement(&h->refs) == 0) std::free(h);
        m_text = EmptyText();
    }
}

CString::CString() : m_text(EmptyText()) {}

CString::CString(const CString& other) : m_text(other.m_text) {
    Header* h = Data();
    if (h->refs >= 0) ::InterlockedIncrement(&h->refs);
}

CString::CString(CString&& other) noexcept : m_text(other.m_text) { other.m_text = EmptyText(); }

CString::CString(const wchar_t* text) : m_text(EmptyText()) { Assign(text, TextLength(text)); }

CString::CString(const wchar_t* text, int length) : m_text(EmptyText()) { Assign(text, text ? length : 0); }

CString::CString(wchar_t ch, int repeat) : m_text(EmptyText()) {
    if (repeat <= 0) return;
    PrepareWrite(repeat);
    for (int i = 0; i < repeat; ++i) m_text[i] = ch;
    m_text[repeat] = 0;
    Data()->length = repeat;
}

CString::CString(const char* ansi) : m_text(EmptyText()) {
    if (!ansi || !*ansi) return;
    int n = ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (n <= 1) return;
    PrepareWrite(n - 1);
    ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, m_text, n);
    Data()->length = n - 1;
}

CString::~CString() { Release(); }

CString& CString::operator=(const CString& other) {
    if (m_text != other.m_text) {
        Header* h = other.Data();
        if (h->refs >= 0) ::InterlockedIncrement(&h->refs);
        Release();
        m_text = other.m_text;
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        Release();
        m_text = other.m_text;
        other.m_text = EmptyText();
    }
    return *this;
}

CString& CString::operator=(const wchar_t* text) {
    Assign(text, TextLength(text));
    return *this;
}

CString& CString::operator=(wchar_t ch) {
    Assign(&ch, 1);
    return *this;
}

void CString::Assign(const wchar_t* text, int length) {
    if (length <= 0) {
        Release();
        return;
    }
    // The source may lie inside our own buffer: copy into fresh storage first.
    Header* h = Allocate(length);
    std::memcpy(h->Text(), text, static_cast<size_t>(length) * sizeof(wchar_t));
    h->Text()[length] = 0;
    h->length = length;
    Release();
    m_text = h->Text();
}

void CString::PrepareWrite(int capacity) {
    Header* h = Data();
    if (h->refs == 1 && h->capacity >= capacity) return;
    int length = h->length;
    int newCapacity = capacity;
    if (h->refs == 1 && capacity > h->capacity) {
        // Growth by half again keeps repeated appends linear.
        long long grown = static_cast<long long>(h->capacity) + h->capacity / 2;
        if (grown > newCapacity && grown < 0x3FFFFFFF) newCapacity = static_cast<int>(grown);
    }
    if (newCapacity < length) newCapacity = length;
    Header* n = Allocate(newCapacity);
    std::memcpy(n->Text(), m_text, (static_cast<size_t>(length) + 1) * sizeof(wchar_t));
    n->length = length;
    Release();
    m_text = n->Text();
}

void CString::Empty() { Release(); }

void CString::SetAt(int index, wchar_t ch) {
    if (index < 0 || index >= GetLength()) return;
    PrepareWrite(GetLength());
    m_text[index] = ch;
}

wchar_t* CString::GetBuffer(int minLength) {
    int length = GetLength();
    PrepareWrite(minLength > length ? minLength : length);
    return m_text;
}

wchar_t* CString::GetBufferSetLength(int length) {
    if (length < 0) length = 0;
    PrepareWrite(length);
    m_text[length] = 0;
    Data()->length = length;
    return m_text;
}

void CString::ReleaseBuffer(int newLength) {
    if (m_text == EmptyText()) return;
    Header* h = Data();
    if (newLength < 0) {
        newLength = 0;
        while (newLength < h->capacity && m_text[newLength]) ++newLength;
    }
    if (newLength > h->capacity) newLength = h->capacity;
    m_text[newLength] = 0;
    h->length = newLength;
}

void CString::Append(const wchar_t* text, int length) {
    if (!text || length <= 0) return;
    int old = GetLength();
    if (m_text <= text && text <= m_text + old) {
        CString copy(text, length);  // appending a part of ourselves
        Append(copy.m_text, length);
        return;
    }
    PrepareWrite(old + length);
    std::memcpy(m_text + old, text, static_cast<size_t>(length) * sizeof(wchar_t));
    m_text[old + length] = 0;
    Data()->length = old + length;
}

CString& CString::operator+=(const CString& other) {
    Append(other.m_text, other.GetLength());
    return *this;
}

CString& CString::operator+=(const wchar_t* text) {
    Append(text, TextLength(text));
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    Append(&ch, 1);
    return *this;
}

int CString::Compare(const wchar_t* text) const {
    const wchar_t* a = m_text;
    const wchar_t* b = text ? text : L"";
    while (*a && *a == *b) ++a, ++b;
    return (*a < *b) ? -1 : (*a > *b ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* text) const {
    const wchar_t* a = m_text;
    const wchar_t* b = text ? text : L"";
    for (;; ++a, ++b) {
        wint_t ca = std::towlower(*a), cb = std::towlower(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (!ca) return 0;
    }
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_text, count);
}

CString CString::Mid(int first) const { return Mid(first, GetLength() - (first < 0 ? 0 : first)); }

CString CString::Mid(int first, int count) const {
    int length = GetLength();
    if (first < 0) first = 0;
    if (first > length) first = length;
    if (count < 0) count = 0;
    if (count > length - first) count = length - first;
    if (first == 0 && count == length) return *this;
    return CString(m_text + first, count);
}

CString CString::Right(int count) const {
    int length = GetLength();
    if (count <= 0) return CString();
    if (count >= length) return *this;
    return CString(m_text + length - count, count);
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0) start = 0;
    for (int i = start; i < GetLength(); ++i)
        if (m_text[i] == ch) return i;
    return -1;
}

int CString::Find(const wchar_t* text, int start) const {
    if (!text || start < 0 || start > GetLength()) return -1;
    const wchar_t* hit = std::wcsstr(m_text + start, text);
    return hit ? static_cast<int>(hit - m_text) : -1;
}

int CString::ReverseFind(wchar_t ch) const {
    for (int i = GetLength() - 1; i >= 0; --i)
        if (m_text[i] == ch) return i;
    return -1;
}

int CString::Insert(int index, wchar_t ch) { return Insert(index, CString(ch).m_text); }

int CString::Insert(int index, const wchar_t* text) {
    int length = GetLength();
    int n = TextLength(text);
    if (index < 0) index = 0;
    if (index > length) index = length;
    if (n > 0) {
        CString source(text, n);  // text may point into this string
        PrepareWrite(length + n);
        std::memmove(m_text + index + n, m_text + index, (static_cast<size_t>(length - index) + 1) * sizeof(wchar_t));
        std::memcpy(m_text + index, source.m_text, static_cast<size_t>(n) * sizeof(wchar_t));
        Data()->length = length + n;
    }
    return GetLength();
}

int CString::Delete(int index, int count) {
    int length = GetLength();
    if (index < 0) index = 0;
    if (count > 0 && index < length) {
        if (count > length - index) count = length - index;
        PrepareWrite(length);
        std::memmove(m_text + index, m_text + index + count,
                     (static_cast<size_t>(length - index - count) + 1) * sizeof(wchar_t));
        Data()->length = length - count;
    }
    return GetLength();
}

int CString::Remove(wchar_t ch) {
    if (Find(ch) < 0) return 0;
    int length = GetLength();
    PrepareWrite(length);
    int out = 0;
    for (int i = 0; i < length; ++i)
        if (m_text[i] != ch) m_text[out++] = m_text[i];
    m_text[out] = 0;
    Data()->length = out;
    return length - out;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
    int count = 0;
    if (oldCh == newCh || Find(oldCh) < 0) return 0;
    PrepareWrite(GetLength());
    for (int i = 0; i < GetLength(); ++i)
        if (m_text[i] == oldCh) m_text[i] = newCh, ++count;
    return count;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    int oldLength = TextLength(oldText);
    if (oldLength == 0) return 0;
    int newLength = TextLength(newText);
    CString result;
    int count = 0, pos = 0;
    for (int hit = Find(oldText, 0); hit >= 0; hit = Find(oldText, pos)) {
        result.Append(m_text + pos, hit - pos);
        result.Append(newText, newLength);
        pos = hit + oldLength;
        ++count;
    }
    if (count) {
        result.Append(m_text + pos, GetLength() - pos);
        *this = std::move(result);
    }
    return count;
}

CString& CString::MakeUpper() {
    if (!IsEmpty()) {
        PrepareWrite(GetLength());
        ::CharUpperBuffW(m_text, static_cast<DWORD>(GetLength()));
    }
    return *this;
}

CString& CString::MakeLower() {
    if (!IsEmpty()) {
        PrepareWrite(GetLength());
        ::CharLowerBuffW(m_text, static_cast<DWORD>(GetLength()));
    }
    return *this;
}

CString& CString::TrimLeft() {
    int n = 0;
    while (n < GetLength() && std::iswspace(m_text[n])) ++n;
    if (n) Delete(0, n);
    return *this;
}

CString& CString::TrimRight() {
    int n = GetLength();
    while (n > 0 && std::iswspace(m_text[n - 1])) --n;
    if (n < GetLength()) *this = Left(n);
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

void CString::FormatV(const wchar_t* format, va_list args) {
    CString result;
    int capacity = 256;
    for (;;) {
        wchar_t* buffer = result.GetBufferSetLength(capacity);
        va_list copy;
        va_copy(copy, args);
        int n = _vsnwprintf(buffer, static_cast<size_t>(capacity), format, copy);
        va_end(copy);
        if (n >= 0 && n < capacity) {
            result.ReleaseBuffer(n);
            break;
        }
        if (capacity > (1 << 26)) {  // a runaway format: keep what fitted
            result.ReleaseBuffer(capacity);
            break;
        }
        capacity *= 2;
    }
    *this = std::move(result);
}

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    *this += tail;
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const wchar_t* b) { CString r(a); r += b; return r; }
CString operator+(const wchar_t* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, wchar_t b) { CString r(a); r += b; return r; }
CString operator+(wchar_t a, const CString& b) { CString r(a); r += b; return r; }

bool operator==(const CString& a, const CString& b) {
    return a.GetLength() == b.GetLength() &&
           std::memcmp(a.GetString(), b.GetString(), static_cast<size_t>(a.GetLength()) * sizeof(wchar_t)) == 0;
}
bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
