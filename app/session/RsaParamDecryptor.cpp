#include "app/session/RsaParamDecryptor.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct ContextFree {
  void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
};

}  // namespace

RsaParamDecryptor::RsaParamDecryptor(const char* pem) {
  if (pem == nullptr)
    return;
  std::unique_ptr<BIO, BioFree> stream(BIO_new_mem_buf(pem, -1));
  if (stream == nullptr)
    return;
  EVP_PKEY* key = PEM_read_bio_PUBKEY(stream.get(), nullptr, nullptr, nullptr);
  if (key != nullptr && EVP_PKEY_get_base_id(key) == EVP_PKEY_RSA)
    key_ = key;
  else
    EVP_PKEY_free(key);
  // A failed read leaves its reasons on this thread's error queue; nobody reads them.
  ERR_clear_error();
}

RsaParamDecryptor::~RsaParamDecryptor() {
  EVP_PKEY_free(key_);
}

size_t RsaParamDecryptor::ModulusSize() const {
  if (key_ == nullptr)
    return 0;
  int size = EVP_PKEY_get_size(key_);
  return size > 0 ? static_cast<size_t>(size) : 0;
}

bool RsaParamDecryptor::Recover(const uint8_t* block,
                                size_t size,
                                uint8_t* out,
                                size_t capacity,
                                size_t* out_size) const {
  *out_size = 0;
  size_t modulus = ModulusSize();
  if (modulus == 0 || block == nullptr || size != modulus)
    return false;
  std::unique_ptr<EVP_PKEY_CTX, ContextFree> context(EVP_PKEY_CTX_new(key_, nullptr));
  // The recovery writes up to a whole modulus; the caller's buffer may be smaller.
  std::unique_ptr<uint8_t[]> recovered(new (std::nothrow) uint8_t[modulus]);
  size_t recovered_size = modulus;
  bool done = context != nullptr && recovered != nullptr && EVP_PKEY_verify_recover_init(context.get()) > 0 &&
              EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) > 0 &&
              EVP_PKEY_verify_recover(context.get(), recovered.get(), &recovered_size, block, size) > 0;
  ERR_clear_error();
  if (!done || recovered_size > capacity)
    return false;
  std::memcpy(out, recovered.get(), recovered_size);
  *out_size = recovered_size;
  return true;
}
