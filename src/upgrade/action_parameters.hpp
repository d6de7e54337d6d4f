// Rewrites of action parameter lists. An action row keeps its parameters in
// the text column Parametre, one value a line; when an action gains
// parameters, a script reads the rows of its Refs, edits each list and writes
// it back (joined with CR LF after every line, inserted unescaped, so a text
// with an apostrophe makes that row's update fail and keeps its old text).
//
// Each rewrite is a row: the select that reads the rows, the update that
// writes one back (%s the text, %d the row's ID), and an edit program:
//
//   program      alternative { " | " alternative }   the first that applies is used;
//                                                      none: the row is left alone
//   alternative  [ condition ": " ] edit { "; " edit }
//   condition    "ref " R { ", " R } [ ", " N " lines" ]  |  N " lines"
//   edit         "append V"               add V as the last line
//                "insert V at I"          insert before line I (zero-based)
//                "insert V before last"
//                "insert last at I"       a copy of the last line
//                "take last"              remove the last line and keep it
//                "insert taken at I"
//                "swap I J"               exchange lines I and J
//                "delete I"
//                "negate I"               line I becomes "-(" + line + ")" unless it is "0"
//                "layout T T ..."         the whole list again: Ln is old line n, any
//                                         other token is written as it stands
//
// A list too short for an edit raises ActionParameterError, which stops the
// upgrade with the steps before kept.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "upgrade/upgrade_session.hpp"

namespace orvdb::upgrade {

class ActionParameterError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

struct ActionRewrite {
    int script = 0;  // the step script it is (0 for a patch's)
    std::string_view rows;
    std::string_view update;
    std::string_view edits;
    // The update runs as a select that may fail (the patches' way): it takes
    // effect, and the query layer reports that it returned no rows.
    bool updateAsSelect = false;
};

inline constexpr std::string_view kSpacedUpdate =
    " UPDATE [Action]    SET Parametre='%s'   WHERE ID=%d";
inline constexpr std::string_view kActionUpdate = "UPDATE [Action] SET Parametre='%s' WHERE ID=%d";
inline constexpr std::string_view kZvActionUpdate =
    "UPDATE Zv_Action SET Parametre='%s' WHERE ID=%d";

inline constexpr ActionRewrite kActionRewrites[] = {
    // script  rows read                                            update   edits
    {16, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (114, 115, 116, 117, 118)", kSpacedUpdate,
     "append 0"},
    {17,
     "SELECT ID, Parametre FROM [Action] WHERE Ref IN (29, 40, 54, 58, 63, 68, 69, 70, 74, 76, 79)",
     kSpacedUpdate, "append 0"},
    {18, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (52)", kSpacedUpdate,
     "insert 0 at 2; insert 0 at 2; insert 0 at 5; insert 0 at 5"},
    {19, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (99)", kSpacedUpdate,
     "insert 0 at 2; insert 0 at 2; insert 0 at 5; insert 0 at 5"},
    {22, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (119)", kActionUpdate,
     "insert 0 at 2; insert 0.0 at 2; insert last at 4; insert 0 at 7; insert 0.0 at 7"},
    {23, "SELECT ID, Ref, Parametre FROM [Action] WHERE Ref IN (28, 61)", kActionUpdate,
     "ref 28: layout L0 L1 L2 0.0 0 L6 L3 L4 L5 0.0 0 L6"
     " | ref 61, 9 lines: layout L0 L1 L2 L3 0.0 0 L8 L4 L5 L6 L7 0.0 0 L8"
     " | ref 61: layout L0 L1 L2 0;0 0.0 0 L7 L3 L4 L5 L6 0.0 0 L7"},
    {25, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (92)", kActionUpdate,
     "take last; insert 0 at 6; insert 0 at 6; insert taken at 6; insert 0 at 4; insert 0 at 4; "
     "insert taken at 4; insert 0 at 2; insert 0 at 2; insert taken at 2"},
    {26, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (5, 29, 40, 48, 54, 76)", kActionUpdate,
     "append 0"},
    {27, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (123)", kActionUpdate,
     "insert 0 before last; insert 0 before last"},
    {28, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (59)", kActionUpdate,
     "insert 0 at 2; insert 0 at 2"},
    {29, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (49)", kActionUpdate,
     "insert 0 at 2; insert 0 at 2"},
    {30, "SELECT ID, Ref, Parametre FROM [Action] WHERE Ref>=114 AND Ref<=117", kActionUpdate,
     "ref 114: insert 0 at 7; insert 0 at 6"
     " | ref 115, 116: insert 0 at 11; insert 0 at 10"
     " | ref 117: insert 0 at 4; insert 0 at 3"},
    {31, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (109)", kActionUpdate,
     "insert 0 at 1; insert 0 at 1"},
    {32, "SELECT ID, Ref, Parametre FROM [Action] WHERE Ref=117", kActionUpdate, "swap 4 5"},
    {33, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (113)", kActionUpdate, "append 0"},
    {34, "SELECT ID, Ref, Parametre FROM [Action] WHERE Ref=113", kActionUpdate,
     "9 lines: delete 1"},
    {37, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (134)", kActionUpdate,
     "append 0; append 0.0"},
    {38, "SELECT ID, Parametre FROM [Action] WHERE Ref IN (28, 61)", kActionUpdate, "append 0"},
    {43, "SELECT ID, Parametre FROM [zv_Action] WHERE Ref IN (134)", kZvActionUpdate,
     "append 0; append 0"},
    {49, "SELECT ID, Ref, Parametre FROM [zv_Action] WHERE Ref=117", kZvActionUpdate,
     "9 lines: insert 0 at 7; insert 0 at 8"},
};

constexpr bool hasActionRewrite(int script) {
    for (const ActionRewrite& rewrite : kActionRewrites) {
        if (rewrite.script == script) {
            return true;
        }
    }
    return false;
}

// Reads the rows of the rewrite and writes back each list its program
// changes: one query level in command mode for the updates, a second for the
// select.
void rewriteActions(UpgradeSession& session, const ActionRewrite& rewrite);

template <int Script>
void rewriteActionParameters(UpgradeSession& session) {
    static_assert(hasActionRewrite(Script), "no action rewrite has this script number");
    for (const ActionRewrite& rewrite : kActionRewrites) {
        if (rewrite.script == Script) {
            rewriteActions(session, rewrite);
        }
    }
}

// The list as lines (CR LF, CR or LF end a line) and back (CR LF after each).
std::vector<std::string> parameterLines(std::string_view text);
std::string parameterText(const std::vector<std::string>& lines);

// Applies `program` to the lines of a row with that Ref. False when no
// alternative applies (the row is left alone). Throws ActionParameterError
// naming `where` when the list is too short, std::invalid_argument for a
// program that does not parse.
bool editParameters(std::string_view program, int ref, std::vector<std::string>& lines,
                    const std::string& where);

// Whether the program reads the row's Ref (it has "ref" conditions).
bool programUsesRef(std::string_view program);

}  // namespace orvdb::upgrade
