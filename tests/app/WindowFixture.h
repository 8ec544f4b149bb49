#pragma once

#include "ListContents.h"
#include "RecordingDialogs.h"
#include "app/Unit1.h"

#include <QCheckBox>

// A main window with recording dialogs and a few entries whose files need
// not exist (rules and list commands only look at the names).
struct WindowFixture {
    TForm1 window;
    RecordingDialogs& dialogs = recordDialogs(window);

    explicit WindowFixture(const std::vector<std::string>& names = {})
    {
        std::vector<std::string> paths;
        for (const std::string& name : names)
            paths.push_back("/nonexistent-folder/" + name);
        if (!paths.empty())
            window.addFiles(paths);
    }

    std::vector<ListRow*> rows() { return listRows(window); }

    FileEntry& entry(int index) { return *window.VT->RowData(rows().at(std::size_t(index))); }

    std::vector<std::string> newNames()
    {
        std::vector<std::string> names;
        for (ListRow* row : rows())
            names.emplace_back(window.VT->RowData(row)->NewName());
        return names;
    }

    void setChecked(int index, bool checked)
    {
        rows().at(std::size_t(index))->CheckState = checked ? csCheckedNormal : csUncheckedNormal;
    }
};
