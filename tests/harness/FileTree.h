#pragma once
#include <string>

namespace harness {

// Deletes a folder with everything below it; a missing folder is no error.
void RemoveTree(const std::string& path);

}  // namespace harness
