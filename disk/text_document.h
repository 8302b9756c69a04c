// The writing procedure shared by every text the program writes: lines in
// order up to the end marker, each followed by CR LF, one byte a character.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "disk/file_system.h"

namespace lorvena {

// Ends the lines of a document; it is never written itself.
inline constexpr std::string_view kEndMarker = "riferimento fine del file";

// A document holds at most this many lines, the end marker included.
inline constexpr size_t kDocumentCapacity = 1001;

// The bytes of a document: every line before the first end marker, each
// followed by CR LF. Throws std::length_error past kDocumentCapacity lines.
std::string document_bytes(std::span<const std::string_view> lines);

// Replaces dir/file_name with the document's bytes (atomically).
void write_text_document(Disk& disk, const std::filesystem::path& dir, std::string_view file_name,
                         std::span<const std::string_view> lines, Flush flush);

}  // namespace lorvena
