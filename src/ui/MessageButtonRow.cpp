#include "ui/MessageButtonRow.h"

#include "core/AppSettings.h"
#include "core/Logger.h"

#include <cmath>
#include <numeric>

namespace pavlora {

namespace {

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode rounds halves to even
}

int ReadInteger(const TAppSettings& settings, const char* name, int fallback)
{
    const QString key = QLatin1String(name);
    const QString text = settings.Text(key).trimmed();
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int value = text.startsWith(QLatin1Char('$')) ? text.mid(1).toInt(&ok, 16) : text.toInt(&ok, 10);
    if (ok)
        return value;
    ReportMessage(
        QStringLiteral("Setting %1 is not an integer (\"%2\"); the message box uses %3").arg(key, text).arg(fallback));
    return fallback;
}

} // namespace

TMessageButtonRow TMessageButtonRow::FromSettings(const TAppSettings& settings)
{
    TMessageButtonRow row;
    row.top = ReadInteger(settings, "info_box_buttons_top", row.top);
    row.offset = ReadInteger(settings, "info_box_buttons_offset", row.offset);
    row.space = ReadInteger(settings, "info_box_buttons_space", row.space);
    const QString position = settings.Text(QStringLiteral("info_box_buttons_position"));
    if (position.compare(QLatin1String("center"), Qt::CaseInsensitive) == 0)
        row.position = TButtonRowPosition::Center;
    else if (position.compare(QLatin1String("left"), Qt::CaseInsensitive) == 0)
        row.position = TButtonRowPosition::Left;
    else if (position.compare(QLatin1String("rightmiddle"), Qt::CaseInsensitive) == 0)
        row.position = TButtonRowPosition::RightMiddle;
    row.reversed = settings.Boolean(QStringLiteral("reverse_dialog_button_order"), false);
    return row;
}

QList<int> ArrangeButtonRow(const QList<int>& widths, int clientWidth, const TMessageButtonRow& row)
{
    const auto count = static_cast<int>(widths.size());
    QList<int> lefts(count, 0);
    if (count == 0)
        return lefts;
    switch (row.position) {
    case TButtonRowPosition::Center: {
        const int sum = std::accumulate(widths.begin(), widths.end(), 0);
        int left = RoundHalfEven((clientWidth - sum - (count - 1) * row.space) / 2.0);
        for (int i = 0; i < count; ++i) {
            lefts[i] = left;
            left += widths[i] + row.space;
        }
        break;
    }
    case TButtonRowPosition::Left: {
        int left = row.offset;
        for (int i = 0; i < count; ++i) {
            lefts[i] = left;
            left += widths[i] + row.space;
        }
        break;
    }
    case TButtonRowPosition::RightMiddle: {
        // The centres stand `space` apart, the last one `offset` from the right edge.
        int offset = row.offset;
        for (int i = count - 1; i >= 0; --i) {
            const int odd = widths[i] % 2 == 0 ? widths[i] + 1 : widths[i];
            lefts[i] = clientWidth - offset - RoundHalfEven(odd / 2.0);
            offset += row.space;
        }
        break;
    }
    case TButtonRowPosition::Right: {
        int offset = row.offset;
        for (int i = count - 1; i >= 0; --i) {
            lefts[i] = clientWidth - widths[i] - offset;
            offset += widths[i] + row.space;
        }
        break;
    }
    }
    return lefts;
}

} // namespace pavlora
