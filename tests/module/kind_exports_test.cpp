// The Get_...Database exports hand the database of a kind to the host.
#include <gtest/gtest.h>

#include "host/folder_server_info.hpp"
#include "module_test_support.hpp"

namespace orvdb::module_test {
namespace {

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
