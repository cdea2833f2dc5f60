#pragma once

#include <QString>

#include <chrono>

namespace pavlora {

// The JPEG 2000 converter: the helper program "pavlora-jp2" in the program
// folder, which decodes and encodes JPEG 2000 with OpenJPEG in its own
// process, so that a hostile JPEG 2000 file can at worst crash the helper.
//
// The helper's command line (an argument vector, never a shell line):
//   pavlora-jp2 -i SOURCE -o TARGET -q QUALITY   JPEG 2000 → JPEG; QUALITY is
//       the JPEG quality 1–100 of the output.
//   pavlora-jp2 -i SOURCE -o TARGET -r RATIO     BMP → JPEG 2000 (JP2 file,
//       irreversible 9/7 wavelet); RATIO is the compression ratio RATIO:1
//       against the uncompressed picture (OpenJPEG's rate of the single
//       quality layer); RATIO 1 or less encodes losslessly (5/3 wavelet).
// The helper writes the output under "TARGET.part-PID" and renames it into
// place, so TARGET is either complete or absent; it exits 0 on success.
//
// A conversion succeeds only when the helper exits with status 0 within the
// time-out and TARGET exists and is not empty. Failures raise EQORException
// (code 2) with the code text "JPG2000 Konvertierer nicht gefunden" when the
// helper is missing or cannot be started, otherwise "JPG2000
// Konvertierungsfehler"; a helper that overruns the time-out is killed. The
// calls block the calling thread (without spinning) until the helper ends.
namespace Jp2Converter {

// File name of the helper in the program folder.
QString ProgramName();
// Full path of the helper: AppFolders::ProgramFolder() + "/" + ProgramName().
QString ProgramPath();

void Jp2ToJpeg(const QString& source, const QString& target, int quality);
void BitmapToJp2(const QString& source, const QString& target, int ratio);

// The longest time a conversion may take (default 120 s). Process-wide;
// tests shorten it.
std::chrono::milliseconds Timeout();
void SetTimeout(std::chrono::milliseconds timeout);

} // namespace Jp2Converter
} // namespace pavlora
