// Rules of the process page that need no system: which processes are listed, how their
// paths are shown, the priority and count texts. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace taliveer {

// Not listed: a name containing "SYSTEM" (ASCII letters in any case), an empty path, a
// path without ":\".
bool IsProcessHidden(std::wstring_view exeName, std::wstring_view path);

// A leading "?" becomes "C"; every "\??\" goes.
std::wstring CleanImagePath(std::wstring_view path);

// "High" when the low eight bits of the priority class are HIGH_PRIORITY_CLASS (0x80),
// "Normal" for everything else.
const wchar_t* PriorityText(std::uint32_t priorityClass);

// "12 个程序工作"
std::wstring ProcessCountText(int rows);

}  // namespace taliveer
