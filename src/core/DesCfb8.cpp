#include "core/DesCfb8.h"

#include "core/DataStream.h"

#include <nettle/sha1.h>

#include <cstring>

namespace pavlora {

TDesCfb8::TDesCfb8(const QByteArray& key)
{
    if (key.isEmpty())
        throw EDataDocumentError(QStringLiteral("Empty key"));
    sha1_ctx sha;
    sha1_init(&sha);
    sha1_update(&sha, static_cast<std::size_t>(key.size()), reinterpret_cast<const std::uint8_t*>(key.constData()));
    std::uint8_t digest[SHA1_DIGEST_SIZE];
    sha1_digest(&sha, sizeof digest, digest);
    std::memcpy(key_, digest, sizeof key_);
    // Parity bits are ignored; a weak key (1 in 2^52 digests) still works.
    des_set_key(&ctx_, key_);
    const std::uint8_t zeros[DES_BLOCK_SIZE] = {};
    des_encrypt(&ctx_, DES_BLOCK_SIZE, iv_, zeros);
}

// The register for byte j is the 8 ciphertext bytes before it, the first of
// them taken from the initialisation vector. Up to byte 8 the register is
// assembled in a small buffer; from then on it is read straight out of the
// ciphertext (the input when decrypting, the output when encrypting), so
// each byte costs one DES block and no copying.
void TDesCfb8::Encrypt(const std::uint8_t* in, std::size_t size, std::uint8_t* out) const
{
    std::uint8_t window[2 * DES_BLOCK_SIZE];
    std::memcpy(window, iv_, DES_BLOCK_SIZE);
    std::uint8_t block[DES_BLOCK_SIZE];
    const std::size_t head = size < DES_BLOCK_SIZE ? size : DES_BLOCK_SIZE;
    for (std::size_t j = 0; j < head; ++j) {
        des_encrypt(&ctx_, DES_BLOCK_SIZE, block, window + j);
        out[j] = in[j] ^ block[0];
        window[DES_BLOCK_SIZE + j] = out[j];
    }
    for (std::size_t j = DES_BLOCK_SIZE; j < size; ++j) {
        des_encrypt(&ctx_, DES_BLOCK_SIZE, block, out + j - DES_BLOCK_SIZE);
        out[j] = in[j] ^ block[0];
    }
}

void TDesCfb8::Decrypt(const std::uint8_t* in, std::size_t size, std::uint8_t* out) const
{
    std::uint8_t window[2 * DES_BLOCK_SIZE];
    std::memcpy(window, iv_, DES_BLOCK_SIZE);
    std::uint8_t block[DES_BLOCK_SIZE];
    const std::size_t head = size < DES_BLOCK_SIZE ? size : DES_BLOCK_SIZE;
    for (std::size_t j = 0; j < head; ++j) {
        des_encrypt(&ctx_, DES_BLOCK_SIZE, block, window + j);
        window[DES_BLOCK_SIZE + j] = in[j];
        out[j] = in[j] ^ block[0];
    }
    for (std::size_t j = DES_BLOCK_SIZE; j < size; ++j) {
        des_encrypt(&ctx_, DES_BLOCK_SIZE, block, in + j - DES_BLOCK_SIZE);
        out[j] = in[j] ^ block[0];
    }
}

QByteArray TDesCfb8::Encrypt(const QByteArray& plain) const
{
    QByteArray cipher(plain.size(), Qt::Uninitialized);
    Encrypt(reinterpret_cast<const std::uint8_t*>(plain.constData()), static_cast<std::size_t>(plain.size()),
        reinterpret_cast<std::uint8_t*>(cipher.data()));
    return cipher;
}

QByteArray TDesCfb8::Decrypt(const QByteArray& cipher) const
{
    QByteArray plain(cipher.size(), Qt::Uninitialized);
    Decrypt(reinterpret_cast<const std::uint8_t*>(cipher.constData()), static_cast<std::size_t>(cipher.size()),
        reinterpret_cast<std::uint8_t*>(plain.data()));
    return plain;
}

QByteArray TDesCfb8::DesKey() const
{
    return QByteArray(reinterpret_cast<const char*>(key_), sizeof key_);
}

QByteArray TDesCfb8::InitialVector() const
{
    return QByteArray(reinterpret_cast<const char*>(iv_), sizeof iv_);
}

} // namespace pavlora
