// Merging the directory-index files (DIRECTORIES.XML) of the staging folder
// into those of the output folder.
//
// Node merge of a staging node Y into an output node X, recursively: each
// child x of X takes the last child y of Y that matches it (same local name
// and node type, upper-cased; the same single text when both hold exactly
// one text; the same attributes by local name and value, upper-cased) and
// y is merged into x and dropped from Y. Whatever is left of Y is appended
// to X. Two nodes that each hold one text are a leaf: merging one into the
// other ends the merge of their parent at once.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace orvdb::merge {

// Merges y into x; true only in the leaf case.
bool mergeNode(pugi::xml_node x, pugi::xml_node y);

// For folders P1 (output) and P2 (staging), both ending with a separator:
// when P1 + subPath + file exists and P2 + subPath + file too, the second's
// last top-level node is merged into the first's and P1's file is saved;
// when only P2's exists, it is written unchanged to outputtemp.xml in the
// temporary folder. Throws std::runtime_error naming the file that cannot
// be read, parsed or written.
void mergeDirectoryIndex(const std::string& outputFolder, const std::string& stagingFolder,
                         std::string_view subPath, std::string_view fileName);

}  // namespace orvdb::merge
