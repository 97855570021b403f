// The search box's editing model: the text, the caret and the anchor (the selection lies
// between them), word moves, replacing the selection, and the undo history of whole-text
// snapshots under a byte limit.  The window only turns keys and the mouse into these calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

// The box edits at most this many characters (its text is read with a limit of 256 units).
inline constexpr size_t kSearchTextLimit = 255;
// The text bytes all undo snapshots together may hold.
inline constexpr size_t kUndoHistoryBytes = 32768;

struct TEditModel {
    std::u16string Text;
    int Caret = 0;
    int Anchor = 0;
};

enum class TEditMove { Left, Right, WordLeft, WordRight, Home, End };

bool HasSelection(const TEditModel &model);
std::u16string_view SelectedText(const TEditModel &model);
// Caret and anchor brought inside the text.
void ClampPositions(TEditModel &model);

// Moves the caret; the anchor follows unless `extend` (Shift) keeps it.
void MoveCaret(TEditModel &model, TEditMove move, bool extend);
// The previous / next word start from `from` (a word ends at a space).
int PreviousWordStart(std::u16string_view text, int from);
int NextWordStart(std::u16string_view text, int from);
// The range [first, last) of the word under `index` (no spaces); empty on a space.
void WordAround(std::u16string_view text, int index, int &first, int &last);

// Replaces the selection with `inserted`, cut so the text stays within kSearchTextLimit;
// the caret and anchor go past what was inserted.  False when nothing changed.
bool ReplaceSelection(TEditModel &model, std::u16string_view inserted);
// Backspace and Delete: the selection, or the character before / after the caret.
bool DeleteBackward(TEditModel &model);
bool DeleteForward(TEditModel &model);
void SelectAll(TEditModel &model);  // caret at 0, anchor at the end
void ClearText(TEditModel &model);

// Snapshots newest first; the first one is the state the box started with.
struct TUndoSnapshot {
    std::u16string Text;
    uint32_t Positions;  // caret + anchor * 65536
};

struct TUndoHistory {
    std::deque<TUndoSnapshot> Snapshots;
    size_t Bytes = 0;  // text bytes of all snapshots
};

uint32_t PackPositions(int caret, int anchor);
// Pushes the model's state and drops the oldest snapshots until the text bytes fit the limit.
void PushSnapshot(TUndoHistory &history, const TEditModel &model);
// Drops the newest snapshot and restores the one before it (caret and anchor within its
// text); false, and nothing changed, when only one is left.
bool Undo(TUndoHistory &history, TEditModel &model);
