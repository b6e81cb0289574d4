#pragma once
// Skin object shell: the right class, theme class and colour request; painting comes later.
#include "CSkinObjectScrolled.h"

class CSkinObjectListView : public CSkinObjectScrolled {
    DECLARE_DYNCREATE(CSkinObjectListView)
public:
    CSkinObjectListView();
};
