// The search box's editing model: the keys as moves and edits over a text with its caret and
// anchor, the length limit, and the undo history under its byte limit.
#include <gtest/gtest.h>

#include "menu/portable/search_edit.h"

namespace {

// A text with "|" for the caret and "[" for the anchor when they differ, and back.
TEditModel Model(std::u16string marked)
{
    TEditModel m;
    int anchor = -1;
    for (char16_t c : marked) {
        if (c == u'|')
            m.Caret = int(m.Text.size());
        else if (c == u'[')
            anchor = int(m.Text.size());
        else
            m.Text += c;
    }
    m.Anchor = anchor < 0 ? m.Caret : anchor;
    return m;
}

std::u16string Marked(const TEditModel &m)
{
    std::u16string out;
    for (int i = 0; i <= int(m.Text.size()); ++i) {
        if (i == m.Anchor && m.Anchor != m.Caret)
            out += u'[';
        if (i == m.Caret)
            out += u'|';
        if (i < int(m.Text.size()))
            out += m.Text[size_t(i)];
    }
    return out;
}

std::string Narrow(const std::u16string &s) { return std::string(s.begin(), s.end()); }

struct MoveCase {
    std::u16string before;
    TEditMove move;
    bool shift;
    std::u16string after;
};

} // namespace

TEST(SearchEditTest, MovesFollowWordsAndShiftKeepsTheAnchor)
{
    const MoveCase cases[] = {
        {u"ab|c", TEditMove::Left, false, u"a|bc"},
        {u"|abc", TEditMove::Left, false, u"|abc"},
        {u"abc|", TEditMove::Right, false, u"abc|"},
        {u"ab|c", TEditMove::Right, true, u"ab[c|"},
        // Ctrl: to the start of the previous / next word; spaces end a word.
        {u"one two| three", TEditMove::WordLeft, false, u"one |two three"},
        {u"one |two three", TEditMove::WordLeft, false, u"|one two three"},
        {u"one   |two", TEditMove::WordLeft, false, u"|one   two"},
        {u"o|ne two", TEditMove::WordRight, false, u"one |two"},
        {u"one |two", TEditMove::WordRight, false, u"one two|"},
        {u"one| two", TEditMove::WordRight, true, u"one[ |two"},
        {u"one two|", TEditMove::WordLeft, true, u"one |two[" },
        {u"a[b|c", TEditMove::Left, false, u"a|bc"},  // a move without Shift drops the selection
        {u"ab|c", TEditMove::Home, false, u"|abc"},
        {u"ab|c", TEditMove::Home, true, u"|ab[c"},
        {u"a|bc", TEditMove::End, false, u"abc|"},
        {u"a|bc", TEditMove::End, true, u"a[bc|"},
    };
    for (const MoveCase &c : cases) {
        TEditModel m = Model(c.before);
        MoveCaret(m, c.move, c.shift);
        EXPECT_EQ(Narrow(Marked(m)), Narrow(c.after)) << Narrow(c.before) << " move " << int(c.move);
    }
}

TEST(SearchEditTest, DeleteAndBackspaceTakeTheSelectionOrOneCharacter)
{
    struct Case {
        std::u16string before;
        bool forward;
        std::u16string after;
        bool changed;
    } const cases[] = {
        {u"ab|c", false, u"a|c", true},
        {u"ab|c", true, u"ab|", true},
        {u"|abc", false, u"|abc", false},
        {u"abc|", true, u"abc|", false},
        {u"a[bc|d", false, u"a|d", true},
        {u"a|bc[d", true, u"a|d", true},
        {u"|", false, u"|", false},
    };
    for (const Case &c : cases) {
        TEditModel m = Model(c.before);
        EXPECT_EQ(c.forward ? DeleteForward(m) : DeleteBackward(m), c.changed) << Narrow(c.before);
        EXPECT_EQ(Narrow(Marked(m)), Narrow(c.after)) << Narrow(c.before);
    }
}

TEST(SearchEditTest, TypingReplacesTheSelectionAndStopsAtTheLimit)
{
    TEditModel m = Model(u"note[pa|d");
    EXPECT_TRUE(ReplaceSelection(m, u"XY"));
    EXPECT_EQ(Narrow(Marked(m)), "noteXY|d");

    // A long paste is cut so the whole text holds 255 characters.
    TEditModel full = Model(u"ab|c");
    EXPECT_TRUE(ReplaceSelection(full, std::u16string(1000, u'x')));
    EXPECT_EQ(full.Text.size(), kSearchTextLimit);
    EXPECT_EQ(full.Caret, int(kSearchTextLimit) - 1);
    EXPECT_EQ(full.Text.back(), u'c');
    EXPECT_FALSE(ReplaceSelection(full, u"y"));  // full: nothing more goes in
    EXPECT_EQ(full.Text.size(), kSearchTextLimit);
    // A selection in a full text is still replaced by what fits.
    full.Anchor = 0;
    full.Caret = 3;
    EXPECT_TRUE(ReplaceSelection(full, u"zz"));
    EXPECT_EQ(full.Text.size(), kSearchTextLimit - 1);

    // A cut never splits a surrogate pair.
    TEditModel pair;
    pair.Text = std::u16string(kSearchTextLimit - 1, u'a');
    pair.Caret = pair.Anchor = int(pair.Text.size());
    EXPECT_FALSE(ReplaceSelection(pair, u"\xD83D\xDE00"));
    EXPECT_EQ(pair.Text.size(), kSearchTextLimit - 1);
}

TEST(SearchEditTest, WordUnderAPointAndSelectAll)
{
    int first = 0, last = 0;
    WordAround(u"one two three", 5, first, last);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(last, 7);
    WordAround(u"one two", 3, first, last);  // on the space: no word
    EXPECT_EQ(first, last);
    WordAround(u"one", 99, first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 3);

    TEditModel m = Model(u"ab|c");
    SelectAll(m);
    EXPECT_EQ(Narrow(Marked(m)), "|abc[");
    EXPECT_EQ(Narrow(std::u16string(SelectedText(m))), "abc");
    ClearText(m);
    EXPECT_EQ(Narrow(Marked(m)), "|");
}

TEST(SearchEditTest, UndoWalksBackThroughSnapshotsWithTheirCaret)
{
    TUndoHistory history;
    TEditModel m;
    PushSnapshot(history, m);  // the text at creation
    for (char16_t c : std::u16string(u"abc")) {
        ReplaceSelection(m, std::u16string(1, c));
        PushSnapshot(history, m);
    }
    m.Anchor = 0;
    PushSnapshot(history, m);  // "abc" selected: caret 3, anchor 0
    ReplaceSelection(m, u"Z");
    PushSnapshot(history, m);

    EXPECT_TRUE(Undo(history, m));
    EXPECT_EQ(Narrow(Marked(m)), "[abc|");
    EXPECT_TRUE(Undo(history, m));
    EXPECT_EQ(Narrow(Marked(m)), "abc|");
    EXPECT_TRUE(Undo(history, m));
    EXPECT_EQ(Narrow(Marked(m)), "ab|");
    EXPECT_TRUE(Undo(history, m));
    EXPECT_TRUE(Undo(history, m));
    EXPECT_EQ(Narrow(Marked(m)), "|");
    EXPECT_FALSE(Undo(history, m));  // the first snapshot stays
    EXPECT_EQ(history.Snapshots.size(), 1u);
    EXPECT_EQ(history.Bytes, 0u);
}

TEST(SearchEditTest, UndoAfterManyEditsStopsWhereTheByteLimitDroppedSnapshots)
{
    // Snapshots of 200 characters (400 bytes): 81 fit in 32768 bytes, so after 100 edits
    // undo comes back 80 times and stops at the oldest kept one, not at the first text.
    TUndoHistory history;
    TEditModel m;
    m.Text = std::u16string(200, u'a');
    PushSnapshot(history, m);
    for (int edit = 0; edit < 100; ++edit) {
        m.Text[size_t(edit % 200)] = char16_t(u'0' + edit % 10);
        PushSnapshot(history, m);
        EXPECT_LE(history.Bytes, kUndoHistoryBytes);
    }
    EXPECT_EQ(history.Snapshots.size(), kUndoHistoryBytes / 400);
    int undone = 0;
    while (Undo(history, m))
        ++undone;
    EXPECT_EQ(undone, int(kUndoHistoryBytes / 400) - 1);
    EXPECT_EQ(m.Text.substr(0, 20), u"01234567890123456789");  // edits 0 to 19 are in the oldest
    EXPECT_EQ(m.Text[20], u'a');
}

TEST(SearchEditTest, UndoNeverRestoresACaretBeyondTheRestoredText)
{
    TUndoHistory history;
    history.Snapshots.push_front({u"ab", PackPositions(40, 7)});  // positions from elsewhere
    history.Bytes = 4;
    TEditModel m = Model(u"abcdef|");
    PushSnapshot(history, m);
    EXPECT_TRUE(Undo(history, m));
    EXPECT_EQ(Narrow(Marked(m)), "ab|");
    EXPECT_EQ(m.Anchor, 2);
}
