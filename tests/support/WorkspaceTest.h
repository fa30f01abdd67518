#pragma once
// A workspace with scripted answers in a private program folder.

#include "commands/Workspace.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <array>

namespace korv::test {

class WorkspaceTest : public ::testing::Test {
protected:
    TestFolder folder;
    ScriptedDialogs ui;
    Workspace ws{ui, folder.language};

    // Times in tests are written with ".", whatever the machine's locale.
    WorkspaceTest()
    {
        ws.numbers = NumberFormat::dot();
        ws.letterCase = LetterCase::Default;
    }

    // Rows of {start, end, text} (no text: empty), numbered, `selected`
    // chosen, as just opened: unmodified, with a new history.
    void setRows(std::initializer_list<std::array<const char *, 3>> rows, int selected = 0)
    {
        std::vector<SubtitleEntry> entries;
        for (const auto &r : rows)
            entries.push_back({"0", r[0], r[1], QString::fromUtf8(r[2])});
        ws.list.replaceAll(std::move(entries));
        ws.list.renumber();
        ws.list.select(selected);
        ws.history.startNew();
    }
    QString cell(int row, int column) const { return ws.list.cell(row, column); }
    QString field(int index) const { return ws.fields.text(index); }
    QStringList column(int column) const
    {
        QStringList out;
        for (const SubtitleEntry &row : ws.list.rows())
            out << row.cell(column);
        return out;
    }
    QStringList texts() const { return column(ColText); }
};

} // namespace korv::test
