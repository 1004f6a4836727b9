#pragma once
// Every GDI object this process holds, whoever made it: the system's own
// count (GetGuiResources) is not answered under Wine, so the objects are
// read from the GDI handle table the system maps into the process, and each
// one is confirmed alive with GetObjectType. A leak check for tests.
// Windows only.
#include <string>

// The process's GDI objects; -1 when the system shows no handle table.
int ProcessGdiObjects();
// The same, by kind ("bitmap 12, brush 3, ..."), for a failure message.
std::string ProcessGdiObjectKinds();
