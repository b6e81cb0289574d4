#include "CSkinObjectDateTime.h"

IMPLEMENT_DYNCREATE(CSkinObjectDateTime, CSkinObjectComboBox)

CSkinObjectDateTime::CSkinObjectDateTime() {
    m_themeClassName = "COMBOBOX";
}
