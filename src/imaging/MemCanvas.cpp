#include "imaging/MemCanvas.h"

#include "core/QORException.h"

#include <algorithm>

namespace pavlora {

TMemCanvas::TMemCanvas(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == 0 || height == 0)
        return;
    image_ = QImage(width, height, QImage::Format_BGR888);
    if (image_.isNull()) {
        throw EQORException(2, QStringLiteral("Zu wenig Arbeitsspeicher"),
            QStringLiteral("%1 x %2").arg(width).arg(height), QStringLiteral("MemCanvas.TMemCanvas.Create"));
    }
    image_.fill(Qt::black);
}

} // namespace pavlora
