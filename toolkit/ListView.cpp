// ListView: the system list control in report view.
#include "toolkit/ListView.h"

#include <commctrl.h>

namespace tk {

ListView::ListView(Component* owner) : WinControl(owner) {
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    defaultTabStop_ = true;
    SetColor(clWindow);
    defaultColor_ = clWindow;
}

void ListView::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = WC_LISTVIEWA;
    p.systemClass = true;
    p.style |= LVS_REPORT | LVS_SINGLESEL;
    p.style |= LVS_SHOWSELALWAYS;
    if (!columnClick_) p.style |= LVS_NOSORTHEADER;
    if (!readOnly_) p.style |= LVS_EDITLABELS;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void ListView::HandleCreated() {
    WinControl::HandleCreated();
    SetRowSelect(rowSelect_);
    InsertColumns();
}

void ListView::SetRowSelect(bool v) {
    rowSelect_ = v;
    if (HWND h = WindowHandle())
        SendMessageA(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, v ? LVS_EX_FULLROWSELECT : 0);
}

void ListView::InsertColumns() {
    HWND h = WindowHandle();
    if (!h) return;
    while (SendMessageA(h, LVM_DELETECOLUMN, 0, 0)) {}
    for (size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = columns_[i].width;
        col.pszText = columns_[i].caption.data();
        col.iSubItem = static_cast<int>(i);
        SendMessageA(h, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
}

void ListView::SetColumns(std::vector<ListColumn> columns) {
    columns_ = std::move(columns);
    InsertColumns();
}

int ListView::AddRow(const std::vector<std::string>& texts) {
    HWND h = Handle();
    std::string first = texts.empty() ? std::string() : texts[0];
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = first.data();
    const int row = static_cast<int>(SendMessageA(h, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return -1;
    for (size_t i = 1; i < texts.size(); ++i) {
        std::string text = texts[i];
        LVITEMA sub{};
        sub.iSubItem = static_cast<int>(i);
        sub.pszText = text.data();
        SendMessageA(h, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}

int ListView::RowCount() const {
    HWND h = WindowHandle();
    return h ? static_cast<int>(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string ListView::RowText(int row, int column) const {
    HWND h = WindowHandle();
    if (!h || row < 0 || row >= RowCount() || column < 0) return {};
    // The control copies at most the buffer: grow it until the text fits.
    for (size_t size = 512;; size *= 4) {
        std::string buffer(size, '\0');
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        const LRESULT n = SendMessageA(h, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        if (n < 0) return {};
        if (static_cast<size_t>(n) < size - 1 || size >= (1u << 20)) {
            buffer.resize(static_cast<size_t>(n));
            return buffer;
        }
    }
}

void ListView::DeleteRow(int row) {
    if (HWND h = WindowHandle(); h && row >= 0 && row < RowCount()) SendMessageA(h, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

void ListView::Clear() {
    if (HWND h = WindowHandle()) SendMessageA(h, LVM_DELETEALLITEMS, 0, 0);
}

int ListView::SelectedIndex() const {
    HWND h = WindowHandle();
    if (!h) return -1;
    return static_cast<int>(SendMessageA(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

LRESULT ListView::NotifyNotify(NMHDR* header) {
    switch (header->code) {
        case LVN_BEGINLABELEDITA:
        case LVN_BEGINLABELEDITW:
            return readOnly_ ? TRUE : FALSE;  // TRUE refuses the edit
        default:
            return 0;
    }
}

}  // namespace tk
