#pragma once

#include <QString>

#include <optional>

namespace pavlora {

// The encryption of the user settings' secret values ("ProxyPassword",
// "Password", "DorArithmoi" and the password fields of the settings
// dialog): the text's UTF-8 bytes XORed with the repeating built-in key,
// stored as upper-case hexadecimal. Safe from any thread.

// The built-in 46-byte key: deployment data, distinct from the data-file key
// and documented for operators in docs/operators/data-documents.md.
// Changing it makes the stored secrets of existing users unreadable.
extern const char kBuiltInSettingsKey[];

// The stored (hexadecimal) form of a text.
QString EncryptSettingsText(const QString& plain);
// The text of a stored form; nothing when it is not hexadecimal. An empty
// stored form is an empty text.
std::optional<QString> DecryptSettingsText(const QString& stored);

} // namespace pavlora
