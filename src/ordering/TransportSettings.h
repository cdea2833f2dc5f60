#pragma once

#include "ordering/INA.h"

#include <QString>
#include <QStringList>

namespace pavlora {

class TAppSettings;
class TRegConfiguration;

// What the order transport takes from the settings:
//
//   proxy         the user's proxy ("UseProxyServer", "ProxyHostname",
//                 "ProxyPort", "ProxyLogin", "ProxyPassword"), which the
//                 user settings have already synchronised with the system's
//   caFile        the installation setting "ca_file": a PEM file trusted
//                 besides the system's CAs; a relative path (or one with a
//                 placeholder) is resolved against the data folder
//   allowedHosts  "zode_allowed_hosts", comma-separated, lower case
//   timeouts      "zode_connect_timeout" and "zode_read_timeout", whole
//                 seconds between 1 and 3600; other values keep the default
struct TTransportSettings {
    TINAProxy proxy;
    QString caFile;
    QStringList allowedHosts;
    TINATimeouts timeouts;
};

// Reads the settings above. `dataFolder` is the "{Data}" folder.
TTransportSettings ReadTransportSettings(
    const TAppSettings& app, const TRegConfiguration& user, const QString& dataFolder);

// Puts the settings in force on `ina`: the proxy (or none), the extra CA
// file and the time-outs; returns them, so that the caller hands the allowed
// hosts to the protocol. A CA file that cannot be used is reported in the
// report log and the system's CAs alone are trusted. The program calls it at
// start-up and whenever the settings dialog changed the proxy; the command
// line tool calls it the same way. Called on the UI thread.
TTransportSettings ConfigureTransport(
    TINA& ina, const TAppSettings& app, const TRegConfiguration& user, const QString& dataFolder);

} // namespace pavlora
