// ListView: the system list in report view: columns, whole-row single selection, no header
// clicks, no in-place editing; the context menu opens the control's PopupMenu.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Control.h"

namespace tk {

struct ListColumn {
    std::string caption;
    int width = 50;
};

class ListView : public WinControl {
public:
    explicit ListView(Component* owner = nullptr);
    // "TListView": Columns (a list of "caption" then width, stored as ('a' '350' 'b' '75')),
    // ViewStyle, RowSelect, ReadOnly, HideSelection, TabOrder...
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    void AddColumn(std::string caption, int width);
    const std::vector<ListColumn>& Columns() const { return columns_; }
    void SetColumns(std::vector<ListColumn> columns);

    // Rows: the first text is the row's caption, the others its columns.
    int AddRow(const std::vector<std::string>& texts);
    int RowCount() const;
    std::string RowText(int row, int column) const;
    void DeleteRow(int row);
    void Clear();
    // The selected row, -1 when none.
    int SelectedIndex() const;
    // Selects (and focuses) a row; -1 clears the selection.
    void Select(int row);

    NotifyEvent OnSelectItem;  // the selection changed

protected:
    void CreateParams(CreateParamsData& params) override;
    void HandleCreated() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT NotifyNotify(NMHDR* header) override;

private:
    void InsertColumns();
    std::vector<ListColumn> columns_;
};

}  // namespace tk
