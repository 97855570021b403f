// The settings text: any file bytes are read without fault, and values saved into any text
// with ReplaceSettingInText (or written as a theme's lines) read back as the same values.
#include <cstring>
#include <vector>

#include "common/portable/text.h"
#include "settings/portable/language_keys.h"
#include "settings/portable/settings_text.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// A record of every setting type, under real keys (some the prefix of another).
struct Values {
    int32_t Number[2] = {};
    bool Flag[2] = {};
    uint32_t Colour = 0;
    char16_t Short[20] = {};
    char16_t Face[32] = {};
    char16_t Path[260] = {};
    char16_t Local[4][80] = {};

    std::vector<SettingRow> Rows()
    {
        return {
            {u"ManageIcon", SettingType::Text, Path, 260},
            {u"ManageIconIndex", SettingType::Int, &Number[0], 0},
            {u"MenuDelay", SettingType::Int, &Number[1], 0},
            {u"DrawGlow", SettingType::Flag, &Flag[0], 0},
            {u"RibbonGlow", SettingType::Flag, &Flag[1], 0},
            {u"DrawFontColor", SettingType::Colour, &Colour, 0},
            {u"ShowString", SettingType::Text, Short, 20},
            {u"DrawFontFace", SettingType::Text, Face, 32},
            {std::u16string(kLanguageKeyNames[LocalRun]), SettingType::Text, Local[0], 80},
            {std::u16string(kLanguageKeyNames[LocalDlg_105]), SettingType::Text, Local[1], 80},
            {std::u16string(kLanguageKeyNames[LocalDlg_105_1002]), SettingType::Text, Local[2],
             80},
            {std::u16string(kLanguageKeyNames[LocalEmpty]), SettingType::Text, Local[3], 80},
        };
    }
};

void Fill(FuzzInput &in, Values &v)
{
    for (int32_t &n : v.Number)
        n = in.ConsumeIntegral<int32_t>();
    for (bool &f : v.Flag)
        f = in.ConsumeBool();
    v.Colour = in.ConsumeIntegral<uint32_t>() & 0xFFFFFF;  // a COLORREF's top byte is 0
    for (const SettingRow &row : v.Rows())
        if (row.Type == SettingType::Text)
            CopyText(static_cast<char16_t *>(row.Member), row.Capacity,
                     in.Text(row.Capacity - 1));
}

// Every member of `read` equals what `saved` writes for it.
void CheckSame(Values &saved, Values &read)
{
    std::vector<SettingRow> a = saved.Rows(), b = read.Rows();
    for (size_t i = 0; i < a.size(); ++i) {
        const std::u16string written = FormatRowValue(a[i]);
        const std::u16string back = FormatRowValue(b[i]);
        if (written != back) {
            std::fprintf(stderr, "%s: saved \"%s\", read \"%s\"\n", Printable(a[i].Key).c_str(),
                         Printable(written).c_str(), Printable(back).c_str());
            FUZZ_CHECK(written == back);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    Values saved;
    Fill(in, saved);
    const std::u16string probe = in.Text(16);
    const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();

    std::u16string text = TextFromFileBytes(bytes.data(), bytes.size());
    FUZZ_CHECK(text.find(u'\0') == std::u16string::npos);
    const std::vector<uint8_t> again = FileBytesFromText(text);
    FUZZ_CHECK(again.size() == text.size() * 2 && again.size() <= bytes.size());
    FUZZ_CHECK(again.empty() || std::memcmp(again.data(), bytes.data(), again.size()) == 0);

    const std::u16string value = ReadSettingValue(text, probe);
    FUZZ_CHECK(value.size() < kSettingValueCapacity);
    FUZZ_CHECK(value.find_first_of(u"\r\n") == std::u16string::npos);
    ReadIntValue(value);
    ReadColourValue(value);
    ReadFlagValue(value);

    // Whatever the file held before, a save reads back as the values saved.
    Values read;
    ReadRows(text, read.Rows());
    ReplaceRowsInText(text, saved.Rows());
    ReadRows(text, read.Rows());
    CheckSame(saved, read);

    // Saving what was read changes nothing.
    const std::u16string savedText = text;
    ReplaceRowsInText(text, read.Rows());
    FUZZ_CHECK(text == savedText);

    // A theme file is the rows' lines alone.
    Values theme;
    ReadRows(FormatRowLines(saved.Rows()), theme.Rows());
    CheckSame(saved, theme);
    return 0;
}
