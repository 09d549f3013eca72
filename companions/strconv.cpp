// CStrAW: ANSI/wide conversion and printf-style formatting into wide text.
#include <lorvexops/companions.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>
#include <string>
#include <vector>

namespace {

// Wide text under construction. Not std::basic_string<WCHAR>: its character
// traits call the C library's wide functions, which take 4-byte characters
// here while WCHAR has 2.
class WideText {
public:
    void Add(WCHAR c) { m_chars.push_back(c); }
    void Add(const WCHAR* text, size_t count) { m_chars.insert(m_chars.end(), text, text + count); }
    void Repeat(WCHAR c, size_t count) { m_chars.insert(m_chars.end(), count, c); }
    size_t size() const { return m_chars.size(); }
    const WCHAR* data() const { return m_chars.data(); }

private:
    std::vector<WCHAR> m_chars;
};

// Numbers are formatted by the C library in the "C" locale, whatever locale
// the process runs in, so "%.2f" always gives a dot.
class CLocale {
public:
    CLocale() : m_locale(newlocale(LC_ALL_MASK, "C", nullptr)), m_old(m_locale ? uselocale(m_locale) : nullptr) {}
    ~CLocale()
    {
        if (m_locale) {
            uselocale(m_old);
            freelocale(m_locale);
        }
    }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;

private:
    locale_t m_locale;
    locale_t m_old;
};

bool IsDigitW(WCHAR c) { return c >= '0' && c <= '9'; }

void AppendAscii(WideText& out, const char* text)
{
    for (; *text; ++text)
        out.Add(static_cast<WCHAR>(static_cast<unsigned char>(*text)));
}

void AppendPadded(WideText& out, const WCHAR* text, int count, int width, bool left)
{
    size_t pad = width > count ? static_cast<size_t>(width - count) : 0;
    if (!left)
        out.Repeat(L' ', pad);
    out.Add(text, static_cast<size_t>(count));
    if (left)
        out.Repeat(L' ', pad);
}

struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    std::string length;   // "", "h", "hh", "l", "ll", "I64", "z"
    char conversion = 0;
};

// The narrow printf directive for one number.
std::string NarrowDirective(const Directive& d, const char* length)
{
    std::string text = "%" + d.flags;
    if (d.width >= 0)
        text += std::to_string(d.width);
    if (d.precision >= 0)
        text += "." + std::to_string(d.precision);
    text += length;
    text += d.conversion;
    return text;
}

template <typename T>
void AppendNumber(WideText& out, const Directive& d, const char* length, T value)
{
    std::string format = NarrowDirective(d, length);
    char shortText[128];
    int needed = snprintf(shortText, sizeof shortText, format.c_str(), value);
    if (needed < 0)
        return;
    if (needed < static_cast<int>(sizeof shortText)) {
        AppendAscii(out, shortText);
        return;
    }
    std::string big(static_cast<size_t>(needed) + 1, '\0');
    snprintf(&big[0], big.size(), format.c_str(), value);
    AppendAscii(out, big.c_str());
}

WideText Format(const WCHAR* format, va_list args)
{
    CLocale cLocale;
    WideText out;
    for (const WCHAR* p = format; *p;) {
        if (*p != '%') {
            out.Add(*p++);
            continue;
        }
        const WCHAR* start = p++;
        if (*p == '%') {
            out.Add(L'%');
            ++p;
            continue;
        }
        Directive d;
        while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0')
            d.flags += static_cast<char>(*p++);
        if (*p == '*') {
            d.width = va_arg(args, int);
            if (d.width < 0) {
                d.flags += '-';
                d.width = -d.width;
            }
            ++p;
        } else {
            for (d.width = IsDigitW(*p) ? 0 : -1; IsDigitW(*p); ++p)
                d.width = d.width < 100000 ? d.width * 10 + (*p - '0') : d.width;
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                d.precision = va_arg(args, int);
                ++p;
            } else {
                for (d.precision = 0; IsDigitW(*p); ++p)
                    d.precision = d.precision < 100000 ? d.precision * 10 + (*p - '0') : d.precision;
            }
        }
        if (p[0] == 'h' && p[1] == 'h') { d.length = "hh"; p += 2; }
        else if (p[0] == 'l' && p[1] == 'l') { d.length = "ll"; p += 2; }
        else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') { d.length = "ll"; p += 3; }
        else if (*p == 'h' || *p == 'l' || *p == 'z' || *p == 'L') { d.length = static_cast<char>(*p++); }
        d.conversion = static_cast<char>(*p);
        bool left = d.flags.find('-') != std::string::npos;
        switch (*p) {
        case 's':
        case 'S': {
            // %s and %ls are wide; %hs and %S are narrow (ANSI).
            bool narrow = d.length == "h" || (*p == 'S' && d.length != "l");
            MyString converted;
            const WCHAR* text;
            if (narrow) {
                const char* ansi = va_arg(args, const char*);
                converted = ansi ? CStrAW::a_toW(ansi) : MyString(L"(null)");
                text = converted.c_str();
            } else {
                text = va_arg(args, const WCHAR*);
                if (!text)
                    text = L"(null)";
            }
            int count = 0;
            while (text[count] && (d.precision < 0 || count < d.precision))
                ++count;
            AppendPadded(out, text, count, d.width, left);
            break;
        }
        case 'c':
        case 'C': {
            WCHAR c = static_cast<WCHAR>(va_arg(args, int));
            AppendPadded(out, &c, 1, d.width, left);
            break;
        }
        case 'd':
        case 'i':
            if (d.length == "ll")
                AppendNumber(out, d, "ll", va_arg(args, long long));
            else if (d.length == "l" || d.length == "z")
                AppendNumber(out, d, "l", va_arg(args, long));
            else
                AppendNumber(out, d, d.length == "h" ? "h" : d.length == "hh" ? "hh" : "",
                             va_arg(args, int));
            break;
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            if (d.length == "ll")
                AppendNumber(out, d, "ll", va_arg(args, unsigned long long));
            else if (d.length == "l" || d.length == "z")
                AppendNumber(out, d, "l", va_arg(args, unsigned long));
            else
                AppendNumber(out, d, d.length == "h" ? "h" : d.length == "hh" ? "hh" : "",
                             va_arg(args, unsigned int));
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            if (d.length == "L")
                AppendNumber(out, d, "L", va_arg(args, long double));
            else
                AppendNumber(out, d, "", va_arg(args, double));
            break;
        case 'p':
            AppendNumber(out, d, "", va_arg(args, void*));
            break;
        default:
            // Unknown directive: copied as it stands, consuming nothing.
            out.Add(start, static_cast<size_t>(p - start) + (*p ? 1 : 0));
            break;
        }
        if (*p)
            ++p;
    }
    return out;
}

}  // namespace

CStrAW::CStrAW() = default;

CStrAW::~CStrAW()
{
    delete[] m_text;
}

char* CStrAW::w_toA(const WCHAR* text)
{
    if (!text)
        return nullptr;
    try {
        int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            return nullptr;
        char* result = new char[static_cast<size_t>(bytes)];
        if (WideCharToMultiByte(CP_ACP, 0, text, -1, result, bytes, nullptr, nullptr) != bytes) {
            delete[] result;
            return nullptr;
        }
        return result;
    } catch (...) {
        return nullptr;
    }
}

MyString CStrAW::a_toW(const std::string& text)
{
    if (text.empty())
        return MyString();
    int length = static_cast<int>(text.size());
    int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (chars <= 0)
        return MyString();
    std::vector<WCHAR> wide(static_cast<size_t>(chars) + 1, 0);
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), chars);
    return MyString(wide.data(), chars);
}

const WCHAR* CStrAW::printf(const WCHAR* format, ...)
{
    try {
        WideText text;
        if (format) {
            va_list args;
            va_start(args, format);
            try {
                text = Format(format, args);
            } catch (...) {
                va_end(args);
                throw;
            }
            va_end(args);
        }
        WCHAR* copy = new WCHAR[text.size() + 1];
        for (size_t i = 0; i < text.size(); ++i)
            copy[i] = text.data()[i];
        copy[text.size()] = 0;
        delete[] m_text;
        m_text = copy;
    } catch (...) {
        // Out of memory: the previous text stays.
    }
    return c_str();
}
