#pragma once

#include "solver/equation.h"

#include <QMainWindow>

#include <memory>
#include <optional>

namespace Ui {
class TForm1;
}

namespace velmora {

namespace textbook {
class TextbookWindow;
}
class EquationPage;
class TrigPage;
class TForm2;
class TForm3;
class TForm4;
class UpdateController;

// The main window: the menu, the page control with the equation and trigonometry pages, and
// the window height that follows the detailed solution. Its making, start-up, close, texts and
// textbook view are in mainwindow.cpp, the menu commands and dialogs in mainwindowmenus.cpp, the
// height and place on the screen in mainwindowplace.cpp.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 264;
    static constexpr int ClientHeightShown = 498;  // detailed solution shown
    static constexpr int ClientHeightHidden = 354; // detailed solution hidden

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up: language and texts, the shared folders and modes, the window's place and
    // height, the screen-scale check and the leftover update files. Runs once, right after the
    // window is made and before the dialogs exist.
    void FormCreate();
    // Stores the window's position where the window system reports it (not on Wayland); a
    // refused write fails and the close is abandoned. The close after an abandoned one ends the
    // program without writing.
    void FormClose();
    void FormShow();
    // Fills the text tables from the file of the current language.
    void LoadLang();
    // Puts the text tables onto the menu and both pages.
    void language();
    void N2Click();
    void N3Click();
    // Shows (checked) or hides the detailed solution and sets N5's check mark to match.
    void N5Click(bool checked);
    void N7Click();
    // Checks for updates on request: mode "custom", then a check (one already running answers).
    void N9Click();
    void N12Click();
    // Help menu: the home page, the help program and the About dialog.
    void N10Click();
    void N11Click();
    void N13Click();
    void PageControl1Change();
    // View › Textbook view: shows the textbook view, made the first time, with the last solve.
    void showTextbookView();
    // View › Type an equation…: the textbook view, with the keyboard on its equation line.
    void typeEquation();
    // The textbook view once it has been opened; none before.
    textbook::TextbookWindow* textbookView() const { return m_textbook; }
    // Fits the detailed-solution box and the window to the last solve's line count.
    void detailed_solution();

    // The height of the area below the menu bar, where the pages are. A height that would
    // take the window past its screen's available area shortens the detailed-solution box; a
    // window that then reaches below that area is moved into it.
    int clientHeight() const;
    void setClientHeight(int height);
    // Moves the window into its screen's available area where it sticks out.
    void keepOnScreen();

    EquationPage* equationPage() const;
    TrigPage* trigPage() const;

    // Makes the window's dialogs (About, settings, update) and the update controller, once, then
    // starts the update check when the update mode is "auto": the leftovers of the last run are
    // gone by then (FormCreate), so its fresh manifest stays. Whatever needs a dialog calls it
    // first.
    void makeDialogs();
    // The dialogs and the update controller once made; none before.
    TForm2* aboutDialog() const { return m_about; }
    TForm3* settingsDialog() const { return m_settings; }
    TForm4* updateDialog() const { return m_update; }
    UpdateController* updates() const { return m_updates; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectHelpMenu();
    void showEquationPageState(bool equationPage);
    void placeAtStart();
    QRect availableArea() const;
    void chooseHeightAtStart();

    void followSolve(const Equation& equation);

    std::unique_ptr<Ui::TForm1> m_ui;
    bool m_closeRefused = false;
    std::optional<Equation> m_lastSolved;
    textbook::TextbookWindow* m_textbook = nullptr;
    TForm2* m_about = nullptr;
    TForm3* m_settings = nullptr;
    TForm4* m_update = nullptr;
    UpdateController* m_updates = nullptr;
};

} // namespace velmora
