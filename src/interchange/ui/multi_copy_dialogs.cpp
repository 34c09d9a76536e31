#include "interchange/ui/multi_copy_dialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "charset/encodings.h"
#include "common/file_error.h"
#include "model/font.h"
#include "model/ui/glyph_drawing.h"

namespace typeloom::ui {

namespace {

constexpr int kCellWidth = 38;
constexpr int kCellHeight = 32;
const QColor kUnselectedColour{192, 192, 192};
constexpr const char* kMultiCopyHelpTopic = "multi_copy_paste.htm";

// OK ("&Multi Copy" / "&Multi Paste"), "&Cancel" and "&Help" under the grid.
void addButtons(QDialog& dialog, QVBoxLayout& layout, const QString& okText,
                const DialogServices& services) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = new QPushButton(okText, &dialog);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), &dialog);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto* help = new QPushButton(QStringLiteral("&Help"), &dialog);
    help->setObjectName(QStringLiteral("help"));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto showHelp = services.showHelp;
    QObject::connect(help, &QPushButton::clicked, &dialog, [showHelp] {
        if (showHelp) {
            showHelp(QString::fromLatin1(kMultiCopyHelpTopic));
        }
    });
    for (QPushButton* b : {ok, cancel, help}) {
        row->addWidget(b);
    }
    layout.addLayout(row);
}

}  // namespace

// --- The selection grid

MultiSelectionGrid::MultiSelectionGrid(int encoding, std::vector<int> rows, Source source,
                                       QWidget* parent)
    : QAbstractScrollArea(parent),
      m_encoding(encoding),
      m_rows(std::move(rows)),
      m_source(std::move(source)),
      m_selected(0x10000, false) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_headerWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("0000")) * 3 / 2;
    for (int row : m_rows) {
        for (int code = row * 16; code < row * 16 + 16; ++code) {
            m_selected[static_cast<std::size_t>(code)] = m_source.selectable(code);
        }
    }
    m_menu = new QMenu(QStringLiteral("Table Editor"), this);
    QAction* toggle = m_menu->addAction(QStringLiteral("&Toggle character"));
    toggle->setObjectName(QStringLiteral("toggleCharacter"));
    connect(toggle, &QAction::triggered, this, [this] {
        const int code = currentCode();
        if (code >= 0 && m_source.selectable(code)) {
            m_selected[static_cast<std::size_t>(code)] = !isSelected(code);
            viewport()->update(positionRect(m_current));
        }
    });
    QAction* disableRow = m_menu->addAction(QStringLiteral("&Disable row"));
    disableRow->setObjectName(QStringLiteral("disableRow"));
    connect(disableRow, &QAction::triggered, this, [this] { setRowSelected(false); });
    QAction* enableRow = m_menu->addAction(QStringLiteral("&Enable row"));
    enableRow->setObjectName(QStringLiteral("enableRow"));
    connect(enableRow, &QAction::triggered, this, [this] { setRowSelected(true); });
    setMinimumSize(m_headerWidth + 16 * kCellWidth + 24, 8 * kCellHeight);
    updateScrollRange();
}

std::vector<std::uint16_t> MultiSelectionGrid::selectedCodes() const {
    std::vector<std::uint16_t> codes;
    for (std::size_t c = 0; c < m_selected.size(); ++c) {
        if (m_selected[c]) {
            codes.push_back(static_cast<std::uint16_t>(c));
        }
    }
    return codes;
}

int MultiSelectionGrid::currentCode() const {
    return m_current < 0 ? -1 : gridPositionCode(m_rows, m_current);
}

int MultiSelectionGrid::topRow() const {
    return verticalScrollBar()->value();
}

void MultiSelectionGrid::updateScrollRange() {
    const int fullRows = std::max(1, viewport()->height() / kCellHeight);
    verticalScrollBar()->setRange(0, std::max(0, static_cast<int>(m_rows.size()) - fullRows));
    verticalScrollBar()->setPageStep(fullRows);
}

QRect MultiSelectionGrid::positionRect(int position) const {
    return {m_headerWidth + (position % 16) * kCellWidth, (position / 16 - topRow()) * kCellHeight,
            kCellWidth, kCellHeight};
}

int MultiSelectionGrid::positionAt(QPoint point) const {
    const int x = point.x() - m_headerWidth;
    if (x < 0 || x >= 16 * kCellWidth || point.y() < 0) {
        return -1;
    }
    const int position = (topRow() + point.y() / kCellHeight) * 16 + x / kCellWidth;
    return gridPositionCode(m_rows, position) < 0 ? -1 : position;
}

void MultiSelectionGrid::setCurrentPosition(int position) {
    if (position < 0 || gridPositionCode(m_rows, position) < 0) {
        return;
    }
    if (m_current >= 0) {
        viewport()->update(positionRect(m_current));
    }
    m_current = position;
    const int row = position / 16;
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value()) {
        bar->setValue(row);
    } else if (row >= bar->value() + bar->pageStep()) {
        bar->setValue(row - bar->pageStep() + 1);
    }
    viewport()->update(positionRect(m_current));
}

void MultiSelectionGrid::setRowSelected(bool selected) {
    if (m_current < 0) {
        return;
    }
    const int row = m_rows[static_cast<std::size_t>(m_current / 16)];
    for (int code = row * 16; code < row * 16 + 16; ++code) {
        if (m_source.selectable(code)) {
            m_selected[static_cast<std::size_t>(code)] = selected;
        }
    }
    viewport()->update();
}

void MultiSelectionGrid::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    p.fillRect(event->rect(), palette().window());
    const QFontMetrics metrics(font());
    const int w = metrics.horizontalAdvance(QStringLiteral("0000"));
    const int last = std::min(static_cast<int>(m_rows.size()) - 1,
                              topRow() + event->rect().bottom() / kCellHeight);
    for (int r = topRow() + event->rect().top() / kCellHeight; r <= last; ++r) {
        const int row = m_rows[static_cast<std::size_t>(r)];
        const int y = (r - topRow()) * kCellHeight;
        p.setPen(Qt::black);
        p.drawText(m_encoding == kEncodingAnsi ? w / 2 : w / 4, y + 10 + metrics.ascent(),
                   QStringLiteral("%1")
                       .arg(row * 16, m_encoding == kEncodingAnsi ? 2 : 4, 16, QLatin1Char('0'))
                       .toUpper());
        for (int column = 0; column < 16; ++column) {
            const int code = row * 16 + column;
            const QRect cell = positionRect(r * 16 + column);
            const bool white =
                m_source.selectable(code) ? isSelected(code) : m_source.ownCode(code);
            const QColor colour = white ? QColor(Qt::white) : kUnselectedColour;
            p.fillRect(cell, colour);
            p.setPen(Qt::black);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            if (const Glyph* glyph = m_source.glyph(code)) {
                const bool fits = glyph->width <= kCellWidth && m_source.glyphRows <= kCellHeight;
                const QRect box = fits ? cell : cell.adjusted(2, 2, -2, -2);
                drawTo(p, *glyph, m_source.glyphRows, box.x(), box.y(), box.width(), box.height(),
                       colour);
            }
            if (r * 16 + column == m_current) {
                p.setPen(Qt::red);
                p.drawRect(cell.adjusted(1, 1, -2, -2));
            }
        }
    }
}

void MultiSelectionGrid::mousePressEvent(QMouseEvent* event) {
    const int position = positionAt(event->position().toPoint());
    if (position < 0) {
        return;
    }
    setCurrentPosition(position);
    if (event->button() == Qt::RightButton) {
        m_menu->popup(event->globalPosition().toPoint());
    }
}

void MultiSelectionGrid::keyPressEvent(QKeyEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    const int last = static_cast<int>(m_rows.size()) * 16 - 1;
    auto move = [&](int delta) {
        const int target = std::max(m_current, 0) + delta;
        if (target >= 0 && target <= last) {
            setCurrentPosition(target);
        }
    };
    switch (event->key()) {
        case Qt::Key_Left:
            move(-1);
            break;
        case Qt::Key_Right:
            move(1);
            break;
        case Qt::Key_Up:
            move(-16);
            break;
        case Qt::Key_Down:
            move(16);
            break;
        case Qt::Key_PageUp:
            bar->setValue(bar->value() - bar->pageStep());
            break;
        case Qt::Key_PageDown:
            bar->setValue(bar->value() + bar->pageStep());
            break;
        case Qt::Key_Home:
            bar->setValue(bar->minimum());
            break;
        case Qt::Key_End:
            bar->setValue(bar->maximum());
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
    }
}

void MultiSelectionGrid::wheelEvent(QWheelEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (event->angleDelta().y() > 0 ? -1 : 1));
    event->accept();
}

void MultiSelectionGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

// --- Multi Copy

MultiCopyDialog::MultiCopyDialog(const Font& font, DialogServices services, QWidget* parent)
    : QDialog(parent), m_font(font), m_services(std::move(services)) {
    setWindowTitle(QStringLiteral("Multi Copy Characters"));
    MultiSelectionGrid::Source source;
    source.selectable = [&font](int code) {
        const auto c = static_cast<std::uint16_t>(code);
        const CodeMap& table = font.charTable.committed;
        return font.indexOfCode(c) >= 0 && (!table.contains(c) || table.get(c).mapped);
    };
    source.ownCode = [&font](int code) {
        return font.indexOfCode(static_cast<std::uint16_t>(code)) >= 0;
    };
    source.glyph = [&font](int code) -> const Glyph* {
        const int index = font.indexOfCode(static_cast<std::uint16_t>(code));
        return index < 0 ? nullptr
                         : font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(index)));
    };
    source.glyphRows = font.height;
    m_grid = new MultiSelectionGrid(static_cast<int>(font.encoding), multiCopyGridRows(font),
                                    std::move(source), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    addButtons(*this, *layout, QStringLiteral("&Multi Copy"), m_services);
}

void MultiCopyDialog::accept() {
    const std::vector<std::uint8_t> block = buildMultiCopyData(m_font, m_grid->selectedCodes());
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kMultiCopyMimeType),
                  QByteArray(reinterpret_cast<const char*>(block.data()),
                             static_cast<qsizetype>(block.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
    QDialog::accept();
}

// --- Multi Paste

MultiPasteDialog::MultiPasteDialog(Font& font, MultiCopyData block, DialogServices services,
                                   QWidget* parent)
    : QDialog(parent), m_font(font), m_data(std::move(block)), m_services(std::move(services)) {
    setWindowTitle(QStringLiteral("Multi Paste Characters"));
    for (const MultiCopyRecord& rec : m_data.records) {
        m_glyphs.emplace_back(rec.key, rec.width, rec.pixels);
    }
    MultiSelectionGrid::Source source;
    source.selectable = [this](int code) {
        return m_data.find(static_cast<std::uint16_t>(code)) != nullptr;
    };
    source.ownCode = [&font](int code) {
        return font.indexOfCode(static_cast<std::uint16_t>(code)) >= 0;
    };
    source.glyph = [this, &font](int code) -> const Glyph* {
        if (const MultiCopyRecord* rec = m_data.find(static_cast<std::uint16_t>(code))) {
            return &m_glyphs[static_cast<std::size_t>(rec - m_data.records.data())];
        }
        const int index = font.indexOfCode(static_cast<std::uint16_t>(code));
        return index < 0 ? nullptr
                         : font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(index)));
    };
    // Pasted glyphs and the font's own are drawn with the taller of the two heights' rows.
    source.glyphRows = std::max<int>(font.height, static_cast<int>(m_data.height));
    std::vector<int> rows;
    const int rowCount = font.encoding == kEncodingAnsi ? 16 : 4096;
    for (int row = 0; row < rowCount; ++row) {
        rows.push_back(row);
    }
    m_grid = new MultiSelectionGrid(static_cast<int>(font.encoding), std::move(rows),
                                    std::move(source), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    addButtons(*this, *layout, QStringLiteral("&Multi Paste"), m_services);
}

void MultiPasteDialog::accept() {
    const int pastedHeight = static_cast<int>(m_data.height);
    if (pastedHeight == m_font.height ||
        m_services.askYesNo(this, QString::fromLatin1(kDialogCaption),
                            qtText(pasteHeightQuestion(pastedHeight, m_font.height)))) {
        const WaitCursor wait;
        m_pasted = pasteCharacters(m_font, m_data, m_grid->selectedCodes()).pasted > 0;
    }
    QDialog::accept();
}

std::vector<std::uint8_t> clipboardMultiCopyBlock() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (mime == nullptr || !mime->hasFormat(QString::fromLatin1(kMultiCopyMimeType))) {
        return {};
    }
    const QByteArray bytes = mime->data(QString::fromLatin1(kMultiCopyMimeType));
    return {bytes.begin(), bytes.end()};
}

void runMultiCopy(QWidget* parent, const Font& font, const DialogServices& services) {
    MultiCopyDialog dialog(font, services, parent);
    services.runDialog(dialog);
}

bool runMultiPaste(QWidget* parent, Font& font, const DialogServices& services) {
    const std::vector<std::uint8_t> block = clipboardMultiCopyBlock();
    if (!multiPasteEnabled(font, block)) {
        return false;
    }
    MultiCopyData data;
    try {
        data = parseMultiCopyData(block);
    } catch (const FileError&) {
        return false;
    }
    MultiPasteDialog dialog(font, std::move(data), services, parent);
    services.runDialog(dialog);
    return dialog.pasted();
}

}  // namespace typeloom::ui
