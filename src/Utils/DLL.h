#pragma once
#include <string>

namespace Utils::DLL {

// Adds one load reference to a loaded module, so that it stays in memory
// until the process ends.
void Increment(const std::string& moduleName);

}  // namespace Utils::DLL
