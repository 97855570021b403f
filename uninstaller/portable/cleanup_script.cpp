#include "uninstaller/portable/cleanup_script.h"

namespace {

std::string EscapeForBatch(std::string_view path)
{
    std::string escaped;
    for (char c : path) {
        escaped += c;
        if (c == '%')
            escaped += '%';
    }
    return escaped;
}

}  // namespace

std::string BuildCleanupScript(std::string_view installFolder, std::string_view scriptPath)
{
    const std::string folder = EscapeForBatch(installFolder);
    const std::string lines[] = {
        "del \"" + folder + "\\images\\*.bmp\"",
        "rd \"" + folder + "\\help\"",
        "del \"" + folder + "\\*.exe\"",
        "del \"" + folder + "\\*.ini\"",
        "del \"" + folder + "\\*.eng\"",
        "del \"" + folder + "\\*.esp\"",
        "del \"" + folder + "\\*.dll\"",
        // What the setup program installs beyond the lines above, so that the folder can go.
        "del \"" + folder + "\\images\\*.png\"",
        "del \"" + folder + "\\images\\*.jpg\"",
        "rd \"" + folder + "\\images\"",
        "del \"" + folder + "\\LICENSE.txt\"",
        // Repeats until the uninstaller has exited and its file can go.
        ":REPEAT",
        "del \"" + folder + "\\TVRAUninstaller.exe\"",
        "if exist \"" + folder + "\\TVRAUninstaller.exe\" goto REPEAT",
        "rd \"" + folder + "\"",
        "del \"" + EscapeForBatch(scriptPath) + "\"",
    };
    std::string script;
    for (const std::string &line : lines)
        script += line + "\r\n";
    return script;
}

int32_t ScaleTitleFontDimension(int32_t dimension)
{
    return static_cast<int32_t>(static_cast<double>(dimension) * 1.75);
}
