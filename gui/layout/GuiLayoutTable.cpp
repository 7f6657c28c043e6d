// The "Table" block of GUI layouts: the table's columns, its cells with
// their texts and data, and its settings.

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/DataBag.h"
#include "gui/elements/GUITableEx.h"
#include "gui/layout/GuiLayoutReader.h"
#include "gui/layout/GuiLayoutWriter.h"
#include "gui/layout/IGuiLayoutHost.h"
#include "gui/layout/LayoutArchive.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <vector>

namespace Graphics::GUI
{

using Layout::UsesRelativeCoordinates;
using Layout::WriteBlockEnd;
using Layout::WriteBlockStart;

using namespace irr;
using Misc::Error::CKVOError;
using Misc::Serialization::IArchive;

namespace
{

constexpr const wchar_t* kMethod = L"ReadTable";
// A table of more cells than this is taken for a damaged or hostile file
// rather than built.
constexpr uint64_t kMaxTableCells = 1u << 20;

void Require(bool read, const char* key)
{
    Layout::Require(read, key, kMethod);
}

// "-Label" or "-Data" with the row, the column and the text.
bool WriteCell(IArchive& archive, const char* key, uint32_t row, uint32_t column, const std::wstring& text)
{
    return archive.WriteString(key) && archive.WriteSpaces(1) && archive.WriteUInt(row) &&
           archive.WriteSpaces(1) && archive.WriteUInt(column) && archive.WriteSpaces(1) &&
           archive.WriteWString(text) && archive.EndLine(0);
}

struct SColumn
{
    std::wstring label;
    float width = 0.0f;
    int32_t order = 0;
};

struct SCell
{
    bool isData = false;
    uint32_t row = 0;
    uint32_t column = 0;
    std::wstring text;
};

} // namespace

gui::IGUIElement* CGuiLayoutReader::ReadTable(IArchive& archive)
{
    const std::wstring name = m_host.GetElementName(ReadElementIdName(archive), false);
    const CRect position = ReadElementPosition(archive, kMethod);
    bool background = false;
    Require(archive.ReadKeyBool("-Background", background), "-Background");

    // The whole block is read before the table is made, so a damaged block
    // leaves no half-built table behind.
    archive.ExpectToken("Headers{");
    uint32_t headerCount = 0;
    Require(archive.ReadKeyULong("-HeaderCount", headerCount), "-HeaderCount");
    std::vector<SColumn> columns;
    while (!archive.TestToken("}"))
    {
        archive.ExpectToken("Header{");
        SColumn column;
        Require(archive.ReadKeyWString("-Label", column.label), "-Label");
        Require(archive.ReadKeyFloat("-Width", column.width), "-Width");
        Require(archive.ReadKeyInt("-Order", column.order), "-Order");
        archive.ExpectToken("}");
        if (column.order < 0 || column.order >= gui::EGCO_COUNT)
            throw CKVOError::Format(L"[CGuiManager::ReadTable] Invalid column ordering:%i", column.order);
        columns.push_back(column);
    }

    archive.ExpectToken("Data{");
    uint32_t rowCount = 0;
    Require(archive.ReadKeyULong("-RowCount", rowCount), "-RowCount");
    if (static_cast<uint64_t>(rowCount) * (columns.empty() ? 1 : columns.size()) > kMaxTableCells)
        throw CKVOError::Format(L"[CGuiManager::ReadTable] Too many table cells:%u", rowCount);
    std::vector<SCell> cells;
    for (;;)
    {
        const std::string key = archive.ReadToken(nullptr);
        if (key == "}")
            break;
        if (key.empty())
            throw CKVOError(L"[CGuiManager::ReadTable] Table data not closed");
        // Other keys are passed over.
        if (key != "-Label" && key != "-Data")
            continue;
        SCell cell;
        cell.isData = key == "-Data";
        Require(archive.ReadUInt(cell.row) && archive.ReadUInt(cell.column), key.c_str());
        Require(archive.ReadWString(cell.text), key.c_str());
        // A cell of a row or column the table does not have is passed over.
        if (cell.row < rowCount && cell.column < columns.size())
            cells.push_back(std::move(cell));
    }

    int32_t activeColumn = -1;
    int32_t activeRow = -1;
    int32_t drawFlags = 0;
    bool moveOverSelect = false;
    bool resizableColumns = false;
    Require(archive.ReadKeyInt("-ActiveColumn", activeColumn), "-ActiveColumn");
    Require(archive.ReadKeyInt("-ActiveRow", activeRow), "-ActiveRow");
    Require(archive.ReadKeyInt("-DrawFlags", drawFlags), "-DrawFlags");
    Require(archive.ReadKeyBool("-MoveOverSelect", moveOverSelect), "-MoveOverSelect");
    Require(archive.ReadKeyBool("-ResizableColumns", resizableColumns), "-ResizableColumns");

    CGUITableEx* table = m_host.AddTableNamed(name, position, background);
    if (table == nullptr)
        return nullptr;
    for (const SColumn& column : columns)
    {
        const int32_t index = table->AddColumn(column.label, -1);
        m_host.SetTableColumnWidth(table, index, column.width);
        table->SetColumnOrdering(index, column.order);
    }
    // Set while the table is still empty: the setting is a change of the
    // whole table's attributes.
    table->SetMoveOverSelect(moveOverSelect);
    for (uint32_t row = 0; row < rowCount; ++row)
        table->AddRow(-1);
    for (const SCell& cell : cells)
    {
        const auto row = static_cast<int32_t>(cell.row);
        const auto column = static_cast<int32_t>(cell.column);
        if (cell.isData)
            table->SetCellData(row, column, cell.text);
        else
            table->SetCellText(row, column, cell.text);
    }
    // Set quietly: the file states the column, no user chose it.
    table->SetActiveColumnQuietly(activeColumn);
    table->SetDrawFlags(drawFlags);
    table->SetResizableColumns(resizableColumns);
    // The selection is published, as a script's would be.
    m_host.SetTableSelectedRow(table, activeRow);
    return table;
}

bool CGuiLayoutWriter::WriteTable(IArchive& archive, gui::IGUIElement* element)
{
    CGUITableEx* table = CGUITableEx::FromElement(element);
    if (table == nullptr)
        return false;
    const bool relative = UsesRelativeCoordinates(archive);
    const int32_t columns = table->GetColumnCount();
    const int32_t rows = table->GetRowCount();
    bool ok = WriteElementIdName(archive, table) && WriteElementPosition(archive, table) &&
              archive.WriteKeyBool("-Background", table->GetDrawBackground()) &&
              WriteBlockStart(archive, "Headers{") &&
              archive.WriteKeyULong("-HeaderCount", static_cast<uint32_t>(columns));
    for (int32_t column = 0; ok && column < columns; ++column)
    {
        const float pixels = static_cast<float>(table->GetColumnWidth(column));
        ok = WriteBlockStart(archive, "Header{") &&
             archive.WriteKeyWString("-Label", table->GetColumnText(column)) &&
             archive.WriteKeyFloat("-Width",
                                   relative ? PixelsToFraction(pixels, m_host.GetScreenWidth()) : pixels) &&
             archive.WriteKeyInt("-Order", table->GetColumnOrdering(column)) && WriteBlockEnd(archive);
    }
    ok = ok && WriteBlockEnd(archive) && WriteBlockStart(archive, "Data{") &&
         archive.WriteKeyULong("-RowCount", static_cast<uint32_t>(rows));
    for (int32_t row = 0; ok && row < rows; ++row)
    {
        for (int32_t column = 0; ok && column < columns; ++column)
        {
            const std::wstring text = table->GetCellText(row, column);
            if (!text.empty())
                ok = WriteCell(archive, "-Label", row, column, text);
            const std::wstring data = table->GetCellData(row, column);
            if (ok && !data.empty())
                ok = WriteCell(archive, "-Data", row, column, data);
        }
    }
    return ok && WriteBlockEnd(archive) && archive.WriteKeyInt("-ActiveColumn", table->GetActiveColumn()) &&
           archive.WriteKeyInt("-ActiveRow", table->GetSelected()) &&
           archive.WriteKeyInt("-DrawFlags", table->GetDrawFlags()) &&
           archive.WriteKeyBool("-MoveOverSelect", table->GetMoveOverSelect()) &&
           archive.WriteKeyBool("-ResizableColumns", table->HasResizableColumns());
}

} // namespace Graphics::GUI
