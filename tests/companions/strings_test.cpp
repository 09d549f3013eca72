// MyString, MyStringList and CStrAW: Unicode text, the name order, extensions
// and formatting.
#include <lorvexops/companions.h>
#include "testsupport.h"
#include "companions_test.h"

using ctest::U;

namespace {

// Cyrillic, CJK and an emoji outside the basic plane (a surrogate pair).
const char* const kUnicodeSamples[] = {
    "", "plain.jpg", "фото.jpg", "写真.png", "\xF0\x9F\x98\x80 smile.gif", "mixé Ω 日本 \xF0\x9F\x8E\x9E",
};

int Sign(int value) { return (value > 0) - (value < 0); }

MyString Repeated(char c, int count)
{
    return U(std::string(static_cast<size_t>(count), c).c_str());
}

}  // namespace

TEST(MyString, UnicodeTextSurvivesEveryOperation)
{
    for (const char* sample : kUnicodeSamples) {
        SCOPED_TRACE(sample);
        MyString text = U(sample);
        MyString a(text.c_str());
        EXPECT_WEQ(text.c_str(), a.c_str());
        EXPECT_EQ(lstrlenW(text.c_str()), a.length());
        MyString copy(a);
        MyString assigned;
        assigned = a;
        EXPECT_TRUE(copy == a);
        EXPECT_TRUE(assigned == a);
        EXPECT_EQ(0, a.Compare(copy));
        MyString joined = a + L"|" + a;
        EXPECT_WEQ(U((std::string(sample) + "|" + sample).c_str()).c_str(), joined.c_str());
        MyString counted(joined.c_str(), a.length());
        EXPECT_WEQ(text.c_str(), counted.c_str());
        joined += joined;
        EXPECT_EQ(4 * a.length() + 2, joined.length());
        joined.erase();
        EXPECT_EQ(0, joined[0]);
        EXPECT_TRUE(joined.empty());
    }
}

TEST(MyString, ConstructionFromNullAndCounts)
{
    EXPECT_WEQ(L"", MyString(nullptr).c_str());
    EXPECT_WEQ(L"", MyString(nullptr, 5).c_str());
    EXPECT_WEQ(L"", MyString(L"abc", 0).c_str());
    EXPECT_WEQ(L"", MyString(L"abc", -1).c_str());
    EXPECT_WEQ(L"ab", MyString(L"abc", 2).c_str());
    // A count beyond the terminator stops at it.
    EXPECT_WEQ(L"abc", MyString(L"abc", 50).c_str());
    MyString s(L"x");
    s = static_cast<const WCHAR*>(nullptr);
    EXPECT_WEQ(L"", s.c_str());
}

TEST(MyString, AppendingAndAssigningFromItself)
{
    MyString s(L"ab");
    s += s;
    EXPECT_WEQ(L"abab", s.c_str());
    s = s.c_str() + 1;           // a pointer into its own buffer
    EXPECT_WEQ(L"bab", s.c_str());
    s += s.c_str();
    EXPECT_WEQ(L"babbab", s.c_str());
    MyString long_text;
    for (int i = 0; i < 1000; ++i)
        long_text += L"0123456789";
    EXPECT_EQ(10000, long_text.length());
    EXPECT_EQ('9', long_text[9999]);
}

TEST(MyString, IndexingOutsideTheTextUsesAScratchCharacter)
{
    MyString empty;
    EXPECT_EQ(0, empty[0]);
    empty[0] = 'x';              // must not create text or write anywhere
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(0, empty[0]);

    MyString s(L"abc");
    EXPECT_EQ('a', s[0]);
    EXPECT_EQ('c', s[2]);
    EXPECT_EQ(0, s[3]);
    EXPECT_EQ(0, s[-1]);
    EXPECT_EQ(0, s[1000]);
    s[3] = 'z';                  // the terminator stays
    s[-1] = 'z';
    EXPECT_WEQ(L"abc", s.c_str());
    s[1] = 'B';
    EXPECT_WEQ(L"aBc", s.c_str());
    s[1] = 0;                    // shortens the text
    EXPECT_EQ(1, s.length());
    s += L"yz";
    EXPECT_WEQ(L"ayz", s.c_str());
    const MyString& constant = s;
    EXPECT_EQ(0, constant[7]);
}

TEST(MyString, EqualityTests)
{
    struct Case { const char* a; const char* b; bool exact; bool ignoringCase; };
    const Case cases[] = {
        {"", "", true, true},
        {"a.jpg", "a.jpg", true, true},
        {"A.JPG", "a.jpg", false, true},
        {"ФОТО.jpg", "фото.JPG", false, true},
        {"Ångström", "åNGSTRÖM", false, true},
        {"a.jpg", "a.jpeg", false, false},
        {"a", "", false, false},
        {"img2", "img02", false, false},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", true, true},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x81", false, false},
    };
    for (const Case& c : cases) {
        MyString a(U(c.a).c_str()), b(U(c.b).c_str());
        EXPECT_EQ(c.exact, (a == b) != 0) << c.a << " == " << c.b;
        EXPECT_EQ(c.exact, (b == a) != 0) << c.b << " == " << c.a;
        EXPECT_EQ(c.exact, (a == U(c.b).c_str()) != 0) << c.a << " == text " << c.b;
        EXPECT_EQ(c.ignoringCase, (a |= b) != 0) << c.a << " |= " << c.b;
        EXPECT_EQ(c.ignoringCase, (b |= a) != 0) << c.b << " |= " << c.a;
    }
}

TEST(MyString, CompareIsANaturalTotalOrder)
{
    // Each row: a, b, expected sign of a.Compare(b); checked both ways.
    struct Case { const char* a; const char* b; int sign; };
    const Case cases[] = {
        {"img2.jpg", "img10.jpg", -1},
        {"img10.jpg", "img10.jpg", 0},
        {"a08", "a9", -1},
        {"a8", "a08", 1},                       // equal values: ordinal tie-break
        {"a007", "a07", -1},
        {"x0", "x00", -1},
        {"file", "file1", -1},
        {"file1", "file1a", -1},
        {"file1b", "file01a", 1},
        {"ABC", "abd", -1},                     // case ignored
        {"abc", "ABC", 1},                      // then ordinal: 'A' < 'a'
        {"Abc", "aBC", -1},
        {"b", "A", 1},
        {"9", "a", -1},                         // digits before letters
        {"a1", "aa", -1},
        {"_x", "ax", -1},
        {"", "a", -1},
        {"", "", 0},
        {"v1.10", "v1.9", 1},
        {"img99999999999999999999", "img100000000000000000000", -1},          // beyond 64 bits
        {"img18446744073709551616", "img18446744073709551615", 1},
        {"n000000000000000000000000000001", "n2", -1},
        {"x123456789012345678901234567890y", "x123456789012345678901234567890z", -1},
        {"фото2", "фото10", -1},
        {"ФОТО", "фото1", -1},
        {"写真2", "写真10", -1},
        {"Яблоко", "арбуз", 1},
        {"\xF0\x9F\x98\x80", "\xEF\xBF\xBD", 1},   // code point order: U+1F600 > U+FFFD
        {"C:\\pics\\img2.jpg", "C:\\pics\\img10.jpg", -1},
    };
    for (const Case& c : cases) {
        MyString a(U(c.a).c_str()), b(U(c.b).c_str());
        EXPECT_EQ(c.sign, Sign(a.Compare(b))) << c.a << " vs " << c.b;
        EXPECT_EQ(-c.sign, Sign(b.Compare(a))) << c.b << " vs " << c.a << " (swapped)";
        EXPECT_EQ(c.sign, Sign(a.Compare(U(c.b).c_str()))) << c.a << " vs text " << c.b;
        // Only identical strings compare equal.
        EXPECT_EQ(c.sign == 0, (a == b) != 0) << c.a << " vs " << c.b;
    }
    EXPECT_EQ(1, Sign(MyString(L"a").Compare(static_cast<const WCHAR*>(nullptr))));
}

TEST(MyString, CompareSortsAShellLikeListConsistently)
{
    const char* expected[] = {"0", "00", "01", "1", "a", "A1", "a1", "a2", "a08", "a9", "a10",
                              "a18446744073709551616", "B", "b", "img", "img2", "img10", "фото",
                              "写真"};
    const int n = sizeof expected / sizeof expected[0];
    // Every pair agrees with the list position: a strict total order.
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            MyString a(U(expected[i]).c_str()), b(U(expected[j]).c_str());
            EXPECT_EQ(Sign(i - j), Sign(a.Compare(b))) << expected[i] << " vs " << expected[j];
        }
}

TEST(MyString, GetStringExtension)
{
    struct Case { const char* path; const char* extension; };
    const Case cases[] = {
        {"photo.jpg", ".jpg"},
        {"C:\\pics\\photo.JPG", ".JPG"},
        {"archive.tar.gz", ".gz"},
        {"noext", ""},
        {"", ""},
        {"C:\\a.b\\file", ""},
        {"C:\\a.b\\file.png", ".png"},
        {"dir.d/file", ""},
        {"trailing.", "."},
        {"C:\\pics\\.hidden", ".hidden"},
        {"C:\\фото.папка\\снимок.ТИФ", ".ТИФ"},
        {"写真.\xF0\x9F\x98\x80", ".\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        MyString extension = MyString(U(c.path).c_str()).GetStringExtension();
        EXPECT_WEQ(U(c.extension).c_str(), extension.c_str()) << "path " << c.path;
    }
}

TEST(MyStringList, AppendResizeAndIndex)
{
    MyStringList list;
    EXPECT_EQ(nullptr, list[0]);
    MyString source(L"фото1.jpg");
    list.Append(source);
    source = L"changed";
    ASSERT_NE(nullptr, list[0]);
    EXPECT_WEQ(L"фото1.jpg", list[0]->c_str());   // a copy, not the caller's string
    for (int i = 0; i < 50; ++i) {
        WCHAR name[32];
        wsprintfW(name, L"img%d", i);
        list.Append(MyString(name));
    }
    EXPECT_EQ(51, list.GetCount());
    EXPECT_WEQ(L"img49", list[50]->c_str());
    EXPECT_EQ(nullptr, list[51]);
    EXPECT_EQ(nullptr, list[-1]);

    list.Resize(3, 4);
    EXPECT_EQ(3, list.GetCount());
    EXPECT_WEQ(L"img1", list[2]->c_str());
    EXPECT_EQ(nullptr, list[3]);
    list.Resize(6, 0);               // a zero step keeps the list usable
    ASSERT_NE(nullptr, list[5]);
    EXPECT_TRUE(list[5]->empty());
    *list[5] = L"set through the pointer";
    EXPECT_WEQ(L"set through the pointer", list[5]->c_str());
    list.Resize(-2, 1);
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list[0]);
}

TEST(CStrAW, AnsiRoundTripsWhereTheCodePageAllows)
{
    UINT codePage = GetACP();
    for (const char* sample : kUnicodeSamples) {
        MyString text = U(sample);
        BOOL lossy = FALSE;
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
        char* ansi = CStrAW::w_toA(text.c_str());
        ASSERT_NE(nullptr, ansi) << sample;
        MyString back = CStrAW::a_toW(ansi);
        if (!lossy)
            EXPECT_WEQ(text.c_str(), back.c_str()) << sample << " in code page " << codePage;
        else
            EXPECT_FALSE(back == text.c_str()) << sample << " cannot survive code page " << codePage;
        // Whatever the page, nothing is dropped silently: one ANSI character
        // or more per code point.
        EXPECT_GE(lstrlenA(ansi), lstrlenW(back.c_str()) > 0 ? 1 : 0) << sample;
        delete[] ansi;
    }
    EXPECT_EQ(nullptr, CStrAW::w_toA(nullptr));
    char* empty = CStrAW::w_toA(L"");
    ASSERT_NE(nullptr, empty);       // an empty text is "", not null
    EXPECT_EQ(0, empty[0]);
    delete[] empty;
    EXPECT_TRUE(CStrAW::a_toW(std::string()).empty());
    EXPECT_WEQ(L"JPEG", CStrAW::a_toW("JPEG").c_str());
}

TEST(CStrAW, AnsiConversionUsesTheAnsiCodePage)
{
    // "é" is one byte in every single-byte Western page and two in UTF-8;
    // w_toA must agree with the system's ANSI page, not with UTF-8.
    const WCHAR text[] = {0x00E9, 0};
    char expected[8] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, expected, sizeof expected, nullptr, nullptr);
    char* ansi = CStrAW::w_toA(text);
    ASSERT_NE(nullptr, ansi);
    EXPECT_STREQ(expected, ansi);
    delete[] ansi;
}

TEST(CStrAW, Printf)
{
    struct Case { const char* label; const WCHAR* actual; const char* expected; };
    CStrAW f1, f2, f3, f4, f5, f6, f7, f8, f9;
    const Case cases[] = {
        {"estimate", f1.printf(L"%.2f %s", 900.0, L"Kb"), "900.00 Kb"},
        {"rounding", f2.printf(L"%.2f %s", 1.005 * 1000, L"Mb"), "1005.00 Mb"},
        {"unicode", f3.printf(L"%s: %d × %d", U("фото 写真 \xF0\x9F\x98\x80").c_str(), 640, 480),
         "фото 写真 \xF0\x9F\x98\x80: 640 × 480"},
        {"widths", f4.printf(L"[%5s|%-4s|%.2s|%05d|%-3d|%+d]", L"ab", L"cd", L"xyz", 42, 7, 3),
         "[   ab|cd  |xy|00042|7  |+3]"},
        {"integers", f5.printf(L"%u %x %X %ld %lld %I64d %%", 4000000000u, 255u, 255u, -5L,
                               -9000000000LL, 123456789012LL), "4000000000 ff FF -5 -9000000000 123456789012 %"},
        {"floats", f6.printf(L"%f %.0f %e %g %8.3f", 0.5, 2.5, 1500.0, 0.0001, -3.14159),
         "0.500000 2 1.500000e+03 0.0001   -3.142"},
        {"star width", f7.printf(L"%*d|%.*f|%c%c", 4, 9, 1, 2.25, L'Ж', L'!'), "   9|2.2|Ж!"},
        {"narrow and null", f8.printf(L"%hs %s", "ansi", static_cast<const WCHAR*>(nullptr)), "ansi (null)"},
        {"long text", f9.printf(L"%s%s", Repeated('a', 300).c_str(), Repeated('b', 300).c_str()), nullptr},
    };
    for (const Case& c : cases) {
        if (c.expected)
            EXPECT_WEQ(U(c.expected).c_str(), c.actual) << c.label;
    }
    EXPECT_EQ(600, lstrlenW(f9.c_str()));

    CStrAW reused;
    reused.printf(L"%d", 1);
    EXPECT_WEQ(L"n22", reused.printf(L"%s%d", L"n", 22));
    EXPECT_WEQ(L"n22", reused.c_str());
    CStrAW unused;
    EXPECT_WEQ(L"", unused.c_str());
}
