#pragma once
// Checks on the JAVA_HOME text and on which java.exe a PATH would run. PATH texts are
// wide: the machine-wide PATH may hold characters outside the code page.
#include "CString.h"
#include <string>

// True when text (after trimming surrounding spaces and double quotes) is a drive-letter
// path "C:\..." / "C:\" or a UNC path "\\server\share...". "C:", "C:jdk", relative texts,
// and texts holding characters that cannot stand in a PATH entry (';', '"', '<', '>', '|',
// '?', '*', a second ':') are not.
bool IsAbsoluteFolderPath(const CString& text);

// The text without surrounding spaces, tabs and double quotes: the folder used for JAVA_HOME.
CString TrimFolderInput(const CString& text);

// The first PATH entry before jdkBin (entries in order, %NAME% expanded from this
// process's environment, empty, relative and missing entries skipped) whose folder holds
// java.exe, as the entry is written in pathValue; empty when none or when jdkBin comes first.
std::wstring FindShadowingJavaEntry(const std::wstring& pathValue, const std::wstring& jdkBin);

// jdkBin first, every other entry byte for byte after it in order, jdkBin nowhere else
// (entries naming the same folder, in any case or with a trailing backslash, are dropped).
std::wstring PutEntryFirst(const std::wstring& pathValue, const std::wstring& jdkBin);

// Wide twin of ComposePath over the bin folder itself: pathValue with ';' and jdkBin
// appended unless an entry already equals jdkBin; an empty jdkBin adds nothing.
std::wstring ComposePathW(const std::wstring& rememberedPath, const std::wstring& jdkBin);
