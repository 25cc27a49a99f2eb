// Speed and memory of the report-document files: a document with a problem in
// every element is loaded (it fails and reports them), a document with one
// picture of 36 MB is loaded with the picture's text as plain Base64, in a
// CDATA section and in a CDATA section that the parser reads itself, then a
// generated document with many large pictures is saved and loaded in each
// picture storage mode, and the throughput and the peak private memory of
// each step are printed.
// Usage: document_bench [picture count [megabytes per picture [folder]]]
//                       [--peer-bytes path] [--peer-times encode decode [over]]
//        document_bench --refused-links
// --refused-links saves, with its pictures inside, a document whose one
// picture is a placeholder named by a refused link of 10,000, 100,000 and
// 1,000,000 characters, reopens it, and times beside the save the bounding
// of the link that saves did before (every end tried), as often as they did.
// --peer-bytes writes the pictures' bytes, one after the other, to the file
// and ends: the native base64 coder is timed on them (bench/document_compare.sh).
// --peer-times gives its encode and decode seconds, which are printed beside
// the save and the load of mode 0 with the ratio of the times, and its encode
// into the text file it wrote before, printed beside a second save of the
// document over the file of the first.
#include "bench/ElapsedSeconds.h"
#include "bench/PeakMemory.h"
#include "files/BoundedPictureName.h"
#include "files/TalTags.h"
#include "files/TalXmlSerializer.h"
#include "files/XmlFile.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "model/TalBaseDocument.h"
#include "model/TalDocProperties.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "tests/support/SearchedPictureName.h"

#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// Shows nothing while measuring.
class CQuietSerializer : public CTalXmlSerializer {
protected:
    void ShowErrors(const CString& heading, const std::vector<CString>& lines) override
    {
        std::printf("  %ls (%u lines, the last: \"%.100ls\")\n", heading.GetString(),
                    static_cast<unsigned>(lines.size()), lines.empty() ? L"" : lines.back().GetString());
    }
    void ShowMessage(const CString& text) override { std::printf("  %ls\n", text.GetString()); }
};

// The program always shows a progress bar: a bar of 0..1000 that counts how
// often it was moved, as a window would be redrawn.
class CBenchProgress : public CKWProgressInterface {
public:
    void StepIt() override { SetPos(m_pos + 1); }
    int GetPos() override { return m_pos; }
    void SetPos(int position) override
    {
        m_pos = position;
        ++moves;
    }
    int GetUpper() override { return 1000; }

    int moves = 0;

private:
    int m_pos = 0;
};


int64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileW((folder + L"\\" + data.cFileName).c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// The picture whose text is read in a CDATA section.
const double kCDataPictureMegabytes = 36.0;

double Megabytes(int64_t bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// A document whose every element is misplaced and which is cut short: the
// load fails and reports one line per element.
void BenchProblemReport(const std::wstring& folder, int problems)
{
    std::string text = "<?xml version='1.0' encoding='utf-8' ?>\n<TallierDocument Version='1.0'>\n";
    for (int i = 0; i < problems; ++i)
        text += "<Leaf/>\n";
    const std::wstring path = folder + L"\\problems.otd";
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    CTalBaseDocument document;
    CQuietSerializer serializer;
    CTalTags tags;
    CBenchProgress progress;
    const size_t base = PrivateBytes();
    CPeakSampler sampler;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    const bool loaded = tags.RegisterTags() && serializer.LoadDocument(path.c_str(), &document, &tags, 0, &progress);
    const double seconds = Seconds(start);
    const size_t peak = sampler.Stop();
    std::printf("problem report: %d misplaced elements in %.0f KB, load %s in %.3f s, peak private memory +%.1f MB\n",
                problems, static_cast<double>(text.size()) / 1024.0, loaded ? "succeeded" : "failed", seconds,
                Megabytes(static_cast<int64_t>(peak) - static_cast<int64_t>(base)));
    ::DeleteFileW(path.c_str());
}

std::string ReadWhole(const std::wstring& path)
{
    CXmlFile file(path.c_str(), CXmlFile::kRead | CXmlFile::kBinary);
    std::string bytes(file.IsOpen() ? static_cast<size_t>(file.GetLength()) : 0, '\0');
    const int32_t size = static_cast<int32_t>(bytes.size());
    if (size > 0 && file.Read(&bytes[0], size) != size)
        bytes.clear();
    return bytes;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes)
{
    CXmlFile file(path.c_str(), CXmlFile::kWrite | CXmlFile::kBinary);
    return file.IsOpen() && file.Write(bytes.data(), static_cast<int32_t>(bytes.size())) ==
                                static_cast<int32_t>(bytes.size()) &&
           file.Close();
}

// Loads the document and gives the seconds it took and whether its one
// picture holds the bytes.
double TimedLoad(const std::wstring& path, const std::string& picture, bool& same)
{
    CTalBaseDocument document;
    CQuietSerializer serializer;
    CTalTags tags;
    CBenchProgress progress;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    const bool loaded = tags.RegisterTags() && serializer.LoadDocument(path.c_str(), &document, &tags, 0, &progress);
    const double seconds = Seconds(start);
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    same = loaded && heading->GetSubSectionCount() == 1;
    if (same) {
        CKWRefPtr<CTalSection> section = heading->GetSubSection(0);
        same = section->GetPictureCount() == 1 &&
               ReadWhole(static_cast<LPCWSTR>(g_rasterLib.GetImagePath(
                   static_cast<uint32_t>(section->GetPicture(0)->GetPictureId())))) == picture;
    }
    return seconds;
}

// One picture of the megabytes, its text written as the program writes it
// (one run of Base64), then the same document with the text in a CDATA
// section: the load times side by side. Then both once more with a character
// before the digits that is no digit, which leaves the text to the parser.
void BenchCDataPicture(const std::wstring& folder, double megabytes)
{
    std::string picture(static_cast<size_t>(megabytes * 1024 * 1024), '\0');
    uint32_t seed = 4242;
    for (char& byte : picture) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    const std::wstring plain = folder + L"\\plain.otd", cdata = folder + L"\\cdata.otd",
                       parsed = folder + L"\\parsed.otd", parsedPlain = folder + L"\\parsedplain.otd";
    {
        CTalBaseDocument document;
        CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
        CKWRefPtr<CTalSection> section(new CTalSection(heading.Get(), L"Section"));
        heading->AppendSubSection(section.Get());
        CKWRefPtr<CTalPicture> shown(new CTalPicture(section.Get()));
        shown->SetPictureId(static_cast<int32_t>(g_rasterLib.AddImageFromMemory(
            reinterpret_cast<const uint8_t*>(picture.data()), static_cast<uint32_t>(picture.size()), "jpg")));
        section->InsertPicture(0, shown.Get());
        document.GetProperties().m_imageSaveType = 0;
        CQuietSerializer serializer;
        if (!serializer.SaveDocument(&document, plain.c_str(), nullptr)) {
            std::printf("CDATA picture: the document could not be saved\n");
            return;
        }
    }
    std::string text = ReadWhole(plain);
    const size_t tag = text.find("<Image ");
    const size_t start = tag == std::string::npos ? tag : text.find('>', tag);
    const size_t end = start == std::string::npos ? start : text.find("</Image>", start);
    if (end == std::string::npos) {
        std::printf("CDATA picture: the saved document holds no picture\n");
        return;
    }
    std::string sectioned = text;
    sectioned.insert(end, "]]>");
    sectioned.insert(start + 1, "<![CDATA[");
    std::string leftToParser = sectioned;
    leftToParser.insert(start + 1 + 9, "!");
    text.insert(start + 1, "!");
    if (!WriteWhole(cdata, sectioned) || !WriteWhole(parsed, leftToParser) || !WriteWhole(parsedPlain, text)) {
        std::printf("CDATA picture: the documents could not be written\n");
        return;
    }
    text.clear();
    sectioned.clear();
    leftToParser.clear();
    bool same[4] = {};
    const double plainSeconds = TimedLoad(plain, picture, same[0]);
    const double cdataSeconds = TimedLoad(cdata, picture, same[1]);
    const double parsedPlainSeconds = TimedLoad(parsedPlain, picture, same[2]);
    const double parsedSeconds = TimedLoad(parsed, picture, same[3]);
    std::printf("CDATA picture: one picture of %.1f MB\n", megabytes);
    std::printf("  load in a CDATA section %s: %.2f s; as plain Base64 %s: %.2f s; %.2f times the time\n",
                same[1] ? "ok" : "FAILED", cdataSeconds, same[0] ? "ok" : "FAILED", plainSeconds,
                cdataSeconds / plainSeconds);
    std::printf("  the parser reading it in a CDATA section %s: %.2f s; as plain Base64 %s: %.2f s; %.2f times the "
                "time\n",
                same[3] ? "ok" : "FAILED", parsedSeconds, same[2] ? "ok" : "FAILED", parsedPlainSeconds,
                parsedSeconds / parsedPlainSeconds);
    for (const std::wstring& path : {plain, cdata, parsed, parsedPlain})
        ::DeleteFileW(path.c_str());
}

// The placeholder of a refused link of the length, in a document that
// embeds its pictures: the save and the reopen, and the bounding of the
// link as the saves before did it once for its "Image" and once for its
// "ImageListItem", where that ends in reasonable time.
void BenchRefusedLinks(const std::wstring& folder)
{
    const std::wstring path = folder + L"\\links.otd";
    double searched = 0;
    int searchedLength = 0;
    // Beside the three lengths, a name whose every character beyond ASCII
    // takes 8 bytes in text form, as a pasted picture's may.
    const struct {
        int length;
        wchar_t fill;
    } rows[] = {{10000, L'f'}, {100000, L'f'}, {1000000, L'f'}, {10000, L'\x8DEF'}};
    for (const auto& row : rows) {
        const int length = row.length;
        const CString link =
            CString(L"\\\\server\\share\\") + CString(std::wstring(length - 19, row.fill).c_str()) + L".jpg";
        double saveSeconds = 0, loadSeconds = 0;
        bool saved = false, whole = false;
        {
            CTalBaseDocument document;
            document.GetProperties().m_imageSaveType = 0;
            CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
            CKWRefPtr<CTalPicture> picture(new CTalPicture(heading.Get()));
            const uint32_t id = g_rasterLib.AddFilelessPicture(KWPictureState::Missing);
            g_rasterLib.SetPictureSource(id, link, false);
            g_rasterLib.TakeReport(id);
            picture->SetPictureId(static_cast<int32_t>(id));
            heading->InsertPicture(0, picture.Get());
            CQuietSerializer serializer;
            LARGE_INTEGER start;
            ::QueryPerformanceCounter(&start);
            saved = serializer.SaveDocument(&document, path.c_str(), nullptr);
            saveSeconds = Seconds(start);
        }
        {
            CTalBaseDocument document;
            CQuietSerializer serializer;
            CTalTags tags;
            LARGE_INTEGER start;
            ::QueryPerformanceCounter(&start);
            const bool loaded =
                tags.RegisterTags() && serializer.LoadDocument(path.c_str(), &document, &tags, 0, nullptr);
            loadSeconds = Seconds(start);
            CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
            whole = loaded && heading->GetPictureCount() == 1 &&
                    g_rasterLib.GetPictureSource(static_cast<uint32_t>(heading->GetPicture(0)->GetPictureId())) == link;
        }
        std::printf("refused link of %d characters%s: save %s %.3f s, file %.1f KB; reopen %s %.3f s\n", length,
                    row.fill == L'f' ? "" : " beyond ASCII", saved ? "ok" : "FAILED", saveSeconds,
                    static_cast<double>(FileSize(path)) / 1024.0, whole ? "naming it whole" : "FAILED", loadSeconds);
        if (length <= 100000) {
            LARGE_INTEGER start;
            ::QueryPerformanceCounter(&start);
            const CString searchedName = SearchedPictureName(link);
            SearchedPictureName(link);
            const double seconds = Seconds(start);
            const bool same = searchedName == BoundedPictureName(link);
            std::printf("  the bounding the saves did before (twice, every end tried): %.3f s, %.0f times the whole "
                        "save's time; %s\n",
                        seconds, seconds / saveSeconds, same ? "the same name as now" : "FAILED: another name");
            if (row.fill == L'f') {
                searched = seconds;
                searchedLength = length;
            }
        } else {
            std::printf("  the bounding the saves did before: not run; its time grows with the square of the length, "
                        "%.0f s at %d characters\n",
                        searched, searchedLength);
        }
    }
    ::DeleteFileW(path.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments;
    std::string peerBytes;
    double peerEncode = 0, peerDecode = 0, peerOver = 0;
    bool refusedLinks = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--peer-bytes" && i + 1 < argc) {
            peerBytes = argv[++i];
        } else if (argument == "--peer-times" && i + 2 < argc) {
            peerEncode = std::atof(argv[++i]);
            peerDecode = std::atof(argv[++i]);
            if (i + 1 < argc && argv[i + 1][0] != '-')
                peerOver = std::atof(argv[++i]);
        } else if (argument == "--refused-links") {
            refusedLinks = true;
        } else {
            arguments.push_back(argument);
        }
    }
    const int pictures = arguments.size() > 0 ? std::atoi(arguments[0].c_str()) : 200;
    const double pictureMegabytes = arguments.size() > 1 ? std::atof(arguments[1].c_str()) : 3.0;
    const uint32_t pictureBytes = static_cast<uint32_t>(pictureMegabytes * 1024 * 1024);

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring parent = temp;
    if (arguments.size() > 2) {
        parent.assign(arguments[2].begin(), arguments[2].end());
        if (parent.back() != L'\\')
            parent += L'\\';
    }
    const std::wstring folder = parent + L"otdbench" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    if (refusedLinks) {
        BenchRefusedLinks(folder);
        RemoveFolder(folder);
        return 0;
    }
    FILE* peer = peerBytes.empty() ? nullptr : std::fopen(peerBytes.c_str(), "wb");
    if (!peerBytes.empty() && !peer) {
        std::printf("cannot write %s\n", peerBytes.c_str());
        return 1;
    }
    if (!peer) {
        BenchProblemReport(folder, 35000);
        BenchCDataPicture(folder, kCDataPictureMegabytes);
    }

    // The pictures, in the picture store as a loaded document's are.
    std::vector<uint8_t> bytes(pictureBytes);
    uint32_t seed = 12345;
    std::vector<int32_t> ids;
    int64_t pictureTotal = 0;
    for (int i = 0; i < pictures; ++i) {
        for (uint8_t& byte : bytes) {
            seed = seed * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(seed >> 24);
        }
        if (peer) {
            if (std::fwrite(bytes.data(), 1, bytes.size(), peer) != bytes.size())
                return 1;
            continue;
        }
        const int32_t id = static_cast<int32_t>(g_rasterLib.AddImageFromMemory(bytes.data(), pictureBytes, "jpg"));
        if (id == 0) {
            std::printf("the picture store could not take picture %d\n", i);
            return 1;
        }
        ids.push_back(id);
        pictureTotal += pictureBytes;
    }
    bytes = std::vector<uint8_t>();
    if (peer) {
        RemoveFolder(folder);
        return std::fclose(peer) == 0 ? 0 : 1;
    }
    std::printf("%d pictures of %.1f MB (%.0f MB), private memory at start %.1f MB\n", pictures, pictureMegabytes,
                Megabytes(pictureTotal), Megabytes(static_cast<int64_t>(PrivateBytes())));

    for (int32_t mode : {0, 2}) {
        const std::wstring path = folder + L"\\bench" + std::to_wstring(mode) + L".otd";
        double saveSeconds = 0, loadSeconds = 0, resaveSeconds = 0;
        bool resaved = false;
        size_t savePeak = 0, loadPeak = 0;
        size_t base = 0;
        bool saved = false, loaded = false;
        CBenchProgress saveProgress, loadProgress;
        {
            CTalBaseDocument document;
            CTalDocProperties& props = document.GetProperties();
            props.m_imageSaveType = mode;
            CKWRefPtr<CTalSection> heading = props.GetHeadingSection();
            for (int i = 0; i < pictures; ++i) {
                CKWRefPtr<CTalSection> section(new CTalSection(heading.Get(), L"Section"));
                heading->AppendSubSection(section.Get());
                CKWRefPtr<CTalPicture> picture(new CTalPicture(section.Get()));
                picture->SetPictureId(ids[static_cast<size_t>(i)]);
                picture->SetTitle(L"A picture of the benchmark");
                section->InsertPicture(0, picture.Get());
            }
            base = PrivateBytes();
            CPeakSampler sampler;
            LARGE_INTEGER frequency, start, end;
            ::QueryPerformanceFrequency(&frequency);
            ::QueryPerformanceCounter(&start);
            CQuietSerializer serializer;
            saved = serializer.SaveDocument(&document, path.c_str(), &saveProgress);
            ::QueryPerformanceCounter(&end);
            savePeak = sampler.Stop();
            saveSeconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
            if (mode == 0 && saved) {
                // Saved again, the file written replaces the one before.
                CBenchProgress again;
                ::QueryPerformanceCounter(&start);
                resaved = serializer.SaveDocument(&document, path.c_str(), &again);
                ::QueryPerformanceCounter(&end);
                resaveSeconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
            }
        }
        const int64_t fileSize = FileSize(path);
        {
            CTalBaseDocument document;
            CPeakSampler sampler;
            LARGE_INTEGER frequency, start, end;
            ::QueryPerformanceFrequency(&frequency);
            ::QueryPerformanceCounter(&start);
            CQuietSerializer serializer;
            CTalTags tags;
            loaded = tags.RegisterTags() && serializer.LoadDocument(path.c_str(), &document, &tags, 0, &loadProgress);
            ::QueryPerformanceCounter(&end);
            loadPeak = sampler.Stop();
            loadSeconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
            CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
            if (heading->GetSubSectionCount() != pictures)
                std::printf("  the loaded document has %d sections\n", heading->GetSubSectionCount());
        }
        // The data moved is the pictures' in both modes.
        std::printf("mode %d: file %.1f MB\n", mode, Megabytes(fileSize));
        std::printf("  save %s: %.2f s, %.1f MB/s of pictures, peak private memory +%.1f MB, progress %d/1000 "
                    "in %d moves\n",
                    saved ? "ok" : "FAILED", saveSeconds, Megabytes(pictureTotal) / saveSeconds,
                    Megabytes(static_cast<int64_t>(savePeak) - static_cast<int64_t>(base)), saveProgress.GetPos(),
                    saveProgress.moves);
        if (mode == 0)
            std::printf("  save over that file %s: %.2f s, %.1f MB/s of pictures\n", resaved ? "ok" : "FAILED",
                        resaveSeconds, Megabytes(pictureTotal) / resaveSeconds);
        std::printf("  load %s: %.2f s, %.1f MB/s of pictures, peak private memory +%.1f MB, progress %d/1000 "
                    "in %d moves\n",
                    loaded ? "ok" : "FAILED", loadSeconds, Megabytes(pictureTotal) / loadSeconds,
                    Megabytes(static_cast<int64_t>(loadPeak) - static_cast<int64_t>(base)), loadProgress.GetPos(),
                    loadProgress.moves);
        if (mode == 0 && peerEncode > 0 && peerDecode > 0) {
            std::printf("  native base64 of the same bytes: encode %.2f s, decode %.2f s\n", peerEncode, peerDecode);
            std::printf("  save / native encode: %.2f times the time; load / native decode: %.2f times the time\n",
                        saveSeconds / peerEncode, loadSeconds / peerDecode);
            if (peerOver > 0)
                std::printf("  native base64 into the text it wrote before: %.2f s; the save over the file: %.2f times "
                            "that time\n",
                            peerOver, resaveSeconds / peerOver);
        }
        ::DeleteFileW(path.c_str());
        RemoveFolder(folder + L"\\bench" + std::to_wstring(mode) + L" Images");
    }
    RemoveFolder(folder);
    return 0;
}
