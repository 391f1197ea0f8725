// The steps file that tells the automation what a person would do at each box. It is UTF-8, as
// are the texts of its steps.
#pragma once

#include <stddef.h>

enum StepKind {
    StepRun,      // run|<command line>
    StepCaption,  // caption|<caption of the boxes that follow>
    StepTimeout,  // timeout|<seconds to wait for each following box>
    StepAsk,      // ask|<Yes or No to press>|<Yes or No expected as default>|<text>
    StepTell,     // tell|<text of a box with only OK>; {csidl:N} in a text is that folder's path
    StepBrowse,   // browse|<title label>|<path, or csidl:N>
    StepCancel,   // cancel|<title label>
    StepFolder,   // folder|<N>: log the path of special folder N for the checks outside
    StepCodePage, // codepage|<N>: the system's ANSI code page must be N (the locale took)
    StepBeside,   // beside|<exit code>|<command line>: once the program shows its next box or
                  // browser, run another program to its end beside it, without answering
                  // anything, and expect that exit code; the box stays for the next step
    StepEnd       // end[|<exit code>]: the program must end without showing anything more,
                  // with that exit code (0 unless given)
};

struct Step {
    StepKind kind;
    int line;
    char answer[8];     // "Yes", "No" for StepAsk
    char defaultButton[8];
    char text[4096];    // box text with escapes resolved; title; caption; command line
    char path[1024];    // browser choice, or csidl:N
    int number;         // timeout seconds, folder number, exit code, code page
};

// Reads every step of the file (its name in UTF-8); on failure writes a message naming the line
// into `error`. The caller frees *steps with free().
bool readSteps(const char* fileName, Step** steps, size_t* count, char* error, size_t errorSize);

// Writes `text` with CR, LF, tab, backslash and double quote escaped, for the log.
void printEscaped(const char* text);
