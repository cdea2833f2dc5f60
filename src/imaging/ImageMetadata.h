#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace pavlora {

// The pictures' metadata through Exiv2: the EXIF date taken, camera maker
// and model, and the IPTC keywords (record 2, dataset 25).
//
// Exiv2 is initialised once per process (InitializeImageMetadata, also run
// by every function here); the program calls it on the UI thread before any
// worker thread starts. Afterwards every function may be called from any
// thread: each works on its own Exiv2 objects. Exiv2's exceptions never
// leave this adapter.
//
// IPTC text: keywords are written as UTF-8, and the data set is marked with
// the character set dataset 1:90 = ESC % G. When a file without that marker
// gets it, its other text datasets are transcoded from windows-1252 to UTF-8
// with it, so that every text keeps its meaning. Reading takes UTF-8 when
// the marker is there, otherwise windows-1252.

void InitializeImageMetadata();

// A date of a picture's metadata.
struct TExifDate {
    enum class State {
        Absent, // no such tag (the original's -1)
        Invalid, // present, but not a valid "YYYY:MM:DD HH:MM:SS" (the original's 0)
        Valid,
    };
    State state = State::Absent;
    QDateTime value; // local time; valid only with State::Valid
};

// Parses "YYYY:MM:DD HH:MM:SS" by its fixed columns (year 1–4, month 6–7,
// day 9–10, hour 12–13, minute 15–16, second 18–19, counted from 1); the
// separators are not checked. An invalid QDateTime when a field is not a
// number or the date or time does not exist.
QDateTime ParseExifDateTime(const QString& text);

// With `preferTakenDate` the date the picture was taken (EXIF tag 36867)
// and, when that is absent, the date of its last change (tag 306); without
// it only tag 306. A tag counts only when it has a non-empty value.
// Absent also when the file cannot be read.
TExifDate ReadExifDateTime(const QString& fileName, bool preferTakenDate);

// What the picture information shows.
struct TPictureMetadata {
    bool hasExif = false;
    QString maker; // EXIF Image.Make
    QString model; // EXIF Image.Model
    QString dateTime; // EXIF DateTimeOriginal, else Image.DateTime, as stored
    QStringList keywords; // in stored order
};

// Nothing when the file's metadata cannot be read at all.
std::optional<TPictureMetadata> ReadPictureMetadata(const QString& fileName);

// The non-empty IPTC keywords in stored order; nothing when the file has no
// IPTC data or cannot be read.
std::optional<QStringList> ReadKeywords(const QString& fileName);

// The longest keyword IPTC allows, in bytes of its UTF-8 form.
inline constexpr int kMaxKeywordBytes = 64;

// Replaces the IPTC keywords of `fileName` by the non-empty strings of
// `keywords`, in list order. Every other metadata block and the picture
// data stay as they are (the pixels are not re-encoded). The new file is
// written as a temporary sibling, flushed to disk and renamed over the
// original, so a failure at any point leaves the original intact.
// Raises EQORException (code 2) when a keyword exceeds 64 bytes (before
// anything is written) or the file cannot be read or written.
void WriteKeywords(const QString& fileName, const QStringList& keywords);

} // namespace pavlora
