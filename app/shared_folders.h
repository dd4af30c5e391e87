// Fills the user name and the known folders of the shared state.
#pragma once

#include "app/shared_state.h"

namespace taliveer {

void FillUserAndFolders(SharedState& state);

// The Startup folders: the shell's answer, else the "Shell Folders" values.
std::wstring FindUserStartupFolder();
std::wstring FindCommonStartupFolder();

}  // namespace taliveer
