#pragma once

#include <QString>

namespace pavlora {

// The machine-wide configuration of an installation, written by the
// administrator: an INI file "pavlora/pavlora.conf" in the first folder of
// $XDG_CONFIG_DIRS (default /etc/xdg). It names the data folder of an
// installation whose data does not live beside the program:
//
//   [SOFTWARE\Vovo\Pavlora]
//   DataFolder=/usr/share/pavlora/Data
//
// where the group is the value of the setting "datafolderregkey". Users only
// read it. See docs/operators/settings.md.

// The first folder of $XDG_CONFIG_DIRS, or /etc/xdg.
QString SystemConfigFolder();
// `configFolder` + "/pavlora/pavlora.conf".
QString SystemConfigFile(const QString& configFolder);

// The value "DataFolder" in the group named `key` of the INI file
// `configFile`: "\" and "/" both separate subgroups, names compare without
// regard to case. Empty when the file, the group or the value is missing,
// and for a value that is not an absolute path. A file that cannot be
// parsed is reported and counts as missing.
QString ReadSystemDataFolder(const QString& configFile, const QString& key);

} // namespace pavlora
