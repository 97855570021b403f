#include "menu/portable/folder_names.h"

#include <cstdio>

#include "common/portable/sort_rules.h"

namespace {

// Paths compared as the file system does for the letters a to z.
bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && CompareCaptions(text.substr(0, prefix.size()), prefix) == 0;
}

bool IsBadCharacter(char16_t c)
{
    if (c < 32)
        return true;
    for (char16_t bad : std::u16string_view(u"\\/:*?\"<>|"))
        if (c == bad)
            return true;
    return false;
}

// The names the system keeps for devices, whatever extension follows them.
bool IsDeviceName(std::u16string_view name)
{
    std::u16string_view base = name.substr(0, name.find(u'.'));
    while (!base.empty() && base.back() == u' ')
        base.remove_suffix(1);
    for (std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
        if (CompareCaptions(base, device) == 0)
            return true;
    if (base.size() == 4 && (StartsWithFolded(base, u"COM") || StartsWithFolded(base, u"LPT")))
        return base[3] >= u'1' && base[3] <= u'9';
    return false;
}

std::u16string WithBackslash(std::u16string_view path)
{
    std::u16string folder(path);
    if (folder.empty() || folder.back() != u'\\')
        folder += u'\\';
    return folder;
}

} // namespace

TFolderNameVerdict CheckNewFolderName(std::u16string_view targetFolder, std::u16string_view name)
{
    if (name.empty())
        return TFolderNameVerdict::Empty;
    for (char16_t c : name)
        if (IsBadCharacter(c))
            return TFolderNameVerdict::BadCharacter;
    if (name == u"." || name == u"..")
        return TFolderNameVerdict::DotName;
    if (name.back() == u'.' || name.back() == u' ')
        return TFolderNameVerdict::TrailingDotOrSpace;
    if (IsDeviceName(name))
        return TFolderNameVerdict::DeviceName;
    if (targetFolder.size() + name.size() > kMaxNewFolderPath)
        return TFolderNameVerdict::TooLong;
    return TFolderNameVerdict::Fine;
}

TTargetFolder TargetFolderOf(std::u16string_view parentPath, std::u16string_view userStartMenu,
                             std::u16string_view commonStartMenu)
{
    TTargetFolder target;
    if (parentPath.empty()) {
        target.Folder = WithBackslash(userStartMenu);
        return target;
    }
    const std::u16string folder = WithBackslash(parentPath);
    if (commonStartMenu.empty() || !StartsWithFolded(folder, commonStartMenu)) {
        target.Folder = folder;
        return target;
    }
    const std::u16string user = WithBackslash(userStartMenu);
    const std::u16string_view rest = std::u16string_view(folder).substr(commonStartMenu.size());
    target.Folder = user + std::u16string(rest);
    // Every folder below the user's Start Menu, outermost first, each without its backslash.
    // An empty step (a doubled backslash) names no folder of its own.
    for (size_t end = user.size(); end < target.Folder.size(); ++end)
        if (target.Folder[end] == u'\\' && target.Folder[end - 1] != u'\\')
            target.Chain.push_back(target.Folder.substr(0, end));
    return target;
}

std::u16string ShortcutFileName(const int (&random)[4])
{
    char text[64];
    int scaled[4];
    for (int i = 0; i < 4; ++i)
        scaled[i] = random[i] * 10000 / 32767;
    std::snprintf(text, sizeof text, "%04d%04d%04d%04d.lnk", scaled[0], scaled[1], scaled[2],
                  scaled[3]);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}
