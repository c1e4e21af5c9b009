#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "platform/errorreport.h"
#include "platform/uifont.h"
#include "settings/settingsdialog.h"
#include "solver/equationpage.h"
#include "solver/solutionbox.h"
#include "trig/trigpage.h"

#include <QActionGroup>
#include <QApplication>
#include <QShowEvent>

// Resources of a static library must be registered by name before use.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velmora {

TForm1* Form1 = nullptr;

namespace {

// Menu icons from the desktop's theme, with our own pictures where the theme has none.
void setMenuIcons(Ui::TForm1& ui) {
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
    for (const MenuIcon& icon : icons) {
        const QIcon bundled(QStringLiteral(":/icons/%1.png").arg(QLatin1String(icon.bundled)));
        icon.action->setIcon(QIcon::fromTheme(QLatin1String(icon.themeName), bundled));
    }
}

// Tabs drawn as push buttons, the pressed one for the active page.
constexpr auto ButtonTabs = R"(
QTabWidget::pane { border: none; }
QTabBar::tab {
    border: 1px solid palette(mid); border-radius: 2px; background: palette(button);
    padding: 3px 8px; margin: 2px 1px 2px 2px;
}
QTabBar::tab:selected { background: palette(midlight); border-color: palette(dark); }
)";

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()) {
    initResources();
    setFont(windowFont());
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_ui->PageControl1->setStyleSheet(QLatin1String(ButtonTabs));
    setMenuIcons(*m_ui);

    auto* pages = new QActionGroup(this);
    pages->addAction(m_ui->N7);
    pages->addAction(m_ui->N12);

    connectGuarded(m_ui->N2, &QAction::triggered, this, [this] { N2Click(); });
    connectGuarded(m_ui->N3, &QAction::triggered, this, [this] { N3Click(); });
    connectGuarded(m_ui->N5, &QAction::triggered, this, [this] { N5Click(); });
    connectGuarded(m_ui->N7, &QAction::triggered, this, [this] { N7Click(); });
    connectGuarded(m_ui->N12, &QAction::triggered, this, [this] { N12Click(); });
    connectGuarded(m_ui->PageControl1, &QTabWidget::currentChanged, this,
                   [this] { PageControl1Change(); });
    connectGuarded(equationPage(), &EquationPage::solved, this, [this] {
        if (m_ui->N5->isChecked())
            detailed_solution();
    });

    setClientHeight(ClientHeightShown);
}

TForm1::~TForm1() = default;

EquationPage* TForm1::equationPage() const {
    return m_ui->TabSheet1;
}

TrigPage* TForm1::trigPage() const {
    return m_ui->TabSheet2;
}

int TForm1::clientHeight() const {
    return height() - m_ui->MainMenu1->sizeHint().height();
}

void TForm1::setClientHeight(int height) {
    setFixedSize(ClientWidth, height + m_ui->MainMenu1->sizeHint().height());
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Restoring from the taskbar is not a new showing.
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TForm1::FormShow() {
    equationPage()->prepareOnShow();
}

void TForm1::N2Click() {
    if (Form3)
        Form3->exec();
}

void TForm1::N3Click() {
    // Ends the event loop at once. QApplication::quit() would first send every window a close
    // request, and the main window's close handler must not run on Exit.
    QCoreApplication::exit(0);
}

void TForm1::N5Click() {
    if (!m_ui->N5->isChecked()) {
        setClientHeight(ClientHeightHidden);
        return;
    }
    setClientHeight(ClientHeightShown);
    detailed_solution();
}

void TForm1::detailed_solution() {
    const auto heights = solutionBoxHeights(equationPage()->solutionLineCount());
    if (!heights)
        return;
    equationPage()->setSolutionBoxHeights(heights->memo, heights->group);
    setClientHeight(heights->client);
}

void TForm1::showEquationPageState(bool equation) {
    (equation ? m_ui->N7 : m_ui->N12)->setChecked(true);
    m_ui->N5->setEnabled(equation);
}

void TForm1::N7Click() {
    m_ui->PageControl1->setCurrentIndex(0);
    showEquationPageState(true);
}

void TForm1::N12Click() {
    m_ui->PageControl1->setCurrentIndex(1);
    showEquationPageState(false);
}

void TForm1::PageControl1Change() {
    showEquationPageState(m_ui->PageControl1->currentIndex() == 0);
}

} // namespace velmora
