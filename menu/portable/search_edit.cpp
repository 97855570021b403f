#include "menu/portable/search_edit.h"

#include <algorithm>

namespace {

int Length(const TEditModel &model) { return int(model.Text.size()); }

void Collapse(TEditModel &model, int at)
{
    model.Caret = at;
    model.Anchor = at;
}

// Removes the selection; the caret and anchor meet where it was.
void EraseSelection(TEditModel &model)
{
    const int first = std::min(model.Caret, model.Anchor);
    const int last = std::max(model.Caret, model.Anchor);
    model.Text.erase(size_t(first), size_t(last - first));
    Collapse(model, first);
}

} // namespace

bool HasSelection(const TEditModel &model) { return model.Caret != model.Anchor; }

std::u16string_view SelectedText(const TEditModel &model)
{
    const int first = std::min(model.Caret, model.Anchor);
    const int last = std::max(model.Caret, model.Anchor);
    return std::u16string_view(model.Text).substr(size_t(first), size_t(last - first));
}

void ClampPositions(TEditModel &model)
{
    model.Caret = std::clamp(model.Caret, 0, Length(model));
    model.Anchor = std::clamp(model.Anchor, 0, Length(model));
}

int PreviousWordStart(std::u16string_view text, int from)
{
    int at = std::clamp(from, 0, int(text.size()));
    while (at > 0 && text[size_t(at - 1)] == u' ')
        --at;
    while (at > 0 && text[size_t(at - 1)] != u' ')
        --at;
    return at;
}

int NextWordStart(std::u16string_view text, int from)
{
    const int end = int(text.size());
    int at = std::clamp(from, 0, end);
    while (at < end && text[size_t(at)] != u' ')
        ++at;
    while (at < end && text[size_t(at)] == u' ')
        ++at;
    return at;
}

void WordAround(std::u16string_view text, int index, int &first, int &last)
{
    const int end = int(text.size());
    first = last = std::clamp(index, 0, end);
    if (first == end || text[size_t(first)] == u' ')
        return;
    while (first > 0 && text[size_t(first - 1)] != u' ')
        --first;
    while (last < end && text[size_t(last)] != u' ')
        ++last;
}

void MoveCaret(TEditModel &model, TEditMove move, bool extend)
{
    ClampPositions(model);
    int caret = model.Caret;
    switch (move) {
    case TEditMove::Left: caret = std::max(caret - 1, 0); break;
    case TEditMove::Right: caret = std::min(caret + 1, Length(model)); break;
    case TEditMove::WordLeft: caret = PreviousWordStart(model.Text, caret); break;
    case TEditMove::WordRight: caret = NextWordStart(model.Text, caret); break;
    case TEditMove::Home: caret = 0; break;
    case TEditMove::End: caret = Length(model); break;
    }
    model.Caret = caret;
    if (!extend)
        model.Anchor = caret;
}

bool ReplaceSelection(TEditModel &model, std::u16string_view inserted)
{
    ClampPositions(model);
    const size_t kept = model.Text.size() - SelectedText(model).size();
    const size_t room = kSearchTextLimit > kept ? kSearchTextLimit - kept : 0;
    std::u16string_view fitting = inserted.substr(0, std::min(room, inserted.size()));
    // A cut between the halves of a surrogate pair would leave half a character.
    if (!fitting.empty() && fitting.size() < inserted.size() && fitting.back() >= 0xD800 &&
        fitting.back() <= 0xDBFF)
        fitting.remove_suffix(1);
    if (fitting.empty() && !HasSelection(model))
        return false;
    EraseSelection(model);
    model.Text.insert(size_t(model.Caret), fitting);
    Collapse(model, model.Caret + int(fitting.size()));
    return true;
}

bool DeleteBackward(TEditModel &model)
{
    ClampPositions(model);
    if (!HasSelection(model)) {
        if (model.Caret == 0)
            return false;
        model.Anchor = model.Caret - 1;
    }
    EraseSelection(model);
    return true;
}

bool DeleteForward(TEditModel &model)
{
    ClampPositions(model);
    if (!HasSelection(model)) {
        if (model.Caret == Length(model))
            return false;
        model.Anchor = model.Caret + 1;
    }
    EraseSelection(model);
    return true;
}

void SelectAll(TEditModel &model)
{
    model.Caret = 0;
    model.Anchor = Length(model);
}

void ClearText(TEditModel &model)
{
    model.Text.clear();
    Collapse(model, 0);
}

uint32_t PackPositions(int caret, int anchor)
{
    return uint32_t(caret & 0xFFFF) | uint32_t(anchor & 0xFFFF) << 16;
}

void PushSnapshot(TUndoHistory &history, const TEditModel &model)
{
    history.Snapshots.push_front({model.Text, PackPositions(model.Caret, model.Anchor)});
    history.Bytes += model.Text.size() * sizeof(char16_t);
    while (history.Bytes > kUndoHistoryBytes && history.Snapshots.size() > 1) {
        history.Bytes -= history.Snapshots.back().Text.size() * sizeof(char16_t);
        history.Snapshots.pop_back();
    }
}

bool Undo(TUndoHistory &history, TEditModel &model)
{
    if (history.Snapshots.size() < 2)
        return false;
    history.Bytes -= history.Snapshots.front().Text.size() * sizeof(char16_t);
    history.Snapshots.pop_front();
    const TUndoSnapshot &previous = history.Snapshots.front();
    model.Text = previous.Text;
    model.Caret = int(previous.Positions & 0xFFFF);
    model.Anchor = int(previous.Positions >> 16);
    ClampPositions(model);
    return true;
}
