#include "settings/control_panel_items.h"

#include <shellapi.h>

#include "common/portable/text.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "settings/portable/recent_values.h"

namespace {

constexpr size_t kValueUnits = 512;     // the name, tip, localized string and icon location
constexpr size_t kCommandUnits = 260;   // the open command
constexpr DWORD kExpandUnits = 1024;    // room for the expansion of environment variables
constexpr int kLoadedStringUnits = 520;
constexpr DWORD kNameUnits = 1024;      // sub-key names of a namespace

struct TPass {
    const wchar_t *Namespace;
    const wchar_t *ClassPrefix;
    DWORD LoadFlags;
};

const TPass kPasses[] = {
    {kControlPanelNamespace32, L"Wow6432Node\\CLSID\\",
     DONT_RESOLVE_DLL_REFERENCES | LOAD_LIBRARY_AS_IMAGE_RESOURCE},
    {kControlPanelNamespace64, L"CLSID\\", DONT_RESOLVE_DLL_REFERENCES},
};

// A string value of `key` (null name: the default value), cut to `units` - 1 units; empty
// when missing or not a string.
std::wstring ReadText(HKEY key, const wchar_t *name, size_t units)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    std::wstring value(text.data());  // stops at the first zero; the extra unit ends it
    if (value.size() >= units)
        value.resize(units - 1);
    return value;
}

std::wstring ReadSubKeyText(const std::wstring &classKey, const wchar_t *subKey, size_t units,
                            bool *opened = nullptr)
{
    TRegistryKey key(HKEY_CLASSES_ROOT, (classKey + subKey).c_str(), KEY_READ);
    if (opened)
        *opened = bool(key);
    return key ? ReadText(key.Get(), nullptr, units) : std::wstring();
}

std::wstring Expanded(const std::wstring &text)
{
    wchar_t buffer[kExpandUnits];
    CopyText(U16(buffer), kExpandUnits, U16View(text.c_str()));
    // Left as it was when the expansion does not fit.
    DoEnvironmentSubstW(buffer, kExpandUnits);
    std::wstring value(buffer);
    if (value.size() >= kValueUnits)
        value.resize(kValueUnits - 1);
    return value;
}

// A module for one resolution: the copy already in the process, or one loaded with the
// pass's flags and freed at the end of the scope.
class TResourceModule {
public:
    TResourceModule(const std::wstring &path, DWORD flags)
    {
        module_ = path.empty() ? nullptr : GetModuleHandleW(path.c_str());
        if (!module_ && !path.empty()) {
            module_ = LoadLibraryExW(path.c_str(), nullptr, flags);
            owned_ = module_ != nullptr;
        }
    }
    ~TResourceModule()
    {
        if (owned_)
            FreeLibrary(module_);
    }
    TResourceModule(const TResourceModule &) = delete;
    TResourceModule &operator=(const TResourceModule &) = delete;
    HMODULE Get() const { return module_; }

private:
    HMODULE module_ = nullptr;
    bool owned_ = false;
};

// "@module,-id" loaded from the module; any other text as it stands.
std::wstring ResolveText(const std::wstring &text, DWORD flags)
{
    const TResourceLocation location = SplitResourceLocation(U16View(text.c_str()));
    if (!location.Indirect)
        return text;
    const TResourceModule module(std::wstring(W(location.Module.data()), location.Module.size()),
                                 flags);
    wchar_t loaded[kLoadedStringUnits] = {};
    if (module.Get() && location.Id != 0 &&
        LoadStringW(module.Get(), location.Id, loaded, kLoadedStringUnits) <= 0)
        loaded[0] = 0;
    return loaded;
}

HICON FirstIcon(const std::wstring &file)
{
    HICON icon = ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), 0);
    // 1 means the file is not a program or icon file.
    return icon == reinterpret_cast<HICON>(1) ? nullptr : icon;
}

// The location's number is a resource identifier, never a position in the file.  The icon is
// a private copy (not LoadIcon's shared one): it outlives the module, and the item that gets
// it destroys it.
HICON ResolveIcon(const std::wstring &location, DWORD flags)
{
    const TResourceLocation split = SplitResourceLocation(U16View(location.c_str()));
    const std::wstring file(W(split.Module.data()), split.Module.size());
    const TResourceModule module(file, flags);
    HICON icon = nullptr;
    if (module.Get() && split.HasId)
        icon = static_cast<HICON>(LoadImageW(module.Get(), MAKEINTRESOURCEW(split.Id & 0xFFFF),
                                             IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    return icon ? icon : FirstIcon(file);
}

void ReadEntry(const TPass &pass, const wchar_t *classId, std::vector<TControlPanelEntry> &entries)
{
    const std::wstring classKey = std::wstring(pass.ClassPrefix) + classId;
    std::wstring name, tip, localized;
    {
        TRegistryKey key(HKEY_CLASSES_ROOT, classKey.c_str(), KEY_READ);
        if (key) {
            name = ReadText(key.Get(), nullptr, kValueUnits);
            tip = ReadText(key.Get(), L"InfoTip", kValueUnits);
            localized = ReadText(key.Get(), L"LocalizedString", kValueUnits);
        }
    }
    bool hasCommand = false;
    std::wstring target = ReadSubKeyText(classKey, L"\\Shell\\Open\\Command", kCommandUnits,
                                         &hasCommand);
    if (!hasCommand)
        target = classId;
    bool hasIcon = false;
    const std::wstring iconLocation = ReadSubKeyText(classKey, L"\\DefaultIcon", kValueUnits,
                                                     &hasIcon);
    if (!hasIcon)
        return;
    tip = ResolveText(Expanded(tip), pass.LoadFlags);
    localized = Expanded(localized);
    if (SplitResourceLocation(U16View(localized.c_str())).Indirect)
        name = ResolveText(localized, pass.LoadFlags);
    if (name.empty())
        return;
    entries.push_back({target, name, tip, ResolveIcon(Expanded(iconLocation), pass.LoadFlags)});
}

} // namespace

void FillControlPanelMenu(std::vector<TControlPanelEntry> &entries)
{
    for (const TPass &pass : kPasses) {
        TRegistryKey space(HKEY_LOCAL_MACHINE, pass.Namespace, KEY_READ);
        if (!space)
            continue;
        for (DWORD index = 0;; ++index) {
            wchar_t classId[kNameUnits];
            DWORD length = kNameUnits;
            const LSTATUS status =
                RegEnumKeyExW(space.Get(), index, classId, &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_MORE_DATA)
                continue;  // a name too long for any class key: skipped, the rest still read
            if (status != ERROR_SUCCESS)
                break;
            ReadEntry(pass, classId, entries);
        }
    }
}
