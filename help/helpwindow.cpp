#include "help/helpwindow.h"

#include "help/helpstart.h"
#include "platform/messagebox.h"
#include "state/language.h"
#include "state/moretexts.h"

#include <QAction>
#include <QFileInfo>
#include <QIcon>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>

namespace velmora::help {
namespace {

// The window's own words; the pages carry everything else.
struct Words {
    const char* back;
    const char* forward;
    const char* contents;
    const char* missing;
};

Words wordsFor(const QString& language) {
    if (language == QLatin1String("ru"))
        return {"Назад", "Вперёд", "Содержание",
                "Страницы справки не найдены. Переустановите Velmora."};
    if (language == QLatin1String("uk"))
        return {"Назад", "Уперед", "Зміст",
                "Сторінки довідки не знайдено. Перевстановіть Velmora."};
    return {"Back", "Forward", "Contents", "The help pages were not found. Reinstall Velmora."};
}

} // namespace

HelpWindow::HelpWindow(const QString& language, QWidget* parent)
    : QMainWindow(parent), m_language(language), m_browser(new QTextBrowser(this)) {
    const Words words = wordsFor(language);
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(12);
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar(QString::fromUtf8(words.contents));
    bar->setObjectName(QStringLiteral("navigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = bar->addAction(QIcon::fromTheme(QStringLiteral("go-previous")),
                            QString::fromUtf8(words.back), m_browser, &QTextBrowser::backward);
    m_forward = bar->addAction(QIcon::fromTheme(QStringLiteral("go-next")),
                               QString::fromUtf8(words.forward), m_browser, &QTextBrowser::forward);
    m_contents = bar->addAction(
        QIcon::fromTheme(QStringLiteral("go-home")), QString::fromUtf8(words.contents), this,
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

    resize(760, 600);
}

void HelpWindow::openPage(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_browser->setPlainText(QString::fromUtf8(wordsFor(m_language).missing));
        showTitle();
        return;
    }
    m_browser->setSource(QUrl::fromLocalFile(path));
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
