#pragma once

#include "listcore/EntryForm.h"
#include "extrarules/CommandLineRule.h"
#include "runs/RowOrder.h"
#include "runs/TreeChoice.h"

#include <string>
#include <vector>

// What one run of tolvex-rename was asked to do.
struct Invocation {
    std::vector<std::string> files;  // the FILE arguments, as bytes
    bool readNulSeparated = false;   // and more paths on standard input
    TreeChoice tree;                 // what a folder given stands for
    EntryForm form = EntryForm::Split;
    RowOrder order = RowOrder::Given;
    std::vector<CommandLineRule> rules;  // in the order given
    bool apply = false;
    std::string journal;             // record the renames here
    bool noJournal = false;          // and not in the state folder either
    std::string undo;                // reverse this journal instead; "last": the newest of the state folder
    bool history = false;            // list the state folder's journals instead
    bool edit = false;               // the proposed names through $VISUAL or $EDITOR
    bool json = false;
    bool verbose = false;            // a line for every file in text too
    bool resolve = false;            // order the renames so that chains and cycles succeed
    std::string fromJson;            // take the files and their new names from this plan
};
