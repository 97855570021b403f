// The search box's editing model under any sequence of keys, typed or pasted text, moves and
// undos: the text never passes its limit, the caret and anchor stay inside it, and the undo
// history keeps within its bytes.
#include "menu/portable/search_edit.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    TEditModel model;
    TUndoHistory history;
    PushSnapshot(history, model);
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 8)) {
        case 0: ReplaceSelection(model, in.Text(400)); break;
        case 1: DeleteBackward(model); break;
        case 2: DeleteForward(model); break;
        case 3: MoveCaret(model, TEditMove(in.ConsumeIntegralInRange<int>(0, 5)), in.ConsumeBool()); break;
        case 4: SelectAll(model); break;
        case 5: Undo(history, model); break;
        case 6: ClearText(model); break;
        case 7: {
            int first = 0, last = 0;
            WordAround(model.Text, in.ConsumeIntegral<int>(), first, last);
            FUZZ_CHECK(0 <= first && first <= last && last <= int(model.Text.size()));
            model.Anchor = first;
            model.Caret = last;
            break;
        }
        case 8:  // positions from outside (a mouse point or an old snapshot)
            model.Caret = in.ConsumeIntegral<int>();
            model.Anchor = in.ConsumeIntegral<int>();
            ClampPositions(model);
            break;
        }
        PushSnapshot(history, model);
        FUZZ_CHECK(model.Text.size() <= kSearchTextLimit);
        FUZZ_CHECK(0 <= model.Caret && model.Caret <= int(model.Text.size()));
        FUZZ_CHECK(0 <= model.Anchor && model.Anchor <= int(model.Text.size()));
        FUZZ_CHECK(history.Bytes <= kUndoHistoryBytes && !history.Snapshots.empty());
        FUZZ_CHECK(SelectedText(model).size() <= model.Text.size());
    }
    return 0;
}
