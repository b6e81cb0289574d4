#include "CSkinObjectScrolled.h"

IMPLEMENT_DYNAMIC(CSkinObjectScrolled, CSkinObjectFrame)

CSkinObjectScrolled::CSkinObjectScrolled() = default;
