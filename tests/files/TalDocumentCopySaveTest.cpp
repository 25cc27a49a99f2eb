// Saves that place pictures beside the document: a disk that fills up while
// the pictures are copied leaves nothing new behind and the reason is named;
// a save of a copy (an archive, a template) leaves the document on the
// pictures, ids and store files it had.
#include "DocumentFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace doctest;

namespace {

// A disk with room for so many bytes of picture files: a copy that does not
// fit writes what fits and fails as the system does, leaving the part it
// wrote; every later copy leaves an empty file.
class CFullDiskSerializer : public CRecordingSerializer {
public:
    explicit CFullDiskSerializer(int64_t room) : m_room(room) {}
    int copies = 0;

protected:
    DWORD CopyPictureFile(const CString& source, const CString& target) override
    {
        ++copies;
        const std::string bytes = filestest::ReadBytes(Wide(source));
        if (static_cast<int64_t>(bytes.size()) <= m_room) {
            m_room -= static_cast<int64_t>(bytes.size());
            return CTalXmlSerializer::CopyPictureFile(source, target);
        }
        filestest::WriteBytes(Wide(target), bytes.substr(0, static_cast<size_t>(std::max<int64_t>(m_room, 0))));
        m_room = 0;
        return ERROR_DISK_FULL;
    }

private:
    int64_t m_room;
};

std::vector<int32_t> SectionPictureIds(CTalSection* section)
{
    std::vector<int32_t> ids;
    for (const auto& picture : section->GetPictures())
        ids.push_back(picture->GetPictureId());
    return ids;
}

std::string Numbered(const char* text, int i)
{
    return std::string("\xFF\xD8\xFF ") + text + " " + std::to_string(i) + std::string(size_t(200 + i), 'x');
}

}  // namespace

TEST_F(DocumentFiles, AFullDiskWhilePicturesAreCopiedLeavesNoNewFileAndNamesTheFileAndTheReason)
{
    for (int32_t mode : {1, 2}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        const std::wstring path = File(mode == 1 ? L"full1.otd" : L"full2.otd");
        const std::wstring folder = File(mode == 1 ? L"full1 Images" : L"full2 Images") + L"\\";
        CTalBaseDocument document;
        document.GetProperties().m_imageSaveType = mode;
        CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
        AddPicture(heading.Get(), StorePicture(Numbered("earlier in the store", 0)));
        AddPicture(heading.Get(), StorePicture(Numbered("earlier in the store", 1)));
        ASSERT_TRUE(Save(document, path));
        const std::string previous = filestest::ReadBytes(path);
        std::vector<std::wstring> earlier = FilesIn(folder);
        ASSERT_EQ(size_t(2), earlier.size());
        std::vector<std::string> earlierBytes;
        for (const std::wstring& name : earlier)
            earlierBytes.push_back(filestest::ReadBytes(folder + name));

        // Six new pictures of the store; the disk has room for two and a half.
        std::vector<std::wstring> storePaths;
        for (int i = 0; i < 6; ++i) {
            const int32_t id = StorePicture(Numbered("new", i));
            storePaths.push_back(Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(id))));
            AddPicture(heading.Get(), id);
        }
        const std::vector<int32_t> ids = SectionPictureIds(heading.Get());
        const size_t storeFiles = StoreFileCount();
        CFullDiskSerializer serializer(2 * 206 + 100);
        serializer.SetTemplateFolder(TemplateFolder().c_str());
        EXPECT_FALSE(serializer.SaveDocument(&document, path.c_str(), nullptr));
        EXPECT_EQ(3, serializer.copies) << "nothing is copied once the disk is full";

        EXPECT_EQ(filestest::ReadBytes(path), previous);
        EXPECT_EQ(FilesIn(folder), earlier) << "no new file, empty or in part, is left in the picture folder";
        for (size_t i = 0; i < earlier.size(); ++i)
            EXPECT_EQ(filestest::ReadBytes(folder + earlier[i]), earlierBytes[i]);
        EXPECT_EQ(SectionPictureIds(heading.Get()), ids);
        EXPECT_EQ(StoreFileCount(), storeFiles);
        for (const std::wstring& storePath : storePaths)
            EXPECT_TRUE(filestest::FileExists(storePath));
        const std::wstring failure = Wide(serializer.GetSaveFailure());
        EXPECT_NE(failure.find(folder), std::wstring::npos) << "names the file: " << std::string(failure.begin(), failure.end());
        EXPECT_NE(failure.find(L"The disk is full."), std::wstring::npos);
    }
}

TEST_F(DocumentFiles, ASaveOfACopyLeavesTheDocumentOnItsPicturesIdsAndStoreFiles)
{
    for (int32_t mode : {0, 1, 2}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        CTalBaseDocument document;
        document.GetProperties().m_imageSaveType = mode;
        CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
        const std::string storeBytes = Numbered("in the store", mode);
        const std::string outsideBytes = Numbered("outside", mode);
        const int32_t stored = StorePicture(storeBytes);
        const std::wstring storedPath = Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(stored)));
        AddPicture(heading.Get(), stored);
        AddPicture(heading.Get(), OutsidePicture(File(L"outside.jpg"), outsideBytes));
        document.GetProperties().m_logoPictureId = stored;
        const std::vector<int32_t> ids = SectionPictureIds(heading.Get());
        const size_t storeFiles = StoreFileCount();

        const std::wstring copyPath = File((L"copy" + std::to_wstring(mode) + L".otd").c_str());
        CRecordingSerializer serializer;
        serializer.SetTemplateFolder(TemplateFolder().c_str());
        serializer.SetSavesCopy(true);
        ASSERT_TRUE(serializer.SaveDocument(&document, copyPath.c_str(), nullptr));

        EXPECT_EQ(SectionPictureIds(heading.Get()), ids);
        EXPECT_EQ(stored, document.GetProperties().m_logoPictureId);
        EXPECT_EQ(Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(stored))), storedPath);
        EXPECT_EQ(filestest::ReadBytes(storedPath), storeBytes) << "the store's file is not moved away";
        EXPECT_EQ(StoreFileCount(), storeFiles) << "what the copy embedded is not kept in the store";

        // The copy holds both pictures with their bytes.
        CTalBaseDocument back;
        ASSERT_TRUE(Load(back, copyPath));
        CKWRefPtr<CTalSection> backHeading = back.GetProperties().GetHeadingSection();
        ASSERT_EQ(2, backHeading->GetPictureCount());
        EXPECT_EQ(PictureBytes(backHeading->GetPicture(0)->GetPictureId()), storeBytes);
        EXPECT_EQ(PictureBytes(backHeading->GetPicture(1)->GetPictureId()), outsideBytes);
        if (mode != 0)
            EXPECT_NE(Wide(g_rasterLib.GetImagePath(uint32_t(backHeading->GetPicture(0)->GetPictureId()))), storedPath);
    }
}
