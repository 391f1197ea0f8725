// The install set packed by the windows build, embedded in a host program.
#pragma once

// Puts every embedded resource where the program's resource lookups find it.
void installEmbeddedInstallSet();
