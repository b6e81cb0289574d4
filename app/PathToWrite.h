#pragma once
// Which PATH text OK may write. The field holds code-page text; the machine-wide PATH
// may hold characters the code page cannot, so the program keeps a wide twin of every
// PATH it composes and writes that one while the user has not touched the field.
#include "CString.h"
#include <string>

struct PathToWrite {
    bool write = false;   // false: writing would damage characters the field cannot show
    std::wstring value;
};

// field: the PATH field at OK; shown, shownWide: what the program last put in the field
// and its wide twin; rememberedFits: whether the machine-wide PATH as read passes
// through the code page unchanged.
PathToWrite ChoosePathToWrite(const CString& field, const CString& shown, const std::wstring& shownWide,
                              bool rememberedFits);
