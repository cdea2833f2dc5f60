#include "skin/TableStyle.h"

#include "skin/DesignErrors.h"
#include "skin/StyleRegistry.h"

#include <algorithm>
#include <cstring>

namespace pavlora {
namespace {

// Spans come from the service's files: keep them sane.
constexpr std::int32_t kMaxSpan = 1000;

std::optional<std::int32_t> OptionalInteger(const TStyleAttributes& a, const char* name)
{
    if (!a.Has(name))
        return std::nullopt;
    return a.Integer(name, 0);
}

void ReportInvalidNode(const TStyleReadContext& context, pugi::xml_node node)
{
    context.registry.Errors().Report(QStringLiteral("Invalid table node: \"%1\" in table \"%2\".")
                                         .arg(QString::fromUtf8(node.name()), context.styleName));
}

} // namespace

void TTableStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext& context)
{
    borderTop = a.Integer("bordertop", borderTop);
    borderRight = a.Integer("borderright", borderRight);
    borderBottom = a.Integer("borderbottom", borderBottom);
    borderLeft = a.Integer("borderleft", borderLeft);
    spacingX = a.Integer("spacingx", spacingX);
    spacingY = a.Integer("spacingy", spacingY);
    align = ReadAlign(a, "align", align);
    valign = ReadVAlign(a, "valign", valign);

    // The grid is defined anew by each definition of the table.
    cells.clear();
    rowCount = columnCount = maxColspan = maxRowspan = 0;
    int row = -1;
    for (pugi::xml_node rowNode = a.Element().first_child(); rowNode; rowNode = rowNode.next_sibling()) {
        if (rowNode.type() != pugi::node_element)
            continue;
        ++row;
        if (std::strcmp(rowNode.name(), "tr") != 0) {
            ReportInvalidNode(context, rowNode);
            continue;
        }
        const TStyleAttributes rowAttributes(rowNode);
        const TAlign rowAlign = ReadAlign(rowAttributes, "align", align);
        const TVAlign rowValign = ReadVAlign(rowAttributes, "valign", valign);
        int column = 0;
        for (pugi::xml_node cellNode = rowNode.first_child(); cellNode; cellNode = cellNode.next_sibling()) {
            if (cellNode.type() != pugi::node_element)
                continue;
            if (std::strcmp(cellNode.name(), "td") != 0) {
                ReportInvalidNode(context, cellNode);
                continue;
            }
            const TStyleAttributes c(cellNode);
            TTableCellStyle cell;
            cell.control = c.Text("control", QString());
            cell.style = c.Text("style", QString());
            cell.align = ReadAlign(c, "align", rowAlign);
            cell.valign = ReadVAlign(c, "valign", rowValign);
            cell.colspan = std::clamp(c.Integer("colspan", 1), 1, kMaxSpan);
            cell.rowspan = std::clamp(c.Integer("rowspan", 1), 1, kMaxSpan);
            cell.minX = OptionalInteger(c, "min_x");
            cell.maxX = OptionalInteger(c, "max_x");
            cell.minY = OptionalInteger(c, "min_y");
            cell.maxY = OptionalInteger(c, "max_y");
            cell.row = row;
            cell.column = column;
            column += cell.colspan;
            rowCount = std::max(rowCount, cell.row + cell.rowspan);
            columnCount = std::max(columnCount, cell.column + cell.colspan);
            maxColspan = std::max(maxColspan, cell.colspan);
            maxRowspan = std::max(maxRowspan, cell.rowspan);
            cells.append(cell);
        }
    }
}

} // namespace pavlora
