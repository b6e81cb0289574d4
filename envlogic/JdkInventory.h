#pragma once
// Every JDK installed on the machine, gathered from the registry, the vendors'
// installation folders and the per-user download folders.
#include "CString.h"
#include <string>
#include <vector>

struct JdkInstallation {
    CString folder;   // without a trailing backslash (drive roots keep theirs)
    CString version;  // the release file's JAVA_VERSION, else the one in the folder name; may be empty
    CString vendor;   // the release file's IMPLEMENTOR, else named after where it was found
};

// Each folder once (compared without regard to case), newest first; ties go to the
// lower drive letter, then to the folder name. Only folders whose bin holds both
// java.exe and javac.exe count. Whatever cannot be read is passed over.
std::vector<JdkInstallation> FindInstalledJdks();

// <0, 0, >0 as a is older than, as old as, newer than b. "1.8.0_392" < "17.0.13" < "21.0.5";
// a pre-release ("22-ea") is older than its release, an empty version older than any.
int CompareJdkVersions(const CString& a, const CString& b);

// The two facts a release file gives, from its text; a field stays empty when its
// line is missing or malformed (an unterminated quote, a version without a leading digit).
struct JdkReleaseFacts {
    CString version;
    CString vendor;
};
JdkReleaseFacts ParseJdkRelease(const std::string& text);

// The version a folder name carries ("jdk-21.0.5.11-hotspot" -> "21.0.5.11"); empty if none.
CString VersionFromFolderName(const CString& name);
