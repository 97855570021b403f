// File helpers shared by the Windows tests.
#pragma once
#include <windows.h>

#include <string>

// The path under Wine's Z: drive of a folder or file of the build tree.
inline std::wstring WindowsPath(const char *unixPath)
{
    std::wstring path = L"Z:";
    for (const char *c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : wchar_t(*c);
    return path;
}

// A file's bytes, or "<missing>" when it cannot be opened, so that a missing file reads
// plainly in a failed comparison.
inline std::string FileBytes(const std::wstring &path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}
