// Crafted documents and template files: one seeded mutation loop over files
// the writers made, with real pictures inside. Loading must neither crash nor
// take two seconds nor leak nor grow the memory by 64 MB, writes nothing but
// template files into the template folder, and a load reported as a clean
// success has lost nothing that the mutation left intact: every section,
// picture and template (document) or cell and preview (template file) whose
// bytes are still in the file is in the model. OT_FUZZ_CASES (cases of each
// kind of file; CI runs the default, the long run 100,000) and OT_FUZZ_SEED
// change the run.
#include "DocumentFixture.h"

#include "bench/PeakMemory.h"
#include "files/Base64.h"
#include "files/TalTemplateTags.h"
#include "files/XmlValueForms.h"
#include "framework/KWRasterImage.h"
#include "model/TalTextNote.h"
#include "tests/support/ProcessorSeconds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace doctest;

namespace {

const char* const kSnippets[] = {
    "<", ">", "'", "\"", "&", "&amp;", "&#", "&#x0;", "&#xE00A;", "]]>", "<![CDATA[", "<!--", "-->", "<?pi ?>", "\n",
    "\t", "\xC3", "\xEF\xBB\xBF", "\xFF\xFE", "=", "<Leaf ID='1' IDParentLeaf='0'>", "<Leaf ID='2' IDParentLeaf='2'>",
    "</Leaf>", "<Leafs>", "</Leafs>", "<CurLeafTemplate ID='1'/>", "<TextNote>", "</TextNote>",
    "<CharacterItem CharCount='-1' Spacing='1e999'/>", "<ParagrafItem CharCount='99999999'/>",
    "<ImageListItem ID='1'/>", "<Image ID='1' FileFormat='png'>", "<Image ", "</Image>", "<Image ID='1'>..\\x.png</Image>",
    "<Images SavePicType='1' Count='5'>", "<Images SavePicType='2'>", "SavePicType='", "ID='", "FileFormat='exe",
    "Count='99999999999'", "<LeafTemplate ID='1' FileName='..\\x.otl'>", "<LeafTemplate ID='1' FileName='ok.otl'>",
    "</LeafTemplate>", "<TitleTemplate FileName='t.ott'>", "<TitlePreview FileFormat='", "</TitlePreview",
    "<LeafPreview FileFormat='png'>", "</LeafPreview>", "<LeafBgImage", "<LeafRectArrayItem Left='nan'/>",
    "<WatermarkItem Type='1' PicID='1'/>", "<FontName Index='-5' Name='x'/>", "<!DOCTYPE x [<!ENTITY e \"&e;&e;\">]>",
    "&e;", "<!ENTITY % p SYSTEM 'x'>", "CON", "COM1.jpg",
};

// One to four changes: a byte replaced, a snippet inserted, a run deleted or
// repeated, the text cut, or two slices swapped (which moves end tags before
// start tags).
std::string Mutate(std::string text, std::mt19937& random)
{
    const int steps = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < steps; ++i) {
        const size_t size = text.size();
        const size_t at = size ? random() % (size + 1) : 0;
        switch (random() % 6) {
        case 0:
            if (size)
                text[random() % size] = static_cast<char>(random());
            break;
        case 1:
            text.insert(at, kSnippets[random() % (sizeof kSnippets / sizeof kSnippets[0])]);
            break;
        case 2:
            if (size)
                text.erase(at, random() % 64);
            break;
        case 3:
            if (size)
                text.insert(at, text.substr(at, std::min<size_t>(random() % 400, size - at)));
            break;
        case 4:
            text.resize(at);
            break;
        default:
            if (size) {
                const size_t a = random() % size, b = random() % size;
                const size_t length = std::min<size_t>({random() % 40, size - a, size - b});
                for (size_t k = 0; k < length; ++k)
                    std::swap(text[a + k], text[b + k]);
            }
            break;
        }
    }
    return text;
}

int FromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// The text with its closed comments and CDATA sections taken out: what
// stands in them is no content however intact. One left open hides nothing:
// the parser must say so.
std::string WithoutHiddenText(const std::string& text)
{
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t comment = text.find("<!--", at), cdata = text.find("<![CDATA[", at);
        const size_t hidden = std::min(comment, cdata);
        out.append(text, at, hidden == std::string::npos ? std::string::npos : hidden - at);
        if (hidden == std::string::npos)
            break;
        const size_t end = text.find(hidden == comment ? "-->" : "]]>", hidden + 4);
        if (end == std::string::npos) {
            out.append(text, hidden, std::string::npos);
            break;
        }
        at = end + 3;
    }
    return out;
}

// A piece of a seed that must reach the model when it stays intact.
struct Piece {
    std::string text;      // the bytes that must be intact
    std::string needs;     // a second piece that must be intact too (empty: none)
    std::wstring section;  // a section of this name
    std::string picture;   // a picture with these bytes
    std::wstring tmpl;     // a page template of this name (title: titleTemplate)
    bool titleTemplate = false;
    size_t cells = 0;
};

// All elements of that name in the text, start tag to end tag.
std::vector<std::string> Elements(const std::string& text, const std::string& name)
{
    std::vector<std::string> found;
    const std::string end = "</" + name + ">";
    for (size_t at = text.find("<" + name + " "); at != std::string::npos; at = text.find("<" + name + " ", at + 1)) {
        const size_t close = text.find(end, at);
        if (close != std::string::npos)
            found.push_back(text.substr(at, close + end.size() - at));
    }
    return found;
}

std::string Attribute(const std::string& element, const std::string& name)
{
    const size_t at = element.find(" " + name + "='");
    if (at == std::string::npos)
        return std::string();
    const size_t start = at + name.size() + 3;
    return element.substr(start, element.find('\'', start) - start);
}

// Text in its text form back to UTF-16.
std::wstring Unescaped(const std::string& text)
{
    std::wstring out;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '&') {
            out += static_cast<wchar_t>(static_cast<unsigned char>(text[at]));
            continue;
        }
        const size_t end = text.find(';', at);
        const std::string entity = text.substr(at + 1, end - at - 1);
        static const std::map<std::string, wchar_t> named = {
            {"amp", L'&'}, {"lt", L'<'}, {"gt", L'>'}, {"apos", L'\''}, {"quot", L'"'}};
        if (entity[0] == '#')
            out += static_cast<wchar_t>(std::strtoul(entity.c_str() + (entity[1] == 'x' ? 2 : 1), nullptr,
                                                     entity[1] == 'x' ? 16 : 10));
        else
            out += named.at(entity);
        at = end;
    }
    return out;
}

std::string ElementText(const std::string& element)
{
    const size_t start = element.find('>') + 1;
    return element.substr(start, element.find('<', start) - start);
}

// What a seed holds, piece by piece, and what each piece must give.
std::vector<Piece> PiecesOf(const std::string& seed, const CTalBaseDocument& document, int32_t mode,
                            const std::wstring& folder)
{
    std::vector<Piece> pieces;
    // Sections: start tag and name, in the order the tree is written (depth first).
    std::vector<const CTalSection*> order;
    std::vector<const CTalSection*> pending{document.GetProperties().GetHeadingSection().Get()};
    while (!pending.empty()) {
        const CTalSection* section = pending.back();
        pending.pop_back();
        order.push_back(section);
        const auto& children = section->GetSubSections();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back(child->Get());
    }
    size_t index = 0;
    for (size_t at = seed.find("<Leaf ID="); at != std::string::npos && index < order.size();
         at = seed.find("<Leaf ID=", at + 1), ++index) {
        // The start tag and the name up to the next markup, which ends the name.
        Piece piece;
        piece.text = seed.substr(at, seed.find('<', at + 1) + 1 - at);
        piece.section = Wide(order[index]->GetName());
        pieces.push_back(piece);
    }
    // Pictures: the image element with one element that refers to its ID.
    for (const std::string& image : Elements(seed, "Image")) {
        const std::string key = Attribute(image, "ID");
        std::string bytes;
        const std::string text = ElementText(image);
        if (mode == 0) {
            std::string decoded(text.size(), '\0');
            CBase64 coder;
            decoded.resize(static_cast<size_t>(coder.Decode(text.data(), reinterpret_cast<uint8_t*>(&decoded[0]),
                                                            static_cast<int32_t>(text.size()))));
            bytes = decoded;
        } else {
            std::wstring path = filestest::ToWide(text.substr(text.find_first_not_of("\r\n\t")));
            path = path.substr(0, path.find_last_not_of(L"\r\n\t") + 1);
            bytes = filestest::ReadBytes(mode == 2 ? folder + path : path);
        }
        for (const char* reference : {"ImageListItem ID='", "PicID='", "LogoID='"}) {
            const std::string needle = reference + key + "'";
            if (seed.find(needle) != std::string::npos) {
                Piece piece;
                piece.text = image;
                piece.needs = needle;
                piece.picture = bytes;
                pieces.push_back(piece);
            }
        }
    }
    // Templates: the whole element, and for a page template a section that uses it.
    for (const char* name : {"LeafTemplate", "TitleTemplate"}) {
        for (const std::string& element : Elements(seed, name)) {
            Piece piece;
            piece.text = element;
            piece.titleTemplate = name[0] == 'T';
            piece.tmpl = Unescaped(Attribute(element, "FileName"));
            if (!piece.titleTemplate)
                piece.needs = "<CurLeafTemplate ID='" + Attribute(element, "ID") + "'";
            for (size_t at = element.find("RectArrayItem "); at != std::string::npos;
                 at = element.find("RectArrayItem ", at + 1))
                ++piece.cells;
            pieces.push_back(piece);
        }
    }
    return pieces;
}

// The names of the sections and the bytes of every picture of the model.
void Contents(const CTalBaseDocument& document, std::set<std::wstring>& sections, std::set<std::string>& pictures)
{
    const CTalDocProperties& props = document.GetProperties();
    pictures.insert(PictureBytes(props.m_logoPictureId));
    for (const CTalWatermark* watermark : props.GetWatermarks())
        pictures.insert(PictureBytes(watermark->m_pictureId));
    std::vector<const CTalSection*> pending{props.GetHeadingSection().Get()};
    while (!pending.empty()) {
        const CTalSection* section = pending.back();
        pending.pop_back();
        sections.insert(Wide(section->GetName()));
        for (const auto& picture : section->GetPictures())
            pictures.insert(PictureBytes(picture->GetPictureId()));
        for (const auto& child : section->GetSubSections())
            pending.push_back(child.Get());
    }
}

size_t CellCount(const CTalTemplate& tmpl)
{
    size_t count = 0;
    for (int32_t kind = 0; kind <= 10; ++kind)
        count += tmpl.GetCells(kind) ? tmpl.GetCells(kind)->size() : 0;
    return count;
}

// Real pictures, by their extensions, in place of the dummy files that the full
// document's files hold.
void UseRealPictures(const std::wstring& folder, const std::vector<std::wstring>& names)
{
    uint32_t seed = 1;
    for (const std::wstring& name : names) {
        const std::string format = filestest::ToAnsi(name.substr(name.rfind(L'.') + 1));
        const std::string bytes = RealPicture(format.c_str(), seed++);
        ASSERT_FALSE(bytes.empty()) << format;
        filestest::WriteBytes(folder + name, bytes);
    }
}

}  // namespace

TEST_F(DocumentFiles, CraftedFilesNeverCrashHangOrLoseContentSilently)
{
    const std::wstring pictures = m_dir.Path() + L"pictures\\";
    ::CreateDirectoryW(pictures.c_str(), nullptr);
    struct Seed {
        std::string bytes;
        std::vector<Piece> pieces;
        int kind;  // 0..2 documents of that storage mode, 3 title template, 4 leaf template
    };
    std::vector<Seed> seeds;
    const std::wstring store = static_cast<LPCWSTR>(g_rasterLib.GetStoreFolder());
    const std::vector<std::wstring> storeBefore = FilesIn(store);
    for (int32_t mode : {0, 1, 2}) {
        const Templates templates = AddManagerTemplates(pictures);
        CTalBaseDocument document;
        BuildFullDocument(document, pictures, templates);
        UseRealPictures(pictures, FilesIn(pictures));
        std::vector<std::wstring> stored;
        for (const std::wstring& name : FilesIn(store)) {
            if (std::find(storeBefore.begin(), storeBefore.end(), name) == storeBefore.end())
                stored.push_back(name);
        }
        UseRealPictures(store, stored);
        document.GetProperties().m_imageSaveType = mode;
        const std::wstring path = File(L"seed.otd");
        ASSERT_TRUE(Save(document, path));
        const std::string bytes = filestest::ReadBytes(path);
        seeds.push_back({bytes, PiecesOf(bytes, document, mode, m_dir.Path()), mode});
        if (mode == 0) {
            CRecordingSerializer writer;
            writer.SetTemplateFolder(m_dir.Path().c_str());
            ASSERT_TRUE(writer.SaveTitleTemplate(templates.title));
            ASSERT_TRUE(writer.SaveLeafTemplate(templates.first));
            seeds.push_back({filestest::ReadBytes(m_dir.Path() + Wide(templates.title->GetName())), {}, 3});
            seeds.push_back({filestest::ReadBytes(m_dir.Path() + Wide(templates.first->GetName())), {}, 4});
            ::DeleteFileW((m_dir.Path() + Wide(templates.title->GetName())).c_str());
            ::DeleteFileW((m_dir.Path() + Wide(templates.first->GetName())).c_str());
        }
        g_TemplateManager.Clear();
    }
    const std::vector<std::wstring> before = FilesIn(m_dir.Path());
    const std::vector<std::wstring> storeSeeds = FilesIn(store);

    const int cases = FromEnvironment("OT_FUZZ_CASES", 1500);
    const unsigned seed = static_cast<unsigned>(FromEnvironment("OT_FUZZ_SEED", 20240611));
    std::mt19937 random(seed);
    CTalTemplateTags templateTags;
    ASSERT_TRUE(templateTags.RegisterTags());
    int loaded[2] = {}, checked = 0, cleanTemplates = 0;
    // A case may take ten times the processor time of the slowest unchanged
    // seed (the seeds are read, not saved), and two seconds at least: no hang,
    // and no work beyond the input's size, whatever else runs on the machine
    // or however slowly it runs.
    double slowest = 0, slowestSeed = 0;
    // What a batch of cases adds at most to the private memory it started
    // with; asked for now and then, so that the asking does not slow the run.
    CPeakSampler sampler(10);
    const int kBatch = 32;
    size_t batchStart = 0, largestGrowth = 0;
    for (int n = -5; n < cases * 2; ++n) {
        // Documents and template files take turns; the seeds go first, unchanged.
        const Seed& from = n < 0 ? seeds[size_t(n + 5)]
                           : n % 2 ? seeds[3 + (n / 2) % 2] : seeds[static_cast<size_t>((n / 2) % 3)];
        const std::string text = n < 0 ? from.bytes : Mutate(from.bytes, random);
        const std::wstring path = File(from.kind < 3 ? L"case.otd" : from.kind == 3 ? L"case.ott" : L"case.otl");
        filestest::WriteBytes(path, text);
        if ((n + 5) % kBatch == 0) {
            batchStart = PrivateBytes();
            sampler.TakePeak();
        }
        const double start = test_support::ProcessSeconds();
        if (from.kind >= 3) {
            CTalXmlSerializer reader;
            CTalTitlePageTemplate title;
            CTalPageTemplate leaf;
            CTalTemplate& tmpl = from.kind == 3 ? static_cast<CTalTemplate&>(title) : leaf;
            std::vector<CString> problems;
            const bool read = reader.LoadTemplate(path.c_str(), &templateTags, &tmpl, &problems);
            ASSERT_TRUE((read && problems.empty()) || n >= 0) << "a seed reads cleanly";
            loaded[1] += read ? 1 : 0;
            if (read && problems.empty()) {
                // A template read without a word has every cell and picture
                // whose element the mutation left in the file.
                ++cleanTemplates;
                const std::string visible = WithoutHiddenText(text);
                const std::string item = from.kind == 3 ? "<TitleRectArrayItem " : "<LeafRectArrayItem ";
                size_t items = 0;
                for (size_t at = visible.find(item); at != std::string::npos; at = visible.find(item, at + 1))
                    ++items;
                EXPECT_EQ(CellCount(tmpl), items) << "cells lost, case " << n << " of seed " << seed;
                const char* preview = from.kind == 3 ? "<TitlePreview " : "<LeafPreview ";
                if (visible.find(preview) != std::string::npos) {
                    EXPECT_NE(tmpl.GetPreviewPictureId(), 0) << "preview lost, case " << n << " of seed " << seed;
                }
            }
        } else {
            CTalBaseDocument document;
            CRecordingSerializer serializer;
            const bool clean = Load(document, path, &serializer) && serializer.dialogs.empty();
            ASSERT_TRUE(clean || n >= 0) << "a seed loads cleanly " << filestest::ToAnsi(serializer.AllLines());
            loaded[0] += clean ? 1 : 0;
            if (clean) {
                // Nothing the mutation left intact may be missing.
                ++checked;
                const std::string visible = WithoutHiddenText(text);
                std::set<std::wstring> sections;
                std::set<std::string> bytes;
                Contents(document, sections, bytes);
                EXPECT_NE(visible.find("</TallierDocument>"), std::string::npos)
                    << "a document without its end loaded cleanly, case " << n;
                for (const Piece& piece : from.pieces) {
                    if (visible.find(piece.text) == std::string::npos ||
                        (!piece.needs.empty() && visible.find(piece.needs) == std::string::npos))
                        continue;
                    const std::string where = "case " + std::to_string(n) + " of seed " + std::to_string(seed);
                    if (!piece.section.empty())
                        EXPECT_EQ(sections.count(piece.section), 1u) << "section lost, " << where;
                    if (!piece.picture.empty())
                        EXPECT_EQ(bytes.count(piece.picture), 1u) << "picture lost, " << where;
                    if (!piece.tmpl.empty()) {
                        const CTalTemplate* tmpl =
                            piece.titleTemplate ? g_TemplateManager.FindTitlePageTemplate(piece.tmpl.c_str())
                                                : g_TemplateManager.FindPageTemplate(piece.tmpl.c_str());
                        EXPECT_TRUE(tmpl && CellCount(*tmpl) == piece.cells) << "template lost, " << where;
                    }
                }
            }
            // What was read can be written again.
            if (n % 8 == 0)
                ASSERT_TRUE(Save(document, File(L"written.otd"))) << "case " << n;
        }
        g_TemplateManager.Clear();
        // The template folder and the picture store start each case as they were.
        for (const std::wstring& name : FilesIn(TemplateFolder())) {
            EXPECT_EQ(name.find_first_of(L"\\/:"), std::wstring::npos);
            const bool kind = name.size() > 4 && (name.substr(name.size() - 4) == L".ott" ||
                                                  name.substr(name.size() - 4) == L".otl");
            EXPECT_TRUE(kind) << "a file of another kind in the template folder: " << filestest::ToAnsi(name);
            ::DeleteFileW((TemplateFolder() + name).c_str());
        }
        for (const std::wstring& name : FilesIn(store)) {
            if (std::find(storeSeeds.begin(), storeSeeds.end(), name) == storeSeeds.end())
                ::DeleteFileW((store + name).c_str());
        }
        const double elapsed = test_support::ProcessSeconds() - start;
        if (n < 0)
            slowestSeed = std::max(slowestSeed, elapsed);
        slowest = std::max(slowest, elapsed);
        ASSERT_LT(elapsed, std::max(2.0, 10 * slowestSeed)) << "seconds of processor time, case " << n << " of seed "
                                                            << seed;
        if ((n + 5) % kBatch == kBatch - 1 || n == cases * 2 - 1) {
            const size_t peak = sampler.TakePeak();
            largestGrowth = std::max(largestGrowth, peak > batchStart ? peak - batchStart : 0);
            ASSERT_LT(largestGrowth, 64u * 1024 * 1024) << "an allocation near 64 MB by case " << n << " of seed "
                                                         << seed;
        }
        if (::testing::Test::HasFailure())
            break;
    }
    sampler.Stop();
    std::printf("[ info ] %d crafted documents (%d clean, %d checked for loss) and %d template files (%d loaded, %d "
                "clean), slowest %.0f ms of processor time (unchanged seeds: %.0f ms), largest growth of memory in a "
                "batch %.1f MB\n",
                cases, loaded[0], checked, cases, loaded[1], cleanTemplates, slowest * 1000, slowestSeed * 1000,
                static_cast<double>(largestGrowth) / 1048576.0);
    EXPECT_GT(checked, 0);
    EXPECT_GT(cleanTemplates, 0);
    std::vector<std::wstring> after = FilesIn(m_dir.Path());
    after.erase(std::remove(after.begin(), after.end(), L"written.otd"), after.end());
    for (const wchar_t* written : {L"case.otd", L"case.ott", L"case.otl"})
        after.erase(std::remove(after.begin(), after.end(), written), after.end());
    EXPECT_EQ(after, before) << "nothing but the documents written beside it";
}
