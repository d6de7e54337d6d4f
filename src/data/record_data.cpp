#include "data/record_data.hpp"

#include "data/blob_files.hpp"
#include "data/boundary_values.hpp"
#include "data/field_codes.hpp"
#include "data/serialized_objects.hpp"
#include "host/debug_output.hpp"
#include "host/memory_stream.hpp"
#include "host/paths.hpp"

namespace orvdb::data {

using host::guarded;

// --- C++ operations ---

template <class I>
void TORVC_Data<I>::setOpened(bool value) {
    if (value) {
        openData();
    } else {
        closeData();
    }
    opened_ = value;
}

template <class I>
std::string TORVC_Data<I>::getString(std::string_view field) const {
    // An unknown field reads empty, but only on a cursor that is open.
    dataset().requireOpen();
    int index = dataset().findField(field);
    return index < 0 ? std::string() : dataset().getText(index);
}

template <class I>
void TORVC_Data<I>::setString(std::string_view field, std::string_view text) {
    data().setText(fieldIndex(field), text);
}

template <class I>
void TORVC_Data<I>::getFieldType(std::string_view field, int32_t& kindCode, int32_t& size) const {
    const engine::FieldInfo& info = dataset().field(fieldIndex(field));
    kindCode = fieldKindCode(info);
    size = info.size;
}

template <class I>
bool TORVC_Data<I>::isNull(std::string_view field) const {
    return dataset().isNull(fieldIndex(field));
}

template <class I>
std::vector<uint8_t> TORVC_Data<I>::getBlobBytes(std::string_view field) const {
    return dataset().getBlob(fieldIndex(field));
}

template <class I>
void TORVC_Data<I>::setBlobBytes(std::string_view field, std::vector<uint8_t> bytes) {
    data().setBlob(fieldIndex(field), std::move(bytes));
}

// --- iRecordDatabase ---

template <class I>
OrvHResult TORVC_Data<I>::Get_Opened(OrvWordBool* opened) {
    return guarded([&] { outArgument(opened, "Get_Opened") = wordBool(opened_); });
}

template <class I>
OrvHResult TORVC_Data<I>::Set_Opened(OrvWordBool opened) {
    return guarded([&] { setOpened(opened != 0); });
}

template <class I>
OrvHResult TORVC_Data<I>::Get_FieldName(int32_t index, OrvBstr* name) {
    host::clearOut(name);
    return guarded([&] { setOutUtf8(name, dataset().field(index).name, "Get_FieldName"); });
}

template <class I>
OrvHResult TORVC_Data<I>::GetFieldStructure(int32_t index, OrvBstr* name, OrvBstr* typeWord) {
    host::clearOut(name, typeWord);
    return guarded([&] {
        const engine::FieldInfo& info = dataset().field(index);
        std::string word = fieldTypeWord(info);
        outArgument(typeWord, "GetFieldStructure");
        setOutUtf8(name, info.name, "GetFieldStructure");
        setOutUtf8(typeWord, word, "GetFieldStructure");
    });
}

template <class I>
OrvHResult TORVC_Data<I>::FieldCount(int32_t* count) {
    return guarded([&] { outArgument(count, "FieldCount") = dataset().fieldCount(); });
}

template <class I>
OrvHResult TORVC_Data<I>::Getstring(OrvBstr field, OrvBstr* text) {
    host::clearOut(text);
    return guarded([&] { setOutUtf8(text, getString(utf8(field)), "Getstring"); });
}

template <class I>
OrvHResult TORVC_Data<I>::Setstring(OrvBstr field, OrvBstr text) {
    return guarded([&] { setString(utf8(field), utf8(text)); });
}

template <class I>
OrvHResult TORVC_Data<I>::SetInteger(OrvBstr field, int32_t value) {
    return guarded([&] {
        // 0 is how the suite writes "no reference".
        int index = fieldIndex(utf8(field));
        if (value == 0) {
            data().setNull(index);
        } else {
            data().setInt32(index, value);
        }
    });
}

template <class I>
OrvHResult TORVC_Data<I>::SetColor(OrvBstr field, int32_t color) {
    return guarded([&] { setString(utf8(field), colorToText(color)); });
}

template <class I>
OrvHResult TORVC_Data<I>::GetColor(OrvBstr field, int32_t* color) {
    return guarded([&] {
        outArgument(color, "GetColor") = colorFromText(host::toUtf16(getString(utf8(field))));
    });
}

template <class I>
OrvHResult TORVC_Data<I>::GetFloat(OrvBstr field, float* value) {
    return guarded([&] {
        outArgument(value, "GetFloat") =
            static_cast<float>(dataset().getDouble(fieldIndex(utf8(field))));
    });
}

template <class I>
OrvHResult TORVC_Data<I>::SetFloat(OrvBstr field, float value) {
    return guarded([&] { data().setDouble(fieldIndex(utf8(field)), static_cast<double>(value)); });
}

template <class I>
OrvHResult TORVC_Data<I>::GetInteger(OrvBstr field, int32_t* value) {
    return guarded(
        [&] { outArgument(value, "GetInteger") = dataset().getInt32(fieldIndex(utf8(field))); });
}

// A broken object or blob must not stop the host's save or load: the field or
// the object simply stays as it was. The reason goes to the opt-in trace.
template <class I>
OrvHResult TORVC_Data<I>::SetSerializable(OrvBstr field, iSerializable* object) {
    return guarded([&] {
        if (!object) {
            return;
        }
        try {
            std::vector<uint8_t> bytes = serializeContent(*object);
            if (!bytes.empty()) {
                setBlobBytes(utf8(field), std::move(bytes));
            }
        } catch (const std::exception& e) {
            host::debugTrace("SetSerializable(" + utf8(field) + "): " + e.what());
        }
    });
}

template <class I>
OrvHResult TORVC_Data<I>::GetSerializable(OrvBstr field, iSerializable* object) {
    return guarded([&] {
        if (!object) {
            return;
        }
        try {
            std::vector<uint8_t> bytes = getBlobBytes(utf8(field));
            if (!bytes.empty()) {
                deserializeContent(bytes, *object);
            }
        } catch (const std::exception& e) {
            host::debugTrace("GetSerializable(" + utf8(field) + "): " + e.what());
        }
    });
}

template <class I>
OrvHResult TORVC_Data<I>::GetSerializableWithCreate(OrvBstr field, iSerializable** object) {
    host::clearOut(object);
    return guarded([&] {
        iSerializable*& out = outArgument(object, "GetSerializableWithCreate");
        out = nullptr;
        std::vector<uint8_t> bytes = getBlobBytes(utf8(field));
        if (!bytes.empty()) {
            out = deserializeWithCreate(bytes).detach();
        }
    });
}

template <class I>
OrvHResult TORVC_Data<I>::SetSerializableWithCreate(OrvBstr field, iSerializable* object) {
    return guarded([&] {
        std::string name = utf8(field);
        std::vector<uint8_t> bytes = serializeWithCreate(object, creationKey(name));
        if (!bytes.empty()) {
            setBlobBytes(name, std::move(bytes));
        }
    });
}

template <class I>
OrvHResult TORVC_Data<I>::GetDouble(OrvBstr field, double* value) {
    return guarded(
        [&] { outArgument(value, "GetDouble") = dataset().getDouble(fieldIndex(utf8(field))); });
}

template <class I>
OrvHResult TORVC_Data<I>::SetDouble(OrvBstr field, double value) {
    return guarded([&] { data().setDouble(fieldIndex(utf8(field)), value); });
}

template <class I>
OrvHResult TORVC_Data<I>::FillStream(OrvBstr field) {
    return guarded([&] {
        std::vector<uint8_t> bytes = getBlobBytes(utf8(field));
        // An empty blob leaves whatever file an earlier call wrote.
        if (!bytes.empty()) {
            host::MemoryStream(std::move(bytes)).saveToFile(temporaryBlobFilePath());
        }
    });
}

template <class I>
OrvHResult TORVC_Data<I>::SaveFileInBlobField(OrvBstr fileName, OrvBstr field) {
    return guarded([&] {
        std::string file = utf8(fileName);
        if (!host::fileExists(file)) {
            return;
        }
        host::MemoryStream content;
        content.loadFromFile(file);
        setBlobBytes(utf8(field), content.bytes());
        postRecord();
    });
}

template <class I>
IZvStream* TORVC_Data<I>::GetBlob(OrvBstr) {
    return nullptr;
}

template <class I>
OrvHResult TORVC_Data<I>::SetBlob(OrvBstr, IZvStream*) {
    return guarded([] {});
}

template <class I>
OrvWordBool TORVC_Data<I>::GetBoolean(OrvBstr field) {
    return wordBool(dataset().getBool(fieldIndex(utf8(field))));
}

template <class I>
OrvHResult TORVC_Data<I>::SetBoolean(OrvBstr field, OrvWordBool value) {
    return guarded([&] { data().setBool(fieldIndex(utf8(field)), value != 0); });
}

template <class I>
OrvDateTime TORVC_Data<I>::GetDateTime(OrvBstr field) {
    return dataset().getDateTime(fieldIndex(utf8(field)));
}

template <class I>
OrvHResult TORVC_Data<I>::SetDateTime(OrvBstr field, OrvDateTime value) {
    return guarded([&] { data().setDateTime(fieldIndex(utf8(field)), value); });
}

template <class I>
OrvHResult TORVC_Data<I>::GetFieldInternalTypeStructure(int32_t index, OrvBstr* name,
                                                        int32_t* kindCode, int32_t* size) {
    host::clearOut(name);
    return guarded([&] {
        const engine::FieldInfo& info = dataset().field(index);
        int32_t code = fieldKindCode(info);
        outArgument(kindCode, "GetFieldInternalTypeStructure") = code;
        outArgument(size, "GetFieldInternalTypeStructure") = info.size;
        setOutUtf8(name, info.name, "GetFieldInternalTypeStructure");
    });
}

template class TORVC_Data<iQueryDatabase>;
template class TORVC_Data<iTableDatabase>;

}  // namespace orvdb::data
