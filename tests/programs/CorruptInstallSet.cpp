// The host setup with a damaged install set in place of the shipped one: its
// FILESET has a row with too few values, so the run must stop with the table
// reader's message after the user confirmed, before anything is written.
#include "platform/host/HostControl.h"
#include "setup/entry/EmbeddedInstallSet.h"

void installEmbeddedInstallSet() {
    using platform::host::EmbeddedResource;
    static const unsigned char fileset[] = "VANTOREL000|Default|%APP%\\a.txt\0VANTOREL001|Default\0\0";
    static const unsigned char filesize[] = "VANTOREL000|1\0\0";
    static const unsigned char lzf[] = {0x92, 0x49, 0x24, 0x92, 0, 0, 0, 0, 0, 0, 0, 1,
                                        0xff, 0xcf, 0, 0, 0, 1, 0xff, 0xcf, 'x'};
    static const EmbeddedResource set[] = {
        {"FILESET", "VANTOREL", fileset, sizeof fileset},
        {"FILESIZE", "VANTOREL", filesize, sizeof filesize},
        {"LZF", "VANTOREL000", lzf, sizeof lzf},
        {"LZF", "TESSALY_UNINSTALLER", lzf, sizeof lzf},
    };
    platform::host::installResources(set, sizeof set / sizeof set[0]);
}
