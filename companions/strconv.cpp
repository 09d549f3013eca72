// CStrAW: ANSI/wide conversion and printf-style formatting into wide text.
#include <lorvexops/companions.h>

#include "win/guard.h"

#include "win/text.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

using lorvex::WString;

bool IsDigitW(WCHAR c) { return c >= '0' && c <= '9'; }

// The widest field a directive may ask for, typed or passed as an argument:
// larger ones would only build enormous strings.
constexpr int kMaxField = 100000;

void AppendAscii(WString& out, const char* text)
{
    for (; *text; ++text)
        out += static_cast<WCHAR>(static_cast<unsigned char>(*text));
}

void AppendPadded(WString& out, const WCHAR* text, int count, int width, bool left)
{
    const size_t pad = width > count ? static_cast<size_t>(width - count) : 0;
    if (!left)
        out.append(pad, L' ');
    out.append(text, static_cast<size_t>(count));
    if (left)
        out.append(pad, L' ');
}

struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
};

// Numbers go through the C library's snprintf. Its decimal point follows
// the process locale; the text always gets a dot, so the same code gives the
// same text on every platform and in every thread, without switching locales.
template <typename T>
void AppendNumber(WString& out, const Directive& d, const char* length, T value)
{
    std::string format = "%" + d.flags;
    if (d.width >= 0)
        format += std::to_string(d.width);
    if (d.precision >= 0)
        format += "." + std::to_string(d.precision);
    format += length;
    format += d.conversion;
    std::string text(64, '\0');
    int needed = snprintf(&text[0], text.size(), format.c_str(), value);
    if (needed < 0)
        return;
    if (static_cast<size_t>(needed) >= text.size()) {
        text.assign(static_cast<size_t>(needed) + 1, '\0');
        snprintf(&text[0], text.size(), format.c_str(), value);
    }
    text.resize(static_cast<size_t>(needed));
    const lconv* conventions = localeconv();
    const char point = conventions && conventions->decimal_point && conventions->decimal_point[0]
                           ? conventions->decimal_point[0] : '.';
    if (point != '.')
        for (char& c : text)
            if (c == point)
                c = '.';
    AppendAscii(out, text.c_str());
}

// The size of an integer argument, as the Windows printf reads it: "l" and
// "I32" are 32 bits (a LONG or DWORD), "ll", "I64" 64 bits, "I" and "z" the
// size of a pointer.
enum class Size { Char, Short, Int, Wide64, Pointer, LongDouble };

// Reads the argument and formats it; false for a conversion this formatter
// does not know (nothing is read then).
bool AppendArgument(WString& out, const Directive& d, Size size, bool wideText, bool narrowText, va_list& args)
{
    const bool left = d.flags.find('-') != std::string::npos;
    switch (d.conversion) {
    case 's':
    case 'S': {
        // %s, %ls and %ws are wide; %hs and %S are narrow (ANSI).
        const bool narrow = narrowText || (d.conversion == 'S' && !wideText);
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
        return true;
    }
    case 'c':
    case 'C': {
        const int value = va_arg(args, int);
        WCHAR c = static_cast<WCHAR>(value);
        if (narrowText || (d.conversion == 'C' && !wideText)) {
            const char ansi = static_cast<char>(value);
            MultiByteToWideChar(CP_ACP, 0, &ansi, 1, &c, 1);
        }
        AppendPadded(out, &c, 1, d.width, left);
        return true;
    }
    case 'd':
    case 'i': {
        long long value;
        switch (size) {
        case Size::Wide64: value = va_arg(args, long long); break;
        case Size::Pointer: value = static_cast<long long>(va_arg(args, INT_PTR)); break;
        case Size::Short: value = static_cast<short>(va_arg(args, int)); break;
        case Size::Char: value = static_cast<signed char>(va_arg(args, int)); break;
        default: value = va_arg(args, int); break;
        }
        AppendNumber(out, d, "ll", value);
        return true;
    }
    case 'u':
    case 'x':
    case 'X':
    case 'o': {
        unsigned long long value;
        switch (size) {
        case Size::Wide64: value = va_arg(args, unsigned long long); break;
        case Size::Pointer: value = static_cast<unsigned long long>(va_arg(args, UINT_PTR)); break;
        case Size::Short: value = static_cast<unsigned short>(va_arg(args, unsigned int)); break;
        case Size::Char: value = static_cast<unsigned char>(va_arg(args, unsigned int)); break;
        default: value = va_arg(args, unsigned int); break;
        }
        AppendNumber(out, d, "ll", value);
        return true;
    }
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
        if (size == Size::LongDouble)
            AppendNumber(out, d, "L", va_arg(args, long double));
        else
            AppendNumber(out, d, "", va_arg(args, double));
        return true;
    case 'p':
        AppendNumber(out, d, "", va_arg(args, void*));
        return true;
    default:
        return false;
    }
}

// A width or precision passed as an argument, capped like a typed one.
int FieldArgument(va_list& args)
{
    const int value = va_arg(args, int);
    return value > kMaxField ? kMaxField : value < -kMaxField ? -kMaxField : value;
}

WString Format(const WCHAR* format, va_list& args)
{
    WString out;
    for (const WCHAR* p = format; *p;) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        ++p;
        if (*p == '%') {
            out += L'%';
            ++p;
            continue;
        }
        Directive d;
        while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0')
            d.flags += static_cast<char>(*p++);
        if (*p == '*') {
            d.width = FieldArgument(args);
            if (d.width < 0) {
                d.flags += '-';
                d.width = -d.width;
            }
            ++p;
        } else {
            for (d.width = IsDigitW(*p) ? 0 : -1; IsDigitW(*p); ++p)
                d.width = d.width < kMaxField ? d.width * 10 + (*p - '0') : d.width;
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                d.precision = FieldArgument(args);   // negative: as if none
                ++p;
            } else {
                for (d.precision = 0; IsDigitW(*p); ++p)
                    d.precision = d.precision < kMaxField ? d.precision * 10 + (*p - '0') : d.precision;
            }
        }
        Size size = Size::Int;
        bool wideText = false, narrowText = false;
        if (p[0] == 'h' && p[1] == 'h') { size = Size::Char; p += 2; }
        else if (p[0] == 'l' && p[1] == 'l') { size = Size::Wide64; p += 2; }
        else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') { size = Size::Wide64; p += 3; }
        else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') { p += 3; }
        else if (*p == 'I' || *p == 'z') { size = Size::Pointer; ++p; }
        else if (*p == 'h') { size = Size::Short; narrowText = true; ++p; }
        else if (*p == 'l' || *p == 'w') { wideText = true; ++p; }
        else if (*p == 'L') { size = Size::LongDouble; ++p; }
        d.conversion = static_cast<char>(*p < 0x80 ? *p : 0);
        // A directive this formatter does not know ends the text here: reading
        // on would take the following arguments at the wrong places.
        if (!AppendArgument(out, d, size, wideText, narrowText, args))
            break;
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
    return lorvex::Guarded<char*>(nullptr, [&]() -> char* {
        int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            return nullptr;
        char* result = new char[static_cast<size_t>(bytes)];
        if (WideCharToMultiByte(CP_ACP, 0, text, -1, result, bytes, nullptr, nullptr) != bytes) {
            delete[] result;
            return nullptr;
        }
        return result;
    });
}

MyString CStrAW::a_toW(const std::string& text)
{
    if (text.empty())
        return MyString();
    int length = static_cast<int>(text.size());
    int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (chars <= 0)
        return MyString();
    lorvex::WString wide(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], chars);
    return MyString(wide.c_str(), chars);
}

const WCHAR* CStrAW::printf(const WCHAR* format, ...)
{
    va_list args;
    va_start(args, format);
    // Out of memory: the previous text stays.
    lorvex::Guarded([&] {
        lorvex::WString text;
        if (format)
            text = Format(format, args);
        WCHAR* copy = new WCHAR[text.size() + 1];
        text.copy(copy, text.size());
        copy[text.size()] = 0;
        delete[] m_text;
        m_text = copy;
    });
    va_end(args);
    return c_str();
}
