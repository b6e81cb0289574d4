#include "CString.h"
#include "CWinApp.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

int CharWidthAt(const char* text, size_t length, size_t index)
{
    if (index + 1 < length && IsDBCSLeadByte(static_cast<BYTE>(text[index])))
        return 2;
    return 1;
}

char* CString::GetBuffer(int minLength)
{
    if (minLength < 0)
        minLength = 0;
    if (m_str.size() < static_cast<size_t>(minLength))
        m_str.resize(static_cast<size_t>(minLength), '\0');
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    if (static_cast<size_t>(newLength) <= m_str.size())
        m_str.resize(static_cast<size_t>(newLength));
}

int CString::Find(const char* sub, int start) const
{
    if (!sub || start < 0 || static_cast<size_t>(start) > m_str.size())
        return -1;
    const size_t subLen = strlen(sub);
    const char* text = m_str.c_str();
    const size_t len = m_str.size();
    // Walk from the beginning so that the character boundaries are the true ones.
    size_t i = 0;
    while (i < static_cast<size_t>(start))
        i += static_cast<size_t>(CharWidthAt(text, len, i));
    for (; i + subLen <= len; i += static_cast<size_t>(CharWidthAt(text, len, i))) {
        if (memcmp(text + i, sub, subLen) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int CString::Find(char ch, int start) const
{
    const char sub[2] = {ch, '\0'};
    return Find(sub, start);
}

int CString::Replace(const char* oldText, const char* newText)
{
    if (!oldText || !*oldText)
        return 0;
    const size_t oldLen = strlen(oldText);
    const std::string replacement = newText ? newText : "";
    std::string out;
    out.reserve(m_str.size());
    const char* text = m_str.c_str();
    const size_t len = m_str.size();
    int count = 0;
    size_t i = 0;
    while (i < len) {
        if (i + oldLen <= len && memcmp(text + i, oldText, oldLen) == 0) {
            out += replacement;
            i += oldLen;
            ++count;
            continue;
        }
        const size_t w = static_cast<size_t>(CharWidthAt(text, len, i));
        out.append(text + i, w);
        i += w;
    }
    if (count)
        m_str.swap(out);
    return count;
}

CString CString::Left(int count) const
{
    if (count < 0) count = 0;
    return CString(m_str.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (static_cast<size_t>(first) >= m_str.size()) return CString();
    return CString(count < 0 ? m_str.substr(static_cast<size_t>(first))
                             : m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const
{
    if (count < 0) count = 0;
    if (static_cast<size_t>(count) >= m_str.size()) return *this;
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(count)));
}

CString& CString::MakeUpper()
{
    if (!m_str.empty()) CharUpperBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeLower()
{
    if (!m_str.empty()) CharLowerBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

void CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && (m_str[i] == ' ' || m_str[i] == '\t' || m_str[i] == '\r' || m_str[i] == '\n')) ++i;
    m_str.erase(0, i);
}

void CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && (m_str[n - 1] == ' ' || m_str[n - 1] == '\t' || m_str[n - 1] == '\r' || m_str[n - 1] == '\n')) --n;
    m_str.resize(n);
}

void CString::FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int needed = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) { m_str.clear(); return; }
    std::vector<char> buf(static_cast<size_t>(needed) + 1);
    vsnprintf(buf.data(), buf.size(), format, args);
    m_str.assign(buf.data(), static_cast<size_t>(needed));
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

BOOL CString::LoadString(UINT id)
{
    // String tables hold UTF-16; the W call tells the true length, the A one converts.
    const wchar_t* raw = nullptr;
    const int wlen = LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&raw), 0);
    if (wlen <= 0 || !raw) { m_str.clear(); return FALSE; }
    const int n = WideCharToMultiByte(CP_ACP, 0, raw, wlen, nullptr, 0, nullptr, nullptr);
    m_str.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, raw, wlen, &m_str[0], n, nullptr, nullptr);
    return TRUE;
}
