#pragma once

#include <QByteArray>
#include <QString>

namespace pavlora {

// The key of the encrypted and obfuscated data documents.
//
// One key is in force for the whole process. Until the settings are read it
// is the built-in default key; the application object then replaces it by
// the setting "GlobalXOrKey", whatever its value (an empty value makes every
// encrypted read and write fail). AppIni.dat itself is therefore stored plain
// or with the built-in key.
//
// The key is set on the UI thread during start-up and read from any thread;
// access is guarded, so a late change is safe, though documents read before
// it keep the old key's result.

// The built-in default key: deployment data, documented for operators in
// docs/operators/data-documents.md. Files of an existing deployment can only
// be read with its keys.
extern const char kBuiltInDataKey[];

// The key text in force.
QString GlobalDataKey();
void SetGlobalDataKey(const QString& key);
// Puts the built-in key back in force (tests, and a program that reads its
// settings again).
void ResetGlobalDataKey();

// The bytes of a key text: its characters as Latin-1 bytes (characters
// beyond Latin-1 become "?").
QByteArray DataKeyBytes(const QString& key);
// DataKeyBytes(GlobalDataKey()).
QByteArray GlobalDataKeyBytes();

} // namespace pavlora
