#pragma once

#include <QRect>
#include <QString>
#include <optional>

namespace typeloom::app {

// "Window Pos": "1,left,top,right,bottom,workLeft,workTop,workRight,workBottom" with the
// window rectangle and the desktop work area at the moment the main window closed. Right and
// bottom are exclusive edges (right = left + width).
QString formatWindowPos(const QRect& window, const QRect& workArea);

// The window rectangle to restore on the current work area: the stored position, and the
// stored size scaled by the ratio of the work areas' widths and heights (integer arithmetic).
// Nothing when the value does not hold exactly nine numbers or either stored rectangle is
// empty.
std::optional<QRect> restoredWindowRect(const QString& windowPos, const QRect& workArea);

// The placement of a first start: 875 x 622 (or the work area's size when smaller), centred
// in the work area.
QRect defaultWindowRect(const QRect& workArea);

// "Splitter Pos": the low 16 bits hold the left column's width (0 means 435), the high 16
// bits the editor row's height (applied only when non-zero; 286 otherwise).
struct SplitterSizes {
    int columnWidth = 435;
    int rowHeight = 286;
};
SplitterSizes splitterSizesFrom(long long splitterPos);
long long splitterPosOf(int columnWidth, int rowHeight);

}  // namespace typeloom::app
