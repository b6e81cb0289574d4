#pragma once
// Finds an installed JDK by probing the conventional folders on drives C to Z.
#include "CString.h"

// The first folder matching <drive>:\Java\jdk*, then \Program Files\Java\jdk*, then
// \Program Files (x86)\Java\jdk*, drives in ascending order; only the first entry each
// pattern enumerates counts. Empty when none is found.
CString FindJdkHome();
