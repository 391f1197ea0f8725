// Outcomes of fallible operations: a shared report, or null for success.
#pragma once

#include <cstdint>

#include "foundation/String.h"

typedef int32_t ErrorSeverity;
enum : int32_t {
    SeverityNone = 0,
    SeverityInfo = 1,
    SeverityWarning = 2,
    SeverityError = 4,
    SeverityFatal = 6,
};

struct ErrorReport {
    ErrorSeverity severity;
    String message;
    int32_t code;
    int32_t refCount;
};

class ErrorHandle {
public:
    ErrorHandle() : report_(nullptr) {}
    explicit ErrorHandle(ErrorReport* report) : report_(report) {}  // takes the record's count
    ErrorHandle(const ErrorHandle& other);
    ~ErrorHandle();
    ErrorHandle& operator=(const ErrorHandle& other);

    bool isNull() const { return report_ == nullptr; }
    ErrorSeverity severity() const { return report_ == nullptr ? SeverityNone : report_->severity; }
    String message() const { return report_ == nullptr ? String() : report_->message; }
    int32_t code() const { return report_ == nullptr ? 0 : report_->code; }
    const ErrorReport* report() const { return report_; }

private:
    ErrorReport* report_;
};

ErrorHandle makeReport(ErrorSeverity severity, const String& message, int32_t code);
// A failure of severity Error and code 0: the form of every report the system makes.
ErrorHandle makeError(const String& message);
ErrorHandle noError();
ErrorHandle insufficientMemory();
ErrorHandle invalidParameters();
ErrorHandle lastSystemError();
// The system's text for a code, without the line end system texts carry, to
// follow a message's own words; "system error N" when the system has none.
String systemReason(uint32_t code);

bool isFailure(const ErrorHandle& handle);
const char* severityName(ErrorSeverity severity);
String reportText(const ErrorHandle& handle);

// Keep the worst: later replaces current only when strictly more severe.
void keepWorst(ErrorHandle& current, const ErrorHandle& later);
