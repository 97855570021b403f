// File helpers shared by the Windows tests.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

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

// Saves a shortcut to `target`, with a description and an icon of its own when given.
inline bool MakeShortcut(const std::wstring &path, const std::wstring &target,
                         const wchar_t *description = nullptr, const wchar_t *iconFile = nullptr,
                         int iconIndex = 0)
{
    IShellLinkW *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void **>(&link))))
        return false;
    link->SetPath(target.c_str());
    if (description)
        link->SetDescription(description);
    if (iconFile)
        link->SetIconLocation(iconFile, iconIndex);
    IPersistFile *file = nullptr;
    bool saved = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
                 SUCCEEDED(file->Save(path.c_str(), TRUE));
    if (file)
        file->Release();
    link->Release();
    return saved;
}

// Deletes a folder (given with its trailing backslash) and everything in it, hidden and
// read-only entries too.
inline void RemoveTree(const std::wstring &folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\");
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// Every entry below `folder` (given with its trailing backslash), as paths from it, folders
// with a trailing backslash, sorted.
inline std::vector<std::wstring> ListTree(const std::wstring &folder,
                                          const std::wstring &prefix = L"")
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            names.push_back(prefix + name + L"\\");
            for (const std::wstring &below : ListTree(folder + name + L"\\", prefix + name + L"\\"))
                names.push_back(below);
        } else {
            names.push_back(prefix + name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}
