#pragma once
// Skin object of the MDI client window. Always subclassed: the client's procedure is the
// system's, but its children's layout must be seen whatever route the frame takes.
#include "CSkinObjectFrame.h"

class CSkinObjectMDIClient : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectMDIClient)
public:
    CSkinObjectMDIClient();
};
