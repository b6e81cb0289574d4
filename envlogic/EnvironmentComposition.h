#pragma once
// How CLASSPATH and PATH follow from the JDK folder typed as JAVA_HOME.
#include "CString.h"

// Both "%JAVA_HOME%" placeholders are replaced by the JDK folder.
extern const char ClasspathTemplate[];

// Automatic (non-zero): the template with the JDK folder (one trailing backslash
// removed, drive roots kept) in place of each placeholder; the template itself for an
// empty folder. An absolute folder counts without surrounding spaces and quotes. Otherwise: this process's inherited CLASSPATH, empty when unset.
CString ComposeClasspath(int bAutomatic, const char* jdkFolder);

// The JDK's bin folder as the platform's path functions join it. FALSE when the
// folder is too long for them (the joined path would not fit MAX_PATH).
BOOL ComposeJdkBinFolder(const char* jdkFolder, CString& binFolder);

// The remembered PATH with the JDK's bin folder appended after a single ';' unless
// one of its ';'-separated entries already equals it byte for byte. The folder counts
// without surrounding spaces and quotes; an empty, blank or not absolute folder, or one
// too long for the path functions, leaves the remembered PATH unchanged.
CString ComposePath(const CString& rememberedPath, const char* jdkFolder);
