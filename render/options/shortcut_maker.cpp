#include "render/options/shortcut_maker.h"

bool MakeShortcutFromDrop(int, HGLOBAL, const wchar_t *, wchar_t *resultPath)
{
    resultPath[0] = L'\0';
    return false;
}

bool SaveShortcut(const wchar_t *, const wchar_t *)
{
    return false;
}
