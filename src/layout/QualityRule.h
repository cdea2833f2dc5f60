#pragma once

#include <QString>

namespace pavlora {

// The picture quality rule: how well a picture's pixels serve a print
// size, and the aspect-ratio classes of pictures.

// The settings of the rule (installation settings, read once at start).
struct TQualitySettings {
    QString qualityFactor; // "quality_factor": "zint", "nvx" or a number (empty: 1)
    int ratioFormatMode = 0; // "image_ratio_format_mode"
    double ratio34 = 0.75; // "image_ratio_34"
    double tolerance34 = 0.004; // "image_ratio_34_tolerance"
    double ratio23 = 0.666; // "image_ratio_23"
    double tolerance23 = 0.006; // "image_ratio_34_tolerance" read with the 2:3 default
};

TQualitySettings QualitySettings();
void SetQualitySettings(const TQualitySettings& settings);

// The aspect class of a picture.
enum class TAspectClass : int {
    acRatio34 = 0, // 3:4 within tolerance
    acRatio23 = 1, // 2:3 within tolerance
    acNear34 = 2, // neither, nearer 3:4 (format mode 1)
    acNear23 = 3, // neither, nearer 2:3 (format mode 1)
    acOther = 4, // neither (format modes other than 1 and 2)
};

// 0 … 100: how much of the resolution `dotsPerMm` the picture of
// pictureSide1 × pictureSide2 pixels gives a print of requiredSide1 ×
// requiredSide2 millimetres (long side against long side).
int ResolutionPercent(double requiredSide1, double requiredSide2, int pictureSide1, int pictureSide2, double dotsPerMm);

// The quality level 0 (best) … levels − 1 of the picture for a print of
// formatWidth × formatHeight millimetres at dotsPerMm, after
// "quality_factor". Callers pass levels = 5.
int QualityLevel(
    double formatWidth, double formatHeight, double dotsPerMm, int pictureSide1, int pictureSide2, int levels = 5);
int QualityLevel(const TQualitySettings& settings, double formatWidth, double formatHeight, double dotsPerMm,
    int pictureSide1, int pictureSide2, int levels = 5);

TAspectClass ClassifyAspectRatio(int width, int height);
TAspectClass ClassifyAspectRatio(const TQualitySettings& settings, int width, int height);

} // namespace pavlora
