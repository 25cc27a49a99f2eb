// Tests of the registry key stack, under a scratch key of this test process.
#include "framework/KWRegKeyStack.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A scratch key of this process, with the key-existence check of the tests.
struct ScratchKey : CScratchRegistryKey {
    const wchar_t* Path() const { return CScratchRegistryKey::Path().c_str(); }
    bool Exists(const std::wstring& sub) const
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, (CScratchRegistryKey::Path() + sub).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }
};

DWORD ReadDword(CKWRegKeyStack& keys, const wchar_t* name, LONG* result = nullptr)
{
    DWORD value = 0, type = 0, length = sizeof value;
    LONG r = keys.QueryValue(name, &type, &value, &length);
    if (result)
        *result = r;
    return value;
}

}  // namespace

TEST(CKWRegKeyStack, PushPopAndTop)
{
    ScratchKey scratch;
    CKWRegKeyStack keys;
    EXPECT_EQ(nullptr, keys.Top());
    EXPECT_FALSE(keys.Push(1, L"A")) << "no root";

    keys.SetRoot(HKEY_CURRENT_USER);
    EXPECT_EQ(HKEY_CURRENT_USER, keys.Top()) << "the root while the stack is empty";
    EXPECT_FALSE(keys.Push(0, scratch.Path())) << "opening does not create";
    ASSERT_TRUE(keys.Push(1, scratch.Path())) << "several levels in one name";
    HKEY base = keys.Top();
    ASSERT_TRUE(keys.Push(1, L"A"));
    HKEY a = keys.Top();
    ASSERT_TRUE(keys.Push(1, L"B"));
    EXPECT_EQ(3u, keys.GetDepth());
    EXPECT_NE(a, keys.Top());
    keys.Pop();
    EXPECT_EQ(a, keys.Top()) << "popping B leaves A on top";
    EXPECT_FALSE(keys.Push(1, L"")) << "no name";
    EXPECT_FALSE(keys.Push(0, nullptr));
    EXPECT_EQ(2u, keys.GetDepth()) << "a failed push pushes nothing";
    keys.Pop();
    EXPECT_EQ(base, keys.Top());
    keys.CloseAll();
    EXPECT_EQ(0u, keys.GetDepth());
    keys.Pop();  // nothing to pop
    EXPECT_EQ(HKEY_CURRENT_USER, keys.Top());
    EXPECT_TRUE(scratch.Exists(L"\\A\\B"));
}

TEST(CKWRegKeyStack, ValuesOnTheTopKey)
{
    ScratchKey scratch;
    CKWRegKeyStack keys;
    keys.SetRoot(HKEY_CURRENT_USER);
    ASSERT_TRUE(keys.Push(1, scratch.Path()));
    EXPECT_FALSE(keys.IsChanged());
    const DWORD value = 0x12345678;
    ASSERT_TRUE(keys.SetValue(L"Number", REG_DWORD, &value, sizeof value));
    EXPECT_TRUE(keys.IsChanged());
    const wchar_t text[] = L"Text value";
    ASSERT_TRUE(keys.SetValue(L"Text", REG_SZ, text, sizeof text));

    ASSERT_TRUE(keys.Push(1, L"Inner"));
    LONG result = 0;
    ReadDword(keys, L"Number", &result);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, result) << "values are read on the top key only";
    keys.Pop();
    EXPECT_EQ(value, ReadDword(keys, L"Number", &result));
    EXPECT_EQ(ERROR_SUCCESS, result);

    wchar_t buffer[32] = {};
    DWORD type = 0, length = sizeof buffer;
    ASSERT_EQ(ERROR_SUCCESS, keys.QueryValue(L"Text", &type, buffer, &length));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(sizeof text, length);
    EXPECT_STREQ(text, buffer);

    // Replacing the root closes the opened keys.
    keys.SetRoot(HKEY_CURRENT_USER);
    EXPECT_EQ(0u, keys.GetDepth());
}

TEST(CKWRegKeyStack, DeleteSubKey)
{
    ScratchKey scratch;
    CKWRegKeyStack keys;
    keys.SetRoot(HKEY_CURRENT_USER);
    ASSERT_TRUE(keys.Push(1, scratch.Path()));
    ASSERT_TRUE(keys.Push(1, L"Gone"));
    keys.Pop();
    keys.ClearChanged();
    EXPECT_EQ(ERROR_INVALID_PARAMETER, keys.DeleteSubKey(L""));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, keys.DeleteSubKey(nullptr));
    EXPECT_NE(ERROR_SUCCESS, keys.DeleteSubKey(L"Never there"));
    EXPECT_FALSE(keys.IsChanged());
    EXPECT_EQ(ERROR_SUCCESS, keys.DeleteSubKey(L"Gone"));
    EXPECT_TRUE(keys.IsChanged());
    EXPECT_FALSE(scratch.Exists(L"\\Gone"));
}

TEST(CKWRegKeyStack, WithoutAnyKeyEveryCallFails)
{
    CKWRegKeyStack keys;
    DWORD value = 7, length = sizeof value;
    EXPECT_FALSE(keys.SetValue(L"X", REG_DWORD, &value, sizeof value));
    EXPECT_NE(ERROR_SUCCESS, keys.QueryValue(L"X", nullptr, &value, &length)) << "no key is no success";
    EXPECT_EQ(7u, value);
    EXPECT_NE(ERROR_SUCCESS, keys.DeleteSubKey(L"X"));
    EXPECT_FALSE(keys.IsChanged());
}

TEST(CKWRegKeyStack, AnEmptyStackWritesToTheRootItself)
{
    ScratchKey scratch;
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyW(HKEY_CURRENT_USER, scratch.Path(), &root));
    {
        CKWRegKeyStack keys;
        keys.SetRoot(root);
        const DWORD value = 5;
        ASSERT_TRUE(keys.SetValue(L"AtRoot", REG_DWORD, &value, sizeof value));
        EXPECT_EQ(5u, ReadDword(keys, L"AtRoot"));
        ASSERT_TRUE(keys.Push(1, L"Child"));
    }
    // The stack never closes its root.
    DWORD value = 0, length = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExW(root, L"AtRoot", nullptr, nullptr,
                                                reinterpret_cast<BYTE*>(&value), &length));
    EXPECT_EQ(5u, value);
    ::RegCloseKey(root);
}
