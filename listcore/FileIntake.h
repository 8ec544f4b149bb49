#pragma once

#include "listcore/FileEntry.h"
#include "listcore/UpdateBatch.h"

#include <string>
#include <string_view>

class RowStore;

// One intake of files into the list, as "Add Files" and a drop make it: the
// rows go to the end of the list inside one update batch, each checked and
// in the list's entry form, with the file's times. The file system is asked
// once per file, for the folder test and the times together.
class FileIntake {
public:
    explicit FileIntake(RowStore& rows);

    // Appends the row for the file at path; the dialog takes every path.
    void addChosen(const std::string& path);
    // The same for a dropped path, which is skipped when it names a folder.
    void addDropped(const std::string& path);
    // The same for a path the caller has looked at already (say in a listing
    // of its folder, which tells no times).
    void addLooked(std::string_view path, const FileLookup& lookup);

private:
    void append(std::string_view path, const FileTimes& times);

    RowStore& m_rows;
    UpdateBatch<RowStore> m_batch;
    // Files of one intake mostly share their folder: one text serves them all.
    FileEntry::SharedFolder m_folder;
};
