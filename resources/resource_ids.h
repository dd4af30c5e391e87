// Resource names shared by the .rc file and the code.
#pragma once

#define IDI_MAINICON 1
#define IDR_MANIFEST 1
