#include <gtest/gtest.h>

#include <string>

#include "foundation/ErrorReport.h"
#include "platform/platform.h"

TEST(ErrorSeverity, NamesOnlyTheFiveValuesOfTheScale) {
    EXPECT_STREQ(severityName(0), "None");
    EXPECT_STREQ(severityName(1), "Info");
    EXPECT_STREQ(severityName(2), "Warning");
    EXPECT_STREQ(severityName(4), "Error");
    EXPECT_STREQ(severityName(6), "Fatal Error");
    for (int unnamed : {-1, 3, 5, 7, 100}) EXPECT_STREQ(severityName(unnamed), "") << unnamed;
}

TEST(ErrorSeverity, StopRuleIsAboveThree) {
    EXPECT_FALSE(isFailure(noError()));
    EXPECT_FALSE(isFailure(makeReport(1, "m", 0)));
    EXPECT_FALSE(isFailure(makeReport(2, "m", 0)));
    EXPECT_FALSE(isFailure(makeReport(3, "m", 0)));
    EXPECT_TRUE(isFailure(makeReport(4, "m", 0)));
    EXPECT_TRUE(isFailure(makeReport(6, "m", 0)));
    EXPECT_FALSE(isFailure(makeReport(-2, "m", 0)));
}

TEST(ErrorReportText, WithAndWithoutCode) {
    EXPECT_STREQ(reportText(makeReport(4, "disk full", 0)).text(), "Error: disk full");
    EXPECT_STREQ(reportText(makeReport(4, "disk full", 7)).text(), "Error: disk full (7)");
    EXPECT_STREQ(reportText(makeReport(4, "m", -3)).text(), "Error: m (-3)");
    EXPECT_STREQ(reportText(makeReport(1, "hi", 0)).text(), "Info: hi");
    EXPECT_STREQ(reportText(makeReport(3, "odd", 0)).text(), ": odd");
    EXPECT_STREQ(reportText(makeReport(-1, "below", 0)).text(), "");
    EXPECT_STREQ(reportText(noError()).text(), "");
    EXPECT_TRUE(makeReport(SeverityNone, "ignored", 9).isNull());
    EXPECT_STREQ(reportText(insufficientMemory()).text(), "Error: Insufficient Memory");
    EXPECT_STREQ(reportText(invalidParameters()).text(), "Error: Invalid Parameters");
}

TEST(ErrorReportText, LongMessageRendersWhole) {
    std::string path(3000, 'p');
    String text = reportText(makeError(path.c_str()));
    EXPECT_EQ(std::string(text.text()), "Error: " + path);
}

TEST(ErrorHandleSharing, LastHandleDestroysTheRecord) {
    ErrorHandle a = makeError("shared");
    const ErrorReport* record = a.report();
    {
        ErrorHandle b(a);
        EXPECT_EQ(record->refCount, 2);
        ErrorHandle c;
        c = b;
        EXPECT_EQ(record->refCount, 3);
        c = c;
        EXPECT_EQ(record->refCount, 3);
    }
    EXPECT_EQ(record->refCount, 1);
    EXPECT_STREQ(a.message().text(), "shared");
    ErrorHandle other = makeError("other");
    a = other;  // the old record goes here; the sanitizer build checks it is not touched again
    EXPECT_EQ(other.report()->refCount, 2);
    a = noError();
    EXPECT_EQ(other.report()->refCount, 1);
}

TEST(ErrorHandleCombining, KeepWorstReplacesOnlyWhenStrictlyWorse) {
    ErrorHandle current;
    keepWorst(current, makeReport(1, "info", 0));
    EXPECT_STREQ(current.message().text(), "info");
    keepWorst(current, makeReport(1, "second info", 0));
    EXPECT_STREQ(current.message().text(), "info");
    keepWorst(current, noError());
    EXPECT_STREQ(current.message().text(), "info");
    keepWorst(current, makeError("first error"));
    keepWorst(current, makeError("second error"));
    EXPECT_STREQ(current.message().text(), "first error");
}

TEST(LastSystemError, ReadsLikeTheSystemWithItsLineEnding) {
    platform::setLastErrorCode(0);
    EXPECT_TRUE(lastSystemError().isNull());
    platform::setLastErrorCode(5);
    ErrorHandle e = lastSystemError();
    EXPECT_EQ(e.severity(), SeverityError);
    EXPECT_EQ(e.code(), 0);
    EXPECT_STREQ(e.message().text(), "Access is denied.\r\n");
    for (uint32_t code : {2u, 3u, 80u, 112u, 145u, 183u}) {
        platform::setLastErrorCode(code);
        std::string text = lastSystemError().message().text();
        EXPECT_TRUE(text.size() > 3 && text.substr(text.size() - 3) == ".\r\n") << code;
    }
    platform::setLastErrorCode(0xDEAD);  // no text for it: still a failure
    EXPECT_EQ(lastSystemError().severity(), SeverityError);
    platform::setLastErrorCode(0);
}
