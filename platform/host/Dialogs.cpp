// Message boxes in the terminal, or answered from a script in tests.
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <utility>

#include "platform/Dialogs.h"
#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"

namespace platform {
namespace host {
namespace {
bool scripted = false;
bool exhausted = false;
std::deque<int> answers;
std::vector<ShownBox> shown;
std::function<void()> whileShown;

const char* iconName(unsigned flags) {
    switch (flags & 0xF0) {
        case mbIconHand: return "stop";
        case mbIconQuestion: return "question";
        case mbIconInformation: return "information";
        default: return "none";
    }
}

int askTerminal(const char* text, const char* caption, unsigned flags) {
    std::printf("\n[%s] (%s)\n%s\n", caption, iconName(flags), text);
    if ((flags & 0x0F) != mbYesNo) {
        std::printf("[OK]\n");
        std::fflush(stdout);
        return idOk;
    }
    bool defaultNo = (flags & mbDefButton2) != 0;
    for (;;) {
        std::printf("Yes or No? [%s] ", defaultNo ? "y/N" : "Y/n");
        std::fflush(stdout);
        char line[256];
        if (std::fgets(line, sizeof line, stdin) == nullptr) {
            std::printf("\n");
            return idNo;  // end of input answers No
        }
        char* end = line + std::strlen(line);
        while (end > line && (end[-1] == '\n' || end[-1] == '\r' || end[-1] == ' ')) *--end = '\0';
        if (line[0] == '\0') return defaultNo ? idNo : idYes;
        if (line[0] == 'y' || line[0] == 'Y') return idYes;
        if (line[0] == 'n' || line[0] == 'N') return idNo;
    }
}
}  // namespace

void scriptAnswers(const std::vector<int>& list) {
    scripted = true;
    exhausted = false;
    answers.assign(list.begin(), list.end());
    shown.clear();
}

void stopScript() {
    scripted = false;
    answers.clear();
    whileShown = nullptr;
}

void onNextBox(std::function<void()> action) { whileShown = std::move(action); }

std::vector<ShownBox>& shownBoxes() { return shown; }

bool scriptExhausted() { return exhausted; }

}  // namespace host

namespace {

int answerOf(const char* text, const char* caption, unsigned flags) {
    if (!host::scripted) return host::askTerminal(text, caption, flags);
    // A box with only OK has nothing to ask: the script holds answers to questions.
    if ((flags & 0x0F) != mbYesNo) return idOk;
    if (host::answers.empty()) {
        host::exhausted = true;
        return idNo;
    }
    int answer = host::answers.front();
    host::answers.pop_front();
    return answer;
}

}  // namespace

Status messageBox(const char* text, const char* caption, unsigned flags, int* answer) {
    *answer = 0;
    uint32_t injected = 0;
    if (host::injectFault(host::Call::messageBox, &injected)) return host::failWith(injected);
    host::shown.push_back({caption, text, flags});
    std::function<void()> action = std::move(host::whileShown);
    host::whileShown = nullptr;
    if (action) action();
    *answer = answerOf(text, caption, flags);
    return statusOk;
}

}  // namespace platform
