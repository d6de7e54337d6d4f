#include "data/serialized_objects.hpp"

#include "data/messages.hpp"
#include "host/host_services.hpp"
#include "host/interfaced_object.hpp"
#include "host/memory_stream.hpp"
#include "host/serialization.hpp"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstring>

namespace orvdb::data {

namespace {

// The buffer size the suite has always given its writers and readers.
constexpr size_t kBufferSize = 255;

// Each Write becomes one byte block of the host writer. The adapter outlives
// the writer only if the object keeps it, so it is cut off after the call.
class WriterAdapter : public host::TInterfacedObjectEx<IWriter> {
public:
    explicit WriterAdapter(host::TWriterEx& writer) : writer_(&writer) {}
    void detach() { writer_ = nullptr; }

    OrvHResult Write(const void* data, int32_t size) override {
        return host::guarded([&] {
            if (!writer_) {
                throw std::runtime_error(msg::usedAfterCall("IWriter.Write", "writer"));
            }
            if (size < 0 || (size > 0 && !data)) {
                throw host::StatusError(ORV_E_INVALIDARG,
                                        msg::invalidBuffer("IWriter.Write", size));
            }
            writer_->writeBytes({static_cast<const uint8_t*>(data), static_cast<size_t>(size)});
        });
    }

private:
    host::TWriterEx* writer_;
};

// Serves Read calls of any size from the byte blocks the writer side wrote.
class ReaderAdapter : public host::TInterfacedObjectEx<IReader> {
public:
    explicit ReaderAdapter(host::TReaderEx& reader) : reader_(&reader) {}
    void detach() { reader_ = nullptr; }

    OrvHResult Read(void* data, int32_t size) override {
        return host::guarded([&] {
            if (!reader_) {
                throw std::runtime_error(msg::usedAfterCall("IReader.Read", "reader"));
            }
            if (size < 0 || (size > 0 && !data)) {
                throw host::StatusError(ORV_E_INVALIDARG, msg::invalidBuffer("IReader.Read", size));
            }
            auto* out = static_cast<uint8_t*>(data);
            auto wanted = static_cast<size_t>(size);
            while (wanted > 0) {
                if (next_ == pending_.size()) {
                    if (reader_->atEnd()) {
                        throw host::SerializationError(msg::kReadPastEnd);
                    }
                    pending_ = reader_->readBytes();
                    next_ = 0;
                    continue;
                }
                size_t n = std::min(wanted, pending_.size() - next_);
                std::memcpy(out, pending_.data() + next_, n);
                next_ += n;
                out += n;
                wanted -= n;
            }
        });
    }

private:
    host::TReaderEx* reader_;
    std::vector<uint8_t> pending_;
    size_t next_ = 0;
};

void writeObject(iSerializable& object, host::TWriterEx& writer) {
    ComPtr<WriterAdapter> adapter(new WriterAdapter(writer));
    OrvHResult status = object.WriteObject(adapter.get());
    adapter->detach();
    host::throwIfFailed(status, "iSerializable.WriteObject");
}

void readObject(iSerializable& object, host::TReaderEx& reader) {
    ComPtr<ReaderAdapter> adapter(new ReaderAdapter(reader));
    OrvHResult status = object.ReadObject(adapter.get());
    adapter->detach();
    host::throwIfFailed(status, "iSerializable.ReadObject");
}

}  // namespace

std::string creationKeyFor(std::string_view table, std::string_view field) {
    std::string name =
        table.empty() ? std::string(field) : std::string(table).append("_").append(field);
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(name);
    text.toUpper(icu::Locale::getRoot());
    std::string upper;
    text.toUTF8String(upper);
    return upper;
}

std::vector<uint8_t> serializeContent(iSerializable& object) {
    host::MemoryStream stream;
    host::TWriterEx writer(stream, kBufferSize);
    writeObject(object, writer);
    writer.FlushBuffer();
    return stream.bytes();
}

void deserializeContent(std::span<const uint8_t> bytes, iSerializable& object) {
    host::MemoryStream stream({bytes.begin(), bytes.end()});
    host::TReaderEx reader(stream, kBufferSize);
    readObject(object, reader);
}

std::vector<uint8_t> serializeWithCreate(iSerializable* object, std::string_view creationKey) {
    if (object && creationKey.empty()) {
        throw std::invalid_argument("a stored object needs the name it is created by");
    }
    host::MemoryStream stream;
    host::TWriterEx writer(stream, kBufferSize);
    writer.WriteSerializable([&](host::TWriterEx& w) {
        w.writeString(object ? creationKey : std::string_view());
        if (object) {
            writeObject(*object, w);
        }
    });
    writer.FlushBuffer();
    return stream.bytes();
}

ComPtr<iSerializable> deserializeWithCreate(std::span<const uint8_t> bytes) {
    host::MemoryStream stream({bytes.begin(), bytes.end()});
    host::TReaderEx reader(stream, kBufferSize);
    ComPtr<iSerializable> object;
    reader.ReadSerializable([&](host::TReaderEx& r) {
        std::string key = r.readString();
        if (key.empty()) {
            return;
        }
        ComPtr<IInterface> created = host::objectFactory()->createObject(key);
        if (!created) {
            throw std::runtime_error(msg::noHostObject(key));
        }
        object = created.as<iSerializable>();
        if (!object) {
            throw std::runtime_error(msg::notSerialisable(key));
        }
        readObject(*object.get(), r);
    });
    return object;
}

}  // namespace orvdb::data
