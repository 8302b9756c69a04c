// SHA-256 of a byte string, as a lower-case hex text, computed by libcrypto:
// the tests pin the bytes the installer ships by their sums.
#pragma once

#include <string>
#include <string_view>

namespace lorvena::testing {

std::string sha256_hex(std::string_view bytes);

}  // namespace lorvena::testing
