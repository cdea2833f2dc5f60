#include "core/DesCfb8.h"

#include "core/DataStream.h"

#include <nettle/sha1.h>

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

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

void TDesCfb8::DecryptRange(const std::uint8_t* in, std::size_t begin, std::size_t end, std::uint8_t* out) const
{
    std::uint8_t block[DES_BLOCK_SIZE];
    std::size_t j = begin;
    if (j < DES_BLOCK_SIZE) {
        std::uint8_t window[2 * DES_BLOCK_SIZE];
        std::memcpy(window, iv_, DES_BLOCK_SIZE);
        std::memcpy(window + DES_BLOCK_SIZE, in, end < DES_BLOCK_SIZE ? end : DES_BLOCK_SIZE);
        for (; j < end && j < DES_BLOCK_SIZE; ++j) {
            des_encrypt(&ctx_, DES_BLOCK_SIZE, block, window + j);
            out[j] = in[j] ^ block[0];
        }
    }
    for (; j < end; ++j) {
        des_encrypt(&ctx_, DES_BLOCK_SIZE, block, in + j - DES_BLOCK_SIZE);
        out[j] = in[j] ^ block[0];
    }
}

// Every register of the decryption is known from the ciphertext alone, so
// large inputs are split among a few threads. Smaller ones, and a machine
// that cannot start a thread, are decrypted on the caller's thread.
void TDesCfb8::Decrypt(const std::uint8_t* in, std::size_t size, std::uint8_t* out) const
{
    constexpr std::size_t kMinPart = 512 * 1024;
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts = std::min<std::size_t>({cores, 4, size / kMinPart});
    if (parts <= 1) {
        DecryptRange(in, 0, size, out);
        return;
    }
    const std::size_t part = size / parts;
    std::vector<std::thread> workers;
    std::size_t begin = part; // the caller's thread takes the first part
    try {
        for (std::size_t p = 1; p < parts; ++p, begin += part) {
            const std::size_t end = p + 1 == parts ? size : begin + part;
            workers.emplace_back([this, in, out, begin, end] { DecryptRange(in, begin, end, out); });
        }
    } catch (const std::system_error&) {
        DecryptRange(in, begin, size, out); // the parts no thread took
    }
    DecryptRange(in, 0, part, out);
    for (std::thread& worker : workers)
        worker.join();
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
