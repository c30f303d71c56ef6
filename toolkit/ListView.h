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
    // "TListView": Columns (caption and width in turn: ('Source GVI Files' '350' 'Size (MB)'
    // '75')), ViewStyle (vsReport), RowSelect, ReadOnly, ColumnClick, TabOrder...
    // Style flags take effect when the window is made.
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

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

    // Fixed by default to what the program's list needs; a layout may still say them.
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool v) { columnClick_ = v; }

protected:
    void CreateParams(CreateParamsData& params) override;
    void HandleCreated() override;
    LRESULT NotifyNotify(NMHDR* header) override;

private:
    void InsertColumns();
    std::vector<ListColumn> columns_;
    bool rowSelect_ = true;
    bool readOnly_ = true;
    bool columnClick_ = false;
};

}  // namespace tk
