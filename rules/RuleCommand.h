#pragma once

#include "listcore/RowRefusal.h"
#include "rules/DateTimeRule.h"
#include "rules/InsertRules.h"
#include "rules/Placement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class RowStore;

// One click of an Apply Change button: the rule, with its parameters as the
// controls of its page hold them. Number boxes are kept as their texts, and
// the rule reads them (ReadNumber) itself when the first checked entry needs
// them, in the order the rule states: a bad number then fails before any
// name has changed, and never on a list without checked entries. The window
// and the command line run the same commands.

// Where the piece goes: the page's radio group, and its position box, which
// is read only for "At Position".
struct PlacementChoice {
    Placement mode = Placement::Prefix;
    std::string position;
};

struct LowerCaseRule {};
struct UpperCaseRule {};
struct TitleCaseRule {};
struct RemoveFirstRule {
    std::string count;
};
struct RemoveLastRule {
    std::string count;
};
struct RemoveFromToRule {  // To is read before From
    std::string from;
    std::string to;
};
struct RemoveCharsRule {
    std::string piece;
    bool matchCase = false;  // byte for byte, where the window's rule ignores case
};
struct RemoveAllNumbersRule {};
struct RemoveAllSymbolsRule {};
struct RemoveAllNonCharactersRule {};  // the two rules above, a pass each
struct ReplaceRule {
    std::string match;
    std::string replacement;
    bool matchCase = false;
};
// A value each file holds, which tolvex-rename's --tag inserts where the
// window inserts its characters: a field of the file's audio tags
// ("title") or a key of its picture data ("exif:Exif.Image.Model").
struct HeldField {
    std::string name;
    std::string mask;  // pads a value of digits alone, as a serial number's
};
struct AddCharactersRule {
    std::string characters;
    PlacementChoice where;
    std::optional<HeldField> held{};  // then the file's value instead of the characters
};
struct AddSerialNumberRule {  // Start is read before the position
    std::string start;
    std::string mask;
    PlacementChoice where;
    bool perFolder = false;  // each folder's files counted apart, the window's over the whole list
};
struct AddDateTimeRule {
    DateTimeSource source = DateTimeSource::CurrentTime;
    std::string pattern;
    PlacementChoice where;
};
struct CopyRule {  // To, then From, then the position
    std::string from;
    std::string to;
    PlacementChoice where;
};
struct MoveRule {
    std::string from;
    std::string to;
    PlacementChoice where;
};

using RuleCommand =
    std::variant<LowerCaseRule, UpperCaseRule, TitleCaseRule, RemoveFirstRule, RemoveLastRule, RemoveFromToRule,
                 RemoveCharsRule, RemoveAllNumbersRule, RemoveAllSymbolsRule, RemoveAllNonCharactersRule,
                 ReplaceRule, AddCharactersRule, AddSerialNumberRule, AddDateTimeRule, CopyRule, MoveRule>;

// Runs the rule over the checked rows of the list (see RulePass.h). The
// date rule takes "Current Time" from `now`, anew for each entry, and a
// picture's capture time from `captureTime`, and the insert of a held value
// takes it from `heldValue`; a row whose file has none is refused, in list
// order (every row, without a reader). The rules of the window's buttons
// refuse no row.
std::vector<RowRefusal> runRule(RowStore& rows, const RuleCommand& rule, const CurrentTimeClock& now,
                                const CaptureTimeReader& captureTime = {}, const HeldValueReader& heldValue = {});
