// The hex SHA-256 of testing/sha256.h, from libcrypto's one-shot digest.
#include "testing/sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace lorvena::testing {

std::string sha256_hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr) != 1)
    throw std::runtime_error("libcrypto could not compute a SHA-256");
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0x0F];
  }
  return hex;
}

}  // namespace lorvena::testing
