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

using platform::host::Fault;
using platform::host::failCall;

const std::string desktop = "C:\\Users\\user\\Desktop\\";
const std::string groupDir =
    "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\";

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
    bool exists(const std::string& windowsPath) {
        return std::filesystem::exists(sandbox.path(windowsPath));
    }
};

TEST_F(Shortcut, EveryKindOfLinkReadsBackAsSet) {
    struct {
        std::string link;
        const char *target, *description, *arguments, *workingDirectory, *expectedDirectory;
    } const links[] = {
        // in a shortcut group that does not exist yet; the directory comes from the target
        {groupDir + "Vantorel Group\\Extras\\Vantorel.lnk",
         "C:\\Program Files\\Vantorel\\Vantorel.exe", nullptr, nullptr, nullptr,
         "C:\\Program Files\\Vantorel"},
        {desktop + "Notes.lnk", "notepad.exe", nullptr, nullptr, nullptr, "notepad.exe"},
        // quoted arguments, as the uninstall link has them, are stored as given
        {desktop + "Tool.lnk", "C:\\Tools\\tool.exe", "The tool",
         "\"C:\\Program Files\\Vantorel\\Vantorel.gus\"", "D:\\Work", "D:\\Work"},
    };
    for (const auto& m : links) {
        SCOPED_TRACE(m.link);
        ErrorHandle result = createShortcut(m.link.c_str(), m.target, m.description, m.arguments,
                                            m.workingDirectory);
        ASSERT_TRUE(result.isNull()) << result.message().text();
        EXPECT_EQ(field(m.link, "Local path"), m.target);
        EXPECT_EQ(field(m.link, "Working directory"), m.expectedDirectory);
        EXPECT_EQ(field(m.link, "Command line arguments"), m.arguments ? m.arguments : "<absent>");
        EXPECT_EQ(field(m.link, "Description"), m.description ? m.description : "<absent>");
    }
}

TEST_F(Shortcut, ExistingLinkIsReplacedUnlessReadOnly) {
    std::string link = desktop + "Game.lnk";
    ASSERT_TRUE(createShortcut(link.c_str(), "C:\\Old\\old.exe", nullptr, "-old", nullptr).isNull());
    ASSERT_TRUE(createShortcut(link.c_str(), "C:\\New\\new.exe", nullptr, nullptr, nullptr).isNull());
    EXPECT_EQ(field(link, "Local path"), "C:\\New\\new.exe");
    EXPECT_EQ(field(link, "Command line arguments"), "<absent>");

    ::chmod(sandbox.path(link).c_str(), 0444);
    EXPECT_TRUE(isFailure(createShortcut(link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr)));
    EXPECT_EQ(field(link, "Local path"), "C:\\New\\new.exe");
}

TEST_F(Shortcut, LongestLinkPathThatFitsIsSaved) {
    std::string link = desktop;
    while (link.size() < 259 - 4) link += link.size() % 60 == 0 ? '\\' : 'n';
    link += ".lnk";
    ASSERT_TRUE(createShortcut(link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr).isNull());
    EXPECT_EQ(field(link, "Local path"), "C:\\a.exe");
}

TEST_F(Shortcut, AbsentPathsAndMissingLinkObjectAreReported) {
    EXPECT_STREQ(createShortcut(nullptr, "C:\\a.exe", nullptr, nullptr, nullptr).message().text(),
                 "Invalid Parameters");
    ErrorHandle result = createShortcut("C:\\a.lnk", nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(result.severity(), SeverityError);
    EXPECT_STREQ(result.message().text(), "Invalid Parameters");

    failCall(Fault::createLink, 1);
    result = createShortcut((desktop + "A.lnk").c_str(), "C:\\a.exe", nullptr, nullptr, nullptr);
    EXPECT_EQ(result.severity(), SeverityError);
    EXPECT_EQ(result.code(), 0);
    EXPECT_STREQ(result.message().text(), "Could not create IShellLink object");
    EXPECT_FALSE(exists(desktop + "A.lnk"));
}

// A refused save, a link object without IPersistFile and a path too long for
// the conversion all end alike: no file, and the full link path named.
TEST_F(Shortcut, LinksThatCannotBeSavedAreReportedWithTheFullPath) {
    std::string longDir = desktop + std::string(240, 'd');
    struct {
        std::string link;
        Fault fault;
    } const cases[] = {{groupDir + "Vantorel\\Vantorel.lnk", Fault::saveLink},
                       {desktop + "B.lnk", Fault::persistLink},
                       {longDir + "\\x.lnk", Fault::count_}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        if (c.fault != Fault::count_) failCall(c.fault, 1);
        ErrorHandle result = createShortcut(c.link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr);
        EXPECT_EQ(result.severity(), SeverityError);
        EXPECT_EQ(result.code(), 0);
        EXPECT_EQ(std::string(result.message().text()),
                  "Could not save shortcut file \"" + c.link + "\"");
        EXPECT_FALSE(exists(c.link));
    }
    EXPECT_FALSE(exists(longDir)) << "a path too long is refused before anything is made";
}

TEST_F(Shortcut, DirectoryThatCannotBeCreatedStopsTheLink) {
    std::string link = groupDir + "New Group\\C.lnk";
    failCall(Fault::makeDirectory, 1);
    ErrorHandle result = createShortcut(link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr);
    EXPECT_TRUE(isFailure(result));
    EXPECT_EQ(std::string(result.message().text()).find("shortcut"), std::string::npos)
        << "the directory's own report is passed up";
    EXPECT_FALSE(exists(link));
}

}  // namespace
