#pragma once

#include "skin/StyleData.h"

#include <QList>

#include <optional>

namespace pavlora {

// One cell of a "table": the control placed in it, its span and size limits.
struct TTableCellStyle {
    QString control;
    QString style;
    TAlign align = TAlign::Center;
    TVAlign valign = TVAlign::Center;
    std::int32_t colspan = 1;
    std::int32_t rowspan = 1;
    std::optional<std::int32_t> minX, maxX, minY, maxY; // absent: no limit
    int row = 0;
    int column = 0;
};

// "table": a grid that places named controls. Rows ("tr") hold cells
// ("td"); a cell's column is the sum of the colspans before it in its row.
// Tables have no master.
class TTableStyle final : public TStyleRecord<TTableStyle> {
public:
    std::int32_t borderTop = 0, borderRight = 0, borderBottom = 0, borderLeft = 0;
    std::int32_t spacingX = 0, spacingY = 0;
    TAlign align = TAlign::Center;
    TVAlign valign = TVAlign::Center;
    QList<TTableCellStyle> cells;
    int rowCount = 0;
    int columnCount = 0;
    int maxColspan = 0;
    int maxRowspan = 0;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

} // namespace pavlora
