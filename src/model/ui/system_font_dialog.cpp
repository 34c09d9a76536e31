#include "model/ui/system_font_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "model/font.h"
#include "model/font_chooser.h"
#include "model/glyph_renderer.h"

namespace typeloom::ui {

namespace {

constexpr const char* kSampleText = "AaBbYyZz";
// Largest sample shown; a larger one is scaled down to fit.
constexpr int kSampleWidth = 260;
constexpr int kSampleHeight = 72;

QString sizeText(int tenths) {
    if (tenths % 10 == 0) {
        return QString::number(tenths / 10);
    }
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

QLabel* listLabel(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

QImage renderFontSample(const LogFont& font, const QString& text) {
    return renderFontSample(*makeRenderer(font), text);
}

QImage renderFontSample(const GlyphRenderer& renderer, const QString& text) {
    const RenderMetrics m = renderer.metrics();
    const int height = std::clamp(m.ascent + m.descent, 1, kMaxRenderHeight);
    std::vector<Glyph> glyphs;
    int width = 0;
    for (QChar c : text) {
        glyphs.push_back(renderGlyph(c.unicode(), renderer, static_cast<std::uint16_t>(height)));
        width += glyphs.back().width;
    }
    QImage image(std::max(width, 1), height, QImage::Format_RGB32);
    image.fill(Qt::white);
    int x0 = 0;
    for (const Glyph& g : glyphs) {
        const int rows = std::min<int>(height, static_cast<int>(g.rowCount()));
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < g.width; ++x) {
                if (g.pixel(x, y) != 0) {
                    image.setPixel(x0 + x, y, qRgb(0, 0, 0));
                }
            }
        }
        x0 += g.width;
    }
    return image;
}

SystemFontDialog::SystemFontDialog(const LogFont* initial, QWidget* parent, DialogServices services)
    : QDialog(parent),
      m_services(std::move(services)),
      m_faces(listSystemFaces()),
      m_familyEdit(new QLineEdit(this)),
      m_families(new QListWidget(this)),
      m_styleEdit(new QLineEdit(this)),
      m_styles(new QListWidget(this)),
      m_sizeEdit(new QLineEdit(this)),
      m_sizes(new QListWidget(this)),
      m_strikeOut(new QCheckBox(QStringLiteral("Stri&keout"), this)),
      m_underline(new QCheckBox(QStringLiteral("&Underline"), this)),
      m_sample(new QLabel(this)),
      m_scripts(new QComboBox(this)),
      m_keepPitch(new QCheckBox(QStringLiteral("Keep fixed &pitch"), this)),
      m_inkLoss(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Font"));
    m_styleEdit->setReadOnly(true);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumSize(kSampleWidth, kSampleHeight);

    for (const SystemFace& face : m_faces) {
        const QString family = qtText(face.family);
        if (m_families->count() == 0 ||
            m_families->item(m_families->count() - 1)->text() != family) {
            m_families->addItem(family);
        }
    }
    for (int points : chooserSizeList()) {
        m_sizes->addItem(QString::number(points));
    }

    // --- Layout: the three lists side by side, effects and sample below, the script last.
    auto* grid = new QGridLayout;
    grid->addWidget(listLabel("&Font:", m_familyEdit, this), 0, 0);
    grid->addWidget(listLabel("Font st&yle:", m_styles, this), 0, 1);
    grid->addWidget(listLabel("&Size:", m_sizeEdit, this), 0, 2);
    grid->addWidget(m_familyEdit, 1, 0);
    grid->addWidget(m_styleEdit, 1, 1);
    grid->addWidget(m_sizeEdit, 1, 2);
    grid->addWidget(m_families, 2, 0);
    grid->addWidget(m_styles, 2, 1);
    grid->addWidget(m_sizes, 2, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 1);

    auto* effects = new QGroupBox(QStringLiteral("Effects"), this);
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(m_strikeOut);
    effectsLayout->addWidget(m_underline);
    effectsLayout->addStretch();
    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(m_sample);
    auto* scriptLayout = new QVBoxLayout;
    scriptLayout->addWidget(listLabel("Sc&ript:", m_scripts, this));
    scriptLayout->addWidget(m_scripts);
    sampleLayout->addLayout(scriptLayout);
    auto* lower = new QHBoxLayout;
    lower->addWidget(effects);
    lower->addWidget(sampleBox, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SystemFontDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SystemFontDialog::reject);

    m_keepPitch->setEnabled(false);
    m_keepPitch->setToolTip(
        QStringLiteral("Every character takes the face's advance; ink outside the cell is "
                       "clipped. Unchecked, a cell widens to keep all of its character's ink."));
    m_inkLoss->setObjectName(QStringLiteral("inkLoss"));
    auto* pitchRow = new QHBoxLayout;
    pitchRow->addWidget(m_keepPitch);
    pitchRow->addWidget(m_inkLoss, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(lower);
    layout->addLayout(pitchRow);
    layout->addWidget(buttons);

    // --- Behaviour
    connect(m_families, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && !m_familyEdit->hasFocus()) {
            m_familyEdit->setText(m_families->item(row)->text());
        }
        fillStyles();
    });
    connect(m_familyEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Typing picks the first family that begins with the text.
        for (int row = 0; row < m_families->count(); ++row) {
            if (m_families->item(row)->text().startsWith(text, Qt::CaseInsensitive)) {
                m_families->setCurrentRow(row);
                m_families->scrollToItem(m_families->item(row));
                break;
            }
        }
    });
    connect(m_styles, &QListWidget::currentRowChanged, this, [this](int row) {
        m_styleEdit->setText(row >= 0 ? m_styles->item(row)->text() : QString());
        fillScripts();
        updateSample();
    });
    connect(m_sizes, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && !m_sizeEdit->hasFocus()) {
            m_sizeEdit->setText(m_sizes->item(row)->text());
        }
    });
    connect(m_sizeEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (auto tenths = parseChooserSize(utf8Text(text))) {
            m_pointTenths = *tenths;
            const QList<QListWidgetItem*> rows =
                m_sizes->findItems(text.trimmed(), Qt::MatchExactly);
            if (!rows.isEmpty()) {
                m_sizes->setCurrentItem(rows.front());
            }
            updateSample();
        }
    });
    connect(m_strikeOut, &QCheckBox::toggled, this, [this] { updateSample(); });
    connect(m_underline, &QCheckBox::toggled, this, [this] { updateSample(); });
    connect(m_keepPitch, &QCheckBox::toggled, this, [this] { showInkLoss(); });
    connect(m_scripts, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            m_charSet = static_cast<std::uint8_t>(m_scripts->itemData(index).toInt());
            updateSample();
        }
    });

    // --- Start from the given description.
    const LogFont start = initial != nullptr ? *initial : LogFont{};
    m_charSet = start.charSet;
    m_strikeOut->setChecked(start.strikeOut != 0);
    m_underline->setChecked(start.underline != 0);
    m_pointTenths = chooserPointTenths(start.height);
    m_sizeEdit->setText(sizeText(m_pointTenths));
    const int faceIndex = chooserFaceIndex(m_faces, start);
    if (faceIndex >= 0) {
        const SystemFace& face = m_faces[static_cast<std::size_t>(faceIndex)];
        selectFace(qtText(face.family), qtText(face.style));
    }
    m_familyEdit->setFocus();
}

SystemFontDialog::~SystemFontDialog() {
    stopInkCount();
}

bool SystemFontDialog::selectFace(const QString& family, const QString& style) {
    const QList<QListWidgetItem*> rows = m_families->findItems(family, Qt::MatchFixedString);
    if (rows.isEmpty()) {
        return false;
    }
    m_families->setCurrentItem(rows.front());
    m_familyEdit->setText(rows.front()->text());
    if (!style.isEmpty()) {
        const QList<QListWidgetItem*> styles = m_styles->findItems(style, Qt::MatchFixedString);
        if (styles.isEmpty()) {
            return false;
        }
        m_styles->setCurrentItem(styles.front());
    }
    return true;
}

bool SystemFontDialog::listsFamily(const QString& family) const {
    return !family.isEmpty() && !m_families->findItems(family, Qt::MatchFixedString).isEmpty();
}

void SystemFontDialog::startAt(const QString& family, const QString& style, int pointTenths) {
    m_sizeEdit->setText(sizeText(pointTenths));
    selectFace(family, style);
}

QString SystemFontDialog::familyName() const {
    const SystemFace* face = selectedFace();
    return face != nullptr ? qtText(face->family) : QString();
}

QString SystemFontDialog::styleName() const {
    const SystemFace* face = selectedFace();
    return face != nullptr ? qtText(face->style) : QString();
}

PitchRule SystemFontDialog::pitchRule() const {
    return m_keepPitch->isEnabled() && m_keepPitch->isChecked() ? PitchRule::KeepPitch
                                                                : PitchRule::WidenToInk;
}

const SystemFace* SystemFontDialog::selectedFace() const {
    const int row = m_styles->currentRow();
    if (row < 0 || row >= static_cast<int>(m_styleFaces.size())) {
        return nullptr;
    }
    return &m_faces[static_cast<std::size_t>(m_styleFaces[static_cast<std::size_t>(row)])];
}

void SystemFontDialog::fillStyles() {
    // Keep the weight and slant of the face chosen so far in the new family.
    const SystemFace* before = selectedFace();
    const int weight = before != nullptr ? before->weight : 400;
    const bool italic = before != nullptr && before->italic;
    const QString family =
        m_families->currentItem() != nullptr ? m_families->currentItem()->text() : QString();
    const QSignalBlocker block(m_styles);
    m_styles->clear();
    m_styleFaces.clear();
    int best = -1;
    int bestScore = 0;
    for (std::size_t i = 0; i < m_faces.size(); ++i) {
        if (qtText(m_faces[i].family) != family) {
            continue;
        }
        const int score =
            std::abs(m_faces[i].weight - weight) + (m_faces[i].italic != italic ? 1000 : 0);
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(m_styleFaces.size());
            bestScore = score;
        }
        m_styles->addItem(qtText(m_faces[i].style));
        m_styleFaces.push_back(static_cast<int>(i));
    }
    m_styles->setCurrentRow(best);
    m_styleEdit->setText(best >= 0 ? m_styles->item(best)->text() : QString());
    fillScripts();
    updateSample();
}

void SystemFontDialog::fillScripts() {
    const SystemFace* face = selectedFace();
    std::vector<FontScript> scripts;
    if (face != nullptr) {
        scripts = scriptsOfFace(FaceLocation{face->file, face->index});
    }
    const std::uint8_t wanted = m_charSet;
    const QSignalBlocker block(m_scripts);
    m_scripts->clear();
    int row = -1;
    int western = -1;
    for (const FontScript& s : scripts) {
        if (s.charSet == wanted) {
            row = m_scripts->count();
        }
        if (s.charSet == 0) {
            western = m_scripts->count();
        }
        m_scripts->addItem(QString::fromUtf8(s.name), static_cast<int>(s.charSet));
    }
    // The script chosen so far when the face offers it, else Western, else the first.
    if (row < 0) {
        row = western >= 0 ? western : (m_scripts->count() > 0 ? 0 : -1);
    }
    m_scripts->setCurrentIndex(row);
    if (row >= 0) {
        m_charSet = static_cast<std::uint8_t>(m_scripts->itemData(row).toInt());
    }
}

void SystemFontDialog::updateSample() {
    const SystemFace* face = selectedFace();
    if (face == nullptr) {
        m_sample->clear();
        stopInkCount();
        m_fixedPitchFace = false;
        m_keepPitch->setEnabled(false);
        m_keepPitch->setChecked(false);
        m_counted = false;
        m_losingInk = -1;
        showInkLoss();
        return;
    }
    const LogFont font = logFont();
    std::shared_ptr<GlyphRenderer> renderer = makeRenderer(font);
    QImage image = renderFontSample(*renderer, QString::fromLatin1(kSampleText));
    if (image.width() > kSampleWidth || image.height() > kSampleHeight) {
        image = image.scaled(kSampleWidth, kSampleHeight, Qt::KeepAspectRatio);
    }
    m_sample->setPixmap(QPixmap::fromImage(image));

    // A face of fixed pitch keeps it unless the user unchecks the box; a new size, script or
    // effect of the same face keeps the user's choice.
    if (face->file != m_pitchFaceFile || face->index != m_pitchFaceIndex) {
        m_pitchFaceFile = face->file;
        m_pitchFaceIndex = face->index;
        m_fixedPitchFace = renderer->metrics().fixedPitch;
        const QSignalBlocker block(m_keepPitch);
        m_keepPitch->setEnabled(m_fixedPitchFace);
        m_keepPitch->setChecked(m_fixedPitchFace);
    }
    if (!m_fixedPitchFace) {
        stopInkCount();
        m_counted = false;
        m_losingInk = -1;
        showInkLoss();
        return;
    }
    // The same description keeps its count, done or still running.
    if (!m_counted || !(m_countedFont == font)) {
        startInkCount(std::move(renderer));
        m_countedFont = font;
        m_counted = true;
    }
}

void SystemFontDialog::startInkCount(std::shared_ptr<GlyphRenderer> renderer) {
    stopInkCount();
    m_losingInk = -1;
    showInkLoss();
    auto cancel = std::make_shared<CancelFlag>();
    m_countCancel = cancel;
    const int generation = ++m_countGeneration;
    // The renderer is the worker's alone from here on. The dialog waits for the worker when
    // it stops a count or closes, so the worker's answer never outlives it.
    m_counter = std::thread([this, renderer = std::move(renderer), cancel, generation] {
        const int losing = countCharactersLosingInk(*renderer, cancel.get());
        if (losing < 0) {
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [this, losing, generation] {
                if (generation != m_countGeneration) {
                    return;
                }
                m_losingInk = losing;
                showInkLoss();
                emit inkLossCounted(losing);
            },
            Qt::QueuedConnection);
    });
}

void SystemFontDialog::stopInkCount() {
    if (m_countCancel) {
        m_countCancel->requestCancel();
    }
    if (m_counter.joinable()) {
        m_counter.join();
    }
    m_countCancel.reset();
    // A count stopped before its end is made again when the same font is shown again.
    if (m_losingInk < 0) {
        m_counted = false;
    }
}

void SystemFontDialog::done(int result) {
    // The count is of no use once the chooser is closed: the font is rendered next.
    stopInkCount();
    QDialog::done(result);
}

void SystemFontDialog::showInkLoss() {
    if (!m_fixedPitchFace) {
        m_inkLoss->clear();
        return;
    }
    const int n = m_losingInk;
    if (n < 0) {
        m_inkLoss->setText(QStringLiteral("Counting the characters that lose ink..."));
    } else if (m_keepPitch->isChecked()) {
        m_inkLoss->setText(n == 0   ? QStringLiteral("No character loses ink outside the cell")
                           : n == 1 ? QStringLiteral("1 character loses ink outside the cell")
                                    : QStringLiteral("%1 characters lose ink outside the cell")
                                          .arg(QLocale().toString(n)));
    } else {
        m_inkLoss->setText(
            n == 0   ? QStringLiteral("No character needs a wider cell")
            : n == 1 ? QStringLiteral("1 character gets a wider cell")
                     : QStringLiteral("%1 characters get a wider cell").arg(QLocale().toString(n)));
    }
}

LogFont SystemFontDialog::logFont() const {
    const SystemFace* face = selectedFace();
    if (face == nullptr) {
        return LogFont{};
    }
    return chooserLogFont(*face, m_pointTenths, m_underline->isChecked(), m_strikeOut->isChecked(),
                          m_charSet);
}

void SystemFontDialog::accept() {
    const QString caption = QString::fromLatin1(kDialogCaption);
    if (selectedFace() == nullptr ||
        m_familyEdit->text().compare(m_families->currentItem()->text(), Qt::CaseInsensitive) != 0) {
        m_services.message(this, MessageIcon::Exclamation, caption,
                           QStringLiteral("There is no installed font of that name.\n"
                                          "Choose a font from the list."));
        m_familyEdit->setFocus();
        m_familyEdit->selectAll();
        return;
    }
    const std::optional<int> tenths = parseChooserSize(utf8Text(m_sizeEdit->text()));
    if (!tenths) {
        m_services.message(this, MessageIcon::Exclamation, caption,
                           QStringLiteral("The size must be a number of points from %1 to %2.")
                               .arg(kMinChooserPoints)
                               .arg(kMaxChooserPoints));
        m_sizeEdit->setFocus();
        m_sizeEdit->selectAll();
        return;
    }
    // A size outside 4..244 points is held to the nearest limit and shown as taken.
    m_pointTenths = *tenths;
    m_sizeEdit->setText(sizeText(m_pointTenths));
    QDialog::accept();
}

}  // namespace typeloom::ui
