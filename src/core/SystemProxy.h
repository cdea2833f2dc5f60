#pragma once

#include <QString>

#include <optional>

namespace pavlora {

// The proxy of the user settings and the system's proxy it may follow.
// Pure functions and the environment; safe from any thread.

struct TProxySettings {
    bool enabled = false;
    QString host;
    int port = 0;

    friend bool operator==(const TProxySettings&, const TProxySettings&) = default;
};

// A proxy address of the environment's form: a URL ("http://user:pw@host:3128/")
// or "host:port". Host and port come from the address; without a port, the
// scheme's (80 for http, 443 for https), else 0. Disabled for an empty or
// unparseable text.
TProxySettings ParseProxyAddress(const QString& text);

// The system proxy: `https_proxy`, else `http_proxy`, each in lower case
// before upper case; enabled when set and not empty.
TProxySettings SystemProxyFromEnvironment();

// Whether two proxies are the same: both off, or both on with the same host
// (without regard to case) and port.
bool SameProxy(const TProxySettings& a, const TProxySettings& b);

// When the user settings follow the system proxy.
enum class TProxySyncMode {
    Startup, // reading the settings: the stored choice counts
    AfterSettingsDialog, // the user just saved: only the comparison counts
};

// The decision: at start-up, on when "UseProxyServer" was never stored
// (first run); else the stored "SyncIEProxy" when there is one; else
// whether the user's proxy equals the system's. After the settings dialog
// only the comparison decides, so a user who set a proxy of their own stops
// following the system's.
bool DecideProxySync(TProxySyncMode mode, bool useProxyStored, std::optional<bool> storedSync,
    const TProxySettings& user, const TProxySettings& system);

} // namespace pavlora
