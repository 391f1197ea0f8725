// Compiled into host programs that carry the install set. The packed folder
// is written by the windows build; the file is pulled in here (rather than
// listed as a source) so that a missing pack says what to do instead of
// leaving the build with a file it has no rule for, and so that the
// compiler's dependency record rebuilds this when the pack changes.
#include "setup/entry/EmbeddedInstallSet.h"

#include <cstdint>

#include "platform/host/HostControl.h"

#if !defined(VANTOREL_INSTALL_SET_SOURCE)
#error "VANTOREL_INSTALL_SET_SOURCE names the packed installset_host.cpp"
#elif __has_include(VANTOREL_INSTALL_SET_SOURCE)
#include VANTOREL_INSTALL_SET_SOURCE
#else
#error "No packed install set (build/windows/packed/installset_host.cpp): build the windows preset first (make all, or cmake --preset windows && cmake --build --preset windows)"
#endif

void installEmbeddedInstallSet() {
    platform::host::installResources(vantorelInstallSet, vantorelInstallSetCount);
}
