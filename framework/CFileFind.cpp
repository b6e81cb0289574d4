#include "CFileFind.h"
#include <cstring>

BOOL CFileFind::FindFile(LPCSTR pattern)
{
    Close();
    if (!pattern)
        pattern = "*.*";
    m_hFind = ::FindFirstFileA(pattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hasNext = true;
    CString full(pattern);
    int slash = -1;
    for (int next; (next = full.Find('\\', slash + 1)) >= 0;)
        slash = next;
    if (slash < 0) {
        // A pattern without a folder searches the current directory.
        char cwd[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, cwd);
        m_root = cwd;
    } else {
        m_root = full.Left(slash);
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_hFind == INVALID_HANDLE_VALUE || !m_hasNext)
        return FALSE;
    m_current = m_next;
    m_hasNext = ::FindNextFileA(m_hFind, &m_next) != FALSE;
    return m_hasNext ? TRUE : FALSE;
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_hasNext = false;
    m_current = {};
    m_root.Empty();
}

CString CFileFind::GetFilePath() const
{
    // The last character, not the last byte: a double-byte character may end in 0x5C.
    CString path = m_root;
    const char* text = path.GetString();
    const char* last = path.IsEmpty() ? text : CharPrevA(text, text + path.GetLength());
    if (path.IsEmpty() || *last != '\\' || last + 1 != text + path.GetLength())
        path += '\\';
    return path + m_current.cFileName;
}

BOOL CFileFind::IsDots() const
{
    return IsDirectory() && (strcmp(m_current.cFileName, ".") == 0 || strcmp(m_current.cFileName, "..") == 0);
}
