#include <gtest/gtest.h>

#include <string>

#include "installset/InstallSet.h"
#include "installset/TableResource.h"
#include "tests/support/ScopedResource.h"

namespace {

// Rows joined by NUL, ended as the shipped tables are.
std::string table(std::initializer_list<const char*> rows) {
    std::string bytes;
    for (const char* row : rows) bytes += std::string(row) + '\0';
    return bytes + std::string(2, '\0');
}

// The failure's message, or "".
std::string parse(InstallSet& set, const std::string& fileSet, const std::string& fileSize) {
    ScopedResource a("FILESET", "VANTOREL", fileSet), b("FILESIZE", "VANTOREL", fileSize);
    return set.parseInstallSet("VANTOREL").message().text();
}

}  // namespace

TEST(ReadTableResource, RowsUpToTheEmptyRowOrTheResourceEnd) {
    GrowableArray<String> rows, cut;
    EXPECT_STREQ(readTableResource("VANTOREL", "FILEGROUP", rows).message().text(), "Could not find resource");
    platform::host::putUnloadableResource("FILEGROUP", "VANTOREL");
    EXPECT_STREQ(readTableResource("VANTOREL", "FILEGROUP", rows).message().text(), "Could not load resource");
    {
        ScopedResource r("FILEGROUP", "VANTOREL", std::string("Default\0\0Ignored\0\0", 19));
        EXPECT_TRUE(readTableResource("VANTOREL", "FILEGROUP", rows).isNull());
        ASSERT_EQ(rows.size(), 1);
    }
    ScopedResource r("FILEGROUP", "VANTOREL", std::string("One\0Two", 7));  // no empty row
    EXPECT_TRUE(readTableResource("VANTOREL", "FILEGROUP", cut).isNull());
    ASSERT_EQ(cut.size(), 2);
    EXPECT_STREQ(cut[1].text(), "Two");
}

TEST(ParseInstallSet, RowsBecomeEntriesAndDestinations) {
    InstallSet set;
    ASSERT_EQ(parse(set,
                    table({"VANTOREL000|Default|%WIN%\\Vantorel.scr", "VANTOREL001|Default|%APP%\\V.exe|Vantorel|y",
                           "VANTOREL002|Default|%APP%\\b.txt|", "VANTOREL003|Default|%APP%\\c.txt|Notes|Yes",
                           "VANTOREL001|Extra|%APP%\\copy.exe"}),
                    table({"VANTOREL001|12abc", "VANTOREL002|words", "VANTOREL000| +77|x"})),
              "");
    ASSERT_EQ(set.entries.size(), 4);
    FileSetEntry* program = set.findEntry("VANTOREL001");
    ASSERT_EQ(program, set.entries[1]);
    ASSERT_EQ(program->destinations.size(), 2);
    EXPECT_STREQ(program->destinations[0]->title.text(), "Vantorel");
    EXPECT_EQ(program->destinations[0]->desktop, 1) << "lower-case y";
    EXPECT_STREQ(program->destinations[1]->group.text(), "Extra");
    EXPECT_EQ(program->length, 12);
    EXPECT_EQ(set.entries[2]->length, 0) << "letters only";
    EXPECT_STREQ(set.entries[2]->destinations[0]->title.text(), "") << "separator at row end";
    EXPECT_EQ(set.entries[3]->destinations[0]->desktop, 0) << "a word beginning with Y is no";
    EXPECT_EQ(set.entries[0]->length, 77);
    EXPECT_EQ(set.findEntry("vantorel001"), nullptr) << "names compare with case";
}

TEST(ParseInstallSet, FaultsNameTheirTable) {
    InstallSet partial;
    EXPECT_EQ(parse(partial, table({"VANTOREL000|Default|%APP%\\a", "VANTOREL001||%APP%\\b"}), table({})),
              "Invalid FILESET resource, empty values");
    EXPECT_EQ(partial.entries.size(), 1) << "entries made before the fault stay";
    const char* const cases[][3] = {
        {"VANTOREL000|Default", "", "Invalid FILESET resource, incorrect number of values in row"},
        {"VANTOREL000|Default|%APP%\\a", "VANTOREL000", "Invalid FILESIZE resource, incorrect number of values in row"},
        {"VANTOREL000|Default|%APP%\\a", "VANTOREL000|", "Invalid FILESIZE resource, empty values"},
        {"VANTOREL000|Default|%APP%\\a", "VANTOREL009|10", "Resource name in FILESIZE not found in FILESET"},
        {"VANTOREL000|Default|%APP%\\a", "VANTOREL000|-1", "Invalid installed file size in FILESIZE resource"},
        {"VANTOREL000|Default|%APP%\\a", "VANTOREL000|2147483648", "Invalid installed file size in FILESIZE resource"},
        {"VANTOREL000|Default|%APP%\\a", "VANTOREL000|2147483647", ""},
    };
    for (const auto& c : cases) {
        InstallSet s;
        EXPECT_EQ(parse(s, table({c[0]}), *c[1] ? table({c[1]}) : table({})), c[2]) << c[1];
    }
}

TEST(CheckPackedResources, EveryEntryNeedsItsLzfResource) {
    InstallSet set;
    EXPECT_EQ(parse(set, table({"VANTOREL000|Default|%APP%\\a", "VANTOREL001|Default|%APP%\\b"}), table({})), "");
    ScopedResource present("LZF", "VANTOREL000", std::string("anything"));
    EXPECT_STREQ(set.checkPackedResources().message().text(), "Install set is corrupt.\nResource VANTOREL001 not found.");
    ScopedResource second("LZF", "VANTOREL001", std::string());
    EXPECT_TRUE(set.checkPackedResources().isNull());
}
