// Crafted inputs: a seeded mutation loop over valid template and document
// files. The readers must neither crash nor hang, whatever they are given.
// OT_FUZZ_CASES and OT_FUZZ_SEED change the number of cases and the seed.
#include "FilesTestSupport.h"

#include "files/TalTemplateTags.h"
#include "files/TalXmlSerializer.h"
#include "files/XmlPreprocessFile.h"
#include "files/XmlValueForms.h"
#include "model/TalPageTemplate.h"
#include "model/TalTitlePageTemplate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Seeds()
{
    const std::string picture = XmlBinaryForm("\x89PNG\r\n\x1A\n....", 12);
    return {
        "<?xml version='1.0' encoding='utf-8' ?>\n\n<LeafTemplate Title='Leaf &amp; co'>\n"
        "\t<LeafPreview FileFormat='png'>\n" + picture + "\t</LeafPreview>\n"
        "\t<LeafBgImage FileFormat='jpg'>\n" + picture + "\t</LeafBgImage>\n"
        "\t<LeafRectArray Type='1'>\n"
        "\t\t<LeafRectArrayItem Left='0.1' Right='0.9' Top='0.1' Bottom='0.2'>\n\t\t</LeafRectArrayItem>\n"
        "\t</LeafRectArray>\n</LeafTemplate>\n",
        "<?xml version='1.0' encoding='utf-8' ?>\n\n<TitleTemplate Title='T&apos;&#x416;'>\n"
        "\t<TitlePreview FileFormat='gif'>\n" + picture + "\t</TitlePreview>\n"
        "\t<TitleRectArray Type='4'>\n"
        "\t\t<TitleRectArrayItem Left='0.1' Right='0.9' Top='0.1' Bottom='0.2'>\n\t\t</TitleRectArrayItem>\n"
        "\t\t<TitleRectArrayItem Left='1e-3' Right='2' Top='-1' Bottom='12.3457'>\n\t\t</TitleRectArrayItem>\n"
        "\t</TitleRectArray>\n</TitleTemplate>\n",
        "<TallierDocument>\n\t<Images SavePicType='0' Count='2'>\n"
        "\t\t<Image ID='3' FileFormat='png'>\n" + picture + "\t\t</Image>\n"
        "\t\t<Image ID='4' FileFormat='jpg'>\n" + picture + "\t\t</Image>\n\t</Images>\n"
        "\t<LeafTemplate ID='2' FileName='x.otl'>\n\t\t<LeafPreview FileFormat='png'>\n" + picture +
        "\t\t</LeafPreview>\n\t</LeafTemplate>\n</TallierDocument>\n",
    };
}

const char* const kSnippets[] = {
    "<", ">", "'", "\"", "&", "&amp;", "&#", "&#x0;", "&#xE00A;", "]]>", "<![CDATA[", "<!--", "-->", "<?pi ?>",
    "</LeafTemplate>", "<LeafTemplate>", "<TitleTemplate Title='", "</TitleRectArray>", "<LeafRectArray Type='",
    "<TitlePreview FileFormat='", "</TitlePreview", "<LeafPreview FileFormat='png'>", "</LeafPreview>",
    "<LeafBgImage", "<Image ", "</Image>", "<Image ID='9' FileFormat='png'>", "<Images SavePicType='",
    "FileFormat='", "ID='", "Count='99999999999'", "<!DOCTYPE x [<!ENTITY e \"&e;&e;\">]>", "&e;",
    "<!ENTITY % p SYSTEM 'x'>", "\xEF\xBB\xBF", "\xFF\xFE", "\xC3", "\x00", "\n", "\t\t\t",
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
        case 1: {
            const char* snippet = kSnippets[random() % (sizeof kSnippets / sizeof kSnippets[0])];
            text.insert(at, snippet[0] ? std::string(snippet) : std::string(1, '\0'));
            break;
        }
        case 2:
            if (size)
                text.erase(at, random() % 64);
            break;
        case 3:
            if (size) {
                const size_t length = std::min<size_t>(random() % 200, size - at);
                text.insert(at, text.substr(at, length));
            }
            break;
        case 4:
            text.resize(at);
            break;
        default:
            if (size) {
                // Swap two slices, which moves end tags before start tags.
                size_t a = random() % size, b = random() % size;
                size_t length = std::min<size_t>({random() % 40, size - a, size - b});
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

TEST(CraftedFiles, NeverCrashOrHangTheReaders)
{
    const int cases = FromEnvironment("OT_FUZZ_CASES", 3000);
    const unsigned seed = static_cast<unsigned>(FromEnvironment("OT_FUZZ_SEED", 20240607));
    std::mt19937 random(seed);
    const std::vector<std::string> seeds = Seeds();
    filestest::TempDir dir;
    const std::wstring path = dir.File(L"case.ott");
    CTalTemplateTags tags;
    ASSERT_TRUE(tags.RegisterTags());
    int loaded = 0;
    DWORD slowest = 0;
    for (int n = 0; n < cases; ++n) {
        const std::string text = Mutate(seeds[static_cast<size_t>(n) % seeds.size()], random);
        filestest::WriteBytes(path, text);
        const DWORD start = ::GetTickCount();
        {
            CTalXmlSerializer reader;
            CTalTitlePageTemplate title;
            CTalPageTemplate leaf;
            CTalTemplate& tmpl = n % 2 ? static_cast<CTalTemplate&>(title) : leaf;
            if (reader.LoadTemplate(path.c_str(), &tags, &tmpl))
                ++loaded;
        }
        {
            CXmlPreprocessFile file(path.c_str());
            CXmlPreprocessFile::Images found;
            file.Scan(found);
        }
        const DWORD elapsed = ::GetTickCount() - start;
        slowest = std::max(slowest, elapsed);
        ASSERT_LT(elapsed, 5000u) << "case " << n << " of seed " << seed;
    }
    std::printf("[ info ] %d crafted files, %d loaded, slowest %u ms\n", cases, loaded, static_cast<unsigned>(slowest));
    EXPECT_GT(loaded, 0);
}
