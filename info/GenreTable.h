// The 126 ID3v1 genres, each held as "(n) Name".
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace info {

inline constexpr std::size_t kGenreCount = 126;
inline constexpr std::uint8_t kNoGenre = 255;
inline constexpr std::string_view kUnknownGenre = "Unknown genre";

// The table text of genre `number`, or "Unknown genre" outside 0..125.
std::string_view GenreText(int number);

// The row whose text equals `text` byte for byte, else kNoGenre.
std::uint8_t GenreNumber(std::string_view text);

// All rows in table order (for lists offered to the user).
const std::array<std::string_view, kGenreCount>& GenreTexts();

}  // namespace info
