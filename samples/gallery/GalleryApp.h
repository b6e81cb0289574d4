#pragma once
#include <windows.h>

namespace gallery {

enum class SkinState { Off, On, Failed };

// "--no-skin" anywhere after the program name keeps the skin from ever loading.
bool WantsNoSkin(int argc, char** argv);

// The product's skin start-up, call for call; keep the two in step.
SkinState StartSkin(HMODULE module);

}  // namespace gallery
