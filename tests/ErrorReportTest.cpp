#include <gtest/gtest.h>

#include <string>

#include "foundation/ErrorReport.h"
#include "platform/System.h"

TEST(ErrorReport, TextStopRuleAndTheFirstWorstKept) {
    EXPECT_STREQ(reportText(makeReport(4, "m", -3)).text(), "Error: m (-3)");
    EXPECT_STREQ(reportText(makeReport(6, "x", 0)).text(), "Fatal Error: x");
    EXPECT_STREQ(reportText(makeReport(3, "odd", 0)).text(), ": odd");  // unnamed severity
    EXPECT_STREQ(reportText(insufficientMemory()).text(), "Error: Insufficient Memory");
    std::string path(3000, 'p');  // rendered whole, not cut at a fixed buffer
    EXPECT_EQ(std::string(reportText(makeError(path.c_str())).text()), "Error: " + path);

    EXPECT_FALSE(isFailure(makeReport(3, "m", 0)));
    EXPECT_TRUE(isFailure(makeReport(4, "m", 0)));
    ErrorHandle current;
    keepWorst(current, makeReport(1, "info", 0));
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
    EXPECT_STREQ(lastSystemError().message().text(), "Access is denied.\r\n");
    platform::setLastErrorCode(0xDEAD);  // no text for it: still a failure
    EXPECT_EQ(lastSystemError().severity(), SeverityError);
    platform::setLastErrorCode(0);
}
