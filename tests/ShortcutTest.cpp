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

TEST_F(Shortcut, ProductLinkStartsInTheTargetsDirectory) {
    std::string link = std::string(groupDir) + "\\Vantorel.lnk";
    ASSERT_TRUE(createShortcut(link.c_str(), "C:\\Program Files\\Vantorel\\Vantorel.exe", nullptr,
                               nullptr, nullptr)
                    .isNull());
    LinkFields f = made(link);
    EXPECT_EQ(f["Local path"], "C:\\Program Files\\Vantorel\\Vantorel.exe");
    EXPECT_EQ(f["Working directory"], "C:\\Program Files\\Vantorel");
    EXPECT_FALSE(f.has("Command line arguments"));
    EXPECT_FALSE(f.has("Description"));
}

TEST_F(Shortcut, DocumentLinkStartsInTheDocDirectory) {
    const char* link = "C:\\Users\\user\\Desktop\\Manual.lnk";
    ASSERT_TRUE(createShortcut(link, "C:\\Games\\Vantorel\\doc\\Vantorel.html", nullptr, nullptr,
                               nullptr)
                    .isNull());
    LinkFields f = made(link);
    EXPECT_EQ(f["Local path"], "C:\\Games\\Vantorel\\doc\\Vantorel.html");
    EXPECT_EQ(f["Working directory"], "C:\\Games\\Vantorel\\doc");
}

TEST_F(Shortcut, ArgumentsAreStoredExactlyQuotesIncluded) {
    const char* link = "C:\\Users\\user\\Desktop\\Uninstall.lnk";
    const char* target = "C:\\Program Files\\Common Files\\System\\TessalyUninstaller.exe";
    const char* arguments = "\"C:\\Program Files\\Vantorel\\Vantorel.gus\"";
    ASSERT_TRUE(createShortcut(link, target, nullptr, arguments, nullptr).isNull());
    LinkFields f = made(link);
    EXPECT_EQ(f["Local path"], target);
    EXPECT_EQ(f["Command line arguments"], arguments);
    EXPECT_EQ(f["Working directory"], "C:\\Program Files\\Common Files\\System");
}

TEST_F(Shortcut, GivenDescriptionAndWorkingDirectoryAreStored) {
    const char* link = "C:\\Users\\user\\Desktop\\Tool.lnk";
    ASSERT_TRUE(createShortcut(link, "C:\\Tools\\tool.exe", "The tool", "-x 1", "D:\\Work").isNull());
    LinkFields f = made(link);
    EXPECT_EQ(f["Description"], "The tool");
    EXPECT_EQ(f["Command line arguments"], "-x 1");
    EXPECT_EQ(f["Working directory"], "D:\\Work");
}

TEST_F(Shortcut, TargetWithoutBackslashIsItsOwnWorkingDirectory) {
    const char* link = "C:\\Users\\user\\Desktop\\Notes.lnk";
    ASSERT_TRUE(createShortcut(link, "notepad.exe", nullptr, nullptr, nullptr).isNull());
    LinkFields f = made(link);
    EXPECT_EQ(f["Local path"], "notepad.exe");
    EXPECT_EQ(f["Working directory"], "notepad.exe");
}

TEST_F(Shortcut, MissingLinkDirectoryIsCreatedWithItsParents) {
    std::string link = std::string(groupDir) + "\\Vantorel Group\\Extras\\Readme.lnk";
    ASSERT_TRUE(createShortcut(link.c_str(), "C:\\Games\\Vantorel\\readme.txt", nullptr, nullptr,
                               nullptr)
                    .isNull());
    EXPECT_EQ(made(link)["Local path"], "C:\\Games\\Vantorel\\readme.txt");
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
    ASSERT_EQ(link.size(), 259u);
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

TEST_F(Shortcut, FailedSaveNamesTheFullLinkPath) {
    std::string link = std::string(groupDir) + "\\Vantorel\\Vantorel.lnk";
    failCall(Fault::saveLink, 1);
    ErrorHandle result = createShortcut(link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr);
    EXPECT_EQ(result.severity(), SeverityError);
    EXPECT_EQ(result.code(), 0);
    EXPECT_EQ(std::string(result.message().text()), "Could not save shortcut file \"" + link + "\"");
    EXPECT_FALSE(exists(link));
}

TEST_F(Shortcut, RefusedPersistenceIsAFailureNotALink) {
    const char* link = "C:\\Users\\user\\Desktop\\B.lnk";
    failCall(Fault::persistLink, 1);
    ErrorHandle result = createShortcut(link, "C:\\a.exe", nullptr, nullptr, nullptr);
    EXPECT_TRUE(isFailure(result));
    EXPECT_STREQ(result.message().text(),
                 "Could not save shortcut file \"C:\\Users\\user\\Desktop\\B.lnk\"");
    EXPECT_FALSE(exists(link));
}

TEST_F(Shortcut, LinkPathTooLongForConversionIsRefusedBeforeAnythingIsMade) {
    std::string dir = "C:\\Users\\user\\Desktop\\" + std::string(120, 'd') + "\\" + std::string(120, 'e');
    std::string link = dir + "\\x.lnk";
    ASSERT_GE(link.size(), 260u);
    ErrorHandle result = createShortcut(link.c_str(), "C:\\a.exe", nullptr, nullptr, nullptr);
    EXPECT_TRUE(isFailure(result));
    EXPECT_EQ(std::string(result.message().text()), "Could not save shortcut file \"" + link + "\"");
    EXPECT_FALSE(exists(dir));
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
