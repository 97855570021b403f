// Makes a real shell shortcut, for the sample Start Menu and for tests.
//   make_shortcut.exe LINK.lnk TARGET [DESCRIPTION [ARGUMENTS]]
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

int wmain(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    if (FAILED(CoInitialize(nullptr)))
        return 1;
    int result = 1;
    IShellLinkW *link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&link)))) {
        link->SetPath(argv[2]);
        if (argc > 3)
            link->SetDescription(argv[3]);
        if (argc > 4)
            link->SetArguments(argv[4]);
        IPersistFile *file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            if (SUCCEEDED(file->Save(argv[1], TRUE)))
                result = 0;
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}
