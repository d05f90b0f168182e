// Recovers the text of a signed parameter file: the portal encrypts the parameter text with its RSA private
// key (one block, PKCS #1 v1.5 padding with block type 1), and the launcher recovers it with the public key
// built into the program (ParamPublicKey.h, generated from the PEM file named at configure time).
//
// One decryptor is built and freed around one file. Thread: any; one object belongs to one thread.
#pragma once

#include <cstddef>
#include <cstdint>

typedef struct evp_pkey_st EVP_PKEY;

class RsaParamDecryptor {
 public:
  // Reads an RSA public key from a PEM "PUBLIC KEY" (SubjectPublicKeyInfo) block in `pem`; text before the
  // block is skipped. ok() tells whether it worked.
  explicit RsaParamDecryptor(const char* pem);
  virtual ~RsaParamDecryptor();
  RsaParamDecryptor(const RsaParamDecryptor&) = delete;
  RsaParamDecryptor& operator=(const RsaParamDecryptor&) = delete;

  bool ok() const { return key_ != nullptr; }
  // The size of the key's modulus in bytes, which is the size of every signed block; 0 without a key.
  size_t ModulusSize() const;

  // Recovers the data signed into `block`. `size` must be exactly ModulusSize(). The recovered bytes (at most
  // ModulusSize() - 11) go to `out`, their number to `out_size`. False when there is no key, the size is
  // wrong, the block was made with another key, is not a type-1 block, its padding is bad, or the data does
  // not fit `capacity`; `out_size` is then 0.
  bool Recover(const uint8_t* block, size_t size, uint8_t* out, size_t capacity, size_t* out_size) const;

 private:
  EVP_PKEY* key_ = nullptr;
};
