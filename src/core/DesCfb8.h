#pragma once

#include <QByteArray>

#include <nettle/des.h>

#include <cstddef>
#include <cstdint>

namespace pavlora {

// DES in CFB mode with 8-bit feedback, as the encrypted data documents use
// it: the DES key is the first 8 bytes of the SHA-1 digest of the key text,
// the initialisation vector the DES (ECB) encryption of eight zero bytes
// under that key. For each byte the shift register is encrypted, the byte
// XORed with the first byte of the result, and the ciphertext byte shifted
// into the register from the right, in both directions.
//
// An object is immutable after construction and may be used from several
// threads at once.
class TDesCfb8 {
public:
    // `key`: the key text's bytes. Raises EDataDocumentError when empty.
    explicit TDesCfb8(const QByteArray& key);

    // `out` receives `size` bytes; it must not overlap `in` unless it is `in`
    // itself (encryption may run in place, decryption may not). Decryption
    // of large inputs runs on a few short-lived threads and returns when
    // all are done.
    void Encrypt(const std::uint8_t* in, std::size_t size, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::size_t size, std::uint8_t* out) const;

    QByteArray Encrypt(const QByteArray& plain) const;
    QByteArray Decrypt(const QByteArray& cipher) const;

    // The derived DES key and initialisation vector (8 bytes each).
    QByteArray DesKey() const;
    QByteArray InitialVector() const;

private:
    void DecryptRange(const std::uint8_t* in, std::size_t begin, std::size_t end, std::uint8_t* out) const;

    des_ctx ctx_;
    std::uint8_t key_[8];
    std::uint8_t iv_[8];
};

} // namespace pavlora
