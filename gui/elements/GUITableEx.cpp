#include "gui/elements/GUITableEx.h"

#include <irrlicht.h>

#include <set>
#include <string>
#include <vector>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

std::set<const gui::IGUIElement*>& LiveTables()
{
    static std::set<const gui::IGUIElement*> live;
    return live;
}

std::string ColumnKey(int32_t column, const char* what)
{
    return "Column" + std::to_string(column) + what;
}

// Holds a flag set for a scope.
class CFlagScope
{
public:
    explicit CFlagScope(bool& flag) : m_flag(flag), m_before(flag) { m_flag = true; }
    ~CFlagScope() { m_flag = m_before; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_flag;
    bool m_before;
};

} // namespace

CGUITableEx::CGUITableEx(gui::IGUIEnvironment* environment, gui::IGUIElement* parent,
                         const core::rect<s32>& rect, bool drawBackground)
    : gui::IGUIElement(gui::EGUIET_TABLE, environment, parent, -1, rect), m_drawBackground(drawBackground)
{
    LiveTables().insert(this);
    m_table = environment->addTable(core::rect<s32>(0, 0, rect.getWidth(), rect.getHeight()), this, -1,
                                    drawBackground);
    if (m_table != nullptr)
    {
        m_table->setAlignment(gui::EGUIA_UPPERLEFT, gui::EGUIA_LOWERRIGHT, gui::EGUIA_UPPERLEFT,
                              gui::EGUIA_LOWERRIGHT);
        m_table->setSubElement(true);
        m_table->setTabStop(false);
    }
    setTabStop(true);
}

CGUITableEx::~CGUITableEx()
{
    LiveTables().erase(this);
}

CGUITableEx* CGUITableEx::FromElement(gui::IGUIElement* element)
{
    if (element == nullptr || LiveTables().count(element) == 0)
        return nullptr;
    return static_cast<CGUITableEx*>(element);
}

bool CGUITableEx::OnEvent(const SEvent& event)
{
    if (event.EventType == EET_GUI_EVENT)
    {
        if (m_quiet && event.GUIEvent.Caller == m_table)
            return false;
        if (event.GUIEvent.EventType == gui::EGET_ELEMENT_FOCUSED && m_table != nullptr)
        {
            gui::IGUIElement* caller = event.GUIEvent.Caller;
            // Focus given to this element goes on to the inner table.
            if (caller == this || !isMyChild(caller))
            {
                Environment->setFocus(m_table);
                return true;
            }
        }
    }
    return Parent != nullptr ? Parent->OnEvent(event) : false;
}

void CGUITableEx::setToolTipText(const wchar_t* text)
{
    if (m_table != nullptr)
        m_table->setToolTipText(text);
}

const core::stringw& CGUITableEx::getToolTipText() const
{
    return m_table != nullptr ? m_table->getToolTipText() : ToolTipText;
}

void CGUITableEx::setID(s32 id)
{
    if (m_table != nullptr)
        m_table->setID(id);
    gui::IGUIElement::setID(id);
}

void CGUITableEx::ChangeAttributes(const std::function<void(io::IAttributes&)>& change)
{
    // The library looks each attribute up by name along the whole list, so
    // reading a full table back would cost the square of its cells. The
    // rows are taken out for the round trip, which then costs per column,
    // and put back from what this element keeps: each cell's text, and its
    // data pointer with the record that holds its colour.
    struct SSavedCell
    {
        core::stringw text;
        void* data = nullptr;
    };
    const int32_t rows = GetRowCount();
    const int32_t columns = GetColumnCount();
    std::vector<SSavedCell> cells(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    for (int32_t row = 0; row < rows; ++row)
    {
        for (int32_t column = 0; column < columns; ++column)
        {
            SSavedCell& cell = cells[static_cast<size_t>(row) * columns + column];
            cell.text = m_table->getCellText(static_cast<u32>(row), static_cast<u32>(column));
            cell.data = m_table->getCellData(static_cast<u32>(row), static_cast<u32>(column));
        }
    }
    const s32 selected = m_table->getSelected();
    const s32 active = m_table->getActiveColumn();

    io::IAttributes* attributes =
        Environment->getFileSystem()->createEmptyAttributes(Environment->getVideoDriver());
    {
        CFlagScope quiet(m_quiet);
        m_table->clearRows();
        m_table->serializeAttributes(attributes);
        change(*attributes);
        m_table->deserializeAttributes(attributes);
        for (int32_t row = 0; row < rows; ++row)
        {
            m_table->addRow(static_cast<u32>(row));
            for (int32_t column = 0; column < columns; ++column)
            {
                const SSavedCell& cell = cells[static_cast<size_t>(row) * columns + column];
                const u32 tableRow = static_cast<u32>(row);
                const u32 tableColumn = static_cast<u32>(column);
                if (!cell.text.empty())
                    m_table->setCellText(tableRow, tableColumn, cell.text);
                if (cell.data == nullptr)
                    continue;
                m_table->setCellData(tableRow, tableColumn, cell.data);
                const auto record = m_cells.find(cell.data);
                if (record != m_cells.end() && record->second->hasColor)
                    m_table->setCellColor(tableRow, tableColumn, record->second->color);
            }
        }
        m_table->setSelected(selected);
    }
    SetActiveColumnQuietly(active);
    attributes->drop();
}

int32_t CGUITableEx::AddColumn(const std::wstring& caption, int32_t index)
{
    if (m_table == nullptr)
        return -1;
    const int32_t count = GetColumnCount();
    if (index < 0 || index > count)
        index = count;
    CFlagScope quiet(m_quiet);
    m_table->addColumn(caption.c_str(), index);
    m_columnNames.insert(m_columnNames.begin() + index, caption);
    m_columnOrdering.insert(m_columnOrdering.begin() + index, gui::EGCO_NONE);
    return index;
}

void CGUITableEx::RemoveColumn(int32_t column)
{
    if (!IsColumn(column))
        return;
    for (int32_t row = 0; row < GetRowCount(); ++row)
        ForgetCellRecord(row, column);
    m_table->removeColumn(static_cast<u32>(column));
    m_columnNames.erase(m_columnNames.begin() + column);
    m_columnOrdering.erase(m_columnOrdering.begin() + column);
}

int32_t CGUITableEx::GetColumnCount() const
{
    return m_table != nullptr ? m_table->getColumnCount() : 0;
}

std::wstring CGUITableEx::GetColumnText(int32_t column) const
{
    return IsColumn(column) ? m_columnNames[column] : std::wstring();
}

void CGUITableEx::SetColumnText(int32_t column, const std::wstring& text)
{
    if (!IsColumn(column))
        return;
    ChangeAttributes([&](io::IAttributes& attributes)
                     { attributes.setAttribute(ColumnKey(column, "name").c_str(), text.c_str()); });
    m_columnNames[column] = text;
}

uint32_t CGUITableEx::GetColumnWidth(int32_t column) const
{
    return IsColumn(column) ? m_table->getColumnWidth(static_cast<u32>(column)) : 0;
}

void CGUITableEx::SetColumnWidth(int32_t column, uint32_t pixels)
{
    if (IsColumn(column))
        m_table->setColumnWidth(static_cast<u32>(column), pixels);
}

int32_t CGUITableEx::GetColumnOrdering(int32_t column) const
{
    return IsColumn(column) ? m_columnOrdering[column] : 0;
}

bool CGUITableEx::SetColumnOrdering(int32_t column, int32_t mode)
{
    if (mode < 0 || mode >= gui::EGCO_COUNT)
        return false;
    if (IsColumn(column))
    {
        m_table->setColumnOrdering(static_cast<u32>(column), static_cast<gui::EGUI_COLUMN_ORDERING>(mode));
        m_columnOrdering[column] = mode;
    }
    return true;
}

int32_t CGUITableEx::GetActiveColumn() const
{
    return m_table != nullptr ? m_table->getActiveColumn() : -1;
}

bool CGUITableEx::SetActiveColumn(int32_t column, bool order)
{
    if (!IsColumn(column))
        return false;
    return m_table->setActiveColumn(column, order);
}

void CGUITableEx::SetActiveColumnQuietly(int32_t column)
{
    if (!IsColumn(column))
        return;
    CFlagScope quiet(m_quiet);
    m_table->setActiveColumn(column, false);
}

bool CGUITableEx::HasResizableColumns() const
{
    return m_table != nullptr && m_table->hasResizableColumns();
}

void CGUITableEx::SetResizableColumns(bool resizable)
{
    if (m_table != nullptr)
        m_table->setResizableColumns(resizable);
}

int32_t CGUITableEx::GetSelected() const
{
    return m_table != nullptr ? m_table->getSelected() : -1;
}

void CGUITableEx::SetSelected(int32_t row)
{
    if (m_table != nullptr)
        m_table->setSelected(row >= 0 && row < GetRowCount() ? row : -1);
}

int32_t CGUITableEx::GetRowCount() const
{
    return m_table != nullptr ? m_table->getRowCount() : 0;
}

int32_t CGUITableEx::AddRow(int32_t index)
{
    if (m_table == nullptr)
        return -1;
    const int32_t count = GetRowCount();
    if (index < 0 || index > count)
        index = count;
    return static_cast<int32_t>(m_table->addRow(static_cast<u32>(index)));
}

void CGUITableEx::RemoveRow(int32_t row)
{
    if (row < 0 || row >= GetRowCount())
        return;
    for (int32_t column = 0; column < GetColumnCount(); ++column)
        ForgetCellRecord(row, column);
    m_table->removeRow(static_cast<u32>(row));
}

void CGUITableEx::ClearRows()
{
    if (m_table == nullptr)
        return;
    m_table->clearRows();
    m_cells.clear();
}

void CGUITableEx::SwapRows(int32_t a, int32_t b)
{
    const int32_t count = GetRowCount();
    if (a >= 0 && a < count && b >= 0 && b < count)
        m_table->swapRows(static_cast<u32>(a), static_cast<u32>(b));
}

bool CGUITableEx::OrderRows(int32_t column, int32_t mode)
{
    if (m_table == nullptr || mode < 0 || mode >= gui::EGOM_COUNT)
        return false;
    if (column != -1 && !IsColumn(column))
        return false;
    if (column == -1 && !IsColumn(GetActiveColumn()))
        return false;
    m_table->orderRows(column, static_cast<gui::EGUI_ORDERING_MODE>(mode));
    return true;
}

std::wstring CGUITableEx::GetCellText(int32_t row, int32_t column) const
{
    if (!IsCell(row, column))
        return std::wstring();
    const wchar_t* text = m_table->getCellText(static_cast<u32>(row), static_cast<u32>(column));
    return text != nullptr ? std::wstring(text) : std::wstring();
}

void CGUITableEx::SetCellText(int32_t row, int32_t column, const std::wstring& text)
{
    if (!IsCell(row, column))
        return;
    m_table->setCellText(static_cast<u32>(row), static_cast<u32>(column), core::stringw(text.c_str()));
    // The library gives the cell the skin's text colour again but leaves it
    // marked as coloured: a colour of its own is drawn as it is reported.
    const SCellRecord* record = FindCellRecord(row, column);
    if (record != nullptr && record->hasColor)
        m_table->setCellColor(static_cast<u32>(row), static_cast<u32>(column), record->color);
}

std::wstring CGUITableEx::GetCellData(int32_t row, int32_t column) const
{
    const SCellRecord* record = FindCellRecord(row, column);
    return record != nullptr ? record->data : std::wstring();
}

void CGUITableEx::SetCellData(int32_t row, int32_t column, const std::wstring& data)
{
    if (!IsCell(row, column))
        return;
    if (data.empty())
    {
        SCellRecord* record = FindCellRecord(row, column, false);
        if (record != nullptr && record->hasColor)
            record->data.clear();
        else
            ForgetCellRecord(row, column);
        return;
    }
    FindCellRecord(row, column, true)->data = data;
}

CGUITableEx::SCellRecord* CGUITableEx::FindCellRecord(int32_t row, int32_t column, bool create)
{
    if (!IsCell(row, column))
        return nullptr;
    void* pointer = m_table->getCellData(static_cast<u32>(row), static_cast<u32>(column));
    const auto found = m_cells.find(pointer);
    if (found != m_cells.end())
        return found->second.get();
    if (!create)
        return nullptr;
    auto record = std::make_unique<SCellRecord>();
    SCellRecord* result = record.get();
    m_cells.emplace(result, std::move(record));
    m_table->setCellData(static_cast<u32>(row), static_cast<u32>(column), result);
    return result;
}

const CGUITableEx::SCellRecord* CGUITableEx::FindCellRecord(int32_t row, int32_t column) const
{
    if (!IsCell(row, column))
        return nullptr;
    const auto found = m_cells.find(m_table->getCellData(static_cast<u32>(row), static_cast<u32>(column)));
    return found != m_cells.end() ? found->second.get() : nullptr;
}

void CGUITableEx::ForgetCellRecord(int32_t row, int32_t column)
{
    void* pointer = m_table->getCellData(static_cast<u32>(row), static_cast<u32>(column));
    if (pointer == nullptr)
        return;
    m_table->setCellData(static_cast<u32>(row), static_cast<u32>(column), nullptr);
    m_cells.erase(pointer);
}

video::SColor CGUITableEx::GetCellColor(int32_t row, int32_t column) const
{
    if (!IsCell(row, column))
        return video::SColor(0);
    const SCellRecord* record = FindCellRecord(row, column);
    if (record != nullptr && record->hasColor)
        return record->color;
    gui::IGUISkin* skin = Environment->getSkin();
    return skin != nullptr ? skin->getColor(gui::EGDC_BUTTON_TEXT) : video::SColor(0);
}

void CGUITableEx::SetCellColor(int32_t row, int32_t column, video::SColor color)
{
    if (!IsCell(row, column))
        return;
    m_table->setCellColor(static_cast<u32>(row), static_cast<u32>(column), color);
    SCellRecord* record = FindCellRecord(row, column, true);
    record->color = color;
    record->hasColor = true;
}

int32_t CGUITableEx::GetDrawFlags() const
{
    return m_table != nullptr ? m_table->getDrawFlags() : 0;
}

void CGUITableEx::SetDrawFlags(int32_t flags)
{
    if (m_table != nullptr)
        m_table->setDrawFlags(flags);
}

bool CGUITableEx::GetDrawBackground() const
{
    return m_drawBackground;
}

void CGUITableEx::SetDrawBackground(bool draw)
{
    if (m_table == nullptr || draw == m_drawBackground)
        return;
    ChangeAttributes([&](io::IAttributes& attributes) { attributes.setAttribute("DrawBack", draw); });
    m_drawBackground = draw;
}

bool CGUITableEx::GetMoveOverSelect() const
{
    return m_moveOverSelect;
}

void CGUITableEx::SetMoveOverSelect(bool moveOverSelect)
{
    if (m_table == nullptr || moveOverSelect == m_moveOverSelect)
        return;
    ChangeAttributes([&](io::IAttributes& attributes)
                     { attributes.setAttribute("MoveOverSelect", moveOverSelect); });
    m_moveOverSelect = moveOverSelect;
}

void CGUITableEx::Clear()
{
    if (m_table == nullptr)
        return;
    m_table->clear();
    m_cells.clear();
    m_columnNames.clear();
    m_columnOrdering.clear();
}

} // namespace Graphics::GUI
