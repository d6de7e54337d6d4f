// `orvdb merge IN1 IN2 OUT`: merges two provider folders of the data root into
// a third, as the host's MergeDatabase does, and prints the merge log.
#include "cli_context.hpp"

#include <orvdb/com_ptr.hpp>
#include <orvdb/host.hpp>

#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>

#include "host/host_services.hpp"
#include "merge/kinds_database_container.hpp"
#include "merge/merge_access_database.hpp"
#include "merge/progress_form.hpp"

namespace orvdb::cli {

namespace {

struct MergeOptions {
    std::string first;
    std::string second;
    std::string output;
    int32_t offset = merge::TMergeAccessDatabase::kDefaultOffset;
    std::string progress = "auto";
};

ProgressKind progressKind(const std::string& name) {
    static const std::map<std::string, ProgressKind> kinds = {{"auto", ProgressKind::automatic},
                                                              {"gui", ProgressKind::gui},
                                                              {"tty", ProgressKind::tty},
                                                              {"none", ProgressKind::none}};
    return kinds.at(name);
}

void runMerge(const MergeOptions& options) {
    setProgressKind(progressKind(options.progress));

    auto run = std::make_unique<merge::TMergeAccessDatabase>();
    run->InitParams(merge::makeKindsDatabaseContainer(host::databases()), options.first,
                    options.second, options.output, options.offset);
    ComPtr<merge::TProgressForm> window(new merge::TProgressForm(host::progress()));
    run->Set_iProgress(ComPtr<IProgressForm>(window.get()));
    run->Set_CreateObject(host::objectFactory());

    OrvHResult result = ORV_E_FAIL;
    std::string failure;
    window->Show();
    try {
        result = run->Merge();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    window->Close();
    // Closes the databases the merge opened.
    host::databases()->unregisterDatabase("GAMMISTE");
    host::databases()->unregisterDatabase("XLIB");

    for (const std::string& line : run->lastLog()) {
        std::cout << line << '\n';
    }
    std::cout.flush();
    if (!failure.empty()) {
        throw std::runtime_error("merge failed: " + failure);
    }
    if (result == ORV_S_FALSE) {
        throw std::runtime_error(
            "merge stopped at the common-files warning (answer --yes to go on); nothing was "
            "copied");
    }
    const auto& rejected = run->rejectedInserts();
    if (!rejected.empty()) {
        std::cerr << "orvdb: " << rejected.size() << " row(s) of " << options.second
                  << " are not in the output; the output database refused:\n";
        for (size_t i = 0; i < rejected.size() && i < 20; ++i) {
            std::cerr << "  line " << rejected[i].line << ": " << rejected[i].text << '\n';
        }
        throw std::runtime_error("the merge is incomplete (see the statements above)");
    }
    if (run->uncarriedBinaryValues() > 0) {
        throw std::runtime_error(
            std::to_string(run->uncarriedBinaryValues()) + " binary value(s) of " + options.second +
            " were not carried: the host has no business object to serialise them, so their "
            "columns are empty in the output");
    }
}

}  // namespace

void addMergeCommand(CLI::App& app) {
    static MergeOptions options;
    auto* cmd = app.add_subcommand(
        "merge",
        "Merge provider folders IN1 and IN2 of <data root>/Providers into OUT (the keys of "
        "IN2's rows shifted by the offset) and print the merge log");
    cmd->add_option("IN1", options.first, "First input provider folder")->required();
    cmd->add_option("IN2", options.second, "Second input provider folder")->required();
    cmd->add_option("OUT", options.output, "Output provider folder")->required();
    cmd->add_option("--offset", options.offset, "Offset added to the keys of IN2's rows")
        ->capture_default_str();
    cmd->add_option("--progress", options.progress,
                    "Progress display: auto (a window when there is a display, else the "
                    "terminal), gui, tty or none")
        ->check(CLI::IsMember({"auto", "gui", "tty", "none"}))
        ->capture_default_str();
    cmd->callback([] { runMerge(options); });
}

}  // namespace orvdb::cli
