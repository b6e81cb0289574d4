#pragma once
// Skin object shell: the right class, theme class and colour request; painting comes later.
#include "CSkinObjectScrolled.h"

class CSkinObjectEdit : public CSkinObjectScrolled {
    DECLARE_DYNCREATE(CSkinObjectEdit)
public:
    CSkinObjectEdit();
    // Static colours while the edit cannot be typed into.
    UINT GetCtlColorMessage() override;
};
