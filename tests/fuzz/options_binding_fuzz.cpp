// The item lists of the options are built from ShowString as a settings file holds it, and
// the band text from what the user types: whatever those hold, every item stands in one of
// the lists, the available list holds one separator, drags neither lose nor duplicate an
// item, and what goes back into the record fits its member.
#include <algorithm>

#include "render/options/portable/options_binding.h"
#include "resources/tvra_resources.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// How often each item letter stands in the two lists together.
std::u16string LetterCounts(const TItemLists &lists)
{
    std::u16string counts;
    for (char16_t letter : kItemLetters) {
        char16_t count = 0;
        for (const std::u16string &rows : lists.Rows)
            count += char16_t(std::count(rows.begin(), rows.end(), letter));
        counts += count;
    }
    return counts;
}

void CheckLists(const TItemLists &lists, const std::u16string &counts)
{
    const std::u16string &available = lists.Rows[kAvailableList];
    FUZZ_CHECK(std::count(available.begin(), available.end(), kSeparatorLetter) == 1);
    FUZZ_CHECK(LetterCounts(lists) == counts);
    for (const std::u16string &rows : lists.Rows)
        for (char16_t row : rows)
            FUZZ_CHECK(row == kSeparatorLetter || kItemLetters.find(row) != std::u16string_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const std::u16string showString = in.Text(19);
    const std::u16string typed = in.Text(200);

    TItemLists lists = ItemListsOf(showString);
    const std::u16string counts = LetterCounts(lists);
    for (char16_t count : counts)
        FUZZ_CHECK(count >= 1);  // every item is offered or shown
    CheckLists(lists, counts);
    for (int drags = in.ConsumeIntegralInRange(0, 8); drags > 0; --drags) {
        TRowDrag drag;
        const int list = in.ConsumeIntegralInRange(-1, 2);
        const int row = in.ConsumeIntegralInRange(-1, 20);
        if (!BeginRowDrag(lists, drag, list, row))
            continue;
        for (int moves = in.ConsumeIntegralInRange(0, 4); moves > 0; --moves)
            MoveDraggedRow(lists, drag, in.ConsumeIntegralInRange(0, 1), in.ConsumeIntegralInRange(-5, 40));
        EndRowDrag(lists, drag);
        CheckLists(lists, counts);
    }
    FUZZ_CHECK(ShowStringOf(lists, 20).size() <= 19);

    char16_t bandText[80];
    std::fill(std::begin(bandText), std::end(bandText), u'?');
    const std::vector<SettingRow> rows = {{u"RibbonText", SettingType::Text, bandText, 80}};
    TControlState state;
    state.Text = typed;
    const TControlState shown =
        StoreControl(*FindBinding(IDC_OPT_BAND_TEXT), state, rows, TIconMetrics{32, 16});
    const std::u16string expected = typed.substr(0, std::min<size_t>(79, typed.find(u'\0')));
    FUZZ_CHECK(shown.Text == expected);
    return 0;
}
