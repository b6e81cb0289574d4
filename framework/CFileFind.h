#pragma once
// Directory enumeration. FindFile starts a search; each FindNextFile makes the
// next entry current and tells whether another one follows.
#include "CString.h"

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    BOOL FindFile(LPCSTR pattern = nullptr);
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const { return CString(m_current.cFileName); }
    // The pattern's folder, a backslash, and the entry's name.
    CString GetFilePath() const;
    CString GetRoot() const { return m_root; }
    BOOL MatchesMask(DWORD mask) const { return (m_current.dwFileAttributes & mask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsDots() const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_next = {};
    WIN32_FIND_DATAA m_current = {};
    bool m_hasNext = false;
    CString m_root;
};
