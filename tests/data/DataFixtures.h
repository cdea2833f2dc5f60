#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace pavlora::test {

// Stored documents built independently of the code under test: the XOR by
// its definition, zip archives with libzip, DES from a vector computed once
// with another implementation.

// Each byte XORed with the key byte at the same position modulo the key length.
QByteArray XorByDefinition(const QByteArray& data, const QByteArray& key);

// A zip archive (deflated entries) made by libzip; fails the test on error.
QByteArray BuildZip(const QList<QPair<QByteArray, QByteArray>>& entries);
// The archive with its first `count` bytes replaced by `marker`.
QByteArray WithMarker(QByteArray archive, const QByteArray& marker);

// A DES-CFB-8 vector: the key text, the plain bytes and their ciphertext.
QByteArray DesKeyText();
QByteArray DesPlain();
QByteArray DesCipher();

// The markers as bytes.
QByteArray XorLongMarker();
QByteArray ZipLongMarker();
QByteArray DesMarker();

} // namespace pavlora::test
