#include "JdkChoice.h"

namespace {

// Menus take '&' as the mark of an access key; a folder such as "Tools & JDKs" must show as typed.
CString EscapeAmpersands(const CString& text)
{
    CString escaped = text;
    escaped.Replace("&", "&&");
    return escaped;
}

}  // namespace

CString ChooseClickJdk(const CString& foundBySearch, const std::vector<JdkInstallation>& installed)
{
    if (!foundBySearch.IsEmpty())
        return foundBySearch;
    return installed.empty() ? CString() : installed.front().folder;
}

std::vector<JdkMenuEntry> BuildJdkMenu(const std::vector<JdkInstallation>& installed, const CString& clickFolder)
{
    std::vector<JdkMenuEntry> entries;
    bool defaultTaken = false;
    for (const JdkInstallation& jdk : installed) {
        JdkMenuEntry entry;
        entry.text = EscapeAmpersands("JDK " + jdk.version + "（" + jdk.vendor + "）  " + jdk.folder);
        entry.folder = jdk.folder;
        entry.isDefault = !defaultTaken && !clickFolder.IsEmpty() && jdk.folder.CompareNoCase(clickFolder) == 0;
        defaultTaken = defaultTaken || entry.isDefault;
        entries.push_back(entry);
    }
    return entries;
}
