#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/startup.h"
#include "solver/equationpage.h"
#include "state/settingscatalogue.h"

#include <QGuiApplication>
#include <QScreen>

namespace velmora {

int TForm1::clientHeight() const {
    return height() - m_ui->MainMenu1->sizeHint().height();
}

void TForm1::setClientHeight(int height) {
    const int menu = m_ui->MainMenu1->sizeHint().height();
    // A window taller than its screen's available area gets a shorter detailed-solution box,
    // which scrolls, so the answer lines stay on the screen.
    const QRect area = availableArea();
    const int frame = frameGeometry().height() - this->height();
    const int tooTall = height + menu + frame - area.height();
    if (!area.isEmpty() && tooTall > 0)
        height -= equationPage()->shortenSolutionBox(tooTall);
    setFixedSize(ClientWidth, height + menu);
    // Grown past the bottom edge, it moves up; a window the user put partly off the screen
    // elsewhere stays where it is.
    if (!area.isEmpty() && frameGeometry().bottom() > area.bottom())
        keepOnScreen();
}

QRect TForm1::availableArea() const {
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    if (!screen)
        screen = this->screen();
    return screen ? screen->availableGeometry() : QRect();
}

void TForm1::keepOnScreen() {
    const QRect area = availableArea();
    if (area.isEmpty())
        return;
    const QRect frame = frameGeometry();
    const QRect kept = keptInside(frame, area);
    // Moved only when it must be, so a window the window system places stays its to place.
    if (kept.topLeft() != frame.topLeft())
        move(kept.topLeft());
}

void TForm1::placeAtStart() {
    using namespace catalogue;
    const Flag keep = flagOf(read(KeepWindowPosition));
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QPoint centred = centredPosition(primary ? primary->geometry().size() : QSize());
    if (keep == Flag::True) {
        const QPoint stored(storedEdge(WindowLeft).value_or(centred.x()),
                            storedEdge(WindowTop).value_or(centred.y()));
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens << screen->availableGeometry();
        move(reachablePosition(QRect(stored, frameGeometry().size()), screens, centred));
    } else if (keep == Flag::False) {
        move(centred);
    }
    keepOnScreen();
}

void TForm1::chooseHeightAtStart() {
    switch (catalogue::flagOf(catalogue::read(catalogue::DetailedSolution))) {
    case catalogue::Flag::True:
        setClientHeight(ClientHeightShown);
        m_ui->N5->setChecked(true);
        break;
    case catalogue::Flag::False:
        setClientHeight(ClientHeightHidden);
        m_ui->N5->setChecked(false);
        break;
    case catalogue::Flag::Neither:
        break;
    }
}

} // namespace velmora
