#pragma once

#include <QMainWindow>
#include <QStringList>

class QAction;
class QTextBrowser;

namespace velmora::help {

// The help window: one page at a time in a text browser, with Back, Forward and Contents.
// Links between pages are followed inside the window; web and mail addresses open in the
// desktop's programs.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    // language: "ru", "en" or "uk", for the window's own few words.
    explicit HelpWindow(const QString& language, QWidget* parent = nullptr);

    // Shows a page file; a missing page shows a short note instead.
    void openPage(const QString& path);
    QTextBrowser* browser() const { return m_browser; }

private:
    void showTitle();

    QString m_language;
    QTextBrowser* m_browser;
    QAction* m_back;
    QAction* m_forward;
    QAction* m_contents;
};

// Tells the user, in the help's language, of each damaged settings file the store kept aside.
void showStoreNotices(const QStringList& keptCopies, const QString& language);

} // namespace velmora::help
