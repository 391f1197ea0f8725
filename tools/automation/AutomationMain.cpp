// vantorel-automation: runs a program and answers its boxes and folder browsers as a person
// would, following a steps file; every box text is logged and compared with the expected text.
// Exit code 0 when every step matched and the program ended by itself with the exit code
// its end step expects (0 unless it says otherwise). Texts are UTF-8 in the steps and the log,
// UTF-16 towards the system, so that names outside the system's code page are seen exactly.
#include <windows.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "AutomationScript.h"
#include "Dialogs.h"
#include "Utf8.h"

namespace {

struct Run {
    PROCESS_INFORMATION process;
    char caption[1024];
    DWORD timeoutMs;
};

int fail(Run* run, int line, const char* message) {
    printf("FAIL (step at line %d): %s\n", line, message);
    if (run != nullptr && run->process.hProcess != nullptr) {
        // Leave nothing running: the script waits for the whole Wine session to end.
        Dialog left = findDialog(run->process.dwProcessId);
        if (left.kind != DialogNone) {
            char text[kTextBytes];
            if (left.kind == DialogMessageBox && readMessageText(left.window, text, sizeof text)) {
                fputs("  box still shown: ", stdout);
                printEscaped(text);
                putchar('\n');
            }
        }
        TerminateProcess(run->process.hProcess, 99);
    }
    fflush(stdout);
    return 1;
}

bool resolveFolder(const char* folder, char* path, size_t size) {
    if (strncmp(folder, "csidl:", 6) != 0) return snprintf(path, size, "%s", folder) < static_cast<int>(size);
    wchar_t found[MAX_PATH];
    return SHGetSpecialFolderPathW(nullptr, found, atoi(folder + 6), FALSE) && toUtf8(found, path, size);
}

// Expected texts may name special folders as {csidl:N}, whose paths differ between machines.
bool expandFolders(const char* in, char* out, size_t size) {
    size_t n = 0;
    while (*in != 0) {
        const char* close = strncmp(in, "{csidl:", 7) == 0 ? strchr(in, '}') : nullptr;
        char path[3 * MAX_PATH];
        const char* piece = in;
        size_t length = 1;
        if (close != nullptr) {
            char folder[32];
            snprintf(folder, sizeof folder, "csidl:%d", atoi(in + 7));
            if (!resolveFolder(folder, path, sizeof path)) return false;
            piece = path;
            length = strlen(path);
            in = close + 1;
        } else {
            ++in;
        }
        if (n + length >= size) return false;
        memcpy(out + n, piece, length);
        n += length;
    }
    out[n] = 0;
    return true;
}

bool processEnded(const Run* run) { return WaitForSingleObject(run->process.hProcess, 0) == WAIT_OBJECT_0; }

// Waits for the next dialog of the program; false when it ended or the time ran out first.
Dialog waitForDialog(const Run* run, bool* ended) {
    *ended = false;
    for (DWORD waited = 0;; waited += 50) {
        Dialog dialog = findDialog(run->process.dwProcessId);
        if (dialog.kind != DialogNone) {
            // Give the dialog the moment it needs to finish its initialisation.
            Sleep(150);
            return findDialog(run->process.dwProcessId);
        }
        if (processEnded(run)) {
            *ended = true;
            return dialog;
        }
        if (waited >= run->timeoutMs) return dialog;
        Sleep(50);
    }
}

const char* describe(const Dialog& dialog) {
    switch (dialog.kind) {
        case DialogMessageBox: return "a message box";
        case DialogBrowser: return "the folder browser";
        default: return "a dialog";
    }
}

void describeUnexpected(const Dialog& dialog, const char* expected, char* out, size_t size) {
    char text[kTextBytes] = "";
    if (dialog.kind == DialogMessageBox) readMessageText(dialog.window, text, sizeof text);
    snprintf(out, size, "expected %s, but the program showed %s", expected, describe(dialog));
    if (text[0] != 0) {
        size_t used = strlen(out);
        snprintf(out + used, size - used, " saying \"%s\"", text);
    }
}

int doBox(Run* run, const Step& step) {
    bool ended = false;
    const char* expected = step.kind == StepAsk ? "a question box" : "a message box with OK";
    Dialog dialog = waitForDialog(run, &ended);
    char message[2 * kTextBytes];
    if (ended) {
        snprintf(message, sizeof message, "the program ended while %s was expected", expected);
        return fail(run, step.line, message);
    }
    if (dialog.kind == DialogNone) {
        snprintf(message, sizeof message, "no box within %lu s while %s was expected",
                 run->timeoutMs / 1000, expected);
        return fail(run, step.line, message);
    }
    if (dialog.kind != DialogMessageBox) {
        describeUnexpected(dialog, expected, message, sizeof message);
        return fail(run, step.line, message);
    }
    char caption[kTextBytes], text[kTextBytes];
    readWindowText(dialog.window, caption, sizeof caption);
    if (!readMessageText(dialog.window, text, sizeof text))
        return fail(run, step.line, "the box's text could not be read");
    bool question = hasButton(dialog.window, IDYES) && hasButton(dialog.window, IDNO);
    int defaultId = defaultButton(dialog.window);
    printf("box ");
    printEscaped(caption);
    printf(" %s, default %s: ", question ? "Yes/No" : "OK",
           defaultId == IDYES ? "Yes" : defaultId == IDNO ? "No" : defaultId == IDOK ? "OK" : "none");
    printEscaped(text);
    putchar('\n');
    fflush(stdout);
    if (strcmp(caption, run->caption) != 0) {
        snprintf(message, sizeof message, "the box's caption is \"%s\", not \"%s\"", caption,
                 run->caption);
        return fail(run, step.line, message);
    }
    char expectedText[kTextBytes];
    if (!expandFolders(step.text, expectedText, sizeof expectedText))
        return fail(run, step.line, "a special folder of the expected text could not be resolved");
    if (strcmp(text, expectedText) != 0) {
        printf("  expected text:  ");
        printEscaped(expectedText);
        putchar('\n');
        return fail(run, step.line, "the box's text differs from the expected text");
    }
    int press = IDOK;
    if (step.kind == StepAsk) {
        if (!question) return fail(run, step.line, "a question was expected, the box offers only OK");
        int wantedDefault = strcmp(step.defaultButton, "Yes") == 0 ? IDYES : IDNO;
        if (defaultId != wantedDefault) {
            snprintf(message, sizeof message, "the question's default button is not %s",
                     step.defaultButton);
            return fail(run, step.line, message);
        }
        press = strcmp(step.answer, "Yes") == 0 ? IDYES : IDNO;
    } else if (question || !hasButton(dialog.window, IDOK)) {
        return fail(run, step.line, "a box with only OK was expected, the box asks a question");
    }
    if (!pressButton(dialog.window, press, run->timeoutMs))
        return fail(run, step.line, "the box did not close when its button was pressed");
    printf("  pressed %s\n", step.kind == StepAsk ? step.answer : "OK");
    return 0;
}

int doBrowser(Run* run, const Step& step) {
    bool ended = false;
    Dialog dialog = waitForDialog(run, &ended);
    char message[2 * kTextBytes];
    if (ended) return fail(run, step.line, "the program ended while a folder browser was expected");
    if (dialog.kind == DialogNone) {
        snprintf(message, sizeof message, "no folder browser within %lu s", run->timeoutMs / 1000);
        return fail(run, step.line, message);
    }
    if (dialog.kind != DialogBrowser) {
        describeUnexpected(dialog, "the folder browser", message, sizeof message);
        return fail(run, step.line, message);
    }
    printf("browser ");
    printEscaped(step.text);
    putchar('\n');
    if (!browserHasTitle(dialog.window, step.text))
        return fail(run, step.line, "the folder browser does not show the expected title");
    if (step.kind == StepCancel) {
        if (!pressButton(dialog.window, IDCANCEL, run->timeoutMs))
            return fail(run, step.line, "the folder browser did not close on Cancel");
        printf("  pressed Cancel\n");
        return 0;
    }
    char path[3 * MAX_PATH];
    if (!resolveFolder(step.path, path, sizeof path))
        return fail(run, step.line, "the special folder could not be resolved");
    char error[256];
    if (!selectInBrowser(run->process.hProcess, dialog.window, path, error, sizeof error))
        return fail(run, step.line, error);
    printf("  selected ");
    printEscaped(path);
    putchar('\n');
    if (!pressButton(dialog.window, IDOK, run->timeoutMs))
        return fail(run, step.line, "the folder browser did not close on OK (no folder selected?)");
    printf("  pressed OK\n");
    return 0;
}

int doEnd(Run* run, int line, int expectedCode) {
    bool ended = false;
    Dialog dialog = waitForDialog(run, &ended);
    char message[2 * kTextBytes];
    if (!ended) {
        if (dialog.kind == DialogNone) {
            snprintf(message, sizeof message, "the program did not end within %lu s",
                     run->timeoutMs / 1000);
            return fail(run, line, message);
        }
        describeUnexpected(dialog, "the program to end", message, sizeof message);
        return fail(run, line, message);
    }
    DWORD code = 0;
    GetExitCodeProcess(run->process.hProcess, &code);
    printf("ended with exit code %lu\n", code);
    if (code != static_cast<DWORD>(expectedCode))
        return fail(nullptr, line, "the program's exit code is not the one expected");
    return 0;
}

// Another program, started while ours waits at a box: it must end by itself in time.
int doBeside(Run* run, const Step& step) {
    bool ended = false;
    Dialog dialog = waitForDialog(run, &ended);
    if (ended) return fail(run, step.line, "the program ended before showing the box to wait at");
    if (dialog.kind == DialogNone) return fail(run, step.line, "the program showed no box to wait at");
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION other;
    char commandLine[1024];
    lstrcpynA(commandLine, step.text, sizeof commandLine);
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &other)) {
        char message[1200];
        snprintf(message, sizeof message, "cannot start %s (error %lu)", step.text, GetLastError());
        return fail(run, step.line, message);
    }
    printf("started beside it: %s\n", step.text);
    DWORD waited = WaitForSingleObject(other.hProcess, run->timeoutMs);
    DWORD code = 0;
    GetExitCodeProcess(other.hProcess, &code);
    if (waited != WAIT_OBJECT_0) TerminateProcess(other.hProcess, 99);
    CloseHandle(other.hThread);
    CloseHandle(other.hProcess);
    if (waited != WAIT_OBJECT_0) return fail(run, step.line, "the program beside it did not end in time");
    printf("  it ended with exit code %lu\n", code);
    if (code != static_cast<DWORD>(step.number))
        return fail(run, step.line, "the exit code of the program beside it is not the one expected");
    return 0;
}

int start(Run* run, const Step& step) {
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    // CreateProcessW may write into the command line, so it gets a copy.
    wchar_t commandLine[4096];
    if (!toWide(step.text, commandLine, 4096))
        return fail(nullptr, step.line, "the command line is too long");
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &run->process)) {
        char message[sizeof step.text + 64];
        snprintf(message, sizeof message, "cannot start %s (error %lu)", step.text, GetLastError());
        return fail(nullptr, step.line, message);
    }
    printf("started %s\n", step.text);
    return 0;
}

}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    // The steps file's name as given, not as the code page would spell it.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    char stepsFile[3 * MAX_PATH];
    if (argv == nullptr || argc != 2 || !toUtf8(argv[1], stepsFile, sizeof stepsFile)) {
        fputs("usage: vantorel-automation STEPS-FILE\n", stderr);
        return 2;
    }
    LocalFree(argv);
    Step* steps = nullptr;
    size_t count = 0;
    char error[4 * MAX_PATH];
    if (!readSteps(stepsFile, &steps, &count, error, sizeof error)) {
        printf("FAIL: %s\n", error);
        return 2;
    }
    Run run;
    ZeroMemory(&run, sizeof run);
    snprintf(run.caption, sizeof run.caption, "%s", "Setup Vantorel v0.94a");
    run.timeoutMs = 60000;
    int result = 0;
    bool endChecked = false;
    for (size_t i = 0; i < count && result == 0; ++i) {
        const Step& step = steps[i];
        switch (step.kind) {
            case StepRun: result = start(&run, step); break;
            case StepCaption: snprintf(run.caption, sizeof run.caption, "%s", step.text); break;
            case StepTimeout: run.timeoutMs = static_cast<DWORD>(step.number) * 1000; break;
            case StepAsk:
            case StepTell: result = doBox(&run, step); break;
            case StepBrowse:
            case StepCancel: result = doBrowser(&run, step); break;
            case StepBeside: result = doBeside(&run, step); break;
            case StepFolder: {
                char folder[32], path[3 * MAX_PATH];
                snprintf(folder, sizeof folder, "csidl:%d", step.number);
                if (!resolveFolder(folder, path, sizeof path)) {
                    result = fail(&run, step.line, "the special folder could not be resolved");
                } else {
                    printf("folder %d ", step.number);
                    printEscaped(path);
                    putchar('\n');
                }
                break;
            }
            case StepCodePage:
                printf("code page %u\n", GetACP());
                if (GetACP() != static_cast<UINT>(step.number)) {
                    char message[64];
                    snprintf(message, sizeof message, "the system's ANSI code page is not %d", step.number);
                    result = fail(&run, step.line, message);
                }
                break;
            case StepEnd:
                result = doEnd(&run, step.line, step.number);
                endChecked = true;
                break;
        }
    }
    if (result == 0 && !endChecked) result = doEnd(&run, steps[count - 1].line, 0);
    if (run.process.hProcess != nullptr) {
        CloseHandle(run.process.hThread);
        CloseHandle(run.process.hProcess);
    }
    free(steps);
    if (result == 0) puts("PASS");
    return result;
}
