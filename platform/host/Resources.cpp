// Resources embedded in the host program, looked up as Windows looks up a
// module's resources: by type and name, without regard to case.
#include <map>
#include <string>

#include "platform/Text.h"
#include "platform/Resources.h"
#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"

namespace platform {
namespace host {
namespace {

struct Key {
    std::string type, name;
    bool operator<(const Key& o) const {
        int c = compareNames(type.c_str(), o.type.c_str());
        if (c != 0) return c < 0;
        return compareNames(name.c_str(), o.name.c_str()) < 0;
    }
};
struct Stored {
    const unsigned char* data;  // null: present but cannot be loaded
    uint32_t size;
    std::vector<unsigned char> owned;
};
std::map<Key, Stored>& table() {
    static std::map<Key, Stored> resources;
    return resources;
}

}  // namespace

void installResources(const EmbeddedResource* list, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        table()[Key{list[i].type, list[i].name}] = Stored{list[i].data, list[i].size, {}};
}

void putResource(const std::string& type, const std::string& name,
                 const std::vector<unsigned char>& bytes) {
    Stored& s = table()[Key{type, name}];
    s.owned = bytes;
    // A real module never hands out a null pointer for a present resource,
    // even an empty one.
    if (s.owned.empty()) s.owned.reserve(1);
    s.data = s.owned.data() != nullptr ? s.owned.data() : reinterpret_cast<const unsigned char*>("");
    s.size = static_cast<uint32_t>(s.owned.size());
}

void putUnloadableResource(const std::string& type, const std::string& name) {
    table()[Key{type, name}] = Stored{nullptr, 0, {}};
}

void removeResource(const std::string& type, const std::string& name) {
    table().erase(Key{type, name});
}

void clearResources() { table().clear(); }

}  // namespace host

Status loadResource(const char* type, const char* name, const unsigned char** data,
                    uint32_t* size) {
    uint32_t injected = 0;
    if (host::injectFault(host::Call::loadResource, &injected)) return host::failWith(injected);
    auto it = host::table().find(host::Key{type, name});
    if (it == host::table().end()) return host::failWith(errResourceNameNotFound);
    if (it->second.data == nullptr) return host::failWith(errResourceDataNotFound);
    *data = it->second.data;
    *size = it->second.size;
    return statusOk;
}

}  // namespace platform
