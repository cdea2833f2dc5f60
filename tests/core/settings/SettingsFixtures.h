#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace pavlora::test {

// An AppIni.dat text: an "ini" element with one child per (name, value);
// an empty value gives an empty element.
QByteArray IniText(const QList<std::pair<const char*, const char*>>& values);

// Writes `text` into the system configuration of the sandbox
// ($XDG_CONFIG_DIRS/pavlora/pavlora.conf).
void WriteSystemConfig(const QByteArray& text);

} // namespace pavlora::test
