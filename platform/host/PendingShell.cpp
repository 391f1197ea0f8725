// Stand-ins until the host folder prompt and document opener land.
#include <string>

#include "platform/host/HostControl.h"
#include "platform/platform.h"

namespace platform {
void initializeComponents() {}
ShellFolders* ShellFolders::open() { return nullptr; }
intptr_t shellExecute(const char*, const char*) { return 2; }
namespace host {
void setDocumentOpener(const std::string&) {}
}  // namespace host
}  // namespace platform
