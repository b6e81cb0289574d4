#pragma once
// Base of the skin objects of controls that scroll their own content (edit, list box, list view,
// tree view); it will keep skinned scroll bars in step with positions the control changes itself.
#include "CSkinObjectFrame.h"

class CSkinObjectScrolled : public CSkinObjectFrame {
    DECLARE_DYNAMIC(CSkinObjectScrolled)
public:
    CSkinObjectScrolled();
};
