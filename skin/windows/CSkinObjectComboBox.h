#pragma once
// Skin object shell: the right class, theme class and colour request; painting comes later.
#include "CSkinObjectFrame.h"

class CSkinObjectComboBox : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectComboBox)
public:
    CSkinObjectComboBox();
    // Static colours while the combo or its edit cannot be typed into.
    UINT GetCtlColorMessage() override;
};
