// Named values of the enumerated settings.  The numbers are what the settings files store
// and the index of each choice in the options' drop-down lists.
#pragma once

// MenuStyle.  Any other value draws neither frame nor outline; the options preview paints
// its sample levels so.
enum TMenuStyle : int {
    kMenuStyleFramed = 0,    // the system's sizing frame in the colorization colour
    kMenuStyleOutlined = 1,  // no frame, a one-pixel black outline
    kMenuStylePlain = 2,
};

// DrawColorMode (the items' background) and RibbonColorMode (the colour band, which has no
// picture mode).  Any other value leaves the background transparent.
enum TColorMode : int {
    kColorModePlain = 0,
    kColorModeVerticalGradient = 1,
    kColorModeHorizontalGradient = 2,
    kColorModePicture = 3,
};

// RibbonStyle.  The band shows on the top level only; every non-zero value but the colour
// band is the picture band.
enum TRibbonStyle : int {
    kRibbonNone = 0,
    kRibbonColorBand = 1,
    kRibbonPictureBand = 2,
};

// DrawCursorStyle: the colour of the sub-level arrow and the drop markers.
enum TCursorStyle : int {
    kCursorDark = 0,
    kCursorLight = 1,
};

// The glow choice of the options, kept in two flags each for the item text (DrawGlow,
// DrawGlowDouble) and the band text (RibbonGlow, RibbonGlowDouble): the doubling counts only
// while the glow is on.
enum TGlowStyle : int {
    kGlowNone = 0,
    kGlowSingle = 1,
    kGlowDouble = 2,
};

struct TGlowFlags {
    bool glow;
    bool doubled;
};

constexpr TGlowStyle GlowStyleOf(bool glow, bool doubled)
{
    return !glow ? kGlowNone : doubled ? kGlowDouble : kGlowSingle;
}

constexpr TGlowFlags GlowFlagsOf(int style)
{
    return {style == kGlowSingle || style == kGlowDouble, style == kGlowDouble};
}
