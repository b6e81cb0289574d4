#pragma once
// 8-bit text in the process's ANSI code page. Searches step over double-byte
// characters so that a match never starts in the middle of one.
#include <windows.h>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_str(text ? text : "") {}
    CString(const char* text, int length) : m_str(text ? std::string(text, static_cast<size_t>(length)) : std::string()) {}
    CString(const std::string& text) : m_str(text) {}
    CString(char ch, int repeat = 1) : m_str(static_cast<size_t>(repeat > 0 ? repeat : 0), ch) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }
    char GetAt(int index) const { return m_str.at(static_cast<size_t>(index)); }
    char operator[](int index) const { return GetAt(index); }

    // Writable buffer of at least minLength characters plus a terminator; the
    // current text stays in it. ReleaseBuffer(-1) ends the text at the first zero.
    char* GetBuffer(int minLength);
    char* GetBuffer() { return GetBuffer(GetLength()); }
    void ReleaseBuffer(int newLength = -1);

    CString& operator=(const char* text) { m_str = text ? text : ""; return *this; }
    CString& operator+=(const CString& other) { m_str += other.m_str; return *this; }
    CString& operator+=(const char* text) { if (text) m_str += text; return *this; }
    CString& operator+=(char ch) { m_str += ch; return *this; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_str + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_str); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

    // Byte-exact, case-sensitive; matches start only on character boundaries.
    int Find(const char* sub, int start = 0) const;
    int Find(char ch, int start = 0) const;
    // Replaces every non-overlapping match, left to right; returns the count.
    int Replace(const char* oldText, const char* newText);
    int CompareNoCase(const char* other) const { return lstrcmpiA(m_str.c_str(), other ? other : ""); }

    CString Left(int count) const;
    CString Mid(int first, int count = -1) const;
    CString Right(int count) const;
    CString& MakeUpper();
    CString& MakeLower();
    void TrimLeft();
    void TrimRight();
    void Trim() { TrimRight(); TrimLeft(); }

    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);
    // String table entry of the resource module; FALSE when absent.
    BOOL LoadString(UINT id);

private:
    std::string m_str;
};

// Character width under the process code page: 2 for a lead byte followed by a trail byte.
int CharWidthAt(const char* text, size_t length, size_t index);
