#include "host/serialization.hpp"
#include "host/memory_stream.hpp"

#include "support/temp_dir.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace orvdb::host {
namespace {

using ::testing::HasSubstr;

void writeSample(TWriterEx& writer) {
    writer.writeInt32(-7);
    writer.writeInt64(std::numeric_limits<int64_t>::min());
    writer.writeDouble(0.36052);
    writer.writeBool(true);
    writer.writeString("");
    writer.writeString(std::string(1000, 'z') + "é");
    writer.WriteSerializable([](TWriterEx& w) {
        w.writeString("inner");
        w.writeBytes(std::vector<uint8_t>{0, 1, 255});
    });
    writer.writeInt32(42);
}

TEST(SerializationTest, RoundTripThroughBuffersOfAnySize) {
    for (size_t bufferSize : {1u, 3u, 255u, 4096u}) {
        SCOPED_TRACE(bufferSize);
        MemoryStream stream;
        {
            TWriterEx writer(stream, bufferSize);
            writeSample(writer);
            writer.FlushBuffer();
        }
        stream.seek(0);
        TReaderEx reader(stream, bufferSize);
        EXPECT_EQ(reader.readInt32(), -7);
        EXPECT_EQ(reader.readInt64(), std::numeric_limits<int64_t>::min());
        EXPECT_EQ(reader.readDouble(), 0.36052);
        EXPECT_TRUE(reader.readBool());
        EXPECT_EQ(reader.readString(), "");
        EXPECT_EQ(reader.readString(), std::string(1000, 'z') + "é");
        std::string inner;
        std::vector<uint8_t> bytes;
        reader.ReadSerializable([&](TReaderEx& r) {
            inner = r.readString();
            bytes = r.readBytes();
        });
        EXPECT_EQ(inner, "inner");
        EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 1, 255}));
        EXPECT_FALSE(reader.atEnd());
        EXPECT_EQ(reader.readInt32(), 42);
        EXPECT_TRUE(reader.atEnd());
    }
}

TEST(SerializationTest, ValuesAreLittleEndianAfterATagAndReachTheStreamWhenTheBufferFills) {
    MemoryStream stream;
    {
        TWriterEx writer(stream, 16);
        writer.writeInt32(0x01020304);
        writer.writeString("ab");
        EXPECT_EQ(stream.size(), 0u);
    }  // the destructor flushes
    EXPECT_EQ(stream.bytes(),
              (std::vector<uint8_t>{1, 0x04, 0x03, 0x02, 0x01, 5, 2, 0, 0, 0, 'a', 'b'}));
    TWriterEx writer(stream, 255);
    writer.writeInt32(1);
    writer.FlushBuffer();
    EXPECT_EQ(stream.size(), 12u + 5u);
    writer.writeString(std::string(300, 'x'));
    EXPECT_EQ(stream.size(), 12u + 5u + 255u);
}

TEST(SerializationTest, MismatchedOrDamagedDataFailsClearly) {
    MemoryStream stream;
    {
        TWriterEx writer(stream, 8);
        writer.writeString("text");
        writer.WriteSerializable([](TWriterEx& w) {
            w.writeInt32(1);
            w.writeInt32(2);
        });
    }
    stream.seek(0);
    TReaderEx reader(stream, 8);
    try {
        reader.readInt32();
        FAIL() << "a string read as int32";
    } catch (const SerializationError& e) {
        EXPECT_THAT(e.what(), HasSubstr("expected int32 but found string at byte 0"));
    }

    stream.seek(0);
    TReaderEx underReader(stream, 8);
    underReader.readString();
    EXPECT_THROW(underReader.ReadSerializable([](TReaderEx& r) { r.readInt32(); }),
                 SerializationError);

    // A string whose length claims far more bytes than there are.
    MemoryStream damaged(std::vector<uint8_t>{5, 0xFF, 0xFF, 0xFF, 0x7F, 'a'});
    TReaderEx damagedReader(damaged, 255);
    try {
        damagedReader.readString();
        FAIL() << "damaged length accepted";
    } catch (const SerializationError& e) {
        EXPECT_THAT(e.what(), HasSubstr("ends at byte"));
    }

    MemoryStream empty;
    EXPECT_THROW(TReaderEx(empty, 0), std::invalid_argument);
    EXPECT_THROW(TReaderEx(empty, 4).readBool(), SerializationError);
}

TEST(MemoryStreamTest, SavesAndLoadsFilesThroughSuitePathsAndFillsGapsWithZeros) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Temp");
    MemoryStream stream(std::vector<uint8_t>{1, 2, 3, 0, 255});
    stream.saveToFile(dir / "TEMP\\merge_halvo2");
    EXPECT_EQ(test::readFile(dir.path() / "Temp/merge_halvo2"), std::string("\1\2\3\0\xFF", 5));

    MemoryStream loaded;
    loaded.write(std::vector<uint8_t>{9, 9, 9, 9, 9, 9, 9});
    loaded.loadFromFile(dir / "temp/MERGE_HALVO2");
    EXPECT_EQ(loaded.bytes(), stream.bytes());
    EXPECT_EQ(loaded.position(), 0u);
    EXPECT_THROW(loaded.loadFromFile(dir / "absent"), std::runtime_error);

    // Writing past the end fills the gap with zeros.
    stream = MemoryStream();
    stream.seek(3);
    stream.write(std::vector<uint8_t>{7});
    EXPECT_EQ(stream.bytes(), (std::vector<uint8_t>{0, 0, 0, 7}));
    stream.seek(1);
    std::vector<uint8_t> out(10);
    EXPECT_EQ(stream.read(out), 3u);
    EXPECT_EQ(stream.read(out), 0u);
}

}  // namespace
}  // namespace orvdb::host
