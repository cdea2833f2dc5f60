#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>

namespace pavlora {

// The stored variants of a data document and their decoding.
//
// A stored document is classified by its first eight bytes:
//
//   plain       anything else (also content shorter than 4 bytes)
//   XorShort    "KTBr", then the XML text XORed with the key
//   XorLong     "KTBr" 8C A2 F7 89, then the XML text XORed with the key (read only)
//   ZipShort    "KTBz" in place of the zip archive's "PK" 03 04 (read only)
//   ZipLong     "KTBr" 3E A9 68 F4 in place of the archive's "PK" 03 04 14 00 00 00 (read only)
//   Des         "KTBr" 3E A9 68 F5, then the XML text encrypted with DES-CFB-8
//
// An ordinary zip archive ("PK" 03 04 14 00 00 00) is plain, and therefore
// fails to parse. All functions here are safe from any thread.

// A stored document that cannot be decoded or parsed, and the other
// failures of the data-document layer. Its text is the failure's own text
// ("Invalid file format"); the readers re-raise it as an EQORException.
class EDataDocumentError : public std::runtime_error {
public:
    explicit EDataDocumentError(const QString& text);
};

enum class DataVariant { Plain, XorShort, XorLong, ZipShort, ZipLong, Des };

// How a document is encrypted when it is saved.
enum class EncryptVariant { Xor, Des };

// The text of the zip variants' failures.
inline constexpr char kInvalidFileFormat[] = "Invalid file format";
// Largest decoded size of a zip variant (bytes); more is "Invalid file format".
inline constexpr qint64 kMaxUnpackedDocumentSize = 64 * 1024 * 1024;

// The variant of stored bytes, and how many marker bytes precede the body
// (0 for plain).
DataVariant ClassifyDataStream(const QByteArray& stored);
int MarkerLength(DataVariant variant);

// The plain bytes of a stored document, decoded with `key` (Latin-1 bytes
// of the key text). Plain content is returned as it is. Raises
// EDataDocumentError: an encrypted variant with an empty key; a zip variant
// that is not a readable archive of exactly one entry of at most
// kMaxUnpackedDocumentSize bytes.
QByteArray DecodeDataStream(const QByteArray& stored, const QByteArray& key);
// The same with the process-wide key (GlobalDataKeyBytes()).
QByteArray DecodeDataStream(const QByteArray& stored);

// The stored form of plain bytes: the 4-byte marker "KTBr" and the XORed
// text, or the 8-byte DES marker and the encrypted text. Raises
// EDataDocumentError for an empty key.
QByteArray EncodeDataStream(const QByteArray& plain, EncryptVariant variant, const QByteArray& key);

// The repeating-key XOR transform, in place; it is its own inverse. In the
// extended mode (registry values) each byte is also XORed with the low bytes
// of its index, of the key length and of the data length. Raises
// EDataDocumentError for an empty key.
void XorTransform(QByteArray& data, const QByteArray& key, bool extended = false);

} // namespace pavlora
