#include "ServerCertificate.h"

#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace pavlora::orderserver {
namespace {

[[noreturn]] void Fail(const std::string& what)
{
    char text[256] = {};
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    throw std::runtime_error(what + ": " + text);
}

void AddExtension(X509* certificate, int nid, const std::string& value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    if (!extension || !X509_add_ext(certificate, extension, -1))
        Fail("cannot add a certificate extension");
    X509_EXTENSION_free(extension);
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

TServerCertificate::TServerCertificate(X509* certificate, EVP_PKEY* key)
    : certificate_(certificate)
    , key_(key)
{
}

TServerCertificate::TServerCertificate(TServerCertificate&& other) noexcept
    : certificate_(other.certificate_)
    , key_(other.key_)
{
    other.certificate_ = nullptr;
    other.key_ = nullptr;
}

TServerCertificate::~TServerCertificate()
{
    X509_free(certificate_);
    EVP_PKEY_free(key_);
}

TServerCertificate TServerCertificate::SelfSigned(
    const std::vector<std::string>& addresses, const std::vector<std::string>& hostNames)
{
    EVP_PKEY* key = EVP_EC_gen("P-256");
    if (!key)
        Fail("cannot make a key");
    X509* certificate = X509_new();
    TServerCertificate result(certificate, key);
    if (!certificate)
        Fail("cannot make a certificate");

    X509_set_version(certificate, 2);
    unsigned char serial[16];
    if (RAND_bytes(serial, sizeof serial) != 1)
        Fail("no random bytes");
    serial[0] &= 0x7F;
    BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate));
    BN_free(number);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -24L * 3600L);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 365L * 24L * 3600L);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(
        name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("pavlora-order-server"), -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    X509_set_pubkey(certificate, key);

    std::string alternatives;
    for (const std::string& address : addresses)
        alternatives += (alternatives.empty() ? "" : ",") + std::string("IP:") + address;
    for (const std::string& host : hostNames)
        alternatives += (alternatives.empty() ? "" : ",") + std::string("DNS:") + host;
    AddExtension(certificate, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(certificate, NID_key_usage, "critical,digitalSignature,keyCertSign");
    AddExtension(certificate, NID_ext_key_usage, "serverAuth");
    AddExtension(certificate, NID_subject_key_identifier, "hash");
    AddExtension(certificate, NID_subject_alt_name, alternatives);
    if (X509_sign(certificate, key, EVP_sha256()) <= 0)
        Fail("cannot sign the certificate");
    return result;
}

TServerCertificate TServerCertificate::Load(const std::string& certificateFile, const std::string& keyFile)
{
    std::unique_ptr<FILE, FileCloser> certificateIn(std::fopen(certificateFile.c_str(), "rb"));
    if (!certificateIn)
        throw std::runtime_error("cannot read " + certificateFile);
    X509* certificate = PEM_read_X509(certificateIn.get(), nullptr, nullptr, nullptr);
    if (!certificate)
        Fail("cannot read the certificate " + certificateFile);
    std::unique_ptr<FILE, FileCloser> keyIn(std::fopen(keyFile.c_str(), "rb"));
    if (!keyIn) {
        X509_free(certificate);
        throw std::runtime_error("cannot read " + keyFile);
    }
    EVP_PKEY* key = PEM_read_PrivateKey(keyIn.get(), nullptr, nullptr, nullptr);
    TServerCertificate result(certificate, key);
    if (!key)
        Fail("cannot read the key " + keyFile);
    return result;
}

void TServerCertificate::WriteCertificate(const std::string& path) const
{
    const std::string temporary = path + ".part";
    {
        std::unique_ptr<FILE, FileCloser> out(std::fopen(temporary.c_str(), "wb"));
        if (!out || PEM_write_X509(out.get(), certificate_) != 1)
            throw std::runtime_error("cannot write " + temporary);
    }
    std::filesystem::rename(temporary, path);
}

} // namespace pavlora::orderserver
