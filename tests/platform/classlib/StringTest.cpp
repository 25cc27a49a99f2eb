#include "platform/classlib/String.h"

#include <gtest/gtest.h>

TEST(CString, CopiesShareUntilWritten) {
    CString a(L"report");
    CString b(a);
    EXPECT_EQ(a.GetString(), b.GetString());
    b.SetAt(0, L'R');
    EXPECT_STREQ(L"report", a);
    EXPECT_STREQ(L"Report", b);
    EXPECT_NE(a.GetString(), b.GetString());
}

TEST(CString, BufferAccessSetsLength) {
    CString s;
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"abc");
    s.ReleaseBuffer();
    EXPECT_EQ(3, s.GetLength());
    s.GetBufferSetLength(5)[4] = L'z';
    EXPECT_EQ(5, s.GetLength());
    EXPECT_EQ(L'z', s[4]);
}

TEST(CString, EditingOperations) {
    CString s(L"a-b-c");
    EXPECT_EQ(2, s.Replace(L"-", L"--"));
    EXPECT_STREQ(L"a--b--c", s);
    EXPECT_EQ(4, s.Remove(L'-'));
    EXPECT_STREQ(L"abc", s);
    s.Insert(1, L"XY");
    EXPECT_STREQ(L"aXYbc", s);
    s.Delete(1, 2);
    EXPECT_STREQ(L"abc", s);
    s.Insert(0, s.GetString() + 1);  // inserting a part of itself
    EXPECT_STREQ(L"bcabc", s);
    s += s.GetString();              // appending itself
    EXPECT_STREQ(L"bcabcbcabc", s);
    EXPECT_EQ(L"cab", s.Mid(1, 3));
    EXPECT_EQ(L"bc", s.Left(2));
    EXPECT_EQ(L"abc", s.Right(3));
    EXPECT_EQ(L"", s.Mid(50));
    EXPECT_EQ(9, s.ReverseFind(L'c'));
    EXPECT_EQ(5, s.Find(L"bca", 1));
    CString t(L"  x y \t");
    EXPECT_STREQ(L"x y", t.Trim());
}

TEST(CString, CompareIsOrdinal) {
    EXPECT_LT(CString(L"B").Compare(L"a"), 0);
    EXPECT_EQ(0, CString(L"ABC").CompareNoCase(L"abc"));
    EXPECT_TRUE(CString(L"ab") < CString(L"abc"));
    EXPECT_TRUE(CString(L"ab") != L"abc");
}

TEST(CString, FormatGrowsAsNeeded) {
    CString s;
    s.Format(L"%d-%ls-%.2f", 42, L"x", 1.5);
    EXPECT_STREQ(L"42-x-1.50", s);
    CString big(L'q', 1000);
    s.Format(L"[%ls]", big.GetString());
    EXPECT_EQ(1002, s.GetLength());
    s.AppendFormat(L"%c", L'!');
    EXPECT_EQ(L'!', s[1002]);
}

TEST(CString, AnsiConversionUsesCodePage1252) {
    CString s("caf\xe9");
    EXPECT_STREQ(L"caf\u00e9", s);
}
