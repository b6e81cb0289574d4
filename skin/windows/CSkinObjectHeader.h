#pragma once
// Skin object shell: the right class, theme class and colour request; painting comes later.
#include "CSkinObjectFrame.h"

class CSkinObjectHeader : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectHeader)
public:
    CSkinObjectHeader();
};
