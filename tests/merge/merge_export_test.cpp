// The MergeDatabase export: the default container, the progress window it
// shows, and the user's No.
#include <gtest/gtest.h>

#include <orvdb/exports.h>

#include <filesystem>

#include "host/boundary_strings.hpp"
#include "host/dialogs.hpp"
#include "host/host_services.hpp"
#include "merge_test_support.hpp"

namespace orvdb::merge_test {
namespace {

namespace fs = std::filesystem;

// Records what the window was told.
class RecordingProgress : public host::ProgressWindow {
public:
    int shown = 0;
    int finished = 0;
    std::vector<std::string> captions;
    void show() override {
        ++shown;
        ProgressWindow::show();
    }
    void finish() override { ++finished; }

protected:
    void repaint() override { captions.push_back(bars()[0].caption + "|" + bars()[1].caption); }
};

class MergeExportTest : public MergeTest {
protected:
    void SetUp() override {
        MergeTest::SetUp();
        makeLibrary();
        makeStandardProviders();
    }
    OrvHResult run(host::DialogAnswer answer, uint8_t showProgress) {
        host::HostServices services;
        services.dialogs = std::make_shared<host::AutoAnswerDialogs>(answer);
        services.progress = progress;
        host::installHostServices(std::move(services));
        host::Bstr first(u"P1");
        host::Bstr second(u"P2");
        host::Bstr output(u"OUT");
        OrvHResult status = MergeDatabase(nullptr, first.get(), second.get(), output.get(), 0,
                                          showProgress, nullptr, kOffset);
        host::databases()->unregisterDatabase("GAMMISTE");
        host::databases()->unregisterDatabase("XLIB");
        return status;
    }
    std::shared_ptr<RecordingProgress> progress = std::make_shared<RecordingProgress>();
};

TEST_F(MergeExportTest, RunsOnTheDefaultContainerAndDrivesTheWindow) {
    ASSERT_EQ(run(host::DialogAnswer::yes, 1), ORV_S_OK);
    EXPECT_TRUE(fs::exists(providerFile("OUT")));
    EXPECT_EQ(progress->shown, 1);
    EXPECT_EQ(progress->finished, 1);
    EXPECT_NE(std::find(progress->captions.begin(), progress->captions.end(),
                        "Progression de la table en cours: Article|"
                        "Progression des champs de la table en cours"),
              progress->captions.end());
}

TEST_F(MergeExportTest, WithoutProgressTheWindowKeepsItsCaptionsAndNoStopsBeforeAnyCopy) {
    ASSERT_EQ(run(host::DialogAnswer::no, 0), ORV_S_OK);
    EXPECT_FALSE(fs::exists(root + "Providers/OUT"));
    EXPECT_EQ(progress->shown, 1);
    EXPECT_EQ(progress->finished, 1);
    EXPECT_EQ(progress->captions, std::vector<std::string>{"stTablename|stFieldname"});
}

}  // namespace
}  // namespace orvdb::merge_test
