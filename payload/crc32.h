// CRC-32 as zip files and PNG images use it (the reflected polynomial
// 0xEDB88320): the checksum that tells a damaged payload.
#pragma once

#include <cstdint>
#include <string_view>

namespace lorvena {

// The CRC-32 of `bytes`; "123456789" gives 0xCBF43926.
uint32_t crc32(std::string_view bytes);

}  // namespace lorvena
