#pragma once

class RowStore;

// The order of a run's files: the one serial numbers count in and the
// renames are made in.
enum class RowOrder {
    Given,     // as on the command line and standard input
    Natural,   // by file name, digit runs as numbers; then by folder alike
    Name,      // by file name in byte order; then by folder alike
    Modified,  // oldest first, then as Natural; files without a time last
};

// Puts the rows in that order, before any rule runs. Rows that compare
// equal (a path given twice) keep their given order. `byFolder`: only rows
// next to each other in one folder change places, as the files of one
// folder a walk found, so that a folder stays after what it holds.
void sortRows(RowStore& rows, RowOrder order, bool byFolder = false);
