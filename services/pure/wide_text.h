// Conversions between the registry's UTF-16 bytes, wide strings and UTF-8. Pure.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace taliveer {

// Registry string data as stored: UTF-16LE code units, possibly of odd byte length and
// without a terminator. A trailing odd byte is dropped.
std::wstring WideFromRegistryBytes(const unsigned char* data, std::size_t size);

// UTF-8 of a wide string (UTF-16 on Windows, UTF-32 elsewhere); for exception texts and
// logs. Unpaired surrogates become U+FFFD.
std::string NarrowForLog(std::wstring_view text);

}  // namespace taliveer
