#include <gtest/gtest.h>

#include "uninstaller/portable/cleanup_script.h"

TEST(CleanupScript, QuotedLinesEndedByCarriageReturnLineFeedRemoveEverythingInstalled)
{
    const std::string expected =
        "del \"C:\\Program Files\\Orvella\\images\\*.bmp\"\r\n"
        "rd \"C:\\Program Files\\Orvella\\help\"\r\n"
        "del \"C:\\Program Files\\Orvella\\*.exe\"\r\n"
        "del \"C:\\Program Files\\Orvella\\*.ini\"\r\n"
        "del \"C:\\Program Files\\Orvella\\*.eng\"\r\n"
        "del \"C:\\Program Files\\Orvella\\*.esp\"\r\n"
        "del \"C:\\Program Files\\Orvella\\*.dll\"\r\n"
        "del \"C:\\Program Files\\Orvella\\images\\*.png\"\r\n"
        "del \"C:\\Program Files\\Orvella\\images\\*.jpg\"\r\n"
        "rd \"C:\\Program Files\\Orvella\\images\"\r\n"
        "del \"C:\\Program Files\\Orvella\\LICENSE.txt\"\r\n"
        ":REPEAT\r\n"
        "del \"C:\\Program Files\\Orvella\\TVRAUninstaller.exe\"\r\n"
        "if exist \"C:\\Program Files\\Orvella\\TVRAUninstaller.exe\" goto REPEAT\r\n"
        "rd \"C:\\Program Files\\Orvella\"\r\n"
        "del \"C:\\Users\\Ann Lee\\AppData\\Local\\uninstallorvella.bat\"\r\n";
    EXPECT_EQ(BuildCleanupScript("C:\\Program Files\\Orvella",
                                 "C:\\Users\\Ann Lee\\AppData\\Local\\uninstallorvella.bat"),
              expected);
}

TEST(CleanupScript, PerCentSignsCannotExpandIntoOtherPaths)
{
    // Unescaped, cmd would put the Windows folder in place of "%windir%" and delete in a
    // folder nobody chose.
    std::string script = BuildCleanupScript("D:\\Tools%windir%\\Orvella", "C:\\a%b\\s.bat");
    EXPECT_NE(script.find("del \"D:\\Tools%%windir%%\\Orvella\\*.exe\"\r\n"), std::string::npos);
    EXPECT_NE(script.find("del \"C:\\a%%b\\s.bat\"\r\n"), std::string::npos);
}

TEST(TitleFont, ScalesByOneAndThreeQuartersTowardZero)
{
    struct Case {
        int32_t in, out;
    } cases[] = {{-11, -19}, {-12, -21}, {-13, -22}, {12, 21}, {13, 22}, {0, 0}};
    for (const Case &c : cases)
        EXPECT_EQ(ScaleTitleFontDimension(c.in), c.out) << c.in;
}
