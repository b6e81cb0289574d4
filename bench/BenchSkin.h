#pragma once
// The theme package is the bench program itself, as it is the program for the product.
#include <windows.h>

#include "CSkinEngine.h"

namespace bench {

inline bool LoadOwnSkin()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return CSkinEngine::Instance()->LoadSkin(path, nullptr) != FALSE;
}

}  // namespace bench
