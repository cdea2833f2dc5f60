#pragma once

#include <QString>

namespace pavlora {

// The folders the program works in.
//
// The program folder is the folder of the running executable; programs that
// act on an installation elsewhere (the command-line tool, tests) set it
// explicitly before anything reads it. The per-user folders follow the XDG
// base directory rules and are private: created with mode 0700 whatever the
// umask, because they hold logs, order folders and pictures of the customer.
namespace AppFolders {

// Folder of the running executable, or the one set by SetProgramFolder.
// No trailing "/".
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// $XDG_STATE_HOME/pavlora (default ~/.local/state/pavlora): logs, order folders.
QString UserStateFolder();
// $XDG_CACHE_HOME/pavlora (default ~/.cache/pavlora): private temporaries.
QString UserCacheFolder();
// $XDG_CONFIG_HOME/pavlora (default ~/.config/pavlora): user settings.
QString UserConfigFolder();
// $XDG_DATA_HOME (default ~/.local/share), without the program's name:
// the auto-save folder lives below it under the application title.
QString UserDataHome();

// Folder of Reports.log and Protocol.log when they are not kept in the
// program folder: UserStateFolder()/logs.
QString UserLogFolder();

// Creates `folder` and its missing parents; the folder itself gets mode
// 0700. Returns false when it neither exists nor can be created.
bool EnsurePrivateFolder(const QString& folder);

} // namespace AppFolders
} // namespace pavlora
