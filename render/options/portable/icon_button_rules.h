// What a picture button does with the pointer and the keys: when it reports a click and
// which of its three pictures it shows.
#pragma once

struct TIconButtonState {
    bool hover;      // the pointer is over the button
    bool focus;
    bool pressed;    // shows the pressed picture
    bool captured;   // the left button went down on the button and is still held
    bool spaceDown;  // Space went down while the button had the focus
};

enum class TIconButtonPicture { Normal, Hot, Pressed };

TIconButtonPicture PictureToShow(const TIconButtonState &state);

void PressButton(TIconButtonState &state);
// While captured the pressed look follows the pointer, edges included; true when it changed.
bool MovePointer(TIconButtonState &state, bool insideOrOnEdge);
// True when the release is a click: captured and strictly inside.
bool ReleaseButton(TIconButtonState &state, bool strictlyInside);

enum class TIconButtonKey { Enter, Space, Other };
// Key down while focused: Enter is a click at once (true); Space shows the pressed picture.
bool KeyDown(TIconButtonState &state, TIconButtonKey key);
// Key up: the release of a Space press is a click.
bool KeyUp(TIconButtonState &state);
