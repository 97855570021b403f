#include "menu/portable/drop_rules.h"

namespace {

char16_t Folded(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; }

bool SameFolded(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Folded(a[i]) != Folded(b[i]))
            return false;
    return true;
}

std::u16string_view WithoutBackslash(std::u16string_view path)
{
    while (!path.empty() && path.back() == u'\\')
        path.remove_suffix(1);
    return path;
}

// DROPFILES: offset of the names (32 bits), the drop point (two 32-bit values), the
// non-client flag and the wide-character flag (32 bits each).
constexpr size_t kDropFilesHeader = 20;
constexpr size_t kWideFlagOffset = 16;

uint32_t ReadUint32(const uint8_t *at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

} // namespace

int DropIndexOf(std::span<const TDropMarks> marks)
{
    for (size_t i = 0; i < marks.size(); ++i)
        if (marks[i].before)
            return int(i);
    for (size_t i = 0; i < marks.size(); ++i)
        if (marks[i].after)
            return int(i) + 1;
    return 0;
}

int ReorderedIndex(int from, int dropIndex)
{
    return dropIndex > from ? dropIndex - 1 : dropIndex;
}

bool IsSameOrInside(std::u16string_view path, std::u16string_view folder)
{
    path = WithoutBackslash(path);
    folder = WithoutBackslash(folder);
    if (folder.empty() || path.size() < folder.size())
        return false;
    if (!SameFolded(path.substr(0, folder.size()), folder))
        return false;
    // "C:\Games2" is not inside "C:\Games": the next character must start a component.
    return path.size() == folder.size() || path[folder.size()] == u'\\';
}

std::u16string_view FolderWithBackslash(std::u16string_view path)
{
    const size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash + 1);
}

std::u16string_view LastComponent(std::u16string_view path)
{
    const size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

bool RewriteFolder(std::u16string &path, std::u16string_view oldFolder,
                   std::u16string_view newFolder, size_t capacity)
{
    if (oldFolder.empty() || path.size() < oldFolder.size())
        return false;
    for (size_t at = 0; at + oldFolder.size() <= path.size(); ++at) {
        if (!SameFolded(std::u16string_view(path).substr(at, oldFolder.size()), oldFolder))
            continue;
        if (path.size() - oldFolder.size() + newFolder.size() + 1 > capacity)
            return false;
        path.replace(at, oldFolder.size(), newFolder);
        return true;
    }
    return false;
}

std::u16string FirstDroppedPath(const uint8_t *block, size_t size, size_t maxUnits)
{
    if (!block || size < kDropFilesHeader)
        return {};
    const size_t offset = ReadUint32(block);
    const bool wide = ReadUint32(block + kWideFlagOffset) != 0;
    if (offset < kDropFilesHeader || offset >= size)
        return {};
    const size_t unitSize = wide ? 2 : 1;
    std::u16string path;
    for (size_t at = offset; at + unitSize <= size; at += unitSize) {
        const char16_t unit = wide ? char16_t(block[at] | block[at + 1] << 8) : char16_t(block[at]);
        if (unit == 0)
            return path;
        if (path.size() == maxUnits)
            return {};
        path += unit;
    }
    return {};  // no terminator inside the block
}
