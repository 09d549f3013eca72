// MyString, MyStringList and CStrAW: Unicode text, the name order, extensions,
// bounds and formatting.
#include <climits>
#include <lorvexops/companions.h>
#include "testsupport.h"

namespace {

MyString U(const char* utf8) { return MyString(lvtest::Wide(utf8).c_str()); }
int Sign(int value) { return (value > 0) - (value < 0); }

// Cyrillic, CJK and emoji outside the basic plane (surrogate pairs).
const char* const kUnicodeSamples[] = {
    "", "plain.jpg", "фото.jpg", "写真.png", "\xF0\x9F\x98\x80 smile.gif", "mixé Ω 日本 \xF0\x9F\x8E\x9E",
};

}  // namespace

TEST(MyString, UnicodeTextSurvivesEveryOperation)
{
    for (const char* sample : kUnicodeSamples) {
        SCOPED_TRACE(sample);
        MyString text = U(sample);
        EXPECT_EQ(lstrlenW(lvtest::Wide(sample).c_str()), text.length());
        MyString copy(text), assigned;
        EXPECT_TRUE(copy == text && (assigned = text) == text);
        MyString joined = text + L"|" + text;
        EXPECT_WEQ(U((std::string(sample) + "|" + sample).c_str()).c_str(), joined.c_str());
        EXPECT_WEQ(text.c_str(), MyString(joined.c_str(), text.length()).c_str());   // counts code units
        joined.erase();
        EXPECT_TRUE(joined.empty());
        EXPECT_EQ(0, joined[0]);
    }
}

TEST(MyString, NullCountsSelfReferenceAndIndexesOutsideTheText)
{
    EXPECT_WEQ(L"", MyString(nullptr).c_str());
    EXPECT_WEQ(L"", MyString(nullptr, 5).c_str());
    EXPECT_WEQ(L"", MyString(L"abc", -1).c_str());
    EXPECT_WEQ(L"abc", MyString(L"abc", 50).c_str());   // stops at the terminator
    MyString s(L"ab");
    s += s;
    s = s.c_str() + 1;           // a pointer into its own buffer
    s += s.c_str();
    EXPECT_WEQ(L"babbab", s.c_str());
    s = L"abc";
    EXPECT_EQ(0, s[-1]);
    EXPECT_EQ(0, s[1000]);
    s[3] = 'z';                  // outside the text: a scratch character, the terminator stays
    s[1] = 0;                    // shortens the text
    s += L"yz";
    EXPECT_WEQ(L"ayz", s.c_str());
}

TEST(MyString, EqualityExactAndIgnoringCase)
{
    struct Case { const char* a; const char* b; bool exact; bool ignoringCase; };
    const Case cases[] = {{"", "", true, true}, {"A.JPG", "a.jpg", false, true}, {"ФОТО.jpg", "фото.JPG", false, true},
                          {"img2", "img02", false, false}, {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x81", false, false}};
    for (const Case& c : cases) {
        MyString a = U(c.a), b = U(c.b);
        EXPECT_EQ(c.exact, (a == b) != 0) << c.a << " == " << c.b;
        EXPECT_EQ(c.exact, (a == lvtest::Wide(c.b).c_str()) != 0) << c.a << " == text " << c.b;
        EXPECT_EQ(c.ignoringCase, (a |= b) != 0) << c.a << " |= " << c.b;
        EXPECT_EQ(c.ignoringCase, (b |= a) != 0) << c.b << " |= " << c.a;
    }
}

TEST(MyString, CompareIsANaturalTotalOrder)
{
    // Each row: a, b, expected sign of a.Compare(b); checked both ways.
    struct Case { const char* a; const char* b; int sign; };
    const Case cases[] = {
        {"img2.jpg", "img10.jpg", -1}, {"a8", "a08", 1} /* equal values: ordinal tie-break */, {"file1b", "file01a", 1},
        {"ABC", "abd", -1} /* case ignored */, {"9", "a", -1} /* digits before letters */,
        {"img99999999999999999999", "img100000000000000000000", -1},          // beyond 64 bits
        {"n000000000000000000000000000001", "n2", -1},
        {"x123456789012345678901234567890y", "x123456789012345678901234567890z", -1},
        {"Яблоко", "арбуз", 1},
        {"\xF0\x9F\x98\x80", "\xEF\xBF\xBD", 1},   // code point order: U+1F600 > U+FFFD
    };
    for (const Case& c : cases) {
        MyString a = U(c.a), b = U(c.b);
        EXPECT_EQ(c.sign, Sign(a.Compare(b))) << c.a << " vs " << c.b;
        EXPECT_EQ(-c.sign, Sign(b.Compare(a))) << c.b << " vs " << c.a << " (swapped)";
        EXPECT_EQ(c.sign, Sign(a.Compare(lvtest::Wide(c.b).c_str()))) << c.a << " vs text " << c.b;
        EXPECT_EQ(c.sign == 0, (a == b) != 0) << c.a << " vs " << c.b;   // only identical texts are equal
    }
    EXPECT_EQ(1, Sign(MyString(L"a").Compare(static_cast<const WCHAR*>(nullptr))));

    // Every pair of this sorted list agrees with the list positions.
    const char* sorted[] = {"0", "00", "01", "1", "a", "A1", "a1", "a2", "a08", "a9", "a10",
                            "a18446744073709551616", "B", "b", "img", "img2", "img10", "фото", "写真"};
    const int n = sizeof sorted / sizeof sorted[0];
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            EXPECT_EQ(Sign(i - j), Sign(U(sorted[i]).Compare(U(sorted[j])))) << sorted[i] << " vs " << sorted[j];
}

TEST(MyString, GetStringExtension)
{
    struct Case { const char* path; const char* extension; };
    const Case cases[] = {
        {"C:\\pics\\photo.JPG", ".JPG"}, {"archive.tar.gz", ".gz"}, {"noext", ""}, {"C:\\a.b\\file", ""},
        {"dir.d/file", ""}, {"trailing.", "."}, {"C:\\pics\\.hidden", ".hidden"},
        {"C:\\фото.папка\\снимок.ТИФ", ".ТИФ"}, {"写真.\xF0\x9F\x98\x80", ".\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases)
        EXPECT_WEQ(lvtest::Wide(c.extension).c_str(), U(c.path).GetStringExtension().c_str()) << "path " << c.path;
}

TEST(MyStringList, AppendResizeAndIndexOutOfRange)
{
    MyStringList list;
    MyString source(L"фото1.jpg");
    list.Append(source);
    source = L"changed";
    ASSERT_NE(nullptr, list[0]);
    EXPECT_WEQ(L"фото1.jpg", list[0]->c_str());   // a copy, not the caller's string
    for (int i = 0; i < 50; ++i)
        list.Append(MyString(L"img"));
    EXPECT_EQ(51, list.GetCount());
    EXPECT_TRUE(list[51] == nullptr && list[-1] == nullptr);
    list.Resize(3, 4);
    list.Resize(6, 0);               // grows with empty texts; a zero step keeps the list usable
    ASSERT_NE(nullptr, list[5]);
    EXPECT_TRUE(list[5]->empty());
    list.Resize(-2, 1);
    EXPECT_TRUE(list.GetCount() == 0 && list[0] == nullptr);
}

TEST(CStrAW, AnsiConversionFollowsTheAnsiCodePage)
{
    for (const char* sample : kUnicodeSamples) {
        MyString text = U(sample);
        BOOL lossy = FALSE;
        char expected[256] = {};
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, expected, sizeof expected, nullptr, nullptr);
        char* ansi = CStrAW::w_toA(text.c_str());
        ASSERT_NE(nullptr, ansi) << sample;   // an empty text is "", not null
        EXPECT_STREQ(expected, ansi) << sample << " in code page " << GetACP();
        MyString back = CStrAW::a_toW(ansi);
        EXPECT_EQ(!lossy, (back == text.c_str()) != 0) << sample << " round trip in code page " << GetACP();
        delete[] ansi;
    }
    EXPECT_EQ(nullptr, CStrAW::w_toA(nullptr));
    EXPECT_TRUE(CStrAW::a_toW(std::string()).empty());
}

TEST(CStrAW, Printf)
{
    struct Case { const char* label; const WCHAR* actual; const char* expected; };
    CStrAW f1, f2, f3, f4, f5, f7, f8, f9, f10, f11, f12;
    const Case cases[] = {
        {"estimate", f1.printf(L"%.2f %s", 900.0, L"Kb"), "900.00 Kb"},
        {"unicode", f2.printf(L"%s: %d × %d", U("фото 写真 \xF0\x9F\x98\x80").c_str(), 640, 480),
         "фото 写真 \xF0\x9F\x98\x80: 640 × 480"},
        {"widths", f3.printf(L"[%5s|%-4s|%.2s|%05d|%-3d|%+d]", L"ab", L"cd", L"xyz", 42, 7, 3),
         "[   ab|cd  |xy|00042|7  |+3]"},
        {"integers", f4.printf(L"%u %X %lld %I64d %%", 4000000000u, 255u, -9000000000LL, 123456789012LL),
         "4000000000 FF -9000000000 123456789012 %"},
        {"floats and stars", f5.printf(L"%e %g|%*d|%.*f|%c", 1500.0, 0.0001, 4, 9, 1, 2.25, L'Ж'),
         "1.500000e+03 0.0001|   9|2.2|Ж"},
        {"narrow and null", f7.printf(L"%hs %s", "ansi", static_cast<const WCHAR*>(nullptr)), "ansi (null)"},
        // The Windows forms: sizes as a Windows caller passes them.
        {"windows sizes", f9.printf(L"%Iu of %s, %Id %I32d %ld %lu", size_t(5), L"x", INT_PTR(-7), -8, LONG(-1),
                                    DWORD(4000000000u)),
         "5 of x, -7 -8 -1 4000000000"},
        {"windows texts", f10.printf(L"%ws|%S|%hs|%ls", L"w", "n", "h", L"l"), "w|n|h|l"},
        // An unknown directive ends the text: no argument is read after it.
        {"unknown directive", f11.printf(L"a %y %s", L"never read"), "a "},
    };
    for (const Case& c : cases)
        EXPECT_WEQ(lvtest::Wide(c.expected).c_str(), c.actual) << c.label;
    MyString text300;
    for (int i = 0; i < 30; ++i)
        text300 += L"abcdefghij";
    EXPECT_EQ(600, lstrlenW(f8.printf(L"%s%s", text300.c_str(), text300.c_str())));   // beyond any small buffer
    EXPECT_WEQ(L"n22", f1.printf(L"%s%d", L"n", 22));   // reused
    EXPECT_EQ(100000, lstrlenW(f12.printf(L"%*d", INT_MAX, 7)));   // an argument width is capped too
    EXPECT_WEQ(L"", CStrAW().c_str());
}
