// TORVC_Data: typed access to the fields of the current record of one engine
// dataset, by field name. The common base of the query and table cursors; it
// implements the 28 record-access slots that iQueryDatabase and
// iTableDatabase both begin with.
#pragma once

#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/dataset/dataset.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::data {

template <class Interface>
class TORVC_Data : public host::TInterfacedObjectEx<Interface> {
    static_assert(std::is_base_of_v<iRecordDatabase, Interface>);

public:
    // --- iRecordDatabase (slots 3 to 30) ---
    OrvHResult Get_Opened(OrvWordBool* opened) override;
    OrvHResult Set_Opened(OrvWordBool opened) override;
    OrvHResult Get_FieldName(int32_t index, OrvBstr* name) override;
    OrvHResult GetFieldStructure(int32_t index, OrvBstr* name, OrvBstr* typeWord) override;
    OrvHResult FieldCount(int32_t* count) override;
    OrvHResult Getstring(OrvBstr field, OrvBstr* text) override;
    OrvHResult Setstring(OrvBstr field, OrvBstr text) override;
    OrvHResult SetInteger(OrvBstr field, int32_t value) override;
    OrvHResult SetColor(OrvBstr field, int32_t color) override;
    OrvHResult GetColor(OrvBstr field, int32_t* color) override;
    OrvHResult GetFloat(OrvBstr field, float* value) override;
    OrvHResult SetFloat(OrvBstr field, float value) override;
    OrvHResult GetInteger(OrvBstr field, int32_t* value) override;
    OrvHResult SetSerializable(OrvBstr field, iSerializable* object) override;
    OrvHResult GetSerializable(OrvBstr field, iSerializable* object) override;
    OrvHResult GetSerializableWithCreate(OrvBstr field, iSerializable** object) override;
    OrvHResult SetSerializableWithCreate(OrvBstr field, iSerializable* object) override;
    OrvHResult GetDouble(OrvBstr field, double* value) override;
    OrvHResult SetDouble(OrvBstr field, double value) override;
    OrvHResult FillStream(OrvBstr field) override;
    OrvHResult SaveFileInBlobField(OrvBstr fileName, OrvBstr field) override;
    IZvStream* GetBlob(OrvBstr field) override;
    OrvHResult SetBlob(OrvBstr field, IZvStream* stream) override;
    OrvWordBool GetBoolean(OrvBstr field) override;
    OrvHResult SetBoolean(OrvBstr field, OrvWordBool value) override;
    OrvDateTime GetDateTime(OrvBstr field) override;
    OrvHResult SetDateTime(OrvBstr field, OrvDateTime value) override;
    OrvHResult GetFieldInternalTypeStructure(int32_t index, OrvBstr* name, int32_t* kindCode,
                                             int32_t* size) override;

    // --- the same for C++ callers; these raise instead of returning a status ---
    bool opened() const { return opened_; }
    // Opens or closes the dataset; opening an open one changes nothing.
    void setOpened(bool value);
    // "" when the dataset has no such field.
    std::string getString(std::string_view field) const;
    void setString(std::string_view field, std::string_view text);
    // Kind code and reported size of a field by name.
    void getFieldType(std::string_view field, int32_t& kindCode, int32_t& size) const;
    bool isNull(std::string_view field) const;
    std::vector<uint8_t> getBlobBytes(std::string_view field) const;
    void setBlobBytes(std::string_view field, std::vector<uint8_t> bytes);

    engine::Dataset& dataset() { return data(); }
    const engine::Dataset& dataset() const { return const_cast<TORVC_Data*>(this)->data(); }

    // The message of the last failed statement or row operation of this
    // cursor (running SQL, moving, opening a table, positioning, editing,
    // posting); "" after one that succeeded. Reading and writing field
    // values do not count. The cursor stays quiet for its host as before (a
    // failed select finds no row, a refused post goes to a message box);
    // this is where a caller that must report the failure finds it.
    const std::string& lastError() const { return lastError_; }

protected:
    TORVC_Data() = default;

    virtual engine::Dataset& data() = 0;
    virtual void openData() = 0;
    virtual void closeData() = 0;
    // Writes the current record (after a file was loaded into a blob field).
    virtual void postRecord() = 0;
    // The name a serialised object in this field is created by again.
    virtual std::string creationKey(std::string_view field) const = 0;

    int fieldIndex(std::string_view field) const { return dataset().fieldIndex(field); }

    // Runs one statement or row operation, keeping its outcome for
    // lastError(): cleared first, set when the operation throws (and the
    // exception goes on). A failure the operation keeps quiet it notes
    // itself with noteQuietFailure().
    template <class Operation>
    decltype(auto) noteOutcome(Operation&& operation) {
        try {
            lastError_.clear();
            return operation();
        } catch (const std::exception& e) {
            lastError_ = e.what();
            throw;
        }
    }
    void noteQuietFailure(std::string message) { lastError_ = std::move(message); }

    bool opened_ = false;

private:
    std::string lastError_;
};

class torvc_Query;
class torvc_Table;
extern template class TORVC_Data<iQueryDatabase>;
extern template class TORVC_Data<iTableDatabase>;

}  // namespace orvdb::data
