#include "menu/portable/menu_build.h"

#include "menu/portable/menu_keywords.h"

namespace {

size_t IndexOf(const std::vector<std::u16string_view> &paths, std::u16string_view path)
{
    for (size_t i = 0; i < paths.size(); ++i)
        if (paths[i] == path)
            return i;
    return paths.size();
}

} // namespace

const std::u16string_view kFindLevelKeywords[5] = {
    kFindFilesKeyword, kFindInternetKeyword, kFindPersonsKeyword, kFindComputersKeyword,
    kFindPrintersKeyword,
};

bool IsShownFolderEntry(std::u16string_view name, bool hidden)
{
    return !hidden && !name.empty() && name.front() != u'.';
}

TSwapList PlaceProgramsSwaps(const std::vector<std::u16string_view> &paths,
                             std::u16string_view programsPath, bool programsOnTop)
{
    TSwapList swaps;
    size_t at = IndexOf(paths, programsPath);
    if (programsOnTop || at == paths.size())
        return swaps;
    while (at + 1 < paths.size() && !paths[at + 1].starts_with(u'*')) {
        swaps.emplace_back(at, at + 1);
        ++at;
    }
    // The separator that closes the folder items.
    if (at + 1 < paths.size() && paths[at + 1] == kSeparatorKeyword)
        swaps.emplace_back(at, at + 1);
    return swaps;
}

TSwapList MoveProgramsSwaps(const std::vector<std::u16string_view> &paths,
                            std::u16string_view programsPath, bool programsOnTop)
{
    TSwapList swaps;
    size_t item = IndexOf(paths, programsPath);
    size_t separator = IndexOf(paths, kSeparatorKeyword);
    if (item == paths.size() || separator == paths.size())
        return swaps;
    if (!programsOnTop)
        for (size_t at = item; at < separator; ++at)
            swaps.emplace_back(at, at + 1);
    else
        for (size_t at = item; at > separator; --at)
            swaps.emplace_back(at, at - 1);
    return swaps;
}
