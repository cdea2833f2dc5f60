#pragma once

#include <string>
#include <vector>

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace pavlora::orderserver {

// The server's TLS certificate and key: a new self-signed one, or one read
// from PEM files. Owns both.
class TServerCertificate {
public:
    // A self-signed certificate for the given IP addresses and host names,
    // valid from a day ago for a year.
    static TServerCertificate SelfSigned(
        const std::vector<std::string>& addresses, const std::vector<std::string>& hostNames);
    static TServerCertificate Load(const std::string& certificateFile, const std::string& keyFile);

    TServerCertificate(TServerCertificate&& other) noexcept;
    TServerCertificate& operator=(TServerCertificate&&) = delete;
    TServerCertificate(const TServerCertificate&) = delete;
    TServerCertificate& operator=(const TServerCertificate&) = delete;
    ~TServerCertificate();

    X509* Certificate() const { return certificate_; }
    EVP_PKEY* Key() const { return key_; }

    // Writes the certificate as PEM through a temporary sibling.
    void WriteCertificate(const std::string& path) const;

private:
    TServerCertificate(X509* certificate, EVP_PKEY* key);

    X509* certificate_;
    EVP_PKEY* key_;
};

} // namespace pavlora::orderserver
