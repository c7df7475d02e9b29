// magic.h: the one test of whether bytes begin an XM module, shared by the
// loader and the music programs so that both refuse the same files: the
// first four bytes are "Exte" (the rest of "Extended Module: ", the version
// and the 0x1A byte are taken as they come).
//
//   if (!music::xm_magic_matches(bytes, size)) refuse;
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace music {

constexpr size_t xm_magic_bytes = 4;

inline bool xm_magic_matches(const uint8_t* bytes, size_t size) {
    return size >= xm_magic_bytes && std::memcmp(bytes, "Exte", xm_magic_bytes) == 0;
}

}  // namespace music
