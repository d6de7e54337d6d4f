// The edit programs of the action parameter rewrites: each edit, the choice
// of an alternative by Ref and line count, lists too short, and every
// program of the catalogue read without error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "upgrade/action_parameters.hpp"

namespace orvdb::upgrade {
namespace {

using Lines = std::vector<std::string>;

struct EditCase {
    const char* program;
    int ref;
    Lines before;
    Lines after;          // when applied
    bool applied = true;  // false: no alternative applies, the row is left alone
};

const EditCase kEditCases[] = {
    {"append 0", 0, {"a"}, {"a", "0"}},
    {"insert 0 at 2; insert 0 at 2", 0, {"a", "b", "c"}, {"a", "b", "0", "0", "c"}},
    {"insert 0 at 3", 0, {"a", "b", "c"}, {"a", "b", "c", "0"}},
    {"insert 0 before last; insert 0 before last", 0, {"a", "b"}, {"a", "0", "0", "b"}},
    {"insert last at 0", 0, {"a", "b"}, {"b", "a", "b"}},
    {"take last; insert 0 at 0; insert taken at 0", 0, {"a", "b"}, {"b", "0", "a"}},
    {"swap 0 1", 0, {"a", "b", "c"}, {"b", "a", "c"}},
    {"delete 1", 0, {"a", "b", "c"}, {"a", "c"}},
    {"negate 1", 0, {"a", "5"}, {"a", "-(5)"}},
    {"negate 1", 0, {"a", "0"}, {"a", "0"}},
    {"layout L1 0;0 L0 L1", 0, {"a", "b"}, {"b", "0;0", "a", "b"}},
    {"ref 1: append x | ref 2, 3: append y", 3, {"a"}, {"a", "y"}},
    {"ref 1: append x | ref 2, 3: append y", 1, {"a"}, {"a", "x"}},
    {"ref 1: append x | ref 2, 3: append y", 4, {"a"}, {"a"}, false},
    {"ref 5, 2 lines: append x | ref 5: append y", 5, {"a", "b"}, {"a", "b", "x"}},
    {"ref 5, 2 lines: append x | ref 5: append y", 5, {"a"}, {"a", "y"}},
    {"2 lines: delete 0", 0, {"a", "b"}, {"b"}},
    {"2 lines: delete 0", 0, {"a"}, {"a"}, false},
};

TEST(ActionParameterEdits, EachEditAndTheChoiceOfAlternative) {
    for (const EditCase& edit : kEditCases) {
        SCOPED_TRACE(std::string(edit.program) + " on Ref " + std::to_string(edit.ref));
        Lines lines = edit.before;
        EXPECT_EQ(editParameters(edit.program, edit.ref, lines, "action 1"), edit.applied);
        EXPECT_EQ(lines, edit.after);
    }
}

struct FailureCase {
    const char* program;
    Lines before;
    const char* error;  // what the exception says
};

const FailureCase kFailureCases[] = {
    {"insert 0 at 2",
     {"a"},
     "action 1: its parameter list has 1 lines, too few for 'insert 0 at 2'"},
    {"swap 1 2", {"a", "b"}, "action 1: its parameter list has 2 lines, too few for 'swap 1 2'"},
    {"delete 0", {}, "action 1: its parameter list has 0 lines, too few for 'delete 0'"},
    {"insert 0 before last", {}, "too few for 'insert 0 before last'"},
    {"layout L0 L3", {"a"}, "too few for 'layout L0 L3'"},
    {"take last", {}, "too few for 'take last'"},
};

TEST(ActionParameterEdits, AListTooShortStopsWithTheActionNamed) {
    for (const FailureCase& failure : kFailureCases) {
        SCOPED_TRACE(failure.program);
        Lines lines = failure.before;
        try {
            editParameters(failure.program, 0, lines, "action 1");
            ADD_FAILURE() << "the edit went through";
        } catch (const ActionParameterError& e) {
            EXPECT_NE(std::string(e.what()).find(failure.error), std::string::npos) << e.what();
        }
    }
    Lines lines{"a"};
    EXPECT_THROW(editParameters("rotate 1", 0, lines, "action 1"), std::invalid_argument);
}

TEST(ActionParameterEdits, ListsSplitOnEveryLineBreakAndJoinWithCrLf) {
    const std::pair<const char*, Lines> splits[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\rb", {"a", "b"}}, {"a\n\nb", {"a", "", "b"}}, {"", {}}};
    for (const auto& [text, lines] : splits) {
        EXPECT_EQ(parameterLines(text), lines) << text;
    }
    EXPECT_EQ(parameterText({"a", "b"}), "a\r\nb\r\n");
}

// Every program of the catalogue reads: whatever the Ref and the length of
// the list, it applies or finds the list too short, never fails to parse.
TEST(ActionParameterEdits, EveryCatalogueProgramReads) {
    for (const ActionRewrite& rewrite : kActionRewrites) {
        SCOPED_TRACE("script " + std::to_string(rewrite.script));
        for (int ref = 0; ref <= 140; ++ref) {
            for (size_t count : {8u, 9u, 20u}) {
                Lines lines(count, "x");
                try {
                    editParameters(rewrite.edits, ref, lines, "action 1");
                } catch (const ActionParameterError&) {
                    EXPECT_LT(count, 20u) << "Ref " << ref;
                } catch (const std::invalid_argument& e) {
                    ADD_FAILURE() << e.what();
                }
            }
        }
    }
}

}  // namespace
}  // namespace orvdb::upgrade
