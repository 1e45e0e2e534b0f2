#pragma once

// Resource ids of the Windows editor, read by the resource compiler as well as by C++:
// plain macros only.

// The program's icon: the .exe's icon (the lowest id) and its windows'.
#define TESSALY_ICON_ID 1
