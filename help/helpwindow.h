#pragma once

#include <QMainWindow>
#include <QStringList>

class QAction;
class QLineEdit;
class QScreen;
class QTextBrowser;
class QToolBar;

namespace velmora::help {

class HelpBrowser;

// The help window: one page at a time in a text browser, with Back, Forward and Contents.
// Links between pages are followed inside the window; web and mail addresses open in the
// desktop's programs. Ctrl++, Ctrl+− and Ctrl+0 zoom the page; Ctrl+F finds a word in it and,
// past its last place there, in the other pages; Escape and Ctrl+W close the window.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    // language: "ru", "en" or "uk", for the window's own few words.
    explicit HelpWindow(const QString& language, QWidget* parent = nullptr);

    // Shows a page file; a missing page shows a short note instead.
    void openPage(const QString& path);
    QTextBrowser* browser() const;

    // Puts the window in the middle of the screen's available area, no larger than that area.
    void placeOn(QScreen* screen);

    // How far the page is zoomed, in steps of a tenth of its size; 0 is the pages' own size.
    int zoomStep() const { return m_zoomStep; }
    void setZoomStep(int step);

    // Shows the find bar with the keyboard in it; Escape hides it again.
    void showFindBar();
    // Selects the next (or previous) place of the find bar's text; past the page's last (or
    // first) place, the next page (in the order of the contents, round its end) that holds the
    // text is opened at its first (or last) place. False when no page holds the text.
    bool findText(bool backward = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showTitle();
    void addZoomActions();
    void addFindBar();
    // The pages of the window's language, the contents first, then by file name.
    QStringList pageFiles() const;
    // Opens the first page after (or before) the shown one that holds the text, at its first
    // (or last) place; false when none does.
    bool findInOtherPages(const QString& text, bool backward);

    QString m_language;
    HelpBrowser* m_browser;
    QAction* m_back;
    QAction* m_forward;
    QAction* m_contents;
    int m_zoomStep = 0;
    QToolBar* m_findBar = nullptr;
    QLineEdit* m_findField = nullptr;
    QAction* m_notFound = nullptr; // the find bar's "not found" note
    qreal m_fontSize = 0;          // the browser's own font size, before any zoom
};

// The screen the help window opens on: the one VELMORA_HELP_SCREEN names (the main window's,
// when the program starts the help), else the one under the mouse pointer, else the primary.
QScreen* helpScreen();

// Tells the user, in the help's language, of each damaged settings file the store kept aside.
void showStoreNotices(const QStringList& keptCopies, const QString& language);

} // namespace velmora::help
