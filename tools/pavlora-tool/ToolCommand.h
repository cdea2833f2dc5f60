#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace pavlora {
struct TLoadedAppSettings;
} // namespace pavlora

namespace pavlora::tool {

// Exit statuses shared by every subcommand.
enum ExitCode : int {
    kExitSuccess = 0, // the operation succeeded
    kExitFailure = 1, // the operation failed; the reason is on stderr
    kExitUsage = 2, // the command line was wrong
};

// A subcommand: its name as typed, a one-line summary for the tool's help,
// and its entry, which gets the arguments after the tool's name (the
// subcommand's name first).
struct TToolCommand {
    QString name;
    QString summary;
    int (*run)(const QStringList& arguments);
};

// Results go to stdout, errors to stderr, both as UTF-8 lines.
void PrintOut(const QString& line);
void PrintError(const QString& line);

// Parses `arguments` with `parser` after adding "--help". Returns -1 when
// the command should go on, otherwise the exit status to return: 0 after
// printing the help (`usage` followed by the options), 2 after a usage
// error on stderr.
int ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments, const QString& usage);

// The text of the failure being handled (call inside a catch block),
// without the program's message frame: its code text, else its message.
// What an operator needs to fix a file.
QString CurrentFailureText();

// Loads the installation settings of the program folder as the program
// does and puts them in force; false after printing the failure.
bool LoadToolAppSettings(TLoadedAppSettings& loaded);

// A usage error: the message and a hint on stderr; returns kExitUsage.
int UsageError(const QString& message, const QString& command);

} // namespace pavlora::tool
