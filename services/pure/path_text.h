// Text rules for folder paths and trimmed values. Pure: no Windows headers, so they build
// and run natively under the sanitizers too.
#pragma once

#include <string>
#include <string_view>

namespace taliveer {

// Removes leading and trailing characters of code 32 or below (spaces, tabs, CR, LF, ...).
std::wstring TrimBlanks(std::wstring_view text);

// Appends a backslash unless the text already ends with one; an empty text stays empty.
std::wstring WithTrailingBackslash(std::wstring_view folder);

// The text up to and including its last backslash; empty when there is none.
std::wstring UpToLastBackslash(std::wstring_view path);

// The text up to its first NUL character (registry and API buffers are not trusted to be
// terminated exactly where their length says).
std::wstring_view UpToFirstNul(std::wstring_view text);

}  // namespace taliveer
