#pragma once
#include <string>

namespace harness {

// Deletes a folder with everything below it; a missing folder is no error.
void RemoveTree(const std::string& path);
// Creates a folder and every missing folder above it (path starts with a drive, "X:\...");
// false when it does not exist afterwards.
bool MakeFolders(const std::string& path);
// Creates (or replaces) a file holding exactly text.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace harness
