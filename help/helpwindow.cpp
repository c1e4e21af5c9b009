#include "help/helpwindow.h"

#include "help/helpstart.h"
#include "platform/ui/messagebox.h"
#include "state/helptexts.h"
#include "state/language.h"
#include "state/moretexts.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>

namespace velmora::help {
namespace {

constexpr int MinZoomStep = -5;
constexpr int MaxZoomStep = 20;

// Room for the window's frame, which the window system adds around it once it is shown.
constexpr QMargins FrameAllowance(8, 40, 8, 8);

// The pages' style sheet gives its type sizes in points, which the browser's own zoom does not
// reach: the sizes are scaled as the sheet is read.
QString scaledSizes(const QString& sheet, double scale) {
    static const QRegularExpression points(QStringLiteral(R"((\d+(?:\.\d+)?)pt\b)"));
    QString scaled;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& size : points.globalMatch(sheet)) {
        scaled += QStringView(sheet).mid(done, size.capturedStart() - done);
        scaled +=
            QString::number(size.captured(1).toDouble() * scale, 'f', 1) + QLatin1String("pt");
        done = size.capturedEnd();
    }
    scaled += QStringView(sheet).mid(done);
    return scaled;
}

// The sheet's colours are made for a light page. On a dark one the text keeps the palette's
// colour and the shaded blocks take the palette's alternate ground, so nothing is drawn light
// on light or dark on dark.
QString darkColours(QString sheet, const QPalette& palette) {
    static const QRegularExpression ink(QStringLiteral(R"((?<![-\w])color:\s*#[0-9a-fA-F]+;?)"));
    static const QRegularExpression ground(QStringLiteral(R"(background-color:\s*#[0-9a-fA-F]+)"));
    sheet.remove(ink);
    sheet.replace(ground, QStringLiteral("background-color: ") +
                              palette.color(QPalette::AlternateBase).name());
    return sheet;
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Base).lightnessF() < palette.color(QPalette::Text).lightnessF();
}

} // namespace

class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    double scale = 1.0;

    QVariant loadResource(int type, const QUrl& name) override {
        const QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::StyleSheetResource)
            return resource;
        QString sheet = resource.typeId() == QMetaType::QByteArray
                            ? QString::fromUtf8(resource.toByteArray())
                            : resource.toString();
        if (scale != 1.0)
            sheet = scaledSizes(sheet, scale);
        if (isDark(palette()))
            sheet = darkColours(sheet, palette());
        return sheet;
    }
};

HelpWindow::HelpWindow(const QString& language, QWidget* parent)
    : QMainWindow(parent), m_language(language), m_browser(new HelpBrowser(this)) {
    // The window's own words, from the language file of the pages' language.
    loadLanguage(languageNameOf(language));
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(12);
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar(helpText(HelpText::Contents));
    bar->setObjectName(QStringLiteral("navigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = bar->addAction(QIcon::fromTheme(QStringLiteral("go-previous")),
                            helpText(HelpText::Back), m_browser, &QTextBrowser::backward);
    m_forward = bar->addAction(QIcon::fromTheme(QStringLiteral("go-next")),
                               helpText(HelpText::Forward), m_browser, &QTextBrowser::forward);
    m_contents = bar->addAction(
        QIcon::fromTheme(QStringLiteral("go-home")), helpText(HelpText::Contents), this,
        [this] { openPage(findPage(m_language, QStringLiteral("index.html"))); });
    m_back->setObjectName(QStringLiteral("back"));
    m_forward->setObjectName(QStringLiteral("forward"));
    m_contents->setObjectName(QStringLiteral("contents"));
    m_back->setShortcut(QKeySequence::Back);
    m_forward->setShortcut(QKeySequence::Forward);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::showTitle);

    m_fontSize = m_browser->font().pointSizeF();
    addZoomActions();
    addFindBar();
    auto* close = new QAction(this);
    close->setObjectName(QStringLiteral("close"));
    close->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence::Close});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    resize(760, 600);
}

QTextBrowser* HelpWindow::browser() const {
    return m_browser;
}

void HelpWindow::openPage(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_browser->setPlainText(helpText(HelpText::PagesMissing));
        showTitle();
        return;
    }
    m_browser->setSource(QUrl::fromLocalFile(path));
}

void HelpWindow::placeOn(QScreen* screen) {
    if (!screen)
        return;
    const QRect frame =
        centredWindowArea(size().grownBy(FrameAllowance), screen->availableGeometry());
    setScreen(screen);
    setGeometry(frame.marginsRemoved(FrameAllowance));
}

void HelpWindow::addZoomActions() {
    const auto add = [this](const char* name, QList<QKeySequence> keys, int step) {
        auto* action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this,
                [this, step] { setZoomStep(step == 0 ? 0 : m_zoomStep + step); });
        addAction(action);
    };
    // Ctrl+= too: on most keyboards "+" needs Shift on the same key.
    add("zoomIn", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 1);
    add("zoomOut", {QKeySequence::ZoomOut}, -1);
    add("zoomReset", {QKeySequence(Qt::CTRL | Qt::Key_0)}, 0);
}

void HelpWindow::setZoomStep(int step) {
    step = std::clamp(step, MinZoomStep, MaxZoomStep);
    if (step == m_zoomStep)
        return;
    m_zoomStep = step;
    m_browser->scale = 1.0 + step / 10.0;
    // Text without sizes of its own (the note shown when the pages are missing) follows the
    // browser's font.
    if (m_fontSize > 0) {
        QFont font = m_browser->font();
        font.setPointSizeF(m_fontSize * m_browser->scale);
        m_browser->setFont(font);
    }
    if (m_browser->source().isEmpty())
        return;
    // The page is read again with the scaled sizes, at the same place in it.
    QScrollBar* scroll = m_browser->verticalScrollBar();
    const double place = scroll->maximum() > 0 ? double(scroll->value()) / scroll->maximum() : 0;
    m_browser->reload();
    scroll->setValue(int(place * scroll->maximum()));
}

void HelpWindow::addFindBar() {
    m_findBar = new QToolBar(this);
    m_findBar->setObjectName(QStringLiteral("findBar"));
    m_findBar->setMovable(false);
    m_findBar->addWidget(new QLabel(helpText(HelpText::Find) + QLatin1Char(' ')));
    m_findField = new QLineEdit;
    m_findField->setObjectName(QStringLiteral("findField"));
    m_findField->setClearButtonEnabled(true);
    m_findField->setMaximumWidth(320);
    m_findBar->addWidget(m_findField);
    auto* notFound = new QLabel(QLatin1Char(' ') + helpText(HelpText::NotFound));
    notFound->setObjectName(QStringLiteral("notFound"));
    m_notFound = m_findBar->addWidget(notFound);
    m_notFound->setVisible(false);
    addToolBar(Qt::BottomToolBarArea, m_findBar);
    m_findBar->hide();

    auto* find = new QAction(this);
    find->setObjectName(QStringLiteral("find"));
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, &HelpWindow::showFindBar);
    addAction(find);
    auto* next = new QAction(this);
    next->setShortcut(QKeySequence::FindNext);
    connect(next, &QAction::triggered, this, [this] { findText(false); });
    addAction(next);
    auto* previous = new QAction(this);
    previous->setShortcut(QKeySequence::FindPrevious);
    connect(previous, &QAction::triggered, this, [this] { findText(true); });
    addAction(previous);

    // Typing finds the text from where the last find stood; Enter goes on to the next place,
    // Shift+Enter back to the one before; Escape closes the bar.
    connect(m_findField, &QLineEdit::textEdited, this, [this] {
        QTextCursor from = m_browser->textCursor();
        from.setPosition(from.selectionStart());
        m_browser->setTextCursor(from);
        findText(false);
    });
    m_findField->installEventFilter(this);
}

void HelpWindow::showFindBar() {
    m_findBar->show();
    m_findField->setFocus(Qt::ShortcutFocusReason);
    m_findField->selectAll();
}

bool HelpWindow::findText(bool backward) {
    const QString text = m_findField->text();
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = text.isEmpty() || m_browser->find(text, flags);
    if (!found)
        found = findInOtherPages(text, backward);
    if (!found) {
        // Round the end of the page to its other end.
        QTextCursor restart(m_browser->document());
        restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        const QTextCursor before = m_browser->textCursor();
        m_browser->setTextCursor(restart);
        found = m_browser->find(text, flags);
        if (!found)
            m_browser->setTextCursor(before);
    }
    m_notFound->setVisible(!found);
    return found;
}

QStringList HelpWindow::pageFiles() const {
    const QString contents = findPage(m_language, QStringLiteral("index.html"));
    if (contents.isEmpty())
        return {};
    const QDir folder = QFileInfo(contents).dir();
    QStringList files{contents};
    for (const QString& name :
         folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        const QString path = folder.filePath(name);
        if (QFileInfo(path) != QFileInfo(contents))
            files << path;
    }
    return files;
}

bool HelpWindow::findInOtherPages(const QString& text, bool backward) {
    const QStringList files = pageFiles();
    const qsizetype count = files.size();
    const QFileInfo shown(m_browser->source().toLocalFile());
    qsizetype here = -1;
    for (qsizetype i = 0; i < count; ++i) {
        if (QFileInfo(files[i]) == shown)
            here = i;
    }
    // Every other page once, then the shown one from its other end. With no page shown, the
    // search starts at the first page (or, backward, the last).
    const qsizetype base = here >= 0 ? here : (backward ? 0 : count - 1);
    for (qsizetype step = 1; step <= count; ++step) {
        const qsizetype index =
            backward ? (base - step + 2 * count) % count : (base + step) % count;
        QFile file(files[index]);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QTextDocument page;
        page.setHtml(QString::fromUtf8(file.readAll()));
        if (!page.toPlainText().contains(text, Qt::CaseInsensitive))
            continue;
        if (index != here)
            openPage(files[index]);
        QTextCursor start(m_browser->document());
        start.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        m_browser->setTextCursor(start);
        return m_browser->find(text,
                               backward ? QTextDocument::FindBackward : QTextDocument::FindFlags());
    }
    return false;
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    // Escape reaches the window when the find bar did not take it: it closes the help.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_findField && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findText(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            m_findBar->hide();
            m_browser->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QScreen* helpScreen() {
    const QString named = qEnvironmentVariable("VELMORA_HELP_SCREEN");
    for (QScreen* screen : QGuiApplication::screens()) {
        if (!named.isEmpty() && screen->name() == named)
            return screen;
    }
    if (QScreen* underPointer = QGuiApplication::screenAt(QCursor::pos()))
        return underPointer;
    return QGuiApplication::primaryScreen();
}

void showStoreNotices(const QStringList& keptCopies, const QString& language) {
    if (keptCopies.isEmpty())
        return;
    loadLanguage(languageNameOf(language));
    for (const QString& keptCopy : keptCopies)
        showMessageBox(storeNoticeText(keptCopy), storeNoticeCaption(),
                       MessageFlags::InformationOk);
}

void HelpWindow::showTitle() {
    const QString page = m_browser->documentTitle();
    setWindowTitle(page.isEmpty() ? QStringLiteral("Velmora")
                                  : page + QStringLiteral(" — Velmora"));
}

} // namespace velmora::help
