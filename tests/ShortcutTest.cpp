// Links made by createShortcut, read back by liblnk's lnkinfo: an
// independent reader of the public .lnk format.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "engine/Shortcut.h"
#include "tests/support/TempSandbox.h"

namespace {

const char* const groupDir =
    "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";

struct LinkFields {
    bool read = false;
    std::map<std::string, std::string> values;  // "Local path", "Working directory", ...
    bool has(const std::string& key) const { return values.count(key) != 0; }
    std::string operator[](const std::string& key) const {
        auto it = values.find(key);
        return it == values.end() ? std::string("<absent>") : it->second;
    }
};

bool haveLnkinfo() { return std::system("lnkinfo -V >/dev/null 2>&1") == 0; }

LinkFields lnkinfo(const std::string& hostPath) {
    LinkFields fields;
    std::string command = "lnkinfo '" + hostPath + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return fields;
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    fields.read = ::pclose(pipe) == 0;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string key = line.substr(0, colon);
        key.erase(0, key.find_first_not_of('\t'));
        key.erase(key.find_last_not_of('\t') + 1);
        std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : std::string();
        fields.values[key] = value;
    }
    return fields;
}

class Shortcut : public SandboxTest {
protected:
    void SetUp() override {
        if (!haveLnkinfo()) GTEST_SKIP() << "lnkinfo is not installed (liblnk-utils)";
    }
    LinkFields made(const std::string& link) {
        LinkFields fields = lnkinfo(sandbox.path(link));
        EXPECT_TRUE(fields.read) << "lnkinfo could not read " << link;
        return fields;
    }
    bool exists(const std::string& windowsPath) {
        std::string host = sandbox.path(windowsPath);
        return !host.empty() && std::filesystem::exists(host);
    }
};

// Each kind of link the setup makes, and the properties no caller passes yet.
struct MadeLink {
    const char* link;
    const char* target;
    const char* description;
    const char* arguments;
    const char* workingDirectory;
    const char* expectedWorkingDirectory;
};

TEST_F(Shortcut, EveryKindOfLinkReadsBackAsSet) {
    const MadeLink links[] = {
        // product link in a shortcut group that does not exist yet
        {"C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\"
         "Vantorel Group\\Extras\\Vantorel.lnk",
         "C:\\Program Files\\Vantorel\\Vantorel.exe", nullptr, nullptr, nullptr,
         "C:\\Program Files\\Vantorel"},
        {"C:\\Users\\user\\Desktop\\Manual.lnk", "C:\\Games\\Vantorel\\doc\\Vantorel.html",
         nullptr, nullptr, nullptr, "C:\\Games\\Vantorel\\doc"},
        // the uninstall link: quoted arguments stored as given
        {"C:\\Users\\user\\Desktop\\Uninstall.lnk",
         "C:\\Program Files\\Common Files\\System\\TessalyUninstaller.exe", nullptr,
         "\"C:\\Program Files\\Vantorel\\Vantorel.gus\"", nullptr,
         "C:\\Program Files\\Common Files\\System"},
        {"C:\\Users\\user\\Desktop\\Notes.lnk", "notepad.exe", nullptr, nullptr, nullptr,
         "notepad.exe"},
        {"C:\\Users\\user\\Desktop\\Tool.lnk", "C:\\Tools\\tool.exe", "The tool", "-x 1",
         "D:\\Work", "D:\\Work"},
    };
    for (const MadeLink& m : links) {
        SCOPED_TRACE(m.link);
        ErrorHandle result =
            createShortcut(m.link, m.target, m.description, m.arguments, m.workingDirectory);
        ASSERT_TRUE(result.isNull()) << result.message().text();
        LinkFields f = made(m.link);
        EXPECT_EQ(f["Local path"], m.target);
        EXPECT_EQ(f["Working directory"], m.expectedWorkingDirectory);
        EXPECT_EQ(f["Command line arguments"], m.arguments ? m.arguments : "<absent>");
        EXPECT_EQ(f["Description"], m.description ? m.description : "<absent>");
    }
}

TEST_F(Shortcut, SavingOverAnExistingLinkReplacesIt) {
    const char* link = "C:\\Users\\user\\Desktop\\Game.lnk";
    ASSERT_TRUE(createShortcut(link, "C:\\Old\\old.exe", nullptr, "-old", nullptr).isNull());
    ASSERT_TRUE(createShortcut(link, "C:\\New\\new.exe", nullptr, nullptr, nullptr).isNull());
    LinkFields f = made(link);
    EXPECT_EQ(f["Local path"], "C:\\New\\new.exe");
    EXPECT_FALSE(f.has("Command line arguments"));
}

TEST_F(Shortcut, LongestLinkPathThatFitsIsSaved) {
    std::string link = "C:\\Users\\user\\Desktop\\";
    while (link.size() < 259 - 4) link += link.size() % 60 == 0 ? '\\' : 'n';
    link += ".lnk";
    ASSERT_TRUE(createShortcut(link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr).isNull());
    EXPECT_EQ(made(link)["Local path"], "C:\\a.exe");
}

// ------------------------------------------------------------- failures

using platform::host::Fault;
using platform::host::failCall;

TEST_F(Shortcut, AbsentPathsAreInvalidParameters) {
    EXPECT_STREQ(createShortcut(nullptr, "C:\\a.exe", nullptr, nullptr, nullptr).message().text(),
                 "Invalid Parameters");
    ErrorHandle result = createShortcut("C:\\a.lnk", nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(result.severity(), SeverityError);
    EXPECT_STREQ(result.message().text(), "Invalid Parameters");
}

TEST_F(Shortcut, LinkObjectThatCannotBeCreatedIsReported) {
    failCall(Fault::createLink, 1);
    ErrorHandle result = createShortcut("C:\\Users\\user\\Desktop\\A.lnk", "C:\\a.exe", nullptr,
                                        nullptr, nullptr);
    EXPECT_EQ(result.severity(), SeverityError);
    EXPECT_EQ(result.code(), 0);
    EXPECT_STREQ(result.message().text(), "Could not create IShellLink object");
    EXPECT_FALSE(exists("C:\\Users\\user\\Desktop\\A.lnk"));
}

// A refused save, a link object without IPersistFile and a path too long for
// the conversion all end alike: no file, and the full link path named.
TEST_F(Shortcut, LinksThatCannotBeSavedAreReportedWithTheFullPath) {
    std::string deep = std::string(groupDir) + "\\Vantorel\\Vantorel.lnk";
    std::string longDir = "C:\\Users\\user\\Desktop\\" + std::string(240, 'd');
    struct Case {
        std::string link;
        Fault fault;
    } cases[] = {{deep, Fault::saveLink},
                 {"C:\\Users\\user\\Desktop\\B.lnk", Fault::persistLink},
                 {longDir + "\\x.lnk", Fault::count_}};
    for (const Case& c : cases) {
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
    std::string link = std::string(groupDir) + "\\New Group\\C.lnk";
    failCall(Fault::makeDirectory, 1);
    ErrorHandle result = createShortcut(link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr);
    EXPECT_TRUE(isFailure(result));
    EXPECT_EQ(std::string(result.message().text()).find("shortcut"), std::string::npos)
        << "the directory's own report is passed up";
    EXPECT_FALSE(exists(link));
}

TEST_F(Shortcut, ReadOnlyLinkInTheWayIsNotReplaced) {
    const char* link = "C:\\Users\\user\\Desktop\\D.lnk";
    ASSERT_TRUE(createShortcut(link, "C:\\Old\\old.exe", nullptr, nullptr, nullptr).isNull());
    ::chmod(sandbox.path(link).c_str(), 0444);
    EXPECT_TRUE(isFailure(createShortcut(link, "C:\\New\\new.exe", nullptr, nullptr, nullptr)));
    EXPECT_EQ(made(link)["Local path"], "C:\\Old\\old.exe");
}

}  // namespace
