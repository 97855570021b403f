// The clean-up script the uninstaller must leave, as both uninstaller tests expect it.
#pragma once

#include <string>

// `folder` is the install folder, `script` the script's own path (it deletes itself last).
inline std::string ExpectedCleanupScript(const std::string &folder, const std::string &script)
{
    return "del \"" + folder + "\\images\\*.bmp\"\r\n"
           "rd \"" + folder + "\\help\"\r\n"
           "del \"" + folder + "\\*.exe\"\r\n"
           "del \"" + folder + "\\*.ini\"\r\n"
           "del \"" + folder + "\\*.eng\"\r\n"
           "del \"" + folder + "\\*.esp\"\r\n"
           "del \"" + folder + "\\*.dll\"\r\n"
           "del \"" + folder + "\\images\\*.png\"\r\n"
           "del \"" + folder + "\\images\\*.jpg\"\r\n"
           "rd \"" + folder + "\\images\"\r\n"
           "del \"" + folder + "\\LICENSE.txt\"\r\n"
           ":REPEAT\r\n"
           "del \"" + folder + "\\TVRAUninstaller.exe\"\r\n"
           "if exist \"" + folder + "\\TVRAUninstaller.exe\" goto REPEAT\r\n"
           "rd \"" + folder + "\"\r\n"
           "del \"" + script + "\"\r\n";
}
