// The docking library's registry class: value layouts, read-only refusal,
// paths, recursive deletion and reads of damaged values.
#include "DockingTestSupport.h"

#include "docking/frames/QMXPMouseManager.h"
#include "docking/frames/QMXPRegistry.h"
#include "platform/classlib/ByteArray.h"
#include "platform/classlib/DWordArray.h"
#include "platform/classlib/StringArray.h"
#include "platform/classlib/StringList.h"
#include "platform/classlib/WordArray.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <functional>

using namespace docking_test;

namespace {

const auto RawValue = RawRegistryValue;

class RegistryValuesTest : public ::testing::Test {
protected:
    // A writable object on the scratch key.
    void OpenWritable() { ASSERT_TRUE(m_writer.CreateKey(m_scratch.Path().c_str())); }
    CScratchRegistryKey m_scratch;
    CQMXPRegistry m_writer{FALSE, FALSE};
};

TEST_F(RegistryValuesTest, PointAndRectangleAreArchivesOfFixedLayout) {
    OpenWritable();
    ASSERT_TRUE(m_writer.Write(L"Point", CPoint(7, -3)));
    ASSERT_TRUE(m_writer.Write(L"Rect", CRect(-1, 2, 300, 65536)));
    const std::vector<BYTE> point = RawValue(m_scratch.Path(), L"Point");
    const std::vector<BYTE> expectedPoint = {5, 0, 7, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 0, 0, 0,
                                             0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(point, expectedPoint);
    const std::vector<BYTE> expectedRect = {0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0x2C, 1, 0, 0, 0, 0, 1, 0};
    EXPECT_EQ(RawValue(m_scratch.Path(), L"Rect"), expectedRect);

    CPoint ptRead;
    CRect rectRead;
    EXPECT_TRUE(m_writer.Read(L"Point", ptRead));
    EXPECT_TRUE(m_writer.Read(L"Rect", rectRead));
    EXPECT_EQ(ptRead, CPoint(7, -3));
    EXPECT_EQ(rectRead, CRect(-1, 2, 300, 65536));

    // Too short for what is read: FALSE, the output unchanged.
    const BYTE shortValue[] = {1, 2, 3};
    ASSERT_TRUE(m_writer.Write(L"Short", shortValue, sizeof(shortValue)));
    CRect rectKept(1, 1, 2, 2);
    CPoint ptKept(9, 9);
    EXPECT_FALSE(m_writer.Read(L"Short", rectKept));
    EXPECT_FALSE(m_writer.Read(L"Short", ptKept));
    EXPECT_FALSE(m_writer.Read(L"Missing", rectKept));
    EXPECT_EQ(rectKept, CRect(1, 1, 2, 2));
    EXPECT_EQ(ptKept, CPoint(9, 9));
}

TEST_F(RegistryValuesTest, ValuesRoundTrip) {
    OpenWritable();
    CStringList list;
    list.AddTail(L"one");
    list.AddTail(L"two");
    CStringArray strings;
    strings.Add(L"α");
    CByteArray bytes;
    bytes.Add(0x7F);
    CWordArray words;
    words.Add(0xBEEF);
    words.Add(1);
    ASSERT_TRUE(m_writer.Write(L"List", list));
    ASSERT_TRUE(m_writer.Write(L"Strings", strings));
    ASSERT_TRUE(m_writer.Write(L"Bytes", bytes));
    ASSERT_TRUE(m_writer.Write(L"Words", words));
    ASSERT_TRUE(m_writer.Write(L"Text", L"Kestrel"));
    ASSERT_TRUE(m_writer.Write(L"Signed", -5));
    ASSERT_TRUE(m_writer.Write(L"Object", static_cast<CObject*>(&list)));
    EXPECT_EQ(RawValue(m_scratch.Path(), L"Words"), (std::vector<BYTE>{2, 0, 0, 0, 0xEF, 0xBE, 1, 0}));

    CQMXPRegistry reader(FALSE, TRUE);
    ASSERT_TRUE(reader.Open(m_scratch.Path().c_str()));
    CStringList listRead;
    listRead.AddTail(L"stale");
    CStringArray stringsRead;
    CByteArray bytesRead;
    CWordArray wordsRead;
    CString text;
    int nSigned = 0;
    CObject* pObject = nullptr;
    EXPECT_TRUE(reader.Read(L"List", listRead));
    EXPECT_TRUE(reader.Read(L"Strings", stringsRead));
    EXPECT_TRUE(reader.Read(L"Bytes", bytesRead));
    EXPECT_TRUE(reader.Read(L"Words", wordsRead));
    EXPECT_TRUE(reader.Read(L"Text", text));
    EXPECT_TRUE(reader.Read(L"Signed", nSigned));
    ASSERT_TRUE(reader.Read(L"Object", pObject));
    EXPECT_EQ(listRead.GetCount(), 2);
    EXPECT_EQ(std::wstring(listRead.GetTail()), L"two");
    EXPECT_EQ(std::wstring(stringsRead[0]), L"α");
    EXPECT_EQ(bytesRead[0], 0x7F);
    ASSERT_EQ(wordsRead.GetSize(), 2);
    EXPECT_EQ(wordsRead[0], 0xBEEF);
    EXPECT_EQ(std::wstring(text), L"Kestrel");
    EXPECT_EQ(nSigned, -5);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CStringList)));
    EXPECT_EQ(static_cast<CStringList*>(pObject)->GetCount(), 2);
    delete pObject;

    CQMXPRegistrySP owner;
    CQMXPRegistry* pFirst = owner.Create(FALSE, TRUE);
    EXPECT_EQ(owner.Create(TRUE, FALSE), pFirst);
    EXPECT_TRUE(pFirst->IsReadOnly());
}

TEST_F(RegistryValuesTest, ReadOnlyObjectChangesNothing) {
    OpenWritable();
    ASSERT_TRUE(m_writer.Write(L"Kept", 1));
    ASSERT_TRUE(m_writer.CreateKey(L"Child"));
    CQMXPRegistry reader(FALSE, TRUE);
    ASSERT_TRUE(reader.Open(m_scratch.Path().c_str()));
    CStringList list;
    CDWordArray array;
    CRect rect(1, 2, 3, 4);
    const BYTE data[] = {1};
    const std::vector<std::function<BOOL()>> refused = {
        [&] { return reader.Write(L"Kept", 2); },
        [&] { return reader.Write(L"New", static_cast<DWORD>(2)); },
        [&] { return reader.Write(L"New", L"text"); },
        [&] { return reader.Write(L"New", data, 1); },
        [&] { return reader.Write(L"New", rect); },
        [&] { return reader.Write(L"New", CPoint(1, 1)); },
        [&] { return reader.Write(L"New", list); },
        [&] { return reader.Write(L"New", array); },
        [&] { return reader.Write(L"New", static_cast<CObject*>(&list)); },
        [&] { return reader.CreateKey(L"Other"); },
        [&] { return reader.DeleteKey((m_scratch.Path() + L"\\Child").c_str()); },
        // Not refused by the object, but by the registry: the key is open for reading only.
        [&] { return reader.DeleteValue(L"Kept"); },
    };
    for (size_t i = 0; i < refused.size(); ++i)
        EXPECT_FALSE(refused[i]()) << "operation " << i;
    CStringArray names;
    EXPECT_TRUE(reader.ReadKeyValues(names));
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(std::wstring(names[0]), L"Kept");
    EXPECT_EQ(m_scratch.GetDword(m_scratch.Path(), L"Kept"), 1u);
    EXPECT_TRUE(reader.VerifyKey(L"Child"));
}

TEST_F(RegistryValuesTest, PathsAndRecursiveDeletion) {
    OpenWritable();
    const std::wstring tree = m_scratch.Sub(L"A");
    ASSERT_TRUE(m_writer.CreateKey(L"A\\B\\C\\"));
    ASSERT_TRUE(m_writer.Write(L"Deep", 3));

    CQMXPRegistry reader(FALSE, TRUE);
    const std::wstring withSlash = tree + L"\\B\\";
    EXPECT_FALSE(reader.Open((tree + L"\\Missing").c_str()));
    EXPECT_EQ(reader.GetKey(), HKEY_CURRENT_USER);
    ASSERT_TRUE(reader.Open(withSlash.c_str()));
    EXPECT_EQ(std::wstring(reader.GetKeyPath()), withSlash);
    CStringArray subKeys;
    EXPECT_TRUE(reader.ReadSubKeys(subKeys));
    ASSERT_EQ(subKeys.GetSize(), 1);
    EXPECT_EQ(std::wstring(subKeys[0]), L"C");

    CQMXPRegistry deleter(FALSE, FALSE);
    // An empty path would name the whole of HKEY_CURRENT_USER.
    EXPECT_FALSE(deleter.DeleteKey(L""));
    EXPECT_FALSE(deleter.DeleteKey(L"\\"));
    EXPECT_TRUE(deleter.VerifyKey(L"Software"));
    EXPECT_TRUE(deleter.DeleteKey(tree.c_str()));
    EXPECT_FALSE(deleter.VerifyKey(tree.c_str()));
    EXPECT_TRUE(deleter.VerifyKey(m_scratch.Path().c_str()));
    EXPECT_FALSE(deleter.DeleteKey(tree.c_str()));
}

TEST_F(RegistryValuesTest, DamagedValuesReadSafely) {
    OpenWritable();
    // A string without terminator and of odd size.
    const BYTE unterminated[] = {'A', 0, 'B'};
    ASSERT_TRUE(m_scratch.SetBytes(m_scratch.Path(), L"Odd", REG_SZ, unterminated, sizeof(unterminated)));
    ASSERT_TRUE(m_scratch.SetBytes(m_scratch.Path(), L"Empty", REG_SZ, "", 0));
    // Counts far beyond the bytes that follow.
    const BYTE hugeWords[] = {0xF0, 0xFF, 0xFF, 0xFF, 1, 0};
    const BYTE hugeDwords[] = {0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0};
    ASSERT_TRUE(m_writer.Write(L"Words", hugeWords, sizeof(hugeWords)));
    ASSERT_TRUE(m_writer.Write(L"Dwords", hugeDwords, sizeof(hugeDwords)));

    CString text = L"stale";
    EXPECT_TRUE(m_writer.Read(L"Odd", text));
    EXPECT_EQ(std::wstring(text), L"AB");
    EXPECT_TRUE(m_writer.Read(L"Empty", text));
    EXPECT_TRUE(text.IsEmpty());
    text = L"stale";
    EXPECT_FALSE(m_writer.Read(L"Missing", text));
    EXPECT_TRUE(text.IsEmpty());

    CWordArray words;
    CDWordArray dwords;
    CStringArray strings;
    EXPECT_FALSE(m_writer.Read(L"Words", words));
    EXPECT_FALSE(m_writer.Read(L"Dwords", dwords));
    EXPECT_FALSE(m_writer.Read(L"Dwords", strings));
}

// The mouse manager's "Mouse" value: a 32-bit count and (view, command)
// pairs; loading replaces the assignments, a short value keeps what it read.
TEST_F(RegistryValuesTest, MouseAssignmentsAreACountAndPairs) {
    const std::wstring path = m_scratch.Path();
    CQMXPMouseManager manager;
    EXPECT_EQ(qmxMouseManager, &manager);
    EXPECT_FALSE(manager.LoadState(path.c_str()));
    ASSERT_TRUE(manager.SaveState(path.c_str()));
    EXPECT_EQ(RawValue(path, L"Mouse"), std::vector<BYTE>({0, 0, 0, 0}));

    manager.SetCommandForDblClick(1, 100);
    manager.SetCommandForDblClick(2, 200);
    manager.SetCommandForDblClick(2, 0);
    ASSERT_TRUE(manager.SaveState(path.c_str()));
    EXPECT_EQ(RawValue(path, L"Mouse"), std::vector<BYTE>({1, 0, 0, 0, 1, 0, 0, 0, 100, 0, 0, 0}));

    manager.SetCommandForDblClick(3, 300);
    ASSERT_TRUE(manager.LoadState(path.c_str()));
    EXPECT_EQ(manager.GetViewDblClickCommand(1), 100u);
    EXPECT_EQ(manager.GetViewDblClickCommand(3), 0u);

    OpenWritable();
    const BYTE shortValue[] = {2, 0, 0, 0, 7, 0, 0, 0, 9, 0, 0, 0};
    ASSERT_TRUE(m_writer.Write(L"Mouse", shortValue, sizeof(shortValue)));
    EXPECT_FALSE(manager.LoadState(path.c_str()));
    EXPECT_EQ(manager.GetViewDblClickCommand(7), 9u);
    EXPECT_EQ(manager.GetViewDblClickCommand(1), 0u);
}

TEST(RegistryPathTest, SectionPathsFollowTheApplication) {
    CDockTestApp app;
    app.m_pszProfileName = _wcsdup(L"DockingTests");
    EXPECT_EQ(std::wstring(QMXPGetRegPath(L"QMXToolBars")), L"SOFTWARE\\DockingTests\\QMXToolBars\\");
    EXPECT_EQ(std::wstring(QMXPGetRegPath(L"QMXToolBars", L"Software\\Own\\")), L"Software\\Own\\");
    app.SetRegistryKey(L"Kestrel Works");
    EXPECT_EQ(std::wstring(QMXPGetRegPath(L"QMXToolBars", L"")),
              L"SOFTWARE\\Kestrel Works\\DockingTests\\QMXToolBars\\");
}

}  // namespace
