#pragma once
// Conversions between this process's ANSI code page and UTF-16.
#include "CString.h"
#include <string>

std::wstring WidenCodePageText(const CString& text);

// True when text passes through the code page and back unchanged (no default
// character, no best-fit substitute).
bool FitsCodePage(const std::wstring& text);

// The text in the code page; false (and text unchanged) when it does not fit.
bool NarrowToCodePage(const std::wstring& wide, CString& text);
