#pragma once

// The views ask for the Windows font family "MS ゴシック"; here it is mapped to an installed
// Japanese font so that no text shows boxes.
class ViewFonts
{
public:
    // Call before the first view is loaded.
    static void installSubstitutes();
};
