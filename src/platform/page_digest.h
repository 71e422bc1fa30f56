#pragma once
// One 64-bit value for every page shown so far: each page is hashed with the value before it
// as the seed, so two runs that showed the same pages in the same order end with the same one.
#include <cstdint>

struct Image;

// 0 before the first page.
std::uint64_t page_digest_chain(std::uint64_t previous, const Image& page);

// The same kind of chain over what the game asks the sound hooks to do (a kind and a value per
// call), so runs that differ only in their sounds tell apart too.
std::uint64_t sound_digest_chain(std::uint64_t previous, std::uint32_t kind, std::int64_t value);
// play_music's link in that chain: the file's name only, as where it was found depends on the
// machine.
std::uint64_t sound_digest_music(std::uint64_t previous, const char* file_name);
