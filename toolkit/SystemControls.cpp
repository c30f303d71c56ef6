// Edit, Button, RadioButton and ListView: system controls under the toolkit's window procedure.
#include "toolkit/StdControls.h"

#include <commctrl.h>

#include "toolkit/Form.h"

namespace tk {

void WinControl::SetClassDefaults(int width, int height, Color color) {
    SetBounds(0, 0, width, height);
    SetTabStop(true);
    defaultTabStop_ = true;
    SetColor(color);
    defaultColor_ = color;
}

// --- Edit ------------------------------------------------------------------------------------

Edit::Edit(Component* owner) : WinControl(owner) { SetClassDefaults(121, 21, clWindow); }

void Edit::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = "EDIT";
    p.systemClass = true;
    p.style = (p.style & ~(WS_CLIPCHILDREN)) | ES_AUTOHSCROLL | ES_LEFT;
    if (readOnly_) p.style |= ES_READONLY;
    if (flat_) p.style |= WS_BORDER;
    else p.exStyle |= WS_EX_CLIENTEDGE;
}

std::string Edit::Caption() const {
    HWND h = WindowHandle();
    if (!h) return WinControl::Caption();
    int n = GetWindowTextLengthA(h);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(h, text.data(), n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

void Edit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (HWND h = WindowHandle()) SendMessageA(h, EM_SETREADONLY, v, 0);
}

HBRUSH Edit::CtlColor(HDC dc) {
    // Read-only fields keep the field colour (the system would grey them).
    const Color c = GetColor();
    if (!brush_ || brushColor_ != c) {
        brush_.reset(CreateSolidBrush(ColorToRGB(c)));
        brushColor_ = c;
    }
    SetBkColor(dc, ColorToRGB(c));
    SetTextColor(dc, ColorToRGB(GetFont().color));
    return brush_.get();
}

// --- Button ----------------------------------------------------------------------------------

Button::Button(Component* owner) : WinControl(owner) { SetClassDefaults(75, 25, clBtnFace); }

void Button::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = "BUTTON";
    p.systemClass = true;
    p.style = (p.style & ~WS_CLIPCHILDREN) | (showsDefault_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void Button::Click() {
    Form* f = GetParentForm();
    if (f && modalResult_ != 0) f->SetModalResult(modalResult_);
    WinControl::Click();
}

LRESULT Button::CommandNotify(WORD code) {
    if (code == BN_CLICKED) Click();
    return 0;
}

void Button::SetDefault(bool v) {
    default_ = v;
    Form* f = GetParentForm();
    if (f && HandleAllocated()) {
        f->FocusChanged(f->ActiveControl());
    } else if (!dynamic_cast<Button*>(f ? f->ActiveControl() : nullptr)) {
        UpdateDefaultLook(v);
    }
}

void Button::FocusChanged(WinControl* active) {
    // Enter belongs to the focused button; with the focus elsewhere, to the default one.
    if (dynamic_cast<Button*>(active)) UpdateDefaultLook(active == this);
    else UpdateDefaultLook(default_);
}

void Button::UpdateDefaultLook(bool on) {
    showsDefault_ = on;
    if (HWND h = WindowHandle()) SendMessageA(h, BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool Button::DialogKey(WORD key) {
    if (KeyboardShiftState() & (ssShift | ssCtrl | ssAlt)) return false;
    const bool accept = (key == VK_RETURN && (showsDefault_ || Focused())) || (key == VK_ESCAPE && cancel_);
    if (!accept || !CanFocus()) return false;
    Click();
    return true;
}

// --- RadioButton -----------------------------------------------------------------------------

RadioButton::RadioButton(Component* owner) : WinControl(owner) { SetClassDefaults(113, 17, clBtnFace); }

void RadioButton::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = "BUTTON";
    p.systemClass = true;
    // Not the automatic kind: the control keeps the checks of its group itself.
    p.style = (p.style & ~WS_CLIPCHILDREN) | BS_RADIOBUTTON;
}

void RadioButton::HandleCreated() {
    WinControl::HandleCreated();
    SendMessageA(WindowHandle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    if (HWND h = WindowHandle()) SendMessageA(h, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (v && Parent()) {
        for (Control* c : Parent()->Controls())
            if (auto* r = dynamic_cast<RadioButton*>(c); r && r != this) r->SetChecked(false);
    }
}

LRESULT RadioButton::CommandNotify(WORD code) {
    if (code == BN_CLICKED) {
        SetChecked(true);
        Click();
    }
    return 0;
}

// --- ListView --------------------------------------------------------------------------------

ListView::ListView(Component* owner) : WinControl(owner) { SetClassDefaults(250, 150, clWindow); }

void ListView::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = WC_LISTVIEWA;
    p.systemClass = true;
    p.style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
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
    const bool edit = header->code == LVN_BEGINLABELEDITA || header->code == LVN_BEGINLABELEDITW;
    return edit && readOnly_ ? TRUE : FALSE;  // TRUE refuses the edit
}

}  // namespace tk
