#include "CString.h"
#include <gtest/gtest.h>

namespace {

// Code page 936: a lead byte 0x81..0xFE may be followed by a trail byte in 0x40..0x7E,
// which includes '\\' and the ASCII letters; a search must not start a match there.
const char kLeadWithBackslash[] = "\x81\x5C";  // one character whose second byte is '\\'
const char kLeadWithB[] = "\x81" "b";          // one character whose second byte is 'b'

TEST(CString, RunsUnderTheChineseCodePage)
{
    ASSERT_EQ(936u, GetACP()) << "the tests must run with LANG=zh_CN.UTF-8";
}

TEST(CString, FindStepsOverDoubleByteCharacters)
{
    CString text = CString(kLeadWithBackslash) + "\\x";
    EXPECT_EQ(2, text.Find("\\"));
    EXPECT_EQ(-1, CString(kLeadWithBackslash).Find('\\'));
    EXPECT_EQ(-1, (CString(kLeadWithB) + "in").Find("bin"));
    EXPECT_EQ(2, (CString(kLeadWithB) + "bin").Find("bin"));
    EXPECT_EQ(0, CString("abc").Find(""));
    EXPECT_EQ(-1, CString("abc").Find("abcd"));
    EXPECT_EQ(4, CString("abcabc").Find("bc", 2));
    EXPECT_EQ(-1, CString("ABC").Find("abc")) << "case-sensitive";
}

TEST(CString, ReplaceIsLeftToRightCaseSensitiveAndBoundaryAware)
{
    CString t(".;%JAVA_HOME%\\lib\\dt.jar;%JAVA_HOME%\\lib\\tools.jar;%java_home%");
    EXPECT_EQ(2, t.Replace("%JAVA_HOME%", "C:\\jdk"));
    EXPECT_EQ(CString(".;C:\\jdk\\lib\\dt.jar;C:\\jdk\\lib\\tools.jar;%java_home%"), t);

    CString overlapping("aaaa");
    EXPECT_EQ(2, overlapping.Replace("aa", "b"));
    EXPECT_EQ(CString("bb"), overlapping);

    CString dbcs = CString(kLeadWithBackslash) + "\\";
    EXPECT_EQ(1, dbcs.Replace("\\", "/"));
    EXPECT_EQ(CString(kLeadWithBackslash) + "/", dbcs);
    EXPECT_EQ(0, dbcs.Replace("", "x"));
}

TEST(CString, BufferKeepsContentAndReleaseEndsAtTheFirstZero)
{
    CString s("abc");
    char* p = s.GetBuffer(10);
    EXPECT_STREQ("abc", p);
    p[1] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(CString("a"), s);
    p = s.GetBuffer(3);
    memcpy(p, "xyz", 3);
    s.ReleaseBuffer(2);
    EXPECT_EQ(CString("xy"), s);
}

TEST(CString, FormatAndSlices)
{
    CString s;
    s.Format("An unknown error number %d occured.", 1);
    EXPECT_EQ(CString("An unknown error number 1 occured."), s);
    EXPECT_EQ(CString("ab"), CString("abc").Left(2));
    EXPECT_EQ(CString("bc"), CString("abc").Mid(1));
    EXPECT_EQ(CString(""), CString("abc").Mid(5));
    EXPECT_EQ(CString("c"), CString("abc").Right(1));
    EXPECT_EQ(CString("ABC"), CString("abc").MakeUpper());
}

}  // namespace
