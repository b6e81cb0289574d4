#include "CGdiObject.h"
#include "CWinApp.h"

BOOL CBitmap::LoadBitmap(UINT id)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)));
}
