// Changes to a mirrored Access file reach the file, when and only when they should.
#include "engine/dataset/table_dataset.hpp"
#include "engine/engine_error.hpp"
#include "engine/store/change_counter.hpp"
#include "engine/store/journal.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine_test_support.hpp"

#include <sys/stat.h>

#include <cerrno>

namespace orvdb::engine {
namespace {

namespace fs = std::filesystem;

using testing::column;
using testing::jetFixture;
using testing::openFile;

struct JetWriteBackTest : testing::JetFixtureTest {
    testing::ScratchDir dir;

    // A writable copy of a fixture.
    std::string copy(const std::string& name) {
        std::string target = dir.file(name);
        fs::copy_file(jetFixture(name), target);
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        return target;
    }
    // The rows of a table as the file holds them.
    static std::string rowCount(const std::string& path, const std::string& table) {
        auto reader = jet::JetFile::open(path).readTable(table);
        size_t count = 0;
        for (; reader.next(); ++count) {
        }
        return std::to_string(count);
    }
};

TEST_F(JetWriteBackTest, DefinitionsAndRowsSurviveCloseAndReopen) {
    std::string path = copy("northwind.mdb");
    {
        auto c = openFile(path);
        c->execute(
            "CREATE TABLE Widget (ID COUNTER PRIMARY KEY, Name TEXT(40) NOT NULL, Price CURRENCY, "
            "Made DATETIME, Ok YESNO, Note MEMO, Ratio SINGLE, Exact DOUBLE, Small BYTE, "
            "Mid SHORT, Amount DECIMAL(10,2), Tag GUID, Raw BINARY(8), ShipVia LONG)");
        c->execute(
            "INSERT INTO Widget (Name, Price, Made, Ok, Note, Ratio, Exact, Small, Mid, Amount, "
            "Tag, ShipVia) VALUES ('Fenêtre', 12.34, #2024-02-29 13:45:00#, True, 'long "
            "text', 0.5, 1.25, 200, -300, 1234.5, '{12345678-9ABC-DEF0-1234-56789ABCDEF0}', "
            "1)");
        c->execute("INSERT INTO Widget (Name, ShipVia) VALUES ('Porte', 2)");
        c->execute("INSERT INTO Widget (Name) VALUES ('Gone')");
        c->execute("UPDATE Widget SET Price = 99 WHERE Name = 'Porte'");
        c->execute("DELETE FROM Widget WHERE Name = 'Gone'");
        c->execute("CREATE INDEX ByName ON Widget (Name DESC)");
        c->execute(
            "ALTER TABLE Widget ADD CONSTRAINT WidgetShipper FOREIGN KEY (ShipVia) REFERENCES "
            "Shippers (ShipperID) ON DELETE CASCADE");
        c->execute("ALTER TABLE Customers ADD COLUMN Extra TEXT(10)");
        c->execute("UPDATE Customers SET Extra = 'x' WHERE CustomerID = 'ALFKI'");
        c->execute("ALTER TABLE Customers ALTER COLUMN Extra TEXT(20)");
        c->execute("ALTER TABLE Customers DROP COLUMN Fax");
        c->execute("CREATE VIEW Expensive AS SELECT Name FROM Widget WHERE Price > 50");
        c->execute(
            "CREATE VIEW ShippedBy AS SELECT DISTINCT S.CompanyName AS Company, W.Name FROM "
            "Shippers AS S INNER JOIN Widget AS W ON W.ShipVia = S.ShipperID ORDER BY W.Name "
            "DESC");
        c->execute("DELETE FROM [Order Details] WHERE OrderID = 10248");
    }
    EXPECT_FALSE(fs::exists(ChangeCounter::pathFor(path)));

    auto c = openFile(path);
    EXPECT_EQ(column(*c,
                     "SELECT Name & '|' & Price & '|' & Format(Made, 'yyyy-mm-dd hh:nn') & "
                     "'|' & Ok & '|' & Note & '|' & Ratio & '|' & Small & '|' & Mid & '|' & "
                     "Amount & '|' & Tag FROM Widget ORDER BY ID"),
              (std::vector<std::string>{
                  "Fenêtre|12.34|2024-02-29 13:45|-1|long text|0.5|200|-300|1234.50|"
                  "{12345678-9ABC-DEF0-1234-56789ABCDEF0}",
                  "Porte|99||0||||||"}));
    EXPECT_EQ(column(*c, "SELECT ID FROM Widget ORDER BY ID"),
              (std::vector<std::string>{"1", "2"}));
    // The counter went past the deleted row.
    c->execute("INSERT INTO Widget (Name) VALUES ('Next')");
    EXPECT_EQ(column(*c, "SELECT Max(ID) FROM Widget"), std::vector<std::string>{"4"});
    EXPECT_EQ(column(*c, "SELECT Extra FROM Customers WHERE CustomerID = 'ALFKI'"),
              std::vector<std::string>{"x"});
    EXPECT_EQ(column(*c, "SELECT Name FROM Expensive"), std::vector<std::string>{"Porte"});
    EXPECT_EQ(column(*c, "SELECT Company & '/' & Name FROM ShippedBy"),
              (std::vector<std::string>{"United Package/Porte", "Speedy Express/Fenêtre"}));
    EXPECT_EQ(column(*c, "SELECT Count(*) FROM [Order Details]"), std::vector<std::string>{"2152"});
    const TableInfo* widget = c->store().catalog().findTableInfo("Widget");
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->findColumn("Name")->size, 40);
    EXPECT_EQ(widget->findColumn("Amount")->scale, 2);
    EXPECT_TRUE(widget->findColumn("ID")->autoNumber);
    const TableInfo* customers = c->store().catalog().findTableInfo("Customers");
    EXPECT_EQ(customers->findColumn("Fax"), nullptr);
    EXPECT_EQ(customers->findColumn("Extra")->size, 20);
    // Integrity holds after the round trip.
    EXPECT_THROW(c->execute("INSERT INTO Widget (Name, ShipVia) VALUES ('Bad', 77)"), EngineError);
    EXPECT_THROW(c->execute("INSERT INTO Widget (Price) VALUES (1)"), EngineError);
    c.reset();

    // Our reader sees the indexes as written.
    jet::JetFile file = jet::JetFile::open(path);
    auto def = file.table("Widget");
    ASSERT_NE(def, nullptr);
    const jet::LogicalIndex* byName = def->findIndex("ByName");
    ASSERT_NE(byName, nullptr);
    EXPECT_FALSE(def->physicalIndexOf(*byName)->columns.at(0).ascending);
    const jet::LogicalIndex* fk = def->findIndex("WidgetShipper");
    ASSERT_NE(fk, nullptr);
    EXPECT_TRUE(fk->isForeignKey());
    EXPECT_EQ(fk->relatedTableType, 2) << "the referring side";
    EXPECT_TRUE(fk->cascadeDeletes);
    EXPECT_FALSE(fk->cascadeUpdates);
    auto shippers = file.table("Shippers");
    ASSERT_NE(shippers, nullptr);
    EXPECT_EQ(fk->relatedTablePage, shippers->page);
    const jet::LogicalIndex* back = nullptr;
    for (const auto& l : shippers->indexes) {
        if (l.relatedTablePage == def->page) {
            back = &l;
        }
    }
    ASSERT_NE(back, nullptr) << "the referenced side names the referring table";
    EXPECT_EQ(back->relatedIndex, static_cast<int32_t>(fk->number));
    EXPECT_EQ(static_cast<int32_t>(back->number), fk->relatedIndex);
    EXPECT_EQ(back->relatedTableType, 1) << "the referenced side";
    EXPECT_TRUE(back->cascadeDeletes);
    // It shares the primary key's B-tree.
    const jet::LogicalIndex* key = shippers->findIndex("PrimaryKey");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(back->physicalIndex, key->physicalIndex);
}

// What Access gives a table it creates: the database's owner, and the
// permissions the Tables container passes on.
TEST_F(JetWriteBackTest, NewObjectsGetTheOwnerPermissionsAndAFreeId) {
    std::string path = copy("northwind.mdb");
    auto texts = [](Connection& c, const std::string& sql) {
        std::vector<std::string> out;
        for (Stmt statement(c.store().db(), sql); statement.step();) {
            out.push_back(statement.isNull(0) ? "(null)" : statement.getText(0));
        }
        return out;
    };
    const std::string objectId =
        "SELECT Id FROM MSysObjects WHERE ParentId = 251658241 AND Name = ";
    {
        auto c = openFile(path);
        const int64_t highest = std::stoll(
            texts(*c, "SELECT max(Id) FROM MSysObjects WHERE Id > 0 AND Id < 251658240").at(0));
        c->execute("CREATE TABLE Widget (ID LONG PRIMARY KEY)");
        c->execute("CREATE VIEW Widgets AS SELECT ID FROM Widget");
        // A table's id is its definition page; no other object has it.
        for (const char* name : {"Widget", "Widgets"}) {
            std::string id = texts(*c, objectId + "'" + name + "'").at(0);
            EXPECT_EQ(texts(*c, "SELECT count(*) FROM MSysObjects WHERE Id = " + id),
                      std::vector<std::string>{"1"})
                << name;
        }
        EXPECT_GT(std::stoll(texts(*c, objectId + "'Widgets'").at(0)), highest);
        EXPECT_EQ(static_cast<int64_t>(jet::JetFile::open(path).table("Widget")->page),
                  std::stoll(texts(*c, objectId + "'Widget'").at(0)));
    }
    auto c = openFile(path, "Mode=Read;");
    // The permissions are read from the file when first needed.
    c->store().loadForChange({"MSysACEs"});
    auto owner = [&](const std::string& name) {
        return texts(
            *c, "SELECT hex(Owner) FROM MSysObjects WHERE Id = (" + objectId + "'" + name + "')");
    };
    auto permissions = [&](const std::string& name) {
        return texts(*c,
                     "SELECT hex(SID) || '=' || ACM || '/' || FInheritable FROM MSysACEs "
                     "WHERE ObjectId = (" +
                         objectId + "'" + name + "') ORDER BY 1");
    };
    const auto databaseOwner =
        texts(*c, "SELECT hex(Owner) FROM MSysObjects WHERE Id = 268435456 AND Name = 'MSysDb'");
    ASSERT_EQ(databaseOwner.size(), 1u);
    ASSERT_NE(databaseOwner[0], "(null)");
    EXPECT_EQ(owner("Widget"), databaseOwner);
    EXPECT_EQ(owner("Widgets"), databaseOwner);
    EXPECT_FALSE(permissions("Categories").empty());
    EXPECT_EQ(permissions("Widget"), permissions("Categories"));
    EXPECT_EQ(permissions("Widgets").size(), permissions("Categories").size());
}

TEST_F(JetWriteBackTest, UnchangedTablesKeepTheirDefinitions) {
    std::string path = copy("northwind.mdb");
    jet::TableDefinition before = *jet::JetFile::open(path).table("Products");
    {
        auto c = openFile(path);
        c->execute("UPDATE Shippers SET Phone = '(503) 555-0000' WHERE ShipperID = 1");
    }
    // Names, numbers and flags of the columns and indexes, and the page.
    auto layout = [](const jet::TableDefinition& definition) {
        std::vector<std::string> out{std::to_string(definition.page)};
        for (const auto& column : definition.columns) {
            out.push_back(column.name + " " + std::to_string(column.number) + " " +
                          std::to_string(column.flags));
        }
        for (const auto& index : definition.indexes) {
            out.push_back(index.name + " " + std::to_string(index.relatedIndex));
        }
        return out;
    };
    EXPECT_EQ(layout(*jet::JetFile::open(path).table("Products")), layout(before));
}

TEST_F(JetWriteBackTest, CommitAndFlushWriteOnlyWhenSomethingChanged) {
    std::string path = copy("testV2000.mdb");
    auto c = openFile(path);
    std::string table = c->userTableNames().at(0);
    auto inode = [&] {
        struct stat status {};
        return ::stat(path.c_str(), &status) == 0 ? status.st_ino : ino_t{0};
    };
    ino_t original = inode();
    c->flush();
    EXPECT_EQ(inode(), original) << "nothing changed: nothing written";

    std::string count = column(*c, "SELECT Count(*) FROM [" + table + "]").at(0);
    c->beginTransaction();
    c->execute("DELETE FROM [" + table + "]");
    EXPECT_EQ(rowCount(path, table), count) << "not before the commit";
    c->rollbackTransaction();
    c->beginTransaction();
    c->beginTransaction();
    c->execute("DELETE FROM [" + table + "]");
    c->commitTransaction();
    EXPECT_EQ(rowCount(path, table), count) << "inner commit";
    c->commitTransaction();
    EXPECT_EQ(rowCount(path, table), "0") << "outermost commit";

    c->execute("CREATE TABLE Later (X LONG)");
    EXPECT_EQ(rowCount(path, "Later"), "0") << "DDL is committed at once";
}

TEST_F(JetWriteBackTest, FailedCommitLeavesTheFileIntact) {
    std::string path = copy("testV2000.mdb");
    const std::string original = testing::readFile(path);
    auto c = openFile(path);
    StorageCalls full;
    full.pwrite = [](int, const void*, size_t, off_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    c->store().setStorageCalls(full);
    const std::string message = testing::errorOf([&] { c->execute("CREATE TABLE Lost (X LONG)"); });
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    EXPECT_EQ(testing::readFile(path), original);
    EXPECT_TRUE(column(*c, "SELECT Name FROM MSysObjects WHERE Name = 'Lost'").empty());
    EXPECT_FALSE(fs::exists(journalPathFor(path)));

    c->store().setStorageCalls({});
    c->execute("CREATE TABLE Lost (X LONG)");
    c->close();
    EXPECT_EQ(rowCount(path, "Lost"), "0");
}

TEST_F(JetWriteBackTest, PasswordSurvivesTheRewrite) {
    std::string path = copy("withPassword2000.mdb");
    {
        auto c = openFile(path, "Jet OLEDB:Database Password=password");
        c->execute("CREATE TABLE Secret (X LONG)");
        c->execute("INSERT INTO Secret VALUES (7)");
    }
    EXPECT_THROW(openFile(path), EngineError);
    auto c = openFile(path, "Jet OLEDB:Database Password=password");
    EXPECT_EQ(column(*c, "SELECT X FROM Secret"), std::vector<std::string>{"7"});
}

TEST_F(JetWriteBackTest, ReadModeAndWriteProtectedFilesNeverWrite) {
    std::string path = copy("testV2000.mdb");
    const std::string original = testing::readFile(path);
    {
        auto c = openFile(path, "Mode=Read");
        EXPECT_FALSE(fs::exists(ChangeCounter::pathFor(path)));
        const std::string table = c->userTableNames().at(0);
        const auto count = column(*c, "SELECT Count(*) FROM [" + table + "]");
        const std::string refused =
            testing::errorOf([&] { c->execute("DELETE FROM [" + table + "]"); });
        EXPECT_NE(refused.find("read-only"), std::string::npos) << refused;
        EXPECT_NE(refused.find("testV2000.mdb"), std::string::npos) << refused;
        EXPECT_EQ(column(*c, "SELECT Count(*) FROM [" + table + "]"), count);
        EXPECT_THROW(c->execute("CREATE TABLE Nope (X LONG)"), EngineError);
        TableDataset dataset(*c);
        dataset.setTableName(table);
        dataset.open();
        dataset.edit();
        dataset.setText(0, "x");
        EXPECT_THROW(dataset.post(), EngineError);
    }
    fs::permissions(path, fs::perms::owner_read);
    {
        auto c = openFile(path);
        EXPECT_THROW(c->execute("CREATE TABLE Nope (X LONG)"), EngineError);
    }
    EXPECT_EQ(testing::readFile(path), original);
}

}  // namespace
}  // namespace orvdb::engine
