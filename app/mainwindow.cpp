#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/startup.h"
#include "platform/desktop/windowsystem.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/looks.h"
#include "platform/ui/uifont.h"
#include "solver/equationpage.h"
#include "state/global.h"
#include "state/language.h"
#include "state/moretexts.h"
#include "state/settingscatalogue.h"
#include "state/tablelines.h"
#include "textbook/textbookwindow.h"
#include "trig/trigpage.h"
#include "update/updatefolder.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QProxyStyle>
#include <QShowEvent>
#include <QTabBar>

// Resources of a static library must be registered by name before use.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velmora {

namespace {

// Menu icons from the desktop's theme, with our own pictures where the theme has none, for the
// items of one menu.
void setMenuIcons(Ui::TForm1& ui, const QMenu* menu) {
    struct MenuIcon {
        QAction* action;
        const char* themeName;
        const char* bundled; // picture in the resources
    };
    const MenuIcon icons[] = {
        {ui.N2, "preferences-system", "settings"},   {ui.N3, "application-exit", "exit"},
        {ui.N11, "help-contents", "help"},           {ui.N10, "go-home", "home"},
        {ui.N9, "system-software-update", "update"}, {ui.N13, "help-about", "about"},
    };
    const QList<QAction*> items = menu->actions();
    for (const MenuIcon& icon : icons) {
        if (!items.contains(icon.action))
            continue;
        const QIcon bundled(QStringLiteral(":/icons/%1.png").arg(QLatin1String(icon.bundled)));
        icon.action->setIcon(QIcon::fromTheme(QLatin1String(icon.themeName), bundled));
    }
}

// Tabs drawn as push buttons, the active page's in the desktop's selection colours, its ground
// shaded where the palette's own pair would read below 4.5:1 (white on a mid blue does), so the
// label reads in light and dark themes alike.
QString buttonTabs(const QPalette& palette) {
    const QColor ink = palette.color(QPalette::Active, QPalette::HighlightedText);
    const QColor ground =
        groundForInk(palette.color(QPalette::Active, QPalette::Highlight), ink, 4.5);
    return QStringLiteral(R"(
QTabBar::tab {
    border: 1px solid palette(mid); border-radius: 2px; background: palette(button);
    color: palette(button-text); padding: 3px 8px; margin: 2px 1px 2px 2px;
}
QTabBar::tab:selected {
    background: %1; color: %2; border-color: palette(dark);
}
)")
        .arg(ground.name(), ink.name());
}

// The page control without the frame around its pages, which fill it edge to edge.
class FramelessPaneStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameTabWidget)
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override {
        if (element != SE_TabWidgetTabContents)
            return QProxyStyle::subElementRect(element, option, widget);
        // Right below the tabs: no frame, and no overlap with the tabs.
        QRect pages = QProxyStyle::subElementRect(SE_TabWidgetTabPane, option, widget);
        pages.setTop(QProxyStyle::subElementRect(SE_TabWidgetTabBar, option, widget).bottom() + 1);
        return pages;
    }
};

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()) {
    initResources();
    setFont(windowFont());
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // A style sheet on the page control would restyle every control of both pages, so the sheet
    // covers the tab bar only and a style of its own leaves out the frame around the pages.
    auto* paneStyle = new FramelessPaneStyle;
    paneStyle->setParent(m_ui->PageControl1);
    m_ui->PageControl1->setStyle(paneStyle);
    m_ui->PageControl1->tabBar()->setStyleSheet(buttonTabs(palette()));
    // A theme look-up reads the icon theme's folders, so each menu gets its icons as it is
    // first opened rather than while the program starts.
    for (QMenu* menu : {m_ui->N1, m_ui->N8}) {
        connect(
            menu, &QMenu::aboutToShow, this,
            [this, menu] { guarded([&] { setMenuIcons(*m_ui, menu); }); },
            Qt::SingleShotConnection);
    }

    auto* pages = new QActionGroup(this);
    pages->addAction(m_ui->N7);
    pages->addAction(m_ui->N12);

    connectGuarded(m_ui->N2, &QAction::triggered, this, [this] { N2Click(); });
    connectGuarded(m_ui->N3, &QAction::triggered, this, [this] { N3Click(); });
    connect(m_ui->N5, &QAction::triggered, this,
            [this](bool checked) { guarded([this, checked] { N5Click(checked); }); });
    connectGuarded(m_ui->N7, &QAction::triggered, this, [this] { N7Click(); });
    connectGuarded(m_ui->N9, &QAction::triggered, this, [this] { N9Click(); });
    connectGuarded(m_ui->N12, &QAction::triggered, this, [this] { N12Click(); });
    connectGuarded(m_ui->PageControl1, &QTabWidget::currentChanged, this,
                   [this] { PageControl1Change(); });
    connectGuarded(equationPage(), &EquationPage::solved, this, [this] {
        if (m_ui->N5->isChecked())
            detailed_solution();
    });
    connect(equationPage(), &EquationPage::solved, this,
            [this](const Equation& read) { guarded([&] { followSolve(read); }); });
    connect(equationPage(), &EquationPage::linearEquationTyped, this,
            [this](const Equation& read) { guarded([&] { followSolve(read); }); });
    connectGuarded(m_ui->TextbookView, &QAction::triggered, this, [this] { showTextbookView(); });
    connectGuarded(m_ui->TypeEquation, &QAction::triggered, this, [this] { typeEquation(); });

    connectHelpMenu();
    // The keyboard reaches the menu bar (F10, a lone Alt), the help (F1) and every button
    // (Enter on the focused one).
    giveMenuBarKeyboardAccess(m_ui->MainMenu1);
    giveMenuShortcutsPrecedence(this);
    m_ui->N11->setShortcut(QKeySequence::HelpContents);
    letEnterPressFocusedButtons();

    setClientHeight(ClientHeightShown);
}

TForm1::~TForm1() = default;

EquationPage* TForm1::equationPage() const {
    return m_ui->TabSheet1;
}

TrigPage* TForm1::trigPage() const {
    return m_ui->TabSheet2;
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A desktop that changes its theme changes the tabs' colours with it.
    if (event->type() == QEvent::PaletteChange)
        m_ui->PageControl1->tabBar()->setStyleSheet(buttonTabs(palette()));
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Restoring from the taskbar is not a new showing.
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TForm1::FormCreate() {
    using namespace catalogue;
    // A store that names no language, or one whose file is missing, shows the locale's
    // language, as a first start does; the store is left as it is.
    Global::setLanguageName(shownLanguage(startupLanguage()));
    LoadLang();
    language();

    Global::setCommonAppData(commonAppDataFolder());
    equationPage()->resetSolutionLineCount();

    // The check itself starts once every window exists (createWindows).
    Global::setUpdateMode(flagOf(read(AutoUpdate)) == Flag::True ? UpdateMode::Auto
                                                                 : UpdateMode::Custom);
    placeAtStart();
    chooseHeightAtStart();

    runScreenScaleCheck(windowsVersion());
    removeLeftoverUpdateFiles(Global::updateFolder());
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A store that refuses every write would keep the window open for good: the refusal is
    // reported once, and the next close ends the program without writing.
    if (m_closeRefused || guarded([this] { FormClose(); })) {
        event->accept();
        return;
    }
    m_closeRefused = true;
    event->ignore();
}

void TForm1::FormClose() {
    // Written whatever "Keep window position" says. A minimised window keeps its restored
    // position in pos(). Where the window system reports no position (Wayland), pos() is not
    // the window's place, and the stored one stays.
    if (!reportsWindowPosition(QGuiApplication::platformName()))
        return;
    catalogue::write(catalogue::WindowLeft, x());
    catalogue::write(catalogue::WindowTop, y());
}

void TForm1::LoadLang() {
    loadLanguage(Global::languageName());
}

void TForm1::language() {
    // The menu bar's height follows its captions (empty ones take no room); the client area
    // keeps its height.
    const int client = clientHeight();
    using M = MainMenuLine;
    m_ui->N1->setTitle(text(M::File));
    m_ui->N2->setText(text(M::Settings));
    m_ui->N3->setText(text(M::Exit));
    m_ui->N4->setTitle(text(M::View));
    m_ui->N5->setText(text(M::DetailedSolution));
    m_ui->N6->setTitle(text(M::Window));
    m_ui->N7->setText(text(M::Equations));
    m_ui->N12->setText(text(M::Trigonometry));
    m_ui->N8->setTitle(text(M::Help));
    m_ui->N11->setText(text(M::Contents));
    m_ui->N10->setText(text(M::HomePage));
    m_ui->N9->setText(text(M::CheckForUpdates));
    m_ui->N13->setText(text(M::About));
    m_ui->TextbookView->setText(moreText(MoreText::TextbookCaption));
    m_ui->TypeEquation->setText(moreText(MoreText::TextbookTypeEquation));
    if (m_textbook)
        m_textbook->language();
    // Alt and a letter opens a menu, a letter chooses an item, in every language.
    giveMenuMnemonics(m_ui->MainMenu1);

    m_ui->PageControl1->setTabText(0, text(SquareRootLine::Caption));
    equationPage()->language();
    m_ui->PageControl1->setTabText(1, text(TrigonometryLine::Caption));
    trigPage()->language();
    setClientHeight(client);
}

void TForm1::FormShow() {
    equationPage()->prepareOnShow();
    // The frame's size is known once the window is shown.
    setClientHeight(clientHeight());
}

void TForm1::followSolve(const Equation& equation) {
    m_lastSolved = equation;
    if (m_textbook)
        m_textbook->showEquation(equation);
}

void TForm1::showTextbookView() {
    if (!m_textbook) {
        m_textbook = new textbook::TextbookWindow(this);
        if (m_lastSolved)
            m_textbook->showEquation(*m_lastSolved);
    }
    m_textbook->show();
    m_textbook->raise();
    m_textbook->activateWindow();
}

void TForm1::typeEquation() {
    showTextbookView();
    m_textbook->focusEquationLine();
}

} // namespace velmora
