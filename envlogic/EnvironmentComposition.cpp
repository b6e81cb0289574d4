#include "EnvironmentComposition.h"
#include "JavaPathCheck.h"
#include "RegistryEnvironment.h"
#include <shlwapi.h>
#include <cstring>
#include <vector>

const char ClasspathTemplate[] = ".;%JAVA_HOME%\\lib\\dt.jar;%JAVA_HOME%\\lib\\tools.jar";

namespace {

const char kPlaceholder[] = "%JAVA_HOME%";

bool PathHoldsEntry(const CString& path, const CString& entry)
{
    // ';' is never a trail byte of a double-byte character, but Find steps over them anyway.
    int start = 0;
    for (;;) {
        const int end = path.Find(';', start);
        const int stop = end < 0 ? path.GetLength() : end;
        if (stop - start == entry.GetLength() && path.str().compare(start, stop - start, entry.str()) == 0)
            return true;
        if (end < 0)
            return false;
        start = end + 1;
    }
}

}  // namespace

CString ComposeClasspath(int bAutomatic, const char* jdkFolder)
{
    if (!bAutomatic)
        return GetProcessVariable("CLASSPATH");

    CString classpath(ClasspathTemplate);
    // A pasted folder in quotes stands for the folder JAVA_HOME will get.
    const CString trimmed = TrimFolderInput(jdkFolder);
    const char* folder = IsAbsoluteFolderPath(trimmed) ? trimmed.GetString() : (jdkFolder ? jdkFolder : "");
    if (*folder) {
        // Sized to the text, so a folder of any length is kept whole.
        std::vector<char> buffer(folder, folder + strlen(folder) + 1);
        PathRemoveBackslashA(buffer.data());
        classpath.Replace(kPlaceholder, buffer.data());
    }
    return classpath;
}

BOOL ComposeJdkBinFolder(const char* jdkFolder, CString& binFolder)
{
    const char* folder = jdkFolder ? jdkFolder : "";
    char buffer[MAX_PATH] = {};
    if (strlen(folder) >= sizeof(buffer))
        return FALSE;
    memcpy(buffer, folder, strlen(folder));
    if (!PathAppendA(buffer, "bin"))
        return FALSE;
    binFolder = buffer;
    return TRUE;
}

CString ComposePath(const CString& rememberedPath, const char* jdkFolder)
{
    // Anything but a full folder would put a relative entry into the machine-wide PATH.
    const CString folder = TrimFolderInput(jdkFolder);
    if (!IsAbsoluteFolderPath(folder))
        return rememberedPath;
    CString candidate;
    if (!ComposeJdkBinFolder(folder, candidate) || PathHoldsEntry(rememberedPath, candidate))
        return rememberedPath;
    CString path = rememberedPath;
    if (path.IsEmpty() || path[path.GetLength() - 1] != ';')
        path += ';';
    path += candidate;
    return path;
}
