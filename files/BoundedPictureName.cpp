#include "files/BoundedPictureName.h"

#include "files/XmlValueForms.h"

#include <cstdint>
#include <vector>

namespace {

// The bytes of a start tag's header a name may take in text form.
const size_t kMaxNameForm = 120;
// The widest form of one character: "&#x10FFFF;".
const size_t kWidestCharacterForm = 10;
const wchar_t kCut[] = L"...";
const size_t kCutForm = 3;

// The text form's size of one character: one unit, or a pair of surrogates.
// The form of each unit is kept once found, so a long run of one (control
// characters, whose form is empty) costs one conversion.
class CCharacterForms {
public:
    CCharacterForms() : m_units(0x10000, kUnknown) {}
    size_t Size(const wchar_t* units, int count)
    {
        if (count > 1)
            return Form(units, count);
        uint8_t& known = m_units[units[0]];
        if (known == kUnknown)
            known = static_cast<uint8_t>(Form(units, 1));
        return known;
    }

private:
    static constexpr uint8_t kUnknown = 0xFF;
    static size_t Form(const wchar_t* units, int count)
    {
        const wchar_t text[3] = {units[0], count > 1 ? units[1] : L'\0', L'\0'};
        return XmlTextForm(text).size();
    }
    std::vector<uint8_t> m_units;
};

}  // namespace

CString BoundedPictureName(const CString& name)
{
    if (XmlTextForm(name).size() <= kMaxNameForm)
        return name;
    // Each character's form is its own (a pair of surrogates is one; a low
    // one without its high one is one of its own), so an end's form grows
    // by one character's as the end grows, and the longest end that fits is
    // found from the last character on. The form of a text stops at its
    // first NUL: an end that starts before one counts only up to it.
    const wchar_t* text = name.GetString();
    const int length = name.GetLength();
    int stop = 1;
    while (stop < length && text[stop] != L'\0')
        ++stop;
    CCharacterForms forms;
    size_t used = 0;
    int start = stop;
    while (start > 1) {
        const int at = start - 1;
        const bool pair = IsHighSurrogate(text[at]) && start < stop && IsLowSurrogate(text[start]);
        const size_t grown = pair ? used - forms.Size(text + start, 1) + forms.Size(text + at, 2)
                                  : used + forms.Size(text + at, 1);
        if (kCutForm + grown > kMaxNameForm)
            break;
        used = grown;
        start = at;
    }
    return CString(kCut) + name.Mid(start);
}

bool IsBoundedPictureName(const CString& name)
{
    if (name.Left(static_cast<int>(kCutForm)) != kCut)
        return false;
    const size_t size = XmlTextForm(name).size();
    return size > kMaxNameForm - kWidestCharacterForm && size <= kMaxNameForm;
}
