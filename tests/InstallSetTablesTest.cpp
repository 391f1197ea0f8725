#include <gtest/gtest.h>

#include <memory>
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

struct Tables {
    Tables(const std::string& fileSet, const std::string& fileSize)
        : set_("FILESET", "VANTOREL", fileSet), size_("FILESIZE", "VANTOREL", fileSize) {}
    ScopedResource set_, size_;
};

std::string parse(InstallSet& set) { return set.parseInstallSet("VANTOREL").message().text(); }

}  // namespace

TEST(SplitFields, EverySeparatorEndsAField) {
    EXPECT_EQ(splitFields("", '|').size(), 0);
    GrowableArray<String> f = splitFields("a||b", '|');
    ASSERT_EQ(f.size(), 3);
    EXPECT_STREQ(f[1].text(), "");
    EXPECT_STREQ(f[2].text(), "b");
    f = splitFields("a|b|", '|');
    ASSERT_EQ(f.size(), 3);
    EXPECT_STREQ(f[2].text(), "");
    EXPECT_EQ(splitFields("|", '|').size(), 2);
}

TEST(ReadTableResource, RowsUpToTheEmptyRowOrTheResourceEnd) {
    GrowableArray<String> rows;
    EXPECT_STREQ(readTableResource("VANTOREL", "FILEGROUP", rows).message().text(), "Could not find resource");
    platform::host::putUnloadableResource("FILEGROUP", "VANTOREL");
    EXPECT_STREQ(readTableResource("VANTOREL", "FILEGROUP", rows).message().text(), "Could not load resource");
    {
        ScopedResource r("FILEGROUP", "VANTOREL", std::string("Default\0\0Ignored\0\0", 19));
        EXPECT_TRUE(readTableResource("VANTOREL", "FILEGROUP", rows).isNull());
        ASSERT_EQ(rows.size(), 1);
        EXPECT_STREQ(rows[0].text(), "Default");
    }
    {
        // No terminating empty row: the last row ends with the resource.
        ScopedResource r("FILEGROUP", "VANTOREL", std::string("One\0Two", 7));
        GrowableArray<String> cut;
        EXPECT_TRUE(readTableResource("VANTOREL", "FILEGROUP", cut).isNull());
        ASSERT_EQ(cut.size(), 2);
        EXPECT_STREQ(cut[1].text(), "Two");
    }
    {
        ScopedResource r("FILEGROUP", "VANTOREL", std::string());
        GrowableArray<String> none;
        EXPECT_TRUE(readTableResource("VANTOREL", "FILEGROUP", none).isNull());
        EXPECT_EQ(none.size(), 0);
    }
}

TEST(ParseInstallSet, RowsBecomeEntriesAndDestinations) {
    Tables t(table({"VANTOREL000|Default|%WIN%\\Vantorel.scr",
                    "VANTOREL001|Default|%APP%\\Vantorel.exe|Vantorel|Y",
                    "VANTOREL002|Default|%APP%\\doc\\a.html|Guide|y|extra",
                    "VANTOREL003|Default|%APP%\\b.txt|",
                    "VANTOREL004|Default|%APP%\\c.txt|Notes|Yes",
                    "VANTOREL001|Extra|%APP%\\copy.exe"}),
             table({"VANTOREL001|1234", "VANTOREL002|12abc", "VANTOREL003|words", "VANTOREL000| +77|x"}));
    InstallSet set;
    EXPECT_EQ(parse(set), "");
    ASSERT_EQ(set.entries.size(), 5);
    FileSetEntry* program = set.findEntry("VANTOREL001");
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program, set.entries[1]);
    ASSERT_EQ(program->destinations.size(), 2);
    EXPECT_STREQ(program->destinations[0]->title.text(), "Vantorel");
    EXPECT_EQ(program->destinations[0]->desktop, 1);
    EXPECT_STREQ(program->destinations[1]->group.text(), "Extra");
    EXPECT_EQ(program->length, 1234);
    EXPECT_EQ(set.entries[2]->destinations[0]->desktop, 1) << "lower-case y";
    EXPECT_EQ(set.entries[2]->length, 12);
    EXPECT_STREQ(set.entries[3]->destinations[0]->title.text(), "") << "separator at row end";
    EXPECT_EQ(set.entries[3]->length, 0) << "letters only";
    EXPECT_EQ(set.entries[4]->destinations[0]->desktop, 0) << "a word beginning with Y is no";
    EXPECT_EQ(set.entries[0]->length, 77);
    EXPECT_EQ(set.findEntry("vantorel001"), nullptr) << "names compare with case";
}

TEST(ParseInstallSet, FileSetFaults) {
    {
        Tables t(table({"VANTOREL000|Default"}), table({}));
        InstallSet set;
        EXPECT_EQ(parse(set), "Invalid FILESET resource, incorrect number of values in row");
    }
    {
        Tables t(table({"VANTOREL000|Default|%APP%\\a", "VANTOREL001||%APP%\\b"}), table({}));
        InstallSet set;
        EXPECT_EQ(parse(set), "Invalid FILESET resource, empty values");
        EXPECT_EQ(set.entries.size(), 1) << "entries made before the fault stay";
    }
    {
        ScopedResource only("FILESET", "VANTOREL", table({}));
        InstallSet set;
        EXPECT_EQ(parse(set), "Could not find resource") << "FILESIZE is read before any row";
    }
}

TEST(ParseInstallSet, FileSizeFaults) {
    const std::string fileSet = table({"VANTOREL000|Default|%APP%\\a"});
    struct Case {
        const char* row;
        const char* message;
    } cases[] = {
        {"VANTOREL000", "Invalid FILESIZE resource, incorrect number of values in row"},
        {"VANTOREL000|", "Invalid FILESIZE resource, empty values"},
        {"VANTOREL009|10", "Resource name in FILESIZE not found in FILESET"},
        {"VANTOREL000|-1", "Invalid installed file size in FILESIZE resource"},
        {"VANTOREL000|2147483648", "Invalid installed file size in FILESIZE resource"},
        {"VANTOREL000|99999999999999999999", "Invalid installed file size in FILESIZE resource"},
    };
    for (const Case& c : cases) {
        Tables t(fileSet, table({c.row}));
        InstallSet set;
        EXPECT_EQ(parse(set), c.message) << c.row;
    }
    Tables t(fileSet, table({"VANTOREL000|2147483647", "VANTOREL000|-0"}));
    InstallSet set;
    EXPECT_EQ(parse(set), "");
    EXPECT_EQ(set.entries[0]->length, 0) << "a later row overwrites";
}

TEST(ParseInstallSet, EmptyTables) {
    {
        Tables t(std::string(1, '\0'), std::string(1, '\0'));
        InstallSet set;
        EXPECT_EQ(parse(set), "");
        EXPECT_EQ(set.entries.size(), 0);
    }
    Tables t(std::string(1, '\0'), table({"VANTOREL000|5"}));
    InstallSet set;
    EXPECT_EQ(parse(set), "Resource name in FILESIZE not found in FILESET");
}

TEST(CheckPackedResources, EveryEntryNeedsItsLzfResource) {
    Tables t(table({"VANTOREL000|Default|%APP%\\a", "VANTOREL001|Default|%APP%\\b"}), table({}));
    ScopedResource present("LZF", "VANTOREL000", std::string("anything"));
    InstallSet set;
    EXPECT_EQ(parse(set), "");
    EXPECT_STREQ(set.checkPackedResources().message().text(),
                 "Install set is corrupt.\nResource VANTOREL001 not found.");
    ScopedResource second("LZF", "VANTOREL001", std::string());
    EXPECT_TRUE(set.checkPackedResources().isNull());
}
