#pragma once
// Paths of files and directories.
#include <string>

namespace Utils::Paths {

// A valid path (2 to 260 characters) that does not end with "\" gets one;
// any other path is returned unchanged.
std::string NormalizeDirectory(const std::string& path);
// Appends "\" when the last character is not "\" (an empty path stays empty).
std::string WithBackslash(const std::string& path);
// The path up to and including its last "\"; empty when it has none.
std::string DirectoryOf(const std::string& path);
// Makes an existing directory the process's current directory.
void SetCurrent(const std::string& directory);
// True when the path names an existing directory.
bool DirectoryExists(const std::string& directory);

}  // namespace Utils::Paths
