// The sizes and tags of the three compiled files, shared by the code that
// writes them and the code that reads them back. Every byte of each layout
// is described in docs/compiled-files.md.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lorvena {

// The track file: one cell after another, nothing else.
inline constexpr size_t kTrackCellBytes = 15;

// The table file: 87 entries, each this many bytes plus the length of its name.
inline constexpr size_t kTableEntryFixedBytes = 34;

// The plan file: every element is a 16-bit tag followed by its value.
inline constexpr uint16_t kTagEmpty = 0;    // no value bytes
inline constexpr uint16_t kTagInteger = 2;  // a 16-bit integer
inline constexpr uint16_t kTagDouble = 5;   // a 64-bit IEEE double
inline constexpr size_t kTagBytes = 2;
inline constexpr size_t kIntegerElementBytes = kTagBytes + 2;
inline constexpr size_t kDoubleElementBytes = kTagBytes + 8;

}  // namespace lorvena
