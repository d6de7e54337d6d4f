#include "merge/directory_index_merge.hpp"

#include "host/paths.hpp"
#include "merge/merge_paths.hpp"
#include "merge/upper_case.hpp"

#include <stdexcept>
#include <vector>

namespace orvdb::merge {

namespace {

std::string localName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    size_t colon = name.find(':');
    return upperCased(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

std::string localName(const pugi::xml_attribute& attribute) {
    std::string_view name = attribute.name();
    size_t colon = name.find(':');
    return upperCased(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

bool isText(const pugi::xml_node& node) {
    return node.type() == pugi::node_pcdata;
}

// Exactly one child, a text: that child.
pugi::xml_node singleText(const pugi::xml_node& node) {
    pugi::xml_node child = node.first_child();
    if (child && !child.next_sibling() && isText(child)) {
        return child;
    }
    return {};
}

size_t attributeCount(const pugi::xml_node& node) {
    size_t count = 0;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        ++count;
    }
    return count;
}

bool matches(const pugi::xml_node& x, const pugi::xml_node& y) {
    if (x.type() != y.type() || localName(x) != localName(y)) {
        return false;
    }
    pugi::xml_node xText = singleText(x);
    pugi::xml_node yText = singleText(y);
    if (xText && yText && upperCased(xText.value()) != upperCased(yText.value())) {
        return false;
    }
    const size_t attributes = attributeCount(x);
    if (attributes != attributeCount(y)) {
        return false;
    }
    size_t coincidences = 0;
    for (pugi::xml_attribute a = x.first_attribute(); a; a = a.next_attribute()) {
        for (pugi::xml_attribute b = y.first_attribute(); b; b = b.next_attribute()) {
            if (localName(a) == localName(b) && upperCased(a.value()) == upperCased(b.value())) {
                ++coincidences;
                break;
            }
        }
    }
    return coincidences == attributes;
}

pugi::xml_document load(const std::string& path) {
    pugi::xml_document document;
    pugi::xml_parse_result result = document.load_file(host::resolvePath(path).c_str());
    if (!result) {
        throw std::runtime_error("cannot read '" + path + "': " + result.description() +
                                 " at offset " + std::to_string(result.offset));
    }
    return document;
}

void save(const pugi::xml_document& document, const std::string& path) {
    if (!document.save_file(host::resolvePath(path).c_str(), "\t", pugi::format_default,
                            pugi::encoding_utf8)) {
        throw std::runtime_error("cannot write '" + path + "'");
    }
}

}  // namespace

bool mergeNode(pugi::xml_node x, pugi::xml_node y) {
    for (pugi::xml_node child = x.first_child(); child; child = child.next_sibling()) {
        pugi::xml_node match;
        for (pugi::xml_node candidate = y.last_child(); candidate;
             candidate = candidate.previous_sibling()) {
            if (matches(child, candidate)) {
                match = candidate;
                break;
            }
        }
        if (!match) {
            continue;
        }
        if (mergeNode(child, match)) {
            return false;
        }
        y.remove_child(match);
    }
    if (singleText(x) && singleText(y)) {
        return true;
    }
    std::vector<pugi::xml_node> remaining;
    for (pugi::xml_node child = y.first_child(); child; child = child.next_sibling()) {
        remaining.push_back(child);
    }
    for (const pugi::xml_node& child : remaining) {
        x.append_copy(child);
        y.remove_child(child);
    }
    return false;
}

void mergeDirectoryIndex(const std::string& outputFolder, const std::string& stagingFolder,
                         std::string_view subPath, std::string_view fileName) {
    const std::string outputFile = outputFolder + std::string(subPath) + std::string(fileName);
    const std::string stagingFile = stagingFolder + std::string(subPath) + std::string(fileName);
    if (host::fileExists(outputFile)) {
        if (!host::fileExists(stagingFile)) {
            return;
        }
        pugi::xml_document output = load(outputFile);
        pugi::xml_document staging = load(stagingFile);
        pugi::xml_node outputRoot = output.last_child();
        pugi::xml_node stagingRoot = staging.last_child();
        if (outputRoot && stagingRoot) {
            mergeNode(outputRoot, stagingRoot);
        }
        save(output, outputFile);
    } else if (host::fileExists(stagingFile)) {
        save(load(stagingFile), outputTempXmlPath());
    }
}

}  // namespace orvdb::merge
