#pragma once

#include <QString>

#include <functional>

namespace pavlora {

class TSizeDef;

// How a photo sits in its area (XML "pos_align", stored as its ordinal).
// The same values serve as the clamp modes of panning and zooming.
enum class TPosAlign : int {
    paNone = 0, // not set (not written)
    paFree = 1, // neither covers nor lies inside the area
    paOutside = 2, // covers the area
    paInside = 3, // lies inside the area
    paOutsideFit = 4, // covers the area and meets both opposite edges in one direction
    paInsideFit = 5, // lies inside the area and meets both opposite edges in one direction
    paOutsideDefault = 6, // covers the area, centred, aspect kept (fill)
    paInsideDefault = 7, // lies inside the area, centred, aspect kept (fit)
    paExact = 8, // exactly the area's rectangle (stretched)
    paAdaptPicture = 9, // the area takes the photo's aspect ratio, then paOutsideDefault
    paDefault = 10, // request only: the photobook's DefaultPosAlign, else paOutsideDefault
};

// The handles of an area: the handle argument of Track and the values of the
// designer's hit map.
enum class TControlMouseState : int {
    cmsNone = 0,
    cmsOutside = 1,
    cmsInside = 2,
    cmsPhoto = 3,
    cmsLBorder = 4,
    cmsRBorder = 5,
    cmsTBorder = 6,
    cmsBBorder = 7,
    cmsTLCorner = 8,
    cmsTRCorner = 9,
    cmsBLCorner = 10,
    cmsBRCorner = 11,
    cmsLMid = 12,
    cmsRMid = 13,
    cmsTMid = 14,
    cmsBMid = 15,
    cmsRotate = 16,
};

// Which kind of layout a print is, for the photobook wizard (XML
// "layout_variant": "none", "default_symmetric", "withtext_symmetric",
// "experimental", "relaxed").
enum class TLayoutVariant : int {
    lvNone = 0,
    lvDefaultSymmetric = 1,
    lvWithTextSymmetric = 2,
    lvExperimental = 3,
    lvRelaxed = 4,
};

// The horizontal alignment of a label's lines (XML "alignment": 1, 2, 3).
enum class TAlignment : int {
    taLeftJustify = 1,
    taRightJustify = 2,
    taCenter = 3,
};

// A format version as a fixed-point number in ten-thousandths.
using TDefVersion = int;
inline constexpr TDefVersion kDefVersion10 = 10000; // the version loading starts with
inline constexpr TDefVersion kDefVersion11 = 11000; // the version the saved element writes

// The flag of a change notification.
inline constexpr int kChangedPosition = 0; // the position changed
inline constexpr int kChangedContent = 1; // the size or the content changed

// A change notification: the definition that changed and the flag.
using TDefChangeEvent = std::function<void(TSizeDef* sender, int flag)>;
// An added or deleted child: the parent and the child's index.
using TDefIndexEvent = std::function<void(TSizeDef* sender, int index)>;

// The flags of SaveTo.
namespace SaveFlags {
inline constexpr int Perform = 1; // copy or extract the picture files; without it only count bytes
inline constexpr int Estimate = 2; // a size estimate (no file operations either)
inline constexpr int Extract = 4; // store the visible parts of picture slots instead of whole files
} // namespace SaveFlags

// The kinds of QualityProblem.
inline constexpr int kProblemLowQuality = 0; // a photo's resolution is too low for its area
inline constexpr int kProblemTextCut = 1; // a label does not show all its text

// Progress of loading and saving a photobook: the position between the
// range's ends given to the operation.
using TDefProgress = std::function<void(double position)>;

} // namespace pavlora
