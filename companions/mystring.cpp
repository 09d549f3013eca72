// MyString and MyStringList: the utility library's wide string and list.
#include <lorvexops/companions.h>

#include "win/text.h"

#include <new>

namespace {

int CountOf(const WCHAR* text, int limit)
{
    int count = 0;
    while (count < limit && text[count])
        ++count;
    return count;
}

// Code units ordered as code points: surrogates (0xD800-0xDFFF) come after
// every other character of the basic plane.
int CodePointRank(WCHAR c)
{
    if (c >= 0xD800 && c <= 0xDFFF)
        return c + 0x2000;
    if (c >= 0xE000)
        return c - 0x800;
    return c;
}

bool IsDigit(WCHAR c) { return c >= '0' && c <= '9'; }

int Sign(int value) { return (value > 0) - (value < 0); }

// Compares the digit runs at a and b by value, whatever their length;
// advances both past their runs.
int CompareNumbers(const WCHAR*& a, const WCHAR*& b)
{
    while (*a == '0')
        ++a;
    while (*b == '0')
        ++b;
    const WCHAR* startA = a;
    const WCHAR* startB = b;
    while (IsDigit(*a))
        ++a;
    while (IsDigit(*b))
        ++b;
    long lengthA = a - startA, lengthB = b - startB;
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    for (long i = 0; i < lengthA; ++i)
        if (startA[i] != startB[i])
            return startA[i] < startB[i] ? -1 : 1;
    return 0;
}

int NaturalCompare(const WCHAR* a, const WCHAR* b)
{
    while (*a && *b) {
        if (IsDigit(*a) && IsDigit(*b)) {
            int order = CompareNumbers(a, b);
            if (order)
                return order;
            continue;
        }
        int fa = CodePointRank(lorvex::FoldCase(*a)), fb = CodePointRank(lorvex::FoldCase(*b));
        if (fa != fb)
            return fa < fb ? -1 : 1;
        ++a;
        ++b;
    }
    return (*a != 0) - (*b != 0);
}

int OrdinalCompare(const WCHAR* a, const WCHAR* b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return Sign(CodePointRank(*a) - CodePointRank(*b));
}

}  // namespace

MyString::MyString() = default;

MyString::MyString(const WCHAR* text)
{
    if (text)
        Assign(text, lstrlenW(text));
}

MyString::MyString(const WCHAR* text, int count)
{
    if (text && count > 0)
        Assign(text, CountOf(text, count));
}

MyString::MyString(const MyString& other)
{
    Assign(other.c_str(), other.length());
}

MyString::~MyString()
{
    delete[] m_data;
}

MyString& MyString::operator=(const MyString& other)
{
    if (this != &other)
        Assign(other.c_str(), other.length());
    return *this;
}

MyString& MyString::operator=(const WCHAR* text)
{
    if (!text) {
        erase();
        return *this;
    }
    // text may point into this string: copy before the buffer is reused.
    MyString copy(text);
    Assign(copy.c_str(), copy.length());
    return *this;
}

MyString& MyString::operator+=(const MyString& other)
{
    if (this == &other) {
        MyString copy(other);
        Append(copy.c_str(), copy.length());
    } else {
        Append(other.c_str(), other.length());
    }
    return *this;
}

MyString& MyString::operator+=(const WCHAR* text)
{
    if (text) {
        MyString copy(text);
        Append(copy.c_str(), copy.length());
    }
    return *this;
}

MyString MyString::operator+(const MyString& other) const
{
    MyString result(*this);
    result += other;
    return result;
}

MyString MyString::operator+(const WCHAR* text) const
{
    MyString result(*this);
    result += text;
    return result;
}

void MyString::erase()
{
    if (m_data)
        m_data[0] = 0;
}

WCHAR& MyString::operator[](int index)
{
    if (index >= 0 && index < length())
        return m_data[index];
    m_scratch = 0;
    return m_scratch;
}

const WCHAR& MyString::operator[](int index) const
{
    static const WCHAR zero = 0;
    if (index >= 0 && index < length())
        return m_data[index];
    return zero;
}

int MyString::Compare(const MyString& other) const
{
    return Compare(other.c_str());
}

int MyString::Compare(const WCHAR* other) const
{
    if (!other)
        other = L"";
    int order = NaturalCompare(c_str(), other);
    return order ? order : OrdinalCompare(c_str(), other);
}

int MyString::operator==(const MyString& other) const
{
    return OrdinalCompare(c_str(), other.c_str()) == 0;
}

int MyString::operator==(const WCHAR* other) const
{
    return OrdinalCompare(c_str(), other ? other : L"") == 0;
}

int MyString::operator|=(const MyString& other) const
{
    return *this |= other.c_str();
}

int MyString::operator|=(const WCHAR* other) const
{
    if (!other)
        other = L"";
    return lorvex::EqualNoCase(c_str(), other);
}

MyString MyString::GetStringExtension() const
{
    const WCHAR* text = c_str();
    const WCHAR* dot = nullptr;
    for (const WCHAR* p = text; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            dot = nullptr;          // a new path component starts
        else if (*p == '.')
            dot = p;
    }
    return dot ? MyString(dot) : MyString();
}

void MyString::Reserve(int count)
{
    if (count <= m_capacity && m_data)
        return;
    int capacity = m_capacity + m_capacity / 2;
    if (capacity < count)
        capacity = count;
    if (capacity < 15)
        capacity = 15;
    WCHAR* data = new WCHAR[static_cast<size_t>(capacity) + 1];
    int used = length();
    for (int i = 0; i < used; ++i)
        data[i] = m_data[i];
    for (int i = used; i <= capacity; ++i)
        data[i] = 0;
    delete[] m_data;
    m_data = data;
    m_capacity = capacity;
}

void MyString::Assign(const WCHAR* text, int count)
{
    erase();
    Append(text, count);
}

void MyString::Append(const WCHAR* text, int count)
{
    if (count <= 0)
        return;
    int used = length();
    if (count > 0x3FFFFFFF - used)
        throw std::bad_alloc();
    Reserve(used + count);
    for (int i = 0; i < count; ++i)
        m_data[used + i] = text[i];
    m_data[used + count] = 0;
}

MyStringList::MyStringList() = default;

MyStringList::~MyStringList()
{
    Resize(0, m_grow);
    delete[] m_items;
}

void MyStringList::Append(const MyString& text)
{
    MyString* copy = new MyString(text);
    Resize(m_count + 1, m_grow);
    delete m_items[m_count - 1];
    m_items[m_count - 1] = copy;
}

void MyStringList::Resize(int count, int grow)
{
    if (grow >= 1)
        m_grow = grow;
    if (count < 0)
        count = 0;
    if (count > m_capacity) {
        int capacity = m_capacity + m_grow;
        if (capacity < count)
            capacity = count;
        MyString** items = new MyString*[static_cast<size_t>(capacity)]();
        for (int i = 0; i < m_count; ++i)
            items[i] = m_items[i];
        delete[] m_items;
        m_items = items;
        m_capacity = capacity;
    }
    while (m_count > count) {
        --m_count;
        delete m_items[m_count];
        m_items[m_count] = nullptr;
    }
    for (; m_count < count; ++m_count)
        m_items[m_count] = new MyString();
}

MyString* MyStringList::operator[](int index)
{
    return index >= 0 && index < m_count ? m_items[index] : nullptr;
}

const MyString* MyStringList::operator[](int index) const
{
    return index >= 0 && index < m_count ? m_items[index] : nullptr;
}
