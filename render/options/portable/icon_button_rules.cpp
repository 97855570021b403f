#include "render/options/portable/icon_button_rules.h"

TIconButtonPicture PictureToShow(const TIconButtonState &state)
{
    if (state.pressed)
        return TIconButtonPicture::Pressed;
    if (state.hover || state.focus)
        return TIconButtonPicture::Hot;
    return TIconButtonPicture::Normal;
}

void PressButton(TIconButtonState &state)
{
    state.pressed = true;
    state.captured = true;
}

bool MovePointer(TIconButtonState &state, bool insideOrOnEdge)
{
    if (!state.captured || state.pressed == insideOrOnEdge)
        return false;
    state.pressed = insideOrOnEdge;
    return true;
}

bool ReleaseButton(TIconButtonState &state, bool strictlyInside)
{
    const bool click = state.captured && strictlyInside;
    state.pressed = false;
    state.captured = false;
    return click;
}

bool KeyDown(TIconButtonState &state, TIconButtonKey key)
{
    if (!state.focus)
        return false;
    if (key == TIconButtonKey::Enter)
        return true;
    if (key == TIconButtonKey::Space) {
        state.pressed = true;
        state.spaceDown = true;
    }
    return false;
}

bool KeyUp(TIconButtonState &state)
{
    if (!state.spaceDown)
        return false;
    state.pressed = false;
    state.spaceDown = false;
    return true;
}
