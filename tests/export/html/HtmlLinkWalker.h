// Walks the href and src references of written HTML documents and tells
// which do not lead to a file.
#pragma once

#include <algorithm>
#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "HtmlTestSupport.h"

namespace htmltest {

// Entities of attribute values, then percent escapes (UTF-8).
inline std::string DecodeReference(const std::string& value)
{
    std::string text;
    for (size_t i = 0; i < value.size();) {
        static const struct {
            const char* entity;
            char ch;
        } entities[] = {{"&amp;", '&'}, {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}};
        bool replaced = false;
        for (const auto& e : entities) {
            const size_t n = std::char_traits<char>::length(e.entity);
            if (value.compare(i, n, e.entity) == 0) {
                text += e.ch;
                i += n;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            text += value[i++];
    }
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && isxdigit(uint8_t(text[i + 1])) &&
            isxdigit(uint8_t(text[i + 2]))) {
            decoded += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

struct LinkReport {
    size_t references = 0;
    std::vector<std::string> broken;  // "document -> reference"
};

// Every href and src value of the document, quoted or not.
inline std::vector<std::string> FindReferences(const std::string& html)
{
    static const std::regex reference("(?:href|src)\\s*=\\s*(?:\"([^\"]*)\"|([^\\s>\"]+))", std::regex::icase);
    std::vector<std::string> values;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), reference); it != std::sregex_iterator(); ++it)
        values.push_back((*it)[1].matched ? (*it)[1].str() : (*it)[2].str());
    return values;
}

// Follows the references of each document (and of the documents they lead
// to) relative to the referring document's folder.
inline LinkReport WalkLinks(const std::wstring& start)
{
    LinkReport report;
    std::vector<std::wstring> pending{start};
    std::vector<std::wstring> seen;
    while (!pending.empty()) {
        std::wstring document = pending.back();
        pending.pop_back();
        if (std::find(seen.begin(), seen.end(), document) != seen.end())
            continue;
        seen.push_back(document);
        const std::wstring folder = document.substr(0, document.find_last_of(L'\\') + 1);
        for (const std::string& value : FindReferences(ReadText(document))) {
            ++report.references;
            std::wstring relative = Wide(DecodeReference(value));
            for (wchar_t& ch : relative) {
                if (ch == L'/')
                    ch = L'\\';
            }
            wchar_t full[MAX_PATH * 2];
            if (!::GetFullPathNameW((folder + relative).c_str(), MAX_PATH * 2, full, nullptr) || !IsFile(full)) {
                report.broken.push_back(Narrow(document) + " -> " + value);
                continue;
            }
            const std::wstring target = full;
            const std::wstring extension = target.substr(target.find_last_of(L'.') + 1);
            if (extension == L"htm" || extension == L"html")
                pending.push_back(target);
        }
    }
    return report;
}

}  // namespace htmltest
