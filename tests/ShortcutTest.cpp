// Links made by createShortcut, read back by liblnk's lnkinfo: an
// independent reader of the public .lnk format.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/Shortcut.h"
#include "tests/support/TempSandbox.h"

namespace {

using platform::host::Call;
using platform::host::failCall;

const std::string desktop = "C:\\Users\\user\\Desktop\\";
const std::string groupDir = "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\";

class Shortcut : public SandboxTest {
protected:
    void SetUp() override {
        if (std::system("lnkinfo -V >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "lnkinfo is not installed (liblnk-utils)";
    }
    // One field of lnkinfo's listing of the link, "<absent>" when not listed.
    std::string field(const std::string& link, const std::string& key) {
        std::string listing = sandbox.root() + "/lnkinfo.txt";
        EXPECT_EQ(std::system(("lnkinfo '" + sandbox.path(link) + "' >'" + listing + "'").c_str()), 0)
            << "lnkinfo could not read " << link;
        std::string out = sandbox.readHostFile(listing);
        size_t at = out.find("\t" + key + "\t");
        if (at == std::string::npos) return "<absent>";
        at = out.find(": ", at) + 2;
        return out.substr(at, out.find('\n', at) - at);
    }
    // A failure with no file left, or the link's target as read back.
    std::string make(const std::string& link, const char* target = "C:\\a.exe",
                     const char* arguments = nullptr) {
        ErrorHandle result = createShortcut(link.c_str(), target, nullptr, arguments, nullptr);
        if (result.isNull()) return field(link, "Local path");
        EXPECT_EQ(result.severity(), SeverityError);
        EXPECT_EQ(result.code(), 0);
        EXPECT_FALSE(std::filesystem::exists(sandbox.path(link)));
        return result.message().text();
    }
};

TEST_F(Shortcut, EveryKindOfLinkReadsBackAsSetAndReplacesAnOldOne) {
    // In a group that does not exist yet, the working directory comes from the target.
    std::string link = groupDir + "Vantorel Group\\Extras\\Vantorel.lnk";
    EXPECT_EQ(make(link, "C:\\Program Files\\Vantorel\\Vantorel.exe"), "C:\\Program Files\\Vantorel\\Vantorel.exe");
    EXPECT_EQ(field(link, "Working directory"), "C:\\Program Files\\Vantorel");
    EXPECT_EQ(field(link, "Description"), "<absent>");
    EXPECT_EQ(make(desktop + "Notes.lnk", "notepad.exe"), "notepad.exe");
    EXPECT_EQ(field(desktop + "Notes.lnk", "Working directory"), "notepad.exe");
    // Quoted arguments, as the uninstall link has them, are stored as given.
    const char* arguments = "\"C:\\Program Files\\Vantorel\\Vantorel.gus\"";
    link = desktop + "Tool.lnk";
    ASSERT_TRUE(createShortcut(link.c_str(), "C:\\tool.exe", "The tool", arguments, "D:\\Work").isNull());
    EXPECT_EQ(field(link, "Local path"), "C:\\tool.exe");
    EXPECT_EQ(field(link, "Working directory"), "D:\\Work");
    EXPECT_EQ(field(link, "Command line arguments"), arguments);
    EXPECT_EQ(field(link, "Description"), "The tool");
    // The longest link path that fits.
    for (link = desktop; link.size() < 259 - 4;) link += link.size() % 60 == 0 ? '\\' : 'n';
    EXPECT_EQ(make(link + ".lnk"), "C:\\a.exe");
    // An existing link is replaced, unless it is read-only.
    link = desktop + "Game.lnk";
    EXPECT_EQ(make(link, "C:\\Old\\old.exe", "-old"), "C:\\Old\\old.exe");
    EXPECT_EQ(make(link, "C:\\New\\new.exe"), "C:\\New\\new.exe");
    EXPECT_EQ(field(link, "Command line arguments"), "<absent>");
    ::chmod(sandbox.path(link).c_str(), 0444);
    EXPECT_TRUE(isFailure(createShortcut(link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr)));
    EXPECT_EQ(field(link, "Local path"), "C:\\New\\new.exe");
}

TEST_F(Shortcut, FailuresAreReportedAndLeaveNoLink) {
    EXPECT_STREQ(createShortcut(nullptr, "C:\\a.exe", nullptr, nullptr, nullptr).message().text(),
                 "Invalid Parameters");
    EXPECT_EQ(make("C:\\a.lnk", nullptr), "Invalid Parameters");
    failCall(Call::createShellLink, 1);
    EXPECT_EQ(make(desktop + "A.lnk"), "Could not create IShellLink object");

    // A link object without IPersistFile and a path too long for the conversion name
    // the full link path, as a refused save does.
    failCall(Call::queryPersistFile, 1);
    EXPECT_EQ(make(desktop + "B.lnk"), "Could not save shortcut file \"" + desktop + "B.lnk\"");
    std::string longDir = desktop + std::string(240, 'd');
    EXPECT_EQ(make(longDir + "\\x.lnk"), "Could not save shortcut file \"" + longDir + "\\x.lnk\"");
    EXPECT_FALSE(std::filesystem::exists(sandbox.path(longDir))) << "refused before anything is made";

    failCall(Call::makeDirectory, 1);
    EXPECT_EQ(make(groupDir + "New Group\\C.lnk").rfind("Cannot create directory", 0), 0u)
        << "the directory's own report is passed up";
}

}  // namespace
