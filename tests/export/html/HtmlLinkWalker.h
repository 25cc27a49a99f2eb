// Walks the href and src references of written HTML documents and tells
// which do not lead to a page or a picture a browser shows, and what text a
// browser shows of the documents.
#pragma once

#include <algorithm>
#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "HtmlTestSupport.h"

namespace htmltest {

// The entities the export writes, decoded; &nbsp; as a blank.
inline std::string DecodeEntities(const std::string& value)
{
    static const struct {
        const char* entity;
        char ch;
    } entities[] = {{"&amp;", '&'}, {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&nbsp;", ' '}};
    std::string text;
    for (size_t i = 0; i < value.size();) {
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
    return text;
}

// Entities of attribute values, then percent escapes (UTF-8).
inline std::string DecodeReference(const std::string& value)
{
    const std::string text = DecodeEntities(value);
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

// What a browser shows of a document: the text between the tags, entities
// decoded, "<BR>" as a line break.
inline std::string VisibleText(const std::string& html)
{
    static const std::regex lineBreak("<BR>", std::regex::icase);
    static const std::regex tag("<[^>]*>");
    return DecodeEntities(std::regex_replace(std::regex_replace(html, lineBreak, "\n"), tag, ""));
}

// True for the bytes of a picture format every browser shows.
inline bool IsShownPicture(const std::string& bytes)
{
    return bytes.compare(0, 3, "\xFF\xD8\xFF") == 0 || bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0 ||
           bytes.compare(0, 4, "GIF8") == 0 || bytes.compare(0, 2, "BM") == 0;
}

struct LinkReport {
    size_t references = 0;
    std::vector<std::string> broken;  // "document -> reference": no file, or no page or picture a browser shows
    std::string text;                 // the visible text of every document walked
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
        const std::string html = ReadFileBytes(document);
        report.text += VisibleText(html);
        for (const std::string& value : FindReferences(html)) {
            ++report.references;
            std::wstring relative = Wide(DecodeReference(value));
            for (wchar_t& ch : relative) {
                if (ch == L'/')
                    ch = L'\\';
            }
            wchar_t full[MAX_PATH * 2];
            if (!::GetFullPathNameW((folder + relative).c_str(), MAX_PATH * 2, full, nullptr) || !FileExistsAt(full)) {
                report.broken.push_back(Narrow(document) + " -> " + value);
                continue;
            }
            const std::wstring target = full;
            const std::wstring extension = target.substr(target.find_last_of(L'.') + 1);
            if (extension == L"htm" || extension == L"html")
                pending.push_back(target);
            else if (!IsShownPicture(ReadFileBytes(target)))
                report.broken.push_back(Narrow(document) + " -> " + value + " (not a picture a browser shows)");
        }
    }
    return report;
}

}  // namespace htmltest
