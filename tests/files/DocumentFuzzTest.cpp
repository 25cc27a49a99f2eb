// Crafted documents: a seeded mutation loop over written documents. Loading
// must neither crash nor hang nor leak, and writes nothing but template files
// into the template folder. OT_FUZZ_CASES and OT_FUZZ_SEED change the number
// of cases and the seed.
#include "DocumentFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace doctest;

namespace {

const char* const kSnippets[] = {
    "<", ">", "'", "&amp;", "&#x0;", "&#xE00A;", "]]>", "<!--", "-->", "\xC3", "\n", "\t",
    "<Leaf ID='1' IDParentLeaf='0'>", "<Leaf ID='0' IDParentLeaf='0'>", "<Leaf ID='2' IDParentLeaf='2'>",
    "</Leaf>", "<Leafs>", "</Leafs>", "<CurLeafTemplate ID='1'/>", "<TextNote>", "</TextNote>",
    "<CharacterItem CharCount='-1' Spacing='1e999'/>", "<ParagrafItem CharCount='99999999'/>",
    "<ImageListItem ID='1'/>", "<Image ID='1' FileFormat='png'>", "</Image>", "<Image ID='1'>..\\..\\x.png</Image>",
    "<Images SavePicType='1' Count='5'>", "<Images SavePicType='2'>", "SavePicType='", "ID='", "FileFormat='",
    "<LeafTemplate ID='1' FileName='..\\x.otl'>", "<LeafTemplate ID='1' FileName='ok.otl'>", "</LeafTemplate>",
    "<TitleTemplate FileName='t.ott'>", "<LeafRectArrayItem Left='nan'/>", "<WatermarkItem Type='1' PicID='1'/>",
    "<FontName Index='-5' Name='x'/>", "<!DOCTYPE x [<!ENTITY e \"&e;&e;\">]>", "&e;",
};

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

}  // namespace

TEST_F(DocumentFiles, CraftedDocumentsNeverCrashHangLeakOrWriteElsewhere)
{
    const std::wstring pictures = m_dir.Path() + L"pictures\\";
    ::CreateDirectoryW(pictures.c_str(), nullptr);
    std::vector<std::string> seeds;
    for (int32_t mode : {0, 1, 2}) {
        const Templates templates = AddManagerTemplates(pictures);
        CTalBaseDocument document;
        BuildFullDocument(document, pictures, templates);
        document.GetProperties().m_imageSaveType = mode;
        const std::wstring seed = File(L"seed.otd");
        ASSERT_TRUE(Save(document, seed));
        seeds.push_back(filestest::ReadBytes(seed));
        g_TemplateManager.Clear();
    }
    const std::vector<std::wstring> before = FilesIn(m_dir.Path());

    const int cases = FromEnvironment("OT_FUZZ_CASES", 600);
    const unsigned seed = static_cast<unsigned>(FromEnvironment("OT_FUZZ_SEED", 20240611));
    std::mt19937 random(seed);
    const std::wstring path = File(L"seed.otd");
    int loaded = 0;
    DWORD slowest = 0;
    for (int n = 0; n < cases; ++n) {
        filestest::WriteBytes(path, Mutate(seeds[static_cast<size_t>(n) % seeds.size()], random));
        const DWORD start = ::GetTickCount();
        {
            CTalBaseDocument document;
            CRecordingSerializer serializer;
            if (Load(document, path, &serializer))
                ++loaded;
            // What was read can be written again.
            ASSERT_TRUE(Save(document, File(L"written.otd"))) << "case " << n;
        }
        g_TemplateManager.Clear();
        const DWORD elapsed = ::GetTickCount() - start;
        slowest = std::max(slowest, elapsed);
        ASSERT_LT(elapsed, 10000u) << "case " << n << " of seed " << seed;
    }
    std::printf("[ info ] %d crafted documents, %d loaded, slowest %u ms\n", cases, loaded,
                static_cast<unsigned>(slowest));
    EXPECT_GT(loaded, 0);
    std::vector<std::wstring> after = FilesIn(m_dir.Path());
    after.erase(std::remove(after.begin(), after.end(), L"written.otd"), after.end());
    EXPECT_EQ(after, before) << "nothing but the document written beside it";
    for (const std::wstring& name : FilesIn(TemplateFolder()))
        EXPECT_EQ(name.find_first_of(L"\\/:"), std::wstring::npos);
}
