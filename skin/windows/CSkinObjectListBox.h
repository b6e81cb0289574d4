#pragma once
// Skin object shell: the right class, theme class and colour request; painting comes later.
#include "CSkinObjectScrolled.h"

class CSkinObjectListBox : public CSkinObjectScrolled {
    DECLARE_DYNCREATE(CSkinObjectListBox)
public:
    CSkinObjectListBox();
};
