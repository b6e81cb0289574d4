#include "PathToWrite.h"
#include "CodePageText.h"

PathToWrite ChoosePathToWrite(const CString& field, const CString& shown, const std::wstring& shownWide,
                              bool rememberedFits)
{
    PathToWrite result;
    if (field == shown) {
        result.write = true;
        result.value = shownWide;
    } else if (rememberedFits) {
        result.write = true;
        result.value = WidenCodePageText(field);
    }
    return result;
}
