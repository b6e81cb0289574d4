#pragma once
// What the detect button offers: the folder a click takes, and a menu of every JDK.
#include "JdkInventory.h"
#include <vector>

// The conventional search's folder when it found one (so a click means what it always
// meant), else the newest installed JDK, else empty.
CString ChooseClickJdk(const CString& foundBySearch, const std::vector<JdkInstallation>& installed);

struct JdkMenuEntry {
    CString text;     // as the menu shows it
    CString folder;   // what choosing it puts into JAVA_HOME
    bool isDefault = false;
};

// One entry per JDK, in the given order, as "JDK <version>（<vendor>）  <folder>"; the
// entry naming clickFolder (in any case) is the default. Both sides name folders without a
// trailing backslash.
std::vector<JdkMenuEntry> BuildJdkMenu(const std::vector<JdkInstallation>& installed, const CString& clickFolder);
