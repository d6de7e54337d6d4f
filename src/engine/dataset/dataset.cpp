#include "engine/dataset/dataset.hpp"

#include "engine/catalog/catalog.hpp"
#include "engine/engine_error.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/messages.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace orvdb::engine {

namespace {

std::optional<double> parseNumber(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') {
        ++b;
    }
    while (e > b && text[e - 1] == ' ') {
        --e;
    }
    if (b == e) {
        return std::nullopt;
    }
    double v = 0;
    auto [p, ec] = std::from_chars(text.data() + b, text.data() + e, v);
    if (ec != std::errc() || p != text.data() + e) {
        return std::nullopt;
    }
    return v;
}

// Round half to even, as conversions to integers do in Jet and VBA.
double roundEven(double v) {
    return std::nearbyint(v);
}

}  // namespace

void Dataset::requireOpen() const {
    if (!open_) {
        throw EngineError(msg::objectClosed(description_));
    }
}

bool Dataset::first() {
    requireOpen();
    pos_ = 0;
    return !eof();
}

bool Dataset::next() {
    requireOpen();
    if (pos_ < rows_.size()) {
        ++pos_;
    }
    return !eof();
}

bool Dataset::last() {
    requireOpen();
    pos_ = rows_.empty() ? 0 : rows_.size() - 1;
    return !eof();
}

const FieldInfo& Dataset::field(int index) const {
    if (index < 0 || index >= fieldCount()) {
        throw EngineError(msg::fieldIndexOutOfRange(index, description_, fieldCount()));
    }
    return fields_[static_cast<size_t>(index)];
}

int Dataset::findField(std::string_view name) const {
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].name == name) {
            return static_cast<int>(i);
        }
    }
    std::string key = foldName(name);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (foldName(fields_[i].name) == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int Dataset::fieldIndex(std::string_view name) const {
    int i = findField(name);
    if (i < 0) {
        requireOpen();
        throw EngineError(msg::itemNotFound(name, description_));
    }
    return i;
}

const Row& Dataset::currentRow() const {
    requireOpen();
    if (eof()) {
        throw EngineError(msg::noCurrentRecord(description_));
    }
    return rows_[pos_];
}

void Dataset::clearRows() {
    rows_.clear();
    pos_ = 0;
}

const SqlValue& Dataset::value(int index) const {
    field(index);
    return currentRow()[static_cast<size_t>(index)];
}

bool Dataset::isNull(int index) const {
    return engine::isNull(value(index));
}

std::string Dataset::getText(int index) const {
    const FieldInfo& info = field(index);
    const SqlValue& stored = value(index);
    return info.jetType ? valueToText(stored, *info.jetType) : valueToText(stored);
}

int32_t Dataset::getInt32(int index) const {
    const SqlValue& stored = value(index);
    double d = 0;
    if (auto i = std::get_if<int64_t>(&stored)) {
        d = static_cast<double>(*i);
    } else if (auto real = std::get_if<double>(&stored)) {
        d = roundEven(*real);
    } else if (auto text = std::get_if<std::string>(&stored)) {
        auto number = parseNumber(*text);
        if (!number) {
            throw EngineError(msg::notAnInteger(*text, field(index).name));
        }
        d = roundEven(*number);
    } else if (engine::isNull(stored)) {
        return 0;
    } else {
        throw EngineError(msg::notReadableAsInteger(field(index).name));
    }
    if (d < std::numeric_limits<int32_t>::min() || d > std::numeric_limits<int32_t>::max()) {
        throw EngineError(msg::integerOverflow(field(index).name));
    }
    return static_cast<int32_t>(d);
}

bool Dataset::getBool(int index) const {
    const SqlValue& stored = value(index);
    if (auto i = std::get_if<int64_t>(&stored)) {
        return *i != 0;
    }
    if (auto real = std::get_if<double>(&stored)) {
        return *real != 0;
    }
    if (auto text = std::get_if<std::string>(&stored)) {
        std::string key = foldName(*text);
        if (key == "true" || key == "yes" || key == "on") {
            return true;
        }
        if (key == "false" || key == "no" || key == "off" || key.empty()) {
            return false;
        }
        if (auto number = parseNumber(*text)) {
            return *number != 0;
        }
        throw EngineError(msg::notABoolean(*text, field(index).name));
    }
    return false;
}

double Dataset::getDouble(int index) const {
    const SqlValue& stored = value(index);
    if (auto i = std::get_if<int64_t>(&stored)) {
        return static_cast<double>(*i);
    }
    if (auto real = std::get_if<double>(&stored)) {
        return *real;
    }
    if (auto text = std::get_if<std::string>(&stored)) {
        if (auto number = parseNumber(*text)) {
            return *number;
        }
        throw EngineError(msg::notAFloat(*text, field(index).name));
    }
    return 0;
}

double Dataset::getDateTime(int index) const {
    const SqlValue& stored = value(index);
    if (auto text = std::get_if<std::string>(&stored)) {
        if (auto date = parseJetDate(*text)) {
            return *date;
        }
        throw EngineError(msg::notADate(*text, field(index).name));
    }
    return getDouble(index);
}

std::vector<uint8_t> Dataset::getBlob(int index) const {
    const SqlValue& stored = value(index);
    if (auto bytes = std::get_if<std::vector<uint8_t>>(&stored)) {
        return *bytes;
    }
    if (engine::isNull(stored)) {
        return {};
    }
    std::string text = getText(index);
    return std::vector<uint8_t>(text.begin(), text.end());
}

void Dataset::setValue(int, SqlValue) {
    throw EngineError(msg::readOnlyResult(description_));
}

void Dataset::setText(int index, std::string_view text) {
    setValue(index, std::string(text));
}
void Dataset::setInt32(int index, int32_t value) {
    setValue(index, int64_t{value});
}
void Dataset::setBool(int index, bool value) {
    setValue(index, int64_t{value ? -1 : 0});
}
void Dataset::setDouble(int index, double value) {
    setValue(index, value);
}
void Dataset::setDateTime(int index, double value) {
    setValue(index, value);
}
void Dataset::setNull(int index) {
    setValue(index, std::monostate{});
}
void Dataset::setBlob(int index, std::vector<uint8_t> bytes) {
    setValue(index, std::move(bytes));
}

}  // namespace orvdb::engine
