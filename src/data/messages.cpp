#include "data/messages.hpp"

namespace orvdb::data::msg {

std::string nullArgument(std::string_view operation, std::string_view argument) {
    std::string text(operation);
    text.append(": ").append(argument).append(" is a null pointer");
    return text;
}

std::string nullOutArgument(std::string_view operation) {
    return nullArgument(operation, "the out argument");
}

std::string listIndexOutOfBounds(std::string_view operation, int32_t index) {
    std::string text(operation);
    text.append(": list index out of bounds (").append(std::to_string(index)).append(")");
    return text;
}

std::string usedAfterCall(std::string_view operation, std::string_view adapter) {
    std::string text(operation);
    text.append(": the ").append(adapter).append(" was used after its call");
    return text;
}

std::string invalidBuffer(std::string_view operation, int32_t size) {
    std::string text(operation);
    text.append(": invalid buffer (size ").append(std::to_string(size)).append(")");
    return text;
}

std::string noHostObject(std::string_view key) {
    std::string text = "the host has no object named '";
    text.append(key).append("' to read a stored object into");
    return text;
}

std::string notSerialisable(std::string_view key) {
    std::string text = "the host object '";
    text.append(key).append("' cannot be read from a blob (it is not serialisable)");
    return text;
}

std::string traceNotWritable(std::string_view path, std::string_view why) {
    std::string text = "cannot append to the query trace file '";
    text.append(path).append("': ").append(why);
    return text;
}

}  // namespace orvdb::data::msg
