#pragma once

#include "platform/net/download.h"
#include "platform/profile/profile.h"
#include "update/installerplan.h"

#include <QDialog>

#include <memory>

class QTimer;

namespace Ui {
class TForm4;
}

namespace velmora {

class TaskbarProgressIndicator;

// The update dialog: the running and the offered version, the installer's size, the features box
// that unfolds below, and the installer download with its progress in the dialog and on the
// launcher. Its texts come from the "Update" table and the manifest in the update folder, read
// again at every show.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    // At every show: the banner, the features of the current language, then the texts.
    void FormShow();
    // Puts the "Update" table and the manifest's texts on the dialog; again and again gives the
    // same texts. Sets InstallerSize.
    void language();
    // Starts the unfold or fold animation.
    void Button1Click();
    // Starts the installer download, unless one runs.
    void Button2Click();
    // The download's progress tick.
    void Timer1Timer();
    // One step of the unfold or fold animation.
    void Timer2Timer();

    // The installer's size from the manifest's "Size 1" (0 when missing).
    int InstallerSize() const { return m_installerSize; }
    TaskbarProgressIndicator* taskbarIndicator() const { return m_taskbar; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // On the user-interface thread, when a download has ended without starting the installer.
    void downloadFailed(UpdateFailure failure, const QString& installer);
    // The status line: one line of progress above the bar, or a failure that takes the bar's
    // place and up to three lines.
    void setStatus(const QString& text, bool failure = false);
    QString manifestPath() const;
    ProfileFile shownManifest() const;
    void nameKeptInstaller(const ProfileFile& file);

    std::unique_ptr<Ui::TForm4> m_ui;
    QTimer* m_timer1;
    QTimer* m_timer2;
    TaskbarProgressIndicator* m_taskbar;
    std::shared_ptr<DownloadProgress> m_progress;
    std::shared_ptr<void> m_folderHold; // while shown
    int m_installerSize = 0;
    bool m_unfolded = false; // the features box is open, or opens at the end of the animation
};

extern TForm4* Form4;

} // namespace velmora
