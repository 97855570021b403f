// The rules of menu building that need no file system: which folder entries are shown and
// where the Programs folder item goes.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Entries whose name begins with a dot (".", ".." included) and hidden entries are skipped.
bool IsShownFolderEntry(std::u16string_view name, bool hidden);

// The items of the find level ("*buscar"), in order.
extern const std::u16string_view kFindLevelKeywords[5];

// Index pairs to exchange, in order, on the top level whose item paths are `paths`.
using TSwapList = std::vector<std::pair<size_t, size_t>>;

// The Programs item, when ProgramsOnTop is clear, goes past every folder item and then past
// the separator that follows them, becoming the first line of the special section.
TSwapList PlaceProgramsSwaps(const std::vector<std::u16string_view> &paths,
                             std::u16string_view programsPath, bool programsOnTop);

// The Programs item crosses the first separator when ProgramsOnTop changed: clear moves it
// from above to right below, set from below to right above.  Empty when it already stands
// on the right side or either item is missing.
TSwapList MoveProgramsSwaps(const std::vector<std::u16string_view> &paths,
                            std::u16string_view programsPath, bool programsOnTop);
