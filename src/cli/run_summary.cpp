#include "cli/run_summary.h"

#include <cstdio>

namespace kestrum::cli {

double RunSummary::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

std::string RunSummary::Text() const {
    char time[32];
    std::snprintf(time, sizeof time, "%.2f s", Seconds());
    std::string text = "kestrum-cli: " + m_verb + ": " + std::to_string(succeeded) + " " + m_done + ", ";
    if (m_countsSkipped) text += std::to_string(skipped) + " skipped, ";
    text += std::to_string(failed) + " " + m_failed + ", ";
    if (m_countsBytes) text += std::to_string(bytes) + " bytes, ";
    return text + time;
}

void RunSummary::Print() const { std::fprintf(stderr, "%s\n", Text().c_str()); }

}  // namespace kestrum::cli
