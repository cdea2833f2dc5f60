#pragma once

#include "imaging/VclColor.h"

namespace pavlora {

// How MakeThumbnail lays a picture into its box.
struct TThumbnailOptions {
    int Width = 0; // width of the box
    int Height = 0; // height of the box
    TColor FrameColor = clNone; // 1-pixel outline around the result
    TColor BackgroundColor = clNone; // colour of the box behind the picture; none shrinks the box to the picture
    int RatioX = 0; // crop ratio, horizontal part (0 = no crop)
    int RatioY = 0; // crop ratio, vertical part (0 = no crop)
    bool FixedOrientation = false; // apply the crop ratio unchanged instead of turning it to the picture
    TColor MatColor = clNone; // colour of the mat (passe-partout); none is white
    int MatWidth = 0; // width of the mat in pixels (0 = no mat)
    bool ExactSize = false; // the result is exactly Width × Height
    bool FitInExact = false; // with ExactSize: fit inside (true) or fill and cut off the overhang (false)
};

} // namespace pavlora
