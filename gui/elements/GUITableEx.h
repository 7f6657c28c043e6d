#pragma once

#include <IGUIElement.h>
#include <IGUITable.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace irr::io
{
class IAttributes;
}

namespace Graphics::GUI
{

// The engine's table: an element of the table type that holds the
// library's table stretched over its whole area and adds what that table
// does not give out: column names (read and renamed), column ordering
// modes, cell colours, a data text per cell that the element owns, and the
// background and move-over-select flags. The inner table carries this
// element's id, so its events reach scripts under this element's name.
//
// The element keeps what it adds itself: columns change only through it,
// and each cell's own record hangs on the cell's data pointer, so it moves
// with its row when the user sorts the table.
//
// Rows and columns are 0-based; an index outside the table changes nothing
// and reads as "", 0 or -1.
class CGUITableEx : public irr::gui::IGUIElement
{
public:
    CGUITableEx(irr::gui::IGUIEnvironment* environment, irr::gui::IGUIElement* parent,
                const irr::core::rect<irr::s32>& rect, bool drawBackground);
    ~CGUITableEx() override;

    // The element as an engine table; null for any other element.
    static CGUITableEx* FromElement(irr::gui::IGUIElement* element);

    bool OnEvent(const irr::SEvent& event) override;
    void setToolTipText(const wchar_t* text) override;
    const irr::core::stringw& getToolTipText() const override;
    void setID(irr::s32 id) override;

    // An index below 0 or past the last column appends; answers the index
    // used.
    int32_t AddColumn(const std::wstring& caption, int32_t index);
    void RemoveColumn(int32_t index);
    int32_t GetColumnCount() const;
    std::wstring GetColumnText(int32_t column) const;
    void SetColumnText(int32_t column, const std::wstring& text);
    uint32_t GetColumnWidth(int32_t column) const;
    void SetColumnWidth(int32_t column, uint32_t pixels);
    // EGUI_COLUMN_ORDERING numbers; false (nothing set) for a mode outside
    // them.
    int32_t GetColumnOrdering(int32_t column) const;
    bool SetColumnOrdering(int32_t column, int32_t mode);
    int32_t GetActiveColumn() const;
    // False for a column outside the table.
    bool SetActiveColumn(int32_t column, bool order);
    // The same without ordering and without the header event.
    void SetActiveColumnQuietly(int32_t column);
    bool HasResizableColumns() const;
    void SetResizableColumns(bool resizable);
    // -1 when no row is selected.
    int32_t GetSelected() const;
    // A row outside the table selects none.
    void SetSelected(int32_t row);
    int32_t GetRowCount() const;
    int32_t AddRow(int32_t index);
    void RemoveRow(int32_t row);
    void ClearRows();
    void SwapRows(int32_t a, int32_t b);
    // Column -1 is the active column; EGUI_ORDERING_MODE numbers. False
    // when the column or mode is not one.
    bool OrderRows(int32_t column, int32_t mode);
    std::wstring GetCellText(int32_t row, int32_t column) const;
    void SetCellText(int32_t row, int32_t column, const std::wstring& text);
    std::wstring GetCellData(int32_t row, int32_t column) const;
    void SetCellData(int32_t row, int32_t column, const std::wstring& data);
    // The cell's own colour, else the colour the table draws its text in.
    irr::video::SColor GetCellColor(int32_t row, int32_t column) const;
    void SetCellColor(int32_t row, int32_t column, irr::video::SColor color);
    int32_t GetDrawFlags() const;
    void SetDrawFlags(int32_t flags);
    bool GetDrawBackground() const;
    void SetDrawBackground(bool draw);
    bool GetMoveOverSelect() const;
    void SetMoveOverSelect(bool moveOverSelect);
    // Columns and rows.
    void Clear();

    irr::gui::IGUITable* GetInnerTable() const { return m_table; }

private:
    bool IsColumn(int32_t column) const { return column >= 0 && column < GetColumnCount(); }
    bool IsCell(int32_t row, int32_t column) const
    {
        return row >= 0 && row < GetRowCount() && IsColumn(column);
    }
    struct SCellRecord
    {
        std::wstring data;
        irr::video::SColor color;
        bool hasColor = false;
    };

    // The library's table takes some settings only as a whole: they are
    // written out, changed and read back in, keeping what reading back
    // loses (cell records, selection, active column), without events.
    void ChangeAttributes(const std::function<void(irr::io::IAttributes&)>& change);
    // The cell's record; with create, a new one when it has none.
    SCellRecord* FindCellRecord(int32_t row, int32_t column, bool create);
    const SCellRecord* FindCellRecord(int32_t row, int32_t column) const;
    void ForgetCellRecord(int32_t row, int32_t column);

    irr::gui::IGUITable* m_table = nullptr;
    // The cells' data pointers point into here.
    std::unordered_map<const void*, std::unique_ptr<SCellRecord>> m_cells;
    std::vector<std::wstring> m_columnNames;
    std::vector<int32_t> m_columnOrdering;
    bool m_drawBackground = false;
    bool m_moveOverSelect = false;
    // While set, the inner table's events stay inside the element.
    bool m_quiet = false;
};

} // namespace Graphics::GUI
