#include "JdkLocator.h"
#include "CFileFind.h"

namespace {
const char* const kPatternSuffixes[] = {
    ":\\Java\\jdk*",
    ":\\Program Files\\Java\\jdk*",
    ":\\Program Files (x86)\\Java\\jdk*",
};
}

CString FindJdkHome()
{
    CFileFind finder;
    for (char drive = 'C'; drive <= 'Z'; ++drive) {
        for (const char* suffix : kPatternSuffixes) {
            const CString pattern = CString(drive) + suffix;
            if (!finder.FindFile(pattern))
                continue;
            finder.FindNextFile();
            if (finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY))
                return finder.GetFilePath();
        }
    }
    return CString();
}
