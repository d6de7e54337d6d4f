// orvdb check FILE: reads every page of a Jet file and reports where its
// structures contradict each other.
#include <iostream>
#include <optional>

#include "cli_context.hpp"
#include "jet/check/file_check.hpp"

namespace orvdb::cli {

namespace {

struct CheckOptions {
    std::string file;
    const std::string* password = nullptr;
};

// Warnings alone do not fail the command: Access itself leaves them.
void runCheck(const CheckOptions& o) {
    std::optional<std::string> password;
    if (o.password && !o.password->empty()) {
        password = *o.password;
    }
    jet::CheckReport report = jet::checkJetFile(o.file, password);
    for (const jet::CheckFinding& finding : report.findings) {
        std::cout << jet::describe(finding) << '\n';
    }
    if (report.findings.empty()) {
        std::cout << "OK: " << report.pages << " pages, " << report.tables << " tables, "
                  << report.indexes << " indexes checked\n";
    }
    std::cout.flush();
    if (report.hasErrors()) {
        throw CLI::RuntimeError(1);
    }
}

}  // namespace

void addCheckCommand(CLI::App& app, const GlobalOptions& options) {
    static CheckOptions check;
    check.password = &options.password;
    auto* cmd = app.add_subcommand(
        "check", "Check an Access file: usage maps, row counts, indexes and long values");
    cmd->add_option("FILE", check.file, "The database file")->required();
    cmd->callback([] { runCheck(check); });
}

}  // namespace orvdb::cli
