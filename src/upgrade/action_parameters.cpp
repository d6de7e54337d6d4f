#include "upgrade/action_parameters.hpp"

#include <charconv>

namespace orvdb::upgrade {

namespace {

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t found; (found = text.find(separator, start)) != std::string_view::npos;) {
        parts.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

[[noreturn]] void badProgram(std::string_view program, std::string_view part) {
    throw std::invalid_argument("action parameter edit '" + std::string(part) + "' of '" +
                                std::string(program) + "' is not understood");
}

int number(std::string_view text, std::string_view program) {
    int value = 0;
    text = trimmed(text);
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        badProgram(program, text);
    }
    return value;
}

// Whether the row with this Ref and line count meets the condition.
bool meets(std::string_view condition, int ref, size_t lineCount, std::string_view program) {
    bool refListed = true;
    for (std::string_view part : split(condition, ", ")) {
        part = trimmed(part);
        if (startsWith(part, "ref ")) {
            refListed = number(part.substr(4), program) == ref;
        } else if (part.size() > 6 && part.substr(part.size() - 6) == " lines") {
            if (static_cast<size_t>(number(part.substr(0, part.size() - 6), program)) !=
                lineCount) {
                return false;
            }
        } else if (!part.empty() && part.find_first_not_of("0123456789") == std::string::npos) {
            // A further Ref of "ref 115, 116".
            refListed = refListed || number(part, program) == ref;
        } else {
            badProgram(program, part);
        }
    }
    return refListed;
}

class Editor {
public:
    Editor(std::vector<std::string>& lines, const std::string& where, std::string_view program)
        : lines_(lines), where_(where), program_(program) {}

    void apply(std::string_view edit) {
        std::vector<std::string_view> words = split(trimmed(edit), " ");
        auto is = [&](std::initializer_list<std::string_view> pattern) {
            if (pattern.size() != words.size()) {
                return false;
            }
            size_t i = 0;
            for (std::string_view word : pattern) {
                if (!word.empty() && word != words[i]) {
                    return false;
                }
                ++i;
            }
            return true;
        };
        if (is({"append", ""})) {
            lines_.emplace_back(words[1]);
        } else if (is({"insert", "", "before", "last"})) {
            insert(value(words[1]), static_cast<int>(lines_.size()) - 1, edit);
        } else if (is({"insert", "", "at", ""})) {
            insert(value(words[1]), number(words[3], program_), edit);
        } else if (is({"take", "last"})) {
            require(!lines_.empty(), edit);
            taken_ = lines_.back();
            lines_.pop_back();
        } else if (is({"swap", "", ""})) {
            size_t a = index(number(words[1], program_), edit);
            size_t b = index(number(words[2], program_), edit);
            std::swap(lines_[a], lines_[b]);
        } else if (is({"delete", ""})) {
            lines_.erase(lines_.begin() +
                         static_cast<std::ptrdiff_t>(index(number(words[1], program_), edit)));
        } else if (is({"negate", ""})) {
            std::string& line = lines_[index(number(words[1], program_), edit)];
            if (line != "0") {
                line = "-(" + line + ")";
            }
        } else if (!words.empty() && words[0] == "layout") {
            std::vector<std::string> out;
            for (size_t i = 1; i < words.size(); ++i) {
                std::string_view token = words[i];
                if (token.size() > 1 && token[0] == 'L' &&
                    token.find_first_not_of("0123456789", 1) == std::string_view::npos) {
                    out.push_back(lines_[index(number(token.substr(1), program_), edit)]);
                } else {
                    out.emplace_back(token);
                }
            }
            lines_ = std::move(out);
        } else {
            badProgram(program_, edit);
        }
    }

private:
    // "last" and "taken" stand for the last line and the line taken.
    std::string value(std::string_view word) {
        if (word == "last") {
            require(!lines_.empty(), "a copy of the last line");
            return lines_.back();
        }
        if (word == "taken") {
            return taken_;
        }
        return std::string(word);
    }

    void insert(std::string line, int at, std::string_view edit) {
        require(at >= 0 && static_cast<size_t>(at) <= lines_.size(), edit);
        lines_.insert(lines_.begin() + at, std::move(line));
    }

    size_t index(int at, std::string_view edit) {
        require(at >= 0 && static_cast<size_t>(at) < lines_.size(), edit);
        return static_cast<size_t>(at);
    }

    void require(bool fits, std::string_view edit) {
        if (!fits) {
            throw ActionParameterError(where_ + ": its parameter list has " +
                                       std::to_string(lines_.size()) + " lines, too few for '" +
                                       std::string(trimmed(edit)) + "'");
        }
    }

    std::vector<std::string>& lines_;
    const std::string& where_;
    std::string_view program_;
    std::string taken_;
};

std::string filled(std::string_view update, const std::string& text, int id) {
    std::string out;
    for (size_t i = 0; i < update.size(); ++i) {
        if (update[i] == '%' && i + 1 < update.size() && update[i + 1] == 's') {
            out += text;
            ++i;
        } else if (update[i] == '%' && i + 1 < update.size() && update[i + 1] == 'd') {
            out += std::to_string(id);
            ++i;
        } else {
            out += update[i];
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> parameterLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

std::string parameterText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

bool programUsesRef(std::string_view program) {
    for (std::string_view alternative : split(program, " | ")) {
        size_t colon = alternative.find(": ");
        if (colon != std::string_view::npos &&
            startsWith(trimmed(alternative.substr(0, colon)), "ref ")) {
            return true;
        }
    }
    return false;
}

bool editParameters(std::string_view program, int ref, std::vector<std::string>& lines,
                    const std::string& where) {
    for (std::string_view alternative : split(program, " | ")) {
        std::string_view edits = alternative;
        size_t colon = alternative.find(": ");
        if (colon != std::string_view::npos) {
            if (!meets(alternative.substr(0, colon), ref, lines.size(), program)) {
                continue;
            }
            edits = alternative.substr(colon + 2);
        }
        Editor editor(lines, where, program);
        for (std::string_view edit : split(edits, "; ")) {
            editor.apply(edit);
        }
        return true;
    }
    return false;
}

void rewriteActions(UpgradeSession& session, const ActionRewrite& rewrite) {
    QueryLevel changesLevel(session);
    QueryHandle changes = session.current();
    if (rewrite.updateAsSelect) {
        changes.setSelectMode();
    } else {
        changes.setCommandMode();
    }
    QueryLevel rowsLevel(session);
    QueryHandle rows = session.current();
    const bool readsRef = programUsesRef(rewrite.edits);
    for (bool row = rows.open(rewrite.rows); row && rows.active(); rows.next()) {
        int id = rows.fieldInteger("ID");
        int ref = readsRef ? rows.fieldInteger("Ref") : 0;
        std::vector<std::string> lines = parameterLines(rows.fieldText("Parametre"));
        std::string where =
            "action " + std::to_string(id) +
            (rewrite.script ? " (script " + std::to_string(rewrite.script) + ")" : std::string());
        if (!editParameters(rewrite.edits, ref, lines, where)) {
            continue;
        }
        std::string update = filled(rewrite.update, parameterText(lines), id);
        if (rewrite.updateAsSelect) {
            changes.tryOpen(update);
        } else {
            changes.open(update);
        }
    }
}

}  // namespace orvdb::upgrade
