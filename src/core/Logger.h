#pragma once

#include <QString>

#include <cstdint>
#include <initializer_list>

namespace pavlora {

// The two text logs of the program: "Reports.log" (reports, exceptions,
// thread starts and stops) and "Protocol.log" (the order protocol's traffic).
//
// Every function here may be called from any thread. Appends to either log
// are serialised by one process-wide lock, so lines of different threads
// never interleave. Logging never throws and never reports its own failures
// to the caller: a line that cannot be written is dropped (and noted once on
// stderr).

// A report. A report with a non-empty category is dropped.
void ReportMessage(const QString& text, const QString& category = {});
void ReportNumber(std::int64_t number);
// The text followed by each number, each preceded by one blank.
void ReportNumbers(const QString& text, std::initializer_list<std::int64_t> numbers);
// "Thread ID: " + id + " is reporting: " + text.
void ReportThread(std::int64_t threadId, const QString& text);
// A protocol log entry; written only when "EnableProtocolLog" is on.
void ReportProtocol(const QString& text);

// Starts the next report as the first one of the run again (tests, and a
// program that re-initialises its diagnostics).
void ResetFirstReport();

// Writes one log line: the folder and name of a log file and its trimming
// threshold. A short-lived object per line.
class TLogger {
public:
    TLogger(QString fileName, std::int64_t maxSize);

    // Appends "[dd.MM.yyyy hh:mm:ss]: " + text + CR LF (the time stamp only
    // when `withTimeStamp`), then trims the file. Returns false when the line
    // could not be written.
    bool Append(const QString& text, bool withTimeStamp = true) const;

    // Cuts a file above `maxSize` bytes to its newest whole lines, at most
    // three quarters of `maxSize`, replacing it atomically. Returns false
    // when the file could not be trimmed; it is then left as it was.
    static bool Trim(const QString& path, std::int64_t maxSize);

    // Folder that the logs are written to: the program folder when
    // "SaveInProgrammDir" is on and it is writable, else the user's private
    // log folder.
    static QString LogFolder();

private:
    QString fileName_;
    std::int64_t maxSize_;
};

} // namespace pavlora
