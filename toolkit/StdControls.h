// The standard controls of the windows' layouts. Drawn ones: Image, Label, Bevel; windowed ones:
// Panel, and the system's Edit, Button, RadioButton and ListView under the toolkit's window
// procedure. Each class publishes the properties its layouts give it.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Bitmap.h"
#include "toolkit/Control.h"
#include "toolkit/Handles.h"

namespace tk {

// A picture at its natural size from the top-left corner, clipped to the control.
class Image : public GraphicControl {
public:
    explicit Image(Component* owner = nullptr);
    static const ClassInfo& StaticInfo();  // Picture.Data: byte count + BMP or JPEG file
    const ClassInfo& Info() const override { return StaticInfo(); }

    const Bitmap& Picture() const { return picture_; }
    void SetPicture(Bitmap b);

    // Pixels of the colour of the picture's bottom-left pixel are not drawn.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

    void Paint(Canvas& canvas) override;

private:
    Bitmap picture_;
    std::vector<uint8_t> pictureData_;  // the stored file, written back unchanged
    bool transparent_ = false;
};

enum class Alignment { LeftJustify, RightJustify };  // taLeftJustify, ...

// A line (or word-wrapped lines) of text, transparent or on its own colour.
class Label : public GraphicControl {
public:
    explicit Label(Component* owner = nullptr);
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    // Sized to the text (default), or a fixed size.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // Without it the label is filled with its Color first.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    tk::Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(tk::Alignment a);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);

    void Paint(Canvas& canvas) override;

protected:
    void CaptionChanged() override;
    void FontChanged() override;

private:
    void AdjustSize();
    UINT DrawFlags() const;

    bool autoSize_ = true;
    bool transparent_ = false;
    tk::Alignment alignment_ = tk::Alignment::LeftJustify;
    bool wordWrap_ = false;
};

enum class BevelShape { TopLine };  // bsTopLine

// A sunken line along the top edge (the one shape the windows use).
class Bevel : public GraphicControl {
public:
    explicit Bevel(Component* owner = nullptr);
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    BevelShape Shape() const { return shape_; }
    void SetShape(BevelShape s) { shape_ = s; Invalidate(); }

    void Paint(Canvas& canvas) override;

private:
    BevelShape shape_ = BevelShape::TopLine;
};

// A plain container window on its Color (BevelOuter: only bvNone).
class Panel : public WinControl {
public:
    explicit Panel(Component* owner = nullptr);
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }
};

// The system's single-line edit field.
class Edit : public WinControl {
public:
    explicit Edit(Component* owner = nullptr);
    static const ClassInfo& StaticInfo();  // Text, ReadOnly, Ctl3D (False = flat)
    const ClassInfo& Info() const override { return StaticInfo(); }

    std::string Text() const { return Caption(); }
    void SetText(std::string t) { SetCaption(std::move(t)); }
    std::string Caption() const override;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // Flat: a single thin border instead of the sunken 3-D one.
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }

protected:
    void CreateParams(CreateParamsData& params) override;
    HBRUSH CtlColor(HDC dc) override;

private:
    OwnedBrush brush_;
    Color brushColor_ = 0;
    bool readOnly_ = false;
    bool flat_ = false;
};

// Push button. Enter clicks it when it has the focus, or when it is Default and can take the
// focus; Escape when it is Cancel. A click hands ModalResult to its form.
class Button : public WinControl {
public:
    explicit Button(Component* owner = nullptr);
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }

    void Click() override;
    bool DialogKey(WORD key) override;
    void FocusChanged(WinControl* active) override;

protected:
    void CreateParams(CreateParamsData& params) override;
    LRESULT CommandNotify(WORD code) override;

private:
    void UpdateDefaultLook(bool on);
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
    bool showsDefault_ = false;
};

// Radio button; selecting one clears the others with the same parent.
class RadioButton : public WinControl {
public:
    explicit RadioButton(Component* owner = nullptr);
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    bool Checked() const { return checked_; }
    void SetChecked(bool v);

protected:
    void CreateParams(CreateParamsData& params) override;
    void HandleCreated() override;
    LRESULT CommandNotify(WORD code) override;

private:
    bool checked_ = false;
};

struct ListColumn {
    std::string caption;
    int width = 50;
};

// The system list in report view: columns, whole-row single selection, no header clicks, no
// in-place editing; the context menu opens the control's PopupMenu. Its style flags take
// effect when the window is made.
class ListView : public WinControl {
public:
    explicit ListView(Component* owner = nullptr);
    // Columns: caption and width in turn, ('Source GVI Files' '350' 'Size (MB)' '75').
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
