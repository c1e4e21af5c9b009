#pragma once

#include "textbook/solution.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

namespace velmora::textbook {

// Draws a page heading (the date and the equation) and then the solution's lines onto pages of
// page size, one line under the other, starting a page with newPage() when a line does not fit
// (newPage returns false where no further page can be made: then the drawing stops). Returns
// the number of pages drawn on, and in bottom (when given) the height on the last page where
// the drawing ended. The painter's pen colour is used for everything.
int paintSolutionPages(QPainter& painter, const QRectF& page, const QString& heading,
                       const Solution& solution, const QFont& font,
                       const std::function<bool()>& newPage, qreal* bottom = nullptr);

} // namespace velmora::textbook
