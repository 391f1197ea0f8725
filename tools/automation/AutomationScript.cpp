#include "AutomationScript.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Utf8.h"

namespace {

// Box texts carry line ends and backslashes; the steps file is line-based, so they are escaped
// there the way a C string would write them.
bool unescape(const char* in, char* out, size_t size) {
    size_t n = 0;
    for (const char* p = in; *p != 0; ++p) {
        char c = *p;
        if (c == '\\') {
            ++p;
            switch (*p) {
                case 'n': c = '\n'; break;
                case 'r': c = '\r'; break;
                case 't': c = '\t'; break;
                case '\\': c = '\\'; break;
                default: return false;
            }
        }
        if (n + 1 >= size) return false;
        out[n++] = c;
    }
    out[n] = 0;
    return true;
}

bool copyField(const char* in, char* out, size_t size) {
    size_t n = strlen(in);
    if (n >= size) return false;
    memcpy(out, in, n + 1);
    return true;
}

bool isAnswer(const char* word) { return strcmp(word, "Yes") == 0 || strcmp(word, "No") == 0; }

// Splits `line` in place at '|' into at most `most` fields; the last field keeps the rest.
int splitFields(char* line, char** fields, int most) {
    int n = 0;
    fields[n++] = line;
    for (char* p = line; *p != 0 && n < most; ++p) {
        if (*p == '|') {
            *p = 0;
            fields[n++] = p + 1;
        }
    }
    return n;
}

bool parseStep(char* line, Step* step) {
    char* f[4];
    int n = splitFields(line, f, 4);
    const char* verb = f[0];
    if (strcmp(verb, "run") == 0 && n == 2) {
        step->kind = StepRun;
        return copyField(f[1], step->text, sizeof step->text);
    }
    if (strcmp(verb, "caption") == 0 && n == 2) {
        step->kind = StepCaption;
        return copyField(f[1], step->text, sizeof step->text);
    }
    if (strcmp(verb, "timeout") == 0 && n == 2) {
        step->kind = StepTimeout;
        step->number = atoi(f[1]);
        return step->number > 0;
    }
    if (strcmp(verb, "ask") == 0 && n == 4) {
        step->kind = StepAsk;
        if (!isAnswer(f[1]) || !isAnswer(f[2])) return false;
        strcpy(step->answer, f[1]);
        strcpy(step->defaultButton, f[2]);
        return unescape(f[3], step->text, sizeof step->text);
    }
    if (strcmp(verb, "tell") == 0 && n >= 2) {
        step->kind = StepTell;
        if (n > 2) f[1][strlen(f[1])] = '|';  // a box text may hold the separator itself
        return unescape(f[1], step->text, sizeof step->text);
    }
    if (strcmp(verb, "browse") == 0 && n == 3) {
        step->kind = StepBrowse;
        return copyField(f[1], step->text, sizeof step->text) &&
               copyField(f[2], step->path, sizeof step->path) && f[2][0] != 0;
    }
    if (strcmp(verb, "cancel") == 0 && n == 2) {
        step->kind = StepCancel;
        return copyField(f[1], step->text, sizeof step->text);
    }
    if (strcmp(verb, "folder") == 0 && n == 2) {
        step->kind = StepFolder;
        step->number = atoi(f[1]);
        return f[1][0] >= '0' && f[1][0] <= '9';
    }
    if (strcmp(verb, "codepage") == 0 && n == 2) {
        step->kind = StepCodePage;
        step->number = atoi(f[1]);
        return step->number > 0;
    }
    if (strcmp(verb, "beside") == 0 && n >= 3) {
        step->kind = StepBeside;
        if (n > 3) f[2][strlen(f[2])] = '|';
        step->number = atoi(f[1]);
        return f[1][0] >= '0' && f[1][0] <= '9' && copyField(f[2], step->text, sizeof step->text);
    }
    if (strcmp(verb, "end") == 0 && (n == 1 || n == 2)) {
        step->kind = StepEnd;
        step->number = n == 2 ? atoi(f[1]) : 0;
        return n == 1 || (f[1][0] >= '0' && f[1][0] <= '9');
    }
    return false;
}

}  // namespace

bool readSteps(const char* fileName, Step** steps, size_t* count, char* error, size_t errorSize) {
    *steps = nullptr;
    *count = 0;
    wchar_t wideName[1024];
    FILE* file = toWide(fileName, wideName, 1024) ? _wfopen(wideName, L"rb") : nullptr;
    if (file == nullptr) {
        snprintf(error, errorSize, "cannot open the steps file \"%s\"", fileName);
        return false;
    }
    size_t capacity = 0;
    char line[8192];
    int number = 0;
    bool ok = true;
    while (ok && fgets(line, sizeof line, file) != nullptr) {
        ++number;
        size_t length = strlen(line);
        if (length + 1 == sizeof line && line[length - 1] != '\n') {
            snprintf(error, errorSize, "line %d of \"%s\" is too long", number, fileName);
            ok = false;
            break;
        }
        while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = 0;
        if (length == 0 || line[0] == '#') continue;
        if (*count == capacity) {
            capacity += 16;
            Step* grown = static_cast<Step*>(realloc(*steps, capacity * sizeof(Step)));
            if (grown == nullptr) {
                snprintf(error, errorSize, "out of memory reading \"%s\"", fileName);
                ok = false;
                break;
            }
            *steps = grown;
        }
        // Every text goes to the system as UTF-16: a line that is not UTF-8 could only be
        // compared as something else.
        wchar_t wide[sizeof line];
        if (!toWide(line, wide, sizeof line)) {
            snprintf(error, errorSize, "line %d of \"%s\" is not UTF-8", number, fileName);
            ok = false;
            break;
        }
        Step* step = &(*steps)[*count];
        memset(step, 0, sizeof *step);
        step->line = number;
        if (!parseStep(line, step)) {
            snprintf(error, errorSize, "line %d of \"%s\" is not a step the automation knows",
                     number, fileName);
            ok = false;
            break;
        }
        ++*count;
    }
    fclose(file);
    if (ok && (*count == 0 || (*steps)[0].kind != StepRun)) {
        snprintf(error, errorSize, "\"%s\" must begin with a run| step", fileName);
        ok = false;
    }
    if (!ok) {
        free(*steps);
        *steps = nullptr;
        *count = 0;
    }
    return ok;
}

void printEscaped(const char* text) {
    putchar('"');
    for (const char* p = text; *p != 0; ++p) {
        switch (*p) {
            case '\n': fputs("\\n", stdout); break;
            case '\r': fputs("\\r", stdout); break;
            case '\t': fputs("\\t", stdout); break;
            case '\\': fputs("\\\\", stdout); break;
            case '"': fputs("\\\"", stdout); break;
            default: putchar(*p);
        }
    }
    putchar('"');
}
