#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace pavlora {

// The diagnostic switches of "Debug.cfg" in the program folder.
//
// The switches are process-wide. They are read on the UI thread at start-up,
// before worker threads exist, and read from any thread afterwards.
struct TDebugSwitches {
    bool debugMode = false; // "DebugMode": developer mode
    bool readAppDirIni = false; // "ReadAppDirIni": read AppIni.dat of the program folder in developer mode
    bool enableReportMsg = true; // "EnableReportMsg": reports go to the debug stream (stderr)
    bool enableReportLog = true; // "EnableReportLog": with EnableReportMsg, reports also go to Reports.log
    bool enableProtocolLog = false; // "EnableProtocolLog": Protocol.log is written
    bool disableEncrypting = false; // "DisableEncrypting": data documents are saved unencrypted
    bool saveInProgrammDir = false; // "SaveInProgrammDir": logs go to the program folder
    std::int64_t maxReportLogSize = 1000000000; // "MaxReportLogSize", bytes
    std::int64_t maxProtocolLogSize = 1000000000; // "MaxProtocolLogSize", bytes

    friend bool operator==(const TDebugSwitches&, const TDebugSwitches&) = default;
};

// Applies the text of a Debug.cfg file to `current`: boolean keys take the
// file's value (missing or unreadable values are false), the two sizes are
// replaced only by a valid non-negative decimal integer.
TDebugSwitches ParseDebugConfig(const QByteArray& text, TDebugSwitches current);

// Reads "Debug.cfg" from `programFolder` into the process-wide switches.
// A missing file gives every boolean switch false; a file that exists but
// cannot be read does too, and the sizes keep their values.
void ReadDebugConfig(const QString& programFolder);
// Reads "Debug.cfg" from AppFolders::ProgramFolder().
void ReadDebugConfig();

TDebugSwitches DebugSwitches();
void SetDebugSwitches(const TDebugSwitches& switches);

bool IsDebugMode();
bool IsReadAppDirIniEnabled();
bool IsEncryptingDisabled();

// "true"/"false" in any case, or a number where non-zero is true; anything
// else is `fallback`. The boolean reading of Debug.cfg and of settings.
bool ParseBooleanText(const QString& text, bool fallback);

} // namespace pavlora
