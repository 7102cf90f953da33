#include "Utils/Paths.h"

#include <windows.h>

namespace Utils::Paths {

std::string NormalizeDirectory(const std::string& path)
{
    if (path.size() < 2 || path.size() > 260)
        return path;
    return WithBackslash(path);
}

std::string WithBackslash(const std::string& path)
{
    if (path.empty() || path.back() == '\\')
        return path;
    return path + "\\";
}

std::string DirectoryOf(const std::string& path)
{
    const size_t last = path.rfind('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

bool DirectoryExists(const std::string& directory)
{
    // The directory's own entry is found without its final "\" ("C:\dir",
    // not "C:\dir\"); a drive root is looked at through its contents.
    std::string probe = directory;
    if (probe.size() > 1 && probe.back() == '\\')
        probe.pop_back();
    if (probe.size() == 2 && probe[1] == ':')
        probe += "\\*";
    SetLastError(0);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(probe.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return probe.back() == '*' || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void SetCurrent(const std::string& directory)
{
    if (!DirectoryExists(directory))
        throw "Метод \"Utils::Paths::SetCurrent()\".\nКаталог отсутсвует.";
    SetCurrentDirectoryA(directory.c_str());
}

}  // namespace Utils::Paths
