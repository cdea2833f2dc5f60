#pragma once

#include "core/NameValueList.h"

#include <QHash>
#include <QString>

namespace pavlora {

// The installation settings: the AppIni.dat files of the design folders
// merged into one name=value list, fixed for the run, and the address rules
// of the first region of AppRgn.dat.
//
// Values are texts; each reader converts at the point of use with the
// caller's default, so that one reader per kind does all the parsing. Names
// compare without regard to case. Immutable after start-up, so it may be
// read from any thread.
class TAppSettings {
public:
    TAppSettings() = default;
    // The attributes of the first region's "zip" element, by case-folded
    // name. An attribute that is present overrides even when it is empty.
    using TRegionAttributes = QHash<QString, QString>;

    explicit TAppSettings(TNameValueList values, TRegionAttributes regionZip = {});

    const TNameValueList& Values() const { return values_; }
    const TRegionAttributes& RegionZip() const { return regionZip_; }
    bool Contains(const QString& name) const { return values_.Contains(name); }

    // The text, or `fallback` when the name is absent.
    QString Text(const QString& name, const QString& fallback = QString()) const;
    // A decimal (or "$"/"0x" hexadecimal) integer; `fallback` when absent or
    // not a number.
    int Integer(const QString& name, int fallback) const;
    // A number with "." or "," as decimal separator; `fallback` when absent
    // or not a number.
    double Float(const QString& name, double fallback) const;
    // "true"/"false" in any case, or a number where non-zero is true;
    // `fallback` otherwise.
    bool Boolean(const QString& name, bool fallback) const;
    // On unless the value is exactly "0"; a missing name counts as on.
    bool NotZero(const QString& name) const;
    // Whether the value equals `text`, with the given case rule; a missing
    // name never does.
    bool IsText(const QString& name, const QString& text, Qt::CaseSensitivity cs = Qt::CaseSensitive) const;

    // A region-dependent setting ("zipmode", "ziplength", "regexp"): the
    // attribute of that name of the first region's "zip" element when it is
    // there, otherwise the AppIni.dat value; empty when neither has it.
    QString RegionValue(const QString& name) const;

private:
    TNameValueList values_;
    TRegionAttributes regionZip_;
};

} // namespace pavlora
