#include <cerrno>
#include <utility>

#include "platform/host/HostControl.h"

namespace platform {
namespace host {
namespace {

struct Plan {
    int calls[static_cast<int>(Fault::count_)] = {};
    int failAt[static_cast<int>(Fault::count_)] = {};
    int errnoAt[static_cast<int>(Fault::count_)] = {};
    int mutatingCalls = 0;
    int failMutatingAt = 0;
    std::function<void()> afterUnlink;
    std::function<void()> afterReplace;
};
Plan plan;

bool isMutating(Fault kind) {
    return kind != Fault::readVersion && kind != Fault::createLink &&
           kind != Fault::persistLink;
}

int defaultErrno(Fault kind) {
    switch (kind) {
        case Fault::makeDirectory: return ENOSPC;
        case Fault::openFile: return EACCES;
        case Fault::writeFile:
        case Fault::closeFile: return ENOSPC;
        default: return 0;
    }
}

}  // namespace

void failCall(Fault kind, int nth, int errnoValue) {
    int k = static_cast<int>(kind);
    plan.failAt[k] = plan.calls[k] + nth;
    plan.errnoAt[k] = errnoValue;
}

void failMutatingCall(int nth) { plan.failMutatingAt = plan.mutatingCalls + nth; }

int callsMade(Fault kind) { return plan.calls[static_cast<int>(kind)]; }

int mutatingCallsMade() { return plan.mutatingCalls; }

void resetFaults() { plan = Plan(); }

void afterNextUnlink(std::function<void()> action) { plan.afterUnlink = std::move(action); }

void afterNextReplace(std::function<void()> action) { plan.afterReplace = std::move(action); }

namespace {
void runOnce(std::function<void()>& slot) {
    std::function<void()> action = std::move(slot);
    slot = nullptr;
    if (action) action();
}
}  // namespace

void runAfterUnlink() { runOnce(plan.afterUnlink); }

void runAfterReplace() { runOnce(plan.afterReplace); }

bool injectFault(Fault kind, int* errnoValue) {
    int k = static_cast<int>(kind);
    bool fail = false;
    int chosen = 0;
    ++plan.calls[k];
    if (plan.failAt[k] != 0 && plan.calls[k] == plan.failAt[k]) {
        fail = true;
        chosen = plan.errnoAt[k];
        plan.failAt[k] = 0;
    }
    if (isMutating(kind)) {
        ++plan.mutatingCalls;
        if (plan.failMutatingAt != 0 && plan.mutatingCalls == plan.failMutatingAt) {
            fail = true;
            plan.failMutatingAt = 0;
        }
    }
    if (fail && errnoValue != nullptr) *errnoValue = chosen != 0 ? chosen : defaultErrno(kind);
    return fail;
}

}  // namespace host
}  // namespace platform
