#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace pavlora {

// The launch check of the program: a start that does not come through the
// launcher hands over to it, so that a staged program update is installed
// before the program runs.
//
// The launcher is started with an argument vector: the launch token, then
// the program's own arguments. The quoted one-line form is only written to
// the log.

// The first argument the launcher gives the program.
inline constexpr char kLaunchToken[] = "k2m5";
// The launcher beside the program.
inline constexpr char kLauncherName[] = "Loader";
// A leftover update package in the program folder, deleted at start.
inline constexpr char kLeftoverUpdatePackage[] = "vovozevezar.pak";

// The launch token followed by `programArguments`.
QStringList LauncherArguments(const QStringList& programArguments);

// The launcher's arguments as one line for the log: joined by blanks, an
// argument with a blank enclosed in double quotes.
QString LauncherArgumentText(const QStringList& launcherArguments);

// Starts `program` with `arguments` and does not wait; false when it could
// not be started.
using TProgramStarter = std::function<bool(const QString& program, const QStringList& arguments)>;

// The starter the program uses (QProcess::startDetached).
bool StartDetachedProgram(const QString& program, const QStringList& arguments);

struct TLaunchCheckResult {
    // The program goes on; otherwise it ends at once.
    bool proceed = false;
    // The program's own arguments (without the launch token).
    QStringList arguments;
};

// Runs the launch check for `arguments` (without the program's name):
// unless `debugMode`, the first one must be the launch token; when it is
// not, the launcher of `programFolder` is started with LauncherArguments
// and the check answers that the program must end. When the program goes
// on, a leftover update package is deleted. A launch token in front of the
// arguments is taken off in debug mode too.
TLaunchCheckResult RunLaunchCheck(const QString& programFolder, const QStringList& arguments, bool debugMode,
    const TProgramStarter& starter = StartDetachedProgram);

} // namespace pavlora
