#include "app/window_placement.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace typeloom::app {

namespace {

constexpr int kDefaultWidth = 875;
constexpr int kDefaultHeight = 622;
constexpr int kDefaultColumnWidth = 435;
constexpr int kDefaultRowHeight = 286;

// Edge form (right and bottom exclusive), as the value stores it.
struct Edges {
    long long left, top, right, bottom;
    bool empty() const { return right <= left || bottom <= top; }
};

}  // namespace

QString formatWindowPos(const QRect& window, const QRect& workArea) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9")
        .arg(1u)
        .arg(window.left())
        .arg(window.top())
        .arg(window.left() + window.width())
        .arg(window.top() + window.height())
        .arg(workArea.left())
        .arg(workArea.top())
        .arg(workArea.left() + workArea.width())
        .arg(workArea.top() + workArea.height());
}

std::optional<QRect> restoredWindowRect(const QString& windowPos, const QRect& workArea) {
    const QStringList parts = windowPos.split(QLatin1Char(','));
    if (parts.size() != 9) {
        return std::nullopt;
    }
    std::array<long long, 9> n{};
    for (int i = 0; i < 9; ++i) {
        bool ok = false;
        n[static_cast<std::size_t>(i)] = parts[i].trimmed().toLongLong(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    const Edges window{n[1], n[2], n[3], n[4]};
    const Edges storedWork{n[5], n[6], n[7], n[8]};
    if (window.empty() || storedWork.empty()) {
        return std::nullopt;
    }
    const long long width =
        (window.right - window.left) * workArea.width() / (storedWork.right - storedWork.left);
    const long long height =
        (window.bottom - window.top) * workArea.height() / (storedWork.bottom - storedWork.top);
    if (width <= 0 || height <= 0 || width > 1'000'000 || height > 1'000'000) {
        return std::nullopt;
    }
    return QRect(static_cast<int>(window.left), static_cast<int>(window.top),
                 static_cast<int>(width), static_cast<int>(height));
}

QRect defaultWindowRect(const QRect& workArea) {
    const int width = std::min(kDefaultWidth, workArea.width());
    const int height = std::min(kDefaultHeight, workArea.height());
    return QRect(workArea.left() + (workArea.width() - width) / 2,
                 workArea.top() + (workArea.height() - height) / 2, width, height);
}

SplitterSizes splitterSizesFrom(long long splitterPos) {
    SplitterSizes sizes;
    const int low = static_cast<int>(splitterPos & 0xFFFF);
    sizes.columnWidth = low == 0 ? kDefaultColumnWidth : low;
    // The row height is taken only when the whole value is above 65535.
    if (splitterPos > 0xFFFF) {
        sizes.rowHeight = static_cast<int>((splitterPos >> 16) & 0xFFFF);
        if (sizes.rowHeight == 0) {
            sizes.rowHeight = kDefaultRowHeight;
        }
    }
    return sizes;
}

long long splitterPosOf(int columnWidth, int rowHeight) {
    return (static_cast<long long>(rowHeight) << 16) | (columnWidth & 0xFFFF);
}

}  // namespace typeloom::app
