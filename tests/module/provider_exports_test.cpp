// CreateProvider, ExistsProvider, isCorrectProvider, the two exports that
// are not provided, and the Get_...Database exports of the other kinds.
#include "module_test_support.hpp"

#include <orvdb/host.h>

#include "host/folder_server_info.hpp"
#include "host/interfaced_object.hpp"
#include "host/registry_info.hpp"
#include "module/exports_boundary.hpp"
#include "module/template_copy_service.hpp"

namespace orvdb::module_test {
namespace {

namespace entry = host::registry_entry;
namespace fs = std::filesystem;

// A file service that records what it is asked and answers with a set status.
class RecordingFileService : public host::TInterfacedObjectEx<IFileService> {
public:
    explicit RecordingFileService(OrvHResult answer) : answer_(answer) {}
    OrvHResult CreateFromTemplate(const char16_t* templatePath,
                                  const char16_t* targetPath) override {
        calls.emplace_back(host::toUtf8(templatePath), host::toUtf8(targetPath));
        return answer_;
    }
    std::vector<std::pair<std::string, std::string>> calls;

private:
    OrvHResult answer_;
};

class ProviderExportsTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        setRegistryEntry(entry::kTemplateFolder, dir.file("Model"));
        setRegistryEntry(entry::kDataRoot, dir.file("Root"));
        setRegistryEntry(entry::kWorkshopFolder, dir.file("Workshop"));
    }
    // The template as the suite ships it, spelt differently on disk.
    void installTemplate() {
        const std::string path = dir.file("Model/data/datamodel.dat");
        createDatabaseFile(path);
        Database::openFile(path).execute("CREATE TABLE Marker (Id LONG)");
    }
    OrvHResult create(const std::string& name, IFileService* service) {
        return CreateProvider(W(name).get(), reinterpret_cast<OrvIFileService*>(service));
    }
    OrvHResult exists(const std::string& name) { return ExistsProvider(W(name).get()); }
    OrvHResult isCorrect(const std::string& name) { return isCorrectProvider(W(name).get()); }

    ComPtr<IFileService> copier = module::makeTemplateCopyService();
};

TEST_F(ProviderExportsTest, FileServiceGetsTheSuitePathsOnceThereIsATemplate) {
    ComPtr<RecordingFileService> service(new RecordingFileService(ORV_S_OK));
    EXPECT_EQ(create("Acme", service.get()), ORV_S_FALSE);
    EXPECT_TRUE(service->calls.empty());
    EXPECT_FALSE(fs::exists(dir.file("Root")));
    installTemplate();
    EXPECT_EQ(create("Acme", service.get()), ORV_S_OK);
    ASSERT_EQ(service->calls.size(), 1u);
    EXPECT_EQ(service->calls[0].first, dir.file("Model/") + "Data\\DataModel.Dat");
    EXPECT_EQ(service->calls[0].second, dir.file("Root/") + "Providers\\Acme\\XLibData.mdb");
}

TEST_F(ProviderExportsTest, FailingFileServiceIsReportedAsFailure) {
    installTemplate();
    ComPtr<RecordingFileService> service(new RecordingFileService(ORV_E_NOTIMPL));
    EXPECT_EQ(create("Acme", service.get()), ORV_E_FAIL);
    const std::string message = lastErrorMessage();
    EXPECT_NE(message.find("CreateProvider"), std::string::npos) << message;
    EXPECT_NE(message.find("0x80004001"), std::string::npos) << message;
    EXPECT_NE(message.find("XLibData.mdb"), std::string::npos) << message;
}

TEST_F(ProviderExportsTest, WithoutAFileServiceTheInstalledOneOrAPlainCopyServes) {
    installTemplate();
    ComPtr<RecordingFileService> service(new RecordingFileService(ORV_S_OK));
    ASSERT_EQ(OrvSetFileService(module::toC(service.get())), ORV_S_OK);
    EXPECT_EQ(create("Acme", nullptr), ORV_S_OK);
    EXPECT_EQ(service->calls.size(), 1u);
    EXPECT_FALSE(fs::exists(dir.file("Root/Providers/Acme/XLibData.mdb")));

    ASSERT_EQ(OrvSetFileService(nullptr), ORV_S_OK);
    EXPECT_EQ(create("Acme", nullptr), ORV_S_OK) << lastErrorMessage();
    EXPECT_EQ(service->calls.size(), 1u);
    EXPECT_TRUE(
        Database::openFile(dir.file("Root/Providers/Acme/XLibData.mdb")).tableExists("Marker"));
}

TEST_F(ProviderExportsTest, CreatedProviderIsFoundUnderEverySpelling) {
    installTemplate();
    ASSERT_EQ(create("Acme", copier.get()), ORV_S_OK) << lastErrorMessage();
    EXPECT_EQ(lastErrorMessage(), "");
    // The copy is the template's database.
    Database copy = Database::openFile(dir.file("Root/Providers/Acme/XLibData.mdb"));
    EXPECT_TRUE(copy.tableExists("Marker"));

    EXPECT_EQ(isCorrect("Acme"), ORV_S_OK);
    EXPECT_EQ(isCorrect("ACME"), ORV_S_OK);
    EXPECT_EQ(exists("Acme"), ORV_S_OK);
    EXPECT_EQ(exists("acme"), ORV_S_OK);
    EXPECT_EQ(isCorrect("Other"), ORV_S_FALSE);
    EXPECT_EQ(exists("Other"), ORV_S_FALSE);
}

TEST_F(ProviderExportsTest, CopyServiceNeverOverwritesAProvider) {
    installTemplate();
    ASSERT_EQ(create("Acme", copier.get()), ORV_S_OK);
    Database::openFile(dir.file("Root/Providers/Acme/XLibData.mdb"))
        .execute("CREATE TABLE Precious (Id LONG)");
    EXPECT_EQ(create("ACME", copier.get()), ORV_E_FAIL);
    EXPECT_NE(lastErrorMessage().find("already exists"), std::string::npos) << lastErrorMessage();
    EXPECT_TRUE(
        Database::openFile(dir.file("Root/Providers/Acme/XLibData.mdb")).tableExists("Precious"));
}

TEST_F(ProviderExportsTest, OnlyTheExactNameXmandataMeansTheWorkshopFile) {
    createDatabaseFile(dir.file("Workshop/XMANDATA.MDB"));
    EXPECT_EQ(exists("XMANDATA"), ORV_S_OK);
    EXPECT_EQ(exists("xmandata"), ORV_S_FALSE) << "a provider folder is looked for";
    createDatabaseFile(dir.file("Root/providers/xmandata/xlibdata.mdb"));
    EXPECT_EQ(exists("xmandata"), ORV_S_OK);
    fs::remove(dir.file("Workshop/XMANDATA.MDB"));
    EXPECT_EQ(exists("XMANDATA"), ORV_S_FALSE) << "the provider folder does not count";
}

TEST_F(ProviderExportsTest, DeleteProviderAndBackupAreNotProvided) {
    installTemplate();
    int argument = 0;
    EXPECT_EQ(DeleteProvider(&argument), ORV_E_NOTIMPL);
    EXPECT_EQ(Backup(nullptr), ORV_E_NOTIMPL);
    EXPECT_TRUE(fs::exists(dir.file("Model/data/datamodel.dat")));
}

TEST_F(ProviderExportsTest, CopyServiceExportHandsOutAWorkingService) {
    installTemplate();
    OrvIFileService* service = nullptr;
    ASSERT_EQ(OrvCreateFileService(&service), ORV_S_OK);
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(CreateProvider(W("Beta").get(), service), ORV_S_OK) << lastErrorMessage();
    EXPECT_EQ(isCorrect("beta"), ORV_S_OK);
    // Called through its C view: the slot of CreateFromTemplate lines up.
    const std::u16string source = host::toUtf16(dir.file("Model/data/datamodel.dat"));
    const std::u16string target = host::toUtf16(dir.file("Copy/x.mdb"));
    EXPECT_EQ(service->lpVtbl->CreateFromTemplate(service, source.c_str(), target.c_str()),
              ORV_S_OK);
    EXPECT_TRUE(fs::exists(dir.file("Copy/x.mdb")));
    service->lpVtbl->Release(service);
}

class KindExportsTest : public ModuleTest {};

std::string nameOf(OrvIDatabase* handle) {
    auto* db = reinterpret_cast<iDatabase*>(handle);
    host::Bstr name;
    EXPECT_EQ(db->Get_dbname(name.put()), ORV_S_OK);
    return name.utf8();
}

TEST_F(KindExportsTest, EachExportOpensItsKindOrGivesNothing) {
    setRegistryEntry(30, dir.folder());
    setRegistryEntry(64, dir.folder() + "Languages/");
    createDatabaseFile(dir.file("Providers/Acme/XLibData.mdb"));

    OrvIDatabase* handle = nullptr;
    EXPECT_EQ(Get_FillingDatabase(&handle, W("Acme").get()), ORV_S_OK);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(nameOf(handle), "BACKFILL");

    handle->lpVtbl->Release(handle);

    // The out argument is written, never read: garbage in it is harmless.
    handle = reinterpret_cast<OrvIDatabase*>(static_cast<uintptr_t>(0xDEADBEEF));
    EXPECT_EQ(Get_HardwareDatabase(&handle, W("acme").get()), ORV_S_OK);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(nameOf(handle), "HARDWARE");
    handle->lpVtbl->Release(handle);

    auto info = host::makeFolderServerInfo(host::toUtf16(dir.folder()), u"XLng");
    EXPECT_EQ(Get_XLngDatabase(&handle, reinterpret_cast<OrvIServerInfo*>(info.get())), ORV_S_OK);
    EXPECT_EQ(handle, nullptr);
    ASSERT_FALSE(recorder->handedExceptions.empty());
    EXPECT_EQ(recorder->handedExceptions[0], "CANNOT FIND " + dir.folder() + "Languages/XLng.mdb");

    EXPECT_EQ(Get_XLibDatabase(nullptr, nullptr), ORV_E_POINTER);
    EXPECT_NE(lastErrorMessage().find("Get_XLibDatabase"), std::string::npos);
}

}  // namespace
}  // namespace orvdb::module_test
