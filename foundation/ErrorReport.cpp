#include "foundation/ErrorReport.h"

#include "platform/System.h"

ErrorHandle::ErrorHandle(const ErrorHandle& other) : report_(other.report_) {
    if (report_ != nullptr) ++report_->refCount;
}

ErrorHandle::~ErrorHandle() {
    if (report_ != nullptr && --report_->refCount == 0) delete report_;
}

ErrorHandle& ErrorHandle::operator=(const ErrorHandle& other) {
    if (this == &other) return *this;
    ErrorReport* old = report_;
    report_ = other.report_;
    if (report_ != nullptr) ++report_->refCount;
    if (old != nullptr && --old->refCount == 0) delete old;
    return *this;
}

ErrorHandle makeReport(ErrorSeverity severity, const String& message, int32_t code) {
    if (severity == SeverityNone) return ErrorHandle();
    return ErrorHandle(new ErrorReport{severity, message, code, 1});
}

ErrorHandle makeError(const String& message) { return makeReport(SeverityError, message, 0); }

ErrorHandle noError() { return ErrorHandle(); }

ErrorHandle insufficientMemory() { return makeError("Insufficient Memory"); }

ErrorHandle invalidParameters() { return makeError("Invalid Parameters"); }

ErrorHandle lastSystemError() {
    uint32_t code = platform::lastErrorCode();
    if (code == 0) return ErrorHandle();
    char text[512];
    if (platform::systemErrorText(code, text, sizeof text) != platform::statusOk) text[0] = '\0';
    return makeError(text);
}

String systemReason(uint32_t code) {
    char text[512];
    String reason;
    if (platform::systemErrorText(code, text, sizeof text) == platform::statusOk) reason = text;
    reason.trimRight();
    if (reason.isEmpty()) reason.format("system error %lu", static_cast<unsigned long>(code));
    return reason;
}

bool isFailure(const ErrorHandle& handle) { return !handle.isNull() && handle.severity() > 3; }

const char* severityName(ErrorSeverity severity) {
    switch (severity) {
        case SeverityNone: return "None";
        case SeverityInfo: return "Info";
        case SeverityWarning: return "Warning";
        case SeverityError: return "Error";
        case SeverityFatal: return "Fatal Error";
        default: return "";
    }
}

String reportText(const ErrorHandle& handle) {
    String text;
    if (handle.isNull() || handle.severity() <= 0) return text;
    if (handle.code() == 0)
        text.format("%s: %s", severityName(handle.severity()), handle.message().text());
    else
        text.format("%s: %s (%d)", severityName(handle.severity()), handle.message().text(),
                    static_cast<int>(handle.code()));
    return text;
}

void keepWorst(ErrorHandle& current, const ErrorHandle& later) {
    if (later.severity() > current.severity()) current = later;
}
