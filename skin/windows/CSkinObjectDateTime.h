#pragma once
// Skin object shell: the right class, theme class and colour request; painting comes later.
#include "CSkinObjectComboBox.h"

class CSkinObjectDateTime : public CSkinObjectComboBox {
    DECLARE_DYNCREATE(CSkinObjectDateTime)
public:
    CSkinObjectDateTime();
};
