#include <algorithm>
#include <utility>
#include <vector>

#include "platform/Status.h"
#include "platform/host/HostControl.h"

namespace platform {
namespace host {
namespace {

struct Plan {
    int calls[static_cast<int>(Call::count_)] = {};
    int failures[static_cast<int>(Call::count_)] = {};
    int failAt[static_cast<int>(Call::count_)] = {};
    uint32_t codeAt[static_cast<int>(Call::count_)] = {};
    int touchingCalls = 0;
    std::vector<int> failTouchingAt;  // counts of the calls that are to fail
    std::function<void()> afterUnlink;
    std::function<void()> afterReplace;
};
Plan plan;

bool touchesMachine(Call kind) {
    switch (kind) {
        case Call::makeDirectory:
        case Call::removeDirectory:
        case Call::unlinkFile:
        case Call::openStream:
        case Call::createNewStream:
        case Call::writeStream:
        case Call::readStream:
        case Call::closeStream:
        case Call::replaceFile:
        case Call::regCreateKey:
        case Call::regOpenKey:
        case Call::regSetValue:
        case Call::regDeleteKey:
        case Call::regDeleteValue:
        case Call::saveLink:
        case Call::fileVersionInfo:
            return true;
        default:
            return false;
    }
}

uint32_t usualCode(Call kind) {
    switch (kind) {
        case Call::makeDirectory:
        case Call::writeStream:
        case Call::flushStream:
        case Call::closeStream: return errDiskFull;
        case Call::readStream: return errReadFault;
        case Call::loadResource: return errResourceDataNotFound;
        case Call::formatText: return errInvalidParameter;
        case Call::messageBox: return errNotEnoughMemory;
        case Call::commandLineTail: return errNoUnicodeTranslation;
        case Call::initializeComponents:
        case Call::createShellLink:
        case Call::setLinkPath:
        case Call::setLinkDescription:
        case Call::setLinkArguments:
        case Call::setLinkWorkingDirectory:
        case Call::queryPersistFile:
        case Call::saveLink:
        case Call::openShellFolders:
        case Call::specialFolder:
        case Call::browseForFolder:
        case Call::pathOfItem: return 0x80004005u;  // E_FAIL
        default: return errAccessDenied;
    }
}

}  // namespace

void failCall(Call kind, int nth, uint32_t code) {
    int k = static_cast<int>(kind);
    plan.failAt[k] = plan.calls[k] + nth;
    plan.codeAt[k] = code;
}

void failNthCall(int nth) { plan.failTouchingAt.push_back(plan.touchingCalls + nth); }

int callsMade(Call kind) { return plan.calls[static_cast<int>(kind)]; }

int touchingCallsMade() { return plan.touchingCalls; }

int failuresMade(Call kind) { return plan.failures[static_cast<int>(kind)]; }

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

bool injectFault(Call kind, uint32_t* code) {
    int k = static_cast<int>(kind);
    bool fail = false;
    uint32_t chosen = 0;
    ++plan.calls[k];
    if (plan.failAt[k] != 0 && plan.calls[k] == plan.failAt[k]) {
        fail = true;
        chosen = plan.codeAt[k];
        plan.failAt[k] = 0;
    }
    if (touchesMachine(kind)) {
        ++plan.touchingCalls;
        auto at = std::find(plan.failTouchingAt.begin(), plan.failTouchingAt.end(), plan.touchingCalls);
        if (at != plan.failTouchingAt.end()) {
            fail = true;
            plan.failTouchingAt.erase(at);
        }
    }
    if (fail) {
        ++plan.failures[k];
        *code = chosen != 0 ? chosen : usualCode(kind);
    }
    return fail;
}

}  // namespace host
}  // namespace platform
