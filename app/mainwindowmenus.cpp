#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "about/aboutdialog.h"
#include "about/helplinks.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/messagebox.h"
#include "settings/settingsdialog.h"
#include "solver/equationpage.h"
#include "solver/solutionbox.h"
#include "state/global.h"
#include "state/moretexts.h"
#include "state/tablelines.h"
#include "update/updatecontroller.h"
#include "update/updatedialog.h"

#include <QCoreApplication>
#include <QSignalBlocker>

namespace velmora {

void TForm1::makeDialogs() {
    if (m_about)
        return;
    m_about = new TForm2(this);
    m_settings = new TForm3(this);
    // The settings dialog asks for the main window's texts after OK and after Cancel.
    connectGuarded(m_settings, &TForm3::mainWindowTextsRequested, this, [this] { language(); });
    m_update = new TForm4(this);
    m_updates = new UpdateController(m_update, this);
    if (Global::updateMode() == UpdateMode::Auto)
        m_updates->startCheck();
}

void TForm1::N2Click() {
    makeDialogs();
    if (m_settings)
        m_settings->exec();
}

void TForm1::connectHelpMenu() {
    connectGuarded(m_ui->N10, &QAction::triggered, this, [this] { N10Click(); });
    connectGuarded(m_ui->N11, &QAction::triggered, this, [this] { N11Click(); });
    connectGuarded(m_ui->N13, &QAction::triggered, this, [this] { N13Click(); });
}

void TForm1::N10Click() {
    openHomePage();
}

void TForm1::N11Click() {
    startHelpProgram(this);
}

void TForm1::N13Click() {
    makeDialogs();
    if (m_about)
        m_about->exec();
}

void TForm1::N3Click() {
    // Ends the event loop at once. QApplication::quit() would first send every window a close
    // request, and the main window's close handler must not run on Exit.
    QCoreApplication::exit(0);
}

void TForm1::N5Click(bool checked) {
    // The menu has already toggled the mark; a direct call sets it here.
    m_ui->N5->setChecked(checked);
    if (!checked) {
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

// A page chosen from the menu does not run PageControl1Change: the menu handlers set the same
// state themselves.
void TForm1::N7Click() {
    {
        const QSignalBlocker quiet(m_ui->PageControl1);
        m_ui->PageControl1->setCurrentIndex(0);
    }
    showEquationPageState(true);
}

void TForm1::N9Click() {
    if (!updateServiceAvailable()) {
        showMessageBox(moreText(MoreText::NoUpdateServer), text(MessageLine::Information),
                       MessageFlags::InformationOk);
        return;
    }
    Global::setUpdateMode(UpdateMode::Custom);
    // The check may show the update dialog.
    makeDialogs();
    if (m_updates)
        m_updates->startCheck();
}

void TForm1::N12Click() {
    {
        const QSignalBlocker quiet(m_ui->PageControl1);
        m_ui->PageControl1->setCurrentIndex(1);
    }
    showEquationPageState(false);
}

void TForm1::PageControl1Change() {
    showEquationPageState(m_ui->PageControl1->currentIndex() == 0);
}

} // namespace velmora
