// Where a registry key really lives, in the names a registry script uses. The kernel names
// a key by its place in the one registry tree ("\REGISTRY\MACHINE\SOFTWARE\Wow6432Node\..."),
// whatever root, view or merged HKEY_CLASSES_ROOT it was opened through. Pure.
#pragma once

#include <string>
#include <string_view>

namespace taliveer {

// "HKEY_LOCAL_MACHINE\..." for "\REGISTRY\MACHINE\...", "HKEY_CURRENT_USER\..." for the
// current user's "\REGISTRY\USER\<sid>\...", "HKEY_CURRENT_USER\Software\Classes\..." for
// the user's "<sid>_Classes", "HKEY_USERS\..." for any other user; the roots compared in any
// letter case, the rest kept as it is. Empty for a name under none of them.
std::wstring ScriptKeyName(std::wstring_view kernelName, std::wstring_view currentUserSid);

}  // namespace taliveer
