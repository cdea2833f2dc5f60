#include "layout/QualityRule.h"

#include "core/XMLUtils2.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>

namespace pavlora {
namespace {

QMutex settingsMutex;
TQualitySettings qualitySettings;

// Whether the double `g` lies above the decimal fraction hundredths / 100,
// compared exactly: g · 100 is split into its rounded product and the
// rounding error, so no double near the decimal is misjudged.
bool AboveHundredths(double g, int hundredths)
{
    const double product = g * 100.0;
    const double error = std::fma(g, 100.0, -product);
    return product > hundredths || (product == hundredths && error > 0);
}

bool AtLeastHundredths(double g, int hundredths)
{
    const double product = g * 100.0;
    const double error = std::fma(g, 100.0, -product);
    return product > hundredths || (product == hundredths && error >= 0);
}

// The integer part of levels · g, taken from the exact product.
int TruncatedProduct(int levels, double g)
{
    const double product = levels * g;
    const double error = std::fma(static_cast<double>(levels), g, -product);
    double whole = std::floor(product);
    if (whole == product && error < 0)
        whole -= 1;
    return static_cast<int>(whole);
}

enum class TFactorMode { Numeric, A, B };

} // namespace

TQualitySettings QualitySettings()
{
    QMutexLocker lock(&settingsMutex);
    return qualitySettings;
}

void SetQualitySettings(const TQualitySettings& settings)
{
    QMutexLocker lock(&settingsMutex);
    qualitySettings = settings;
}

int ResolutionPercent(double requiredSide1, double requiredSide2, int pictureSide1, int pictureSide2, double dotsPerMm)
{
    const double a = std::rint(requiredSide1 * dotsPerMm);
    const double b = std::rint(requiredSide2 * dotsPerMm);
    if (!std::isfinite(a) || !std::isfinite(b) || a == 0 || b == 0)
        return 0;
    const double requiredLong = std::max(a, b);
    const double requiredShort = std::min(a, b);
    const double pictureLong = std::max(pictureSide1, pictureSide2);
    const double pictureShort = std::min(pictureSide1, pictureSide2);
    const float ratio = static_cast<float>(std::min(pictureLong / requiredLong, pictureShort / requiredShort));
    const double percent = std::trunc(static_cast<double>(ratio) * 100.0);
    if (!(percent > 0))
        return 0;
    return static_cast<int>(std::min(percent, 100.0));
}

int QualityLevel(
    double formatWidth, double formatHeight, double dotsPerMm, int pictureSide1, int pictureSide2, int levels)
{
    return QualityLevel(QualitySettings(), formatWidth, formatHeight, dotsPerMm, pictureSide1, pictureSide2, levels);
}

int QualityLevel(const TQualitySettings& settings, double formatWidth, double formatHeight, double dotsPerMm,
    int pictureSide1, int pictureSide2, int levels)
{
    TFactorMode mode = TFactorMode::Numeric;
    double factor = 1;
    const QString text = settings.qualityFactor.trimmed();
    if (text.compare(QLatin1String("zint"), Qt::CaseInsensitive) == 0)
        mode = TFactorMode::A;
    else if (text.compare(QLatin1String("nvx"), Qt::CaseInsensitive) == 0)
        mode = TFactorMode::B;
    else if (!text.isEmpty())
        factor = StrToFloatDefAllSep(text, 1.0);

    const int percent = ResolutionPercent(formatWidth, formatHeight, pictureSide1, pictureSide2, dotsPerMm * factor);
    const double g = percent / 100.0;
    int level = 0;
    switch (mode) {
    case TFactorMode::A:
        level = g >= 1 ? 0 : g > 0.5 ? 1 : g > 0.25 ? 2 : g > 0.125 ? 3 : 4;
        break;
    case TFactorMode::B:
        level = AtLeastHundredths(g, 110) ? 0
            : AboveHundredths(g, 70)      ? 1
            : AboveHundredths(g, 45)      ? 2
            : AboveHundredths(g, 20)      ? 3
                                          : 4;
        break;
    case TFactorMode::Numeric:
        level = levels - TruncatedProduct(levels, g);
        break;
    }
    return std::clamp(level, 0, std::max(levels - 1, 0));
}

TAspectClass ClassifyAspectRatio(int width, int height)
{
    return ClassifyAspectRatio(QualitySettings(), width, height);
}

TAspectClass ClassifyAspectRatio(const TQualitySettings& settings, int width, int height)
{
    float d = 0;
    if (width != 0 && height != 0) {
        const double longSide = std::max(std::abs(width), std::abs(height));
        const double shortSide = std::min(std::abs(width), std::abs(height));
        d = static_cast<float>(std::floor(shortSide / longSide * 1000 + 0.5) / 1000);
    }
    const double off34 = std::abs(settings.ratio34 - d);
    const double off23 = std::abs(settings.ratio23 - d);
    if (off34 <= settings.tolerance34 && off34 < off23)
        return TAspectClass::acRatio34;
    if (off23 <= settings.tolerance23)
        return TAspectClass::acRatio23;
    const bool nearer23 = d <= (settings.ratio34 + settings.ratio23) / 2;
    switch (settings.ratioFormatMode) {
    case 1:
        return nearer23 ? TAspectClass::acNear23 : TAspectClass::acNear34;
    case 2:
        return nearer23 ? TAspectClass::acRatio23 : TAspectClass::acRatio34;
    default:
        return TAspectClass::acOther;
    }
}

} // namespace pavlora
