// The general report of unexpected errors. Every handler the framework calls
// runs inside CallReportingErrors: an error that escapes it is shown once in a
// message box that names the handler and says what failed, and the window goes
// on running. No error may cross back into the system's window procedures.
#pragma once

#include <exception>
#include <new>
#include <string>
#include <utility>

namespace kestrum {

// Shows "Unexpected error in <where>: <what>".
void ReportUnexpectedError(const std::string& where, const std::string& what) noexcept;

// Runs body; returns false when it raised (after reporting it).
template <class Body>
bool CallReportingErrors(const char* where, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const std::bad_alloc&) {
        ReportUnexpectedError(where, "not enough memory.");
    } catch (const std::exception& error) {
        ReportUnexpectedError(where, error.what());
    } catch (...) {
        ReportUnexpectedError(where, "an unknown error.");
    }
    return false;
}

}  // namespace kestrum
