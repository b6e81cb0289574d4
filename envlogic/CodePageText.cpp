#include "CodePageText.h"
#include <vector>

std::wstring WidenCodePageText(const CString& text)
{
    if (text.IsEmpty())
        return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text.GetString(), text.GetLength(), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.GetString(), text.GetLength(), &wide[0], n);
    return wide;
}

namespace {

bool Narrow(const std::wstring& wide, std::string& out)
{
    out.clear();
    if (wide.empty())
        return true;
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr,
                                      &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    out.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, &out[0], n, nullptr, &usedDefault);
    // Some code pages map without raising the flag yet cannot give the text back.
    return !usedDefault && WidenCodePageText(CString(out)) == wide;
}

}  // namespace

bool FitsCodePage(const std::wstring& text)
{
    std::string narrow;
    return Narrow(text, narrow);
}

bool NarrowToCodePage(const std::wstring& wide, CString& text)
{
    std::string narrow;
    if (!Narrow(wide, narrow))
        return false;
    text = CString(narrow);
    return true;
}
