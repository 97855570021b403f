#include <gtest/gtest.h>

#include <string>

#include "render/options/portable/icon_button_rules.h"

namespace {

// One letter an event: p press, o move outside, e move onto the edge, i move inside,
// R release strictly inside, r release outside or on the edge, s Space down, S Space up,
// n Enter down, f focus, b blur.
struct TRun {
    int clicks = 0;
    TIconButtonPicture picture = TIconButtonPicture::Normal;
};

TRun Play(const std::string &events)
{
    TIconButtonState state{};
    state.hover = true;
    TRun run;
    for (char event : events) {
        switch (event) {
        case 'p': PressButton(state); break;
        case 'o': MovePointer(state, false); break;
        case 'e':
        case 'i': MovePointer(state, true); break;
        case 'R': run.clicks += ReleaseButton(state, true); break;
        case 'r': run.clicks += ReleaseButton(state, false); break;
        case 's': run.clicks += KeyDown(state, TIconButtonKey::Space); break;
        case 'S': run.clicks += KeyUp(state); break;
        case 'n': run.clicks += KeyDown(state, TIconButtonKey::Enter); break;
        case 'f': state.focus = true; break;
        case 'b': state.focus = false; break;
        }
    }
    run.picture = PictureToShow(state);
    return run;
}

} // namespace

TEST(IconButtonRules, ClicksAndPicturesFollowThePointerAndTheKeys)
{
    using P = TIconButtonPicture;
    struct Case {
        const char *events;
        int clicks;
        P picture;
    } cases[] = {
        {"pR", 1, P::Hot},           // press and release inside
        {"p", 0, P::Pressed},        // held down
        {"por", 0, P::Hot},          // left and released outside: no click
        {"po", 0, P::Hot},           // outside while held: not pressed
        {"poi", 0, P::Pressed},      // back inside: pressed again
        {"poiR", 1, P::Hot},         // and released inside: one click
        {"pe", 0, P::Pressed},       // the edge counts as inside while moving
        {"per", 0, P::Hot},          // but a release on the edge is no click
        {"oiR", 0, P::Hot},          // moves without a press neither press nor click
        {"pRR", 1, P::Hot},          // a second release without a press is none
        {"fs", 0, P::Pressed},       // Space held on the focused button
        {"fsS", 1, P::Hot},          // and released: one click
        {"fn", 1, P::Hot},           // Enter: a click at once, never the pressed look
        {"s", 0, P::Hot},            // keys do nothing without the focus
        {"n", 0, P::Hot},
        {"S", 0, P::Hot},            // a Space release without its press is none
        {"fsbS", 1, P::Hot},         // the press started while focused still ends in a click
    };
    for (const Case &c : cases) {
        const TRun run = Play(c.events);
        EXPECT_EQ(run.clicks, c.clicks) << c.events;
        EXPECT_EQ(run.picture, c.picture) << c.events;
    }
}

TEST(IconButtonRules, NormalPictureOnlyWithoutHoverFocusOrPress)
{
    struct Case {
        TIconButtonState state;
        TIconButtonPicture picture;
    } cases[] = {
        {{false, false, false, false, false}, TIconButtonPicture::Normal},
        {{true, false, false, false, false}, TIconButtonPicture::Hot},
        {{false, true, false, false, false}, TIconButtonPicture::Hot},
        {{false, false, true, false, false}, TIconButtonPicture::Pressed},
        {{true, true, true, true, false}, TIconButtonPicture::Pressed},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PictureToShow(c.state), c.picture);
}
